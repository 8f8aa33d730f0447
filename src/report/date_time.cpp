#include "report/date_time.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>

namespace {
QString twoDigits(qint64 v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
}  // namespace

std::optional<DayTime> SplitDayCount(double t)
{
    const std::optional<qint64> ms = MillisecondsOfDayCount(t);
    if (!ms)
        return std::nullopt;
    const qint64 rest = *ms % kMsPerDayInt;
    return DayTime{*ms / kMsPerDayInt, static_cast<int>(rest < 0 ? -rest : rest)};
}

bool IsValidDayCount(double t)
{
    return MillisecondsOfDayCount(t).has_value();
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

namespace {
char16_t* putTwoDigits(char16_t* out, int v)
{
    *out++ = char16_t(u'0' + v / 10);
    *out++ = char16_t(u'0' + v % 10);
    return out;
}
}  // namespace

int DateChars(const DayTime& parts, QChar separator, char16_t* out)
{
    int y = 0, m = 0, d = 0;
    QDate::fromJulianDay(parts.day + kJulianDayOfDayZero).getDate(&y, &m, &d);
    char16_t* end = putTwoDigits(out, d);
    *end++ = separator.unicode();
    end = putTwoDigits(end, m);
    *end++ = separator.unicode();
    end = putTwoDigits(end, y % 100);  // years 1 to 9999: never negative
    return int(end - out);
}

int TimeChars(const DayTime& parts, QChar separator, char16_t* out)
{
    const int minutes = parts.msOfDay / 60000;
    char16_t* end = putTwoDigits(out, minutes / 60);
    *end++ = separator.unicode();
    end = putTwoDigits(end, minutes % 60);
    return int(end - out);
}

QString DateText(double t, QChar separator)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    char16_t text[kDateChars];
    return QString(reinterpret_cast<const QChar*>(text), DateChars(*parts, separator, text));
}

QString TimeText(double t, QChar separator)
{
    const auto parts = SplitDayCount(t);
    if (!parts)
        return {};
    char16_t text[kTimeChars];
    return QString(reinterpret_cast<const QChar*>(text), TimeChars(*parts, separator, text));
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
