#include "platform/settings.h"

namespace {

// A masked number field's text as the file keeps it: untyped positions (blanks) as zeros.
QString storedMaskText(const QString& text)
{
    return QString(text).replace(QLatin1Char(' '), QLatin1Char('0'));
}

const QString Section = SettingsKeys::Section;

void put(ProfileFile& file, const QString& key, const QString& value)
{
    if (!file.writeString(Section, key, value))
        throw EIniFileException(QStringLiteral("Unable to write to %1").arg(file.path()));
}

}  // namespace

const QStringList& SettingsKeys::order()
{
    static const QStringList keys{
        QStringLiteral("Ortanel"), QStringLiteral("Port"),     QStringLiteral("minh"),
        QStringLiteral("maxh"),    QStringLiteral("mint"),     QStringLiteral("maxt"),
        QStringLiteral("interval"), QStringLiteral("Indic"),   QStringLiteral("modeRH"),
        QStringLiteral("modeT"),   QStringLiteral("min_RH"),   QStringLiteral("max_RH"),
        QStringLiteral("min_T"),   QStringLiteral("max_T"),    QStringLiteral("colorChart"),
        QStringLiteral("usb")};
    return keys;
}

KelSettings ReadKelSettings(const ProfileFile& file)
{
    const KelSettings d;
    KelSettings s;
    s.Ortanel = file.readInteger(Section, QStringLiteral("Ortanel"), d.Ortanel);
    s.Port = file.readInteger(Section, QStringLiteral("Port"), d.Port);
    s.minh = file.readString(Section, QStringLiteral("minh"), d.minh);
    s.maxh = file.readString(Section, QStringLiteral("maxh"), d.maxh);
    s.mint = file.readString(Section, QStringLiteral("mint"), d.mint);
    s.maxt = file.readString(Section, QStringLiteral("maxt"), d.maxt);
    s.interval = file.readString(Section, QStringLiteral("interval"), d.interval);
    s.Indic = static_cast<std::uint8_t>(file.readInteger(Section, QStringLiteral("Indic"), d.Indic) & 0xFF);
    s.modeRH = file.readInteger(Section, QStringLiteral("modeRH"), d.modeRH);
    s.modeT = file.readInteger(Section, QStringLiteral("modeT"), d.modeT);
    s.min_RH = file.readString(Section, QStringLiteral("min_RH"), d.min_RH);
    s.max_RH = file.readString(Section, QStringLiteral("max_RH"), d.max_RH);
    s.min_T = file.readString(Section, QStringLiteral("min_T"), d.min_T);
    s.max_T = file.readString(Section, QStringLiteral("max_T"), d.max_T);
    s.colorChart = file.readBool(Section, QStringLiteral("colorChart"), d.colorChart);
    s.usb = file.readBool(Section, QStringLiteral("usb"), d.usb);
    return s;
}

void WriteKelSettings(ProfileFile& file, const KelSettings& s)
{
    if (s.Ortanel > 0)
        put(file, QStringLiteral("Ortanel"), QString::number(s.Ortanel));
    put(file, QStringLiteral("Port"), QString::number(s.Port));
    put(file, QStringLiteral("minh"), storedMaskText(s.minh));
    put(file, QStringLiteral("maxh"), storedMaskText(s.maxh));
    put(file, QStringLiteral("mint"), storedMaskText(s.mint));
    put(file, QStringLiteral("maxt"), storedMaskText(s.maxt));
    put(file, QStringLiteral("interval"), s.interval);
    put(file, QStringLiteral("Indic"), QString::number(s.Indic));
    put(file, QStringLiteral("modeRH"), QString::number(s.modeRH));
    put(file, QStringLiteral("modeT"), QString::number(s.modeT));
    put(file, QStringLiteral("min_RH"), storedMaskText(s.min_RH));
    put(file, QStringLiteral("max_RH"), storedMaskText(s.max_RH));
    put(file, QStringLiteral("min_T"), storedMaskText(s.min_T));
    put(file, QStringLiteral("max_T"), storedMaskText(s.max_T));
    put(file, QStringLiteral("colorChart"), s.colorChart ? QStringLiteral("1") : QStringLiteral("0"));
    put(file, QStringLiteral("usb"), s.usb ? QStringLiteral("1") : QStringLiteral("0"));
}
