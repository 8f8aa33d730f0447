// The real print dialogs as the program opens them: the graph's printer setup is the print
// dialog with the printer list and without pages; the table's offers a page range but no
// free-form list of pages; printing into a PDF file only where it is asked for.
#include "app/ui/dialogs.h"

#include <QApplication>
#include <QComboBox>
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
    const Seen s = look([&] { dialogs.PrinterSetup(printer); });
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
        const Seen s = look([&] { dialogs.Print(printer, 1, 5, toFile); });
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

}  // namespace
