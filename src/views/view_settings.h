// What the settings file makes of a report and its charts: the display mode, the thresholds
// and the point colours of the report, the axis modes and manual limits of the charts, each as
// the window has it once it has loaded the file (the texts as its masked fields keep them, the
// display mode as its three-entry selector shows it).
#pragma once

#include "platform/settings.h"
#include "report/report_builder.h"
#include "views/graph_settings.h"

ReportSettings ReportSettingsFromStored(const KelSettings& stored);
GraphAxisSettings AxisSettingsFromStored(const KelSettings& stored);
