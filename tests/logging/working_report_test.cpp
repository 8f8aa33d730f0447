// Names the working report may take, and the save that nobody confirmed.
#include "logging/report_name.h"
#include "logging/working_report.h"

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
                      NameCase{"temp.old", false}));

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

    EXPECT_TRUE(CheckSaveTarget(pool.path(), "Cellar", "Cellar.old").sameFile);
    EXPECT_FALSE(CheckSaveTarget(pool.path(), "Cellar", "Cellar.old").replacesReport);

    EXPECT_TRUE(SaveUnderTypedName(pool.path(), "temp", "Hall"));
    EXPECT_EQ(read(path("Hall.dat")), "scratch-records");
    EXPECT_FALSE(QFile::exists(path("temp.dat")));
}
