#include "views/ui/graph_page.h"

#include "views/chart_axis.h"
#include "views/ui/time_chart.h"

#include <QEvent>
#include <QPainter>

#include <exception>

GraphPage::GraphPage(QWidget* parent) : BevelPanel(parent)
{
    setObjectName(QStringLiteral("Panel5"));
    setBevels(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised);
    setGeometry(0, 0, 1008, 643);

    humidity_ = new TimeChart(this);
    humidity_->setObjectName(QStringLiteral("Chart1"));
    SetUpHumidityChart(*humidity_);
    temperature_ = new TimeChart(this);
    temperature_->setObjectName(QStringLiteral("Chart2"));
    SetUpTemperatureChart(*temperature_);

    for (TimeChart* chart : {humidity_, temperature_}) {
        connect(chart, &TimeChart::afterDraw, this, [this](QPainter& painter, const QRect& plot) {
            DrawPartDividers(dividers_, parts_, painter, plot);
        });
        connect(chart, &TimeChart::getAxisLabel, this,
                [this, chart](ChartAxis* axis, QString& text) { rewriteLabel(chart, axis, text); });
        TimeChart* other = chart == humidity_ ? temperature_ : humidity_;
        connect(chart, &TimeChart::zoomed, this, [this, chart, other] { follow(chart, other); });
        connect(chart, &TimeChart::scrolled, this, [this, chart, other] { follow(chart, other); });
        connect(chart, &TimeChart::undoneZoom, this, &GraphPage::undoZoom);
        chart->installEventFilter(this);
    }
    layOut();
}

void GraphPage::showTable(std::shared_ptr<const ReportTable> table)
{
    ShowTableOnCharts(*humidity_, *temperature_, std::move(table));
}

void GraphPage::setDisplayMode(int mode, bool titled)
{
    displayMode_ = mode;
    if (titled) {
        humidity_->leftAxis().setTitle(HumidityAxisTitle(mode));
        humidity_->update();
    }
}

void GraphPage::setPartDividers(bool enabled, int parts)
{
    dividers_ = enabled;
    parts_ = parts;
}

void GraphPage::applySetup(const GraphSetup& setup)
{
    setTimeSpan(setup.start, setup.end);
    setPartDividers(setup.dividers, setup.parts);
    applyAxisSettings(setup.axes);
}

void GraphPage::applyAxisSettings(const GraphAxisSettings& settings)
{
    const ChartAlign align = ApplyGraphAxisSettings(
        *humidity_, *temperature_, settings, displayMode_,
        [this](GraphChart chart, bool enabled) { emit manualLimitsEnabled(chart, enabled); });
    if (align == ChartAlign::Top) {
        setHumidityAlign(ChartAlign::Top);
        setHumidityHeight(HumidityStripHeight(height()));
    } else if (!humidity_->isHidden()) {
        setHumidityAlign(ChartAlign::Client);
    }
    layOut();
}

void GraphPage::setTimeSpan(double start, double end)
{
    humidity_->bottomAxis().setMinMax(start, end);
    temperature_->bottomAxis().setMinMax(start, end);
}

std::pair<double, double> GraphPage::seriesSpan() const
{
    return {humidity_->seriesMinX(), humidity_->seriesMaxX()};
}

void GraphPage::setHumidityAlign(ChartAlign align)
{
    align_ = align;
    layOut();
}

void GraphPage::setHumidityHeight(int height)
{
    height_ = height;
    layOut();
}

void GraphPage::layOut()
{
    const int frame = frameWidth();
    LayOutCharts(*humidity_, *temperature_, rect().adjusted(frame, frame, -frame, -frame), align_, height_);
}

void GraphPage::rewriteLabel(TimeChart* chart, ChartAxis* axis, QString& text) const
{
    RewriteAxisLabel(*chart, chart == humidity_ ? GraphChart::Humidity : GraphChart::Temperature, displayMode_, axis,
                     text);
}

void GraphPage::resizeEvent(QResizeEvent* event)
{
    BevelPanel::resizeEvent(event);
    layOut();
}

bool GraphPage::eventFilter(QObject* watched, QEvent* event)
{
    // A chart shown or hidden changes what the other one fills.
    if ((watched == humidity_ || watched == temperature_)
        && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        layOut();
    return BevelPanel::eventFilter(watched, event);
}

// After a zoom or pan of the leader: the follower's time axis shows exactly its range.
void GraphPage::follow(TimeChart* leader, TimeChart* follower)
{
    leader->bottomAxis().setAutomatic(false);
    follower->bottomAxis().setAutomatic(false);
    try {
        follower->bottomAxis().setMinMax(leader->bottomAxis().minimum(), leader->bottomAxis().maximum());
    } catch (const std::exception&) {
        // The other chart keeps its range; nothing is said.
    }
    follower->update();
}

// Undoing a zoom on either chart: both time axes automatic again; each value axis returns to
// what it was before the zoom (the chart does that itself).
void GraphPage::undoZoom()
{
    humidity_->bottomAxis().setAutomatic(true);
    temperature_->bottomAxis().setAutomatic(true);
    humidity_->update();
    temperature_->update();
}
