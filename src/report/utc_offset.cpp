#include "report/utc_offset.h"

#include "report/date_time.h"

#include <QDateTime>

namespace {

constexpr qint64 kMsPerHour = 3600000;

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The local offset in force at a moment.
int offsetAtMoment(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime).offsetFromUtc();
}

}  // namespace

std::optional<qint64> WallClockMsOfDayCount(double t)
{
    const std::optional<DayTime> split = SplitDayCount(t);
    if (!split)
        return std::nullopt;
    return WallClockMs(*split);
}

WallClockOffsets WallClockZone::offsetsAt(qint64 wallMs)
{
    const qint64 hour = floorDiv(wallMs, kMsPerHour);
    if (hour != lastHour_) {
        auto found = hours_.find(hour);
        if (found == hours_.end()) {
        // Offsets lie within ±14 h: a day and more either side of the hour is surely before and
        // after any change that touches it. Clocks change at most twice a year, so the two
        // agree everywhere but in the hours near a change.
            const qint64 start = hour * kMsPerHour;
            found = hours_.emplace(hour, Hour{offsetAtMoment(start - 26 * kMsPerHour), offsetAtMoment(start + 27 * kMsPerHour)})
                        .first;
        }
        lastHour_ = hour;
        last_ = found->second;
    }
    const Hour& h = last_;
    if (h.before == h.after)
        return {h.before, h.before, false, false};
    // Near a change: which of the two offsets give a moment that has this wall time.
    const bool beforeFits = offsetAtMoment(wallMs - qint64(h.before) * 1000) == h.before;
    const bool afterFits = offsetAtMoment(wallMs - qint64(h.after) * 1000) == h.after;
    if (beforeFits && afterFits)
        // The larger offset is the earlier moment.
        return {std::max(h.before, h.after), std::min(h.before, h.after), true, false};
    if (beforeFits)
        return {h.before, h.before, false, false};
    if (afterFits)
        return {h.after, h.after, false, false};
    return {h.after, h.after, false, true};
}

std::optional<int> RecordOffsets::next(double t)
{
    const std::optional<qint64> wall = WallClockMsOfDayCount(t);
    if (!wall)
        return std::nullopt;
    return nextWallMs(*wall);
}

int RecordOffsets::nextWallMs(qint64 wallMs)
{
    const WallClockOffsets o = zone_.offsetsAt(wallMs);
    bool second = false;
    if (o.repeated && havePrevious_ && previousRepeated_) {
        // The same repeated hour: the clocks change at most twice a year.
        const bool sameHour = std::abs(wallMs - previousWallMs_) < 24 * kMsPerHour;
        second = sameHour && (previousSecond_ || wallMs <= previousWallMs_);
    }
    havePrevious_ = true;
    previousWallMs_ = wallMs;
    previousRepeated_ = o.repeated;
    previousSecond_ = second;
    return second ? o.second : o.first;
}
