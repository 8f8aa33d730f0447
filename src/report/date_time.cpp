#include "report/date_time.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>

namespace {
// The smallest and the first invalid millisecond counts: 0001-01-01 00:00 lies at day
// -693593, whose times of day count away from zero; 10000-01-01 is day 2958466.
constexpr double kFirstInvalidMsBelow = -693594.0 * kMsPerDay;
constexpr double kFirstInvalidMsAbove = 2958466.0 * kMsPerDay;

QString twoDigits(qint64 v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
}  // namespace

std::optional<DayTime> SplitDayCount(double t)
{
    if (!std::isfinite(t))
        return std::nullopt;
    const double ms = std::nearbyint(t * kMsPerDay);  // default rounding mode: halves to even
    if (!(ms > kFirstInvalidMsBelow && ms < kFirstInvalidMsAbove))
        return std::nullopt;
    const auto whole = static_cast<qint64>(ms);
    const qint64 rest = whole % kMsPerDayInt;
    return DayTime{whole / kMsPerDayInt, static_cast<int>(rest < 0 ? -rest : rest)};
}

bool IsValidDayCount(double t)
{
    return SplitDayCount(t).has_value();
}

std::optional<double> TryTruncToMinute(double t)
{
    if (!std::isfinite(t))
        return std::nullopt;
    const double ms = std::nearbyint(t * kMsPerDay);
    if (!(ms > kFirstInvalidMsBelow && ms < kFirstInvalidMsAbove))
        return std::nullopt;
    const auto whole = static_cast<qint64>(ms);
    const qint64 day = whole / kMsPerDayInt;             // truncates toward zero
    const qint64 minute = (whole % kMsPerDayInt) / 60000;  // keeps the sign of the day count
    return static_cast<double>(day) + static_cast<double>(minute * 60000) / kMsPerDay;
}

double TruncToMinute(double t)
{
    if (const auto m = TryTruncToMinute(t))
        return *m;
    throw std::domain_error("Invalid argument to date encode");
}

double DayCountOf(const QDate& date, int msOfDay)
{
    const auto day = static_cast<double>(date.toJulianDay() - kJulianDayOfDayZero);
    const double time = msOfDay / kMsPerDay;
    return day < 0 ? day - time : day + time;
}

double DateTimeToDays(const QDateTime& localTime)
{
    const QDateTime local = localTime.toLocalTime();
    return DayCountOf(local.date(), local.time().msecsSinceStartOfDay());
}

QDate DateOfDayCount(double t)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    return QDate::fromJulianDay(parts->day + kJulianDayOfDayZero);
}

QDateTime DaysToDateTime(double t)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    return QDateTime(QDate::fromJulianDay(parts->day + kJulianDayOfDayZero),
                     QTime::fromMSecsSinceStartOfDay(parts->msOfDay));
}

DateTimeSeparators SeparatorsOfFormats(const QString& shortDateFormat, const QString& shortTimeFormat)
{
    const auto firstSeparator = [](const QString& format, QChar fallback) {
        for (const QChar c : format) {
            if (c.isLetter() || c == QLatin1Char('\''))
                continue;
            return c.isSpace() ? fallback : c;
        }
        return fallback;
    };
    return {firstSeparator(shortDateFormat, QLatin1Char('.')), firstSeparator(shortTimeFormat, QLatin1Char(':'))};
}

DateTimeSeparators SystemDateTimeSeparators()
{
    const QLocale system = QLocale::system();
    return SeparatorsOfFormats(system.dateFormat(QLocale::ShortFormat), system.timeFormat(QLocale::ShortFormat));
}

QString DateText(double t, QChar separator)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    int y = 0, m = 0, d = 0;
    QDate::fromJulianDay(parts->day + kJulianDayOfDayZero).getDate(&y, &m, &d);
    QString text;
    text.reserve(8);
    text += twoDigits(d);
    text += separator;
    text += twoDigits(m);
    text += separator;
    text += twoDigits(y % 100);
    return text;
}

QString TimeText(double t, QChar separator)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    const int minutes = parts->msOfDay / 60000;
    return twoDigits(minutes / 60) + separator + twoDigits(minutes % 60);
}

QString IsoMinuteText(double t)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    const QDate date = QDate::fromJulianDay(parts->day + kJulianDayOfDayZero);
    const int minutes = parts->msOfDay / 60000;
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(date.month()), twoDigits(date.day()), twoDigits(minutes / 60), twoDigits(minutes % 60));
}

std::optional<double> ParseIsoMinute(const QString& text)
{
    const QString s = text.trimmed();
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2}) (\\d{2}):(\\d{2})$"));
    const auto match = pattern.match(s);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const int hour = match.captured(4).toInt();
    const int minute = match.captured(5).toInt();
    if (!date.isValid() || date.year() < 1 || hour > 23 || minute > 59)
        return std::nullopt;
    return DayCountOf(date, (hour * 60 + minute) * 60000);
}
