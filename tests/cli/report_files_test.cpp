// kelmora-cli prepare and report on awkward files: the output naming the input, a report
// larger than memory, a full disk under an existing export, a report the user may read but not
// write, thresholds that are no numbers.
#include "support/file_bytes.h"
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

QString sample()
{
    return QDir(QStringLiteral(KELMORA_TEST_DATA "/report")).filePath(QStringLiteral("sample.dat"));
}

ProcessResult shell(const QString& script, const QStringList& args)
{
    return runProcess(QStringLiteral("/bin/sh"), QStringList{"-c", script, "sh"} + args);
}

}  // namespace

TEST(ReportFiles, OutputNamingTheInputIsRefused)
{
    QTemporaryDir dir;
    const QString report = dir.filePath("r.dat");
    ASSERT_TRUE(QFile::copy(sample(), report));
    const QByteArray before = FileBytes(report);
    ASSERT_TRUE(QFile::link(report, dir.filePath("link.txt")));
    ASSERT_EQ(::link(QFile::encodeName(report).constData(), QFile::encodeName(dir.filePath("hard.txt")).constData()), 0);
    for (const QString& out : {report, dir.filePath("link.txt"), dir.filePath("hard.txt"), dir.filePath("./r.dat")}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {"report", report, "--format", "txt", "--out", out});
        EXPECT_EQ(r.exitCode, 64) << out.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("is the report itself")) << r.err.toStdString();
        EXPECT_EQ(FileBytes(report), before) << out.toStdString();
    }
}

TEST(ReportFiles, AReportLargerThanMemoryIsRefusedPlainly)
{
    QTemporaryDir dir;
    const QString huge = dir.filePath("x.dat");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        if (!f.resize(15LL << 40))  // 15 TiB, sparse
            GTEST_SKIP() << "the file system takes no 15 TiB sparse file";
    }
    for (const QStringList& args : {QStringList{"prepare", huge}, QStringList{"report", huge, "--format", "txt", "--out", dir.filePath("o.txt")}}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), args);
        EXPECT_EQ(r.exitCode, 1) << args.front().toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("too large")) << r.err.toStdString();
    }
    EXPECT_EQ(QFileInfo(huge).size(), 15LL << 40) << "left as it was";
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("o.txt")));
}

TEST(ReportFiles, AFailedExportKeepsThePreviousOneAndSaysWhy)
{
    // The disk fills up (a file size limit of 64 KiB) while the export of a large report is
    // written: the earlier export of that name stays as it was, and the reason is said.
    QTemporaryDir dir;
    const QString report = dir.filePath("big.dat");
    {
        QFile f(report);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 20000; ++i) {
            const double dt = 45000.0 + i / 1440.0;
            const int16_t rh = static_cast<int16_t>(3000 + i % 2000), t = 2000;
            f.write(reinterpret_cast<const char*>(&dt), 8);
            f.write(reinterpret_cast<const char*>(&rh), 2);
            f.write(reinterpret_cast<const char*>(&t), 2);
        }
    }
    for (const char* format : {"txt", "htm", "xls"}) {
        const QString out = dir.filePath(QStringLiteral("export.") + format);
        WriteFileBytes(out, "the earlier export");
        const ProcessResult r = shell(QStringLiteral("trap '' XFSZ; ulimit -f 128; exec \"$@\""),
                                      {QStringLiteral(KELMORA_CLI), "report", report, "--format", format, "--out", out});
        EXPECT_EQ(r.exitCode, 1) << format << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("File too large")) << format << ": " << r.err.toStdString();
        EXPECT_EQ(FileBytes(out), "the earlier export") << format;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << "no temporary file left: "
                                                                 << QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
}

TEST(ReportFiles, AReportThatMayOnlyBeReadIsExported)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs the command as another user, which needs root";
    // Root's report, readable by all; another user exports it into a directory of its own.
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString report = dir.filePath("root.dat");
    ASSERT_TRUE(QFile::copy(sample(), report));
    ASSERT_EQ(::chmod(QFile::encodeName(report).constData(), 0644), 0);
    const QString out = dir.filePath("nobody.txt");
    // The other user runs its own copy: the build tree may lie where it may not go (under a
    // home directory of mode 700).
    const QString program = dir.filePath("kelmora-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELMORA_CLI), program));
    ASSERT_EQ(::chmod(QFile::encodeName(program).constData(), 0755), 0);
    QProcess p;
    p.setChildProcessModifier([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
    });
    p.start(program, {"report", report, "--format", "txt", "--out", out});
    ASSERT_TRUE(p.waitForFinished(30000)) << p.errorString().toStdString();
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_GT(QFileInfo(out).size(), 0);
}

// prepare rewrites only a report the user may write: another user's report in a shared pool
// and a read-only report of one's own are refused with the reason, and stay as they were; a
// report in a directory the user may not write says that the rewrite needs the directory.
TEST(ReportFiles, PrepareRewritesOnlyWhatTheUserMayWrite)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "runs the command as another user, which needs root";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString program = dir.filePath("kelmora-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KELMORA_CLI), program));
    ASSERT_EQ(::chmod(QFile::encodeName(program).constData(), 0755), 0);
    const auto asNobody = [&](const QString& report) {
        QProcess p;
        p.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
        p.start(program, {"prepare", report});
        EXPECT_TRUE(p.waitForFinished(30000));
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    };
    struct Case {
        const char* file;
        uid_t owner;
        mode_t mode;
        const char* why;
    };
    for (const Case c : {Case{"root.dat", 0, 0644, "Permission denied"}, Case{"own.dat", 65534, 0444, "Permission denied"}}) {
        const QString report = dir.filePath(QLatin1String(c.file));
        ASSERT_TRUE(QFile::copy(sample(), report));
        ASSERT_EQ(::chown(QFile::encodeName(report).constData(), c.owner, c.owner == 0 ? 0 : 65534), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(report).constData(), c.mode), 0);
        const QByteArray before = FileBytes(report);
        const auto [status, err] = asNobody(report);
        EXPECT_NE(status, 0) << c.file;
        EXPECT_TRUE(err.contains(QLatin1String(c.why)) && err.contains(QLatin1String(c.file))) << err.toStdString();
        EXPECT_EQ(FileBytes(report), before) << c.file;
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(report).constData(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner) << c.file;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.file;
    }
    // Writable, in a directory that is not.
    QTemporaryDir closed;
    const QString report = QDir(closed.path()).filePath("open.dat");
    ASSERT_TRUE(QFile::copy(sample(), report));
    ASSERT_EQ(::chown(QFile::encodeName(report).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(report).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(closed.path()).constData(), 0755), 0);
    const QByteArray before = FileBytes(report);
    const auto [status, err] = asNobody(report);
    EXPECT_NE(status, 0);
    EXPECT_TRUE(err.contains("its directory")) << err.toStdString();
    EXPECT_EQ(FileBytes(report), before);
}

TEST(ReportFiles, ThresholdsAreNumbersAsAScriptWritesThem)
{
    QTemporaryDir dir;
    for (const char* t : {"a;b;c;d", "+30,0;+60,0;x;+60,0", "1;2;3;4,5,6", "30;6 0;-5;25", "+30,0;+60,0;-4 , ;+  , "}) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI),
                                           {"report", sample(), "--thresholds", t, "--format", "txt", "--out", dir.filePath("o.txt")});
        EXPECT_EQ(r.exitCode, 64) << t << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("is not a number")) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("o.txt")));
    }
    // Blanks around a number do not count and "." is a decimal separator as well: the colours
    // are those of 30;60;-5;25, never of 300;600 (blanks read as zeros).
    const auto htm = [&](const char* thresholds, const char* out) {
        const ProcessResult r = runProcess(QStringLiteral(KELMORA_CLI), {"report", sample(), "--thresholds", thresholds,
                                                                         "--format", "htm", "--out", dir.filePath(out)});
        EXPECT_EQ(r.exitCode, 0) << thresholds << ": " << r.err.toStdString();
        return FileBytes(dir.filePath(out));
    };
    const QByteArray plain = htm("30;60;-5;25", "plain.htm");
    EXPECT_EQ(htm("30 ;60 ; -5 ;25", "blanks.htm"), plain);
    EXPECT_EQ(htm("30.0;60,0;-5.;25", "points.htm"), plain);
    EXPECT_NE(htm("300;600;-5;25", "wide.htm"), plain) << "the thresholds make a difference in this report";
}

// report takes display mode and thresholds from the settings file as the window loads them
// (kelmora.ini of the data directory, or --settings), the options in their place; chart does the
// same, so the table and the charts of one report agree.
TEST(ReportFiles, DisplayModeAndThresholdsComeFromTheSettingsFile)
{
    QTemporaryDir dir;
    const auto exportWith = [&](const QStringList& options, const char* out, const QString& dataDir = QString()) {
        QProcess p;
        if (!dataDir.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("KELMORA_DATA_DIR"), dataDir);
            p.setProcessEnvironment(env);
        }
        p.start(QStringLiteral(KELMORA_CLI), QStringList{"report", sample()} + options
                                                 + QStringList{"--format", "htm", "--out", dir.filePath(out)});
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << out << ": " << p.readAllStandardError().toStdString();
        return FileBytes(dir.filePath(out));
    };
    const auto writeIni = [](const QString& path, const char* kel) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[Kel]\n") + kel);
    };
    // The settings file keeps the texts as the masked fields wrote them ("-5" is "-5 , ").
    const QString ini = dir.filePath("look.ini");
    writeIni(ini, "minh=+30,0\nmaxh=+60,0\nmint=-5 , \nmaxt=+25,0\nIndic=1\n");
    const QByteArray byOptions = exportWith({"--mode", "dew", "--thresholds", "30;60;-50;25"}, "options.htm");
    EXPECT_EQ(exportWith({"--settings", ini}, "settings.htm"), byOptions);
    EXPECT_NE(exportWith({}, "defaults.htm"), byOptions) << "the settings make a difference in this report";

    // The data directory's kelmora.ini serves when no --settings is given.
    QDir(dir.path()).mkpath("data");
    writeIni(dir.filePath("data/kelmora.ini"), "minh=+30,0\nmaxh=+60,0\nmint=-5 , \nmaxt=+25,0\nIndic=1\n");
    EXPECT_EQ(exportWith({}, "data.htm", dir.filePath("data")), byOptions);

    // Options take the place of the file's values, one by one.
    EXPECT_EQ(exportWith({"--settings", ini, "--mode", "rh"}, "mode.htm"),
              exportWith({"--mode", "rh", "--thresholds", "30;60;-50;25"}, "mode-options.htm"));
    EXPECT_EQ(exportWith({"--settings", ini, "--thresholds", "0;99,9;-40;60"}, "thresholds.htm"),
              exportWith({"--mode", "dew"}, "thresholds-options.htm"));

    // A settings file that is not there is refused; nothing is written.
    const ProcessResult missing = runProcess(QStringLiteral(KELMORA_CLI), {"report", sample(), "--settings", dir.filePath("none.ini"),
                                                                           "--format", "txt", "--out", dir.filePath("none.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("no such file")) << missing.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.txt")));
}
