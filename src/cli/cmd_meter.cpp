// kelmora-cli check, read and detect: the connection check, one reading without logging,
// and the detection of the meter over the twenty port names.
#include "app/clock.h"
#include "cli/cli_meter.h"
#include "cli/command.h"
#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/port_names.h"
#include "report/number_format.h"

namespace {

constexpr const char* CheckUsage = "check PORT [--usb]     connection check; prints the serial number";
constexpr const char* ReadUsage = "read PORT [--usb]      one reading: serial number, humidity, temperature";
constexpr const char* DetectUsage = "detect [--usb]         find the meter on the twenty port names";

int runCheck(const QStringList& args)
{
    MeterOptions options;
    if (!parseMeterOptions(args, true, CheckUsage, options))
        return ExitUsage;
    CliMeter meter;
    if (!openForSession(meter, options.port))
        return ExitCannotOpen;
    settleWait(SystemClock::instance(), {});
    int status = ExitNoAnswer;
    if (meter.protocol.ProbeDevice(MeterAddress, options.usb)) {
        printOut(deviceNumberText(meter.protocol.ReadRegister(MeterAddress, RegSerialNumber, options.usb)));
        status = 0;
    } else {
        printErr(DeviceText::NoConnection);
    }
    closeSession(meter);
    return status;
}

int runRead(const QStringList& args)
{
    MeterOptions options;
    if (!parseMeterOptions(args, true, ReadUsage, options))
        return ExitUsage;
    CliMeter meter;
    if (!openForSession(meter, options.port))
        return ExitCannotOpen;
    settleWait(SystemClock::instance(), {});
    int status = ExitNoAnswer;
    if (meter.protocol.ProbeDevice(MeterAddress, options.usb)) {
        const uint16_t serial = meter.protocol.ReadRegister(MeterAddress, RegSerialNumber, options.usb);
        const uint16_t humidity = meter.protocol.ReadRegister(MeterAddress, RegHumidity, options.usb);
        const auto temperature = static_cast<int16_t>(meter.protocol.ReadRegister(MeterAddress, RegTemperature, options.usb));
        printOut(QStringLiteral("%1 %2 %3").arg(deviceNumberText(serial), DisplayValueText(humidity),
                                                 DisplayValueText(temperature)));
        status = 0;
    } else {
        printErr(DeviceText::CannotRead);
    }
    closeSession(meter);
    return status;
}

int runDetect(const QStringList& args)
{
    MeterOptions options;
    if (!parseMeterOptions(args, false, DetectUsage, options))
        return ExitUsage;
    CliMeter meter;
    const QStringList& names = portNames();
    const auto found = DetectMeter(meter.port, meter.protocol, names, 0, options.usb,
                                   [&](int index) { return index >= 0 ? names[index] : QString(); });
    if (!found) {
        for (const QString& line : DeviceText::DetectionFailed.split(QStringLiteral("\n\r")))
            printErr(line);
        return ExitNoAnswer;
    }
    printOut(DeviceText::FoundOn + meter.port.DeviceName());
    closeSession(meter);
    return 0;
}

const Command check("check", CheckUsage, runCheck);
const Command read("read", ReadUsage, runRead);
const Command detect("detect", DetectUsage, runDetect);

}  // namespace
