// One reading of the meter as it is stored in a report file: 12 bytes, little-endian, no gaps.
#pragma once

#include <QtGlobal>

#include <cstdint>

#pragma pack(push, 1)
struct MeasurementRecord {
    double dt;     // local wall-clock time of the reading, days since 1899-12-30 00:00
    int16_t RH;    // relative humidity, % x 100 (a register value with the top bit set reads negative)
    int16_t T;     // temperature, degrees Celsius x 100
};
#pragma pack(pop)

static_assert(sizeof(MeasurementRecord) == 12, "a report record is exactly 12 bytes");

inline constexpr qint64 kRecordSize = sizeof(MeasurementRecord);

// Records in memory are in the host's byte order; files are little-endian. On a big-endian
// host these swap a record between the two (on a little-endian host they do nothing).
void RecordsFromLittleEndian(MeasurementRecord* records, qsizetype count);
void RecordsToLittleEndian(MeasurementRecord* records, qsizetype count);
