// kelmora-cli check, read and detect: the connection check, one reading without logging,
// and the detection of the meter over the twenty port names.
#include "app/clock.h"
#include "cli/cli_meter.h"
#include "cli/command.h"
#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/port_names.h"
#include "report/number_format.h"

#include <functional>

namespace {

constexpr const char* CheckUsage = "check PORT [--usb]     connection check; prints the serial number";
constexpr const char* ReadUsage = "read PORT [--usb]      one reading: serial number, humidity, temperature";
constexpr const char* DetectUsage = "detect [--usb]         find the meter on the twenty port names";

// The connection check's pattern: open with the lines up, one second, probe; on an answer
// `answered` does the reading, otherwise `noAnswer` is said. The session always ends with the
// lines down, the filler and the close.
int runSession(const QStringList& args, const char* usage, const QString& noAnswer,
               const std::function<void(CliMeter&, bool usb)>& answered)
{
    MeterOptions options;
    if (!parseMeterOptions(args, true, usage, options))
        return ExitUsage;
    CliMeter meter;
    if (!openForSession(meter, options.port))
        return ExitCannotOpen;
    settleWait(SystemClock::instance(), {});
    int status = ExitNoAnswer;
    if (meter.protocol.ProbeDevice(MeterAddress, options.usb)) {
        answered(meter, options.usb);
        status = 0;
    } else {
        printErr(noAnswer);
    }
    closeSession(meter);
    return status;
}

int runCheck(const QStringList& args)
{
    return runSession(args, CheckUsage, DeviceText::NoConnection, [](CliMeter& meter, bool usb) {
        printOut(deviceNumberText(meter.protocol.ReadRegister(MeterAddress, RegSerialNumber, usb)));
    });
}

int runRead(const QStringList& args)
{
    return runSession(args, ReadUsage, DeviceText::CannotRead, [](CliMeter& meter, bool usb) {
        const uint16_t serial = meter.protocol.ReadRegister(MeterAddress, RegSerialNumber, usb);
        const uint16_t humidity = meter.protocol.ReadRegister(MeterAddress, RegHumidity, usb);
        const auto temperature = static_cast<int16_t>(meter.protocol.ReadRegister(MeterAddress, RegTemperature, usb));
        printOut(QStringLiteral("%1 %2 %3").arg(deviceNumberText(serial), DisplayValueText(humidity),
                                                 DisplayValueText(temperature)));
    });
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
