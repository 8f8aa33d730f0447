#include "views/cell_colors.h"

#include "report/number_format.h"

CellStyle cellStyleOf(qsizetype row, int column, const QString& text, const Thresholds& thresholds,
                            CellStyle normal)
{
    if (column <= 1 || row <= 0)
        return normal;
    if (text == QLatin1String("---"))
        return kInvalidCellStyle;
    if (column != 2 && column != 3)
        return normal;
    return ValueCellColor(column, ParseDecimal(text), thresholds, normal);
}

CellStyle ValueCellColor(int column, double value, const Thresholds& thresholds, CellStyle normal)
{
    const double low = column == 2 ? thresholds.humidityLow : thresholds.temperatureLow;
    const double high = column == 2 ? thresholds.humidityHigh : thresholds.temperatureHigh;
    if (value > high || value < low)
        return {kYellow, value >= low ? kRed : kBlue, true};
    return normal;
}
