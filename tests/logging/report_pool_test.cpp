// The report pool on disk: record layout, loading whole records only, appends on record
// boundaries, the rewrite that never leaves a half-written report, naming, listing, deleting.
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ReportPool : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QDir(pool.path()).filePath(name); }

    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        WriteFileBytes(path(name), bytes);
    }

    QByteArray bytes(const QString& name) const { return FileBytes(path(name)); }

    static QByteArray recordBytes(double dt, int16_t rh, int16_t t)
    {
        MeasurementRecord r{dt, rh, t};
        return QByteArray(reinterpret_cast<const char*>(&r), 12);
    }

    QTemporaryDir pool;
};

TEST_F(ReportPool, RecordIsTwelveLittleEndianBytes)
{
    const QByteArray b = recordBytes(1.75, 4525, -525);
    ASSERT_EQ(b.size(), 12);
    EXPECT_EQ(b.mid(0, 8), QByteArray::fromHex("000000000000fc3f"));
    EXPECT_EQ(b.mid(8, 2), QByteArray::fromHex("ad11"));  // 4525
    EXPECT_EQ(b.mid(10, 2), QByteArray::fromHex("f3fd"));  // -525
}

TEST_F(ReportPool, LoadTakesWholeRecordsOnly)
{
    struct Case {
        int length;
        qsizetype records;
    };
    for (const Case c : {Case{0, 0}, Case{11, 0}, Case{12, 1}, Case{13, 1}, Case{25, 2}, Case{36, 3}}) {
        QByteArray data;
        for (int i = 0; i < 4; ++i)
            data += recordBytes(45000 + i, int16_t(1000 + i), int16_t(-i));
        writeBytes(QStringLiteral("r.dat"), data.left(c.length));
        ReportState state;
        EXPECT_TRUE(LoadReport(path(QStringLiteral("r.dat")), state));
        EXPECT_EQ(state.ReportCount, c.records) << c.length << " bytes";
        EXPECT_EQ(state.ReportData.size(), c.records);
        for (qsizetype i = 0; i < state.ReportCount; ++i) {
            EXPECT_EQ(double(state.ReportData[i].dt), 45000 + i);  // a copy: the records are packed
            EXPECT_EQ(state.ReportData[i].RH, 1000 + i);
            EXPECT_EQ(state.ReportData[i].T, -i);
        }
    }
}

TEST_F(ReportPool, MissingFileIsSkippedByLoadAndRewrite)
{
    ReportState state;
    state.ReportData = {MeasurementRecord{1, 2, 3}};
    state.ReportCount = 1;
    EXPECT_FALSE(LoadReport(path(QStringLiteral("none.dat")), state));
    EXPECT_EQ(state.ReportCount, 1);
    EXPECT_EQ(state.ReportData.size(), 1);
    EXPECT_FALSE(RewriteReport(path(QStringLiteral("none.dat")), state));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("none.dat"))));
}

TEST_F(ReportPool, RewriteWritesExactlyReportCountRecordsThroughARename)
{
    writeBytes(QStringLiteral("r.dat"), recordBytes(1, 2, 3) + "X");  // 13 bytes
    ReportState state;
    ASSERT_TRUE(LoadReport(path(QStringLiteral("r.dat")), state));
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("r.dat"))).constData(), &before), 0);
    ASSERT_TRUE(RewriteReport(path(QStringLiteral("r.dat")), state));
    EXPECT_EQ(bytes(QStringLiteral("r.dat")), recordBytes(1, 2, 3));
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path(QStringLiteral("r.dat"))).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "a new file renamed over the report, not the report truncated";
    EXPECT_EQ(QDir(pool.path()).entryList(QDir::Files), QStringList{QStringLiteral("r.dat")}) << "no temporary left";

    // A shorter count (after de-duplication) writes only the records in use.
    state.ReportData = {MeasurementRecord{5, 6, 7}, MeasurementRecord{8, 9, 10}, MeasurementRecord{11, 12, 13}};
    state.ReportCount = 2;
    ASSERT_TRUE(RewriteReport(path(QStringLiteral("r.dat")), state));
    EXPECT_EQ(bytes(QStringLiteral("r.dat")), recordBytes(5, 6, 7) + recordBytes(8, 9, 10));
}

// A rewrite killed midway (kill -9) leaves its temporary file; the next rewrite of that report
// removes it, and leaves another report's alone. Temporary names stay short, so a report of
// the longest name a report may have is rewritten too.
TEST_F(ReportPool, ARewriteRemovesWhatAKilledOneLeftAndNeedsNoLongTemporaryName)
{
    const QString longName = QString(250, QLatin1Char('r')) + QStringLiteral(".dat");
    for (const QString& name : {QStringLiteral("r.dat"), longName, QStringLiteral("other.dat")})
        writeBytes(name, recordBytes(1, 2, 3));
    const auto leftoverOf = [&](const QString& name) {
        QByteArray pattern = TemporaryPatternBeside(path(name));
        pattern.replace(pattern.size() - 6, 6, "a1B2c3");
        writeBytes(QFileInfo(QFile::decodeName(pattern)).fileName(), "half a rewrite");
        return QFileInfo(QFile::decodeName(pattern)).fileName();
    };
    const QString mine = leftoverOf(QStringLiteral("r.dat"));
    const QString others = leftoverOf(QStringLiteral("other.dat"));
    EXPECT_LT(mine.size(), 30);
    ReportState state;
    for (const QString& name : {QStringLiteral("r.dat"), longName}) {
        ASSERT_TRUE(LoadReport(path(name), state));
        ASSERT_TRUE(RewriteReport(path(name), state)) << name.size();
        EXPECT_EQ(bytes(name), recordBytes(1, 2, 3));
    }
    const QStringList left = QDir(pool.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(left.contains(mine));
    EXPECT_TRUE(left.contains(others)) << "another report's leftover waits for that report's rewrite";
    EXPECT_EQ(left.size(), 4);
}

TEST_F(ReportPool, FailedRewriteLeavesTheReportWhole)
{
    const QByteArray original = recordBytes(1, 2, 3) + recordBytes(4, 5, 6);
    writeBytes(QStringLiteral("r.dat"), original);
    ReportState state;
    state.ReportData = {MeasurementRecord{9, 9, 9}, MeasurementRecord{8, 8, 8}, MeasurementRecord{7, 7, 7}};
    state.ReportCount = 3;
    // The disk "fills up" after 20 bytes: the write of 36 fails half way.
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(RewriteReport(path(QStringLiteral("r.dat")), state), ReportFileError);
    // An append that does not fit is an error too, never a silent loss.
    writeBytes(QStringLiteral("a.dat"), recordBytes(1, 1, 1));
    EXPECT_THROW(AppendRecord(pool.path(), QStringLiteral("a"), MeasurementRecord{2, 2, 2}), ReportFileError);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(bytes(QStringLiteral("r.dat")), original);
    EXPECT_EQ(QDir(pool.path()).entryList(QDir::Files), (QStringList{QStringLiteral("a.dat"), QStringLiteral("r.dat")}))
        << "no temporary left";
}

TEST_F(ReportPool, LoadFailuresRaiseTheOpenError)
{
    // A directory where the report should be: open fails, the text names the file.
    QDir(pool.path()).mkdir(QStringLiteral("d.dat"));
    ReportState state;
    try {
        LoadReport(path(QStringLiteral("d.dat")), state);
        FAIL() << "no error";
    } catch (const ReportFileError& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Cannot open file \""))) << e.what();
        EXPECT_TRUE(e.text().contains(QStringLiteral("d.dat"))) << e.what();
    }
    // A read-only report loads: loading opens it for reading only.
    writeBytes(QStringLiteral("ro.dat"), recordBytes(1, 2, 3));
    QFile::setPermissions(path(QStringLiteral("ro.dat")), QFileDevice::ReadOwner);
    ASSERT_TRUE(LoadReport(path(QStringLiteral("ro.dat")), state));
    EXPECT_EQ(state.ReportCount, 1);
}

TEST_F(ReportPool, AppendCreatesAndExtendsOnRecordBoundaries)
{
    AppendRecord(pool.path(), QStringLiteral("temp"), MeasurementRecord{10.5, 4525, -525});
    EXPECT_EQ(bytes(QStringLiteral("temp.dat")), recordBytes(10.5, 4525, -525));
    // Two readings in the same second are two records.
    AppendRecord(pool.path(), QStringLiteral("temp"), MeasurementRecord{10.5, 4525, -525});
    EXPECT_EQ(bytes(QStringLiteral("temp.dat")).size(), 24);

    // A torn tail from an earlier write is dropped, so the new record is not shifted.
    writeBytes(QStringLiteral("torn.dat"), recordBytes(1, 1, 1) + "\x01\x02\x03\x04\x05");
    AppendRecord(pool.path(), QStringLiteral("torn"), MeasurementRecord{2, 2, 2});
    EXPECT_EQ(bytes(QStringLiteral("torn.dat")), recordBytes(1, 1, 1) + recordBytes(2, 2, 2));
    ReportState state;
    LoadReport(path(QStringLiteral("torn.dat")), state);
    ASSERT_EQ(state.ReportCount, 2);
    EXPECT_EQ(double(state.ReportData[1].dt), 2);
}

TEST_F(ReportPool, AppendIntoAMissingPoolFails)
{
    EXPECT_THROW(AppendRecord(path(QStringLiteral("no/such/dir")), QStringLiteral("temp"), MeasurementRecord{1, 1, 1}),
                 ReportFileError);
}

TEST_F(ReportPool, CreatePoolAndDiscardIgnoreFailures)
{
    const QString dir = path(QStringLiteral("POOL"));
    CreatePool(dir);
    CreatePool(dir);  // exists: ignored
    EXPECT_TRUE(QFileInfo(dir).isDir());
    DiscardWorkingReport(dir);  // nothing to delete: ignored
    AppendRecord(dir, kScratchReportName, MeasurementRecord{1, 1, 1});
    EXPECT_TRUE(QFile::exists(QDir(dir).filePath(QStringLiteral("temp.dat"))));
    DiscardWorkingReport(dir);
    EXPECT_FALSE(QFile::exists(QDir(dir).filePath(QStringLiteral("temp.dat"))));
}

TEST_F(ReportPool, SaveUnderANameMovesTheRecords)
{
    writeBytes(QStringLiteral("temp.dat"), recordBytes(1, 2, 3));
    writeBytes(QStringLiteral("hall.dat"), recordBytes(7, 7, 7) + recordBytes(8, 8, 8));
    EXPECT_TRUE(SaveReportUnderName(pool.path(), QStringLiteral("temp"), QStringLiteral("hall")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("temp.dat"))));
    EXPECT_EQ(bytes(QStringLiteral("hall.dat")), recordBytes(1, 2, 3)) << "an existing report of that name is replaced";
    // The same file under both names: nothing happens.
    EXPECT_TRUE(SaveReportUnderName(pool.path(), QStringLiteral("hall"), QStringLiteral("hall")));
    EXPECT_EQ(bytes(QStringLiteral("hall.dat")), recordBytes(1, 2, 3));
    // A missing source: the copy fails, nothing is deleted.
    EXPECT_FALSE(SaveReportUnderName(pool.path(), QStringLiteral("gone"), QStringLiteral("hall")));
    EXPECT_EQ(bytes(QStringLiteral("hall.dat")), recordBytes(1, 2, 3));
}

TEST_F(ReportPool, ListsReportFilesAlphabeticallyIgnoringCase)
{
    for (const char* name : {"b.dat", "A.dat", "c.txt", "a.tmp", ".hidden.dat", "C.DAT"})
        writeBytes(QString::fromLatin1(name), {});
    QDir(pool.path()).mkdir(QStringLiteral("dir.dat"));
    EXPECT_EQ(ListReports(pool.path()),
              (QStringList{QStringLiteral("A.dat"), QStringLiteral("b.dat"), QStringLiteral("C.DAT")}));
    EXPECT_TRUE(ListReports(path(QStringLiteral("missing"))).isEmpty());
}

// Two names never share a file: a name's file is NAME.dat whatever dots it holds, and a name
// that is a file name already names that file (an earlier "room.dat" stays reachable as "room").
TEST(ReportFileNames, EveryNameAFileOfItsOwn)
{
    struct Case {
        const char* name;
        const char* file;
    };
    for (const Case c : {Case{"room", "room.dat"}, Case{"room.north", "room.north.dat"}, Case{"room.south", "room.south.dat"},
                         Case{"room.dat", "room.dat"}, Case{"Room.DAT", "Room.DAT"}, Case{"may.old", "may.old.dat"},
                         Case{"Склад 2", "Склад 2.dat"}})
        EXPECT_EQ(ReportFileName(QString::fromUtf8(c.name)), QString::fromUtf8(c.file)) << c.name;
    EXPECT_NE(WorkingReportPath("/pool", "room.north"), WorkingReportPath("/pool", "room.south"));
}

TEST_F(ReportPool, DeleteRemovesRecordsTmpAndComment)
{
    for (const char* name : {"x.dat", "x.tmp", "x.txt", "y.dat"})
        writeBytes(QString::fromLatin1(name), "1");
    EXPECT_TRUE(DeleteReport(pool.path(), QStringLiteral("x.dat")).isEmpty());
    EXPECT_EQ(QDir(pool.path()).entryList(QDir::Files), QStringList{QStringLiteral("y.dat")});
    EXPECT_TRUE(DeleteReport(pool.path(), QStringLiteral("x.dat")).isEmpty()) << "nothing left: not a failure";
    EXPECT_EQ(ChangeFileExt(QStringLiteral("a.b.dat"), QStringLiteral(".txt")), QStringLiteral("a.b.txt"));
}

TEST_F(ReportPool, DeleteReportsWhatStaysAndDeletesTheRest)
{
    // A directory where the .tmp file would be cannot be deleted as a file; the report's other
    // files go all the same, and only the one left behind is reported.
    writeBytes(QStringLiteral("x.dat"), "1");
    writeBytes(QStringLiteral("x.txt"), "c");
    ASSERT_TRUE(QDir(pool.path()).mkdir(QStringLiteral("x.tmp")));
    const QList<DeleteFailure> failures = DeleteReport(pool.path(), QStringLiteral("x.dat"));
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].path, QFileInfo(path(QStringLiteral("x.tmp"))).absoluteFilePath());
    EXPECT_FALSE(failures[0].reason.isEmpty());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.dat"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.txt"))));
}

TEST_F(ReportPool, DeleteInAReadOnlyPoolReportsEveryExistingFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not hold for root";
    writeBytes(QStringLiteral("x.dat"), "1");
    writeBytes(QStringLiteral("x.txt"), "c");
    ASSERT_EQ(chmod(QFile::encodeName(pool.path()).constData(), 0555), 0);
    const QList<DeleteFailure> failures = DeleteReport(pool.path(), QStringLiteral("x.dat"));
    chmod(QFile::encodeName(pool.path()).constData(), 0755);
    ASSERT_EQ(failures.size(), 2) << "the missing x.tmp is no failure";
    EXPECT_EQ(failures[0].path, QFileInfo(path(QStringLiteral("x.dat"))).absoluteFilePath());
    EXPECT_EQ(failures[1].path, QFileInfo(path(QStringLiteral("x.txt"))).absoluteFilePath());
    for (const DeleteFailure& f : failures)
        EXPECT_FALSE(f.reason.isEmpty());
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("x.dat"))));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("x.txt"))));
}

}  // namespace
