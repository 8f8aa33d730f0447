// Date and time pickers of the program's dialogs: the date in the system's short date format,
// the time in its time format with seconds, both holding wall-clock values that no time zone
// may move, filled from and read back as day counts.
#pragma once

#include <QRect>
#include <QString>

class QDateEdit;
class QTimeEdit;
class QWidget;

// The system's time format with hours, minutes and seconds, without the zone name that the
// long format carries.
QString PickerTimeFormat();

QDateEdit* NewDatePicker(QWidget* parent, const char* name, QRect place);
QTimeEdit* NewTimePicker(QWidget* parent, const char* name, QRect place);

// Puts the date of day count t into the date picker and its time of day into the time picker
// (from the day count itself, so a time a daylight-saving change skips shows as recorded).
// A day count that is no date leaves both as they are.
void SetPickers(QDateEdit* date, QTimeEdit* time, double t);

// The date of the date picker plus the time of day of the time picker; with wholeMinutes the
// seconds and milliseconds are dropped.
double PickersDayCount(const QDateEdit* date, const QTimeEdit* time, bool wholeMinutes);
