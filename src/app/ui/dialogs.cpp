#include "app/ui/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

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
    return owner_ ? owner_ : QApplication::activeWindow();
}

void DesktopDialogs::Message(const QString& text)
{
    box(owner(), QMessageBox::NoIcon, QStringLiteral("Kelmora"), text, QMessageBox::Ok);
}

Dialogs::Answer DesktopDialogs::Warning(const QString& text)
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

void DesktopDialogs::Error(const QString& text)
{
    box(owner(), QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void DesktopDialogs::StandardError(const QString& text)
{
    box(owner(), QMessageBox::Critical, QStringLiteral("Kelmora"), text, QMessageBox::Ok);
}

std::optional<SaveFileChoice> DesktopDialogs::SaveFile(const SaveFileRequest& request)
{
    QFileDialog dialog(owner(), request.title, request.directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is not questioned: the program's save dialogs never ask.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(request.filters);
    if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size())
        dialog.selectNameFilter(request.filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveFileChoice choice;
    choice.fileName = dialog.selectedFiles().front();
    choice.filterIndex = static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1)
        choice.filterIndex = 1;
    return choice;
}

bool DesktopDialogs::Print(QPrinter& printer, int minPage, int maxPage)
{
    QPrintDialog dialog(&printer, owner());
    dialog.setMinMax(minPage, maxPage);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopDialogs::PrinterSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, owner());
    return dialog.exec() == QDialog::Accepted;
}

void DesktopDialogs::OpenAddress(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address));
}
