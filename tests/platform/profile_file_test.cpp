#include "platform/profile_file.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("kelmora.ini")); }
    void write(const QByteArray& bytes) const { WriteFileBytes(path(), bytes); }
    QByteArray contents() const { return FileBytes(path()); }

    QTemporaryDir dir;
};

struct IntegerCase {
    const char* text;
    std::optional<int> expected;
};

class ParseProfileInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(ParseProfileInteger, WholeValueOrNothing)
{
    EXPECT_EQ(parseProfileInteger(QString::fromUtf8(GetParam().text)), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParseProfileInteger,
    ::testing::Values(IntegerCase{"31", 31}, IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31},
                      IntegerCase{"-5", -5}, IntegerCase{"+7", 7}, IntegerCase{" 12 ", 12},
                      IntegerCase{"258", 258}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", INT32_MIN}, IntegerCase{"0xFFFFFFFF", -1},
                      IntegerCase{"12abc", std::nullopt}, IntegerCase{"yes", std::nullopt},
                      IntegerCase{"", std::nullopt}, IntegerCase{"0x", std::nullopt},
                      IntegerCase{"-", std::nullopt}, IntegerCase{"1.5", std::nullopt},
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{"0x100000000", std::nullopt},
                      IntegerCase{"0x1G", std::nullopt}));

TEST_F(ProfileFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    ProfileFile ini(path());
    EXPECT_EQ(ini.readString("Kel", "minh", "+00,0"), "+00,0");
    EXPECT_EQ(ini.readInteger("Kel", "Port", 4), 4);
    EXPECT_TRUE(ini.readBool("Kel", "colorChart", true));

    write("[Other]\nminh=1\n[Kel]\nmaxh=2\n");
    EXPECT_EQ(ini.readString("Kel", "minh", "d"), "d");
    EXPECT_EQ(ini.readString("Missing", "maxh", "d"), "d");
    EXPECT_EQ(ini.readString("Kel", "maxh", "d"), "2");
}

TEST_F(ProfileFileTest, NamesAreMatchedWithoutRegardToCaseAndValuesAreTrimmedAndUnquoted)
{
    write("; settings\r\n[kEL]\r\n  PORT = 0x0A \r\nMinH=\"+12,5\"\r\nmaxh='x'\r\ninterval=\r\n");
    ProfileFile ini(path());
    EXPECT_EQ(ini.readInteger("Kel", "port", 0), 10);
    EXPECT_EQ(ini.readString("KEL", "minh"), "+12,5");
    EXPECT_EQ(ini.readString("Kel", "MAXH"), "x");
    // A key with an empty value is present: its value is the empty text, not the default.
    EXPECT_EQ(ini.readString("Kel", "interval", "60"), "");
    EXPECT_EQ(ini.readInteger("Kel", "interval", 60), 60);
}

TEST_F(ProfileFileTest, LongValuesAreCutTo2047Characters)
{
    write("[Kel]\ninterval=" + QByteArray(3000, '7') + "\n");
    EXPECT_EQ(ProfileFile(path()).readString("Kel", "interval").size(), 2047);
}

TEST_F(ProfileFileTest, BooleansAreIntegersAnyNonZeroBeingTrue)
{
    write("[Kel]\na=2\nb=0\nc=yes\nd=-1\n");
    ProfileFile ini(path());
    EXPECT_TRUE(ini.readBool("Kel", "a", false));
    EXPECT_FALSE(ini.readBool("Kel", "b", true));
    EXPECT_TRUE(ini.readBool("Kel", "c", true));
    EXPECT_FALSE(ini.readBool("Kel", "c", false));
    EXPECT_TRUE(ini.readBool("Kel", "d", false));
}

TEST_F(ProfileFileTest, WritingReplacesInPlaceAndKeepsEveryOtherLine)
{
    write("; my comment\r\n[Ports]\r\nCOM1=/dev/pts/3\r\n\r\n[kel]\r\nPort=3\r\n; keep me\r\nfoo=bar\r\n\r\n[Tail]\r\nx=1\r\n");
    ProfileFile ini(path());
    ASSERT_TRUE(ini.writeInteger("Kel", "port", 7));
    ASSERT_TRUE(ini.writeString("Kel", "minh", "+00,0"));
    ASSERT_TRUE(ini.writeBool("Kel", "usb", true));
    EXPECT_EQ(contents(),
              "; my comment\r\n[Ports]\r\nCOM1=/dev/pts/3\r\n\r\n[kel]\r\nport=7\r\n; keep me\r\nfoo=bar\r\n"
              "minh=+00,0\r\nusb=1\r\n\r\n[Tail]\r\nx=1\r\n");
}

// Found by fuzzing: a key written twice by hand survived its removal (the second line then
// gave the value), so "kelmora-cli ports --unmap" left such a mapping in force.
TEST_F(ProfileFileTest, RemovingAKeyRemovesEveryLineOfIt)
{
    write("[Kel]\r\ninterval=610\r\nmaxh=+80,0\r\nINTERVAL=612\r\n[Ports]\r\ninterval=1\r\n");
    ProfileFile ini(path());
    ASSERT_TRUE(ini.removeKey("Kel", "interval"));
    EXPECT_FALSE(ini.hasKey("Kel", "interval"));
    EXPECT_EQ(contents(), "[Kel]\r\nmaxh=+80,0\r\n[Ports]\r\ninterval=1\r\n");
}

TEST_F(ProfileFileTest, WritingCreatesTheFileAndTheSection)
{
    ProfileFile ini(path());
    ASSERT_TRUE(ini.writeString("Kel", "interval", "60"));
    EXPECT_EQ(contents(), "[Kel]\ninterval=60\n");

    write("\xEF\xBB\xBF[Ports]\nCOM2=/dev/ttyUSB9");
    ASSERT_TRUE(ini.writeString("Kel", "usb", "0"));
    EXPECT_EQ(contents(), "\xEF\xBB\xBF[Ports]\nCOM2=/dev/ttyUSB9\n\n[Kel]\nusb=0\n");
    EXPECT_EQ(ini.readString("Ports", "com2"), "/dev/ttyUSB9");
    EXPECT_EQ(ini.keys("Ports"), QStringList{"COM2"});
}

TEST_F(ProfileFileTest, ARefusedWriteReportsFailureAndLeavesTheFileAsItWas)
{
    write("[Kel]\nPort=1\n");
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadUser);
    ProfileFile ini(path());
    EXPECT_FALSE(ini.writeString("Kel", "Port", "2"));
    EXPECT_EQ(contents(), "[Kel]\nPort=1\n");

    // A directory where the file should be cannot be written either.
    QFile::remove(path());
    ASSERT_TRUE(QDir().mkdir(path()));
    EXPECT_FALSE(ini.writeString("Kel", "Port", "2"));
    ASSERT_TRUE(QDir().rmdir(path()));

    if (QFileInfo(dir.path()).isWritable() && ::geteuid() == 0)
        return;  // the administrator may create files in any directory

    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    ProfileFile inLocked(QDir(locked).filePath("kelmora.ini"));
    EXPECT_FALSE(inLocked.writeString("Kel", "Port", "2"));
    EXPECT_FALSE(QFileInfo::exists(QDir(locked).filePath("kelmora.ini")));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ProfileFileTest, AWritableFileInALockedDirectoryIsWrittenInPlace)
{
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString file = QDir(locked).filePath("kelmora.ini");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Kel]\nPort=1\n");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    ProfileFile ini(file);
    EXPECT_TRUE(ini.writeString("Kel", "Port", "5"));
    EXPECT_EQ(ini.readInteger("Kel", "Port", 0), 5);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
