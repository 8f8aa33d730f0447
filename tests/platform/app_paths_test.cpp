// Where POOL and kelmora.ini live: beside a build tree's or a portable copy's executable, in the
// user's data directory for an installed copy; the window and kelmora-cli follow one rule.
#include "platform/app_paths.h"
#include "support/meter_sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>

namespace {

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

}  // namespace

TEST(DataDirectory, BesideAPortableCopyInTheUsersDataForAnInstalledOne)
{
    QTemporaryDir root;
    const QString user = root.filePath("home/.local/share/Kelmora");
    const QString portable = root.filePath("portable");
    QDir().mkpath(portable);
    EXPECT_EQ(DataDirectoryFor(portable, user), portable) << "a build tree or a portable copy";

    const QString installedBin = root.filePath("usr/bin");
    QDir().mkpath(installedBin);
    touch(root.filePath("usr/share/applications/kelmora.desktop"));
    EXPECT_EQ(DataDirectoryFor(installedBin, user), user) << "installed, even where the user may write";

    EXPECT_EQ(DataDirectoryFor(root.filePath("nowhere/bin"), user), user) << "a directory nobody can write";
}

namespace {

// An installed copy of kelmora-cli under root (usr/bin beside usr/share/applications) with HOME
// in root/home, running "ports --map COM1 /dev/ttyUSB9" in the environment given by adjust.
ProcessResult mapAPortWithAnInstalledCli(const QTemporaryDir& root, const std::function<void(QProcessEnvironment&)>& adjust)
{
    QDir().mkpath(root.filePath("usr/bin"));
    touch(root.filePath("usr/share/applications/kelmora.desktop"));
    const QString program = root.filePath("usr/bin/kelmora-cli");
    if (!QFile::copy(QStringLiteral(KELMORA_CLI), program))
        return {};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", root.filePath("home"));
    adjust(env);
    return runProcess(env, program, {"ports", "--map", "COM1", "/dev/ttyUSB9"});
}

}  // namespace

// An installed kelmora-cli keeps its settings in the user's data directory and says so.
TEST(DataDirectory, AnInstalledCliWritesItsSettingsIntoTheUsersDataDirectory)
{
    QTemporaryDir root;
    const ProcessResult r = mapAPortWithAnInstalledCli(root, [](QProcessEnvironment& env) {
        env.remove("XDG_DATA_HOME");
        env.remove("KELMORA_DATA_DIR");
    });
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString dataDir = root.filePath("home/.local/share/Kelmora");
    EXPECT_TRUE(r.out.contains("data directory: " + dataDir)) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(dataDir + "/kelmora.ini"));
    EXPECT_FALSE(QFile::exists(root.filePath("usr/bin/kelmora.ini")));
}

// KELMORA_DATA_DIR names the data directory whatever the program's place: it is made when
// missing and holds the settings the program writes.
TEST(DataDirectory, TheEnvironmentNamesAnotherDataDirectory)
{
    QTemporaryDir root;
    const ProcessResult r = mapAPortWithAnInstalledCli(
        root, [&](QProcessEnvironment& env) { env.insert("KELMORA_DATA_DIR", root.filePath("service/kelmora")); });
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("data directory: " + root.filePath("service/kelmora"))) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(root.filePath("service/kelmora/kelmora.ini")));
    EXPECT_FALSE(QFile::exists(root.filePath("home/.local/share/Kelmora/kelmora.ini")));
}
