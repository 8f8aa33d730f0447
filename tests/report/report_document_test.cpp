// The report held in memory and its builds: a build asked for while a build lets window
// messages run is not nested into it but follows it, made from the settings as they are then.
#include "report/date_time.h"
#include "report/recording_progress.h"
#include "report/report_document.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Built {
    int displayMode;
    qsizetype rows;
    bool buildingWhenShown;
};

}  // namespace

TEST(ReportDocument, ABuildAskedForDuringABuildFollowsItWithTheSettingsOfThen)
{
    int mode = kRelativeHumidity;
    ReportDocument document([&mode] {
        ReportSettings s;
        s.displayMode = mode;
        s.separators = DateTimeSeparators{QLatin1Char('.'), QLatin1Char(':')};
        return s;
    });
    ReportState& state = document.state();
    for (int i = 0; i < 50; ++i)
        state.ReportData.push_back(MeasurementRecord{DayCountOf(QDate(2026, 3, 1), 0) + i / 1440.0, 4500, 2000});
    state.ReportCount = state.ReportData.size();
    state.IntervalEnd = 1e6;

    std::vector<Built> shown;
    QObject::connect(&document, &ReportDocument::built, [&](const std::shared_ptr<const ReportTable>& table) {
        shown.push_back({table->displayMode(), table->rowCount(), document.building()});
    });
    RecordingProgress progress;
    document.setProgress(&progress);
    // While the first build lets messages run, the user picks the dew point twice and a
    // reading asks for a build too: one more build follows, in the new mode.
    int requests = 0;
    progress.onPump = [&] {
        if (requests < 3 && document.building()) {
            ++requests;
            mode = kDewPoint;
            document.build(requests == 3);
            EXPECT_EQ(shown.size(), 0u) << "nothing shown from inside the running build";
        }
    };
    document.build(false);
    EXPECT_FALSE(document.building());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].displayMode, kRelativeHumidity);
    EXPECT_EQ(shown[1].displayMode, kDewPoint) << "the build that follows sees the mode of then";
    EXPECT_EQ(shown[1].rows, shown[0].rows);
    EXPECT_TRUE(shown[0].buildingWhenShown);
    // Not every request came from a reading: the follow-up shows the wait window.
    EXPECT_EQ(progress.events.count(QStringLiteral("show")), 2);
}
