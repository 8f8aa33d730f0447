// AboutBox: the about box with the maker's name, slogan, instruments, picture and address,
// and buttons for an e-mail to the maker and for the maker's web site.
#pragma once

#include <QDialog>

class BevelPanel;
class Dialogs;
class QLabel;
class QPushButton;

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

    BevelPanel* Panel1;
    QLabel* Label1;     // maker's name
    QLabel* Label2;     // slogan
    QLabel* Label3;     // line of instruments
    QLabel* Image1;     // picture
    QLabel* Label4;     // address and telephones
    QPushButton* OKButton;
    QPushButton* Button1;
    QPushButton* Button2;
    QLabel* DataDirectoryLabel;  // where the reports and the settings file are kept

    // Shows the data directory in use (below the designed contents).
    void setDataDirectory(const QString& directory);

public slots:
    void Button1Click();
    void Button2Click();

private:
    Dialogs& dialogs_;
};
