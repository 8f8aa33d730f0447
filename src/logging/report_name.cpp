#include "logging/report_name.h"

std::optional<QString> ReportNameProblem(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("the name is empty");
    if (trimmed.contains(QLatin1Char('/')) || trimmed.contains(QLatin1Char('\\')))
        return QStringLiteral("a report name cannot contain \"/\" or \"\\\"");
    for (const QChar c : trimmed)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("a report name cannot contain control characters");
    if (trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a file name").arg(trimmed);
    // Room for ".dat" within the usual 255-byte limit of a file name.
    if (trimmed.toUtf8().size() > 250)
        return QStringLiteral("the name is too long");
    return std::nullopt;
}
