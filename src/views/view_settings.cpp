#include "views/view_settings.h"

#include "report/number_format.h"

#include <algorithm>

ReportSettings ReportSettingsFromStored(const KelSettings& stored)
{
    ReportSettings settings;
    // The selector has three entries; a stored mode beyond them selects the last.
    settings.displayMode = std::clamp(int(stored.displayMode), 0, 2);
    settings.minHumidityText = MaskedFieldText(stored.minHumidity);
    settings.maxHumidityText = MaskedFieldText(stored.maxHumidity);
    settings.minTemperatureText = MaskedFieldText(stored.minTemperature);
    settings.maxTemperatureText = MaskedFieldText(stored.maxTemperature);
    settings.colorChart = stored.colorChart;
    return settings;
}

GraphAxisSettings AxisSettingsFromStored(const KelSettings& stored)
{
    GraphAxisSettings axes;
    axes.humidityMode = stored.humidityAxisMode;
    axes.temperatureMode = stored.temperatureAxisMode;
    axes.humidityMinimum = MaskedFieldText(stored.humidityAxisMin);
    axes.humidityMaximum = MaskedFieldText(stored.humidityAxisMax);
    axes.temperatureMinimum = MaskedFieldText(stored.temperatureAxisMin);
    axes.temperatureMaximum = MaskedFieldText(stored.temperatureAxisMax);
    return axes;
}
