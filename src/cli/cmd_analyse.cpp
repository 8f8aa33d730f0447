// kelmora-cli analyse: what the climate of a report interval did — time beyond the thresholds,
// daily figures, mean kinetic temperature, wood moisture, lifetime multiplier, mould hours —
// as a Russian page, the daily table as CSV, or JSON for scripts.
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "cli/report_input.h"
#include "logging/report_file_error.h"
#include "report/climate_analysis.h"
#include "views/climate_analysis_text.h"
#include "views/export_file.h"

#include <QFile>
#include <QIODevice>


namespace {

constexpr const char* Usage =
    QT_TRANSLATE_NOOP("Cli", "analyse FILE [--from \"YYYY-MM-DD hh:mm\"] [--to \"YYYY-MM-DD hh:mm\"] "
    "[--thresholds \"MINH;MAXH;MINT;MAXT\"] [--gap MINUTES] [--activation-energy KJ_PER_MOL] "
    "[--lm-activation-energy KJ_PER_MOL] [--settings INI] --format txt|csv|json [--out PATH|-]   "
    "climate analysis of the report's interval: time beyond the thresholds, daily figures, mean kinetic "
    "temperature (activation energy default 83.144), wood moisture, lifetime multiplier (default 100), "
    "mould hours; csv: the daily table; without --out to standard output");

const CommandText Text{"analyse", Usage};

struct AnalyseOptions : ReportInput {
    ClimateAnalysisOptions analysis;
};

// A positive number of the command's own options: --gap, --activation-energy, --lm-activation-energy.
OptionTaken takeAnalyseOption(const QStringList& args, int& i, AnalyseOptions& o)
{
    const QString& a = args[i];
    double* target = a == QLatin1String("--gap")                    ? &o.analysis.gapMinutes
                     : a == QLatin1String("--activation-energy")    ? &o.analysis.mktActivationKjPerMol
                     : a == QLatin1String("--lm-activation-energy") ? &o.analysis.lifetimeActivationKjPerMol
                                                                    : nullptr;
    if (!target)
        return OptionTaken::No;
    if (i + 1 >= args.size()) {
        Text.usageError(Cli::tr("%1 needs a positive number").arg(a));
        return OptionTaken::Bad;
    }
    bool ok = false;
    const double value = args[i + 1].trimmed().toDouble(&ok);
    // 10 000 kJ/mol or 100 000 minutes are far beyond any use; larger values overflow the sums.
    const double limit = a == QLatin1String("--gap") ? 1e5 : 1e4;
    if (!ok || !(value > 0) || value > limit) {
        Text.usageError(Cli::tr("%1 \"%2\" is not a positive number up to %3").arg(a, args[i + 1]).arg(limit));
        return OptionTaken::Bad;
    }
    *target = value;
    ++i;
    return OptionTaken::Yes;
}

int run(const QStringList& given)
{
    AnalyseOptions o;
    // Without --out the page goes to standard output; a later --out takes its place.
    const QStringList args = QStringList{QStringLiteral("--out"), kStandardOutputName} + given;
    if (!ParseReportCommand(Text, args, {QStringLiteral("txt"), QStringLiteral("csv"), QStringLiteral("json")}, o,
                            [&o](const QStringList& a, int& i) { return takeAnalyseOption(a, i, o); }))
        return ExitUsage;
    // The analysis covers every channel: a display mode would change nothing.
    if (o.modeGiven) {
        Text.usageError(Cli::tr("--mode does not go with analyse: the analysis covers every channel"));
        return ExitUsage;
    }
    if (OutIsTheReport(Text, o))
        return ExitUsage;
    // The thresholds as the report table colours them: the settings file's, or --thresholds.
    const std::optional<KelSettings> stored = LoadStoredSettings(Text, o);
    if (!stored)
        return ExitNoAnswer;
    const ReportSettings settings = ReportSettingsFor(o, *stored);
    o.analysis.thresholds = ThresholdsFromMaskTexts(settings.minHumidityText, settings.maxHumidityText,
                                                    settings.minTemperatureText, settings.maxTemperatureText);
    try {
        const std::optional<ReportState> loaded = LoadReportInput(Text, o);
        if (!loaded)
            return ExitNoAnswer;
        const ClimateAnalysis analysis = AnalyseClimate(loaded->records(), loaded->IntervalStart, loaded->IntervalEnd, o.analysis);
        const QByteArray bytes = o.format == QLatin1String("json") ? ClimateAnalysisJson(analysis)
                                 : o.format == QLatin1String("csv") ? ClimateAnalysisCsv(analysis)
                                                                    : ClimateAnalysisText(analysis).toUtf8();
        WriteExportFile(o.out, [&bytes](QIODevice& device) {
            if (device.write(bytes) != bytes.size())
                throw ReportFileError(device.errorString());
        });
    } catch (const ReportFileError& e) {
        printErr(Cli::tr("kelmora-cli analyse: %1").arg(e.text()));
        return ExitNoAnswer;
    }
    return 0;
}

const Command analyseCommand("analyse", Usage, run);

}  // namespace
