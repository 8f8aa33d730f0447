// Page 2 "&Текстовый отчёт": the title strip with the two print buttons, the table of the built
// report, the minimum and maximum figures, the four threshold fields and the display-mode
// selector. It shows a built table and holds the thresholds and the display mode that the
// next build is made from.
#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

class BevelPanel;
class MaskEdit;
class QAction;
class QLabel;
class QLineEdit;
class QTableView;
class RadioGroup;
class ReportTable;
class ReportTableModel;

// The four threshold fields as typed (mask texts, blanks in unfilled positions).
struct ThresholdTexts {
    QString minHumidity;
    QString maxHumidity;
    QString minTemperature;
    QString maxTemperature;
};

class TextReportPage : public QWidget {
    Q_OBJECT
public:
    // The print buttons show and trigger the two print actions.
    TextReportPage(QAction* printTable, QAction* printGraph, QWidget* parent = nullptr);

    // The built report on show: the table (the current cell stays while the table has it),
    // the title and the minimum and maximum figures.
    void showTable(std::shared_ptr<const ReportTable> table);
    const ReportTableModel& model() const { return *model_; }
    // What a printout or an exported workbook takes over from the table on screen.
    QFont cellFont() const;
    QPalette tablePalette() const;

    // The display mode: 0 relative humidity, 1 dew point, 2 absolute humidity (the selector's
    // choice; 255 when nothing is chosen).
    std::uint8_t displayMode() const { return displayMode_; }
    // Chooses a mode as a click on the selector does: the page relabels itself and says so.
    void chooseDisplayMode(int mode);
    // Remembers a mode without choosing it (the settings file's, before the window is shown).
    void keepDisplayMode(std::uint8_t mode) { displayMode_ = mode; }

    ThresholdTexts thresholdTexts() const;
    void setThresholdTexts(const ThresholdTexts& texts);

    // The columns share the table's width (its scroll bar's width kept free).
    void fitColumns();

signals:
    void displayModeChosen(int mode);
    void thresholdLeft();

private:
    void displayModeClicked();

    QLabel* title_;
    QTableView* table_;
    ReportTableModel* model_;
    QLabel* humidityTitle_;
    QLabel* humidityUnit_;
    QLineEdit* humidityMin_;
    QLineEdit* humidityMax_;
    QLineEdit* temperatureMin_;
    QLineEdit* temperatureMax_;
    MaskEdit* humidityLow_;
    MaskEdit* humidityHigh_;
    MaskEdit* temperatureLow_;
    MaskEdit* temperatureHigh_;
    RadioGroup* modeSelector_;
    std::uint8_t displayMode_ = 0;
};
