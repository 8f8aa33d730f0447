// GraphSetupDialog: the graph setup dialog "Настройка графиков", created at start and kept to the
// end: the time span of both charts, the part dividers, and for each value axis its mode and
// manual limits (the modes and limits are kept in the settings file).
#pragma once

#include "views/chart_labels.h"
#include "views/graph_settings.h"

#include <QDialog>

class MaskEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QTimeEdit;

// The dialog edits a setup and hands it over; the graph page applies it. The controls keep
// their designer names as object names (GroupBox1, DateTimePicker1 … 4, CheckBox1, Parts,
// ComboBox1/2, MaskEdit1 … 4, Button1 "Ok", Button2 "Записать графики в файл").
class GraphSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit GraphSetupDialog(QWidget* owner);

    // The four axis modes, in list order.
    static const QStringList& axisModes();

    // The axis modes and manual limits as they stand in the dialog (the settings file keeps them).
    GraphAxisSettings axisSettings() const;
    // Puts settings into the dialog without applying them (a mode outside the list leaves the
    // list without a choice).
    void setAxisSettings(const GraphAxisSettings& settings);
    // The whole setup "Ok" hands over: the pickers' span, the dividers and the axis settings.
    GraphSetup setup() const;
    // The span the pickers show when the dialog opens (day counts, to the minute).
    void showSpan(double start, double end);

public slots:
    // Whether a chart's manual limit fields take input (they do only in the manual mode).
    void enableManualLimits(GraphChart chart, bool enabled);

signals:
    // The user chose an axis mode: the settings are applied at once.
    void axisSettingsChosen(const GraphAxisSettings& settings);
    // "Ok": the dialog closes and the setup is applied (also when an axis refuses its limits;
    // the refusal is then shown).
    void setupChosen(const GraphSetup& setup);
    // "Записать графики в файл": the window that owns the charts' output saves them.
    void picturesRequested();

private:
    QDateEdit* startDate_;          // DateTimePicker1
    QTimeEdit* startTime_;          // DateTimePicker2
    QDateEdit* endDate_;            // DateTimePicker3
    QTimeEdit* endTime_;            // DateTimePicker4
    QCheckBox* dividers_;           // CheckBox1 "Разделить график на:"
    QSpinBox* parts_;               // Parts, 2..99
    QComboBox* humidityMode_;       // ComboBox1
    QComboBox* temperatureMode_;    // ComboBox2
    MaskEdit* humidityMinimum_;     // MaskEdit1
    MaskEdit* humidityMaximum_;     // MaskEdit2
    MaskEdit* temperatureMinimum_;  // MaskEdit3
    MaskEdit* temperatureMaximum_;  // MaskEdit4
};
