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

// The start of the minute of t, after rounding t to the millisecond (halves to even); seconds
// are dropped, never rounded up. Nothing for a t that is not a date in the years 1 to 9999.
std::optional<double> TryTruncToMinute(double t);
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

// "YYYY-MM-DD hh:mm" of a day count, and back (nothing for a malformed text).
QString IsoMinuteText(double t);
std::optional<double> ParseIsoMinute(const QString& text);
