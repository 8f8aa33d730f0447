// The UTC offsets of the program's local wall-clock time stamps. A stamp says only the wall
// clock: where the clocks go back, the hour before the change repeats and its stamps could be
// either offset; where they go forward, the skipped hour's stamps belong to no moment.
#pragma once

#include "report/date_time.h"

#include <QtGlobal>

#include <limits>
#include <optional>
#include <unordered_map>

// What the local time zone says of one wall-clock time.
struct WallClockOffsets {
    int first = 0;           // seconds east of UTC; the earlier of two moments with this wall time
    int second = 0;          // the later one; equal to first unless the time is repeated
    bool repeated = false;   // the clocks went back over this time: it happened twice
    bool skipped = false;    // the clocks went forward over it: first and second are the offset after the skip
};

// The offsets of a wall-clock time given in milliseconds since 1970-01-01 00:00 counted on the
// wall clock, asked of the local time zone (TZ) once per hour of wall time, except in hours
// near a change of the clocks.
class WallClockZone {
public:
    WallClockOffsets offsetsAt(qint64 wallMs);

private:
    struct Hour {
        int before;
        int after;
    };
    std::unordered_map<qint64, Hour> hours_;
    qint64 lastHour_ = std::numeric_limits<qint64>::min();
    Hour last_{0, 0};
};

// Milliseconds since 1970-01-01 on the wall clock for a day count of the program (nothing when
// it is no date), or for one already split.
std::optional<qint64> WallClockMsOfDayCount(double t);
inline qint64 WallClockMs(const DayTime& when)
{
    constexpr qint64 kJulianDayOfEpoch = 2440588;  // 1970-01-01
    return (when.day + kJulianDayOfDayZero - kJulianDayOfEpoch) * kMsPerDayInt + when.msOfDay;
}

// The offset of each stamp of a report read in its record order. A stamp in a repeated hour
// gets the second offset when the order shows it was written after the clocks went back: it
// is not later than the stamp before it, which lies in the same repeated hour, or the stamp
// before it already had the second offset. Otherwise it gets the first. A stamp in a skipped
// hour gets the offset after the skip. A file sorted by time (a preparation sorts the two
// passes of the repeated hour together) therefore gives every stamp of that hour the first
// offset: the file cannot tell them apart.
class RecordOffsets {
public:
    // The next record's offset, in record order; nothing when the stamp is no date (the order
    // is then taken up again at the next stamp).
    std::optional<int> next(double t);
    // As next, with a stamp already in wall-clock milliseconds.
    int nextWallMs(qint64 wallMs);
    // Whether the last stamp given lay in a repeated hour (its offset is then a guess from the order).
    bool lastWasRepeated() const { return previousRepeated_; }

private:
    WallClockZone zone_;
    bool havePrevious_ = false;
    qint64 previousWallMs_ = 0;
    bool previousRepeated_ = false;
    bool previousSecond_ = false;
};
