#include "logging/report_pool.h"

#include "logging/report_file_error.h"
#include "logging/report_lock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReportFileError ReportFileError::cannotOpen(const QString& path, const QString& reason)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

ReportFileError ReportFileError::cannotCreate(const QString& path, const QString& reason)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

QString ReportFilePath(const QString& poolDir, const QString& fileName)
{
    return QDir(poolDir).filePath(fileName);
}

namespace {

QString temporaryStem(const QString& target)
{
    const QByteArray name = QFile::encodeName(QFileInfo(target).fileName());
    return QLatin1Char('.') + QString::fromLatin1(QCryptographicHash::hash(name, QCryptographicHash::Sha1).toHex().left(16)) + QLatin1Char('.');
}

}  // namespace

QByteArray TemporaryPatternBeside(const QString& target)
{
    return QFile::encodeName(QDir(QFileInfo(target).absolutePath()).filePath(temporaryStem(target) + QStringLiteral("XXXXXX")));
}

void RemoveLeftoversBeside(const QString& target)
{
    const QDir dir(QFileInfo(target).absolutePath());
    const QString stem = temporaryStem(target);
    for (const QString& name : dir.entryList({stem + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System))
        if (name.size() == stem.size() + 6)
            QFile::remove(dir.filePath(name));
}

QString ReportFileName(const QString& repName)
{
    // Every name has a file of its own: "room.north" and "room.south" never share room.dat.
    // A name that is a report's file name already ("room.dat") names that file.
    static const QString extension = QStringLiteral(".dat");
    return repName.endsWith(extension, Qt::CaseInsensitive) ? repName : repName + extension;
}

QString WorkingReportPath(const QString& poolDir, const QString& repName)
{
    return QDir(poolDir).filePath(ReportFileName(repName));
}

QString ChangeFileExt(const QString& fileName, const QString& newExtension)
{
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return fileName.left(dot) + newExtension;
    return fileName + newExtension;
}

void CreatePool(const QString& poolDir)
{
    QDir().mkpath(poolDir);
}

void DiscardWorkingReport(const QString& poolDir, const QString& repName)
{
    QFile::remove(WorkingReportPath(poolDir, repName));
}

namespace {

QString absolutePath(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

// "Cannot write file "<path>". <reason>"
ReportFileError cannotWrite(const QString& path, int errnum)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "Cannot write file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(absolutePath(path)), SystemErrorText(errnum)));
}

ReportFileError cannotRead(const QString& path, int errnum)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "Cannot read file \"%1\". %2")
                               .arg(QDir::toNativeSeparators(absolutePath(path)), SystemErrorText(errnum)));
}

// The computer's memory in bytes (0 when it cannot be told).
qint64 physicalMemory()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
}

ReportFileError tooLarge(const QString& path, qint64 bytes)
{
    return ReportFileError(QCoreApplication::translate("Kelmora", "The report \"%1\" is too large to load: %2 bytes, the computer has %3 bytes of memory")
                               .arg(QDir::toNativeSeparators(absolutePath(path)))
                               .arg(bytes)
                               .arg(physicalMemory()));
}

// Reads the whole records of the open file fd (length div 12) into state.
void loadFrom(int fd, const struct stat& status, const QString& path, ReportState& state)
{
    if (S_ISDIR(status.st_mode))
        throw ReportFileError::cannotOpen(absolutePath(path), SystemErrorText(EISDIR));
    const qint64 length = status.st_size;
    const qint64 count = length / kRecordSize;
    const qint64 bytes = count * kRecordSize;
    // A file larger than the memory cannot be held: said plainly, before trying.
    const qint64 memory = physicalMemory();
    if (count > std::numeric_limits<qsizetype>::max() / kRecordSize || (memory > 0 && bytes > memory))
        throw tooLarge(path, length);
    QList<MeasurementRecord> data;
    try {
        data.resize(static_cast<qsizetype>(count));
    } catch (const std::bad_alloc&) {
        throw tooLarge(path, length);
    }
    qint64 done = 0;
    char* to = reinterpret_cast<char*>(data.data());
    while (done < bytes) {
        const ssize_t got = ::pread(fd, to + done, static_cast<size_t>(std::min<qint64>(bytes - done, 1 << 30)), done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw cannotRead(path, errno);
        if (got == 0)
            break;  // shorter than it was a moment ago: what is there counts
        done += got;
    }
    data.resize(static_cast<qsizetype>(done / kRecordSize));
    RecordsFromLittleEndian(data.data(), data.size());
    state.ReportCount = data.size();
    state.ReportData = std::move(data);
}

bool sameVersion(const struct stat& s, const ReportVersion& v)
{
    return quint64(s.st_dev) == v.device && quint64(s.st_ino) == v.inode && qint64(s.st_size) == v.size
           && qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec == v.modifiedNs;
}

ReportVersion versionOf(const struct stat& s)
{
    return ReportVersion{quint64(s.st_dev), quint64(s.st_ino), qint64(s.st_size),
                         qint64(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec};
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 30)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// Writes the records in use to a new file beside the report, with the report's owner, group
// and mode, and renames it over the report. The caller holds the exclusive lock of the report
// (whose status is `held`), so no append can go into the old file meanwhile.
void replaceLocked(const QString& filePath, const struct stat& held, const ReportState& state, QStringList* notes)
{
    // A link is followed: the report it points to is replaced, the link stays.
    const QFileInfo info(filePath);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    // The new records go to a file of their own, but a report the user may not write
    // (read-only, another user's) is never replaced behind its permissions.
    if (::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
        throw ReportFileError::cannotOpen(QDir::toNativeSeparators(target), SystemErrorText(errno));
    // What a rewrite killed midway left (under this lock nobody else rewrites the report).
    RemoveLeftoversBeside(target);
    QByteArray temporary = TemporaryPatternBeside(target);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        // The new records go to a file beside the report: the directory must take one.
        const int why = errno;
        throw ReportFileError(QCoreApplication::translate("Kelmora", "Cannot rewrite file \"%1\": its directory \"%2\" does not take a new file. %3")
                                  .arg(QDir::toNativeSeparators(target), QDir::toNativeSeparators(QFileInfo(target).absolutePath()),
                                       SystemErrorText(why)));
    }
    const auto fail = [&](int errnum) {
        ::close(fd);
        ::unlink(temporary.constData());
        return cannotWrite(target, errnum);
    };
    // The rewritten report stays the file it was for every program that logs into it: same
    // owner and group (possible for root, or a group the user is in), same permissions.
    struct stat made {};
    ::fstat(fd, &made);
    if ((made.st_uid != held.st_uid || made.st_gid != held.st_gid) && ::fchown(fd, held.st_uid, held.st_gid) != 0) {
        const int why = errno;
        if (notes)
            *notes << QCoreApplication::translate("Kelmora", "The rewritten report \"%1\" could not keep its owner %2 and group %3: %4")
                          .arg(QDir::toNativeSeparators(target))
                          .arg(held.st_uid)
                          .arg(held.st_gid)
                          .arg(SystemErrorText(why));
        if (made.st_gid != held.st_gid)
            (void)::fchown(fd, static_cast<uid_t>(-1), held.st_gid);  // the group alone, if that can be kept
    }
    if (::fchmod(fd, held.st_mode & 07777) != 0 && notes)
        *notes << QCoreApplication::translate("Kelmora", "The rewritten report \"%1\" could not keep its permissions %2: %3")
                      .arg(QDir::toNativeSeparators(target))
                      .arg(held.st_mode & 07777, 4, 8, QLatin1Char('0'))
                      .arg(SystemErrorText(errno));

    const qsizetype count = std::min(state.ReportCount, state.ReportData.size());
    const qint64 bytes = qint64(count) * kRecordSize;
    bool written = false;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        written = writeAll(fd, reinterpret_cast<const char*>(state.ReportData.constData()), bytes);
    } else {
        QList<MeasurementRecord> out(state.ReportData.constBegin(), state.ReportData.constBegin() + count);
        RecordsToLittleEndian(out.data(), out.size());
        written = writeAll(fd, reinterpret_cast<const char*>(out.constData()), bytes);
    }
    if (!written || ::fsync(fd) != 0)
        throw fail(errno);
    if (::close(fd) != 0) {
        const int why = errno;
        ::unlink(temporary.constData());
        throw cannotWrite(target, why);
    }
    if (::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        const int why = errno;
        ::unlink(temporary.constData());
        throw cannotWrite(target, why);
    }
}

// Whether the report opened under its lock is there: one that vanished meanwhile is skipped
// like a missing one; one that is there but cannot be opened is an error.
bool lockedReportThere(const ReportLock& file, const QString& filePath)
{
    if (file.isOpen())
        return true;
    if (file.error() == ENOENT)
        return false;
    throw ReportFileError::cannotOpen(absolutePath(filePath), SystemErrorText(file.error()));
}

}  // namespace

void AppendRecord(const QString& poolDir, const QString& repName, const MeasurementRecord& record)
{
    const QString path = WorkingReportPath(poolDir, repName);
    const bool existed = QFileInfo::exists(path);
    // Append mode puts every write at the end of the file as it is then, and the lock keeps
    // other appenders and rewrites out while the tail is checked and the record written.
    const ReportLock file(path, O_WRONLY | O_APPEND | O_CREAT, ReportLock::Mode::Exclusive);
    if (!file.isOpen()) {
        if (existed)
            throw ReportFileError::cannotOpen(absolutePath(path), SystemErrorText(file.error()));
        throw ReportFileError::cannotCreate(absolutePath(path), SystemErrorText(file.error()));
    }
    const qint64 length = file.status().st_size;
    if (length % kRecordSize != 0) {
        // A torn earlier write: appending after it would shift every later record.
        if (::ftruncate(file.fd(), length - length % kRecordSize) != 0)
            throw cannotWrite(path, errno);
    }
    MeasurementRecord out = record;
    RecordsToLittleEndian(&out, 1);
    if (!writeAll(file.fd(), reinterpret_cast<const char*>(&out), kRecordSize)) {
        const int why = errno;
        // A record cut short (a full disk) would shift every later one: it goes again.
        struct stat now {};
        if (::fstat(file.fd(), &now) == 0 && now.st_size % kRecordSize != 0)
            (void)::ftruncate(file.fd(), now.st_size - now.st_size % kRecordSize);
        throw cannotWrite(path, why);
    }
}

bool LoadReport(const QString& filePath, ReportState& state, ReportVersion* version)
{
    if (!QFileInfo::exists(filePath))
        return false;
    // Read-only: a report that may be read but not written (another user's, read-only media)
    // loads all the same. The shared lock waits for an append or a rewrite under way.
    const ReportLock file(filePath, O_RDONLY, ReportLock::Mode::Shared);
    if (!lockedReportThere(file, filePath))
        return false;
    loadFrom(file.fd(), file.status(), filePath, state);
    if (version)
        *version = versionOf(file.status());
    return true;
}

bool RewriteReport(const QString& filePath, const ReportState& state, QStringList* notes)
{
    if (!QFileInfo::exists(filePath))
        return false;
    const ReportLock file(filePath, O_RDONLY, ReportLock::Mode::Exclusive);
    if (!lockedReportThere(file, filePath))
        return false;
    replaceLocked(filePath, file.status(), state, notes);
    return true;
}

bool RewritePreparedReport(const QString& filePath, ReportState& state, const ReportVersion& loaded, bool changed,
                           const std::function<bool(ReportState&)>& prepareAgain, QStringList* notes,
                           const ReportRewritten& rewritten, std::span<const MeasurementRecord> loadedRecords)
{
    if (!QFileInfo::exists(filePath))
        return false;
    const ReportLock file(filePath, O_RDONLY, ReportLock::Mode::Exclusive);
    if (!lockedReportThere(file, filePath))
        return false;
    std::span<const MeasurementRecord> before = loadedRecords;
    QList<MeasurementRecord> reloaded;  // shares the records as loaded again until they are sorted
    if (!sameVersion(file.status(), loaded)) {
        // Records came in (or the file was replaced) since it was loaded: they are kept by
        // preparing the file as it is now, while nobody can change it.
        loadFrom(file.fd(), file.status(), filePath, state);
        if (rewritten) {
            reloaded = state.ReportData;
            before = std::span<const MeasurementRecord>(reloaded.constData(), size_t(std::min(state.ReportCount, reloaded.size())));
        }
        changed = prepareAgain(state) || qint64(file.status().st_size) != qint64(state.ReportCount) * kRecordSize;
    }
    if (changed) {
        replaceLocked(filePath, file.status(), state, notes);
        if (rewritten)
            rewritten(before, state.records());
    }
    return true;
}

bool SameReportFile(const QString& a, const QString& b)
{
    const QFileInfo first(a), second(b);
    return first.absoluteFilePath() == second.absoluteFilePath()
           || (first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath());
}

bool SaveReportUnderName(const QString& poolDir, const QString& oldName, const QString& newName)
{
    const QString from = WorkingReportPath(poolDir, oldName);
    const QString to = WorkingReportPath(poolDir, newName);
    if (SameReportFile(from, to))
        return true;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    // The copy goes to a temporary file renamed over the target, so an existing report of the
    // new name is either replaced whole or left as it was.
    QSaveFile target(to);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFile::NoError) {
            target.cancelWriting();
            return false;
        }
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            return false;
        }
    }
    source.close();
    if (!target.commit())
        return false;
    QFile::remove(from);
    return true;
}

QStringList ListReports(const QString& poolDir)
{
    const QDir dir(poolDir, QStringLiteral("*.dat"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    return dir.entryList();
}

QList<DeleteFailure> DeleteReport(const QString& poolDir, const QString& reportFileName)
{
    QList<DeleteFailure> failures;
    const QString base = ChangeFileExt(reportFileName, QString());
    for (const char* ext : {".dat", ".tmp", ".txt"}) {
        const QString path = ReportFilePath(poolDir, base + QLatin1String(ext));
        QFile file(path);
        if (file.remove())
            continue;
        // Only what is still there is a failure: a file that never existed (or vanished
        // meanwhile) is what deleting wanted. A dangling link is something to delete too.
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            failures.push_back({info.absoluteFilePath(), file.errorString()});
    }
    return failures;
}
