#include "views/graph_settings.h"

#include "report/number_format.h"

#include <cmath>

double ManualAxisLimit(const QString& maskText)
{
    return ParseDecimal(BlanksToZeros(maskText));
}

namespace {

// What the modes common to both axes do: off hides the chart, manual takes the two fields.
// Returns false for the modes each axis treats in its own way.
bool CommonAxisMode(int mode, const QString& manualMin, const QString& manualMax, AxisRangeChoice& c)
{
    if (mode == kAxisOff) {
        c.hidden = true;
        return true;
    }
    if (mode == kAxisManual) {
        c.manualFieldsEnabled = true;
        c.minimum = ManualAxisLimit(manualMin);
        c.maximum = ManualAxisLimit(manualMax);
        return true;
    }
    return false;
}

double Pad(double minimum, double maximum)
{
    return std::fabs(maximum - minimum) / 10;
}

}  // namespace

AxisRangeChoice HumidityAxisRange(int mode, double seriesMin, double seriesMax, int displayMode,
                                  const QString& manualMin, const QString& manualMax)
{
    AxisRangeChoice c;
    if (CommonAxisMode(mode, manualMin, manualMax, c))
        return c;
    switch (mode) {
    case kAxisAutomatic: {
        const double pad = Pad(seriesMin, seriesMax);
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
    default:
        break;
    }
    return c;
}

AxisRangeChoice TemperatureAxisRange(int mode, double seriesMin, double seriesMax, const QString& manualMin,
                                     const QString& manualMax)
{
    AxisRangeChoice c;
    if (CommonAxisMode(mode, manualMin, manualMax, c))
        return c;
    switch (mode) {
    case kAxisAutomatic: {
        const double pad = Pad(seriesMin, seriesMax);
        c.minimum = seriesMin - pad;
        c.maximum = seriesMax + pad;
        break;
    }
    case kAxisFullRange:
        c.minimum = 0.0;
        c.maximum = 50.0;
        break;
    default:
        break;
    }
    return c;
}
