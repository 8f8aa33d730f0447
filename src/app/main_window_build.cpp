// MainWindow: the builds of the report held in memory, made from the text report page's display
// mode and thresholds and the colour-chart setting, shown on the text and graph pages; and the
// report's output (saving, printing, pictures), which the actions hand to the output room.
#include "app/main_window.h"

#include "report/report_document.h"
#include "views/ui/report_output.h"
#include "views/ui/graph_page.h"
#include "views/ui/text_report_page.h"
#include "widgets/wait_window.h"

void MainWindow::CreateDocument()
{
    document_ = new ReportDocument(
        [this] {
            ReportSettings settings;
            const ThresholdTexts thresholds = TabSheet2->thresholdTexts();
            settings.displayMode = TabSheet2->displayMode();
            settings.minHumidityText = thresholds.minHumidity;
            settings.maxHumidityText = thresholds.maxHumidity;
            settings.minTemperatureText = thresholds.minTemperature;
            settings.maxTemperatureText = thresholds.maxTemperature;
            settings.colorChart = ColorChartFlag;
            return settings;
        },
        this);
    connect(document_, &ReportDocument::built, this, [this](const std::shared_ptr<const ReportTable>& table) {
        TabSheet2->showTable(table);
        Panel5->showTable(table);
    });
}

void MainWindow::CreateOutput()
{
    output_ = new ReportOutput(dialogs_, clock_, programDirectory_, *TabSheet2, *Panel5, document_->state(),
                               [this] { PrepareChartsForOutput(); }, this);
}

void MainWindow::AcSaveExecute()
{
    output_->setWaitWindow(WaitForm);
    output_->saveTable();
}

void MainWindow::AcPrintReportExecute()
{
    output_->printTable();
}

void MainWindow::AcPrintGraphExecute()
{
    output_->printGraph();
}

void MainWindow::SaveChartPicturesClick()
{
    output_->saveChartPictures();
}

void MainWindow::BuildReport(bool FromReading)
{
    document_->setProgress(WaitForm);
    document_->build(FromReading);
}
