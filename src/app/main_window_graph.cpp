// MainWindow: page 3 "&Графический отчёт" — the graph page in its tab, the graph setup action,
// and the setup applied when the page shows or before output.
#include "app/main_window.h"

#include "views/ui/graph_charts.h"
#include "views/ui/graph_page.h"
#include "views/ui/print_job.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/time_chart.h"
#include "widgets/dialogs.h"

#include <QEvent>
#include <QPrinter>
#include <QTabWidget>

#include <algorithm>

namespace {

// The tab's page gives the graph page its size and the humidity strip its height.
class TabSheet3Events : public QObject {
public:
    explicit TabSheet3Events(MainWindow* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == form_->TabSheet3 && event->type() == QEvent::Resize) {
            form_->Panel5->setGeometry(form_->TabSheet3->rect());
            form_->TabSheet3Resize();
        }
        return false;
    }

private:
    MainWindow* form_;
};

}  // namespace

void MainWindow::CreatePage3()
{
    Panel5 = new GraphPage(TabSheet3);
    TabSheet3->installEventFilter(new TabSheet3Events(this));
}

void MainWindow::TabSheet3Resize()
{
    Panel5->setHumidityHeight(HumidityStripHeight(Panel5->height()));
}

void MainWindow::AcSetupGraphExecute()
{
    // However the dialog closes, both charts are drawn again.
    struct Redraw {
        MainWindow* form;
        ~Redraw()
        {
            form->Panel5->humidityChart()->update();
            form->Panel5->temperatureChart()->update();
        }
    } redraw{this};
    execOwningItsBoxes(SelectForm);
}

void MainWindow::TabSheet3Show()
{
    SelectForm->ApplyGraphSettings();
}

void MainWindow::PrepareChartsForOutput()
{
    if (PageControl1->currentWidget() != TabSheet3)
        SelectForm->ApplyGraphSettings();
}
