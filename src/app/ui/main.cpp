// Kelmora: the desktop program beside the thermohygrometer.
#include "app/app_paths.h"
#include "app/clock.h"
#include "app/ui/dialogs.h"
#include "app/ui/main_form.h"
#include "app/ui/program.h"
#include "app/ui/qt_translations.h"
#include "app/ui/standard_error.h"

int main(int argc, char** argv)
{
    KelmoraApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelmora"));
    InstallRussianQtTranslations(app);
    // The program has no help file: nothing to register.

    DesktopDialogs dialogs;
    app.setDialogs(&dialogs);

    KelmoraWindows windows(SystemClock::instance(), dialogs, dataDirectory());
    dialogs.setOwner(&windows.MainForm());
    QApplication::setWindowIcon(windows.MainForm().windowIcon());
    windows.ShowMainForm();
    const int status = app.exec();
    app.setDialogs(nullptr);
    return status;
}
