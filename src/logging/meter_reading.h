// One reading of the meter: the probe, the time stamp taken right after it, then the serial
// number, humidity and temperature registers. The port is opened and its lines raised by the
// caller, who also decides where the record goes.
#pragma once

#include "logging/measurement_record.h"

#include <QString>

#include <cstdint>
#include <optional>

// What a display of a humidity or temperature reading shows while it holds no value.
inline const QString kNoReadingText = QStringLiteral("--.-");

class Clock;
class RegisterProtocol;

struct MeterReading {
    double dt = 0;             // local date and time of the reading, with milliseconds
    int utcOffsetSeconds = 0;  // the local UTC offset in force then (a repeated hour has two)
    uint16_t serialNumber = 0;
    uint16_t humidity = 0;     // register 0x0200 as read
    uint16_t temperature = 0;  // register 0x0202 as read (signed when shown)

    // The record as stored: both registers exactly as read, 16 bits each.
    MeasurementRecord record() const;
};

// Nothing when the meter does not answer the probe, or when the serial number read again after
// the temperature differs from the one read right after the probe (replies out of step; then
// outOfStep is set). A meter that answers the probe and then stops answering ends the program
// (through the protocol's fatal end).
std::optional<MeterReading> ReadMeter(RegisterProtocol& protocol, Clock& clock, bool usb, bool* outOfStep = nullptr);
