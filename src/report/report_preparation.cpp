#include "report/report_preparation.h"

#include "logging/report_pool.h"
#include "report/date_time.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {
const QString kScanText = QStringLiteral("Подождите, идет сканирование отчета...");
const QString kSortText = QStringLiteral("Подождите, идет сортировка отчета...");
const QString kDedupText = QStringLiteral("Подождите, идет упорядочивание отчета...");

// Whether dt rises strictly over records L..R. On such a range every partition stops at its
// pivot and swaps it with itself, so the sort leaves the range as it is; equal time stamps do
// get exchanged, so a range holding them is sorted in full.
bool strictlyRising(const MeasurementRecord* a, qsizetype L, qsizetype R)
{
    for (qsizetype k = L; k < R; ++k)
        if (!(a[k].dt < a[k + 1].dt))
            return false;
    return true;
}

// Time stamps in ascending order; a stamp that is no number (a damaged record) goes after all
// others, so the order is total and the library sort stays within the range.
bool earlier(const MeasurementRecord& a, const MeasurementRecord& b)
{
    if (std::isnan(b.dt))
        return !std::isnan(a.dt);
    return a.dt < b.dt;
}

void hoareSort(MeasurementRecord* a, qsizetype L, qsizetype R, int depthLeft)
{
    // The two halves of a partition are disjoint, so sorting the smaller one by recursion and
    // the larger one by looping gives the very same order as sorting both by recursion, with
    // a stack depth of log2(n) whatever the data. A range the sort would leave unchanged is
    // skipped: a report logged in order is nearly all such ranges.
    while (L < R && !strictlyRising(a, L, R)) {
        // Some orders make the middle pivot split off only a few records at each step (stamps
        // rising and then falling, a logger whose clock was set back to the start of its log):
        // the quicksort would take time quadratic in the length. Past a depth that ordinary
        // orders never reach, the range is finished by the library's n log n sort. Both give
        // the same bytes wherever the time stamps differ; records with equal stamps may end
        // up in another order, which no caller relies on.
        if (depthLeft-- <= 0) {
            std::sort(a + L, a + R + 1, earlier);
            return;
        }
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
        if (j - L < R - i) {
            if (L < j)
                hoareSort(a, L, j, depthLeft);
            L = i;
        } else {
            if (i < R)
                hoareSort(a, i, R, depthLeft);
            R = j;
        }
    }
}

// Three times the depth of a perfectly balanced partitioning: random orders stay below it.
int depthBound(qsizetype count)
{
    int log2 = 0;
    while ((qsizetype(1) << log2) < count)
        ++log2;
    return 3 * log2 + 4;
}
}  // namespace

void SortReportData(MeasurementRecord* records, qsizetype L, qsizetype R)
{
    if (records && L < R)
        hoareSort(records, L, R, depthBound(R - L + 1));
}

namespace {
// Sorts all records in use; false when they were in strictly rising order already, so that
// the sort left every byte where it was.
bool sortInUse(ReportState& state)
{
    if (state.ReportCount < 2)
        return false;
    if (strictlyRising(state.ReportData.constData(), 0, state.ReportCount - 1))
        return false;
    SortReportData(state, 0, state.ReportCount - 1);
    return true;
}
}  // namespace

void SortReportData(ReportState& state, qsizetype L, qsizetype R)
{
    if (L < R)
        SortReportData(state.ReportData.data(), L, R);
}

qsizetype DedupReportData(MeasurementRecord* records, qsizetype n)
{
    if (n <= 1)
        return n;
    const auto minuteOf = [](double dt) -> std::optional<qint64> {
        const auto ms = MillisecondsOfDayCount(dt);
        return ms ? std::optional<qint64>(MinuteNumber(*ms)) : std::nullopt;
    };
    qsizetype k = 0;
    qsizetype result = n;
    std::optional<qint64> keptMinute = minuteOf(records[0].dt);
    for (qsizetype j = 1; j < n; ++j) {
        const std::optional<qint64> minute = minuteOf(records[j].dt);
        if (minute && keptMinute && *minute == *keptMinute && records[j].RH == records[k].RH
            && records[j].T == records[k].T) {
            --result;
            continue;
        }
        ++k;
        if (k != j)
            records[k] = records[j];
        keptMinute = minute;
    }
    return result;
}

qsizetype DedupReportData(ReportState& state, qsizetype n)
{
    if (n <= 1)
        return n;
    return DedupReportData(state.ReportData.data(), n);
}

double ScanStartEarliest()
{
    return DayCountOf(QDate(2020, 1, 1), 0);
}

double ScanStartLatest()
{
    return DayCountOf(QDate(2000, 1, 1), 0);
}

ReportExtremes ScanReportExtremes(const MeasurementRecord* records, qsizetype count, WaitProgress* progress)
{
    // TruncToMinute rises with the minute number (ms / 60000 toward zero) for every day count,
    // so the extremes are found on minute numbers and turned into day counts once.
    qint64 lowest = std::numeric_limits<qint64>::max(), highest = std::numeric_limits<qint64>::min();
    int shown = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (const auto ms = MillisecondsOfDayCount(records[i].dt)) {
            const qint64 minute = MinuteNumber(*ms);
            lowest = std::min(lowest, minute);
            highest = std::max(highest, minute);
        }
        if (progress) {
            const int position = ProgressPercent(i, count);
            if (position != shown) {
                shown = position;
                progress->setPosition(position);
            }
            progress->processMessages();
        }
    }
    ReportExtremes x{ScanStartEarliest(), ScanStartLatest()};
    if (lowest <= highest) {
        const double earliest = MinuteNumberToDayCount(lowest);
        const double latest = MinuteNumberToDayCount(highest);
        if (earliest < x.earliest)
            x.earliest = earliest;
        if (latest > x.latest)
            x.latest = latest;
    }
    return x;
}

ReportExtremes PrepareReportFile(ReportState& state, const QString& filePath, WaitProgress* progress, QStringList* notes,
                                 const ReportRewritten& rewritten)
{
    if (progress)
        progress->setText(kScanText);
    state.DeviceNumberText = QFileInfo(filePath).fileName().chopped(std::min<qsizetype>(4, QFileInfo(filePath).fileName().size()));
    ReportVersion loaded;
    const bool exists = QFile::exists(filePath) && LoadReport(filePath, state, &loaded);
    if (state.ReportCount > state.ReportData.size())
        state.ReportCount = state.ReportData.size();

    if (progress) {
        progress->setMaximum(100);
        progress->setPosition(0);
        progress->showWindow();  // shows the window and lets the pending messages run
    }
    ReportExtremes extremes = ScanReportExtremes(state.ReportData.constData(), state.ReportCount, progress);
    // The records in their file order, for whoever must know what the rewrite moved (the list
    // is shared until the sort changes the state's).
    const QList<MeasurementRecord> loadedRecords = rewritten ? state.ReportData : QList<MeasurementRecord>();
    const std::span<const MeasurementRecord> loadedSpan(loadedRecords.constData(), size_t(rewritten ? state.ReportCount : 0));

    if (progress) {
        progress->setText(kSortText);
        progress->processMessages();
    }
    const bool sorted = sortInUse(state);

    if (progress) {
        progress->setText(kDedupText);
        progress->processMessages();
    }
    const qsizetype before = state.ReportCount;
    state.ReportCount = DedupReportData(state, state.ReportCount);
    const bool shrunk = state.ReportCount != before;

    if (progress) {
        progress->hideWindow();
        progress->processMessages();
    }
    // A file already sorted, without repeats and without a torn tail would be written back
    // byte for byte as it is: it is left alone (a report is prepared each time it is selected).
    if (exists) {
        const bool changed = sorted || shrunk || loaded.size != qint64(state.ReportCount) * kRecordSize;
        // Readings appended while the records were sorted (a logger at work) are in the file
        // when the rewrite commits: then the file as it is now is prepared again, quickly and
        // without the wait window, while the report is locked.
        RewritePreparedReport(filePath, state, loaded, changed, [&extremes](ReportState& again) {
            if (again.ReportCount > again.ReportData.size())
                again.ReportCount = again.ReportData.size();
            extremes = ScanReportExtremes(again.ReportData.constData(), again.ReportCount);
            const qsizetype size = again.ReportCount;
            const bool resorted = sortInUse(again);
            again.ReportCount = DedupReportData(again, again.ReportCount);
            return resorted || again.ReportCount != size;
        }, notes, rewritten, loadedSpan);
    }
    // The extremes are whole minutes already; cutting them again keeps them as they are.
    state.IntervalStart = TruncToMinute(extremes.earliest);
    state.IntervalEnd = TruncToMinute(extremes.latest);
    return extremes;
}
