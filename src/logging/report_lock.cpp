#include "logging/report_lock.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
ReportLock::Waiting& waitingHooks()
{
    static ReportLock::Waiting hooks;
    return hooks;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
}  // namespace

ReportLock::ReportLock(const QString& path, int flags, Mode mode)
{
    const QByteArray name = QFile::encodeName(path);
    for (;;) {
        const int fd = ::open(name.constData(), flags | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = errno;
            return;
        }
        const int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
        int locked = ::flock(fd, operation | LOCK_NB);
        if (locked != 0 && errno == EWOULDBLOCK) {
            const Waiting& hooks = waitingHooks();
            if (hooks.waiting)
                hooks.waiting(path);
            for (;;) {
                locked = ::flock(fd, operation);
                if (locked == 0 || errno != EINTR)
                    break;
                if (hooks.stop && hooks.stop()) {
                    ::close(fd);
                    error_ = EINTR;
                    return;
                }
            }
        }
        // A file system without advisory locks (some network mounts) is used unlocked, as
        // before; every other failure to lock is one as well.
        struct stat held {}, named {};
        if (::fstat(fd, &held) != 0) {
            error_ = errno;
            ::close(fd);
            return;
        }
        // A rewrite may have renamed a new file over the path while this waited for the lock
        // on the old one (or the report was deleted): what is written there would be lost.
        const bool named_ = ::stat(name.constData(), &named) == 0;
        if ((!named_ && errno == ENOENT) || (named_ && !sameFile(held, named))) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        status_ = held;
        return;
    }
}

void ReportLock::setWaiting(Waiting waiting)
{
    waitingHooks() = std::move(waiting);
}

ReportLock::~ReportLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // releases the lock
}


