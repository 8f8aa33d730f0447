// MainWindow: LoadSettings and SaveSettings — the settings file kelmora.ini beside the
// executable, handed to the rooms and windows that hold each value and asked back from them.
#include "app/main_window.h"
#include "logging/ui/reading_panel.h"
#include "views/ui/text_report_page.h"
#include "device/ui/connection_panel.h"

#include "platform/settings.h"
#include "views/ui/graph_page.h"
#include "views/ui/graph_setup_dialog.h"

void MainWindow::LoadSettings()
{
    const ProfileFile file(settingsFilePath());
    const KelSettings s = ReadKelSettings(file);

    // No handler runs while loading: choosing the port index does not open the port, an axis
    // mode does not apply graph settings, the threshold fields do not rebuild the report.
    ortanelSetting_ = s.ortanel;
    connection_->chooseListedPort(s.portIndex);
    textReportPage_->setThresholdTexts({s.minHumidity, s.maxHumidity, s.minTemperature, s.maxTemperature});
    readingPanel_->setIntervalText(s.interval);
    // The mode is chosen (and the report built for it) when the window is first shown.
    textReportPage_->keepDisplayMode(s.displayMode);
    graphPage_->setDisplayMode(s.displayMode, false);
    if (graphSetupDialog_)
        graphSetupDialog_->setAxisSettings({s.humidityAxisMode, s.temperatureAxisMode, s.humidityAxisMin, s.humidityAxisMax, s.temperatureAxisMin, s.temperatureAxisMax});
    colorChart_ = s.colorChart;
    connection_->setUsb(s.usb);
}

void MainWindow::SaveSettings()
{
    // Start from the file as it stands, so values of a window that does not exist keep theirs.
    KelSettings s = ReadKelSettings(ProfileFile(settingsFilePath()));
    s.ortanel = ortanelSetting_;
    s.portIndex = connection_->listedPort();
    const ThresholdTexts thresholds = textReportPage_->thresholdTexts();
    s.minHumidity = thresholds.minHumidity;
    s.maxHumidity = thresholds.maxHumidity;
    s.minTemperature = thresholds.minTemperature;
    s.maxTemperature = thresholds.maxTemperature;
    s.interval = readingPanel_->intervalText();
    s.displayMode = textReportPage_->displayMode();
    if (graphSetupDialog_) {
        const GraphAxisSettings axes = graphSetupDialog_->axisSettings();
        s.humidityAxisMode = axes.humidityMode;
        s.temperatureAxisMode = axes.temperatureMode;
        s.humidityAxisMin = axes.humidityMinimum;
        s.humidityAxisMax = axes.humidityMaximum;
        s.temperatureAxisMin = axes.temperatureMinimum;
        s.temperatureAxisMax = axes.temperatureMaximum;
    }
    s.colorChart = colorChart_;
    s.usb = connection_->usb();

    ProfileFile file(settingsFilePath());
    WriteKelSettings(file, s);
}
