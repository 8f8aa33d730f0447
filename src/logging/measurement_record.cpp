#include "logging/measurement_record.h"

#include <QtEndian>

#include <cstring>

namespace {
void swapRecords(MeasurementRecord* records, qsizetype count)
{
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        return;
    for (qsizetype i = 0; i < count; ++i) {
        quint64 bits;
        std::memcpy(&bits, &records[i].dt, sizeof bits);
        bits = qbswap(bits);
        std::memcpy(&records[i].dt, &bits, sizeof bits);
        records[i].RH = qbswap(records[i].RH);
        records[i].T = qbswap(records[i].T);
    }
}
}  // namespace

void RecordsFromLittleEndian(MeasurementRecord* records, qsizetype count)
{
    swapRecords(records, count);
}

void RecordsToLittleEndian(MeasurementRecord* records, qsizetype count)
{
    swapRecords(records, count);
}
