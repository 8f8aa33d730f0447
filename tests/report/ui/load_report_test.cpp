// Opening a stored report through the main window: the selection dialog shown modally, what
// confirming loads and builds, the comment in the title, the interval from the pickers, and
// what a cancelled dialog or an empty pool leaves.
#include "support/main_window_fixture.h"
#include "widgets/on_off_switch.h"
#include "widgets/wait_window.h"
#include "report/date_time.h"
#include "report/ui/report_selection_dialog.h"
#include "support/file_bytes.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

double at(int h, int mi, int s = 0)
{
    return DayCountOf(QDate(2026, 3, 14), ((h * 60 + mi) * 60 + s) * 1000);
}

class LoadReport : public MainWindowFixture {
protected:
    void SetUp() override { startAndShow(); }

    QString pool(const QString& file) const { return QDir(dir.path()).filePath("POOL/" + file); }
    void writeReport(const QString& file, const std::vector<MeasurementRecord>& records) const
    {
        QFile f(pool(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(records.data()), qint64(records.size() * sizeof(MeasurementRecord)));
    }
    void writeFile(const QString& file, const QByteArray& bytes) const { WriteFileBytes(pool(file), bytes); }
    ReportSelectionDialog& dialog() const { return *form().reportSelectionDialog(); }

    // Runs the load action; inside the modal dialog `act` runs, then the dialog is confirmed
    // (Ok) or cancelled.
    void load(bool confirm, const std::function<void()>& act = {})
    {
        bool ran = false;
        // The dialog prepares its first report while it is being shown, letting messages run;
        // it is worked only once its window is on the screen, as a user would.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &dialog(), [&] {
            if (ran || !dialog().windowHandle() || !dialog().windowHandle()->isExposed())
                return;
            ran = true;
            poll.stop();
            for (int i = 0; i < gui::named<QComboBox>(dialog(), "ComboBox1")->count(); ++i)
                seenInDialog << gui::named<QComboBox>(dialog(), "ComboBox1")->itemText(i);
            if (act)
                act();
            (confirm ? gui::named<QPushButton>(dialog(), "Button1") : gui::named<QPushButton>(dialog(), "Button2"))->click();
        });
        seenInDialog.clear();
        poll.start(0);
        gui::named<QAction>(form(), "AcLoadReport")->trigger();
        // A reading under way ends first; the dialog opens right after it.
        ASSERT_TRUE(gui::waitUntil([&] { return ran && !dialog().isVisible(); }));
    }
    QString cell(int row, int column) const
    {
        return gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->data(gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->index(row, column)).toString();
    }
    bool reportPagesOn() const
    {
        return gui::named<QAction>(form(), "AcTextReport")->isEnabled()
               && gui::named<QTabWidget>(form(), "PageControl1")->isTabVisible(gui::named<QTabWidget>(form(), "PageControl1")->indexOf(&form().textReportPage()));
    }

    QStringList seenInDialog;
};

TEST_F(LoadReport, ConfirmingLoadsThePreparedReportAndShowsItsPages)
{
    writeReport("b.dat", {{at(9, 0), 4000, 2000}});
    // Clock set back: 12:00 before 11:00; and a repeat in the same minute.
    writeReport("A.dat", {{at(12, 0), 5000, 2100}, {at(11, 0), 5100, 2200}, {at(11, 0, 30), 5100, 2200}});
    load(true);
    EXPECT_EQ(seenInDialog, QStringList({"A.dat", "b.dat"}));

    EXPECT_EQ(form().document().state().DeviceNumberText, "A");
    EXPECT_EQ(form().document().state().ReportComment, "");  // the untouched placeholder is no comment
    EXPECT_EQ(form().document().state().ReportCount, 2);
    EXPECT_EQ(QFileInfo(pool("A.dat")).size(), 24);  // rewritten sorted, without the repeat
    // The proposed start never lies after 2020-01-01 00:00, where the search for it begins.
    EXPECT_EQ(form().document().state().IntervalStart, DayCountOf(QDate(2020, 1, 1), 0));
    EXPECT_EQ(form().document().state().IntervalEnd, at(12, 0));
    ASSERT_EQ(gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->rowCount(), 2);
    EXPECT_EQ(cell(0, 2), "51,0");
    EXPECT_EQ(cell(1, 2), "50,0");
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label19")->text(), "Термогигрометр №A - ");
    EXPECT_TRUE(reportPagesOn());
    EXPECT_TRUE(gui::named<QAction>(form(), "AcSave")->isEnabled());
    EXPECT_TRUE(form().readingPanel().isHidden());
    EXPECT_FALSE(form().waitWindow()->isVisible());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LoadReport, TheCommentGoesIntoTheTitleAsCommaText)
{
    writeReport("Cellar.dat", {{at(9, 0), 4000, 2000}});
    writeFile("Cellar.txt", QByteArray("\xD1\xEA\xEB\xE0\xE4\r\n\xEF\xEE\xEB\xEA\xE0 3"));  // Windows-1251
    load(true);
    EXPECT_EQ(form().document().state().ReportComment, "Склад,\"полка 3\"");
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label19")->text(), "Термогигрометр №Cellar - Склад,\"полка 3\"");

    // A comment of one line with a blank is quoted, quotes and all, in the title.
    load(true, [&] {
        gui::named<QPlainTextEdit>(dialog(), "Memo1")->setPlainText("Склад 1");
    });
    EXPECT_EQ(gui::named<QLabel>(form().textReportPage(), "Label19")->text(), "Термогигрометр №Cellar - \"Склад 1\"");
}

TEST_F(LoadReport, TheIntervalComesFromThePickersWithoutSeconds)
{
    writeReport("A.dat", {{at(10, 0), 4000, 2000}, {at(10, 15), 4100, 2000}, {at(10, 16), 4200, 2000}, {at(11, 0), 4300, 2000}});
    load(true, [&] {
        gui::named<QDateEdit>(dialog(), "DateTimePicker1")->setDate(QDate(2026, 3, 14));
        gui::named<QTimeEdit>(dialog(), "DateTimePicker2")->setTime(QTime(10, 15, 42));
        gui::named<QTimeEdit>(dialog(), "DateTimePicker4")->setTime(QTime(10, 15, 59));
    });
    EXPECT_EQ(form().document().state().IntervalStart, at(10, 15));
    EXPECT_EQ(form().document().state().IntervalEnd, at(10, 15));
    ASSERT_EQ(gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 2), "41,0");
    EXPECT_EQ(gui::named<QLineEdit>(form().textReportPage(), "Edit2")->text(), "43");  // the figures cover every record

    // A start after the end is taken as it is: an empty table.
    load(true, [&] {
        gui::named<QDateEdit>(dialog(), "DateTimePicker1")->setDate(QDate(2026, 3, 14));
        gui::named<QTimeEdit>(dialog(), "DateTimePicker2")->setTime(QTime(11, 0));
        gui::named<QTimeEdit>(dialog(), "DateTimePicker4")->setTime(QTime(10, 0));
    });
    EXPECT_EQ(gui::named<QTableView>(form().textReportPage(), "Grid1")->model()->rowCount(), 0);
    EXPECT_TRUE(reportPagesOn());
}

TEST_F(LoadReport, OpeningSwitchesReadingOffAndACancelledDialogLeavesTheReportActionsOff)
{
    writeReport("A.dat", {{at(9, 0), 4000, 2000}});
    form().setReportActionsEnabled(true);
    form().readingPanel().show();
    gui::named<QLineEdit>(form().readingPanel(), "Edit5")->setText("5");
    gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->setOn(true);
    ASSERT_TRUE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());
    load(false);
    EXPECT_FALSE(gui::named<OnOffSwitch>(form().readingPanel(), "Switch1")->isOn());
    EXPECT_FALSE(gui::named<QTimer>(form().readingPanel(), "Timer1")->isActive());
    EXPECT_TRUE(form().readingPanel().isHidden());
    EXPECT_FALSE(reportPagesOn());
    EXPECT_FALSE(gui::named<QAction>(form(), "AcSave")->isEnabled());
    // The dialog prepared the first report even though it was cancelled.
    EXPECT_EQ(form().document().state().DeviceNumberText, "A");
}

TEST_F(LoadReport, ConfirmingOnAnEmptyPoolLoadsNothingAndKeepsTheReportActionsOff)
{
    load(true);
    EXPECT_TRUE(seenInDialog.isEmpty());
    EXPECT_FALSE(reportPagesOn());
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
