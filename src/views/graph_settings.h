// The value-axis ranges of the graph setup: what each of the four axis modes makes of the
// humidity chart's value axis and the temperature chart's, from the series' extremes, the
// display mode and the manual limit fields.
#pragma once

#include <QString>

#include <optional>

// The entries of the two mode lists, in list order (the index is what the settings file keeps).
enum AxisMode : int { kAxisOff = 0, kAxisAutomatic = 1, kAxisFullRange = 2, kAxisManual = 3 };

// The graph setup's axis modes and manual limit texts, as the settings file keeps them.
struct GraphAxisSettings {
    int humidityMode = kAxisFullRange;
    int temperatureMode = kAxisFullRange;
    QString humidityMinimum = QStringLiteral("+00,0");
    QString humidityMaximum = QStringLiteral("100,0");
    QString temperatureMinimum = QStringLiteral("-50,0");
    QString temperatureMaximum = QStringLiteral("100,0");

    bool operator==(const GraphAxisSettings&) const = default;
};

// What the graph setup's "Ok" sets on the graph page: the time span of both charts (day counts;
// a start after the end gives the same span as the two swapped), the part dividers and the axes.
struct GraphSetup {
    double start = 0;
    double end = 0;
    bool dividers = false;
    int parts = 7;
    GraphAxisSettings axes;
};

// What a mode does to its axis: hide the chart, set a range (the minimum before the maximum),
// or leave the axis as it is (an unknown mode, or full range in an unknown display mode).
struct AxisRangeChoice {
    bool hidden = false;
    std::optional<double> minimum;
    std::optional<double> maximum;
    bool manualFieldsEnabled = false;

    bool operator==(const AxisRangeChoice&) const = default;
};

// A manual limit field's text ("!#99,9" mask, blanks in untyped positions) as a number.
double ManualAxisLimit(const QString& maskText);

// Humidity axis. seriesMin/seriesMax: the extremes of the humidity series (0 and 0 without points).
// Automatic: the data range widened by a tenth of its width on each side; the minimum stays at 0
// or above except in dew-point mode, the maximum at 100 or below in every mode.
AxisRangeChoice HumidityAxisRange(int mode, double seriesMin, double seriesMax, int displayMode,
                                  const QString& manualMin, const QString& manualMax);

// Temperature axis: automatic widens by a tenth without clamps; full range is 0 to 50.
AxisRangeChoice TemperatureAxisRange(int mode, double seriesMin, double seriesMax, const QString& manualMin,
                                     const QString& manualMax);
