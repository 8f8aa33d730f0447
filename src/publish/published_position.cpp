#include "publish/published_position.h"

#include "logging/report_pool.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <unordered_map>

namespace {

const QByteArray kMagic = QByteArrayLiteral("kelmora published position");

QByteArray recordHex(const MeasurementRecord& record)
{
    MeasurementRecord copy = record;
    RecordsToLittleEndian(&copy, 1);
    return QByteArray(reinterpret_cast<const char*>(&copy), kRecordSize).toHex();
}

std::optional<MeasurementRecord> recordOfHex(const QByteArray& hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (bytes.size() != kRecordSize || bytes.toHex() != hex.toLower())
        return std::nullopt;
    MeasurementRecord r;
    std::memcpy(&r, bytes.constData(), kRecordSize);
    RecordsFromLittleEndian(&r, 1);
    return r;
}

bool sameRecord(const MeasurementRecord& a, const MeasurementRecord& b)
{
    return std::memcmp(&a, &b, kRecordSize) == 0;
}

}  // namespace

QString PublishedPositionPath(const QString& reportPath)
{
    QString path = reportPath;
    if (path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        path.chop(4);
    return path + QStringLiteral(".mqtt");
}

std::optional<PublishedPosition> ReadPublishedPosition(const QString& positionPath)
{
    QFile f(positionPath);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = f.read(4096).split('\n');
    if (lines.isEmpty() || lines.front().trimmed() != kMagic)
        return std::nullopt;
    PublishedPosition p;
    bool haveRecords = false;
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        if (key == "records") {
            bool ok = false;
            p.records = value.toLongLong(&ok);
            haveRecords = ok && p.records >= 0;
        } else if (key == "last") {
            p.last = recordOfHex(value);
            if (!p.last)
                return std::nullopt;
        }
    }
    if (!haveRecords || (p.records > 0) != p.last.has_value())
        return std::nullopt;
    return p;
}

bool WritePublishedPosition(const QString& positionPath, const PublishedPosition& position)
{
    QByteArray text = kMagic + '\n';
    text += "records=" + QByteArray::number(position.records) + '\n';
    if (position.last)
        text += "last=" + recordHex(*position.last) + '\n';
    const QByteArray target = QFile::encodeName(positionPath);
    const QByteArray temporary = target + '~';
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size() && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written || std::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

bool PositionStillHolds(const PublishedPosition& position, std::span<const MeasurementRecord> records, qint64 firstIndex)
{
    if (position.records == 0)
        return true;
    const qint64 at = position.records - 1 - firstIndex;
    return at >= 0 && at < qint64(records.size()) && position.last && sameRecord(records[size_t(at)], *position.last);
}

qint64 ResumeIndex(const PublishedPosition& position, std::span<const MeasurementRecord> records)
{
    if (position.records == 0 || !position.last)
        return 0;
    if (PositionStillHolds(position, records, 0))
        return position.records;
    // The same record elsewhere: the last occurrence, so that a rewrite that kept a repeat of
    // it earlier on does not send everything after that repeat again.
    for (qint64 i = qint64(records.size()) - 1; i >= 0; --i)
        if (sameRecord(records[size_t(i)], *position.last))
            return i + 1;
    qint64 resume = 0;
    for (qint64 i = 0; i < qint64(records.size()); ++i)
        if (records[size_t(i)].dt <= position.last->dt)
            resume = i + 1;
    return resume;
}

namespace {

// A record as a key of its 12 bytes.
struct RecordKey {
    uint64_t head;
    uint32_t tail;
    bool operator==(const RecordKey&) const = default;
};

RecordKey keyOf(const MeasurementRecord& r)
{
    RecordKey k{};
    std::memcpy(&k.head, &r, 8);
    std::memcpy(&k.tail, reinterpret_cast<const char*>(&r) + 8, 4);
    return k;
}

struct RecordKeyHash {
    size_t operator()(const RecordKey& k) const { return std::hash<uint64_t>()(k.head * 31 + k.tail); }
};

}  // namespace

PublishedPosition PositionAfterRewrite(const PublishedPosition& position, std::span<const MeasurementRecord> before,
                                       std::span<const MeasurementRecord> after)
{
    const qint64 resume = ResumeIndex(position, after);
    PublishedPosition moved{resume, resume > 0 ? std::optional(after[size_t(resume - 1)]) : std::nullopt};
    if (position.records > qint64(before.size()))
        return moved;
    // The published records, each as often as it was published; a record of `after` beyond
    // that count was not published yet.
    std::unordered_map<RecordKey, qint64, RecordKeyHash> published;
    published.reserve(size_t(position.records));
    for (qint64 i = 0; i < position.records; ++i)
        ++published[keyOf(before[size_t(i)])];
    qint64 i = 0;
    for (; i < qint64(after.size()); ++i) {
        const auto found = published.find(keyOf(after[size_t(i)]));
        if (found == published.end() || found->second == 0)
            break;
        --found->second;
    }
    return {i, i > 0 ? std::optional(after[size_t(i - 1)]) : std::nullopt};
}

ReportRewritten KeepPublishedPosition(const QString& reportPath)
{
    const QString positionPath = PublishedPositionPath(reportPath);
    if (!QFileInfo::exists(positionPath))
        return {};
    return [positionPath](std::span<const MeasurementRecord> before, std::span<const MeasurementRecord> after) {
        if (const std::optional<PublishedPosition> position = ReadPublishedPosition(positionPath))
            WritePublishedPosition(positionPath, PositionAfterRewrite(*position, before, after));
    };
}
