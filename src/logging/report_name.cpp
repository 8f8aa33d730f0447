#include "logging/report_name.h"

#include "logging/report_pool.h"

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
    // A leading dot makes a hidden file (or the bare ".dat") that the report list never shows.
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("имя не может начинаться с точки");
    // The scratch report's file is deleted at every close: a report saved there would vanish.
    const QString fileName = ReportFileName(name);
    if (fileName.compare(kScratchReportName + QStringLiteral(".dat"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("имя \"%1\" занято временным отчетом").arg(kScratchReportName);
    // Room for ".dat" within the usual 255-byte limit of a file name.
    if (trimmed.toUtf8().size() > 250)
        return QStringLiteral("имя слишком длинное");
    return std::nullopt;
}
