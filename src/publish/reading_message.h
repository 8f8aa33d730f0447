// What goes to the broker: the topics of one meter, the JSON of one reading, the status
// texts and the Home Assistant discovery configurations of the meter's two sensors.
#pragma once

#include "logging/measurement_record.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

struct MeterTopics {
    QString reading;   // PREFIX/<serial>/reading
    QString status;    // PREFIX/<serial>/status: "online" (retained) while logging, "offline" as last will
};
MeterTopics TopicsOf(const QString& prefix, uint16_t serial);

inline const QByteArray kStatusOnline = QByteArrayLiteral("online");
inline const QByteArray kStatusOffline = QByteArrayLiteral("offline");

// {"serial":"00A3","report":"hall","time":"2026-12-10T14:47:08.123+03:00",
//  "relative_humidity":45.25,"temperature":-5.25,"dew_point":-13.37,"absolute_humidity":3.0}
// The numbers are those of the CSV export; a value the meter marked invalid, and a conversion
// that needs it, is null. Nothing when the time stamp is no date.
// The time's UTC offset is utcOffsetSeconds when given, else as RecordFields finds it.
std::optional<QByteArray> ReadingJson(const MeasurementRecord& record, uint16_t serial, const QString& reportName,
                                      std::optional<int> utcOffsetSeconds = std::nullopt);

// One retained discovery message: its topic and its JSON.
struct DiscoveryMessage {
    QString topic;
    QByteArray payload;
};
// The two sensors of the meter (relative humidity in %, temperature in °C), on one device
// "Kelmora <serial>", read from the reading topic and available while the status is "online".
inline const QString kDiscoveryPrefix = QStringLiteral("homeassistant");
DiscoveryMessage HumidityDiscovery(const QString& prefix, uint16_t serial);
DiscoveryMessage TemperatureDiscovery(const QString& prefix, uint16_t serial);
