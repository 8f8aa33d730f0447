// What the table and the graph printouts share: the one printer the program prints on for the
// whole run (so the dialogs keep the user's choices), and starting a job on it.
#pragma once

#include <QPainter>
#include <QPrintEngine>
#include <QPrinter>
#include <QStringList>

#include <memory>
#include <stdexcept>

// The printer kept in `kept`, made on first use.
inline QPrinter& ProgramPrinter(std::shared_ptr<QPrinter>& kept)
{
    if (!kept)
        kept = std::make_shared<QPrinter>(QPrinter::HighResolution);
    return *kept;
}

// The printer as a message names it: its output file when it prints to one, else its name.
inline QString PrinterName(const QPrinter& printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

// The name of a job in the printer's queue: "Kelmora — <report title>".
inline QString PrintJobName(const QString& title)
{
    const QString shown = title.simplified();
    return shown.isEmpty() ? QStringLiteral("Kelmora") : QStringLiteral("Kelmora — %1").arg(shown);
}

// Takes a page range off the job options the printer keeps for the print server. Qt's print
// dialog puts a chosen range there as well ("page-ranges", under the print engine's key for the
// server's options, 0xfe00 in Qt's print support), and the server applies it to every later job
// on the printer whatever the printer's own print range says.
inline void ClearPrintServerPageRange(QPrinter& printer)
{
    const auto serverOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    QPrintEngine* engine = printer.printEngine();
    if (!engine)
        return;
    const QStringList options = engine->property(serverOptions).toStringList();
    QStringList kept;
    // Name and value pairs.
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (options[i] != QLatin1String("page-ranges"))
            kept << options[i] << options[i + 1];
    if (kept.size() != options.size())
        engine->setProperty(serverOptions, kept);
}

// What the user is told when the printing service knows no printer.
inline QString NoPrinterText()
{
    return QStringLiteral("Принтер не установлен. Распечатать можно только в файл PDF.");
}

// Starts a print job with painter on printer; a printer that cannot start is an error, and
// no printer at all is said plainly.
inline void BeginPrintJob(QPainter& painter, QPrinter& printer)
{
    if (PrinterName(printer).isEmpty())
        throw std::runtime_error(QStringLiteral("Принтер не установлен").toStdString());
    if (!painter.begin(&printer))
        throw std::runtime_error(
            QStringLiteral("Не удалось начать печать на принтере \"%1\"").arg(PrinterName(printer)).toStdString());
}
