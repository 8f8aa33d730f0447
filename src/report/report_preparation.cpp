#include "report/report_preparation.h"

#include "logging/report_pool.h"
#include "report/date_time.h"

#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {
const QString kScanText = QStringLiteral("Подождите, идет сканирование отчета...");
const QString kSortText = QStringLiteral("Подождите, идет сортировка отчета...");
const QString kDedupText = QStringLiteral("Подождите, идет упорядочивание отчета...");

void hoareSort(TDateTimeRHT* a, qsizetype L, qsizetype R)
{
    // The two halves of a partition are disjoint, so sorting the smaller one by recursion and
    // the larger one by looping gives the very same order as sorting both by recursion, with
    // a stack depth of log2(n) whatever the data.
    while (L < R) {
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
                hoareSort(a, L, j);
            L = i;
        } else {
            if (i < R)
                hoareSort(a, i, R);
            R = j;
        }
    }
}
}  // namespace

void SortReportData(TDateTimeRHT* records, qsizetype L, qsizetype R)
{
    if (records && L < R)
        hoareSort(records, L, R);
}

void SortReportData(ReportState& state, qsizetype L, qsizetype R)
{
    if (L < R)
        SortReportData(state.ReportData.data(), L, R);
}

qsizetype DedupReportData(TDateTimeRHT* records, qsizetype n)
{
    if (n <= 1)
        return n;
    qsizetype k = 0;
    qsizetype result = n;
    std::optional<double> keptMinute = TryTruncToMinute(records[0].dt);
    for (qsizetype j = 1; j < n; ++j) {
        const std::optional<double> minute = TryTruncToMinute(records[j].dt);
        if (minute && keptMinute && *minute == *keptMinute && records[j].RH == records[k].RH
            && records[j].T == records[k].T) {
            --result;
            continue;
        }
        ++k;
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

ReportExtremes ScanReportExtremes(const TDateTimeRHT* records, qsizetype count, WaitProgress* progress)
{
    ReportExtremes x{ScanStartEarliest(), ScanStartLatest()};
    int shown = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (const auto m = TryTruncToMinute(records[i].dt)) {
            if (*m < x.earliest)
                x.earliest = *m;
            if (*m > x.latest)
                x.latest = *m;
        }
        if (progress) {
            const int position = ProgressPercent(i, count);
            if (position != shown) {
                shown = position;
                progress->SetPosition(position);
            }
            progress->ProcessMessages();
        }
    }
    return x;
}

ReportExtremes PrepareReportFile(ReportState& state, const QString& filePath, WaitProgress* progress)
{
    if (progress)
        progress->SetText(kScanText);
    state.DeviceNumberText = QFileInfo(filePath).fileName().chopped(std::min<qsizetype>(4, QFileInfo(filePath).fileName().size()));
    const bool exists = QFile::exists(filePath);
    if (exists)
        LoadReport(filePath, state);
    if (state.ReportCount > state.ReportData.size())
        state.ReportCount = state.ReportData.size();

    if (progress) {
        progress->SetMaximum(100);
        progress->SetPosition(0);
        progress->Show();  // shows the window and lets the pending messages run
    }
    const ReportExtremes extremes = ScanReportExtremes(state.ReportData.constData(), state.ReportCount, progress);

    if (progress) {
        progress->SetText(kSortText);
        progress->ProcessMessages();
    }
    if (state.ReportCount > 1)
        SortReportData(state, 0, state.ReportCount - 1);

    if (progress) {
        progress->SetText(kDedupText);
        progress->ProcessMessages();
    }
    state.ReportCount = DedupReportData(state, state.ReportCount);

    if (progress) {
        progress->Hide();
        progress->ProcessMessages();
    }
    if (exists)
        RewriteReport(filePath, state);
    // The extremes are whole minutes already; cutting them again keeps them as they are.
    state.IntervalStart = TruncToMinute(extremes.earliest);
    state.IntervalEnd = TruncToMinute(extremes.latest);
    return extremes;
}
