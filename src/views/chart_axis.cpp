#include "views/chart_axis.h"

AxisRange AutomaticAxisRange(ChartAxis::Kind kind, double minimum, double maximum)
{
    if (maximum > minimum)
        return {minimum, maximum};
    const double around = kind == ChartAxis::Kind::DateTime ? 1.0 / 24.0 : 1.0;
    return {minimum - around, minimum + around};
}

void ChartAxis::setAutomatic(bool automatic)
{
    if (automatic == automatic_)
        return;
    if (!automatic) {
        min_ = minimum();
        max_ = maximum();
    }
    automatic_ = automatic;
}

double ChartAxis::minimum() const
{
    if (!automatic_)
        return min_;
    return AutomaticAxisRange(kind_, hasData_ ? dataMin_ : 0, hasData_ ? dataMax_ : 0).minimum;
}

double ChartAxis::maximum() const
{
    if (!automatic_)
        return max_;
    return AutomaticAxisRange(kind_, hasData_ ? dataMin_ : 0, hasData_ ? dataMax_ : 0).maximum;
}

void ChartAxis::setMinimum(double value)
{
    if (value > maximum())
        throw AxisRangeError("Axis Minimum Value must be <= Maximum");
    setAutomatic(false);
    min_ = value;
}

void ChartAxis::setMaximum(double value)
{
    if (value < minimum())
        throw AxisRangeError("Axis Maximum Value must be >= Minimum");
    setAutomatic(false);
    max_ = value;
}

void ChartAxis::setMinMax(double a, double b)
{
    automatic_ = false;
    min_ = a <= b ? a : b;
    max_ = a <= b ? b : a;
}

void ChartAxis::setDataRange(double minimum, double maximum)
{
    hasData_ = true;
    dataMin_ = minimum;
    dataMax_ = maximum;
}

void ChartAxis::clearDataRange()
{
    hasData_ = false;
    dataMin_ = dataMax_ = 0;
}

QString ChartAxis::labelFormat() const
{
    return kind_ == Kind::DateTime ? QStringLiteral("dd.MM.yy|hh:mm:ss") : QStringLiteral("##0.##");
}
