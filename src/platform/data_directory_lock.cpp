#include "platform/data_directory_lock.h"

#include <QDir>

DataDirectoryLock::DataDirectoryLock(const QString& dataDirectory)
    : file_(QDir(dataDirectory).filePath(QStringLiteral("kelmora.lock")))
{
    // A lock is stale only when its process is gone (QLockFile checks the process), never by age:
    // a window may log for months.
    file_.setStaleLockTime(0);
    locked_ = file_.tryLock(0);
    if (!locked_) {
        QString host, application;
        file_.getLockInfo(&holder_, &host, &application);
    }
}
