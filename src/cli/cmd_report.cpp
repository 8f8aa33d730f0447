// kelmora-cli report: builds the report of a report file (as loading it in the window does,
// without preparing it) and writes the text or HTML export, byte for byte as the window would.
#include "app/clock.h"
#include "cli/cli_meter.h"
#include "cli/command.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/number_format.h"
#include "views/csv_export.h"
#include "report/report_builder.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>
#include <sys/stat.h>

namespace {

constexpr const char* Usage =
    "report FILE [--mode rh|dew|abs] [--from \"YYYY-MM-DD hh:mm\"] [--to \"YYYY-MM-DD hh:mm\"] "
    "[--thresholds \"MINH;MAXH;MINT;MAXT\"] --format txt|htm|xls|csv --out PATH   export a report (csv: every reading of the interval)";

struct ReportOptions {
    QString file;
    int mode = kRelativeHumidity;
    std::optional<double> from;
    std::optional<double> to;
    QStringList thresholds{QStringLiteral("+00,0"), QStringLiteral("+99,9"), QStringLiteral("-40,0"), QStringLiteral("+60,0")};
    QString format;
    QString out;
};

bool usage(const QString& problem)
{
    printErr(QStringLiteral("kelmora-cli report: %1\nusage: kelmora-cli %2").arg(problem, QString::fromUtf8(Usage)));
    return false;
}

bool parse(const QStringList& args, ReportOptions& o)
{
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](const char* what, QString& out) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("%1 needs %2").arg(a, QLatin1String(what)));
            out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--mode")) {
            if (!value("rh, dew or abs", v))
                return false;
            if (v == QLatin1String("rh"))
                o.mode = kRelativeHumidity;
            else if (v == QLatin1String("dew"))
                o.mode = kDewPoint;
            else if (v == QLatin1String("abs"))
                o.mode = kAbsoluteHumidity;
            else
                return usage(QStringLiteral("--mode \"%1\" is not rh, dew or abs").arg(v));
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
            if (!value("a date and time \"YYYY-MM-DD hh:mm\"", v))
                return false;
            const auto t = ParseIsoMinute(v);
            if (!t)
                return usage(QStringLiteral("%1 \"%2\" is not a date and time \"YYYY-MM-DD hh:mm\"").arg(a, v));
            (a == QLatin1String("--from") ? o.from : o.to) = t;
        } else if (a == QLatin1String("--thresholds")) {
            if (!value("four threshold texts \"MINH;MAXH;MINT;MAXT\"", v))
                return false;
            const QStringList parts = v.split(QLatin1Char(';'));
            if (parts.size() != 4)
                return usage(QStringLiteral("--thresholds \"%1\" is not four texts separated by \";\"").arg(v));
            // The window's threshold fields hold numbers only (blanks count as zeros); a text
            // that is no number would silently become 0.
            static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?\\s*$"));
            for (const QString& part : parts)
                if (!number.match(BlanksToZeros(part)).hasMatch())
                    return usage(QStringLiteral("--thresholds \"%1\": \"%2\" is not a number").arg(v, part));
            o.thresholds = parts;
        } else if (a == QLatin1String("--format")) {
            if (!value("txt, htm, xls or csv", o.format))
                return false;
            if (o.format != QLatin1String("txt") && o.format != QLatin1String("htm") && o.format != QLatin1String("xls")
                && o.format != QLatin1String("csv"))
                return usage(QStringLiteral("--format \"%1\" is not txt, htm, xls or csv").arg(o.format));
        } else if (a == QLatin1String("--out")) {
            if (!value("a file path", o.out))
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("unknown option %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 1)
        return usage(QStringLiteral("one FILE is needed"));
    if (o.format.isEmpty())
        return usage(QStringLiteral("--format is needed"));
    if (o.out.isEmpty())
        return usage(QStringLiteral("--out is needed"));
    o.file = positional.front();
    return true;
}

int run(const QStringList& args)
{
    ReportOptions o;
    if (!parse(args, o))
        return ExitUsage;
    const QFileInfo info(o.file);
    if (!info.exists()) {
        printErr(QStringLiteral("kelmora-cli report: %1: no such file").arg(o.file));
        return ExitNoAnswer;
    }
    if (!info.isFile()) {
        printErr(QStringLiteral("kelmora-cli report: %1: not a report file").arg(o.file));
        return ExitNoAnswer;
    }
    // The export would replace the report it is made from (the same file, also through a
    // link or under another name).
    struct stat in {}, out {};
    if (::stat(QFile::encodeName(o.file).constData(), &in) == 0 && ::stat(QFile::encodeName(o.out).constData(), &out) == 0
        && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
        printErr(QStringLiteral("kelmora-cli report: --out %1 is the report itself; choose another file").arg(o.out));
        return ExitUsage;
    }
    try {
        ReportState state;
        LoadReport(o.file, state);
        QString device = info.fileName();
        if (device.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
            device.chop(4);
        state.DeviceNumberText = device;
        // Without --from and --to the interval is the report's own first and last minute (as
        // the selection dialog proposes), so a logger whose clock ran ahead loses no rows.
        std::optional<double> first, last;
        for (qsizetype i = 0; i < std::min(state.ReportCount, state.ReportData.size()); ++i)
            if (const std::optional<double> minute = TryTruncToMinute(state.ReportData[i].dt)) {
                first = first ? std::min(*first, *minute) : *minute;
                last = last ? std::max(*last, *minute) : *minute;
            }
        state.IntervalStart = o.from ? *o.from : first.value_or(0.0);
        state.IntervalEnd = o.to ? *o.to : last.value_or(0.0);
        if ((o.from || o.to) && first) {
            const std::optional<double> start = TryTruncToMinute(state.IntervalStart);
            const std::optional<double> end = TryTruncToMinute(state.IntervalEnd);
            qsizetype outside = 0;
            for (qsizetype i = 0; i < std::min(state.ReportCount, state.ReportData.size()); ++i) {
                const std::optional<double> minute = TryTruncToMinute(state.ReportData[i].dt);
                outside += minute && ((start && *minute < *start) || (end && *minute > *end));
            }
            if (outside > 0)
                printErr(QStringLiteral("kelmora-cli report: %1 of %2 records lie outside the interval and are left out")
                             .arg(outside).arg(state.ReportCount));
        }

        if (o.format == QLatin1String("csv")) {
            SaveToCSV(o.out, state);
            return 0;
        }
        ReportSettings settings;
        settings.displayMode = o.mode;
        settings.minHumidityText = o.thresholds[0];
        settings.maxHumidityText = o.thresholds[1];
        settings.minTemperatureText = o.thresholds[2];
        settings.maxTemperatureText = o.thresholds[3];
        const ReportTable table = BuildReport(state, settings, false);
        if (o.format == QLatin1String("txt"))
            SaveToASCII(o.out, table);
        else if (o.format == QLatin1String("xls"))
            SaveToXLS(o.out, table);
        else
            SaveToHTML(o.out, table, PlatformColors{0xF0F0F0, 0xFFFFFF, 0x000000});
    } catch (const ReportFileError& e) {
        printErr(QStringLiteral("kelmora-cli report: %1").arg(e.text()));
        return ExitNoAnswer;
    }
    return 0;
}

const Command reportCommand("report", Usage, run);

}  // namespace
