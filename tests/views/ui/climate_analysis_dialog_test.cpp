// "Анализ климата…" in the window: enabled with a loaded report, the dialog shows the core's
// analysis of the report's interval with the table's thresholds, is not modal (readings go on
// meanwhile), and "Сохранить…" writes each of the three forms as the core makes it; a file
// that cannot be written is told in the standard error box.
#include "report/climate_analysis.h"
#include "report/date_time.h"
#include "report/report_builder.h"
#include "support/main_window_fixture.h"
#include "views/climate_analysis_text.h"
#include "views/ui/climate_analysis_dialog.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace {

class ClimateAnalysisWindow : public MainWindowFixture {
protected:
    void SetUp() override
    {
        startAndShow();
        const double day = DayCountOf(QDate(2026, 3, 14), 0);
        for (int i = 0; i < 300; ++i)
            records.push_back({day + i / 144.0, int16_t(std::lround((50 + 20 * std::sin(i / 25.0)) * 100)), int16_t(1800 + i)});
        setReport(records, QStringLiteral("00A3"), *TryTruncToMinute(records.back().dt));
        form().document().state().IntervalStart = day;
        form().BuildReport(false);
        form().setReportActionsEnabled(true);
    }

    // The analysis the dialog must show: the interval and the table's thresholds (the
    // settings' defaults).
    ClimateAnalysis expected() const
    {
        ClimateAnalysisOptions options;
        options.thresholds = ThresholdsFromMaskTexts("+00,0", "+99,9", "-40,0", "+60,0");
        const ReportState& s = form().document().state();
        return AnalyseClimate(s.records(), s.IntervalStart, s.IntervalEnd, options);
    }

    ClimateAnalysisDialog* open()
    {
        QAction* action = gui::named<QAction>(form(), "AcClimateAnalysis");
        EXPECT_TRUE(action->isEnabled());
        action->trigger();
        return form().climateAnalysisDialog();
    }

    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    std::vector<MeasurementRecord> records;
};

}  // namespace

TEST_F(ClimateAnalysisWindow, ShowsTheAnalysisOfTheReportsIntervalBesideTheWindow)
{
    ClimateAnalysisDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal()) << "readings and the window go on while it is open";
    EXPECT_EQ(dialog->windowTitle(), "Анализ климата");
    EXPECT_EQ(dialog->page()->toPlainText(), ClimateAnalysisText(expected()));
    EXPECT_TRUE(dialog->page()->isReadOnly());
    EXPECT_EQ(gui::named<QLabel>(*dialog, "AnalysisTitle")->text(), "Термогигрометр №00A3 - ");
    EXPECT_EQ(gui::named<QPushButton>(*dialog, "AnalysisSave")->text(), "Сохранить…");
    EXPECT_EQ(dialog->analysis().readings, 300);

    // Another report loaded: opened again, the dialog shows that one's.
    form().document().state().IntervalEnd = records[99].dt;
    gui::named<QAction>(form(), "AcClimateAnalysis")->trigger();
    EXPECT_EQ(form().climateAnalysisDialog(), dialog);
    EXPECT_EQ(dialog->analysis().readings, 100);

    // The working report (its interval from day 0, "all its readings"): from its first reading.
    form().document().state().IntervalStart = 0;
    gui::named<QAction>(form(), "AcClimateAnalysis")->trigger();
    EXPECT_EQ(dialog->analysis().from, records.front().dt);
    EXPECT_EQ(dialog->analysis().noDataMinutes, 0.0);

    // Without a report the item is off.
    form().setReportActionsEnabled(false);
    EXPECT_FALSE(gui::named<QAction>(form(), "AcClimateAnalysis")->isEnabled());
}

TEST_F(ClimateAnalysisWindow, SavesEachFormAsTheCoreMakesIt)
{
    ClimateAnalysisDialog* dialog = open();
    const ClimateAnalysis a = expected();
    struct Form {
        int entry;
        const char* typed;
        const char* written;
        QByteArray bytes;
    };
    const Form forms[] = {
        {1, "hall", "hall.txt", ClimateAnalysisText(a).toUtf8()},
        {2, "hall.txt", "hall.csv", ClimateAnalysisCsv(a)},
        {3, "hall", "hall.json", ClimateAnalysisJson(a)},
    };
    for (const Form& f : forms) {
        dialogs.saveAnswers.push_back(SaveFileChoice{path(f.typed), f.entry});
        gui::named<QPushButton>(*dialog, "AnalysisSave")->click();
        EXPECT_EQ(FileBytes(path(f.written)), f.bytes) << f.written;
    }
    ASSERT_EQ(dialogs.saveRequests.size(), 3u);
    const SaveFileRequest& r = dialogs.saveRequests.front();
    EXPECT_EQ(r.title, "Сохранить анализ климата");
    EXPECT_EQ(r.directory, dir.path());
    EXPECT_EQ(r.filters, QStringList({"Текст (*.txt)", "Таблица по дням CSV (*.csv)", "JSON для программ (*.json)"}));
    EXPECT_EQ(dialogs.saveRequests.back().filterIndex, 2) << "the entry chosen last comes first";
    for (const FakeDialogs::Shown& s : dialogs.shown)
        EXPECT_EQ(s.owner, dialog) << "the save dialog belongs to the analysis dialog";
    EXPECT_TRUE(dialogs.texts(FakeDialogs::Kind::StandardError).isEmpty());

    // A folder that is not there: the standard error box, over the dialog.
    dialogs.saveAnswers.push_back(SaveFileChoice{path("missing/hall"), 1});
    gui::named<QPushButton>(*dialog, "AnalysisSave")->click();
    const QStringList errors = dialogs.texts(FakeDialogs::Kind::StandardError);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("missing")) << errors[0].toStdString();
    EXPECT_EQ(dialogs.shown.back().owner, dialog);

    // Cancelled: nothing written, nothing told.
    dialogs.saveAnswers.push_back(std::nullopt);
    gui::named<QPushButton>(*dialog, "AnalysisSave")->click();
    EXPECT_EQ(dialogs.texts(FakeDialogs::Kind::StandardError).size(), 1);
}
