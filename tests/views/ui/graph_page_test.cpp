// The graph page through the main window: the two charts as designed and laid out, the build
// handing them the report, the time axes kept in step by zoom, pan and undo on either chart,
// the rewritten labels, the part dividers as painted, and pictures of the page to look at.
#include "support/main_window_fixture.h"
#include "widgets/bevel_panel.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "report/date_time.h"
#include "report/number_format.h"
#include "views/chart_axis.h"
#include "views/part_dividers.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/graph_page.h"
#include "views/ui/time_chart.h"

#include <QComboBox>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTabWidget>

#include <cmath>
#include <set>

namespace {

double at(int d, int h, int mi, int s = 0)
{
    return DayCountOf(QDate(2013, 6, d), ((h * 60 + mi) * 60 + s) * 1000);
}

void mouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A drag from one point to another with the given button, in a few steps.
void drag(QWidget* w, QPoint from, QPoint to, Qt::MouseButton button)
{
    mouse(w, QEvent::MouseButtonPress, from, button, button);
    for (int i = 1; i <= 4; ++i)
        mouse(w, QEvent::MouseMove, from + (to - from) * i / 4, Qt::NoButton, button);
    mouse(w, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    QApplication::processEvents();
}

class GraphPageInWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        form().setReportActionsEnabled(true);
    }

    // Readings once a minute over a day from 15.06.2013 00:00 with a daily swing, so that the
    // humidity crosses the thresholds 35 and 55 and gets all three colours.
    void buildDay(int count = 1440)
    {
        ReportState& r = form().document().state();
        r.ReportData.clear();
        for (int i = 0; i < count; ++i) {
            const double rh = 45 + 20 * std::sin(2 * M_PI * i / 1440.0);
            const double t = 21 + 6 * std::sin(2 * M_PI * i / 1440.0 + 1);
            r.ReportData.push_back({at(15, 0, 0) + i / 1440.0 + 5.0 / 86400, int16_t(std::lround(rh * 100)),
                                    int16_t(std::lround(t * 100))});
        }
        r.ReportCount = r.ReportData.size();
        r.IntervalStart = 0;
        r.IntervalEnd = at(30, 0, 0);
        r.DeviceNumberText = QStringLiteral("00A3");
        r.ReportComment = QStringLiteral("склад");
        form().setColorChart(true);
        gui::named<MaskEdit>(form().textReportPage(), "MaskEdit7")->setText(QStringLiteral("+35,0"));
        gui::named<MaskEdit>(form().textReportPage(), "MaskEdit8")->setText(QStringLiteral("+55,0"));
        form().BuildReport(false);
    }
    void showPage3()
    {
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
        QApplication::processEvents();
    }
    TimeChart* chart(int n) const { return n == 1 ? form().graphPage().humidityChart() : form().graphPage().temperatureChart(); }

    // Every label of a chart's drawing as the chart made it and as the page's handler left it.
    struct Label {
        QString made, drawn;
    };
    struct Labels {
        std::vector<Label> bottom, left;
    };
    Labels drawnLabels(TimeChart* c)
    {
        Labels labels;
        Label current;
        // Slots run in the order of connection: around the page's own handler.
        GraphPage* page = &form().graphPage();
        QObject::disconnect(c, &TimeChart::getAxisLabel, page, nullptr);
        auto before = QObject::connect(c, &TimeChart::getAxisLabel, c, [&](ChartAxis*, QString& text) { current.made = text; });
        QObject::connect(c, &TimeChart::getAxisLabel, page,
                         [page, c](ChartAxis* axis, QString& text) { page->rewriteLabel(c, axis, text); });
        auto after = QObject::connect(c, &TimeChart::getAxisLabel, c, [&](ChartAxis* axis, QString& text) {
            current.drawn = text;
            if (axis == &c->bottomAxis())
                labels.bottom.push_back(current);
            else if (axis == &c->leftAxis())
                labels.left.push_back(current);
        });
        c->grab();
        QObject::disconnect(before);
        QObject::disconnect(after);
        return labels;
    }

    static QString shotPath(const QString& name)
    {
        const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
        QDir().mkpath(folder);
        return QDir(folder).filePath(name);
    }
};

TEST_F(GraphPageInWindow, ChartsAsDesigned)
{
    MainWindow& f = form();
    EXPECT_EQ(f.graphPage().bevelOuter(), BevelPanel::Bevel::Lowered);
    EXPECT_EQ(f.graphPage().bevelInner(), BevelPanel::Bevel::Raised);
    EXPECT_EQ(f.graphPage().humidityChart()->seriesTitle(), QStringLiteral("RHSerie"));
    EXPECT_EQ(f.graphPage().temperatureChart()->seriesTitle(), QStringLiteral("TSerie"));
    EXPECT_TRUE(f.graphPage().humidityChart()->titleVisible());
    EXPECT_FALSE(f.graphPage().temperatureChart()->titleVisible());
    EXPECT_EQ(f.graphPage().humidityChart()->marginBottom(), 0);
    EXPECT_EQ(f.graphPage().temperatureChart()->marginTop(), 0);
    for (TimeChart* c : {f.graphPage().humidityChart(), f.graphPage().temperatureChart()}) {
        EXPECT_EQ(c->bottomAxis().title(), QStringLiteral("Время / Дата"));
        EXPECT_EQ(c->bottomAxis().kind(), ChartAxis::Kind::DateTime);
        EXPECT_FALSE(c->rightAxis().visible());
        EXPECT_EQ(c->rightAxis().minimum(), -50);
        EXPECT_EQ(c->rightAxis().maximum(), 100);
    }
    EXPECT_FALSE(f.graphPage().humidityChart()->bottomAxis().visible());
    EXPECT_TRUE(f.graphPage().humidityChart()->bottomAxis().grid());
    EXPECT_TRUE(f.graphPage().temperatureChart()->bottomAxis().visible());
    EXPECT_FALSE(f.graphPage().temperatureChart()->bottomAxis().grid());
    EXPECT_EQ(f.graphPage().humidityChart()->leftAxis().title(), QStringLiteral("Относительная влажность, %"));
    EXPECT_EQ(f.graphPage().temperatureChart()->leftAxis().title(), QStringLiteral("Температура, °C"));
    const ChartAxis& top = f.graphPage().humidityChart()->topAxis();
    EXPECT_TRUE(top.visible() && top.line());
    EXPECT_FALSE(top.labels() || top.ticks() || top.grid() || top.automatic());
    EXPECT_EQ(top.minimum(), 0);
    EXPECT_EQ(top.maximum(), 25);
    EXPECT_FALSE(f.graphPage().temperatureChart()->topAxis().visible());
}

TEST_F(GraphPageInWindow, ResizeKeepsTheHumidityChartAtHalfThePanelLessSixteen)
{
    MainWindow& f = form();
    showPage3();
    for (const QSize size : {QSize(1016, 718), QSize(800, 601), QSize(1200, 900)}) {
        f.resize(size);
        QApplication::processEvents();
        ASSERT_EQ(f.graphPage().geometry(), gui::named<QWidget>(f, "TabSheet3")->rect());
        const int frame = f.graphPage().frameWidth();
        const QRect inner = f.graphPage().rect().adjusted(frame, frame, -frame, -frame);
        EXPECT_EQ(f.graphPage().humidityChart()->geometry(), QRect(inner.left(), inner.top(), inner.width(), f.graphPage().height() / 2 - 16));
        EXPECT_EQ(f.graphPage().temperatureChart()->geometry(), QRect(inner.left(), f.graphPage().humidityChart()->geometry().bottom() + 1, inner.width(),
                                              inner.bottom() - f.graphPage().humidityChart()->geometry().bottom()));
    }
    // A hidden chart leaves its room to the other; a filling Chart1 takes the whole panel.
    const int frame = f.graphPage().frameWidth();
    const QRect inner = f.graphPage().rect().adjusted(frame, frame, -frame, -frame);
    f.graphPage().humidityChart()->hide();
    EXPECT_EQ(f.graphPage().temperatureChart()->geometry(), inner);
    f.graphPage().humidityChart()->show();
    f.graphPage().temperatureChart()->hide();
    f.graphPage().setHumidityAlign(ChartAlign::Client);
    EXPECT_EQ(f.graphPage().humidityChart()->geometry(), inner);
}

TEST_F(GraphPageInWindow, BuildHandsTheReportAndTitleToBothCharts)
{
    buildDay(600);
    for (TimeChart* c : {form().graphPage().humidityChart(), form().graphPage().temperatureChart()}) {
        EXPECT_EQ(c->seriesCount(), 600u);
        EXPECT_EQ(c->titleText(), QStringLiteral("Термогигрометр №00A3 - склад"));
        EXPECT_EQ(c->seriesMinX(), at(15, 0, 0));
        EXPECT_EQ(c->seriesMaxX(), TruncToMinute(at(15, 9, 59)));
    }
    EXPECT_NEAR(form().graphPage().humidityChart()->seriesMaxY(), 65, 0.01);
    EXPECT_NEAR(form().graphPage().temperatureChart()->seriesMinY(), 21 + 6 * std::sin(1.0 + 2 * M_PI * 599 / 1440), 0.01);
}

TEST_F(GraphPageInWindow, ZoomPanAndUndoKeepBothTimeAxesInStep)
{
    buildDay();
    showPage3();
    for (const int from : {1, 2}) {
        TimeChart* a = chart(from);
        TimeChart* b = chart(3 - from);
        SCOPED_TRACE(from);
        const QRect plot = a->plotRect();

        const double bLow = b->leftAxis().minimum(), bHigh = b->leftAxis().maximum();
        gui::SignalCount zoomed(a, &TimeChart::zoomed);
        drag(a, plot.topLeft() + QPoint(plot.width() / 4, 10), plot.center(), Qt::LeftButton);
        EXPECT_EQ(zoomed.count(), 1);
        EXPECT_FALSE(a->bottomAxis().automatic());
        EXPECT_FALSE(a->leftAxis().automatic());
        EXPECT_FALSE(b->bottomAxis().automatic());
        EXPECT_LT(a->bottomAxis().maximum() - a->bottomAxis().minimum(), 0.3) << "a quarter of the day";
        EXPECT_EQ(b->bottomAxis().minimum(), a->bottomAxis().minimum());
        EXPECT_EQ(b->bottomAxis().maximum(), a->bottomAxis().maximum());
        EXPECT_EQ(b->leftAxis().minimum(), bLow) << "value axes stay each chart's own";
        EXPECT_EQ(b->leftAxis().maximum(), bHigh);

        const double before = a->bottomAxis().minimum();
        gui::SignalCount scrolled(a, &TimeChart::scrolled);
        drag(a, plot.center(), plot.center() + QPoint(100, 0), Qt::RightButton);
        EXPECT_GE(scrolled.count(), 1);
        EXPECT_LT(a->bottomAxis().minimum(), before) << "dragging right shows earlier times";
        EXPECT_EQ(b->bottomAxis().minimum(), a->bottomAxis().minimum());
        EXPECT_EQ(b->bottomAxis().maximum(), a->bottomAxis().maximum());

        gui::SignalCount undone(b, &TimeChart::undoneZoom);
        drag(b, b->plotRect().center(), b->plotRect().center() - QPoint(60, 40), Qt::LeftButton);
        EXPECT_EQ(undone.count(), 1);
        for (TimeChart* c : {a, b}) {
            EXPECT_TRUE(c->bottomAxis().automatic());
            EXPECT_EQ(c->bottomAxis().minimum(), c->seriesMinX());
            EXPECT_EQ(c->bottomAxis().maximum(), c->seriesMaxX());
        }
    }
}

TEST_F(GraphPageInWindow, UndoingAZoomReturnsEachValueAxisToItsConfiguredRange)
{
    buildDay();
    const struct {
        int humidityMode, temperatureMode;
        double humidityLow, humidityHigh, temperatureLow, temperatureHigh;
        bool automatic;
    } cases[] = {
        {2, 2, 0, 100, 0, 50, false},  // "Весь диапазон"
        {3, 3, 10, 90, -5, 35, false}, // "Ручной ввод"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.humidityMode);
        gui::named<QComboBox>(*form().graphSetupDialog(), "ComboBox1")->setCurrentIndex(c.humidityMode);
        gui::named<QComboBox>(*form().graphSetupDialog(), "ComboBox2")->setCurrentIndex(c.temperatureMode);
        gui::named<MaskEdit>(*form().graphSetupDialog(), "MaskEdit1")->setText(QStringLiteral("+10,0"));
        gui::named<MaskEdit>(*form().graphSetupDialog(), "MaskEdit2")->setText(QStringLiteral("+90,0"));
        gui::named<MaskEdit>(*form().graphSetupDialog(), "MaskEdit3")->setText(QStringLiteral("-05,0"));
        gui::named<MaskEdit>(*form().graphSetupDialog(), "MaskEdit4")->setText(QStringLiteral("+35,0"));
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(&form().textReportPage());
        showPage3();
        const double lows[] = {c.humidityLow, c.temperatureLow}, highs[] = {c.humidityHigh, c.temperatureHigh};
        for (const int n : {1, 2}) {
            TimeChart* a = chart(n);
            TimeChart* b = chart(3 - n);
            ASSERT_EQ(a->leftAxis().minimum(), lows[n - 1]);
            const QRect plot = a->plotRect();
            drag(a, plot.topLeft() + QPoint(plot.width() / 4, 10), plot.center(), Qt::LeftButton);
            drag(a, plot.center(), plot.center() + QPoint(30, 20), Qt::RightButton);
            ASSERT_NE(a->leftAxis().minimum(), lows[n - 1]);
            // The other chart's value axis keeps its own zoom until its own undo.
            drag(b, b->plotRect().topLeft() + QPoint(20, 10), b->plotRect().center(), Qt::LeftButton);
            const double bLow = b->leftAxis().minimum();
            drag(a, plot.center(), plot.center() - QPoint(60, 40), Qt::LeftButton);
            EXPECT_FALSE(a->leftAxis().automatic());
            EXPECT_EQ(a->leftAxis().minimum(), lows[n - 1]);
            EXPECT_EQ(a->leftAxis().maximum(), highs[n - 1]);
            EXPECT_EQ(b->leftAxis().minimum(), bLow);
            EXPECT_TRUE(a->bottomAxis().automatic());
            EXPECT_TRUE(b->bottomAxis().automatic());
            drag(b, b->plotRect().center(), b->plotRect().center() - QPoint(60, 40), Qt::LeftButton);
            EXPECT_EQ(b->leftAxis().minimum(), lows[2 - n]);
            EXPECT_EQ(b->leftAxis().maximum(), highs[2 - n]);
        }
    }
}

TEST_F(GraphPageInWindow, APointWithoutANeighbourShowsAsADotOfItsColour)
{
    // A fresh log: one reading, or several in the same minute (one x position), with the
    // colours on (green inside the thresholds) and in black without them.
    const struct {
        const char* name;
        std::vector<int> seconds;
        bool colours;
        QRgb colour;
    } cases[] = {
        {"one reading", {5}, true, 0x008000},
        {"three readings in one minute", {5, 20, 40}, true, 0x008000},
        {"one reading without colours", {5}, false, 0x000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReportState& r = form().document().state();
        r.ReportData.clear();
        for (const int s : c.seconds)
            r.ReportData.push_back({at(15, 12, 18, s), 4500, 2100});
        r.ReportCount = r.ReportData.size();
        r.IntervalStart = 0;
        r.IntervalEnd = at(30, 0, 0);
        form().setColorChart(c.colours);
        gui::named<MaskEdit>(form().textReportPage(), "MaskEdit7")->setText(QStringLiteral("+35,0"));
        gui::named<MaskEdit>(form().textReportPage(), "MaskEdit8")->setText(QStringLiteral("+55,0"));
        form().BuildReport(false);
        showPage3();
        for (TimeChart* ch : {form().graphPage().humidityChart(), form().graphPage().temperatureChart()}) {
            for (const bool grid : {true, false}) {
                ch->leftAxis().setGrid(grid);  // without the grid, black pixels are the series'
                const QImage image = ch->grab().toImage();
                const QRect plot = ch->plotRect().adjusted(2, 2, -2, -2);
                int pixels = 0;
                QRect seen;
                for (int y = plot.top(); y <= plot.bottom(); ++y)
                    for (int x = plot.left(); x <= plot.right(); ++x)
                        if ((image.pixel(x, y) & 0xFFFFFF) == c.colour) {
                            ++pixels;
                            seen |= QRect(x, y, 1, 1);
                        }
                if (!grid || c.colour != 0) {
                    EXPECT_GE(pixels, 9) << ch->objectName().toStdString();
                    EXPECT_LE(seen.width(), 6) << "a dot, not a line";
                    EXPECT_LE(seen.height(), 6);
                }
            }
            ch->leftAxis().setGrid(true);
        }
        form().graphPage().grab().save(shotPath(QStringLiteral("graph_page_%1.png").arg(QString::fromUtf8(c.name).replace(' ', '_'))));
    }
}

TEST_F(GraphPageInWindow, AnHourZoomedOnTheTemperatureChartShowsOnTheHumidityChart)
{
    buildDay();
    showPage3();
    TimeChart* t = form().graphPage().temperatureChart();
    // The hour 10:00 to 11:00 as a dragged rectangle on the temperature chart's plot.
    const QRect plot = t->plotRect();
    const auto px = [&](double x) {
        return plot.left() + int(std::lround((x - t->seriesMinX()) / (t->seriesMaxX() - t->seriesMinX()) * (plot.width() - 1)));
    };
    drag(t, QPoint(px(at(15, 10, 0)), plot.top() + 5), QPoint(px(at(15, 11, 0)), plot.bottom() - 5), Qt::LeftButton);
    const double minute = 1.0 / 1440;
    EXPECT_NEAR(t->bottomAxis().minimum(), at(15, 10, 0), 2 * minute);
    EXPECT_NEAR(t->bottomAxis().maximum(), at(15, 11, 0), 2 * minute);
    EXPECT_EQ(form().graphPage().humidityChart()->bottomAxis().minimum(), t->bottomAxis().minimum());
    EXPECT_EQ(form().graphPage().humidityChart()->bottomAxis().maximum(), t->bottomAxis().maximum());
}

TEST_F(GraphPageInWindow, TimeLabelsReadHoursAndMinutesOverTheDate)
{
    buildDay();
    showPage3();
    TimeChart* t = form().graphPage().temperatureChart();
    t->bottomAxis().setMinMax(at(15, 14, 28, 30), at(15, 14, 31, 10));
    const Labels labels = drawnLabels(t);
    std::vector<QString> made, drawn;
    for (const Label& l : labels.bottom) {
        made.push_back(l.made);
        drawn.push_back(l.drawn);
    }
    const QChar sep = SystemDateTimeSeparators().time;
    const auto hm = [&](const char* h, const char* m) { return QString::fromLatin1(h) + sep + QString::fromLatin1(m); };
    const QString day = QStringLiteral("15.06.13");
    // Ticks on whole minutes, so no two labels read the same.
    EXPECT_EQ(made, (std::vector<QString>{day + '|' + hm("14", "29") + sep + "00", day + '|' + hm("14", "30") + sep + "00",
                                          day + '|' + hm("14", "31") + sep + "00"}));
    EXPECT_EQ(drawn, (std::vector<QString>{hm("14", "29") + '\r' + day, hm("14", "30") + '\r' + day,
                                           hm("14", "31") + '\r' + day}));
    QString text = QStringLiteral("15.06.13|14:30:59");
    form().graphPage().rewriteLabel(form().graphPage().humidityChart(), &form().graphPage().humidityChart()->bottomAxis(), text);
    EXPECT_EQ(text, QStringLiteral("14:30\r15.06.13"));
}

TEST_F(GraphPageInWindow, ValueLabelsOnlyWithinTheQuantitysRange)
{
    buildDay();
    showPage3();
    struct Case {
        int chart;
        int displayMode;
        double min, max;
        double lower, upper;
    };
    const Case cases[] = {
        {1, 0, 0, 120, 0, 100}, {1, 2, -20, 120, 0, 100}, {1, 1, -100, 100, -60, 60}, {2, 1, -100, 100, -40, 50},
    };
    for (const Case& c : cases) {
        form().graphPage().setDisplayMode(c.displayMode, false);
        TimeChart* ch = chart(c.chart);
        ch->leftAxis().setMinMax(c.min, c.max);
        const Labels labels = drawnLabels(ch);
        int shown = 0, blanked = 0;
        for (const Label& l : labels.left) {
            const double v = ParseDecimal(l.made);
            const bool inside = v >= c.lower && v <= c.upper;
            EXPECT_EQ(l.drawn, inside ? l.made : QString()) << l.made.toStdString();
            ++(inside ? shown : blanked);
        }
        EXPECT_GT(shown, 2);
        EXPECT_GT(blanked, 0);
    }
}

TEST_F(GraphPageInWindow, PartDividersPaintedAsGreenColumns)
{
    buildDay();
    showPage3();
    struct Case {
        bool enabled;
        int parts;
        int lines;
    };
    for (const Case c : {Case{true, 7, 6}, Case{true, 2, 1}, Case{false, 7, 0}, Case{true, 1, 0}}) {
        form().graphPage().setPartDividers(c.enabled, c.parts);
        for (TimeChart* ch : {form().graphPage().humidityChart(), form().graphPage().temperatureChart()}) {
            const QImage image = ch->grab().toImage();
            const QRect plot = ch->plotRect();
            const std::vector<int> expected = PartDividerPositions(c.enabled, c.parts, plot.left(), plot.width());
            ASSERT_EQ(int(expected.size()), c.lines);
            // Columns that are green all the way from the plot's top to its bottom.
            std::vector<int> green;
            for (int x = 0; x < image.width(); ++x) {
                bool all = true;
                for (int y = plot.top(); y <= plot.bottom() && all; ++y)
                    all = image.pixelColor(x, y) == QColor(0x00, 0x80, 0x00);
                if (all)
                    green.push_back(x);
            }
            EXPECT_EQ(green, expected) << c.parts << " parts, " << ch->objectName().toStdString();
            if (c.parts == 2) {
                EXPECT_LE(std::abs(green.front() - (plot.left() + plot.width() / 2)), 1);
            }
        }
    }
}

TEST_F(GraphPageInWindow, DisplayModeSetsTheHumidityAxisTitle)
{
    const char* titles[] = {"Относительная влажность, %", "Температура точки росы, °C", "Абсолютная влажность, г/куб.м"};
    for (int mode : {1, 2, 0}) {
        gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(mode);
        gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->clicked();
        EXPECT_EQ(form().graphPage().humidityChart()->leftAxis().title(), QString::fromUtf8(titles[mode]));
    }
}

TEST_F(GraphPageInWindow, PicturesOfThePage)
{
    buildDay(400);
    form().graphPage().setPartDividers(true, 7);
    showPage3();
    EXPECT_TRUE(form().grab().save(shotPath("graph_page.png")));
    EXPECT_TRUE(form().graphPage().humidityChart()->grab().save(shotPath("graph_chart1.png")));
    EXPECT_TRUE(form().graphPage().temperatureChart()->grab().save(shotPath("graph_chart2.png")));
    gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(1);
    gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->clicked();
    form().graphPage().temperatureChart()->hide();
    form().graphPage().setHumidityAlign(ChartAlign::Client);
    form().graphPage().humidityChart()->bottomAxis().setVisible(true);
    form().graphPage().humidityChart()->setMarginBottom(4);
    QApplication::processEvents();
    EXPECT_TRUE(form().grab().save(shotPath("graph_page_humidity_only.png")));
}

}  // namespace
