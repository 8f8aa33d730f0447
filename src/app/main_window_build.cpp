// MainWindow: the builds of the report held in memory, made from the text report page's display
// mode and thresholds and the colour-chart setting, shown on the text and graph pages; and the
// report's output (saving, printing, pictures), which the actions hand to the output room.
#include "app/main_window.h"

#include "report/report_document.h"
#include "views/ui/report_output.h"
#include "views/ui/graph_page.h"
#include "views/ui/text_report_page.h"
#include "widgets/wait_window.h"

void MainWindow::createDocument()
{
    document_ = new ReportDocument(
        [this] {
            ReportSettings settings;
            const ThresholdTexts thresholds = textReportPage_->thresholdTexts();
            settings.displayMode = textReportPage_->displayMode();
            settings.minHumidityText = thresholds.minHumidity;
            settings.maxHumidityText = thresholds.maxHumidity;
            settings.minTemperatureText = thresholds.minTemperature;
            settings.maxTemperatureText = thresholds.maxTemperature;
            settings.colorChart = colorChart_;
            return settings;
        },
        this);
    connect(document_, &ReportDocument::built, this, [this](const std::shared_ptr<const ReportTable>& table) {
        textReportPage_->showTable(table);
        graphPage_->showTable(table);
    });
}

void MainWindow::createOutput()
{
    output_ = new ReportOutput(dialogs_, clock_, programDirectory_, *textReportPage_, *graphPage_, document_->state(),
                               [this] { prepareChartsForOutput(); }, this);
}

void MainWindow::saveTable()
{
    output_->saveTable();
}

void MainWindow::printTable()
{
    output_->printTable();
}

void MainWindow::printGraph()
{
    output_->printGraph();
}

void MainWindow::saveChartPictures()
{
    output_->saveChartPictures();
}

void MainWindow::BuildReport(bool FromReading)
{
    document_->build(FromReading);
}
