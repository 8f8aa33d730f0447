// MainWindow: page 2 "&Текстовый отчёт" and what its display-mode selector and threshold fields
// start: the graph page follows the mode, and the report is built again.
#include "app/main_window.h"

#include "views/ui/graph_page.h"
#include "views/ui/text_report_page.h"

void MainWindow::createTextReportPage()
{
    connect(textReportPage_, &TextReportPage::displayModeChosen, this, [this](int index) {
        graphPage_->setDisplayMode(textReportPage_->displayMode(), index >= 0 && index < 3);
        BuildReport(false);
    });
    connect(textReportPage_, &TextReportPage::thresholdLeft, this, [this] { BuildReport(false); });
}
