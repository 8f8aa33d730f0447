#include "platform/settings.h"

#include <variant>

namespace {

const QString Section = SettingsKeys::Section;

// One key of the file: its name, the value it holds, and how it is written.
struct SettingsKey {
    const char* name;
    std::variant<int KelSettings::*, std::uint8_t KelSettings::*, QString KelSettings::*, bool KelSettings::*> member;
    bool maskedText = false;       // a masked number field's text: untyped positions (blanks) written as zeros
    bool onlyWhenPositive = false;  // written only when above 0
};

// The keys in the order they are read and written.
const SettingsKey kKeys[] = {
    {"Ortanel", &KelSettings::ortanel, false, true},
    {"Port", &KelSettings::portIndex},
    {"minh", &KelSettings::minHumidity, true},
    {"maxh", &KelSettings::maxHumidity, true},
    {"mint", &KelSettings::minTemperature, true},
    {"maxt", &KelSettings::maxTemperature, true},
    {"interval", &KelSettings::interval},
    {"Indic", &KelSettings::displayMode},
    {"modeRH", &KelSettings::humidityAxisMode},
    {"modeT", &KelSettings::temperatureAxisMode},
    {"min_RH", &KelSettings::humidityAxisMin, true},
    {"max_RH", &KelSettings::humidityAxisMax, true},
    {"min_T", &KelSettings::temperatureAxisMin, true},
    {"max_T", &KelSettings::temperatureAxisMax, true},
    {"colorChart", &KelSettings::colorChart},
    {"usb", &KelSettings::usb},
};

template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

}  // namespace

const QStringList& SettingsKeys::order()
{
    static const QStringList keys = [] {
        QStringList names;
        for (const SettingsKey& k : kKeys)
            names << QString::fromLatin1(k.name);
        return names;
    }();
    return keys;
}

KelSettings ReadKelSettings(const ProfileFile& file)
{
    const KelSettings defaults;
    KelSettings s;
    for (const SettingsKey& k : kKeys) {
        const QString key = QString::fromLatin1(k.name);
        std::visit(Overloaded{
                       [&](int KelSettings::*m) { s.*m = file.readInteger(Section, key, defaults.*m); },
                       [&](std::uint8_t KelSettings::*m) {
                           s.*m = static_cast<std::uint8_t>(file.readInteger(Section, key, defaults.*m) & 0xFF);
                       },
                       [&](QString KelSettings::*m) { s.*m = file.readString(Section, key, defaults.*m); },
                       [&](bool KelSettings::*m) { s.*m = file.readBool(Section, key, defaults.*m); },
                   },
                   k.member);
    }
    return s;
}

void WriteKelSettings(ProfileFile& file, const KelSettings& s)
{
    for (const SettingsKey& k : kKeys) {
        const QString value = std::visit(
            Overloaded{
                [&](int KelSettings::*m) { return QString::number(s.*m); },
                [&](std::uint8_t KelSettings::*m) { return QString::number(s.*m); },
                [&](QString KelSettings::*m) {
                    return k.maskedText ? QString(s.*m).replace(QLatin1Char(' '), QLatin1Char('0')) : s.*m;
                },
                [&](bool KelSettings::*m) { return s.*m ? QStringLiteral("1") : QStringLiteral("0"); },
            },
            k.member);
        if (k.onlyWhenPositive && value.toInt() <= 0)
            continue;
        if (!file.writeString(Section, QString::fromLatin1(k.name), value))
            throw SettingsFileError(QStringLiteral("Unable to write to %1").arg(file.path()));
    }
}
