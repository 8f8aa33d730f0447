// The text report page through the real widgets: what a build shows in Grid1, the title and
// the figures, the display-mode switch, leaving a threshold field, the colours of marked
// cells as painted, and a build asked for while another one lets messages run.
#include "support/main_window_fixture.h"
#include "widgets/mask_edit.h"
#include "widgets/radio_group.h"
#include "widgets/wait_window.h"
#include "report/date_time.h"
#include "report/humidity.h"
#include "report/number_format.h"
#include "views/ui/report_table_model.h"

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

namespace {

double at(int h, int mi)
{
    return DayCountOf(QDate(2026, 3, 14), (h * 60 + mi) * 60000);
}

class TextReportPage : public MainWindowFixture {
protected:
    void SetUp() override { startAndShow(); }

    void setRecords(const std::vector<MeasurementRecord>& records) { setReport(records, QStringLiteral("1A2B"), at(23, 59)); }
    const ReportTableModel& model() const { return form().textReportPage().model(); }
    QString cell(int row, int column) const { return model().data(model().index(row, column)).toString(); }
    QString header(int column) const { return model().headerData(column, Qt::Horizontal).toString(); }
    void showPage2()
    {
        form().setReportActionsEnabled(true);
        gui::named<QTabWidget>(form(), "PageControl1")->setCurrentWidget(&form().textReportPage());
        QApplication::processEvents();
    }
};

TEST_F(TextReportPage, BuildShowsRowsTitleAndFiguresAndHidesTheWaitWindow)
{
    setRecords({{at(10, 0), 5000, 2150}, {at(10, 1), 12000, -525}, {at(10, 2), 5100, 2525}});
    form().BuildReport(false);
    ASSERT_EQ(model().rowCount(), 3);
    const QChar d = SystemDateTimeSeparators().date, t = SystemDateTimeSeparators().time;
    EXPECT_EQ(cell(0, 0), QString(QStringLiteral("14") + d + QStringLiteral("03") + d + QStringLiteral("26")));
    EXPECT_EQ(cell(0, 1), QString(QStringLiteral("10") + t + QStringLiteral("00")));
    EXPECT_EQ(cell(0, 2), QStringLiteral("50,0"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("---"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("-5,3"));
    EXPECT_EQ(cell(2, 3), QStringLiteral("25,3"));
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label19")->text(), QStringLiteral("Термогигрометр №1A2B - "));
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit1")->text(), QStringLiteral("50"));
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit2")->text(), QStringLiteral("51"));
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit3")->text(), QStringLiteral("-5,25"));
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit4")->text(), QStringLiteral("25,25"));
    EXPECT_FALSE(form().waitWindow()->isVisible());
    EXPECT_EQ(gui::named<QLabel>(*form().waitWindow(), "Label1")->text(), QStringLiteral("Подождите, идет создание отчета..."));
}

TEST_F(TextReportPage, NoRecordsAndAnIntervalWithoutRecords)
{
    setRecords({});
    form().BuildReport(false);
    ASSERT_EQ(model().rowCount(), 1);
    EXPECT_EQ(QStringList({cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 3)}),
              QStringList({QStringLiteral("Нет"), QStringLiteral("данных"), QStringLiteral(" "), QStringLiteral(" ")}));
    EXPECT_EQ(QStringList({gui::named<QLineEdit>(form().textReportPage(), "Edit1")->text(), gui::named<QLineEdit>(form().textReportPage(), "Edit2")->text(), gui::named<QLineEdit>(form().textReportPage(), "Edit3")->text(), gui::named<QLineEdit>(form().textReportPage(), "Edit4")->text()}),
              QStringList({QStringLiteral("100"), QStringLiteral("-100"), QStringLiteral("100"), QStringLiteral("-100")}));

    // A start after the end: only the header row, the figures still over every record.
    setRecords({{at(10, 0), 5000, 2150}});
    form().document().state().IntervalStart = at(12, 0);
    form().document().state().IntervalEnd = at(11, 0);
    form().BuildReport(false);
    EXPECT_EQ(model().rowCount(), 0);
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit1")->text(), QStringLiteral("50"));
}

TEST_F(TextReportPage, DisplayModeSwitchSetsItsTextsAndRebuildsTheHumidityColumn)
{
    struct Case {
        int entry;
        const char* label16;
        const char* label9;
        const char* header;
        double value;
    };
    const Case cases[] = {
        {1, "Температура", "точки росы - T, °C:", "Tт.р., °C", DewPoint(50, 21.5)},
        {2, "Абсолютная", "влажность - A, г/куб.м", "A, г/куб.м", AbsoluteHumidity(50, 21.5)},
        {0, "Относительная", "влажность - RH, %:", "RH, %", 50},
    };
    setRecords({{at(10, 0), 5000, 2150}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(c.entry);  // runs the click handler as a click does
        EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label16")->text(), QString::fromUtf8(c.label16));
        EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label9")->text(), QString::fromUtf8(c.label9));
        EXPECT_EQ(header(2), QString::fromUtf8(c.header));
        EXPECT_EQ(form().textReportPage().displayMode(), c.entry);
        EXPECT_EQ(cell(0, 2), TableValueText(c.value));
        EXPECT_EQ(cell(0, 3), QStringLiteral("21,5"));
        QLineEdit* minimum = gui::named<QLineEdit>(form().textReportPage(), "Edit1");
        EXPECT_EQ(minimum->text(), GeneralNumberText(c.value));
        // A dew point to fifteen digits is wider than its field: the field shows its beginning
        // and the whole figure when the pointer rests on it.
        EXPECT_EQ(minimum->cursorPosition(), 0);
        EXPECT_EQ(minimum->toolTip(), GeneralNumberText(c.value));
    }
}

TEST_F(TextReportPage, LeavingEachThresholdFieldRebuildsWithItsText)
{
    setRecords({{at(10, 0), 5000, 2150}});
    showPage2();
    MaskEdit* fields[] = {gui::named<MaskEdit>(form().textReportPage(), "MaskEdit7"), gui::named<MaskEdit>(form().textReportPage(), "MaskEdit8"), gui::named<MaskEdit>(form().textReportPage(), "MaskEdit9"), gui::named<MaskEdit>(form().textReportPage(), "MaskEdit10")};
    const char* texts[] = {"-4 , ", "+  , ", "+12,5", "3  , "};
    for (int i = 0; i < 4; ++i) {
        // The offscreen platform hands the activation to every window it shows, the wait
        // window included; take it back as the desktop does when that window hides.
        ASSERT_TRUE(gui::waitActive(&form()));
        fields[i]->setFocus();
        QApplication::processEvents();
        fields[i]->setText(QString::fromUtf8(texts[i]));
        const auto before = model().sharedTable();
        fields[(i + 1) % 4]->setFocus();  // leaving the field rebuilds, changed or not
        QApplication::processEvents();
        EXPECT_NE(model().sharedTable(), before) << i;
    }
    const Thresholds& t = model().table().thresholds();
    EXPECT_EQ(t.humidityLow, -40);
    EXPECT_EQ(t.humidityHigh, 0);
    EXPECT_EQ(t.temperatureLow, 12.5);
    EXPECT_EQ(t.temperatureHigh, 300);  // blanks are zero digits in their places
}

// The colour at a point inside a cell, clear of its text.
QRgb cellColour(QTableView* grid, const QImage& image, int row, int column)
{
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    return image.pixel(r.left() + 2, r.top() + 3) & 0xFFFFFF;
}

TEST_F(TextReportPage, MarkedCellsArePaintedByTheColourRule)
{
    // Humidity thresholds 30,0 .. 60,0; temperature -40,0 .. +60,0.
    gui::named<MaskEdit>(form().textReportPage(), "MaskEdit7")->setText(QStringLiteral("+30,0"));
    gui::named<MaskEdit>(form().textReportPage(), "MaskEdit8")->setText(QStringLiteral("+60,0"));
    setRecords({{at(10, 0), 3000, 2000},    // on the lower threshold: not marked
                {at(10, 1), 2990, 2000},    // below: blue on yellow
                {at(10, 2), 6010, 2000},    // above: red on yellow
                {at(10, 3), 12000, 7000},   // no valid value: yellow on red; 70 °C above
                {at(10, 4), 4000, -4100}}); // -41 °C below
    form().BuildReport(false);
    showPage2();
    gui::named<QTableView>(form().textReportPage(), "Grid1")->setCurrentIndex(model().index(4, 0));
    QApplication::processEvents();
    const QImage image = gui::named<QTableView>(form().textReportPage(), "Grid1")->viewport()->grab().toImage();
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("screenshots"));
    QDir().mkpath(folder);
    form().grab().save(QDir(folder).filePath(QStringLiteral("text_page_marked.png")));

    const QRgb white = 0xFFFFFF, yellow = 0xFFFF00, red = 0xFF0000;
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 0, 2), white);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 1, 2), yellow);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 2, 2), yellow);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 3, 2), red);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 3, 3), yellow);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 4, 3), yellow);
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 0, 0), white);  // dates never marked
    // The current cell in the highlight colour.
    EXPECT_EQ(cellColour(gui::named<QTableView>(form().textReportPage(), "Grid1"), image, 4, 0),
              gui::named<QTableView>(form().textReportPage(), "Grid1")->palette().color(QPalette::Active, QPalette::Highlight).rgb() & 0xFFFFFF);

    // The font colours: some pixel of the text in the value's colour.
    auto hasTextColour = [&](int row, int column, QRgb colour) {
        const QRect r = gui::named<QTableView>(form().textReportPage(), "Grid1")->visualRect(model().index(row, column));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasTextColour(1, 2, 0x0000FF));
    EXPECT_TRUE(hasTextColour(2, 2, red));
    EXPECT_TRUE(hasTextColour(3, 3, red));
    EXPECT_TRUE(hasTextColour(4, 3, 0x0000FF));
}

TEST_F(TextReportPage, ABuildAskedForDuringABuildRunsAfterItInsteadOfInsideIt)
{
    setRecords({{at(10, 0), 5000, 2150}, {at(10, 1), 5100, 2150}});
    bool nestedWhileBuilding = false;
    int tablesShown = 0;
    QObject::connect(&model(), &QAbstractItemModel::modelReset, [&] { ++tablesShown; });
    // The wait window lets messages run: a click on the display mode arrives then.
    QTimer::singleShot(0, &form(), [&] {
        nestedWhileBuilding = form().document().building();
        gui::named<RadioGroup>(form().textReportPage(), "RadioGroup1")->setItemIndex(1);
        EXPECT_EQ(tablesShown, 0) << "the nested build must not run inside the outer one";
    });
    form().BuildReport(false);
    EXPECT_TRUE(nestedWhileBuilding);
    EXPECT_FALSE(form().document().building());
    EXPECT_EQ(tablesShown, 2);
    EXPECT_EQ(model().table().displayMode(), 1);
    EXPECT_EQ(cell(0, 2), TableValueText(DewPoint(50, 21.5)));
    EXPECT_FALSE(form().waitWindow()->isVisible());
}

}  // namespace
