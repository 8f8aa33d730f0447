// TMainForm::BuildReport: the window side of report building — takes the display mode and the
// thresholds of the text report page and the colour-chart setting, builds the report from the
// report in memory and shows the result on the text and graph pages.
#include "app/main_form.h"

#include "widgets/wait_form.h"
#include "report/report_builder.h"
#include "views/ui/text_report_page.h"
#include "views/ui/graph_page.h"
#include "views/ui/time_chart.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableView>

void TMainForm::BuildReport(bool FromReading)
{
    // A build that lets window messages run may see a reading, a display-mode click or a
    // threshold exit ask for another build. Nesting it would show its table and then have the
    // outer build overwrite it with an older one; it is remembered and run right after.
    if (building_) {
        buildPending_ = true;
        pendingFromReading_ = pendingFromReading_ && FromReading;
        return;
    }
    if (!conversions_)
        conversions_ = std::make_unique<ConversionCache>();
    building_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{building_};

    for (;;) {
        ReportSettings settings;
        const ThresholdTexts thresholds = TabSheet2->thresholdTexts();
        settings.displayMode = TabSheet2->displayMode();
        settings.minHumidityText = thresholds.minHumidity;
        settings.maxHumidityText = thresholds.maxHumidity;
        settings.minTemperatureText = thresholds.minTemperature;
        settings.maxTemperatureText = thresholds.maxTemperature;
        settings.colorChart = ColorChartFlag;
        settings.cache = conversions_.get();
        auto table = std::make_shared<const ReportTable>(::BuildReport(Report, settings, FromReading, WaitForm));

        TabSheet2->showTable(table);
        Panel5->showTable(table);

        if (!buildPending_)
            break;
        buildPending_ = false;
        FromReading = pendingFromReading_;
        pendingFromReading_ = true;
    }
}
