#include "platform/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

QString programDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Without an application object (early start, small tools) ask the kernel.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString target = self.symLinkTarget();
    if (!target.isEmpty())
        return QFileInfo(target).absolutePath();
    return QDir::currentPath();
}

QString DataDirectoryFor(const QString& programDir, const QString& userDataDir)
{
    // The installed layout is looked for first: the superuser may write /usr/bin, and its
    // reports belong in its home all the same.
    const bool installed = QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("../share/applications/kelmora.desktop")));
    const bool writable = ::access(QFile::encodeName(programDir).constData(), W_OK | X_OK) == 0;
    return installed || !writable ? userDataDir : programDir;
}

QString userDataDirectory()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("Kelmora"));
}

QString dataDirectory()
{
    const QString chosen = qEnvironmentVariable("KELMORA_DATA_DIR");
    if (!chosen.isEmpty()) {
        const QString dir = QDir(chosen).absolutePath();
        QDir().mkpath(dir);
        return dir;
    }
    const QString userDir = userDataDirectory();
    const QString dir = DataDirectoryFor(programDirectory(), userDir);
    if (dir == userDir)
        QDir().mkpath(dir);
    return dir;
}

QString poolDirectory()
{
    return QDir(dataDirectory()).filePath(QStringLiteral("POOL"));
}

QString settingsFilePath()
{
    return QDir(dataDirectory()).filePath(QStringLiteral("kelmora.ini"));
}
