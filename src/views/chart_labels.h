// The graph page's rewriting of axis labels: the time axis shows "hh:mm" over "dd.MM.yy"; a
// value axis leaves empty the labels outside the range its quantity can take.
#pragma once

#include <QString>

// Which of the two charts of the graph page a value axis belongs to.
enum class GraphChart { Humidity, Temperature };

// From "dd.MM.yy|hh:mm:ss": characters 10 to 14, a carriage return, characters 1 to 8
// (positions counted from 1; a shorter text gives what it has).
QString TimeAxisLabel(const QString& formatted);

// The allowed label range of a value axis: humidity -60..60 in dew-point mode (1), else
// 0..100; temperature -40..50.
struct LabelRange {
    double lower;
    double upper;
};
LabelRange ValueAxisLabelRange(GraphChart chart, int displayMode);

// The label as drawn: unchanged when its number (decimal comma) lies within the range, the
// bounds included; empty otherwise.
QString ValueAxisLabel(GraphChart chart, int displayMode, const QString& text);
