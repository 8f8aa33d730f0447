// kelmora-cli ports: the twenty port names and the device each opens; --map and --unmap
// change the overrides in section [Ports] of kelmora.ini in the data directory, which the
// listing names last.
#include "platform/app_paths.h"
#include "platform/profile_file.h"
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "device/port_names.h"

#include <algorithm>

namespace {

constexpr const char* Usage = QT_TRANSLATE_NOOP("Cli", "ports [--map NAME DEVICE | --unmap NAME]   port names and their devices");

int run(const QStringList& args)
{
    ProfileFile ini(settingsFilePath());
    const QString section = QStringLiteral("Ports");
    if (!args.isEmpty()) {
        const bool map = args.front() == QLatin1String("--map") && args.size() == 3;
        const bool unmap = args.front() == QLatin1String("--unmap") && args.size() == 2;
        if (!map && !unmap) {
            printErr(UsageLine(Usage));
            return ExitUsage;
        }
        // Only the names of the port list can be pointed elsewhere; any other name would be
        // written to kelmora.ini and never read.
        const QStringList& listed = portNames();
        const auto at = std::find_if(listed.begin(), listed.end(),
                                     [&](const QString& n) { return n.compare(args[1], Qt::CaseInsensitive) == 0; });
        if (at == listed.end()) {
            const auto wide = std::find_if(listed.begin(), listed.end(), [&](const QString& n) {
                return n.endsWith(QLatin1Char('\\') + args[1], Qt::CaseInsensitive);
            });
            printErr(wide != listed.end()
                         ? Cli::tr("kelmora-cli ports: \"%1\" is not a name of the port list (the list names it %2); "
                                   "\"kelmora-cli ports\" lists them")
                               .arg(args[1], *wide)
                         : Cli::tr("kelmora-cli ports: \"%1\" is not a name of the port list; \"kelmora-cli ports\" lists them")
                               .arg(args[1]));
            return ExitUsage;
        }
        if (map && args[2].trimmed().isEmpty()) {
            printErr(Cli::tr("kelmora-cli ports: --map %1 needs a device path").arg(*at));
            return ExitUsage;
        }
        if (unmap && !ini.hasKey(section, *at)) {
            printErr(Cli::tr("kelmora-cli ports: %1 is not mapped; it opens %2")
                         .arg(*at, PortNameMap::defaultDevicePath(*at)));
            return 0;
        }
        const bool written = map ? ini.writeString(section, *at, args[2]) : ini.removeKey(section, *at);
        if (!written) {
            printErr(Cli::tr("Unable to write to %1").arg(ini.path()));
            return 1;
        }
    }
    const PortNameMap mapping = PortNameMap::fromSettingsFile(ini.path());
    for (const QString& name : portNames()) {
        const QString device = mapping.devicePath(name);
        const bool overridden = device != PortNameMap::defaultDevicePath(name);
        printOut(QStringLiteral("%1 %2%3").arg(name, -10).arg(device, overridden ? QStringLiteral("  (kelmora.ini)") : QString()));
    }
    printOut(Cli::tr("data directory: %1").arg(dataDirectory()));
    return 0;
}

const Command ports("ports", Usage, run);

}  // namespace
