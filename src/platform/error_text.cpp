#include "platform/error_text.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

QString StandardErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

namespace {

struct KnownError {
    int errnum;
    const char* text;  // the C library's English text
};

constexpr KnownError kKnownErrors[] = {
    {EPERM, QT_TRANSLATE_NOOP("errno", "Operation not permitted")},
    {ENOENT, QT_TRANSLATE_NOOP("errno", "No such file or directory")},
    {EINTR, QT_TRANSLATE_NOOP("errno", "Interrupted system call")},
    {EIO, QT_TRANSLATE_NOOP("errno", "Input/output error")},
    {ENXIO, QT_TRANSLATE_NOOP("errno", "No such device or address")},
    {EAGAIN, QT_TRANSLATE_NOOP("errno", "Resource temporarily unavailable")},
    {ENOMEM, QT_TRANSLATE_NOOP("errno", "Cannot allocate memory")},
    {EACCES, QT_TRANSLATE_NOOP("errno", "Permission denied")},
    {EBUSY, QT_TRANSLATE_NOOP("errno", "Device or resource busy")},
    {EEXIST, QT_TRANSLATE_NOOP("errno", "File exists")},
    {EXDEV, QT_TRANSLATE_NOOP("errno", "Invalid cross-device link")},
    {ENODEV, QT_TRANSLATE_NOOP("errno", "No such device")},
    {ENOTDIR, QT_TRANSLATE_NOOP("errno", "Not a directory")},
    {EISDIR, QT_TRANSLATE_NOOP("errno", "Is a directory")},
    {EINVAL, QT_TRANSLATE_NOOP("errno", "Invalid argument")},
    {EMFILE, QT_TRANSLATE_NOOP("errno", "Too many open files")},
    {ETXTBSY, QT_TRANSLATE_NOOP("errno", "Text file busy")},
    {EFBIG, QT_TRANSLATE_NOOP("errno", "File too large")},
    {ENOSPC, QT_TRANSLATE_NOOP("errno", "No space left on device")},
    {EROFS, QT_TRANSLATE_NOOP("errno", "Read-only file system")},
    {EPIPE, QT_TRANSLATE_NOOP("errno", "Broken pipe")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("errno", "File name too long")},
    {ENOTEMPTY, QT_TRANSLATE_NOOP("errno", "Directory not empty")},
    {ELOOP, QT_TRANSLATE_NOOP("errno", "Too many levels of symbolic links")},
    {EADDRNOTAVAIL, QT_TRANSLATE_NOOP("errno", "Cannot assign requested address")},
    {ENETDOWN, QT_TRANSLATE_NOOP("errno", "Network is down")},
    {ENETUNREACH, QT_TRANSLATE_NOOP("errno", "Network is unreachable")},
    {ECONNABORTED, QT_TRANSLATE_NOOP("errno", "Software caused connection abort")},
    {ECONNRESET, QT_TRANSLATE_NOOP("errno", "Connection reset by peer")},
    {ETIMEDOUT, QT_TRANSLATE_NOOP("errno", "Connection timed out")},
    {ECONNREFUSED, QT_TRANSLATE_NOOP("errno", "Connection refused")},
    {EHOSTDOWN, QT_TRANSLATE_NOOP("errno", "Host is down")},
    {EHOSTUNREACH, QT_TRANSLATE_NOOP("errno", "No route to host")},
    {ESTALE, QT_TRANSLATE_NOOP("errno", "Stale file handle")},
    {EDQUOT, QT_TRANSLATE_NOOP("errno", "Disk quota exceeded")},
};

}  // namespace

QString SystemErrorText(int errnum)
{
    for (const KnownError& e : kKnownErrors)
        if (e.errnum == errnum)
            return QCoreApplication::translate("errno", e.text);
    return QString::fromLocal8Bit(std::strerror(errnum));
}
