// TMainForm: page 3 "&Графический отчёт" — the panel with the humidity chart over the
// temperature chart, their design properties, the part dividers, the label rewriting and the
// time axes kept in step when the user zooms or pans either chart.
#include "app/main_form.h"

#include "widgets/bevel_panel.h"
#include "views/ui/graph_charts.h"
#include "views/ui/time_chart.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <exception>

namespace {

// Runs the page's reactions to size and visibility changes of its widgets, as the classic
// aligned controls do by themselves.
class Page3Events : public QObject {
public:
    explicit Page3Events(TMainForm* form) : QObject(form), form_(form) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Resize:
            if (watched == form_->TabSheet3) {
                form_->Panel5->setGeometry(form_->TabSheet3->rect());
                form_->TabSheet3Resize();
            } else if (watched == form_->Panel5) {
                form_->LayoutPage3();
            }
            break;
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            if (watched == form_->Chart1 || watched == form_->Chart2)
                form_->LayoutPage3();
            break;
        default:
            break;
        }
        return false;
    }

private:
    TMainForm* form_;
};

// After a zoom or pan of chart a: b's time axis shows exactly a's range.
void followTimeAxis(TimeChart* a, TimeChart* b)
{
    a->BottomAxis().SetAutomatic(false);
    b->BottomAxis().SetAutomatic(false);
    try {
        b->BottomAxis().SetMinMax(a->BottomAxis().Minimum(), a->BottomAxis().Maximum());
    } catch (const std::exception&) {
        // The other chart keeps its range; nothing is said.
    }
    b->update();
}

}  // namespace

void TMainForm::CreatePage3()
{
    Panel5 = new BevelPanel(TabSheet3);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    Panel5->setGeometry(0, 0, 1008, 643);

    Chart1 = new TimeChart(Panel5);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    SetUpHumidityChart(*Chart1);

    Chart2 = new TimeChart(Panel5);
    Chart2->setObjectName(QStringLiteral("Chart2"));
    SetUpTemperatureChart(*Chart2);

    connect(Chart1, &TimeChart::afterDraw, this, &TMainForm::Chart1AfterDraw);
    connect(Chart2, &TimeChart::afterDraw, this, &TMainForm::Chart2AfterDraw);
    connect(Chart1, &TimeChart::getAxisLabel, this, &TMainForm::Chart1GetAxisLabel);
    connect(Chart2, &TimeChart::getAxisLabel, this, &TMainForm::Chart2GetAxisLabel);
    connect(Chart1, &TimeChart::zoomed, this, &TMainForm::Chart1Zoom);
    connect(Chart1, &TimeChart::scrolled, this, &TMainForm::Chart1Scroll);
    connect(Chart2, &TimeChart::zoomed, this, &TMainForm::Chart2Zoom);
    connect(Chart2, &TimeChart::scrolled, this, &TMainForm::Chart2Scroll);
    connect(Chart1, &TimeChart::undoneZoom, this, &TMainForm::Chart1UndoZoom);
    connect(Chart2, &TimeChart::undoneZoom, this, &TMainForm::Chart2UndoZoom);

    auto* events = new Page3Events(this);
    for (QObject* watched : {static_cast<QObject*>(TabSheet3), static_cast<QObject*>(Panel5),
                             static_cast<QObject*>(Chart1), static_cast<QObject*>(Chart2)})
        watched->installEventFilter(events);
    LayoutPage3();
}

void TMainForm::SetChart1Align(ChartAlign align)
{
    chart1Align_ = align;
    LayoutPage3();
}

void TMainForm::SetChart1Height(int height)
{
    chart1Height_ = height;
    LayoutPage3();
}

void TMainForm::LayoutPage3()
{
    const int frame = Panel5->frameWidth();
    LayOutCharts(*Chart1, *Chart2, Panel5->rect().adjusted(frame, frame, -frame, -frame), chart1Align_, chart1Height_);
}

void TMainForm::TabSheet3Resize()
{
    SetChart1Height(HumidityStripHeight(Panel5->height()));
}

void TMainForm::Chart1AfterDraw(QPainter& painter, const QRect& plot)
{
    DrawPartDividers(SplitEnabled, SplitParts, painter, plot);
}

void TMainForm::Chart2AfterDraw(QPainter& painter, const QRect& plot)
{
    DrawPartDividers(SplitEnabled, SplitParts, painter, plot);
}

void TMainForm::Chart1GetAxisLabel(ChartAxis* axis, QString& text)
{
    RewriteAxisLabel(*Chart1, GraphChart::Humidity, DisplayMode, axis, text);
}

void TMainForm::Chart2GetAxisLabel(ChartAxis* axis, QString& text)
{
    RewriteAxisLabel(*Chart2, GraphChart::Temperature, DisplayMode, axis, text);
}

void TMainForm::Chart1Zoom()
{
    followTimeAxis(Chart1, Chart2);
}

void TMainForm::Chart1Scroll()
{
    followTimeAxis(Chart1, Chart2);
}

void TMainForm::Chart2Zoom()
{
    followTimeAxis(Chart2, Chart1);
}

void TMainForm::Chart2Scroll()
{
    followTimeAxis(Chart2, Chart1);
}

void TMainForm::Chart1UndoZoom()
{
    Chart1->BottomAxis().SetAutomatic(true);
    Chart2->BottomAxis().SetAutomatic(true);
    Chart1->update();
    Chart2->update();
}

void TMainForm::Chart2UndoZoom()
{
    Chart1UndoZoom();
}
