// One window per data directory: the second lock on a directory is refused while the first is
// held, given once it is released, and a lock left by a process that is gone is taken over.
#include "platform/data_directory_lock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

TEST(DataDirectoryLock, OneHolderAtATimeAndNoneLeftByTheDead)
{
    QTemporaryDir dir;
    {
        const DataDirectoryLock first(dir.path());
        ASSERT_TRUE(first.locked());
        const DataDirectoryLock second(dir.path());
        EXPECT_FALSE(second.locked());
        EXPECT_EQ(second.holder(), QCoreApplication::applicationPid());
        QTemporaryDir other;
        EXPECT_TRUE(DataDirectoryLock(other.path()).locked()) << "another directory is another matter";
    }
    EXPECT_TRUE(DataDirectoryLock(dir.path()).locked()) << "released with its window";

    // A lock file whose process has ended (a crash, a power cut) does not keep the program out.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    QFile stale(QDir(dir.path()).filePath("kelmora.lock"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(deadPid) + "\nkelmora\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(DataDirectoryLock(dir.path()).locked());
}
