// kelmora-cli report: builds the report of a report file (as loading it in the window does,
// without preparing it) and writes the text or HTML export, byte for byte as the window would.
#include "platform/clock.h"
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "cli/report_input.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/date_time.h"
#include "report/number_format.h"
#include "views/csv_export.h"
#include "views/export_file.h"
#include "report/report_builder.h"
#include "views/table_export.h"
#include "views/xls_workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {

constexpr const char* Usage =
    QT_TRANSLATE_NOOP("Cli", "report FILE [--mode rh|dew|abs] [--from \"YYYY-MM-DD hh:mm\"] [--to \"YYYY-MM-DD hh:mm\"] "
    "[--thresholds \"MINH;MAXH;MINT;MAXT\"] [--settings INI] --format txt|htm|xls|csv --out PATH   export a report (csv: every reading of the interval; "
    "--out - writes txt, htm or csv to standard output)");

const CommandText Text{"report", Usage};

int run(const QStringList& args)
{
    ReportInput o;
    if (!ParseReportCommand(Text, args, {QStringLiteral("txt"), QStringLiteral("htm"), QStringLiteral("xls"), QStringLiteral("csv")}, o))
        return ExitUsage;
    if (o.out == kStandardOutputName && o.format == QLatin1String("xls")) {
        printErr(Cli::tr("kelmora-cli report: --out - takes txt, htm or csv; a workbook goes to a file"));
        return ExitUsage;
    }
    if (OutIsTheReport(Text, o))
        return ExitUsage;
    // Display mode and thresholds as the window would load them, options in place of theirs.
    const std::optional<KelSettings> stored = LoadStoredSettings(Text, o);
    if (!stored)
        return ExitNoAnswer;
    try {
        const std::optional<ReportState> loaded = LoadReportInput(Text, o);
        if (!loaded)
            return ExitNoAnswer;
        const ReportState& state = *loaded;
        if (o.format == QLatin1String("csv")) {
            SaveToCSV(o.out, state);
            return 0;
        }
        const ReportSettings settings = ReportSettingsFor(o, *stored);
        const ReportTable table = BuildReport(state, settings, false);
        if (o.format == QLatin1String("txt"))
            SaveToASCII(o.out, table);
        else if (o.format == QLatin1String("xls"))
            SaveToXLS(o.out, table);
        else
            SaveToHTML(o.out, table, PlatformColors{0xF0F0F0, 0xFFFFFF, 0x000000});
    } catch (const ReportFileError& e) {
        printErr(Cli::tr("kelmora-cli report: %1").arg(e.text()));
        return ExitNoAnswer;
    }
    return 0;
}

const Command reportCommand("report", Usage, run);

}  // namespace
