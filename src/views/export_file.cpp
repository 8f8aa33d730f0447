#include "views/export_file.h"

#include "logging/report_file_error.h"
#include "logging/report_lock.h"
#include "logging/report_pool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ReportFileError cannotWrite(const QString& fileName, int errnum)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "Cannot write file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()), SystemErrorText(errnum)));
}

// A write-only device on a file descriptor that keeps the system's reason of a failed write
// (QFile reports a short write on a full disk as "Unknown error").
class DescriptorDevice : public QIODevice {
public:
    explicit DescriptorDevice(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(size - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failure_ = n == 0 ? ENOSPC : errno;
                setErrorString(SystemErrorText(failure_));
                return done > 0 ? done : -1;
            }
            done += n;
        }
        return done;
    }

private:
    int fd_;
    int failure_ = 0;
};

// The permissions of a new file: those of the file it replaces, else what the umask allows.
mode_t permissionsFor(const QByteArray& target)
{
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void WriteExportFile(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
    if (fileName == kStandardOutputName) {
        // Straight to the pipe or terminal: there is no file to replace.
        DescriptorDevice device(STDOUT_FILENO);
        try {
            write(device);
        } catch (const ReportFileError&) {
            throw cannotWrite(QCoreApplication::translate("Kelmora", "standard output"), device.failure() ? device.failure() : EIO);
        }
        return;
    }
    const QFileInfo info(fileName);
    // A link is followed: the file it points to is replaced, the link stays.
    const QString targetPath = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    if (QFileInfo(targetPath).isDir())
        throw ReportFileError::cannotCreate(info.absoluteFilePath(), SystemErrorText(EISDIR));
    const QByteArray target = QFile::encodeName(targetPath);
    QByteArray temporary = TemporaryPatternBeside(targetPath);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        throw ReportFileError::cannotCreate(info.absoluteFilePath(), SystemErrorText(errno));
    const auto discard = [&] {
        ::close(fd);
        ::unlink(temporary.constData());
    };
    (void)::fchmod(fd, permissionsFor(target));
    DescriptorDevice device(fd);
    try {
        write(device);
    } catch (const ExportRefused&) {
        discard();
        throw;
    } catch (const ReportFileError&) {
        const int why = device.failure() ? device.failure() : EIO;
        discard();
        throw cannotWrite(fileName, why);
    }
    if (::fsync(fd) != 0) {
        const int why = errno;
        discard();
        throw cannotWrite(fileName, why);
    }
    if (::close(fd) != 0 || ::rename(temporary.constData(), target.constData()) != 0) {
        const int why = errno;
        ::unlink(temporary.constData());
        throw cannotWrite(fileName, why);
    }
}

ExportStream::ExportStream(QIODevice& device, qsizetype capacity) : device_(device), buffer_(capacity, Qt::Uninitialized) {}

void ExportStream::zeros(qsizetype n)
{
    while (n > 0) {
        const qsizetype piece = std::min(n, buffer_.size());
        std::memset(room(piece), 0, std::size_t(piece));
        used_ += piece;
        n -= piece;
    }
}

void ExportStream::flush()
{
    writeToDevice(buffer_.constData(), used_);
    used_ = 0;
}

void ExportStream::writeToDevice(const char* data, qsizetype n)
{
    if (n > 0 && device_.write(data, n) != n)
        throw ReportFileError(device_.errorString());
}
