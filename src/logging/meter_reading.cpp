#include "logging/meter_reading.h"

#include "app/clock.h"
#include "device/register_protocol.h"
#include "report/date_time.h"

TDateTimeRHT MeterReading::record() const
{
    return TDateTimeRHT{dt, static_cast<int16_t>(humidity), static_cast<int16_t>(temperature)};
}

std::optional<MeterReading> ReadMeter(RegisterProtocol& protocol, Clock& clock, bool usb)
{
    if (!protocol.ProbeDevice(MeterAddress, usb))
        return std::nullopt;
    MeterReading r;
    r.dt = DateTimeToDays(clock.now());
    r.serialNumber = protocol.ReadRegister(MeterAddress, RegSerialNumber, usb);
    r.humidity = protocol.ReadRegister(MeterAddress, RegHumidity, usb);
    r.temperature = protocol.ReadRegister(MeterAddress, RegTemperature, usb);
    return r;
}
