#include "logging/report_name.h"

std::optional<QString> ReportNameProblem(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("имя пустое");
    if (trimmed.contains(QLatin1Char('/')) || trimmed.contains(QLatin1Char('\\')))
        return QStringLiteral("имя не может содержать \"/\" или \"\\\"");
    for (const QChar c : trimmed)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("имя не может содержать управляющие символы");
    if (trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
        return QStringLiteral("\"%1\" не может быть именем файла").arg(trimmed);
    // Room for ".dat" within the usual 255-byte limit of a file name.
    if (trimmed.toUtf8().size() > 250)
        return QStringLiteral("имя слишком длинное");
    return std::nullopt;
}
