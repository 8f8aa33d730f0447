// A look at the real print dialog a call opens: its options, whether its page range and its
// free-form page list show, and its printers; the dialog is cancelled after the look.
#pragma once

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPrintDialog>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <functional>

struct Seen {
    bool printDialog = false;
    QAbstractPrintDialog::PrintDialogOptions options;
    bool rangeShown = false;
    bool listShown = false;
    bool listExists = false;  // the dialog has the list field at all (Qt names it so)
    bool printerList = false;
    QStringList printers;
};

inline bool shown(QWidget* dialog, const char* name)
{
    const auto widgets = dialog->findChildren<QWidget*>(QString::fromLatin1(name));
    // Shown unless hidden itself (the dialog's options part may be folded away as a whole).
    return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) { return !w->isHidden(); });
}

// Runs open(); looks at the dialog it shows and cancels it.
inline Seen look(const std::function<void()>& open)
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

