// TMainForm::BuildReport: the window side of report building — reads the display mode, the
// threshold fields and the colour-chart setting, builds the report from the report in memory
// and shows the result in the table, the title and the minimum and maximum figures.
#include "app/main_form.h"

#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "widgets/wait_form.h"
#include "report/report_builder.h"
#include "views/ui/report_table_model.h"
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
        settings.displayMode = RadioGroup1->itemIndex();
        settings.minHumidityText = MaskEdit7->text();
        settings.maxHumidityText = MaskEdit8->text();
        settings.minTemperatureText = MaskEdit9->text();
        settings.maxTemperatureText = MaskEdit10->text();
        settings.colorChart = ColorChartFlag;
        settings.cache = conversions_.get();
        auto table = std::make_shared<const ReportTable>(::BuildReport(Report, settings, FromReading, WaitForm));

        // The current cell stays where it was while the table still has it.
        const QModelIndex current = Grid1->currentIndex();
        const int row = current.isValid() ? current.row() : 0;
        const int column = current.isValid() ? current.column() : 0;
        Grid1Model->setTable(table);
        Grid1->setCurrentIndex(Grid1Model->index(std::min(row, Grid1Model->rowCount() - 1), column));

        Label19->setText(table->title());
        Label19->adjustSize();
        Panel5->showTable(table);
        // A figure wider than its field shows its beginning, as a classic edit field does.
        const auto figure = [](QLineEdit* edit, const QString& text) {
            edit->setText(text);
            edit->setCursorPosition(0);
        };
        figure(Edit1, table->humidityMinText());
        figure(Edit2, table->humidityMaxText());
        figure(Edit3, table->temperatureMinText());
        figure(Edit4, table->temperatureMaxText());

        if (!buildPending_)
            break;
        buildPending_ = false;
        FromReading = pendingFromReading_;
        pendingFromReading_ = true;
    }
}
