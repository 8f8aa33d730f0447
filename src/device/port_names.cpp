#include "device/port_names.h"

#include "platform/profile_file.h"

const QStringList& portNames()
{
    static const QStringList names = [] {
        QStringList n;
        for (int i = 1; i <= 20; ++i)
            n << (i <= 9 ? QStringLiteral("COM%1").arg(i) : QStringLiteral("\\\\.\\COM%1").arg(i));
        return n;
    }();
    return names;
}

PortNameMap::PortNameMap(const QMap<QString, QString>& overrides)
{
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        overrides_.insert(it.key().toUpper(), it.value());
}

PortNameMap PortNameMap::fromSettingsFile(const QString& iniPath)
{
    const ProfileFile ini(iniPath);
    QMap<QString, QString> overrides;
    const QString section = QStringLiteral("Ports");
    for (const QString& key : ini.keys(section)) {
        const QString device = ini.readString(section, key);
        if (!device.isEmpty())
            overrides.insert(key, device);
    }
    return PortNameMap(overrides);
}

QString PortNameMap::defaultDevicePath(const QString& name)
{
#ifdef Q_OS_WIN
    return portNames().contains(name, Qt::CaseInsensitive) ? name : QString();
#else
    int index = -1;
    for (int i = 0; i < portNames().size() && index < 0; ++i)
        if (portNames()[i].compare(name, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0)
        return {};
    const int number = index + 1;
    if (number <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(number - 1);
    if (number <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(number - 5);
    return QStringLiteral("/dev/ttyACM%1").arg(number - 13);
#endif
}

QString PortNameMap::devicePath(const QString& name) const
{
    const auto it = overrides_.constFind(name.toUpper());
    if (it != overrides_.constEnd())
        return it.value();
    const QString builtIn = defaultDevicePath(name);
    return builtIn.isEmpty() ? name : builtIn;
}
