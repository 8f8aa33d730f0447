// MainWindow: LoadSettings and SaveSettings — the settings file kelmora.ini beside the
// executable, put straight into the controls and variables it belongs to and read back.
#include "app/main_window.h"
#include "logging/ui/reading_panel.h"
#include "views/ui/text_report_page.h"
#include "device/ui/connection_panel.h"

#include "platform/settings.h"
#include "widgets/mask_edit.h"
#include "views/ui/graph_page.h"
#include "views/ui/graph_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

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
    if (SelectForm) {
        const QSignalBlocker block1(SelectForm->ComboBox1);
        const QSignalBlocker block2(SelectForm->ComboBox2);
        SelectForm->ComboBox1->setCurrentIndex(s.modeRH >= 0 && s.modeRH < SelectForm->ComboBox1->count() ? s.modeRH : -1);
        SelectForm->ComboBox2->setCurrentIndex(s.modeT >= 0 && s.modeT < SelectForm->ComboBox2->count() ? s.modeT : -1);
        SelectForm->MaskEdit1->setText(s.min_RH);
        SelectForm->MaskEdit2->setText(s.max_RH);
        SelectForm->MaskEdit3->setText(s.min_T);
        SelectForm->MaskEdit4->setText(s.max_T);
    }
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
        s.modeRH = SelectForm->ComboBox1->currentIndex();
        s.modeT = SelectForm->ComboBox2->currentIndex();
        s.min_RH = SelectForm->MaskEdit1->text();
        s.max_RH = SelectForm->MaskEdit2->text();
        s.min_T = SelectForm->MaskEdit3->text();
        s.max_T = SelectForm->MaskEdit4->text();
    }
    s.colorChart = ColorChartFlag;
    s.usb = connection_->usb();

    ProfileFile file(settingsFilePath());
    WriteKelSettings(file, s);
}
