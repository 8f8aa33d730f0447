#include "logging/meter_reading.h"

#include "platform/clock.h"
#include "device/register_protocol.h"
#include "report/date_time.h"

MeasurementRecord MeterReading::record() const
{
    return MeasurementRecord{dt, static_cast<int16_t>(humidity), static_cast<int16_t>(temperature)};
}

std::optional<MeterReading> ReadMeter(RegisterProtocol& protocol, Clock& clock, bool usb, bool* outOfStep)
{
    if (outOfStep)
        *outOfStep = false;
    if (!protocol.ProbeDevice(MeterAddress, usb))
        return std::nullopt;
    MeterReading r;
    const QDateTime now = clock.now();
    r.dt = DateTimeToDays(now);
    r.utcOffsetSeconds = now.offsetFromUtc();
    try {
        r.serialNumber = protocol.ReadRegister(MeterAddress, RegSerialNumber, usb);
        r.humidity = protocol.ReadRegister(MeterAddress, RegHumidity, usb);
        r.temperature = protocol.ReadRegister(MeterAddress, RegTemperature, usb);
        // The serial number once more: had any reply been taken for the answer to a later
        // request, the registers read would have slid by one or more, and this would not be the
        // number read after the probe. Such a reading is refused rather than stored.
        if (protocol.ReadRegister(MeterAddress, RegSerialNumber, usb) == r.serialNumber)
            return r;
    } catch (const RepliesOutOfStep&) {
        // A reply still owed never came: no value of this reading can be trusted.
    }
    if (outOfStep)
        *outOfStep = true;
    return std::nullopt;
}
