// The report's readings for analysis: RFC 4180 CSV in UTF-8, one row per record of the report
// interval (not per minute), ISO 8601 local time with its UTC offset and milliseconds, numbers
// with a decimal point, empty fields for values the meter marked invalid.
#pragma once

#include "logging/report_state.h"

#include <QByteArray>
#include <QString>

#include <optional>

inline constexpr char kCsvHeader[] = "time,relative_humidity,temperature,dew_point,absolute_humidity\r\n";

// The CSV text of the records of state whose minute lies in the interval (both ends included,
// as in the report table), in their stored order. Each time stamp has its UTC offset as
// RecordOffsets gives it in the stored order (a repeated hour's second pass is told by the
// backward step of its stamps). Records whose time stamp is no date are left
// out. Relative humidity and temperature have the register's two decimals, the dew point two,
// the absolute humidity its own one.
QByteArray ReportCsv(const ReportState& state);

// The fields of one record as the CSV writes them: the time stamp with the given UTC offset
// (when none is given, the local offset of that wall-clock time, the first where the clocks
// went back over it; see utc_offset.h), relative humidity and temperature, dew point and absolute humidity; a value
// the meter marked invalid (and the conversions that need it) is an empty text. Nothing when
// the time stamp is no date. Other readers of the records (the broker messages) use these
// texts so that every output of a reading says the same numbers.
struct RecordFieldTexts {
    QByteArray time;
    QByteArray relativeHumidity;
    QByteArray temperature;
    QByteArray dewPoint;
    QByteArray absoluteHumidity;
};
std::optional<RecordFieldTexts> RecordFields(const MeasurementRecord& record, std::optional<int> utcOffsetSeconds = std::nullopt);

// Writes ReportCsv to a file. Throws ReportFileError when it cannot be written.
void SaveToCSV(const QString& fileName, const ReportState& state);
