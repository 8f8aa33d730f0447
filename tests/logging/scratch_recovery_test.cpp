// A scratch report left with readings is kept under a recovery name; an empty one goes.
#include "logging/measurement_record.h"
#include "logging/scratch_recovery.h"
#include "report/date_time.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
QByteArray recordAt(const QDate& d, const QTime& t)
{
    MeasurementRecord r{DayCountOf(d, t.msecsSinceStartOfDay()), 4500, 2100};
    return QByteArray(reinterpret_cast<const char*>(&r), 12);
}
}  // namespace

TEST(ScratchRecovery, ReadingsAreKeptUnderTheTimeOfTheLastOne)
{
    QTemporaryDir pool;
    const QString temp = QDir(pool.path()).filePath("temp.dat");
    const QByteArray two = recordAt(QDate(2026, 3, 1), QTime(9, 0)) + recordAt(QDate(2026, 3, 1), QTime(23, 59, 59));
    write(temp, two + "xyz");  // a torn tail does not hide the last whole record
    EXPECT_EQ(KeepOrDiscardScratchReport(pool.path()), "temp_2026-03-01_23-59.dat");
    EXPECT_FALSE(QFile::exists(temp));
    QFile kept(QDir(pool.path()).filePath("temp_2026-03-01_23-59.dat"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), two + "xyz");

    // The same minute again takes a free name.
    write(temp, two);
    EXPECT_EQ(KeepOrDiscardScratchReport(pool.path()), "temp_2026-03-01_23-59_2.dat");
}

TEST(ScratchRecovery, EmptyOrMissingScratchReportIsDiscardedSilently)
{
    QTemporaryDir pool;
    const QString temp = QDir(pool.path()).filePath("temp.dat");
    EXPECT_EQ(KeepOrDiscardScratchReport(pool.path()), "");
    write(temp, "short");
    EXPECT_EQ(KeepOrDiscardScratchReport(pool.path()), "");
    EXPECT_FALSE(QFile::exists(temp));
    EXPECT_EQ(QDir(pool.path()).entryList(QDir::Files), QStringList{});
    EXPECT_EQ(KeepOrDiscardScratchReport(pool.path() + "/missing"), "");
}
