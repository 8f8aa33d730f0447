// Date-times of the program: doubles counting days from 1899-12-30 00:00 local wall-clock time,
// the fraction being the time of day (before that day the integer part is negative and the
// fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00). Texts are made from
// the day count arithmetically, never through a local-time QDateTime, so a time that falls
// into a daylight-saving gap keeps its wall-clock value.
#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

inline constexpr double kMsPerDay = 86400000.0;
inline constexpr qint64 kMsPerDayInt = 86400000;
// Julian day of 1899-12-30, day 0 of the count.
inline constexpr qint64 kJulianDayOfDayZero = 2415019;

// A day count rounded to the millisecond and split: date (day 0 = 1899-12-30, truncated toward
// zero) and milliseconds of the day (0..86 399 999).
struct DayTime {
    qint64 day = 0;
    int msOfDay = 0;
};

// The day count rounded to the millisecond (halves to even) and split, or nothing when it is
// not a finite date-time in the years 1 to 9999.
std::optional<DayTime> SplitDayCount(double t);
bool IsValidDayCount(double t);

// t in whole milliseconds, rounded halves to even, or nothing when t is not a finite date-time
// in the years 1 to 9999 (0001-01-01 is day -693593, whose times of day count away from zero;
// 10000-01-01 would be day 2958466). Inline: preparation and building call it per record.
inline std::optional<qint64> MillisecondsOfDayCount(double t)
{
    const double x = t * kMsPerDay;
    // Outside this range (NaN included) there is no valid date; inside it |x| < 2^52, where
    // adding and taking away 2^52 rounds to the nearest integer, halves to even.
    if (!(x > -693594.0 * kMsPerDay - 1.0 && x < 2958466.0 * kMsPerDay + 1.0))
        return std::nullopt;
    constexpr double kTwo52 = 4503599627370496.0;
    const double r = x >= 0 ? (x + kTwo52) - kTwo52 : (x - kTwo52) + kTwo52;
    if (!(r > -693594.0 * kMsPerDay && r < 2958466.0 * kMsPerDay))
        return std::nullopt;
    return static_cast<qint64>(r);
}

// The minute of a millisecond count as one number: ms / 60000 truncated toward zero. Two time
// stamps share a TruncToMinute result exactly when they share this number.
inline qint64 MinuteNumber(qint64 ms)
{
    return ms / 60000;
}

// TruncToMinute of any t of that minute number.
inline double MinuteNumberToDayCount(qint64 minuteNumber)
{
    const qint64 day = minuteNumber / 1440;
    const qint64 minute = minuteNumber % 1440;
    return static_cast<double>(day) + static_cast<double>(minute * 60000) / kMsPerDay;
}

// The start of the minute of t, after rounding t to the millisecond (halves to even); seconds
// are dropped, never rounded up. Nothing for a t that is not a date in the years 1 to 9999.
inline std::optional<double> TryTruncToMinute(double t)
{
    const std::optional<qint64> ms = MillisecondsOfDayCount(t);
    if (!ms)
        return std::nullopt;
    // day = ms div 86 400 000 and minute = (ms mod 86 400 000) div 60 000, both truncating
    // toward zero, are the quotient and remainder of the minute number by 1440.
    return MinuteNumberToDayCount(MinuteNumber(*ms));
}
// As TryTruncToMinute; throws std::domain_error for an invalid t.
double TruncToMinute(double t);

// Day count of a date and a time of day (milliseconds), as the program composes them.
double DayCountOf(const QDate& date, int msOfDay);
// Day count of a local date-time, to the millisecond.
double DateTimeToDays(const QDateTime& localTime);
// Local QDateTime of a day count (for pickers); invalid for an invalid day count.
QDateTime DaysToDateTime(double t);
QDate DateOfDayCount(double t);

// The separators of the system's short date and time formats (QLocale::system()): the first
// character of the format that is not a format letter; a blank or none gives "." for dates
// and ":" for times.
struct DateTimeSeparators {
    QChar date = QLatin1Char('.');
    QChar time = QLatin1Char(':');
};
DateTimeSeparators SystemDateTimeSeparators();
DateTimeSeparators SeparatorsOfFormats(const QString& shortDateFormat, const QString& shortTimeFormat);

// "dd/mm/yy" and "hh:nn" with the given separators; empty for an invalid day count.
QString DateText(double t, QChar separator);
QString TimeText(double t, QChar separator);
// The same texts of a valid day count's parts into out, without an allocation (the exports
// make them per row); they return the length, always kDateChars and kTimeChars.
inline constexpr int kDateChars = 8;
inline constexpr int kTimeChars = 5;
int DateChars(const DayTime& parts, QChar separator, char16_t* out);
int TimeChars(const DayTime& parts, QChar separator, char16_t* out);

// "YYYY-MM-DD hh:mm" of a day count, and back (nothing for a malformed text).
QString IsoMinuteText(double t);
std::optional<double> ParseIsoMinute(const QString& text);
