// TimeChart on its own: segments in the colour of their end point, drawing into any rectangle
// at a print resolution, the gestures mapped to axis ranges, and an empty or one-point series.
#include "support/gui_helpers.h"
#include "report/date_time.h"
#include "report/report_builder.h"
#include "views/ui/time_chart.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

double at(int h, int mi)
{
    return DayCountOf(QDate(2024, 5, 2), (h * 60 + mi) * 60000);
}

// A built table of readings once an hour with the given relative humidities (temperature 20).
std::shared_ptr<const ReportTable> tableOf(const std::vector<double>& humidities, bool colours)
{
    ReportState s;
    for (std::size_t i = 0; i < humidities.size(); ++i)
        s.ReportData.push_back({at(int(i), 0), int16_t(std::lround(humidities[i] * 100)), 2000});
    s.ReportCount = s.ReportData.size();
    s.IntervalEnd = at(23, 59);
    ReportSettings settings;
    settings.minHumidityText = QStringLiteral("+35,0");
    settings.maxHumidityText = QStringLiteral("+55,0");
    settings.colorChart = colours;
    return std::make_shared<const ReportTable>(BuildReport(s, settings, false));
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button)
{
    mouse(w, QEvent::MouseButtonPress, from, button, button);
    mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
    mouse(w, QEvent::MouseMove, to, Qt::NoButton, button);
    mouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

std::set<QRgb> coloursIn(const QImage& image, const QRect& area)
{
    std::set<QRgb> found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            found.insert(image.pixel(x, y) & 0xFFFFFF);
    return found;
}

class Chart : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(600, 300);
        chart.leftAxis().setTitle(QStringLiteral("RH"));
        chart.bottomAxis().setTitle(QStringLiteral("Время / Дата"));
        chart.bottomAxis().setGrid(false);
        chart.leftAxis().setGrid(false);
    }
    // Pixel of a value pair on the plot, by the current ranges.
    QPoint pixel(double x, double y) const
    {
        const QRect p = chart.plotRect();
        const ChartAxis& b = chart.bottomAxis();
        const ChartAxis& l = chart.leftAxis();
        return {p.left() + int(std::lround((x - b.minimum()) / (b.maximum() - b.minimum()) * (p.width() - 1))),
                p.bottom() - int(std::lround((y - l.minimum()) / (l.maximum() - l.minimum()) * (p.height() - 1)))};
    }
    TimeChart chart;
};

TEST_F(Chart, SegmentsTakeTheColourOfTheirEndPoint)
{
    const QRgb blue = 0x0000FF, green = 0x008000, red = 0xFF0000, white = 0xFFFFFF, black = 0;
    struct Case {
        std::vector<double> values;
        bool colours;
        std::set<QRgb> seen;
    };
    const Case cases[] = {
        // The first point (blue) ends no segment: no blue anywhere.
        {{20, 45, 70}, true, {white, green, red}},
        {{70, 45, 20}, true, {white, green, blue}},
        {{45, 70, 20, 45}, true, {white, red, blue, green}},
        {{20, 45, 70}, false, {white, black}},
    };
    for (const Case& c : cases) {
        chart.setSeries(tableOf(c.values, c.colours), ChartSeries::Humidity);
        const QImage image = chart.grab().toImage();
        // Inside the plot, off its frame.
        EXPECT_EQ(coloursIn(image, chart.plotRect().adjusted(1, 1, -1, -1)), c.seen) << c.values.front();
    }
    // Each segment in its own colour: the midpoint of the second one of {20, 45, 70} is red.
    chart.setSeries(tableOf({20, 45, 70}, true), ChartSeries::Humidity);
    const QImage image = chart.grab().toImage();
    const QPoint mid = (pixel(at(1, 0), 45) + pixel(at(2, 0), 70)) / 2;
    bool redNear = false;
    for (int dy = -2; dy <= 2; ++dy)
        redNear = redNear || (image.pixel(mid.x(), mid.y() + dy) & 0xFFFFFF) == red;
    EXPECT_TRUE(redNear);
}

TEST_F(Chart, RenderLaysOutAtThePrintResolutionAndScalesIntoTheTarget)
{
    chart.setSeries(tableOf({40, 50, 60}, false), ChartSeries::Humidity);
    struct Case {
        QRect target;
        int resolution;
        QSize layout;
    };
    const Case cases[] = {
        {QRect(0, 0, 600, 300), 0, QSize(600, 300)},
        {QRect(50, 20, 1800, 900), -50, QSize(900, 450)},
        {QRect(0, 0, 1200, 600), 0, QSize(1200, 600)},
        {QRect(10, 10, 300, 150), 50, QSize(300, 150)},
    };
    for (const Case& c : cases) {
        QRect plot;
        QTransform transform;
        auto hook = QObject::connect(&chart, &TimeChart::afterDraw, [&](QPainter& p, const QRect& r) {
            plot = r;
            transform = p.worldTransform();
        });
        QImage image(c.target.bottomRight().x() + 1, c.target.bottomRight().y() + 1, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            chart.render(painter, c.target, c.resolution);
        }
        QObject::disconnect(hook);
        EXPECT_EQ(plot, chart.plotRectFor(c.layout)) << c.resolution;
        EXPECT_EQ(transform.map(QPointF(0, 0)), QPointF(c.target.topLeft()));
        EXPECT_DOUBLE_EQ(transform.m11(), double(c.target.width()) / c.layout.width());
        // The whole target is painted and nothing outside it.
        EXPECT_NE(image.pixel(c.target.topLeft()) & 0xFFFFFF, 0xFF00FFu);
        EXPECT_NE(image.pixel(c.target.bottomRight()) & 0xFFFFFF, 0xFF00FFu);
        if (c.target.left() > 0) {
            EXPECT_EQ(image.pixel(c.target.left() - 1, c.target.top()) & 0xFFFFFF, 0xFF00FFu);
        }
    }
}

TEST_F(Chart, APrintedChartKeepsTheProportionsOfItsTextsInATargetOfAnotherShape)
{
    // A page half is taller for its width than the chart on screen: the layout takes the
    // target's shape and one scale, so texts are neither stretched nor squeezed.
    chart.setSeries(tableOf({40, 50, 60}, false), ChartSeries::Humidity);
    for (const QRect target : {QRect(0, 0, 4800, 3300), QRect(100, 200, 900, 2000)}) {
        QTransform transform;
        auto hook = QObject::connect(&chart, &TimeChart::afterDraw,
                                     [&](QPainter& p, const QRect&) { transform = p.worldTransform(); });
        QImage image(target.right() + 1, target.bottom() + 1, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            chart.render(painter, target, -50);
        }
        QObject::disconnect(hook);
        EXPECT_DOUBLE_EQ(transform.m11(), transform.m22()) << target.width() << "x" << target.height();
        // The layout's area is that of one and a half times the chart's width and height.
        const double area = target.width() * target.height() / (transform.m11() * transform.m22());
        EXPECT_NEAR(area, 900.0 * 450.0, 1.0);
    }
}

TEST_F(Chart, ZoomToTheDraggedRectangleUndoAndClicks)
{
    chart.setSeries(tableOf({10, 30, 50, 70, 90, 50, 10}, false), ChartSeries::Humidity);
    gui::SignalCount zoomed(&chart, &TimeChart::zoomed);
    gui::SignalCount undone(&chart, &TimeChart::undoneZoom);

    // A click, a drag that starts outside the plot and a tiny drag change nothing.
    const QPoint inside = chart.plotRect().center();
    drag(&chart, inside, inside, Qt::LeftButton);
    drag(&chart, QPoint(2, 2), inside, Qt::LeftButton);
    drag(&chart, inside, inside + QPoint(2, 2), Qt::LeftButton);
    EXPECT_EQ(zoomed.count() + undone.count(), 0);
    EXPECT_TRUE(chart.bottomAxis().automatic());

    const QPoint from = pixel(at(1, 0), 80), to = pixel(at(4, 0), 20);
    drag(&chart, from, to, Qt::LeftButton);
    EXPECT_EQ(zoomed.count(), 1);
    const double hour = 1.0 / 24, perPixelX = 6 * hour / (chart.plotRect().width() - 1);
    const double perPixelY = 80.0 / (chart.plotRect().height() - 1);
    EXPECT_NEAR(chart.bottomAxis().minimum(), at(1, 0), perPixelX);
    EXPECT_NEAR(chart.bottomAxis().maximum(), at(4, 0), perPixelX);
    EXPECT_NEAR(chart.leftAxis().minimum(), 20, perPixelY);
    EXPECT_NEAR(chart.leftAxis().maximum(), 80, perPixelY);
    EXPECT_FALSE(chart.leftAxis().automatic());

    // Towards the upper left, or up and to the right: the zoom is undone.
    for (const QPoint delta : {QPoint(-50, -50), QPoint(50, -30), QPoint(-30, 50)}) {
        chart.bottomAxis().setMinMax(at(1, 0), at(2, 0));
        drag(&chart, inside, inside + delta, Qt::LeftButton);
        EXPECT_TRUE(chart.bottomAxis().automatic());
        EXPECT_TRUE(chart.leftAxis().automatic());
        EXPECT_EQ(chart.bottomAxis().minimum(), at(0, 0));
        EXPECT_EQ(chart.bottomAxis().maximum(), at(6, 0));
    }
    EXPECT_EQ(undone.count(), 3);
}

TEST_F(Chart, PanMovesBothRangesWithThePointer)
{
    chart.setSeries(tableOf({10, 30, 50, 70, 90, 50, 10}, false), ChartSeries::Humidity);
    const double x0 = chart.bottomAxis().minimum(), x1 = chart.bottomAxis().maximum();
    const double y0 = chart.leftAxis().minimum(), y1 = chart.leftAxis().maximum();
    gui::SignalCount scrolled(&chart, &TimeChart::scrolled);
    const QPoint c = chart.plotRect().center();
    drag(&chart, c, c + QPoint(-40, 20), Qt::RightButton);
    EXPECT_EQ(scrolled.count(), 2);
    const double dx = 40.0 * (x1 - x0) / (chart.plotRect().width() - 1);
    const double dy = 20.0 * (y1 - y0) / (chart.plotRect().height() - 1);
    EXPECT_NEAR(chart.bottomAxis().minimum(), x0 + dx, 1e-9);
    EXPECT_NEAR(chart.bottomAxis().maximum(), x1 + dx, 1e-9);
    EXPECT_NEAR(chart.leftAxis().minimum(), y0 + dy, 1e-9);
    EXPECT_NEAR(chart.leftAxis().maximum(), y1 + dy, 1e-9);
}

TEST_F(Chart, EmptyAndSinglePointSeries)
{
    chart.setSeries(tableOf({}, true), ChartSeries::Humidity);
    EXPECT_EQ(chart.seriesCount(), 0u);
    for (double v : {chart.seriesMinX(), chart.seriesMaxX(), chart.seriesMinY(), chart.seriesMaxY()})
        EXPECT_EQ(v, 0);
    QImage empty = chart.grab().toImage();
    EXPECT_EQ(coloursIn(empty, chart.plotRect().adjusted(1, 1, -1, -1)), std::set<QRgb>{0xFFFFFF});

    chart.setSeries(tableOf({45}, true), ChartSeries::Humidity);
    EXPECT_EQ(chart.seriesMinY(), 45);
    EXPECT_EQ(chart.seriesMaxY(), 45);
    EXPECT_LT(chart.leftAxis().minimum(), 45);
    EXPECT_GT(chart.leftAxis().maximum(), 45);
    const QImage one = chart.grab().toImage();
    EXPECT_EQ(one.pixel(pixel(at(0, 0), 45)) & 0xFFFFFF, 0x008000u) << "a single point shows as a dot";

    // Five readings within one minute of a week-long time axis fall in one pixel column: they
    // show as a bar three pixels wide from the lowest to the highest, which a one-pixel divider
    // line cannot cover, not as a one-pixel tick.
    {
        ReportState st;
        for (int k = 0; k < 5; ++k)
            st.ReportData.push_back({at(12, 0) + k * 10 / 86400.0, int16_t(4100 + 200 * k), 2000});
        st.ReportCount = st.ReportData.size();
        st.IntervalEnd = at(23, 59);
        ReportSettings coloured;
        coloured.colorChart = true;
        chart.setSeries(std::make_shared<const ReportTable>(BuildReport(st, coloured, false)), ChartSeries::Humidity);
        chart.bottomAxis().setAutomatic(false);
        chart.bottomAxis().setMinMax(at(12, 0) - 3.3, at(12, 0) + 3.7);
        chart.leftAxis().setAutomatic(false);
        chart.leftAxis().setMinMax(0, 100);
        const QImage run = chart.grab().toImage();
        const QPoint low = pixel(at(12, 0), 41), high = pixel(at(12, 0), 49), middle = pixel(at(12, 0), 45);
        for (const QPoint& p : {low, high, middle})
            EXPECT_EQ(run.pixel(p) & 0xFFFFFF, 0x008000u) << p.x() << "," << p.y();
        int wide = 0;
        for (int dx = -4; dx <= 4; ++dx)
            wide += (run.pixel(middle + QPoint(dx, 0)) & 0xFFFFFF) == 0x008000u;
        EXPECT_EQ(wide, 3) << "three pixels wide";
    }

    chart.clearSeries();
    EXPECT_FALSE(chart.series().has_value());
    EXPECT_EQ(chart.seriesMaxX(), 0);
}

}  // namespace
