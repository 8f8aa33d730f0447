// One report touched by several processes at once: appends of concurrent processes never
// overwrite each other, a preparation never loses a record appended while it works, and a
// rewrite keeps the file's owner, group and permissions. Real files, real processes (fork).
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "report/report_preparation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A record that names its writer and its number, so every one can be found again; RH differs
// from record to record, so a preparation never takes one for a repeat of another.
MeasurementRecord recordOf(int writer, int n)
{
    return MeasurementRecord{46000.0 + writer + n / 100000.0, static_cast<int16_t>(n), static_cast<int16_t>(writer)};
}

// Starts a process that appends `count` records to <pool>/<name>.dat as fast as it can.
pid_t startAppender(const QString& pool, const QString& name, int writer, int count)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int failures = 0;
        for (int n = 0; n < count; ++n) {
            try {
                AppendRecord(pool, name, recordOf(writer, n));
            } catch (...) {
                ++failures;
            }
        }
        ::_exit(failures == 0 ? 0 : 1);
    }
    return pid;
}

int waitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QSet<QPair<int, int>> recordsIn(const QString& path)
{
    ReportState state;
    LoadReport(path, state);
    QSet<QPair<int, int>> found;
    for (const MeasurementRecord& r : state.records())
        found.insert({r.T, r.RH});
    return found;
}

}  // namespace

class ConcurrentAppends : public ::testing::TestWithParam<int> {};

TEST_P(ConcurrentAppends, EveryRecordOfEveryProcessIsStored)
{
    const int writers = GetParam();
    const int each = 1500;
    QTemporaryDir pool;
    std::vector<pid_t> pids;
    for (int w = 0; w < writers; ++w)
        pids.push_back(startAppender(pool.path(), QStringLiteral("shared"), w, each));
    for (const pid_t pid : pids)
        EXPECT_EQ(waitFor(pid), 0);
    const QString file = QDir(pool.path()).filePath(QStringLiteral("shared.dat"));
    const qint64 stored = QFileInfo(file).size() / kRecordSize;
    RecordProperty("appended", writers * each);
    RecordProperty("stored", static_cast<int>(stored));
    EXPECT_EQ(QFileInfo(file).size() % kRecordSize, 0);
    EXPECT_EQ(stored, writers * each) << "records appended: " << writers * each << ", stored: " << stored;
    EXPECT_EQ(recordsIn(file).size(), writers * each) << "each record whole and once";
}

INSTANTIATE_TEST_SUITE_P(Processes, ConcurrentAppends, ::testing::Values(2, 6));

TEST(PrepareWhileAppending, KeepsEveryRecordAppendedMeanwhile)
{
    // Five rounds: two appenders write while the report is prepared again and again (sorted,
    // rewritten through a rename); at the end every appended record is in the file.
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir pool;
        const QString file = QDir(pool.path()).filePath(QStringLiteral("hall.dat"));
        // An unsorted start, so that every preparation has something to rewrite.
        for (int n = 0; n < 2000; ++n)
            AppendRecord(pool.path(), QStringLiteral("hall"), recordOf(9, 2000 - n));
        const pid_t a = startAppender(pool.path(), QStringLiteral("hall"), 1, 800);
        const pid_t b = startAppender(pool.path(), QStringLiteral("hall"), 2, 800);
        int preparations = 0;
        for (; preparations < 200; ++preparations) {
            ReportState state;
            PrepareReportFile(state, file);
            int status = 0;
            if (::waitpid(a, &status, WNOHANG) == a) {
                ::waitpid(b, &status, 0);
                break;
            }
            // Out of order again, so the next preparation rewrites as well.
            AppendRecord(pool.path(), QStringLiteral("hall"), recordOf(9, 5000 + preparations));
        }
        waitFor(a);
        waitFor(b);
        const QSet<QPair<int, int>> found = recordsIn(file);
        int missing = 0;
        for (int w : {1, 2})
            for (int n = 0; n < 800; ++n)
                missing += !found.contains({w, n});
        EXPECT_EQ(missing, 0) << "round " << round << ", " << preparations << " preparations";
        for (int n = 1; n <= 2000; ++n)
            ASSERT_TRUE(found.contains({9, n})) << "round " << round;
    }
}

TEST(RewriteOwnership, KeepsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs root";
    QTemporaryDir pool;
    const QString file = QDir(pool.path()).filePath(QStringLiteral("cellar.dat"));
    AppendRecord(pool.path(), QStringLiteral("cellar"), recordOf(1, 2));
    AppendRecord(pool.path(), QStringLiteral("cellar"), recordOf(1, 1));  // out of order: a rewrite
    const QByteArray name = QFile::encodeName(file);
    ASSERT_EQ(::chown(name.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(name.constData(), 0640), 0);
    struct stat before {};
    ::stat(name.constData(), &before);

    ReportState state;
    QStringList notes;
    PrepareReportFile(state, file, nullptr, &notes);
    struct stat after {};
    ASSERT_EQ(::stat(name.constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "rewritten through a new file";
    EXPECT_EQ(after.st_uid, 65534u);
    EXPECT_EQ(after.st_gid, 65534u);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();
    ASSERT_EQ(state.ReportCount, 2);
    EXPECT_LT(double(state.ReportData[0].dt), double(state.ReportData[1].dt));  // copies: the records are packed
}

TEST(RewriteOwnership, SaysSoWhenTheOwnerCannotBeKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to set the scene for another user";
    // A pool everyone may write to, a report of root's that everyone may write: prepared by
    // another user, the new file cannot be given to root, and the note says so.
    QTemporaryDir pool;
    const QByteArray dir = QFile::encodeName(pool.path());
    ASSERT_EQ(::chmod(dir.constData(), 0777), 0);
    const QString file = QDir(pool.path()).filePath(QStringLiteral("shed.dat"));
    AppendRecord(pool.path(), QStringLiteral("shed"), recordOf(1, 2));
    AppendRecord(pool.path(), QStringLiteral("shed"), recordOf(1, 1));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0666), 0);
    int pipeFd[2];
    ASSERT_EQ(::pipe(pipeFd), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFd[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ReportState state;
        QStringList notes;
        try {
            PrepareReportFile(state, file, nullptr, &notes);
        } catch (...) {
            ::_exit(3);
        }
        const QByteArray text = notes.join('\n').toUtf8();
        (void)!::write(pipeFd[1], text.constData(), text.size());
        ::_exit(0);
    }
    ::close(pipeFd[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFd[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    ::close(pipeFd[0]);
    EXPECT_EQ(waitFor(pid), 0);
    EXPECT_TRUE(said.contains("could not keep its owner 0")) << said.toStdString();
    EXPECT_TRUE(said.contains("Operation not permitted")) << said.toStdString();
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0666u) << "the permissions are kept all the same";
}
