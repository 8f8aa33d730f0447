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
    Ortanel = s.Ortanel;
    connection_->chooseListedPort(s.Port);
    TabSheet2->setThresholdTexts({s.minh, s.maxh, s.mint, s.maxt});
    readingPanel_->setIntervalText(s.interval);
    // The mode is chosen (and the report built for it) when the window is first shown.
    TabSheet2->keepDisplayMode(s.Indic);
    Panel5->setDisplayMode(s.Indic, false);
    if (SelectForm)
        SelectForm->setAxisSettings({s.modeRH, s.modeT, s.min_RH, s.max_RH, s.min_T, s.max_T});
    ColorChartFlag = s.colorChart;
    connection_->setUsb(s.usb);
}

void MainWindow::SaveSettings()
{
    // Start from the file as it stands, so values of a window that does not exist keep theirs.
    KelSettings s = ReadKelSettings(ProfileFile(settingsFilePath()));
    s.Ortanel = Ortanel;
    s.Port = connection_->listedPort();
    const ThresholdTexts thresholds = TabSheet2->thresholdTexts();
    s.minh = thresholds.minHumidity;
    s.maxh = thresholds.maxHumidity;
    s.mint = thresholds.minTemperature;
    s.maxt = thresholds.maxTemperature;
    s.interval = readingPanel_->intervalText();
    s.Indic = TabSheet2->displayMode();
    if (SelectForm) {
        const GraphAxisSettings axes = SelectForm->axisSettings();
        s.modeRH = axes.humidityMode;
        s.modeT = axes.temperatureMode;
        s.min_RH = axes.humidityMinimum;
        s.max_RH = axes.humidityMaximum;
        s.min_T = axes.temperatureMinimum;
        s.max_T = axes.temperatureMaximum;
    }
    s.colorChart = ColorChartFlag;
    s.usb = connection_->usb();

    ProfileFile file(settingsFilePath());
    WriteKelSettings(file, s);
}
