// The graph setup dialog on its own (the values it hands over) and through the real window:
// axis modes made into ranges, chart visibility and page layout; the refused range that stops
// the settings; the time span and the dividers on "Ok"; the pickers on opening.
#include "support/main_window_fixture.h"
#include "widgets/bevel_panel.h"
#include "widgets/mask_edit.h"
#include "report/date_time.h"
#include "views/chart_axis.h"
#include "views/graph_settings.h"
#include "views/ui/graph_page.h"
#include "views/ui/graph_setup_dialog.h"
#include "views/ui/time_chart.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>

#include <vector>

namespace {

double at(int h, int mi, int s = 0)
{
    return DayCountOf(QDate(2026, 3, 14), ((h * 60 + mi) * 60 + s) * 1000);
}

// The dialog alone: what it hands over, and when.
TEST(GraphSetupDialogValues, ItHandsOverWhatItShowsAndOnlyWhenTheUserAsks)
{
    GraphSetupDialog dialog(nullptr);
    EXPECT_EQ(dialog.axisSettings(), GraphAxisSettings{}) << "the design values";

    std::vector<GraphAxisSettings> chosen;
    std::vector<GraphSetup> applied;
    QObject::connect(&dialog, &GraphSetupDialog::axisSettingsChosen,
                     [&](const GraphAxisSettings& s) { chosen.push_back(s); });
    QObject::connect(&dialog, &GraphSetupDialog::setupChosen, [&](const GraphSetup& s) { applied.push_back(s); });

    // Settings put in from the settings file: shown, not handed over; a mode outside the list
    // leaves the list without a choice.
    const GraphAxisSettings stored{kAxisManual, 7, QStringLiteral("+10,0"), QStringLiteral("+90,0"),
                                   QStringLiteral("-05,0"), QStringLiteral("+35,0")};
    dialog.setAxisSettings(stored);
    EXPECT_TRUE(chosen.empty());
    GraphAxisSettings shown = stored;
    shown.temperatureMode = -1;
    EXPECT_EQ(dialog.axisSettings(), shown);

    // The user's choice of a mode hands over the settings as they stand.
    auto* humidityMode = gui::named<QComboBox>(dialog, "ComboBox1");
    humidityMode->setCurrentIndex(kAxisAutomatic);
    EXPECT_TRUE(chosen.empty()) << "a mode set without the user is not handed over";
    emit humidityMode->activated(kAxisAutomatic);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].humidityMode, kAxisAutomatic);
    EXPECT_EQ(chosen[0].temperatureMaximum, QStringLiteral("+35,0"));

    // The manual limits take input as the page says.
    dialog.enableManualLimits(GraphChart::Temperature, true);
    EXPECT_FALSE(gui::named<MaskEdit>(dialog, "MaskEdit1")->isEnabled());
    EXPECT_TRUE(gui::named<MaskEdit>(dialog, "MaskEdit4")->isEnabled());

    // "Ok": the span of the pickers (to the minute as shown), the dividers and the axes.
    const double start = DayCountOf(QDate(2026, 3, 14), (10 * 60 + 5) * 60000);
    const double end = DayCountOf(QDate(2026, 3, 15), (8 * 60 + 30) * 60000);
    dialog.showSpan(start, end);
    gui::named<QCheckBox>(dialog, "CheckBox1")->setChecked(true);
    gui::named<QSpinBox>(dialog, "Parts")->setValue(12);
    dialog.show();
    gui::named<QPushButton>(dialog, "Button1")->click();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_DOUBLE_EQ(applied[0].start, start);
    EXPECT_DOUBLE_EQ(applied[0].end, end);
    EXPECT_TRUE(applied[0].dividers);
    EXPECT_EQ(applied[0].parts, 12);
    EXPECT_EQ(applied[0].axes, dialog.axisSettings());
}

class GraphSetup : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        setRecords({{at(10, 0), 4000, 2000}, {at(11, 0), 6000, 2500}, {at(12, 30, 15), 5000, 2200}});
        form().setReportActionsEnabled(true);
    }
    void setRecords(const std::vector<MeasurementRecord>& records)
    {
        setReport(records, QStringLiteral("00A3"), at(23, 59));
        form().BuildReport(false);
    }
    GraphSetupDialog& dialog() const { return *form().graphSetupDialog(); }
    // A control of the dialog by its designer name.
    template <typename T>
    T* in(const char* name) const
    {
        return gui::named<T>(dialog(), name);
    }
    // A mode picked by the user in one of the two lists.
    void pick(QComboBox* list, int mode)
    {
        list->setCurrentIndex(mode);
        emit list->activated(mode);
    }
    std::pair<double, double> range(const ChartAxis& axis) const { return {axis.minimum(), axis.maximum()}; }
    TimeChart& chart1() const { return *form().graphPage().humidityChart(); }
    TimeChart& chart2() const { return *form().graphPage().temperatureChart(); }
    // Inside the open dialog: the pickers, a picture of it, a new span and dividers, "Ok".
    void checkOpenDialog();
};

TEST_F(GraphSetup, AxisModesSetTheValueRangesAtOnce)
{
    pick(in<QComboBox>("ComboBox1"), kAxisAutomatic);
    pick(in<QComboBox>("ComboBox2"), kAxisAutomatic);
    EXPECT_EQ(range(chart1().leftAxis()), std::make_pair(38.0, 62.0));
    EXPECT_NEAR(chart2().leftAxis().minimum(), 19.5, 1e-9);
    EXPECT_NEAR(chart2().leftAxis().maximum(), 25.5, 1e-9);
    EXPECT_FALSE(in<MaskEdit>("MaskEdit1")->isEnabled());

    pick(in<QComboBox>("ComboBox1"), kAxisFullRange);
    pick(in<QComboBox>("ComboBox2"), kAxisFullRange);
    EXPECT_EQ(range(chart1().leftAxis()), std::make_pair(0.0, 100.0));
    EXPECT_EQ(range(chart2().leftAxis()), std::make_pair(0.0, 50.0));

    in<MaskEdit>("MaskEdit3")->setText("-05,0");
    in<MaskEdit>("MaskEdit4")->setText("+35,5");
    pick(in<QComboBox>("ComboBox2"), kAxisManual);
    EXPECT_EQ(range(chart2().leftAxis()), std::make_pair(-5.0, 35.5));
    EXPECT_TRUE(in<MaskEdit>("MaskEdit3")->isEnabled());
    EXPECT_TRUE(in<MaskEdit>("MaskEdit4")->isEnabled());
    EXPECT_FALSE(in<MaskEdit>("MaskEdit1")->isEnabled());
}

TEST_F(GraphSetup, HiddenChartsAndTheLayoutOfThePage)
{
    gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
    QApplication::processEvents();
    const int panel = form().graphPage().height();

    pick(in<QComboBox>("ComboBox1"), kAxisAutomatic);
    pick(in<QComboBox>("ComboBox2"), kAxisAutomatic);
    EXPECT_FALSE(chart1().isHidden());
    EXPECT_FALSE(chart2().isHidden());
    EXPECT_EQ(chart1().height(), panel / 2 - 16);
    EXPECT_FALSE(chart1().bottomAxis().visible());
    EXPECT_TRUE(chart2().bottomAxis().visible());
    EXPECT_TRUE(chart1().titleVisible());
    EXPECT_FALSE(chart2().titleVisible());

    // Only the temperature chart: it fills the page with its own title and the time axis.
    pick(in<QComboBox>("ComboBox1"), kAxisOff);
    EXPECT_TRUE(chart1().isHidden());
    EXPECT_EQ(chart2().height(), panel - 2 * form().graphPage().contentsMargins().top());
    EXPECT_TRUE(chart2().titleVisible());
    EXPECT_TRUE(chart2().bottomAxis().visible());

    // Only the humidity chart.
    pick(in<QComboBox>("ComboBox1"), kAxisAutomatic);
    pick(in<QComboBox>("ComboBox2"), kAxisOff);
    EXPECT_TRUE(chart2().isHidden());
    EXPECT_TRUE(chart1().bottomAxis().visible());
    EXPECT_GT(chart1().height(), panel / 2);

    pick(in<QComboBox>("ComboBox1"), kAxisOff);
    EXPECT_TRUE(chart1().isHidden());
    EXPECT_TRUE(chart2().isHidden());
}

TEST_F(GraphSetup, ARefusedMaximumStopsTheSettingsThere)
{
    pick(in<QComboBox>("ComboBox2"), kAxisFullRange);
    in<MaskEdit>("MaskEdit1")->setText("+80,0");
    in<MaskEdit>("MaskEdit2")->setText("+20,0");
    in<QComboBox>("ComboBox1")->setCurrentIndex(kAxisManual);
    in<QComboBox>("ComboBox2")->setCurrentIndex(kAxisAutomatic);
    try {
        form().graphPage().applyAxisSettings(dialog().axisSettings());
        FAIL() << "the humidity axis must refuse 20 after 80";
    } catch (const AxisRangeError& e) {
        EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
    }
    EXPECT_EQ(range(chart1().leftAxis()), std::make_pair(80.0, 10000.0));
    // The temperature axis was not reached: still the wide range, not its automatic limits.
    EXPECT_EQ(range(chart2().leftAxis()), std::make_pair(-10000.0, 10000.0));
    // The humidity limits were taken up before the refusal.
    EXPECT_TRUE(in<MaskEdit>("MaskEdit1")->isEnabled());
    EXPECT_FALSE(in<MaskEdit>("MaskEdit3")->isEnabled());
}

TEST_F(GraphSetup, OpeningPutsTheSeriesSpanIntoThePickersAndOkSetsTheTimeSpanAndDividers)
{
    bool ran = false;
    gui::whileModal(dialog(), [&] {
        ran = true;
        checkOpenDialog();
    });
    gui::named<QAction>(form(), "AcSetupGraph")->trigger();
    ASSERT_TRUE(ran);
    EXPECT_FALSE(dialog().isVisible());
    for (TimeChart* chart : {&chart1(), &chart2()}) {
        EXPECT_FALSE(chart->bottomAxis().automatic());
        EXPECT_DOUBLE_EQ(chart->bottomAxis().minimum(), at(11, 0));
        EXPECT_DOUBLE_EQ(chart->bottomAxis().maximum(), at(12, 0, 30));
    }
    EXPECT_TRUE(form().graphPage().partDividersEnabled());
    EXPECT_EQ(form().graphPage().partCount(), 3);
}

void GraphSetup::checkOpenDialog()
{
    EXPECT_EQ(in<QDateEdit>("DateTimePicker1")->date(), QDate(2026, 3, 14));
    EXPECT_EQ(in<QTimeEdit>("DateTimePicker2")->time(), QTime(10, 0));
    EXPECT_EQ(in<QTimeEdit>("DateTimePicker4")->time(), QTime(12, 30));  // the series holds minutes
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("screenshots");
    QDir().mkpath(folder);
    dialog().grab().save(QDir(folder).filePath("select_form.png"));

    // A start after the end gives the same span as the two swapped.
    in<QTimeEdit>("DateTimePicker2")->setTime(QTime(12, 0, 30));
    in<QTimeEdit>("DateTimePicker4")->setTime(QTime(11, 0));
    in<QCheckBox>("CheckBox1")->setChecked(true);
    in<QSpinBox>("Parts")->setValue(3);
    in<QPushButton>("Button1")->click();
}

TEST_F(GraphSetup, WithoutPointsThePickersShowDayZero)
{
    setRecords({});
    gui::whileModal(dialog(), [&] {
        EXPECT_EQ(in<QDateEdit>("DateTimePicker1")->date(), QDate(1899, 12, 30));
        EXPECT_EQ(in<QTimeEdit>("DateTimePicker2")->time(), QTime(0, 0));
    });
    gui::named<QAction>(form(), "AcSetupGraph")->trigger();
}

TEST_F(GraphSetup, OkClosesTheDialogEvenWhenAnAxisRefusesItsLimits)
{
    dialog().show();
    QApplication::processEvents();
    in<MaskEdit>("MaskEdit3")->setText("+30,0");
    in<MaskEdit>("MaskEdit4")->setText("+10,0");
    in<QComboBox>("ComboBox2")->setCurrentIndex(kAxisManual);
    in<QCheckBox>("CheckBox1")->setChecked(true);
    EXPECT_THROW(in<QPushButton>("Button1")->click(), AxisRangeError);
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_TRUE(form().graphPage().partDividersEnabled());
}

TEST_F(GraphSetup, ShowingTheGraphPageAppliesTheModes)
{
    in<QComboBox>("ComboBox1")->setCurrentIndex(kAxisOff);  // chosen without the user: not applied yet
    EXPECT_FALSE(chart1().isHidden());
    gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(gui::named<QWidget>(form(), "TabSheet3"));
    QApplication::processEvents();
    EXPECT_TRUE(chart1().isHidden());
}

}  // namespace
