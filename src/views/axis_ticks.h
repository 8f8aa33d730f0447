// Where an axis puts its ticks and what its labels say: nice steps for value axes (1, 2 or 5
// times a power of ten), whole minutes, hours, days or months for date-time axes,
// and the two label formats "##0.##" and "dd.MM.yy|hh:mm:ss".
#pragma once

#include <QChar>
#include <QString>

#include <vector>

// Value axis: the ticks of the smallest nice step that puts at most maxTicks ticks into
// minimum..maximum (ends included); values are exact multiples of the step.
double ValueAxisStep(double minimum, double maximum, int maxTicks);
std::vector<double> ValueAxisTicks(double minimum, double maximum, int maxTicks);

// Date-time axis (day counts): the ticks of the smallest step of the ladder 1, 2, 5, 10, 15,
// 30 min, 1, 2, 3, 4, 6, 12 h, 1, 2, 7, 14 days, 1, 2, 3, 6 months,
// 1, 2, 5, 10 … years that puts at most maxTicks ticks into the range. Ticks fall on whole
// units: minutes at :00 seconds, hours on the hour, days at midnight, months on the first.
std::vector<double> DateTimeAxisTicks(double minimum, double maximum, int maxTicks);

// "##0.##": at most two decimals (halves away from zero), no trailing zeros, at least one
// integer digit, the decimal comma, no digit grouping, never "-0". 12.5 -> "12,5", 100 -> "100".
QString ValueLabelText(double value);

// "dd.MM.yy|hh:mm:ss" of a day count (rounded to the millisecond, seconds cut), with the given
// time separator; the points and the bar are literal. Empty for an invalid day count.
QString DateTimeLabelText(double t, QChar timeSeparator);
