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
    ortanelSetting_ = s.Ortanel;
    connection_->chooseListedPort(s.Port);
    textReportPage_->setThresholdTexts({s.minh, s.maxh, s.mint, s.maxt});
    readingPanel_->setIntervalText(s.interval);
    // The mode is chosen (and the report built for it) when the window is first shown.
    textReportPage_->keepDisplayMode(s.Indic);
    graphPage_->setDisplayMode(s.Indic, false);
    if (graphSetupDialog_)
        graphSetupDialog_->setAxisSettings({s.modeRH, s.modeT, s.min_RH, s.max_RH, s.min_T, s.max_T});
    colorChart_ = s.colorChart;
    connection_->setUsb(s.usb);
}

void MainWindow::SaveSettings()
{
    // Start from the file as it stands, so values of a window that does not exist keep theirs.
    KelSettings s = ReadKelSettings(ProfileFile(settingsFilePath()));
    s.Ortanel = ortanelSetting_;
    s.Port = connection_->listedPort();
    const ThresholdTexts thresholds = textReportPage_->thresholdTexts();
    s.minh = thresholds.minHumidity;
    s.maxh = thresholds.maxHumidity;
    s.mint = thresholds.minTemperature;
    s.maxt = thresholds.maxTemperature;
    s.interval = readingPanel_->intervalText();
    s.Indic = textReportPage_->displayMode();
    if (graphSetupDialog_) {
        const GraphAxisSettings axes = graphSetupDialog_->axisSettings();
        s.modeRH = axes.humidityMode;
        s.modeT = axes.temperatureMode;
        s.min_RH = axes.humidityMinimum;
        s.max_RH = axes.humidityMaximum;
        s.min_T = axes.temperatureMinimum;
        s.max_T = axes.temperatureMaximum;
    }
    s.colorChart = colorChart_;
    s.usb = connection_->usb();

    ProfileFile file(settingsFilePath());
    WriteKelSettings(file, s);
}
