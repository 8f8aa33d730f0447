#include "views/chart_labels.h"

#include "report/number_format.h"

QString TimeAxisLabel(const QString& formatted)
{
    return formatted.mid(9, 5) + QLatin1Char('\r') + formatted.left(8);
}

LabelRange ValueAxisLabelRange(GraphChart chart, int displayMode)
{
    if (chart == GraphChart::Temperature)
        return {-40, 50};
    return displayMode == 1 ? LabelRange{-60, 60} : LabelRange{0, 100};
}

QString ValueAxisLabel(GraphChart chart, int displayMode, const QString& text)
{
    const LabelRange range = ValueAxisLabelRange(chart, displayMode);
    const double value = ParseDecimal(text);
    if (value < range.lower || value > range.upper)
        return {};
    return text;
}
