// Fuzz target: a settings file of arbitrary bytes read, a value written and read back; the
// other lines must stay as they were.
#include "platform/profile_file.h"

#include "scratch_file.h"

#include <QFile>

#include <cstdint>

namespace {
const QString& iniPath()
{
    static const QString path = ScratchFile(QStringLiteral("kelmora.ini"));
    return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QFile file(iniPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    ProfileFile ini(iniPath());
    const QStringList keys = ini.keys(QStringLiteral("Kel"));
    for (const QString& key : keys) {
        ini.readString(QStringLiteral("Kel"), key);
        ini.readInteger(QStringLiteral("Kel"), key, 0);
    }
    const QStringList ports = ini.keys(QStringLiteral("Ports"));
    // A written value reads back as written, and writing it changes no other key's value.
    const QString before = ini.readString(QStringLiteral("Ports"), QStringLiteral("COM2"));
    if (!ini.writeString(QStringLiteral("Kel"), QStringLiteral("interval"), QStringLiteral("120")))
        return 0;
    if (ini.readString(QStringLiteral("Kel"), QStringLiteral("interval")) != QLatin1String("120"))
        __builtin_trap();
    if (ini.readString(QStringLiteral("Ports"), QStringLiteral("COM2")) != before)
        __builtin_trap();
    if (!ini.removeKey(QStringLiteral("Kel"), QStringLiteral("interval")))
        return 0;
    if (ini.hasKey(QStringLiteral("Kel"), QStringLiteral("interval")))
        __builtin_trap();
    (void)ports;
    return 0;
}
