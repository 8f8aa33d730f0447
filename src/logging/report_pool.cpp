#include "logging/report_pool.h"

#include "logging/report_file_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

ReportFileError ReportFileError::cannotOpen(const QString& path, const QString& reason)
{
    return ReportFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

ReportFileError ReportFileError::cannotCreate(const QString& path, const QString& reason)
{
    return ReportFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

QString ReportFilePath(const QString& poolDir, const QString& fileName)
{
    return QDir(poolDir).filePath(fileName);
}

QString WorkingReportPath(const QString& poolDir, const QString& repName)
{
    // The name becomes a file name by replacing its extension: "may.old" gives may.dat.
    return QDir(poolDir).filePath(ChangeFileExt(repName, QStringLiteral(".dat")));
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

void AppendRecord(const QString& poolDir, const QString& repName, const TDateTimeRHT& record)
{
    const QString path = WorkingReportPath(poolDir, repName);
    QFile file(path);
    const bool existed = file.exists();
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (existed)
            throw ReportFileError::cannotOpen(QFileInfo(path).absoluteFilePath(), file.errorString());
        throw ReportFileError::cannotCreate(QFileInfo(path).absoluteFilePath(), file.errorString());
    }
    qint64 length = file.size();
    if (length % kRecordSize != 0) {
        // A torn earlier write: appending after it would shift every later record.
        length -= length % kRecordSize;
        if (!file.resize(length))
            throw ReportFileError(QStringLiteral("Stream write error"));
    }
    TDateTimeRHT out = record;
    RecordsToLittleEndian(&out, 1);
    if (!file.seek(length) || file.write(reinterpret_cast<const char*>(&out), kRecordSize) != kRecordSize
        || !file.flush())
        throw ReportFileError(QStringLiteral("Stream write error"));
    file.close();
}

bool LoadReport(const QString& filePath, ReportState& state)
{
    QFile file(filePath);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadWrite))
        throw ReportFileError::cannotOpen(QFileInfo(filePath).absoluteFilePath(), file.errorString());
    const qint64 length = file.size();
    const qint64 count = length / kRecordSize;
    if (count > std::numeric_limits<qsizetype>::max() / kRecordSize)
        throw ReportFileError(QStringLiteral("Stream read error"));
    QList<TDateTimeRHT> data(static_cast<qsizetype>(count));
    const qint64 bytes = count * kRecordSize;
    qint64 done = 0;
    char* to = reinterpret_cast<char*>(data.data());
    while (done < bytes) {
        const qint64 got = file.read(to + done, bytes - done);
        if (got <= 0)
            throw ReportFileError(QStringLiteral("Stream read error"));
        done += got;
    }
    file.close();
    RecordsFromLittleEndian(data.data(), data.size());
    state.ReportData = std::move(data);
    state.ReportCount = static_cast<qsizetype>(count);
    return true;
}

bool RewriteReport(const QString& filePath, const ReportState& state)
{
    if (!QFile::exists(filePath))
        return false;
    QSaveFile file(filePath);
    file.setDirectWriteFallback(false);
    // Unbuffered, so a short write (a full disk) shows in the count written instead of being
    // lost in a buffer flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw ReportFileError::cannotOpen(QFileInfo(filePath).absoluteFilePath(), file.errorString());
    const qsizetype count = std::min(state.ReportCount, state.ReportData.size());
    const qint64 bytes = qint64(count) * kRecordSize;
    qint64 written = 0;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        written = file.write(reinterpret_cast<const char*>(state.ReportData.constData()), bytes);
    } else {
        QList<TDateTimeRHT> out(state.ReportData.constBegin(), state.ReportData.constBegin() + count);
        RecordsToLittleEndian(out.data(), out.size());
        written = file.write(reinterpret_cast<const char*>(out.constData()), bytes);
    }
    if (written != bytes || file.size() != bytes || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw ReportFileError(QStringLiteral("Stream write error") +
                              (reason.isEmpty() ? QString() : QStringLiteral(". ") + reason));
    }
    return true;
}

bool SaveReportUnderName(const QString& poolDir, const QString& oldName, const QString& newName)
{
    const QString from = WorkingReportPath(poolDir, oldName);
    const QString to = WorkingReportPath(poolDir, newName);
    const QFileInfo fromInfo(from), toInfo(to);
    if (fromInfo.absoluteFilePath() == toInfo.absoluteFilePath()
        || (toInfo.exists() && fromInfo.exists() && fromInfo.canonicalFilePath() == toInfo.canonicalFilePath()))
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
