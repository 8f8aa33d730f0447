// The real print and save dialogs as the program opens them: the graph's printer setup is the
// print dialog with the printer list and without pages; the table's offers a page range but no
// free-form list of pages; printing into a PDF file only where it is asked for; the entries of
// a save dialog read exactly as given.
#include "widgets/dialogs.h"

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

struct Seen {
    bool printDialog = false;
    QAbstractPrintDialog::PrintDialogOptions options;
    bool rangeShown = false;
    bool listShown = false;
    bool listExists = false;  // the dialog has the list field at all (Qt names it so)
    bool printerList = false;
    QStringList printers;
};

bool shown(QWidget* dialog, const char* name)
{
    const auto widgets = dialog->findChildren<QWidget*>(QString::fromLatin1(name));
    // Shown unless hidden itself (the dialog's options part may be folded away as a whole).
    return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) { return !w->isHidden(); });
}

// Runs open(); looks at the dialog it shows and cancels it.
Seen look(const std::function<void()>& open)
{
    Seen seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll.stop();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            seen.printDialog = true;
            seen.options = dialog->options();
            seen.rangeShown = shown(dialog, "gbPrintRange");
            seen.listShown = shown(dialog, "pagesRadioButton") || shown(dialog, "pagesLineEdit");
            seen.listExists = dialog->findChild<QWidget*>(QStringLiteral("pagesLineEdit")) != nullptr;
            if (auto* list = dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
                seen.printerList = true;
                for (int i = 0; i < list->count(); ++i)
                    seen.printers << list->itemText(i);
            }
        }
        qobject_cast<QDialog*>(modal)->reject();
    });
    poll.start();
    open();
    return seen;
}

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
