// The real print and save dialogs as the program opens them: the graph's printer setup is the
// print dialog with the printer list and without pages; the table's offers a page range but no
// free-form list of pages; printing into a PDF file only where it is asked for; the entries of
// a save dialog read exactly as given.
#include "widgets/dialogs.h"

#include "support/print_dialog_look.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(PrintDialogs, ThePrinterSetupIsThePrintDialogWithoutPages)
{
    DesktopDialogs dialogs;
    QPrinter printer(QPrinter::HighResolution);
    const Seen s = look([&] { dialogs.printerSetup(printer); });
    ASSERT_TRUE(s.printDialog);
    EXPECT_TRUE(s.printerList);
    EXPECT_FALSE(s.options.testFlag(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(s.options.testFlag(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(s.rangeShown);
    EXPECT_FALSE(s.listShown);
}

TEST(PrintDialogs, TheTablesDialogOffersARangeButNoListOfPages)
{
    DesktopDialogs dialogs;
    QPrinter printer(QPrinter::HighResolution);
    for (const bool toFile : {false, true}) {
        SCOPED_TRACE(toFile);
        const Seen s = look([&] { dialogs.print(printer, 1, 5, toFile); });
        ASSERT_TRUE(s.printDialog);
        EXPECT_TRUE(s.options.testFlag(QAbstractPrintDialog::PrintPageRange));
        EXPECT_EQ(s.options.testFlag(QAbstractPrintDialog::PrintToFile), toFile);
        EXPECT_TRUE(s.rangeShown);
        EXPECT_TRUE(s.listExists);
        EXPECT_FALSE(s.listShown);
        // Printing into a file shows as one more entry of the printer list.
        if (!toFile)
            EXPECT_TRUE(s.printers.filter(QStringLiteral("PDF")).isEmpty()) << s.printers.join('|').toStdString();
        else
            EXPECT_FALSE(s.printers.filter(QStringLiteral("PDF")).isEmpty()) << s.printers.join('|').toStdString();
    }
}

TEST(SaveDialog, EntriesReadExactlyAsGivenAndListTheirOwnFiles)
{
    DesktopDialogs dialogs;
    SaveFileRequest request;
    request.title = QStringLiteral("Записать");
    request.directory = QDir::tempPath();
    request.fileName = QStringLiteral("14_03_2026");
    request.filters = QStringList{"Отчёт (*.txt)", "Отчёт Excel", "Отчёт (*.doc)", "Отчёт (*.htm)"};
    request.patterns = QStringList{"*.txt", "*.csv", "*.doc", "*.htm"};
    QStringList entries;
    QStringList listed;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        if (combo) {
            for (int i = 0; i < combo->count(); ++i)
                entries << combo->itemText(i);
            // The user picks the second entry and a name.
            combo->setCurrentIndex(1);
            emit combo->activated(1);
        }
        listed = dialog->nameFilters();
        dialog->selectFile(QStringLiteral("weekly"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll.start();
    const std::optional<SaveFileChoice> choice = dialogs.saveFile(request);
    EXPECT_EQ(entries, request.filters);
    EXPECT_TRUE(listed.size() == 4 && listed[1].endsWith(QStringLiteral("(*.csv)"))) << listed.join('|').toStdString();
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->filterIndex, 2);
    EXPECT_EQ(QFileInfo(choice->fileName).fileName(), QStringLiteral("weekly"));
}

}  // namespace
