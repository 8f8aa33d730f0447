#include "views/view_settings.h"

#include "report/number_format.h"

#include <algorithm>

ReportSettings ReportSettingsFromStored(const KelSettings& stored)
{
    ReportSettings settings;
    // The selector has three entries; a stored mode beyond them selects the last.
    settings.displayMode = std::clamp(int(stored.Indic), 0, 2);
    settings.minHumidityText = MaskedFieldText(stored.minh);
    settings.maxHumidityText = MaskedFieldText(stored.maxh);
    settings.minTemperatureText = MaskedFieldText(stored.mint);
    settings.maxTemperatureText = MaskedFieldText(stored.maxt);
    settings.colorChart = stored.colorChart;
    return settings;
}

GraphAxisSettings AxisSettingsFromStored(const KelSettings& stored)
{
    GraphAxisSettings axes;
    axes.humidityMode = stored.modeRH;
    axes.temperatureMode = stored.modeT;
    axes.humidityMinimum = MaskedFieldText(stored.min_RH);
    axes.humidityMaximum = MaskedFieldText(stored.max_RH);
    axes.temperatureMinimum = MaskedFieldText(stored.min_T);
    axes.temperatureMaximum = MaskedFieldText(stored.max_T);
    return axes;
}
