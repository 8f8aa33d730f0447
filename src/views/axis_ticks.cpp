#include "views/axis_ticks.h"

#include "report/date_time.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <cmath>

double ValueAxisStep(double minimum, double maximum, int maxTicks)
{
    const double span = maximum - minimum;
    maxTicks = std::max(maxTicks, 2);
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    // Intervals, not ticks: n ticks cover n - 1 steps.
    const double rough = span / (maxTicks - 1);
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (;;) {
        for (const double m : {1.0, 2.0, 5.0}) {
            const double step = m * power;
            if (std::floor(maximum / step) - std::ceil(minimum / step) + 1 <= maxTicks)
                return step;
        }
        power *= 10;
    }
}

std::vector<double> ValueAxisTicks(double minimum, double maximum, int maxTicks)
{
    std::vector<double> ticks;
    if (!(maximum >= minimum) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return ticks;
    const double step = ValueAxisStep(minimum, maximum, maxTicks);
    // A tiny slack keeps ends that equal a multiple up to rounding (0.3 as 3 × 0.1).
    const double slack = step * 1e-9;
    const double first = std::ceil((minimum - slack) / step);
    const double last = std::floor((maximum + slack) / step);
    for (double k = first; k <= last; ++k) {
        double v = k * step;
        if (std::fabs(v) < slack)
            v = 0;
        ticks.push_back(v);
    }
    return ticks;
}

namespace {

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;

// The labels show hours and minutes over the date, so the smallest step is a whole minute:
// ticks closer than that would repeat the same label.
constexpr std::array<qint64, 17> kFixedSteps = {
    kMinute,      2 * kMinute,  5 * kMinute,  10 * kMinute, 15 * kMinute, 30 * kMinute,
    kHour,        2 * kHour,    3 * kHour,    4 * kHour,    6 * kHour,    12 * kHour,
    kDay,         2 * kDay,     7 * kDay,     14 * kDay,    0};

double dayCountOfMs(qint64 ms)
{
    return static_cast<double>(ms) / kMsPerDay;
}

// Months counted from year 0: a month number that steps evenly through the calendar.
qint64 monthNumber(const QDate& d)
{
    return qint64(d.year()) * 12 + (d.month() - 1);
}

QDate firstOfMonth(qint64 number)
{
    const qint64 year = number >= 0 ? number / 12 : (number - 11) / 12;
    return QDate(int(year), int(number - year * 12) + 1, 1);
}

}  // namespace

std::vector<double> DateTimeAxisTicks(double minimum, double maximum, int maxTicks)
{
    std::vector<double> ticks;
    const auto lo = MillisecondsOfDayCount(minimum);
    const auto hi = MillisecondsOfDayCount(maximum);
    if (!lo || !hi || *hi < *lo)
        return ticks;
    maxTicks = std::max(maxTicks, 1);
    const auto floorDiv = [](qint64 a, qint64 b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    for (const qint64 step : kFixedSteps) {
        if (step == 0)
            break;
        const qint64 first = floorDiv(*lo + step - 1, step);
        const qint64 last = floorDiv(*hi, step);
        if (last - first + 1 <= maxTicks) {
            for (qint64 k = first; k <= last; ++k)
                ticks.push_back(dayCountOfMs(k * step));
            return ticks;
        }
    }
    // Months and years: ticks on the first of a month whose number is a multiple of the step.
    const QDate from = DateOfDayCount(minimum);
    const QDate to = DateOfDayCount(maximum);
    const qint64 firstMonth = monthNumber(from) + (DayCountOf(firstOfMonth(monthNumber(from)), 0) < minimum ? 1 : 0);
    const qint64 lastMonth = monthNumber(to);
    qint64 step = 1;
    for (int i = 0;; ++i) {
        static constexpr std::array<qint64, 4> kMonthSteps = {1, 2, 3, 6};
        static constexpr std::array<qint64, 3> kYearFactors = {1, 2, 5};
        if (i < 4) {
            step = kMonthSteps[i];
        } else {
            const int j = i - 4;
            qint64 power = 1;
            for (int p = 0; p < j / 3; ++p)
                power *= 10;
            step = 12 * kYearFactors[j % 3] * power;
        }
        const qint64 first = floorDiv(firstMonth + step - 1, step);
        const qint64 last = floorDiv(lastMonth, step);
        if (last - first + 1 <= maxTicks) {
            for (qint64 k = first; k <= last; ++k)
                ticks.push_back(DayCountOf(firstOfMonth(k * step), 0));
            return ticks;
        }
    }
}

QString ValueLabelText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const double hundredths = std::round(value * 100);
    if (hundredths == 0)
        return QStringLiteral("0");
    QString text = QString::number(hundredths / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString DateTimeLabelText(double t, QChar timeSeparator)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    const QDate date = QDate::fromJulianDay(parts->day + kJulianDayOfDayZero);
    const int seconds = parts->msOfDay / 1000;
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(date.day()) + QLatin1Char('.') + two(date.month()) + QLatin1Char('.') + two(date.year() % 100) +
           QLatin1Char('|') + two(seconds / 3600) + timeSeparator + two(seconds / 60 % 60) + timeSeparator +
           two(seconds % 60);
}
