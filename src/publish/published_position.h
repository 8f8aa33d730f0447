// How far a report has been published: the file <name>.mqtt beside <name>.dat. It holds the
// number of records of the report the broker has acknowledged and a copy of the last of them,
// so that a report that was rewritten meanwhile (sorted and cleaned by a preparation, replaced,
// shortened) is noticed and publishing resumes from a safe point instead of a wrong one.
// It is written to a temporary file that is renamed over it, so a crash leaves the old or the
// new position, never a torn one; a position that lags behind the broker costs only repeated
// messages, which the at-least-once delivery allows anyway.
#pragma once

#include "logging/measurement_record.h"
#include "logging/report_pool.h"

#include <QString>

#include <optional>
#include <span>

struct PublishedPosition {
    qint64 records = 0;                  // records 0 .. records-1 of the report are published
    std::optional<MeasurementRecord> last;    // a copy of record records-1 (none when records is 0)
};

// <pool>/<name>.mqtt for the report file <pool>/<name>.dat.
QString PublishedPositionPath(const QString& reportPath);

// Reads the position file; nothing when it is missing or not a position file.
std::optional<PublishedPosition> ReadPublishedPosition(const QString& positionPath);

// Writes the position file through a temporary file and a rename. False when it cannot be written.
bool WritePublishedPosition(const QString& positionPath, const PublishedPosition& position);

// Where publishing goes on in the report `records` (the file as it is now), given the position
// published last:
// - the report still holds the last published record at its place: right after it;
// - the report was rewritten (sorted, cleaned of repeats, shortened, replaced) and holds that
//   record elsewhere: right after it;
// - the record is gone: after the last record stamped at or before its time, so that readings
//   already published are not sent again and readings logged after it are.
qint64 ResumeIndex(const PublishedPosition& position, std::span<const MeasurementRecord> records);
// The position after a preparation rewrote a report (sorted it, dropped repeats) from `before`
// (the file's records as they were, the first position.records of them published) to `after`:
// right before the first record of `after` not yet published, so that every reading not yet
// published is still sent (published ones after it are sent again, as the at-least-once
// delivery allows). A position beyond `before` is taken as ResumeIndex gives it.
PublishedPosition PositionAfterRewrite(const PublishedPosition& position, std::span<const MeasurementRecord> before,
                                       std::span<const MeasurementRecord> after);

// For a preparation of the report at reportPath: a listener that carries its position file (when
// there is one) over the rewrite as PositionAfterRewrite says; empty when there is none.
ReportRewritten KeepPublishedPosition(const QString& reportPath);

// Whether the fast check holds: the last published record is still at its place.
bool PositionStillHolds(const PublishedPosition& position, std::span<const MeasurementRecord> recordsAroundIt,
                        qint64 firstIndex);
