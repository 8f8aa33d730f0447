#include "logging/report_name.h"

#include "logging/report_pool.h"

std::optional<ReportNameFault> ReportNameFaultOf(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return ReportNameFault::Empty;
    if (trimmed.contains(QLatin1Char('/')) || trimmed.contains(QLatin1Char('\\')))
        return ReportNameFault::Separator;
    for (const QChar c : trimmed)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return ReportNameFault::ControlCharacter;
    if (trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
        return ReportNameFault::DotName;
    // A leading dot makes a hidden file (or the bare ".dat") that the report list never shows.
    if (name.startsWith(QLatin1Char('.')))
        return ReportNameFault::LeadingDot;
    // The scratch report's file is deleted at every close: a report saved there would vanish.
    if (ReportFileName(name).compare(kScratchReportName + QStringLiteral(".dat"), Qt::CaseInsensitive) == 0)
        return ReportNameFault::ScratchReport;
    // Room for ".dat" within the usual 255-byte limit of a file name.
    if (trimmed.toUtf8().size() > 250)
        return ReportNameFault::TooLong;
    return std::nullopt;
}

std::optional<QString> ReportNameProblem(const QString& name)
{
    const std::optional<ReportNameFault> fault = ReportNameFaultOf(name);
    if (!fault)
        return std::nullopt;
    switch (*fault) {
    case ReportNameFault::Empty:
        return QStringLiteral("имя пустое");
    case ReportNameFault::Separator:
        return QStringLiteral("имя не может содержать \"/\" или \"\\\"");
    case ReportNameFault::ControlCharacter:
        return QStringLiteral("имя не может содержать управляющие символы");
    case ReportNameFault::DotName:
        return QStringLiteral("\"%1\" не может быть именем файла").arg(name.trimmed());
    case ReportNameFault::LeadingDot:
        return QStringLiteral("имя не может начинаться с точки");
    case ReportNameFault::ScratchReport:
        return QStringLiteral("имя \"%1\" занято временным отчетом").arg(kScratchReportName);
    case ReportNameFault::TooLong:
        return QStringLiteral("имя слишком длинное");
    }
    return std::nullopt;
}
