// The pickers write dates as the report table does, whatever the locale calls the months,
// times on the 24-hour clock, and their calendar speaks Russian.
#include "widgets/date_time_pickers.h"
#include "report/date_time.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTimeEdit>
#include <QWidget>

// Under the C locale (the suites run with LC_ALL=C.UTF-8) Qt's own short format would show
// "10 Dec 2026" beside the hint "(ДД.ММ.ГГ)".
TEST(DateTimePickers, DayMonthTwoDigitYearUnderTheCLocale)
{
    if (QLocale::system().name() != QLatin1String("C"))
        GTEST_SKIP() << "made for the C locale, here " << QLocale::system().name().toStdString();
    QWidget parent;
    QDateEdit* date = NewDatePicker(&parent, "DateTimePicker1", {0, 0, 100, 20});
    QTimeEdit* time = NewTimePicker(&parent, "DateTimePicker2", {0, 20, 100, 20});
    const double t = DayCountOf(QDate(2026, 12, 10), (12 * 60 + 18) * 60000 + 42000);
    SetPickers(date, time, t);
    EXPECT_EQ(date->findChild<QLineEdit*>()->text(), "10.12.26");
    EXPECT_EQ(time->findChild<QLineEdit*>()->text(), "12:18:42");
    EXPECT_EQ(DateText(t, SystemDateTimeSeparators().date), "10.12.26") << "the table writes the same date";
    EXPECT_EQ(date->calendarWidget()->locale().language(), QLocale::Russian);
    EXPECT_EQ(PickersDayCount(date, time, true), DayCountOf(QDate(2026, 12, 10), (12 * 60 + 18) * 60000));
}

// The graph setup's pickers show hours and minutes, as their hint says, and keep the seconds and
// milliseconds they were given: the chart's span starts at the first reading to the millisecond,
// also after the user changed the hour.
TEST(DateTimePickers, HiddenSecondsAreKeptNotShown)
{
    QWidget parent;
    QDateEdit* date = NewDatePicker(&parent, "DateTimePicker1", {0, 0, 100, 20});
    QTimeEdit* time = NewTimePicker(&parent, "DateTimePicker2", {0, 20, 100, 20}, PickerSeconds::Hidden);
    const double t = DayCountOf(QDate(2026, 12, 10), (12 * 60 + 18) * 60000 + 42250);
    SetPickers(date, time, t);
    const QChar separator = SystemDateTimeSeparators().time;
    EXPECT_EQ(time->findChild<QLineEdit*>()->text(), QStringLiteral("12") + separator + QStringLiteral("18"));
    EXPECT_EQ(PickersDayCount(date, time, false), t);
    // The user steps the hour up (arrow key or wheel).
    time->setCurrentSection(QDateTimeEdit::HourSection);
    time->stepBy(1);
    EXPECT_EQ(time->time(), QTime(13, 18, 42, 250));
}
