// AboutBox: the about box with the maker's name, slogan, instruments, picture and address,
// and buttons for an e-mail to the maker and for the maker's web site.
#pragma once

#include <QDialog>

class Dialogs;
class QLabel;

namespace Maker {
inline const QString Name = QStringLiteral("Ortanel");
inline const QString WebSite = QStringLiteral("https://www.ortanel.example/");
inline const QString WebSiteShown = QStringLiteral("www.ortanel.example");
inline const QString EMail = QStringLiteral("info@ortanel.example");
}  // namespace Maker

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Dialogs& dialogs, QWidget* owner = nullptr);

    // Shows the data directory in use (below the designed contents).
    void setDataDirectory(const QString& directory);

private slots:
    // "Написать электронное письмо": the mail program opens on the maker's address.
    void writeEMail();
    // "Посетите …": the browser opens the maker's web site.
    void visitWebSite();

private:
    Dialogs& dialogs_;
    QLabel* dataDirectory_;  // DataDirectoryLabel: where the reports and the settings file are kept
};
