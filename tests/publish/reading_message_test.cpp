// The broker messages of a reading: JSON that any parser reads with the numbers of the CSV,
// null for invalid values, the meter's topics and the two Home Assistant sensors.
#include "publish/reading_message.h"
#include "report/date_time.h"
#include "views/csv_export.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject parse(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument d = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    return d.object();
}

struct JsonCase {
    int16_t rh, t;
    bool rhValid, tValid;
};

class ReadingJsonFields : public ::testing::TestWithParam<JsonCase> {};

TEST_P(ReadingJsonFields, CarryTheCsvNumbersAndNullForInvalidValues)
{
    const JsonCase& c = GetParam();
    const MeasurementRecord r{DayCountOf(QDate(2026, 7, 1), 14 * 3600000 + 47 * 60000 + 8123), c.rh, c.t};
    const QJsonObject o = parse(*ReadingJson(r, 0x1A2B, QStringLiteral("Склад \"B\"\\1")));
    const RecordFieldTexts f = *RecordFields(r);
    EXPECT_EQ(o.value("serial").toString(), "1A2B");
    EXPECT_EQ(o.value("report").toString(), QStringLiteral("Склад \"B\"\\1"));
    EXPECT_EQ(o.value("time").toString().toLatin1(), f.time);
    EXPECT_TRUE(o.value("time").toString().startsWith("2026-07-01T14:47:08.123"));
    EXPECT_EQ(o.value("relative_humidity").isNull(), !c.rhValid);
    EXPECT_EQ(o.value("temperature").isNull(), !c.tValid);
    EXPECT_EQ(o.value("dew_point").isNull(), !(c.rhValid && c.tValid));
    EXPECT_EQ(o.value("absolute_humidity").isNull(), !(c.rhValid && c.tValid));
    if (c.rhValid) {
        EXPECT_DOUBLE_EQ(o.value("relative_humidity").toDouble(), c.rh / 100.0);
    }
    if (c.tValid) {
        EXPECT_DOUBLE_EQ(o.value("temperature").toDouble(), c.t / 100.0);
    }
    if (c.rhValid && c.tValid) {
        EXPECT_DOUBLE_EQ(o.value("dew_point").toDouble(), f.dewPoint.toDouble());
        EXPECT_DOUBLE_EQ(o.value("absolute_humidity").toDouble(), f.absoluteHumidity.toDouble());
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ReadingJsonFields, ::testing::Values(
    JsonCase{4525, -525, true, true}, JsonCase{0, 0, true, true}, JsonCase{9999, 9999, true, true},
    JsonCase{12000, 2345, false, true}, JsonCase{-1, 2345, false, true}, JsonCase{4525, -10000, true, false},
    JsonCase{int16_t(0x8000), int16_t(0x8000), false, false}));

TEST(ReadingJsonTime, ATimeStampThatIsNoDateGivesNoMessage)
{
    EXPECT_FALSE(ReadingJson({std::nan(""), 4525, 2000}, 1, "hall"));
    EXPECT_FALSE(ReadingJson({1e300, 4525, 2000}, 1, "hall"));
}

TEST(MeterTopicsAndDiscovery, TwoSensorsOfOneDeviceReadFromTheReadingTopic)
{
    const MeterTopics topics = TopicsOf("museum/floor1", 0x00A3);
    EXPECT_EQ(topics.reading, "museum/floor1/00A3/reading");
    EXPECT_EQ(topics.status, "museum/floor1/00A3/status");
    struct Expect {
        DiscoveryMessage m;
        const char* deviceClass;
        const char* unit;
        const char* field;
    };
    for (const Expect& e : {Expect{HumidityDiscovery("museum/floor1", 0x00A3), "humidity", "%", "relative_humidity"},
                            Expect{TemperatureDiscovery("museum/floor1", 0x00A3), "temperature", "°C", "temperature"}}) {
        EXPECT_EQ(e.m.topic, QStringLiteral("homeassistant/sensor/kelmora_00A3_%1/config").arg(e.deviceClass));
        const QJsonObject c = parse(e.m.payload);
        EXPECT_EQ(c.value("device_class").toString(), e.deviceClass);
        EXPECT_EQ(c.value("unit_of_measurement").toString(), QString::fromUtf8(e.unit));
        EXPECT_EQ(c.value("state_topic").toString(), topics.reading);
        EXPECT_EQ(c.value("availability_topic").toString(), topics.status);
        EXPECT_EQ(c.value("value_template").toString(), QStringLiteral("{{ value_json.%1 }}").arg(e.field));
        EXPECT_EQ(c.value("unique_id").toString(), QStringLiteral("kelmora_00A3_%1").arg(e.deviceClass));
        const QJsonObject device = c.value("device").toObject();
        EXPECT_EQ(device.value("identifiers").toArray(), QJsonArray{"kelmora_00A3"});
        EXPECT_EQ(device.value("name").toString(), "Kelmora 00A3");
    }
}

}  // namespace
