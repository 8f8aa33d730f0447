#include "widgets/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include <span>

namespace {

QMessageBox::StandardButton box(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                const QString& text, QMessageBox::StandardButtons buttons)
{
    QMessageBox mb(icon, title, text, buttons, owner);
    mb.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(mb.exec());
}

// A question box that tells a button from Esc and the title-bar button. QMessageBox turns
// both into a click of No, but a question closed without an answer must change nothing.
class QuestionBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closedWithoutAnswer() const { return closedWithoutAnswer_; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            closedWithoutAnswer_ = true;
            done(QMessageBox::Cancel);
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (!clickedButton())
            closedWithoutAnswer_ = true;
        QMessageBox::closeEvent(event);
    }

private:
    bool closedWithoutAnswer_ = false;
};

}  // namespace

QWidget* DesktopDialogs::owner() const
{
    if (QWidget* scoped = scopedOwner())
        return scoped;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return owner_ ? owner_ : QApplication::activeWindow();
}

void DesktopDialogs::message(const QString& text)
{
    box(owner(), QMessageBox::NoIcon, QStringLiteral("Kelmora"), text, QMessageBox::Ok);
}

Dialogs::Answer DesktopDialogs::warning(const QString& text)
{
    QuestionBox mb(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Yes | QMessageBox::No,
                   owner());
    mb.setTextFormat(Qt::PlainText);
    const int answer = mb.exec();
    if (mb.closedWithoutAnswer())
        return Answer::Closed;
    if (answer == QMessageBox::Yes)
        return Answer::Yes;
    if (answer == QMessageBox::No)
        return Answer::No;
    return Answer::Closed;
}

void DesktopDialogs::error(const QString& text)
{
    box(owner(), QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void DesktopDialogs::standardError(const QString& text)
{
    box(owner(), QMessageBox::Critical, QStringLiteral("Kelmora"), text, QMessageBox::Ok);
}

std::optional<SaveFileChoice> DesktopDialogs::saveFile(const SaveFileRequest& request)
{
    QFileDialog dialog(owner(), request.title, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is not questioned: the program's save dialogs never ask.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // Entries read exactly as given: each gets its pattern, and the dialog shows the entries
    // without it (Qt's own dialog does; a desktop's would cut every entry at its first bracket).
    QStringList filters = request.filters;
    if (request.patterns.size() == request.filters.size()) {
        for (qsizetype i = 0; i < filters.size(); ++i)
            filters[i] += QStringLiteral(" (%1)").arg(request.patterns[i]);
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    }
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveFileChoice choice;
    choice.fileName = dialog.selectedFiles().front();
    // Qt's dialog names the chosen entry as shown when it hides the patterns.
    const QString chosen = dialog.selectedNameFilter();
    qsizetype index = filters.indexOf(chosen);
    if (index < 0)
        index = request.filters.indexOf(chosen);
    choice.filterIndex = static_cast<int>(index) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

namespace {

// Keeps a widget hidden whenever its dialog shows it again.
class KeepHidden : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::ShowToParent)
            QMetaObject::invokeMethod(qobject_cast<QWidget*>(watched), "hide", Qt::QueuedConnection);
        return false;
    }
};

// Qt's own print dialog offers its page range also without the option, for the printing
// service to pick the pages, and a free-form list of pages beside the range ("3,5", which
// the printer reports as the range 3 to 5); a dialog that offers no range, or only a range,
// keeps hidden what it does not offer.
void hidePageChoices(QPrintDialog& dialog, bool rangeOffered)
{
    const char* const lists[] = {"pagesRadioButton", "pagesLineEdit"};
    const char* const all[] = {"gbPrintRange", "pagesRadioButton", "pagesLineEdit"};
    auto* keep = new KeepHidden(&dialog);
    for (const char* name : rangeOffered ? std::span<const char* const>(lists) : std::span<const char* const>(all))
        for (QWidget* w : dialog.findChildren<QWidget*>(QString::fromLatin1(name))) {
            w->hide();
            w->installEventFilter(keep);
        }
}

}  // namespace

bool DesktopDialogs::print(QPrinter& printer, int minPage, int maxPage, bool toFile)
{
    QPrintDialog dialog(&printer, owner());
    QAbstractPrintDialog::PrintDialogOptions options;
    if (maxPage > 0) {
        dialog.setMinMax(minPage, maxPage);
        options |= QAbstractPrintDialog::PrintPageRange;
    }
    if (toFile)
        options |= QAbstractPrintDialog::PrintToFile;
    dialog.setOptions(options);
    hidePageChoices(dialog, maxPage > 0);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopDialogs::printerSetup(QPrinter& printer)
{
    return print(printer, 0, 0, false);
}

bool DesktopDialogs::printersInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void DesktopDialogs::openAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}
