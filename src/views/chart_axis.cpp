#include "views/chart_axis.h"

AxisRange AutomaticAxisRange(ChartAxis::Kind kind, double minimum, double maximum)
{
    if (maximum > minimum)
        return {minimum, maximum};
    const double around = kind == ChartAxis::Kind::DateTime ? 1.0 / 24.0 : 1.0;
    return {minimum - around, minimum + around};
}

void ChartAxis::SetAutomatic(bool automatic)
{
    if (automatic == automatic_)
        return;
    if (!automatic) {
        min_ = Minimum();
        max_ = Maximum();
    }
    automatic_ = automatic;
}

double ChartAxis::Minimum() const
{
    if (!automatic_)
        return min_;
    return AutomaticAxisRange(kind_, hasData_ ? dataMin_ : 0, hasData_ ? dataMax_ : 0).minimum;
}

double ChartAxis::Maximum() const
{
    if (!automatic_)
        return max_;
    return AutomaticAxisRange(kind_, hasData_ ? dataMin_ : 0, hasData_ ? dataMax_ : 0).maximum;
}

void ChartAxis::SetMinimum(double value)
{
    const double maximum = Maximum();
    if (value > maximum)
        throw AxisRangeError("Axis Minimum Value must be <= Maximum");
    SetAutomatic(false);
    min_ = value;
}

void ChartAxis::SetMaximum(double value)
{
    const double minimum = Minimum();
    if (value < minimum)
        throw AxisRangeError("Axis Maximum Value must be >= Minimum");
    SetAutomatic(false);
    max_ = value;
}

void ChartAxis::SetMinMax(double a, double b)
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

QString ChartAxis::LabelFormat() const
{
    return kind_ == Kind::DateTime ? QStringLiteral("dd.MM.yy|hh:mm:ss") : QStringLiteral("##0.##");
}
