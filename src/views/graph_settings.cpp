#include "views/graph_settings.h"

#include "report/number_format.h"

#include <cmath>

double ManualAxisLimit(const QString& maskText)
{
    return ParseDecimal(BlanksToZeros(maskText));
}

AxisRangeChoice HumidityAxisRange(int mode, double seriesMin, double seriesMax, int displayMode,
                                  const QString& manualMin, const QString& manualMax)
{
    AxisRangeChoice c;
    switch (mode) {
    case kAxisOff:
        c.hidden = true;
        break;
    case kAxisAutomatic: {
        const double pad = std::fabs(seriesMax - seriesMin) / 10;
        c.minimum = (seriesMin - pad >= 0 || displayMode == 1) ? seriesMin - pad : 0.0;
        c.maximum = seriesMax + pad > 100 ? 100.0 : seriesMax + pad;
        break;
    }
    case kAxisFullRange:
        if (displayMode == 0 || displayMode == 2) {
            c.minimum = 0.0;
            c.maximum = 100.0;
        } else if (displayMode == 1) {
            c.minimum = -60.0;
            c.maximum = 60.0;
        }
        break;
    case kAxisManual:
        c.manualFieldsEnabled = true;
        c.minimum = ManualAxisLimit(manualMin);
        c.maximum = ManualAxisLimit(manualMax);
        break;
    default:
        break;
    }
    return c;
}

AxisRangeChoice TemperatureAxisRange(int mode, double seriesMin, double seriesMax, const QString& manualMin,
                                     const QString& manualMax)
{
    AxisRangeChoice c;
    switch (mode) {
    case kAxisOff:
        c.hidden = true;
        break;
    case kAxisAutomatic: {
        const double pad = std::fabs(seriesMax - seriesMin) / 10;
        c.minimum = seriesMin - pad;
        c.maximum = seriesMax + pad;
        break;
    }
    case kAxisFullRange:
        c.minimum = 0.0;
        c.maximum = 50.0;
        break;
    case kAxisManual:
        c.manualFieldsEnabled = true;
        c.minimum = ManualAxisLimit(manualMin);
        c.maximum = ManualAxisLimit(manualMax);
        break;
    default:
        break;
    }
    return c;
}
