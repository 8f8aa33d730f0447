// Kelmora: the desktop program beside the thermohygrometer.
#include "platform/app_paths.h"
#include "platform/clock.h"
#include "platform/data_directory_lock.h"
#include "widgets/dialogs.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/qt_translations.h"
#include "widgets/standard_error.h"

#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    KelmoraApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelmora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelmora"));
    InstallRussianQtTranslations(app);
    // The program has no help file: nothing to register.

    DesktopDialogs dialogs;
    app.setDialogs(&dialogs);

    // A second window on the same data directory ends before it touches POOL.
    const QString data = dataDirectory();
    const DataDirectoryLock lock(data);
    if (!lock.locked()) {
        const QString text = QStringLiteral("Kelmora уже работает с каталогом данных %1. "
                                            "Второе окно не открывается, чтобы не повредить отчеты первого.")
                                 .arg(QDir::toNativeSeparators(data));
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        dialogs.message(text);
        app.setDialogs(nullptr);
        return 1;
    }
    KelmoraWindows windows(SystemClock::instance(), dialogs, data);
    dialogs.setOwner(&windows.mainWindow());
    QApplication::setWindowIcon(windows.mainWindow().windowIcon());
    windows.showMainWindow();
    const int status = app.exec();
    app.setDialogs(nullptr);
    return status;
}
