// Preparation of a chosen report file: load, find its first and last minute, sort by time,
// remove repeated readings, write it back. The selection dialog calls PrepareReportFile each
// time a report becomes selected and puts the interval into its pickers.
#pragma once

#include "logging/report_pool.h"
#include "logging/report_state.h"
#include "report/progress.h"

#include <QString>
#include <QStringList>

// Sorts records L..R of ReportData in place by ascending dt: Hoare's quicksort with the middle
// record as pivot. It is not stable, and the order it gives equal time stamps decides which
// repeats the de-duplication keeps, so the partitioning is kept exactly as it is. A range that
// partitions too deep (orders that would make the quicksort quadratic) is finished by an
// n log n sort: the same bytes wherever the stamps differ, possibly another order of records
// with equal stamps; a stamp that is no number sorts after all others there.
void SortReportData(ReportState& state, qsizetype L, qsizetype R);
void SortReportData(MeasurementRecord* records, qsizetype L, qsizetype R);

// Removes repeated readings from the first n (sorted) records: a record in the same minute as
// the last record kept, with equal RH and T, is dropped. Returns the new count; the array
// keeps its length. A record whose time stamp is no valid date is never taken for a repeat.
qsizetype DedupReportData(ReportState& state, qsizetype n);
qsizetype DedupReportData(MeasurementRecord* records, qsizetype n);

// The starting extremes of the scan: fixed dates, not the first record's minute.
double ScanStartEarliest();  // 2020-01-01 00:00
double ScanStartLatest();    // 2000-01-01 00:00

struct ReportExtremes {
    double earliest;
    double latest;
};

// Earliest and latest minute among records, starting from the fixed extremes. A record whose
// time stamp is no valid date (NaN, outside the years 1 to 9999) is left out.
ReportExtremes ScanReportExtremes(const MeasurementRecord* records, qsizetype count, WaitProgress* progress = nullptr);

// The whole preparation of the report file at filePath (a missing file leaves the records in
// memory to be prepared in their place). Sets DeviceNumberText (the file name less its last
// four characters), ReportData / ReportCount, and IntervalStart / IntervalEnd; returns the
// interval for the dialog's pickers. The wait window is driven through progress (may be null).
// Throws ReportFileError when loading or rewriting fails; the wait window is hidden by then.
// The report is locked against appends while it is loaded and while it is rewritten; records
// appended between the two are prepared with the others (see RewritePreparedReport). What the
// rewrite could not keep of the file (its owner) goes to notes.
// rewritten (may be empty) is told when the file is replaced (see RewritePreparedReport); the
// records as loaded are then kept apart while they are sorted.
ReportExtremes PrepareReportFile(ReportState& state, const QString& filePath, WaitProgress* progress = nullptr,
                                 QStringList* notes = nullptr, const ReportRewritten& rewritten = {});
