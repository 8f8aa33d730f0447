// A report file opened and locked for one pool operation. Appends, loads and rewrites of one
// report take the same advisory lock (flock) on it, so that two programs (the window, any
// number of kelmora-cli runs) never overwrite each other's records: appends and rewrites hold
// it exclusively, loads shared. A rewrite renames a new file over the report while it holds
// the lock on the old one; whoever waited for that lock then finds that the path names
// another file, and opens and locks again.
#pragma once

#include "platform/error_text.h"

#include <QString>

#include <functional>

#include <sys/stat.h>

class ReportLock {
public:
    enum class Mode { Shared, Exclusive };

    // Opens path with the open(2) flags and takes the lock. Returns an unlocked, closed object
    // (isOpen() false, error() the errno) when the file cannot be opened; a file system without
    // flock is used without the lock.
    ReportLock(const QString& path, int flags, Mode mode);
    ~ReportLock();
    ReportLock(const ReportLock&) = delete;
    ReportLock& operator=(const ReportLock&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    int error() const { return error_; }
    // The locked file's status, taken once the lock was held.
    const struct stat& status() const { return status_; }

    // For a program that must not wait unseen (kelmora-cli log): `waiting` is told when a lock
    // is held by another program and this one waits for it; a signal that interrupts the wait
    // ends it when `stop` says so (the lock is then not taken: error() is EINTR).
    struct Waiting {
        std::function<void(const QString& path)> waiting;
        std::function<bool()> stop;
    };
    static void setWaiting(Waiting waiting);

private:
    int fd_ = -1;
    int error_ = 0;
    struct stat status_ {};
};

// SystemErrorText: platform/error_text.h.
