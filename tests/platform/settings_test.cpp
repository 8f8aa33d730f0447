#include "platform/error_text.h"
#include "platform/settings.h"
#include "support/file_bytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("kelmora.ini")); }
    void write(const QByteArray& bytes) const { WriteFileBytes(path(), bytes); }
    QByteArray contents() const { return FileBytes(path()); }

    QTemporaryDir dir;
};

TEST_F(SettingsFileTest, NoFileGivesEveryDefault)
{
    const KelSettings s = ReadKelSettings(ProfileFile(path()));
    EXPECT_EQ(s, KelSettings{});
    EXPECT_EQ(s.portIndex, 0);
    EXPECT_EQ(s.minHumidity, "+00,0");
    EXPECT_EQ(s.maxHumidity, "+99,9");
    EXPECT_EQ(s.minTemperature, "-40,0");
    EXPECT_EQ(s.maxTemperature, "+60,0");
    EXPECT_EQ(s.interval, "60");
    EXPECT_EQ(s.displayMode, 0);
    EXPECT_EQ(s.humidityAxisMode, 2);
    EXPECT_EQ(s.temperatureAxisMode, 2);
    EXPECT_EQ(s.humidityAxisMin, "+00,0");
    EXPECT_EQ(s.humidityAxisMax, "100,0");
    EXPECT_EQ(s.temperatureAxisMin, "-50,0");
    EXPECT_EQ(s.temperatureAxisMax, "100,0");
    EXPECT_TRUE(s.colorChart);
    EXPECT_FALSE(s.usb);
}

TEST_F(SettingsFileTest, ValuesFollowTheirKindsRules)
{
    write("[KEL]\nortanel=0x1F\nport=19\nIndic=258\nmodeRH=abc\nmodeT=3\ncolorChart=yes\nusb=2\n"
          "interval=abc\nminh=+  , \n");
    const KelSettings s = ReadKelSettings(ProfileFile(path()));
    EXPECT_EQ(s.ortanel, 31);
    EXPECT_EQ(s.portIndex, 19);
    EXPECT_EQ(s.displayMode, 2);                    // low 8 bits of 258
    EXPECT_EQ(s.humidityAxisMode, 2);                   // not a number: the default
    EXPECT_EQ(s.temperatureAxisMode, 3);
    EXPECT_TRUE(s.colorChart);                // not a number: the default, true
    EXPECT_TRUE(s.usb);                       // any non-zero integer
    EXPECT_EQ(s.interval, "abc");             // texts are taken as they are
    EXPECT_EQ(s.minHumidity, "+  ,");                // blanks at the end of a line are not kept
}

TEST_F(SettingsFileTest, WritesEveryKeyInOrderWithMaskBlanksAsZeros)
{
    KelSettings s;
    s.portIndex = -1;
    s.minHumidity = "+12, ";
    s.maxHumidity = "+  , ";
    s.temperatureAxisMax = "-4 , ";
    s.interval = " 5";
    s.displayMode = 2;
    s.colorChart = false;
    s.usb = true;
    ProfileFile file(path());
    WriteKelSettings(file, s);
    EXPECT_EQ(contents(),
              "[Kel]\nPort=-1\nminh=+12,0\nmaxh=+00,0\nmint=-40,0\nmaxt=+60,0\ninterval= 5\nIndic=2\n"
              "modeRH=2\nmodeT=2\nmin_RH=+00,0\nmax_RH=100,0\nmin_T=-50,0\nmax_T=-40,0\ncolorChart=0\nusb=1\n");
}

TEST_F(SettingsFileTest, OrtanelIsWrittenOnlyWhenAboveZero)
{
    for (int value : {0, -3}) {
        write("[Kel]\nOrtanel=keep me\n");
        KelSettings s;
        s.ortanel = value;
        ProfileFile file(path());
        WriteKelSettings(file, s);
        EXPECT_EQ(file.readString("Kel", "Ortanel"), "keep me") << value;
    }
    write("[Kel]\nOrtanel=0x1F\n");
    ProfileFile file(path());
    WriteKelSettings(file, ReadKelSettings(file));
    EXPECT_EQ(file.readString("Kel", "Ortanel"), "31");
    EXPECT_EQ(file.keys("Kel"), SettingsKeys::order());
}

TEST_F(SettingsFileTest, ARefusedWriteThrowsUnableToWriteWithThePath)
{
    write("[Kel]\nPort=4\n");
    QFile::setPermissions(path(), QFile::ReadOwner);
    ProfileFile file(path());
    try {
        WriteKelSettings(file, KelSettings{});
        FAIL() << "no error";
    } catch (const SettingsFileError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + path());
        EXPECT_EQ(QString::fromUtf8(e.what()), e.message());
    }
    EXPECT_EQ(contents(), "[Kel]\nPort=4\n");
}

struct ErrorTextCase {
    const char* message;
    const char* shown;
};

class StandardErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(StandardErrorTextTest, FullStopOnlyAfterCharactersAboveThePoint)
{
    EXPECT_EQ(StandardErrorText(QString::fromUtf8(GetParam().message)), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StandardErrorTextTest,
    ::testing::Values(ErrorTextCase{"Axis Maximum Value must be >= Minimum", "Axis Maximum Value must be >= Minimum."},
                      ErrorTextCase{"Ошибка записи", "Ошибка записи."},
                      ErrorTextCase{"Unable to write to /opt/kelmora.ini", "Unable to write to /opt/kelmora.ini."},
                      ErrorTextCase{"Done.", "Done."}, ErrorTextCase{"Ends with blank ", "Ends with blank "},
                      ErrorTextCase{"Устройство не отвечает !", "Устройство не отвечает !"},
                      ErrorTextCase{"code 42", "code 42."}, ErrorTextCase{"dash-", "dash-"},
                      ErrorTextCase{"slash/", "slash/."}, ErrorTextCase{"", ""}));

}  // namespace
