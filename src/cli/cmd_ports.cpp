// kelmora-cli ports: the twenty port names and the device each opens; --map and --unmap
// change the overrides in section [Ports] of kelmora.ini in the data directory, which the
// listing names last.
#include "platform/app_paths.h"
#include "platform/profile_file.h"
#include "cli/cli_meter.h"
#include "cli/command.h"
#include "device/port_names.h"

namespace {

constexpr const char* Usage = "ports [--map NAME DEVICE | --unmap NAME]   port names and their devices";

int run(const QStringList& args)
{
    ProfileFile ini(settingsFilePath());
    const QString section = QStringLiteral("Ports");
    if (!args.isEmpty()) {
        const bool map = args.front() == QLatin1String("--map") && args.size() == 3;
        const bool unmap = args.front() == QLatin1String("--unmap") && args.size() == 2;
        if (!map && !unmap) {
            printErr(QStringLiteral("usage: kelmora-cli %1").arg(QString::fromUtf8(Usage)));
            return ExitUsage;
        }
        const bool written = map ? ini.writeString(section, args[1], args[2]) : ini.removeKey(section, args[1]);
        if (!written) {
            printErr(QStringLiteral("Unable to write to %1").arg(ini.path()));
            return 1;
        }
    }
    const PortNameMap mapping = PortNameMap::fromSettingsFile(ini.path());
    for (const QString& name : portNames()) {
        const QString device = mapping.devicePath(name);
        const bool overridden = device != PortNameMap::defaultDevicePath(name);
        printOut(QStringLiteral("%1 %2%3").arg(name, -10).arg(device, overridden ? QStringLiteral("  (kelmora.ini)") : QString()));
    }
    printOut(QStringLiteral("data directory: %1").arg(dataDirectory()));
    return 0;
}

const Command ports("ports", Usage, run);

}  // namespace
