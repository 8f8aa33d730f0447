// Names the working report may take, and the save that nobody confirmed.
#include "logging/report_name.h"
#include "logging/working_report.h"
#include "report/date_time.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct NameCase {
    const char* name;
    bool usable;
};

class ReportNames : public ::testing::TestWithParam<NameCase> {};

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST_P(ReportNames, UsableOrNot)
{
    const NameCase c = GetParam();
    const auto problem = ReportNameProblem(QString::fromUtf8(c.name));
    EXPECT_EQ(!problem.has_value(), c.usable) << c.name << ": " << problem.value_or("").toStdString();
    if (problem)
        EXPECT_FALSE(problem->isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReportNames,
    ::testing::Values(NameCase{"Cellar", true}, NameCase{"Склад 2", true}, NameCase{"may.old", true},
                      NameCase{"temp_2026-03-01_23-59", true}, NameCase{"temporary", true},
                      NameCase{"", false}, NameCase{"   ", false}, NameCase{"../outside", false},
                      NameCase{"a/b", false}, NameCase{"a\\b", false}, NameCase{"a\tb", false},
                      NameCase{".", false}, NameCase{"..", false}, NameCase{".hidden", false},
                      NameCase{".dat", false}, NameCase{"temp", false}, NameCase{"TEMP", false},
                      NameCase{"temp.dat", false}, NameCase{"TEMP.DAT", false}, NameCase{"temp.old", true}));

TEST(SaveUnderTypedName, MovesTheScratchReportOnlyWhereNothingIsReplaced)
{
    QTemporaryDir pool;
    const auto path = [&](const char* f) { return QDir(pool.path()).filePath(f); };
    write(path("temp.dat"), "scratch-records");
    write(path("Cellar.dat"), "cellar-records");

    const SaveTarget onto = CheckSaveTarget(pool.path(), "temp", "Cellar");
    EXPECT_FALSE(onto.problem);
    EXPECT_TRUE(onto.replacesReport);
    EXPECT_FALSE(onto.sameFile);
    EXPECT_FALSE(SaveUnderTypedName(pool.path(), "temp", "Cellar"));
    EXPECT_FALSE(SaveUnderTypedName(pool.path(), "temp", "../Cellar"));
    EXPECT_EQ(read(path("Cellar.dat")), "cellar-records");
    EXPECT_EQ(read(path("temp.dat")), "scratch-records");

    EXPECT_TRUE(CheckSaveTarget(pool.path(), "Cellar", "Cellar.dat").sameFile);
    EXPECT_FALSE(CheckSaveTarget(pool.path(), "Cellar", "Cellar.dat").replacesReport);
    EXPECT_FALSE(CheckSaveTarget(pool.path(), "Cellar", "Cellar.old").sameFile) << "another name, another file";

    EXPECT_TRUE(SaveUnderTypedName(pool.path(), "temp", "Hall"));
    EXPECT_EQ(read(path("Hall.dat")), "scratch-records");
    EXPECT_FALSE(QFile::exists(path("temp.dat")));
}

namespace {

// A pool with a scratch report of the first meter (and maybe a report of another name).
struct PoolWithScratch {
    QTemporaryDir dir;
    WorkingReport report{dir.path()};

    QString path(const QString& file) const { return QDir(dir.path()).filePath(file); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    // The readings of meter 1111, as the scratch report holds them.
    QByteArray oldReadings;

    PoolWithScratch()
    {
        report.meterRead(1111, QString());
        const double day = DayCountOf(QDate(2026, 3, 1), 0);
        report.append(MeasurementRecord{day + 0.5, 4500, 2100});
        report.append(MeasurementRecord{day + 0.6, 4600, 2200});
        oldReadings = read(path("temp.dat"));
    }
};

}  // namespace

// A change of meter decides about the previous meter's readings before the new ones go
// anywhere; they are never thrown away without the user's "Нет".
TEST(WorkingReport, AChangeOfMeterKeepsTheOldReadingsOrAsks)
{
    struct Case {
        const char* what;
        const char* savedName;  // the report was saved under this name before (empty: scratch)
        const char* otherReport;  // a report of this name exists already
        const char* typed;
        WorkingReport::MeterChange change;
        const char* holdsOldReadings;  // the file that holds meter 1111's readings afterwards
        bool recovered;
    };
    const Case cases[] = {
        {"nothing typed: the user is asked", "", "", "", WorkingReport::MeterChange::AnswerNeeded, "temp.dat", false},
        {"a typed name takes them", "", "", "Hall", WorkingReport::MeterChange::NewReportStarted, "Hall.dat", false},
        {"a typed name of another report", "", "Hall", "Hall", WorkingReport::MeterChange::NewReportStarted, "", true},
        {"a typed text that names no file", "", "", "a/b", WorkingReport::MeterChange::NewReportStarted, "", true},
        {"a saved name keeps them where they are", "Hall", "", "Hall", WorkingReport::MeterChange::NewReportStarted,
         "Hall.dat", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PoolWithScratch pool;
        if (*c.otherReport)
            write(pool.path(QString::fromUtf8(c.otherReport) + ".dat"), "another-report");
        if (*c.savedName)
            ASSERT_TRUE(pool.report.saveUnder(QString::fromUtf8(c.savedName)));
        const WorkingReport::MeterChangeOutcome outcome = pool.report.meterRead(2222, QString::fromUtf8(c.typed));
        EXPECT_EQ(outcome.change, c.change);
        if (c.change == WorkingReport::MeterChange::AnswerNeeded) {
            EXPECT_EQ(pool.report.meter(), 1111) << "the old meter until the user answers";
        } else {
            EXPECT_EQ(pool.report.meter(), 2222);
            EXPECT_EQ(pool.report.name(), kScratchReportName) << "the new meter starts a scratch report";
            EXPECT_FALSE(QFile::exists(pool.path("temp.dat")));
        }
        if (*c.holdsOldReadings)
            EXPECT_EQ(read(pool.path(QString::fromUtf8(c.holdsOldReadings))), pool.oldReadings);
        EXPECT_EQ(!outcome.keptUnder.isEmpty(), c.recovered) << outcome.keptUnder.toStdString();
        if (c.recovered)
            EXPECT_EQ(read(pool.path(outcome.keptUnder)), pool.oldReadings);
        if (*c.otherReport)
            EXPECT_EQ(read(pool.path(QString::fromUtf8(c.otherReport) + ".dat")), "another-report");
    }

    // The answers to the question: "Нет" starts afresh, a closed box only takes the new meter.
    PoolWithScratch no;
    no.report.startNewReport(2222);
    EXPECT_EQ(no.files(), QStringList());
    EXPECT_EQ(no.report.meter(), 2222);
    PoolWithScratch closed;
    closed.report.takeMeter(2222);
    EXPECT_EQ(read(closed.path("temp.dat")), closed.oldReadings);
    EXPECT_EQ(closed.report.meterRead(2222, QString()).change, WorkingReport::MeterChange::SameMeter);
}

TEST(WorkingReport, ClosingAsksWheneverScratchReadingsWouldBeLost)
{
    {
        PoolWithScratch pool;
        EXPECT_TRUE(pool.report.mustAskBeforeClosing(QString())) << "whatever the window shows";
        EXPECT_EQ(read(pool.path("temp.dat")), pool.oldReadings);
    }
    {
        PoolWithScratch pool;
        QFile::remove(pool.path("temp.dat"));
        EXPECT_FALSE(pool.report.mustAskBeforeClosing(QString())) << "no reading yet";
        write(pool.path("temp.dat"), "");
        EXPECT_FALSE(pool.report.mustAskBeforeClosing(QString())) << "an empty scratch report";
    }
    {
        PoolWithScratch pool;
        EXPECT_FALSE(pool.report.mustAskBeforeClosing(QStringLiteral("Hall"))) << "the typed name takes them";
        EXPECT_EQ(pool.files(), QStringList{QStringLiteral("Hall.dat")});
    }
    {
        PoolWithScratch pool;
        write(pool.path("Hall.dat"), "another-report");
        EXPECT_TRUE(pool.report.mustAskBeforeClosing(QStringLiteral("Hall"))) << "never over another report";
        EXPECT_EQ(read(pool.path("Hall.dat")), "another-report");
        EXPECT_EQ(read(pool.path("temp.dat")), pool.oldReadings);
    }
    {
        PoolWithScratch pool;
        ASSERT_TRUE(pool.report.saveUnder(QStringLiteral("Hall")));
        EXPECT_FALSE(pool.report.mustAskBeforeClosing(QString())) << "saved already";
        EXPECT_EQ(pool.report.path(), pool.path("Hall.dat"));
        EXPECT_TRUE(pool.report.saveUnder(QString())) << "nothing typed: back to the scratch report";
        EXPECT_EQ(pool.report.name(), kScratchReportName);
        EXPECT_EQ(read(pool.path("temp.dat")), pool.oldReadings);
        EXPECT_TRUE(pool.report.mustAskBeforeClosing(QString()));
    }
}
