// kelmora-cli check, read and detect: the connection check, one reading without logging,
// and the detection of the meter over the twenty port names.
#include "platform/clock.h"
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "device/device_texts.h"
#include "device/meter_session.h"
#include "device/port_names.h"
#include "logging/meter_reading.h"
#include "report/number_format.h"

#include <functional>

namespace {

constexpr const char* CheckUsage = QT_TRANSLATE_NOOP("Cli", "check PORT [--usb]     connection check; prints the serial number");
constexpr const char* ReadUsage = QT_TRANSLATE_NOOP("Cli", "read PORT [--usb]      one reading: serial number, humidity, temperature");
constexpr const char* DetectUsage = QT_TRANSLATE_NOOP("Cli", "detect [--usb]         find the meter on the twenty port names");

// The connection check's pattern: one session on PORT (open with the lines up, one second,
// the exchange, lines down, filler, close); on an answer to the probe `answered` does the
// reading, otherwise `noAnswer` is said.
int runSession(const QStringList& args, const char* usage, const QString& noAnswer,
               const std::function<int(CliMeter&, bool usb)>& answered)
{
    MeterOptions options;
    if (!parseMeterOptions(args, true, usage, options))
        return ExitUsage;
    CliMeter meter;
    int status = ExitNoAnswer;
    const SessionEnd end = RunSession(meter.port, SystemClock::instance(), options.port, [&] {
        if (meter.protocol.ProbeDevice(MeterAddress, options.usb))
            status = answered(meter, options.usb);
        else
            printErr(noAnswer);
    });
    if (end.kind == SessionEnd::Kind::CannotOpen) {
        sayCannotOpen(options.port, end.why);
        return ExitCannotOpen;
    }
    return status;
}

int runCheck(const QStringList& args)
{
    return runSession(args, CheckUsage, Cli::tr("Cannot establish a connection!"), [](CliMeter& meter, bool usb) {
        // Read twice: a number that does not come back the same is no number of this meter
        // (a late reply taken for the answer), and is not printed.
        const std::optional<uint16_t> serial = meter.protocol.ReadMeterNumber(MeterAddress, usb);
        if (!serial) {
            printErr(Cli::tr("Cannot establish a connection!"));
            return ExitNoAnswer;
        }
        printOut(deviceNumberText(*serial));
        return 0;
    });
}

int runRead(const QStringList& args)
{
    MeterOptions options;
    if (!parseMeterOptions(args, true, ReadUsage, options))
        return ExitUsage;
    CliMeter meter;
    int status = ExitNoAnswer;
    // The reading of the reading cycle: the probe, the three registers, the serial number
    // again; a reading whose registers came out of step is refused.
    const SessionEnd end = RunSession(meter.port, SystemClock::instance(), options.port, [&] {
        const auto reading = ReadMeter(meter.protocol, SystemClock::instance(), options.usb);
        if (reading) {
            printOut(QStringLiteral("%1 %2 %3").arg(deviceNumberText(reading->serialNumber), DisplayValueText(reading->humidity),
                                                     DisplayValueText(static_cast<int16_t>(reading->temperature))));
            status = 0;
        } else {
            printErr(Cli::tr("Cannot read the data!"));
        }
    });
    if (end.kind == SessionEnd::Kind::CannotOpen) {
        sayCannotOpen(options.port, end.why);
        return ExitCannotOpen;
    }
    return status;
}

int runDetect(const QStringList& args)
{
    MeterOptions options;
    if (!parseMeterOptions(args, false, DetectUsage, options))
        return ExitUsage;
    CliMeter meter;
    const QStringList& names = portNames();
    const auto found = DetectMeter(meter.port, meter.protocol, names, 0, options.usb);
    if (!found) {
        printErr(Cli::tr("Cannot detect the meter automatically!"));
        printErr(Cli::tr("Check all the connections again and try once more."));
        return ExitNoAnswer;
    }
    printOut(Cli::tr("Meter found on %1").arg(meter.port.DeviceName()));
    closeSession(meter);
    return 0;
}

const Command check("check", CheckUsage, runCheck);
const Command read("read", ReadUsage, runRead);
const Command detect("detect", DetectUsage, runDetect);

}  // namespace
