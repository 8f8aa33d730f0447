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

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // An automatic axis spans the data of its series; switching to manual keeps the range
    // shown at that moment.
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool automatic);

    // The range shown. Automatic: the data range; without data, or with a single value, a
    // range around it (0 stands for no data), so the plot always has a width.
    double Minimum() const;
    double Maximum() const;
    // Manual; throw AxisRangeError when the value would pass the other end.
    void SetMinimum(double value);
    void SetMaximum(double value);
    // Both ends in one operation, the smaller as minimum; manual.
    void SetMinMax(double a, double b);

    // The extremes of the data plotted against this axis (set by the chart).
    void setDataRange(double minimum, double maximum);
    void clearDataRange();
    bool hasData() const { return hasData_; }

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    bool Line() const { return line_; }
    void SetLine(bool on) { line_ = on; }
    bool Ticks() const { return ticks_; }
    void SetTicks(bool on) { ticks_ = on; }
    bool Grid() const { return grid_; }
    void SetGrid(bool on) { grid_ = on; }
    bool Labels() const { return labels_; }
    void SetLabels(bool on) { labels_ = on; }

    // The label format of the axis kind, as the program names it.
    QString LabelFormat() const;

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
