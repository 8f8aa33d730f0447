// MainWindow: page 3 "&Графический отчёт" — the graph page in its tab, the graph setup action,
// and the setup applied when the page shows or before output.
#include "app/main_window.h"

#include "views/ui/graph_charts.h"
#include "views/ui/graph_page.h"
#include "views/ui/print_job.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/climate_analysis_dialog.h"
#include "views/ui/text_report_page.h"
#include "report/climate_analysis.h"
#include "report/date_time.h"
#include "report/report_builder.h"
#include "report/report_document.h"
#include "views/ui/time_chart.h"
#include "widgets/dialogs.h"

#include <QEvent>

#include <functional>
#include <QPrinter>
#include <QTabWidget>

#include <algorithm>

namespace {

// Runs an action whenever the watched widget is resized.
class ResizeWatch : public QObject {
public:
    ResizeWatch(QObject* watched, std::function<void()> resized) : QObject(watched), resized_(std::move(resized))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            resized_();
        return false;
    }

private:
    std::function<void()> resized_;
};

}  // namespace

void MainWindow::createGraphPage()
{
    graphPage_ = new GraphPage(graphTab_);
    // The tab's page gives the graph page its size and the humidity strip its height.
    new ResizeWatch(graphTab_, [this] {
        graphPage_->setGeometry(graphTab_->rect());
        fitGraphPage();
    });
}

void MainWindow::fitGraphPage()
{
    graphPage_->setHumidityHeight(HumidityStripHeight(graphPage_->height()));
}

void MainWindow::openGraphSetup()
{
    // However the dialog closes, both charts are drawn again.
    struct Redraw {
        MainWindow* form;
        ~Redraw()
        {
            form->graphPage_->humidityChart()->update();
            form->graphPage_->temperatureChart()->update();
        }
    } redraw{this};
    // The pickers open on the span of the humidity series.
    const auto [first, last] = graphPage_->seriesSpan();
    graphSetupDialog_->showSpan(first, last);
    execOwningItsBoxes(graphSetupDialog_);
}

void MainWindow::applyGraphSetupOnShow()
{
    graphPage_->applyAxisSettings(graphSetupDialog_->axisSettings());
}

void MainWindow::prepareChartsForOutput()
{
    if (pages_->currentWidget() != graphTab_)
        graphPage_->applyAxisSettings(graphSetupDialog_->axisSettings());
}

void MainWindow::openClimateAnalysis()
{
    // The report's interval with the thresholds the table is coloured by.
    const ReportState& state = document_->state();
    ClimateAnalysisOptions options;
    const ThresholdTexts thresholds = textReportPage_->thresholdTexts();
    options.thresholds = ThresholdsFromMaskTexts(thresholds.minHumidity, thresholds.maxHumidity, thresholds.minTemperature,
                                                 thresholds.maxTemperature);
    // The working report's interval starts at day 0 ("all its readings"): the analysis starts
    // at its first reading, so the century before is not counted as time without data.
    double from = state.IntervalStart;
    if (from <= 0) {
        std::optional<double> first;
        for (const MeasurementRecord& r : state.records())
            if (const std::optional<double> minute = TryTruncToMinute(r.dt); minute && *minute <= state.IntervalEnd)
                first = first ? std::min(*first, *minute) : *minute;
        from = first.value_or(from);
    }
    ClimateAnalysis analysis = AnalyseClimate(state.records(), from, state.IntervalEnd, options);
    if (!climateAnalysisDialog_)
        climateAnalysisDialog_ = new ClimateAnalysisDialog(dialogs_, programDirectory_, this);
    climateAnalysisDialog_->showAnalysis(std::move(analysis), QStringLiteral("Термогигрометр №") + state.DeviceNumberText
                                                                  + QStringLiteral(" - ") + state.ReportComment);
    climateAnalysisDialog_->show();
    climateAnalysisDialog_->raise();
    climateAnalysisDialog_->activateWindow();
}
