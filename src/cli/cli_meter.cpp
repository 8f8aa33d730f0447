#include "cli/cli_meter.h"

#include "platform/app_paths.h"
#include "platform/clock.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "device/com_error.h"
#include "device/meter_session.h"

#include <cstdlib>

void CliFatalExit::deviceNotResponding()
{
    if (throwInstead)
        throw MeterStoppedAnswering{};
    printErr(Cli::tr("The meter does not answer!"));
    std::exit(ExitNotResponding);
}

CliMeter::CliMeter()
    : port(PortNameMap::fromSettingsFile(settingsFilePath())), protocol(port, SystemClock::instance(), fatal)
{
}

bool parseMeterOptions(const QStringList& args, bool wantPort, const char* usage, MeterOptions& out)
{
    QStringList rest;
    for (const QString& a : args) {
        if (a == QLatin1String("--usb"))
            out.usb = true;
        else if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
            printErr(Cli::tr("kelmora-cli: unknown option %1").arg(a) + QLatin1Char('\n') + UsageLine(usage));
            return false;
        } else
            rest << a;
    }
    if (rest.size() != (wantPort ? 1 : 0)) {
        printErr(UsageLine(usage));
        return false;
    }
    if (wantPort)
        out.port = rest.front();
    return true;
}

void sayCannotOpen(const QString& port, const QString& why)
{
    printErr(Cli::tr("Cannot open the port"));
    const QString device = PortNameMap::fromSettingsFile(settingsFilePath()).devicePath(port);
    printErr(device == port ? QStringLiteral("%1: %2").arg(port, why)
                            : QStringLiteral("%1 (%2): %3").arg(port, device, why));
}

void closeSession(CliMeter& meter)
{
    try {
        endSession(meter.port);
    } catch (const ComError&) {
    }
    meter.port.Close();
}
