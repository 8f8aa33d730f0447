// The exact bytes of the text, HTML and workbook exports of a few representative tables, pinned
// by their SHA-256: all three display modes, invalid readings, values on rounding ties and
// around zero, cells marked above and below their thresholds, a table longer than one sheet
// of the workbook, and the "no data" table. The digests were taken from the exports as the
// window and kelmora-cli wrote them before the writers were made faster, and taken again where
// the forms changed on purpose (the HTML's font fallbacks, the header row on every sheet of the
// workbook); any other change of a single byte shows here.
#include "report/date_time.h"
#include "report/report_builder.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <random>
#include <string>

namespace {

struct Fixture {
    const char* name;
    int mode;
    int records;
    const char* thresholds[4];
    const char* txt;
    const char* htm;
    const char* xls;
};

// Readings every 40 s from 2024-03-05: random humidity and temperature over the meter's whole
// range (negative temperatures, values of x.x5 that round on a tie) with 2 % invalid values
// of each kind. mt19937's output is fixed by the standard, so the table is the same everywhere.
ReportTable table(const Fixture& f)
{
    std::mt19937 rng(20261210);
    ReportState s;
    const double start = DayCountOf(QDate(2024, 3, 5), 0);
    for (int i = 0; i < f.records; ++i) {
        MeasurementRecord r{start + i * 40.0 / 86400.0, int16_t(rng() % 10000), int16_t(int(rng() % 19999) - 9999)};
        const unsigned u = rng() % 100;
        if (u == 0)
            r.RH = int16_t(10000 + rng() % 5000);
        else if (u == 1)
            r.T = int16_t(-10000 - int(rng() % 5000));
        s.ReportData.push_back(r);
    }
    s.ReportCount = s.ReportData.size();
    s.IntervalStart = 0;
    s.IntervalEnd = start + 1000;
    ReportSettings settings;
    settings.displayMode = f.mode;
    settings.minHumidityText = QString::fromUtf8(f.thresholds[0]);
    settings.maxHumidityText = QString::fromUtf8(f.thresholds[1]);
    settings.minTemperatureText = QString::fromUtf8(f.thresholds[2]);
    settings.maxTemperatureText = QString::fromUtf8(f.thresholds[3]);
    settings.separators = DateTimeSeparators{QLatin1Char('.'), QLatin1Char(':')};
    return BuildReport(s, settings, false);
}

std::string digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

std::string digestOfFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return digest(f.readAll());
}

class ExportBytes : public ::testing::TestWithParam<Fixture> {};

TEST_P(ExportBytes, AreTheSameAsBefore)
{
    const Fixture& f = GetParam();
    const ReportTable t = table(f);
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath(QStringLiteral("r"));
    SaveToASCII(base + QStringLiteral(".txt"), t);
    SaveToHTML(base + QStringLiteral(".htm"), t, PlatformColors{});
    SaveToXLS(base + QStringLiteral(".xls"), t);
    EXPECT_EQ(digestOfFile(base + QStringLiteral(".txt")), f.txt);
    EXPECT_EQ(digestOfFile(base + QStringLiteral(".htm")), f.htm);
    EXPECT_EQ(digestOfFile(base + QStringLiteral(".xls")), f.xls);
    // The functions that give the texts and the workbook in memory agree with the files.
    const QString text = AsciiReportText(t);
    EXPECT_EQ(digest(QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)), f.txt);
    EXPECT_EQ(digest(XlsWorkbook(t)), f.xls);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ExportBytes,
    ::testing::Values(
        Fixture{"RelativeHumidityOverTwoSheets", kRelativeHumidity, 70000, {"+00,0", "+99,9", "-40,0", "+60,0"},
            "12ba2111d529a87c6b21933e16da64cf3abb7d9fc0c46995fa0ac67155a0f66f",
            "008deb1738fdae16e96734016637b23c2aeca55d183716385775c6ebd1d2c239",
            "51e7e3964b56f475d3a25bee1612c23680457ac2a891c474f6f2581685abb69c"},
        Fixture{"RelativeHumidityMarked", kRelativeHumidity, 3000, {"+30,0", "+60,0", "-4 , ", "+25,5"},
            "a5eb33ed3acf158478ac1209d2a3e5720ab5ed7d35995917000a2e12bf0576ed",
            "012f535436d91a68593971be4cf17d61d261eea337f68976085a82e48215edba",
            "8b23d8988040b3855173a69852238a1d3b0725dd7536cd9056511e97df3606e3"},
        Fixture{"DewPointMarked", kDewPoint, 3000, {"-10,0", "+20,0", "+00,0", "+40,0"},
            "9343c8a3b4b16e65d9e82f51228e30ff32b3c2c27c333a14fc494dbfd53d0901",
            "0b1071192b144edbb63299c20daf63b7e1fad0f2641921eeaa1a7f93ad9014bb",
            "56365eb2f1882be8f45fdc0908be1f0544932973e69d1cf52daf8ccbb4a5d058"},
        Fixture{"AbsoluteHumidity", kAbsoluteHumidity, 3000, {"+00,0", "+99,9", "-40,0", "+60,0"},
            "80d1bb0eb44f5853c52c4bdb10becba3fad143ac3a1d3064a35ad78d1f80f2b1",
            "a919a0b501df219e473a8dda4e7952c8717672d9a7f98262439b3a8ef8f2e61a",
            "445c32cdc6b4b83073ab40b0b4f2e73341196b1b99264bc3d730e486c8900550"},
        Fixture{"NoData", kRelativeHumidity, 0, {"+30,0", "+60,0", "-40,0", "+60,0"},
            "01620866552bc4ee6f9b356b0299df5dedc0083920349258d0b0b145d16dce24",
            "67c3b62d050383d5d52db3a121fe7a7d796f49e6728b393cd1c04cf52b89611a",
            "e6567ccaf619c1b0bf86bcbe5a2089d685f9c31d1ff90328789a0c1c566721c7"}),
    [](const ::testing::TestParamInfo<Fixture>& info) { return std::string(info.param.name); });

}  // namespace
