// One window per data directory: a second window on the same POOL would take the first one's
// scratch report away at its start and delete it at its close. The window holds the lock file
// "kelmora.lock" in the data directory while it runs; a lock left by a run that died is taken
// over. kelmora-cli takes no such lock: its reports are its own.
#pragma once

#include <QLockFile>
#include <QString>

class DataDirectoryLock {
public:
    explicit DataDirectoryLock(const QString& dataDirectory);

    // False when another running program holds the directory.
    bool locked() const { return locked_; }
    // The process that holds it when it is not ours (0 when unknown).
    qint64 holder() const { return holder_; }

private:
    QLockFile file_;
    bool locked_ = false;
    qint64 holder_ = 0;
};
