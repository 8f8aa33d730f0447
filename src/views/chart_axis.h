// One axis of a time chart: visibility, automatic or manual range, title and what it draws
// (line, ticks, grid, labels). A manual range never has its minimum above its maximum: the
// setters refuse such a value with AxisRangeError and leave the axis as it was.
#pragma once

#include <QString>

#include <stdexcept>

class AxisRangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ChartAxis {
public:
    enum class Position { Left, Bottom, Top, Right };
    // Value axes label with "##0.##", date-time axes with "dd.MM.yy|hh:mm:ss".
    enum class Kind { Value, DateTime };

    ChartAxis(Position position, Kind kind) : position_(position), kind_(kind) {}

    Position position() const { return position_; }
    Kind kind() const { return kind_; }
    bool isHorizontal() const { return position_ == Position::Bottom || position_ == Position::Top; }

    bool visible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    // An automatic axis spans the data of its series; switching to manual keeps the range
    // shown at that moment.
    bool automatic() const { return automatic_; }
    void setAutomatic(bool automatic);

    // The range shown. Automatic: the data range; without data, or with a single value, a
    // range around it (0 stands for no data), so the plot always has a width.
    double minimum() const;
    double maximum() const;
    // Manual; throw AxisRangeError when the value would pass the other end.
    void setMinimum(double value);
    void setMaximum(double value);
    // Both ends in one operation, the smaller as minimum; manual.
    void setMinMax(double a, double b);

    // The extremes of the data plotted against this axis (set by the chart).
    void setDataRange(double minimum, double maximum);
    void clearDataRange();
    bool hasData() const { return hasData_; }

    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }

    bool line() const { return line_; }
    void setLine(bool on) { line_ = on; }
    bool ticks() const { return ticks_; }
    void setTicks(bool on) { ticks_ = on; }
    bool grid() const { return grid_; }
    void setGrid(bool on) { grid_ = on; }
    bool labels() const { return labels_; }
    void setLabels(bool on) { labels_ = on; }

    // The label format of the axis kind, as the program names it.
    QString labelFormat() const;

private:
    Position position_;
    Kind kind_;
    bool visible_ = true;
    bool automatic_ = true;
    double min_ = 0;
    double max_ = 0;
    bool hasData_ = false;
    double dataMin_ = 0;
    double dataMax_ = 0;
    QString title_;
    bool line_ = true;
    bool ticks_ = true;
    bool grid_ = true;
    bool labels_ = true;
};

// The range an automatic axis shows for data from minimum to maximum: the data range itself,
// or, when it has no width, one hour (date-time) or one unit (value) either side of it.
struct AxisRange {
    double minimum;
    double maximum;
};
AxisRange AutomaticAxisRange(ChartAxis::Kind kind, double minimum, double maximum);
