// The forms of a climate analysis: the JSON keeps its keys and types (read back with Qt's
// parser), absent figures are null, the CSV holds the daily table, the Russian page every figure
// with decimal commas.
#include "report/climate_analysis.h"
#include "report/date_time.h"
#include "views/climate_analysis_text.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <vector>

namespace {

const QDate kDay(2026, 3, 2);

double at(double minutes)
{
    return DayCountOf(kDay, 0) + minutes / 1440.0;
}

MeasurementRecord reading(double minutes, int16_t rh, int16_t t)
{
    return {at(minutes), rh, t};
}

// Two days: 23:20 to 00:20, every 10 minutes but a gap from 23:40 to 00:10; above the
// humidity maximum of 60 % from 23:30 on; the last reading has no valid temperature.
//   23:20 55 % 20 | 23:30 65 % 21 | 23:40 66.5 % 22 [gap] | 00:10 70 % 22.5 | 00:20 71 % ---
ClimateAnalysis sample()
{
    const std::vector<MeasurementRecord> records = {
        reading(23 * 60 + 20, 5500, 2000), reading(23 * 60 + 30, 6500, 2100), reading(23 * 60 + 40, 6650, 2200),
        reading(24 * 60 + 10, 7000, 2250), reading(24 * 60 + 20, 7100, -10000),
    };
    ClimateAnalysisOptions options;
    options.thresholds = {30, 60, 15, 25};
    return AnalyseClimate(records, at(23 * 60 + 20), at(24 * 60 + 29), options);
}

QSet<QString> keysOf(const QJsonObject& object)
{
    const QStringList keys = object.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

QSet<QString> keySet(std::initializer_list<const char*> names)
{
    QSet<QString> set;
    for (const char* name : names)
        set.insert(QString::fromLatin1(name));
    return set;
}

// ISO 8601 local time with milliseconds and the UTC offset, as the readings' CSV writes it.
const QRegularExpression kIsoTime(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}\\.\\d{3}[+-]\\d{2}:\\d{2}$"));

}  // namespace

TEST(ClimateAnalysisJson, KeysTypesAndFigures)
{
    const ClimateAnalysis a = sample();
    const QByteArray json = ClimateAnalysisJson(a);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << "\n" << json.toStdString();
    const QJsonObject root = document.object();
    EXPECT_EQ(keysOf(root), keySet({"interval", "readings", "no_data_minutes", "gaps", "relative_humidity", "temperature",
                                    "dew_point", "absolute_humidity", "limits", "mean_kinetic_temperature", "wood_emc",
                                    "lifetime_multiplier", "mould", "days", "largest_change_24h"}));
    const QJsonObject change = root["largest_change_24h"].toObject();
    EXPECT_EQ(keysOf(change), keySet({"relative_humidity", "temperature"}));
    // Humidity 55 at 23:20 and 71 at 00:20: 16 within a day.
    EXPECT_EQ(change["relative_humidity"]["change"].toDouble(), 16.0);
    EXPECT_TRUE(change["relative_humidity"]["low_time"].toString().startsWith("2026-03-02T23:20:00.000"));
    EXPECT_TRUE(change["relative_humidity"]["high_time"].toString().startsWith("2026-03-03T00:20:00.000"));

    const QJsonObject interval = root["interval"].toObject();
    EXPECT_EQ(keysOf(interval), keySet({"from", "to"}));
    EXPECT_TRUE(interval["from"].toString().startsWith("2026-03-02T23:20:00.000"));
    EXPECT_TRUE(interval["to"].toString().startsWith("2026-03-03T00:29:00.000"));
    EXPECT_TRUE(kIsoTime.match(interval["to"].toString()).hasMatch()) << interval["to"].toString().toStdString();

    EXPECT_TRUE(root["readings"].isDouble());
    EXPECT_EQ(root["readings"].toInt(), 5);
    // Spacings 10, 10, 30, 10: median 10, limit 20; the gap 23:50..00:10 and nothing else is
    // without data (the last reading stands for the 10 minutes to 00:30).
    EXPECT_EQ(root["no_data_minutes"].toDouble(), 20.0);
    const QJsonArray gaps = root["gaps"].toArray();
    ASSERT_EQ(gaps.size(), 1);
    EXPECT_EQ(keysOf(gaps[0].toObject()), keySet({"start", "end", "minutes"}));
    EXPECT_TRUE(gaps[0]["start"].toString().startsWith("2026-03-02T23:50:00.000"));
    EXPECT_TRUE(gaps[0]["end"].toString().startsWith("2026-03-03T00:10:00.000"));
    EXPECT_EQ(gaps[0]["minutes"].toDouble(), 20.0);

    for (const char* channel : {"relative_humidity", "temperature", "dew_point", "absolute_humidity"}) {
        const QJsonObject summary = root[channel].toObject();
        EXPECT_EQ(keysOf(summary), keySet({"min", "min_time", "max", "max_time", "mean"})) << channel;
        for (const char* figure : {"min", "max", "mean"})
            EXPECT_TRUE(summary[figure].isDouble()) << channel << ' ' << figure;
        for (const char* time : {"min_time", "max_time"})
            EXPECT_TRUE(kIsoTime.match(summary[time].toString()).hasMatch()) << channel << ' ' << time;
    }
    const QJsonObject rh = root["relative_humidity"].toObject();
    EXPECT_EQ(rh["min"].toDouble(), 55.0);
    EXPECT_EQ(rh["max"].toDouble(), 71.0);
    EXPECT_TRUE(rh["max_time"].toString().startsWith("2026-03-03T00:20:00.000"));
    // (55*10 + 65*10 + 66.5*10 + 70*10 + 71*10) / 50 = 65.5
    EXPECT_EQ(rh["mean"].toDouble(), 65.5);
    // Rounded to two decimals: (20 + 21 + 22 + 22.5) * 10 / 40 = 21.375 -> 21.38.
    EXPECT_EQ(root["temperature"]["mean"].toDouble(), 21.38);

    const QJsonArray limits = root["limits"].toArray();
    ASSERT_EQ(limits.size(), 4);
    const char* channels[] = {"relative_humidity", "relative_humidity", "temperature", "temperature"};
    const char* sides[] = {"below", "above", "below", "above"};
    for (int i = 0; i < 4; ++i) {
        const QJsonObject limit = limits[i].toObject();
        EXPECT_EQ(keysOf(limit), keySet({"channel", "side", "threshold", "minutes", "share", "excursions", "longest"}));
        EXPECT_EQ(limit["channel"].toString(), QLatin1String(channels[i]));
        EXPECT_EQ(limit["side"].toString(), QLatin1String(sides[i]));
        EXPECT_TRUE(limit["threshold"].isDouble() && limit["minutes"].isDouble() && limit["share"].isDouble()
                    && limit["excursions"].isDouble());
    }
    // Above 60 %: 23:30..23:50 (ended by the gap) and 00:10..00:30, 40 of 50 covered minutes.
    const QJsonObject above = limits[1].toObject();
    EXPECT_EQ(above["threshold"].toDouble(), 60.0);
    EXPECT_EQ(above["minutes"].toDouble(), 40.0);
    EXPECT_EQ(above["share"].toDouble(), 0.8);
    EXPECT_EQ(above["excursions"].toInt(), 2);
    const QJsonObject longest = above["longest"].toObject();
    EXPECT_EQ(keysOf(longest), keySet({"start", "end", "minutes"}));
    EXPECT_TRUE(longest["start"].toString().startsWith("2026-03-02T23:30:00.000"));
    EXPECT_EQ(longest["minutes"].toDouble(), 20.0);
    EXPECT_TRUE(limits[0]["longest"].isNull());

    EXPECT_TRUE(root["mean_kinetic_temperature"].isDouble());
    EXPECT_EQ(keysOf(root["wood_emc"].toObject()), keySet({"mean", "min", "max", "minutes_below_5", "minutes_above_12_5"}));
    EXPECT_TRUE(root["lifetime_multiplier"].isDouble());
    EXPECT_EQ(keysOf(root["mould"].toObject()), keySet({"hours_at_or_above_critical", "longest_hours"}));
    EXPECT_EQ(root["mould"]["hours_at_or_above_critical"].toDouble(), 0.0);

    const QJsonArray days = root["days"].toArray();
    ASSERT_EQ(days.size(), 2);
    for (const QJsonValue& day : days)
        EXPECT_EQ(keysOf(day.toObject()), keySet({"date", "rh_min", "rh_mean", "rh_max", "t_min", "t_mean", "t_max", "rh_range"}));
    EXPECT_EQ(days[0]["date"].toString(), QStringLiteral("2026-03-02"));
    EXPECT_EQ(days[0]["rh_range"].toDouble(), 11.5);
    EXPECT_EQ(days[1]["date"].toString(), QStringLiteral("2026-03-03"));
    EXPECT_EQ(days[1]["t_min"].toDouble(), 22.5);
    EXPECT_EQ(days[1]["rh_mean"].toDouble(), 70.5);
}

TEST(ClimateAnalysisJson, AbsentFiguresAreNull)
{
    // Readings with humidity only: no temperature, so no dew point, kinetic temperature, wood,
    // lifetime or mould; and an interval without any reading.
    const std::vector<MeasurementRecord> humidityOnly = {reading(600, 5000, -10000), reading(610, 5200, -10000)};
    for (const ClimateAnalysis& a : {AnalyseClimate(humidityOnly, at(600), at(619)), AnalyseClimate({}, at(600), at(619))}) {
        const QByteArray json = ClimateAnalysisJson(a);
        EXPECT_FALSE(json.contains("nan") || json.contains("inf")) << json.toStdString();
        const QJsonObject root = QJsonDocument::fromJson(json).object();
        ASSERT_FALSE(root.isEmpty()) << json.toStdString();
        for (const char* key : {"temperature", "dew_point", "absolute_humidity", "mean_kinetic_temperature", "wood_emc",
                                "lifetime_multiplier", "mould"})
            EXPECT_TRUE(root[key].isNull()) << key;
        const QJsonArray limits = root["limits"].toArray();
        ASSERT_EQ(limits.size(), 4);
        EXPECT_TRUE(limits[2]["share"].isNull()) << "no temperature covers no time";
        EXPECT_TRUE(limits[3]["longest"].isNull());
    }
    const QJsonObject humid = QJsonDocument::fromJson(ClimateAnalysisJson(AnalyseClimate(humidityOnly, at(600), at(619)))).object();
    EXPECT_EQ(humid["relative_humidity"]["mean"].toDouble(), 51.0);
    EXPECT_TRUE(humid["days"][0]["t_mean"].isNull());
    EXPECT_EQ(humid["days"][0]["rh_range"].toDouble(), 2.0);

    // An interval that is no date: its ends are null.
    const QJsonObject undated = QJsonDocument::fromJson(ClimateAnalysisJson(AnalyseClimate(humidityOnly, NAN, NAN))).object();
    EXPECT_TRUE(undated["interval"]["from"].isNull());
    EXPECT_EQ(undated["readings"].toInt(), 0);
}

TEST(ClimateAnalysisCsv, TheDailyTable)
{
    const QByteArray csv = ClimateAnalysisCsv(sample());
    // Day 1: 55, 65, 66.5 % for 10 minutes each; 20, 21, 22 degrees. Day 2: 70 and 71 %; 22.5 degrees.
    EXPECT_EQ(csv, QByteArray("date,rh_min,rh_mean,rh_max,t_min,t_mean,t_max,rh_range\r\n"
                              "2026-03-02,55.00,62.17,66.50,20.00,21.00,22.00,11.50\r\n"
                              "2026-03-03,70.00,70.50,71.00,22.50,22.50,22.50,1.00\r\n"));
    const std::vector<MeasurementRecord> humidityOnly = {reading(600, 5000, -10000)};
    EXPECT_EQ(ClimateAnalysisCsv(AnalyseClimate(humidityOnly, at(600), at(609))),
              QByteArray("date,rh_min,rh_mean,rh_max,t_min,t_mean,t_max,rh_range\r\n2026-03-02,50.00,50.00,50.00,,,,0.00\r\n"));
    EXPECT_EQ(ClimateAnalysisCsv(AnalyseClimate({}, at(600), at(609))), QByteArray(kClimateDaysCsvHeader));
}

TEST(ClimateAnalysisText, TheRussianPage)
{
    const ClimateAnalysis a = sample();
    const QString text = ClimateAnalysisText(a);
    for (const char* expected : {
             "Анализ климата",
             "Интервал: 02.03.2026 23:20 — 03.03.2026 00:29",
             "Показаний: 5",
             "Нет данных: 20,0 мин",
             "02.03.2026 23:50 — 03.03.2026 00:10 (20,0 мин)",  // the gap
             "Относительная влажность, %",
             "Температура, °C",
             "Точка росы, °C",
             "Абсолютная влажность, г/м³",
             "Время за пределами",
             "Влажность выше максимума, %",
             "02.03.2026 23:30 — 02.03.2026 23:50 (20,0 мин)",  // the longest excursion
             "Средняя кинетическая температура",
             "Равновесная влажность древесины",
             "Коэффициент срока службы",
             "Плесень: 0,00 ч",
             "По дням",
         })
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    // Figures with the decimal comma: the humidity mean, the kinetic temperature.
    EXPECT_TRUE(text.contains(QStringLiteral("65,50")));
    EXPECT_TRUE(text.contains(QString::number(*a.meanKineticTemperature, 'f', 2).replace('.', ',')));
    EXPECT_FALSE(text.contains(QStringLiteral("nan"), Qt::CaseInsensitive));

    // The daily table: a header and a line per day, each figure ending in the same column.
    const QStringList lines = text.split('\n');
    const qsizetype header = lines.indexOf(QStringLiteral("По дням")) + 1;
    ASSERT_GT(header, 0);
    ASSERT_GE(lines.size(), header + 3);
    EXPECT_TRUE(lines[header].startsWith(QStringLiteral("Дата")));
    EXPECT_TRUE(lines[header + 1].startsWith(QStringLiteral("02.03.2026")));
    EXPECT_TRUE(lines[header + 2].startsWith(QStringLiteral("03.03.2026")));
    EXPECT_EQ(lines[header + 1].size(), lines[header].size());
    EXPECT_EQ(lines[header + 2].size(), lines[header].size());
    EXPECT_EQ(lines[header + 1].indexOf(QStringLiteral("62,17")) + 5, lines[header + 2].indexOf(QStringLiteral("70,50")) + 5);
}
