#include "support/pty_pair.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("no pseudo-terminal");
    path_ = QString::fromLocal8Bit(::ptsname(master_));
    // Keep the far side alive and raw while the program opens and closes it.
    keeper_ = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    termios raw{};
    ::tcgetattr(keeper_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(keeper_, TCSANOW, &raw);
}

PtyPair::~PtyPair()
{
    hangUp();
}

void PtyPair::send(const QByteArray& bytes)
{
    const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    (void)n;
    ::tcdrain(master_);
}

QByteArray PtyPair::receive(int atLeast, int timeoutMs)
{
    QByteArray got;
    QElapsedTimer t;
    t.start();
    while (got.size() < atLeast && t.elapsed() < timeoutMs) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0)
            got.append(buf, static_cast<int>(n));
    }
    return got;
}

void PtyPair::hangUp()
{
    if (keeper_ >= 0)
        ::close(keeper_);
    if (master_ >= 0)
        ::close(master_);
    keeper_ = master_ = -1;
}
