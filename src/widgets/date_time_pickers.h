// Date and time pickers of the program's dialogs: dates as the report table writes them (day,
// month, two-digit year with the system's date separator, as the hint beside them says), times
// on the 24-hour clock with the system's time separator and the seconds that the graph setup
// uses and the report interval drops; both hold wall-clock values that no time zone may move,
// filled from and read back as day counts.
#pragma once

#include <QRect>
#include <QString>

class QDateEdit;
class QTimeEdit;
class QWidget;

// "dd.MM.yy" and "HH:mm:ss" (or "HH:mm") with the system's separators ("." and ":" where it has
// none).
QString PickerDateFormat();
QString PickerTimeFormat(bool withSeconds = true);

enum class PickerSeconds { Shown, Hidden };

QDateEdit* NewDatePicker(QWidget* parent, const char* name, QRect place);
// A picker with its seconds hidden shows hours and minutes only, as the hint "(ЧЧ.ММ)" beside it
// says, and still holds the seconds it was given.
QTimeEdit* NewTimePicker(QWidget* parent, const char* name, QRect place, PickerSeconds seconds = PickerSeconds::Shown);

// Puts the date of day count t into the date picker and its time of day into the time picker
// (from the day count itself, so a time a daylight-saving change skips shows as recorded).
// A day count that is no date leaves both as they are.
void SetPickers(QDateEdit* date, QTimeEdit* time, double t);

// The date of the date picker plus the time of day of the time picker; with wholeMinutes the
// seconds and milliseconds are dropped.
double PickersDayCount(const QDateEdit* date, const QTimeEdit* time, bool wholeMinutes);
