#include "logging/scratch_recovery.h"

#include "logging/measurement_record.h"
#include "logging/report_pool.h"
#include "report/date_time.h"

#include <QDir>
#include <QFile>

QString KeepOrDiscardScratchReport(const QString& poolDir)
{
    const QString scratch = WorkingReportPath(poolDir, kScratchReportName);
    QFile file(scratch);
    const qint64 records = file.size() / kRecordSize;
    if (records <= 0 || !file.open(QIODevice::ReadOnly)) {
        QFile::remove(scratch);
        return {};
    }
    MeasurementRecord last{};
    file.seek((records - 1) * kRecordSize);
    const bool read = file.read(reinterpret_cast<char*>(&last), kRecordSize) == kRecordSize;
    file.close();
    RecordsFromLittleEndian(&last, 1);
    const std::optional<DayTime> when = read ? SplitDayCount(last.dt) : std::nullopt;
    QString stamp = QStringLiteral("unknown");
    if (when) {
        const QDate date = QDate::fromJulianDay(when->day + kJulianDayOfDayZero);
        const int minutes = when->msOfDay / 60000;
        stamp = QStringLiteral("%1_%2-%3").arg(date.toString(QStringLiteral("yyyy-MM-dd")))
                    .arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }
    const QString base = QStringLiteral("temp_") + stamp;
    QString name = base + QStringLiteral(".dat");
    for (int n = 2; QFile::exists(QDir(poolDir).filePath(name)); ++n)
        name = QStringLiteral("%1_%2.dat").arg(base).arg(n);
    if (!QFile::rename(scratch, QDir(poolDir).filePath(name)))
        return {};
    return name;
}
