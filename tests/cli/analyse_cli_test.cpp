// kelmora-cli analyse: the three forms are the core's analysis of the report's interval (the
// same bytes), the options reach it, and wrong usage or a missing report is refused.
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/climate_analysis.h"
#include "report/date_time.h"
#include "support/file_bytes.h"
#include "support/meter_sim_process.h"
#include "views/climate_analysis_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cmath>

namespace {

// Two days of readings every 10 minutes, humidity swinging from 35 to 65 %, one stretch of
// three hours without readings and one reading the meter marked invalid.
class AnalyseCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 288; ++i) {
            if (i >= 100 && i < 118)
                continue;
            const double t = DayCountOf(QDate(2026, 6, 1), 0) + i / 144.0;
            const int16_t rh = i == 200 ? int16_t(-1) : int16_t(std::lround((50 + 15 * std::sin(i / 20.0)) * 100));
            records.push_back({t, rh, int16_t(2000 + i % 50 * 10)});
        }
        for (const MeasurementRecord& r : records)
            AppendRecord(dir.path(), QStringLiteral("hall"), r);
    }

    ClimateAnalysis expected(double from, double to, const ClimateAnalysisOptions& options) const
    {
        return AnalyseClimate(records, from, to, options);
    }

    ProcessResult analyse(const QStringList& args) const { return runProcess(QStringLiteral(KELMORA_CLI), QStringList{"analyse"} + args); }

    QTemporaryDir dir;
    QString report = QDir(dir.path()).filePath(QStringLiteral("hall.dat"));
    std::vector<MeasurementRecord> records;
};

Thresholds thresholds(double minH, double maxH, double minT, double maxT)
{
    return {minH, maxH, minT, maxT};
}

}  // namespace

TEST_F(AnalyseCli, EachFormIsTheAnalysisOfTheInterval)
{
    const double first = records.front().dt, last = *TryTruncToMinute(records.back().dt);
    ClimateAnalysisOptions defaults;
    defaults.thresholds = thresholds(0, 99.9, -40, 60);  // the settings' defaults
    const ClimateAnalysis whole = expected(first, last, defaults);

    const ProcessResult json = analyse({report, "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(json.out.toUtf8(), ClimateAnalysisJson(whole));
    const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(root["readings"].toInt(), 270);
    EXPECT_EQ(root["gaps"].toArray().size(), 1);

    const QString csv = QDir(dir.path()).filePath("days.csv");
    const ProcessResult csvRun = analyse({report, "--format", "csv", "--out", csv});
    ASSERT_EQ(csvRun.exitCode, 0) << csvRun.err.toStdString();
    EXPECT_EQ(FileBytes(csv), ClimateAnalysisCsv(whole));

    const ProcessResult txt = analyse({report, "--format", "txt", "--out", "-"});
    ASSERT_EQ(txt.exitCode, 0) << txt.err.toStdString();
    EXPECT_EQ(txt.out, ClimateAnalysisText(whole));
    EXPECT_TRUE(txt.out.startsWith(QStringLiteral("Анализ климата")));
}

TEST_F(AnalyseCli, TheOptionsReachTheAnalysis)
{
    const QString ini = QDir(dir.path()).filePath("kelmora.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Kel]\r\nminh=+40,0\r\nmaxh=+60,0\r\nmint=+18,0\r\nmaxt=+22,0\r\n");
    }
    const double from = DayCountOf(QDate(2026, 6, 1), 6 * 3600000), to = DayCountOf(QDate(2026, 6, 1), 20 * 3600000);
    struct Case {
        QStringList options;
        ClimateAnalysisOptions analysis;
    };
    ClimateAnalysisOptions fromIni;
    fromIni.thresholds = thresholds(40, 60, 18, 22);
    ClimateAnalysisOptions given = fromIni;
    given.thresholds = thresholds(45, 55, 19, 21);
    given.gapMinutes = 240;
    given.mktActivationKjPerMol = 60;
    given.lifetimeActivationKjPerMol = 70;
    const Case cases[] = {
        {{"--settings", ini}, fromIni},
        {{"--settings", ini, "--thresholds", "+45,0;+55,0;+19,0;+21,0", "--gap", "240", "--activation-energy", "60",
          "--lm-activation-energy", "70"},
         given},
    };
    for (const Case& c : cases) {
        const ProcessResult r = analyse(QStringList{report, "--format", "json", "--from", "2026-06-01 06:00", "--to", "2026-06-01 20:00"}
                                        + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.toUtf8(), ClimateAnalysisJson(expected(from, to, c.analysis))) << c.options.join(' ').toStdString();
    }
}

TEST_F(AnalyseCli, WrongUsageAndAMissingReportAreRefused)
{
    for (const QStringList& args : {QStringList{report}, QStringList{report, "--format", "pdf"},
                                    QStringList{report, "--format", "json", "--gap", "0"},
                                    QStringList{report, "--format", "json", "--gap", "soon"},
                                    QStringList{report, "--format", "json", "--activation-energy", "-5"},
                                    QStringList{report, "--format", "json", "--lm-activation-energy"},
                                    QStringList{report, "--format", "json", "--mode", "dew"},
                                    QStringList{"--format", "json"}}) {
        const ProcessResult r = analyse(args);
        EXPECT_EQ(r.exitCode, 64) << args.join(' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("usage:")) << r.err.toStdString();
    }
    const ProcessResult over = analyse({report, "--format", "json", "--out", report});
    EXPECT_EQ(over.exitCode, 64);
    EXPECT_TRUE(over.err.contains("is the report itself")) << over.err.toStdString();
    EXPECT_EQ(FileBytes(report).size(), qsizetype(records.size()) * kRecordSize) << "the report is left as it was";
    const ProcessResult missing = analyse({QDir(dir.path()).filePath("none.dat"), "--format", "json"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}
