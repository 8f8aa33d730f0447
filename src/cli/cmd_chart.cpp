// kelmora-cli chart: the two charts of a report file as the window draws them, written as the
// window's picture export writes them (two bitmaps or two metafiles) or as its graph printout
// on a PDF page. The charts are made by the window's own code on an off-screen surface, so no
// display is needed.
#include "widgets/bevel_panel.h"
#include "cli/cli_meter.h"
#include "cli/cli_text.h"
#include "cli/command.h"
#include "cli/report_input.h"
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "report/report_builder.h"
#include "views/chart_axis.h"
#include "views/view_settings.h"
#include "views/ui/graph_charts.h"
#include "views/ui/time_chart.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPixmap>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <exception>
#include <memory>

namespace {

constexpr const char* Usage =
    QT_TRANSLATE_NOOP("Cli", "chart FILE [--mode rh|dew|abs] [--from \"YYYY-MM-DD hh:mm\"] [--to \"YYYY-MM-DD hh:mm\"] "
    "[--thresholds \"MINH;MAXH;MINT;MAXT\"] [--size WxH] [--dividers N] [--settings INI] --format bmp|wmf|pdf --out PATH   "
    "chart pictures (PATH.bmp1/.bmp2, PATH.wmf1/.wmf2) or the graph printout as PDF; --dividers: the plot split "
    "into N parts (2 to 99) by green lines");

const CommandText Text{"chart", Usage};

// The graph page's panel in the window at its design size: the charts share this area.
constexpr QSize DefaultPanelSize(1012, 626);

struct ChartOptions : ReportInput {
    QSize size = DefaultPanelSize;
    int dividers = 0;  // parts the dividers split the plot into; 0: none
};

// The chart's own options: --size and --dividers.
OptionTaken takeChartOption(const QStringList& args, int& i, ChartOptions& o)
{
    const QString& a = args[i];
    if (a == QLatin1String("--dividers")) {
        // As the graph setup's field takes it: a whole number of parts from 2 to 99.
        bool ok = false;
        const int parts = i + 1 < args.size() ? args[i + 1].trimmed().toInt(&ok) : 0;
        if (!ok || parts < 2 || parts > 99) {
            Text.usageError(i + 1 < args.size() ? Cli::tr("--dividers \"%1\" is not a whole number of parts from 2 to 99").arg(args[i + 1])
                                                : Cli::tr("--dividers needs a number of parts from 2 to 99"));
            return OptionTaken::Bad;
        }
        o.dividers = parts;
        ++i;
        return OptionTaken::Yes;
    }
    if (a != QLatin1String("--size"))
        return OptionTaken::No;
    if (i + 1 >= args.size()) {
        Text.usageError(Cli::tr("--size needs a size WxH in pixels"));
        return OptionTaken::Bad;
    }
    const QString v = args[++i];
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const auto m = form.match(v);
    const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
    // Below this the axes leave no plot; above it a bitmap would take gigabytes.
    if (w < 100 || h < 100 || w > 10000 || h > 10000) {
        Text.usageError(Cli::tr("--size \"%1\" is not WxH with a width and height from 100 to 10000 pixels").arg(v));
        return OptionTaken::Bad;
    }
    o.size = QSize(w, h);
    return OptionTaken::Yes;
}

int run(const QStringList& args)
{
    ChartOptions o;
    if (!ParseReportCommand(Text, args, {QStringLiteral("bmp"), QStringLiteral("wmf"), QStringLiteral("pdf")}, o,
                            [&o](const QStringList& a, int& i) { return takeChartOption(a, i, o); }))
        return ExitUsage;
    // No output may replace the report it is made from (also through a link or another name).
    const QStringList outputs =
        o.format == QLatin1String("pdf")
            ? QStringList{o.out}
            : QStringList{ChangeFileExt(o.out, QLatin1String(".") + o.format + QLatin1String("1")),
                          ChangeFileExt(o.out, QLatin1String(".") + o.format + QLatin1String("2"))};
    for (const QString& output : outputs)
        if (SameReportFile(o.file, output)) {
            Text.error(Cli::tr("--out %1 is the report itself; choose another file").arg(output));
            return ExitUsage;
        }
    // What the window would load at its start: display mode, thresholds, point colours, the
    // axis modes and manual limits. Options given on the command line take the place of theirs.
    const std::optional<KelSettings> stored = LoadStoredSettings(Text, o);
    if (!stored)
        return ExitNoAnswer;
    const QString settingsPath = StoredSettingsPath(o);
    try {
        const std::optional<ReportState> loaded = LoadReportInput(Text, o);
        if (!loaded)
            return ExitNoAnswer;
        const ReportSettings settings = ReportSettingsFor(o, *stored);
        auto table = std::make_shared<const ReportTable>(BuildReport(*loaded, settings, false));

        // The graph page's panel with its two charts, laid out as the window lays them out.
        BevelPanel panel;
        panel.setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
        panel.resize(o.size);
        TimeChart* humidity = new TimeChart(&panel);
        TimeChart* temperature = new TimeChart(&panel);
        SetUpHumidityChart(*humidity);
        SetUpTemperatureChart(*temperature);
        const int displayMode = settings.displayMode;
        humidity->leftAxis().setTitle(HumidityAxisTitle(displayMode));
        QObject::connect(humidity, &TimeChart::getAxisLabel, [humidity, displayMode](ChartAxis* axis, QString& text) {
            RewriteAxisLabel(*humidity, GraphChart::Humidity, displayMode, axis, text);
        });
        QObject::connect(temperature, &TimeChart::getAxisLabel, [temperature, displayMode](ChartAxis* axis, QString& text) {
            RewriteAxisLabel(*temperature, GraphChart::Temperature, displayMode, axis, text);
        });
        ShowTableOnCharts(*humidity, *temperature, table);
        if (o.dividers > 0)
            for (TimeChart* chart : {humidity, temperature})
                QObject::connect(chart, &TimeChart::afterDraw, [parts = o.dividers](QPainter& painter, const QRect& plot) {
                    DrawPartDividers(true, parts, painter, plot);
                });
        // Laid out once with both charts showing, as the window's page is when it is made: a
        // chart the settings hide keeps that size for its picture, as in the window.
        const int frame = panel.frameWidth();
        const QRect area = panel.rect().adjusted(frame, frame, -frame, -frame);
        LayOutCharts(*humidity, *temperature, area, ChartAlign::Top, HumidityStripHeight(panel.height()));

        const GraphAxisSettings axes = AxisSettingsFromStored(*stored);
        ChartAlign align = ChartAlign::Top;
        try {
            align = ApplyGraphAxisSettings(*humidity, *temperature, axes, displayMode);
        } catch (const AxisRangeError& e) {
            // As in the window, manual limits with the maximum below the minimum stop the output.
            Text.error(Cli::tr("%1: the manual axis limits of the settings file are refused (\"%2\"); nothing is written")
                           .arg(settingsPath, QString::fromUtf8(e.what())));
            return ExitNoAnswer;
        }
        LayOutCharts(*humidity, *temperature, area, align, HumidityStripHeight(panel.height()));

        if (o.format == QLatin1String("pdf")) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(o.out);
            printer.setPageSize(QPageSize(QPageSize::A4));
            try {
                PrintCharts(printer, *humidity, *temperature, QPixmap(QStringLiteral(":/kelmora/logo.png")));
            } catch (const std::exception&) {
                Text.error(Cli::tr("%1: cannot write the PDF file").arg(o.out));
                return ExitNoAnswer;
            }
            if (!QFileInfo(o.out).isFile()) {
                Text.error(Cli::tr("%1: cannot write the PDF file").arg(o.out));
                return ExitNoAnswer;
            }
        } else {
            SaveChartPictures(*humidity, *temperature, o.out, o.format == QLatin1String("wmf"));
        }
    } catch (const ReportFileError& e) {
        Text.error(e.text());
        return ExitNoAnswer;
    }
    return 0;
}

const Command chartCommand("chart", Usage, run, Command::Needs::Widgets);

}  // namespace
