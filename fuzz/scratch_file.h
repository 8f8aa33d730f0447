// A file of the fuzz target's own in a temporary directory that lives as long as the process.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

inline QString ScratchFile(const QString& name)
{
    static QTemporaryDir dir;
    return QDir(dir.path()).filePath(name);
}
