// TMainForm: page 3 "&Графический отчёт" — the panel with the humidity chart over the
// temperature chart, their design properties, the part dividers, the label rewriting and the
// time axes kept in step when the user zooms or pans either chart.
#include "app/ui/main_form.h"

#include "app/ui/bevel_panel.h"
#include "views/chart_labels.h"
#include "views/part_dividers.h"
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

void setUpChart(TimeChart* chart, const QString& seriesTitle, const QString& leftTitle)
{
    chart->setSeriesTitle(seriesTitle);
    chart->BottomAxis().SetTitle(QStringLiteral("Время / Дата"));
    chart->LeftAxis().SetTitle(leftTitle);
    chart->RightAxis().SetMinMax(-50, 100);
    chart->RightAxis().SetVisible(false);
}

void drawPartDividers(bool enabled, int parts, QPainter& painter, const QRect& plot)
{
    painter.setPen(QPen(QColor(0x00, 0x80, 0x00), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    for (const int x : PartDividerPositions(enabled, parts, plot.left(), plot.width()))
        painter.drawLine(x, plot.top(), x, plot.bottom());
}

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
    setUpChart(Chart1, QStringLiteral("RHSerie"), QStringLiteral("Относительная влажность, %"));
    Chart1->setTitleVisible(true);
    Chart1->setMarginBottom(0);
    Chart1->BottomAxis().SetVisible(false);
    Chart1->TopAxis().SetMinMax(0, 25);

    Chart2 = new TimeChart(Panel5);
    Chart2->setObjectName(QStringLiteral("Chart2"));
    setUpChart(Chart2, QStringLiteral("TSerie"), QStringLiteral("Температура, °C"));
    Chart2->setTitleVisible(false);
    Chart2->setMarginTop(0);
    Chart2->BottomAxis().SetGrid(false);
    Chart2->TopAxis().SetVisible(false);

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
    QRect rest = Panel5->rect().adjusted(frame, frame, -frame, -frame);
    // Chart1 first, as the classic alignment does: the top-aligned chart takes its strip,
    // the filling one what is left.
    if (!Chart1->isHidden()) {
        if (chart1Align_ == ChartAlign::Top) {
            const int height = std::clamp(chart1Height_, 0, std::max(0, rest.height()));
            Chart1->setGeometry(rest.left(), rest.top(), rest.width(), height);
            rest.setTop(rest.top() + height);
        } else {
            Chart1->setGeometry(rest);
        }
    }
    if (!Chart2->isHidden())
        Chart2->setGeometry(rest);
}

void TMainForm::TabSheet3Resize()
{
    // Integer division toward zero, as the page always did.
    SetChart1Height(Panel5->height() / 2 - 16);
}

void TMainForm::Chart1AfterDraw(QPainter& painter, const QRect& plot)
{
    drawPartDividers(SplitEnabled, SplitParts, painter, plot);
}

void TMainForm::Chart2AfterDraw(QPainter& painter, const QRect& plot)
{
    drawPartDividers(SplitEnabled, SplitParts, painter, plot);
}

void TMainForm::Chart1GetAxisLabel(ChartAxis* axis, QString& text)
{
    if (axis == &Chart1->BottomAxis())
        text = TimeAxisLabel(text);
    else if (axis == &Chart1->LeftAxis())
        text = ValueAxisLabel(GraphChart::Humidity, DisplayMode, text);
}

void TMainForm::Chart2GetAxisLabel(ChartAxis* axis, QString& text)
{
    if (axis == &Chart2->BottomAxis())
        text = TimeAxisLabel(text);
    else if (axis == &Chart2->LeftAxis())
        text = ValueAxisLabel(GraphChart::Temperature, DisplayMode, text);
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
