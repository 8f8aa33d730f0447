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

void MainWindow::CreatePage3()
{
    Panel5 = new GraphPage(TabSheet3);
    // The tab's page gives the graph page its size and the humidity strip its height.
    new ResizeWatch(TabSheet3, [this] {
        Panel5->setGeometry(TabSheet3->rect());
        TabSheet3Resize();
    });
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
    // The pickers open on the span of the humidity series.
    const auto [first, last] = Panel5->seriesSpan();
    SelectForm->showSpan(first, last);
    execOwningItsBoxes(SelectForm);
}

void MainWindow::TabSheet3Show()
{
    Panel5->applyAxisSettings(SelectForm->axisSettings());
}

void MainWindow::PrepareChartsForOutput()
{
    if (PageControl1->currentWidget() != TabSheet3)
        Panel5->applyAxisSettings(SelectForm->axisSettings());
}
