#include "publish/reading_message.h"

#include "device/device_texts.h"
#include "views/csv_export.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>

MeterTopics TopicsOf(const QString& prefix, uint16_t serial)
{
    const QString base = prefix + QLatin1Char('/') + deviceNumberText(serial);
    return {base + QStringLiteral("/reading"), base + QStringLiteral("/status")};
}

namespace {

// A JSON string: quotes, backslashes and control characters escaped (the report name is the
// only text that comes from the user).
void appendJsonString(QByteArray& out, const QString& text)
{
    out += '"';
    for (const char c : text.toUtf8()) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendNumber(QByteArray& out, const char* name, const QByteArray& text)
{
    out += ",\"";
    out += name;
    out += "\":";
    out += text.isEmpty() ? QByteArrayLiteral("null") : text;
}

DiscoveryMessage discovery(const QString& prefix, uint16_t serial, const char* what, const char* name,
                           const char* deviceClass, const char* unit, const char* field)
{
    const QString number = deviceNumberText(serial);
    const QString unique = QStringLiteral("kelmora_%1_%2").arg(number, QLatin1String(what));
    const MeterTopics topics = TopicsOf(prefix, serial);
    QJsonObject device{
        {QStringLiteral("identifiers"), QJsonArray{QStringLiteral("kelmora_%1").arg(number)}},
        {QStringLiteral("name"), QStringLiteral("Kelmora %1").arg(number)},
        {QStringLiteral("model"), QStringLiteral("Thermohygrometer")},
        {QStringLiteral("manufacturer"), QStringLiteral("НПК \"Ortanel\"")},
    };
    QJsonObject config{
        {QStringLiteral("name"), QString::fromUtf8(name)},
        {QStringLiteral("unique_id"), unique},
        // The entity's id, as Home Assistant takes it since 2025.10 (it ignores object_id from 2026.4).
        {QStringLiteral("default_entity_id"), QStringLiteral("sensor.") + unique.toLower()},
        {QStringLiteral("device_class"), QString::fromUtf8(deviceClass)},
        {QStringLiteral("state_class"), QStringLiteral("measurement")},
        {QStringLiteral("unit_of_measurement"), QString::fromUtf8(unit)},
        {QStringLiteral("state_topic"), topics.reading},
        {QStringLiteral("value_template"), QStringLiteral("{{ value_json.%1 }}").arg(QLatin1String(field))},
        {QStringLiteral("availability_topic"), topics.status},
        {QStringLiteral("payload_available"), QString::fromUtf8(kStatusOnline)},
        {QStringLiteral("payload_not_available"), QString::fromUtf8(kStatusOffline)},
        {QStringLiteral("device"), device},
    };
    return {QStringLiteral("%1/sensor/%2/config").arg(kDiscoveryPrefix, unique),
            QJsonDocument(config).toJson(QJsonDocument::Compact)};
}

}  // namespace

std::optional<QByteArray> ReadingJson(const MeasurementRecord& record, uint16_t serial, const QString& reportName,
                                      std::optional<int> utcOffsetSeconds)
{
    const std::optional<RecordFieldTexts> f = RecordFields(record, utcOffsetSeconds);
    if (!f)
        return std::nullopt;
    QByteArray out;
    out.reserve(200);
    out += "{\"serial\":\"";
    out += deviceNumberText(serial).toLatin1();
    out += "\",\"report\":";
    appendJsonString(out, reportName);
    out += ",\"time\":\"";
    out += f->time;
    out += '"';
    appendNumber(out, "relative_humidity", f->relativeHumidity);
    appendNumber(out, "temperature", f->temperature);
    appendNumber(out, "dew_point", f->dewPoint);
    appendNumber(out, "absolute_humidity", f->absoluteHumidity);
    out += '}';
    return out;
}

DiscoveryMessage HumidityDiscovery(const QString& prefix, uint16_t serial)
{
    return discovery(prefix, serial, "humidity", "Relative humidity", "humidity", "%", "relative_humidity");
}

DiscoveryMessage TemperatureDiscovery(const QString& prefix, uint16_t serial)
{
    return discovery(prefix, serial, "temperature", "Temperature", "temperature", "°C", "temperature");
}
