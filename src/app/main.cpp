// Kelmora: the desktop program beside the thermohygrometer.
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "widgets/dialogs.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/qt_translations.h"
#include "widgets/standard_error.h"

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
    dialogs.setOwner(&windows.mainWindow());
    QApplication::setWindowIcon(windows.mainWindow().windowIcon());
    windows.showMainWindow();
    const int status = app.exec();
    app.setDialogs(nullptr);
    return status;
}
