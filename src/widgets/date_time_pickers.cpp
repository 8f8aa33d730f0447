#include "widgets/date_time_pickers.h"

#include "report/date_time.h"

#include <QDateEdit>
#include <QLocale>
#include <QTimeEdit>

QString PickerDateFormat()
{
    const QChar separator = SystemDateTimeSeparators().date;
    return QStringLiteral("dd%1MM%1yy").arg(separator);
}

QString PickerTimeFormat(bool withSeconds)
{
    return (withSeconds ? QStringLiteral("HH%1mm%1ss") : QStringLiteral("HH%1mm")).arg(SystemDateTimeSeparators().time);
}

namespace {

template <typename Picker>
Picker* NewPicker(QWidget* parent, const char* name, const QString& format, QRect place)
{
    auto* picker = new Picker(parent);
    picker->setObjectName(QLatin1String(name));
    picker->setDisplayFormat(format);
    // The pickers hold wall-clock values: no local time zone may move them.
    picker->setTimeSpec(Qt::UTC);
    picker->setGeometry(place);
    return picker;
}

}  // namespace

QDateEdit* NewDatePicker(QWidget* parent, const char* name, QRect place)
{
    auto* picker = NewPicker<QDateEdit>(parent, name, PickerDateFormat(), place);
    picker->setCalendarPopup(true);
    // The calendar that drops down names months and weekdays in the program's language.
    picker->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    // Day 0 (30 December 1899) and everything after it can be shown.
    picker->setMinimumDate(QDate(100, 1, 1));
    return picker;
}

QTimeEdit* NewTimePicker(QWidget* parent, const char* name, QRect place, PickerSeconds seconds)
{
    return NewPicker<QTimeEdit>(parent, name, PickerTimeFormat(seconds == PickerSeconds::Shown), place);
}

void SetPickers(QDateEdit* date, QTimeEdit* time, double t)
{
    const std::optional<DayTime> parts = SplitDayCount(t);
    if (!parts)
        return;
    date->setDate(QDate::fromJulianDay(parts->day + kJulianDayOfDayZero));
    time->setTime(QTime::fromMSecsSinceStartOfDay(parts->msOfDay));
}

double PickersDayCount(const QDateEdit* date, const QTimeEdit* time, bool wholeMinutes)
{
    const QTime t = time->time();
    const int ms = wholeMinutes ? (t.hour() * 60 + t.minute()) * 60000 : t.msecsSinceStartOfDay();
    return DayCountOf(date->date(), ms);
}
