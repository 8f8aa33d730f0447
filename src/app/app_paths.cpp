#include "app/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString poolDirectory()
{
    return QDir(programDirectory()).filePath(QStringLiteral("POOL"));
}

QString settingsFilePath()
{
    return QDir(programDirectory()).filePath(QStringLiteral("kelmora.ini"));
}
