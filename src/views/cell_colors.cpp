#include "views/cell_colors.h"

#include "report/number_format.h"

CellStyle Grid1GetCellColor(qsizetype row, int column, const QString& text, const Thresholds& thresholds,
                            CellStyle normal)
{
    if (column <= 1 || row <= 0)
        return normal;
    if (text == QLatin1String("---"))
        return {kRed, kYellow, true};
    double low = 0, high = 0;
    if (column == 2) {
        low = thresholds.humidityLow;
        high = thresholds.humidityHigh;
    } else if (column == 3) {
        low = thresholds.temperatureLow;
        high = thresholds.temperatureHigh;
    } else {
        return normal;
    }
    const double v = ParseDecimal(text);
    if (v > high || v < low)
        return {kYellow, v >= low ? kRed : kBlue, true};
    return normal;
}
