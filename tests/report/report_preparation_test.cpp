// Report preparation: the quicksort's exact order, de-duplication, the fixed starting extremes,
// the file written back and the wait window's phases.
#include "logging/report_file_error.h"
#include "logging/report_pool.h"
#include "report/date_time.h"
#include "report/report_preparation.h"
#include "report/recording_progress.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sys/stat.h>
#include <cstring>
#include <random>

namespace {

double at(int h, int mi, double seconds = 0, QDate date = QDate(2024, 3, 5))
{
    return DayCountOf(date, 0) + (h * 3600 + mi * 60 + seconds) / 86400.0;
}

// The sort exactly as it is defined: recursion on both halves, the middle record as pivot.
void definedSort(MeasurementRecord* a, qsizetype L, qsizetype R)
{
    qsizetype i = L, j = R;
    const double pivot = a[(L + R) / 2].dt;
    do {
        while (a[i].dt < pivot)
            ++i;
        while (a[j].dt > pivot)
            --j;
        if (i <= j) {
            std::swap(a[i], a[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (L < j)
        definedSort(a, L, j);
    if (i < R)
        definedSort(a, i, R);
}

bool sameRecords(const QList<MeasurementRecord>& a, const QList<MeasurementRecord>& b)
{
    return a.size() == b.size() && std::memcmp(a.constData(), b.constData(), size_t(a.size()) * 12) == 0;
}

TEST(SortReportData, SameOrderAsTheDefinedQuicksortEqualStampsIncluded)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + int(rng() % 300);
        QList<MeasurementRecord> records;
        const int kind = round % 5;
        for (int i = 0; i < n; ++i) {
            double dt = 0;
            switch (kind) {
            case 0: dt = double(rng() % 8); break;                 // many equal stamps
            case 1: dt = i;  break;                                // sorted
            case 2: dt = n - i; break;                             // reversed
            case 3: dt = i + ((i % 50 == 0) ? -30.0 : 0.0); break; // sorted with disorder
            default: dt = (rng() % 1000) / 7.0; break;
            }
            if (kind == 4 && rng() % 20 == 0)
                dt = NAN;  // time stamps that are no numbers must not derail the sort
            records.push_back(MeasurementRecord{dt, int16_t(i), int16_t(-i)});  // RH tells the records apart
        }
        QList<MeasurementRecord> expected = records;
        definedSort(expected.data(), 0, n - 1);
        ReportState state;
        state.ReportData = records;
        state.ReportCount = n;
        SortReportData(state, 0, n - 1);
        ASSERT_TRUE(sameRecords(state.ReportData, expected)) << "round " << round << " kind " << kind;
    }
}

TEST(SortReportData, NothingOrOneRecordIsLeftAlone)
{
    ReportState empty;
    SortReportData(empty, 0, -1);
    EXPECT_TRUE(empty.ReportData.isEmpty());
    ReportState one;
    one.ReportData = {MeasurementRecord{5, 1, 2}};
    one.ReportCount = 1;
    SortReportData(one, 0, 0);
    EXPECT_EQ(one.ReportData[0].dt, 5);
}

TEST(SortReportData, AMillionDescendingRecordsNeedNoDeepStack)
{
    QList<MeasurementRecord> records(1'000'000);
    for (qsizetype i = 0; i < records.size(); ++i)
        records[i] = MeasurementRecord{double(records.size() - i), 0, 0};
    SortReportData(records.data(), 0, records.size() - 1);
    for (qsizetype i = 1; i < records.size(); ++i)
        ASSERT_LE(double(records[i - 1].dt), double(records[i].dt));  // copies: the records are packed
}

// Orders that make a middle-pivot quicksort split off a few records per step. Each is sorted
// to the one order its distinct stamps allow, quickly enough for a test of a few hundred
// thousand records (the quicksort alone would take minutes on them).
TEST(SortReportData, AdversarialOrdersOfDistinctStampsEndInTheirOneOrder)
{
    const qsizetype n = 200'000;
    const std::function<double(qsizetype)> orders[] = {
        [](qsizetype i) { return double(i < n / 2 ? 2 * i : 2 * (n - i) - 1); },         // organ pipe
        [](qsizetype i) { return i < n / 2 ? double(i) + 0.5 : double(i - n / 2); },       // clock set back
        [](qsizetype i) { return double(i < n / 2 ? n - 2 * i : 2 * (i - n / 2) + 1) + 0.25; }, // falling, then rising
        [](qsizetype i) { return double((i % 1000) * 1000 + i / 1000); },                  // saw teeth
    };
    int number = 0;
    for (const auto& order : orders) {
        SCOPED_TRACE(number++);
        QList<MeasurementRecord> records(n);
        for (qsizetype i = 0; i < n; ++i)
            records[i] = MeasurementRecord{order(i), int16_t(i), int16_t(i >> 16)};
        QList<MeasurementRecord> expected = records;
        std::sort(expected.begin(), expected.end(), [](const MeasurementRecord& a, const MeasurementRecord& b) { return a.dt < b.dt; });
        SortReportData(records.data(), 0, n - 1);
        ASSERT_TRUE(sameRecords(records, expected));
    }
    // Stamps that are no numbers in such an order do not derail the sort; the rest still rises.
    QList<MeasurementRecord> damaged(n);
    for (qsizetype i = 0; i < n; ++i)
        damaged[i] = MeasurementRecord{i % 97 == 0 ? NAN : double(i < n / 2 ? 2 * i : 2 * (n - i) - 1), 0, 0};
    SortReportData(damaged.data(), 0, n - 1);
    double last = -1;
    for (const MeasurementRecord& r : damaged)
        if (!std::isnan(r.dt)) {
            ASSERT_LT(last, double(r.dt));
            last = r.dt;
        }
}

struct DedupCase {
    const char* name;
    std::vector<MeasurementRecord> in;
    std::vector<MeasurementRecord> kept;
};

class Dedup : public ::testing::TestWithParam<DedupCase> {};

TEST_P(Dedup, KeepsTheFirstOfEachRunInAMinute)
{
    const DedupCase& c = GetParam();
    ReportState state;
    state.ReportData = QList<MeasurementRecord>(c.in.begin(), c.in.end());
    state.ReportCount = state.ReportData.size();
    const qsizetype n = DedupReportData(state, state.ReportCount);
    ASSERT_EQ(n, qsizetype(c.kept.size()));
    EXPECT_EQ(state.ReportData.size(), qsizetype(c.in.size())) << "the list keeps its length";
    for (qsizetype i = 0; i < n; ++i) {
        EXPECT_TRUE(std::memcmp(&state.ReportData[i], &c.kept[size_t(i)], 12) == 0 || (std::isnan(state.ReportData[i].dt)
                                                                                   && std::isnan(c.kept[size_t(i)].dt)))
            << "record " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Dedup,
    ::testing::Values(
        DedupCase{"RepeatInTheSameMinute",
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 0, 40), 4525, 2150}, {at(10, 1, 10), 4525, 2150}},
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 1, 10), 4525, 2150}}},
        DedupCase{"ComparedWithTheLastKept",
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 0, 20), 4530, 2150}, {at(10, 0, 40), 4525, 2150}},
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 0, 20), 4530, 2150}, {at(10, 0, 40), 4525, 2150}}},
        DedupCase{"OtherTemperatureRemains",
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 0, 6), 4525, 2151}},
                  {{at(10, 0, 5), 4525, 2150}, {at(10, 0, 6), 4525, 2151}}},
        DedupCase{"MillisecondRoundingJoinsTheMinute",
                  {{at(10, 59, 59.9996), 100, 200}, {at(11, 0, 30), 100, 200}},
                  {{at(10, 59, 59.9996), 100, 200}}},
        DedupCase{"LongRunKeepsOnlyTheFirst",
                  {{at(9, 0, 1), 1, 1}, {at(9, 0, 2), 1, 1}, {at(9, 0, 3), 1, 1}, {at(9, 0, 4), 1, 1}},
                  {{at(9, 0, 1), 1, 1}}},
        DedupCase{"NaNStampsAreNeverRepeats",
                  {{NAN, 1, 1}, {NAN, 1, 1}, {at(9, 0, 1), 1, 1}},
                  {{NAN, 1, 1}, {NAN, 1, 1}, {at(9, 0, 1), 1, 1}}},
        DedupCase{"Empty", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

class PrepareFile : public ::testing::Test {
protected:
    QString file(const char* name) const { return QDir(dir.path()).filePath(QLatin1String(name)); }

    void write(const char* name, const std::vector<MeasurementRecord>& records) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(records.data()), qint64(records.size()) * 12);
    }

    QList<MeasurementRecord> read(const char* name) const
    {
        ReportState s;
        LoadReport(file(name), s);
        return s.ReportData;
    }

    QTemporaryDir dir;
};

TEST_F(PrepareFile, EmptyFileKeepsTheFixedExtremes)
{
    write("empty.dat", {});
    ReportState state;
    const ReportExtremes x = PrepareReportFile(state, file("empty.dat"));
    EXPECT_EQ(x.earliest, DayCountOf(QDate(2020, 1, 1), 0));
    EXPECT_EQ(x.latest, DayCountOf(QDate(2000, 1, 1), 0));
    EXPECT_EQ(state.IntervalStart, x.earliest);
    EXPECT_EQ(state.IntervalEnd, x.latest);
    EXPECT_EQ(state.ReportCount, 0);
    EXPECT_EQ(state.DeviceNumberText, QStringLiteral("empty"));
    EXPECT_TRUE(QFile::exists(file("empty.dat")));
    EXPECT_EQ(QFileInfo(file("empty.dat")).size(), 0);
}

TEST_F(PrepareFile, ExtremesStartFromFixedDates)
{
    struct Case {
        const char* name;
        std::vector<double> stamps;
        double earliest, latest;
    };
    const double y2021 = DayCountOf(QDate(2021, 6, 1), 0);
    const double y1999 = DayCountOf(QDate(1999, 6, 1), 0);
    const Case cases[] = {
        {"OneRecord", {at(10, 15, 42)}, DayCountOf(QDate(2020, 1, 1), 0), at(10, 15)},
        {"All2021", {y2021 + 0.5, y2021 + 0.7}, DayCountOf(QDate(2020, 1, 1), 0), TruncToMinute(y2021 + 0.7)},
        {"All1999", {y1999 + 0.5}, TruncToMinute(y1999 + 0.5), DayCountOf(QDate(2000, 1, 1), 0)},
        {"Both", {y1999, y2021 + 0.25}, y1999, y2021 + 0.25},
        {"InvalidStampsLeftOut", {NAN, y2021, 1e300, -1e9, INFINITY}, DayCountOf(QDate(2020, 1, 1), 0), y2021},
    };
    for (const Case& c : cases) {
        std::vector<MeasurementRecord> records;
        for (const double t : c.stamps)
            records.push_back({t, 1, 1});
        write("x.dat", records);
        ReportState state;
        const ReportExtremes x = PrepareReportFile(state, file("x.dat"));
        EXPECT_EQ(x.earliest, c.earliest) << c.name;
        EXPECT_EQ(x.latest, c.latest) << c.name;
        EXPECT_EQ(state.IntervalStart, c.earliest) << c.name;
        EXPECT_EQ(state.IntervalEnd, c.latest) << c.name;
    }
}

TEST_F(PrepareFile, ClockSetBackIsSortedAndWrittenBack)
{
    write("hall.dat", {{at(12, 0), 3, 3}, {at(11, 0), 1, 1}, {at(11, 30), 2, 2}, {at(11, 30, 20), 2, 2}});
    ReportState state;
    const ReportExtremes x = PrepareReportFile(state, file("hall.dat"));
    EXPECT_EQ(x.earliest, DayCountOf(QDate(2020, 1, 1), 0)) << "readings after 2020 leave the fixed start";
    EXPECT_EQ(x.latest, at(12, 0));
    const QList<MeasurementRecord> written = read("hall.dat");
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[0].dt, at(11, 0));
    EXPECT_EQ(double(written[1].dt), at(11, 30));
    EXPECT_EQ(double(written[2].dt), at(12, 0));
    EXPECT_EQ(state.ReportCount, 3);
    EXPECT_EQ(state.ReportData.size(), 4) << "the list keeps its length";
    EXPECT_EQ(state.DeviceNumberText, QStringLiteral("hall"));
}

TEST_F(PrepareFile, APreparedFileIsLeftAlone)
{
    write("p.dat", {{at(10, 0), 1, 1}, {at(10, 0, 30), 1, 1}, {at(9, 0), 2, 2}});
    ReportState state;
    PrepareReportFile(state, file("p.dat"));
    struct stat first {};
    ASSERT_EQ(::stat(QFile::encodeName(file("p.dat")).constData(), &first), 0);
    EXPECT_EQ(first.st_size, 24);
    // Sorted and free of repeats now: preparing again writes nothing.
    ReportState again;
    PrepareReportFile(again, file("p.dat"));
    struct stat second {};
    ASSERT_EQ(::stat(QFile::encodeName(file("p.dat")).constData(), &second), 0);
    EXPECT_EQ(first.st_ino, second.st_ino);
    EXPECT_EQ(again.ReportCount, 2);
    // Equal time stamps are exchanged by the sort, so such a file is written back.
    write("eq.dat", {{at(10, 0), 1, 1}, {at(10, 0), 2, 2}});
    ReportState equal;
    PrepareReportFile(equal, file("eq.dat"));
    EXPECT_EQ(read("eq.dat")[0].RH, 2);
}

TEST_F(PrepareFile, ThirteenByteFileIsWrittenBackAsOneRecord)
{
    write("t.dat", {{at(10, 0), 5, 5}});
    QFile f(file("t.dat"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write("Z");
    f.close();
    ReportState state;
    PrepareReportFile(state, file("t.dat"));
    EXPECT_EQ(QFileInfo(file("t.dat")).size(), 12);
}

TEST_F(PrepareFile, MissingFilePreparesTheRecordsInMemory)
{
    ReportState state;
    state.ReportData = {MeasurementRecord{at(10, 5), 1, 1}, MeasurementRecord{at(10, 1), 1, 1}, MeasurementRecord{at(10, 1, 30), 1, 1}};
    state.ReportCount = 3;
    const ReportExtremes x = PrepareReportFile(state, file("gone.dat"));
    EXPECT_FALSE(QFile::exists(file("gone.dat")));
    EXPECT_EQ(state.ReportCount, 2);
    EXPECT_EQ(state.ReportData[0].dt, at(10, 1));
    EXPECT_EQ(x.latest, at(10, 5));
    EXPECT_EQ(state.DeviceNumberText, QStringLiteral("gone"));
}

TEST_F(PrepareFile, WaitWindowPhases)
{
    std::vector<MeasurementRecord> records;
    for (int i = 0; i < 8; ++i)
        records.push_back({at(10, i), 1, int16_t(i)});
    write("w.dat", records);
    RecordingProgress progress;
    int visiblePumps = 0;
    progress.onPump = [&] { visiblePumps += progress.visible ? 1 : 0; };
    ReportState state;
    PrepareReportFile(state, file("w.dat"), &progress);
    EXPECT_EQ(progress.events, (QStringList{QStringLiteral("text Подождите, идет сканирование отчета..."),
                                            QStringLiteral("max 100"), QStringLiteral("show"),
                                            QStringLiteral("text Подождите, идет сортировка отчета..."),
                                            QStringLiteral("text Подождите, идет упорядочивание отчета..."),
                                            QStringLiteral("hide")}));
    EXPECT_FALSE(progress.visible);
    EXPECT_GE(visiblePumps, 8 + 2) << "messages run after every scanned record and between phases";
    EXPECT_EQ(progress.lastPosition, 88) << "7 * 100 / 8 = 87.5, halves to even";
}

TEST_F(PrepareFile, LoadFailureComesBeforeTheWaitWindow)
{
    QDir(dir.path()).mkdir(QStringLiteral("d.dat"));  // cannot be opened as a file
    RecordingProgress progress;
    ReportState state;
    EXPECT_THROW(PrepareReportFile(state, file("d.dat"), &progress), ReportFileError);
    EXPECT_FALSE(progress.events.contains(QStringLiteral("show")));
    EXPECT_FALSE(progress.visible);
}

TEST_F(PrepareFile, RandomBytesArePreparedWithoutHarm)
{
    std::mt19937 rng(5);
    QByteArray noise(12 * 2000 + 5, Qt::Uninitialized);
    for (char& b : noise)
        b = char(rng());
    QFile f(file("noise.dat"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(noise);
    f.close();
    ReportState state;
    const ReportExtremes x = PrepareReportFile(state, file("noise.dat"));
    EXPECT_TRUE(IsValidDayCount(x.earliest));
    EXPECT_TRUE(IsValidDayCount(x.latest));
    EXPECT_EQ(QFileInfo(file("noise.dat")).size(), state.ReportCount * 12);
    EXPECT_LE(state.ReportCount, 2000);
}

}  // namespace
