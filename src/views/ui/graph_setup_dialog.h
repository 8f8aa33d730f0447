// GraphSetupDialog: the graph setup dialog "Настройка графиков", created at start and kept to the
// end: the time span of both charts, the part dividers, and for each value axis its mode and
// manual limits (the modes and limits are kept in the settings file).
#pragma once

#include <QDialog>

class MaskEdit;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class GraphPage;

class GraphSetupDialog : public QDialog {
    Q_OBJECT
public:
    // owner: the window the dialog stays with; page: the charts it sets up.
    GraphSetupDialog(QWidget* owner, GraphPage& page);

    // The four axis modes, in list order.
    static const QStringList& AxisModes();

    QGroupBox* GroupBox1;          // time axis
    QDateEdit* DateTimePicker1;    // start date
    QTimeEdit* DateTimePicker2;    // start time
    QDateEdit* DateTimePicker3;    // end date
    QTimeEdit* DateTimePicker4;    // end time
    QCheckBox* CheckBox1;          // "Разделить график на:"
    QSpinBox* Parts;               // number of parts, 2..99
    QGroupBox* GroupBox2;          // humidity axis
    QGroupBox* GroupBox3;          // temperature axis
    QComboBox* ComboBox1;          // humidity-axis mode
    QComboBox* ComboBox2;          // temperature-axis mode
    MaskEdit* MaskEdit1;           // humidity-axis manual minimum
    MaskEdit* MaskEdit2;           // humidity-axis manual maximum
    MaskEdit* MaskEdit3;           // temperature-axis manual minimum
    MaskEdit* MaskEdit4;           // temperature-axis manual maximum
    QPushButton* Button1;          // "Ok"
    QPushButton* Button2;          // "Записать графики в файл"

    // The axis modes and manual limits made into axis ranges, chart visibility and the layout
    // of the graph page (the display mode is the page's). Throws AxisRangeError when an axis refuses a maximum below its
    // minimum; the steps after that one are not done.
    void ApplyGraphSettings();

public slots:
    void FormShow();
    void ComboBox1Change();
    void ComboBox2Change();
    void Button1Click();

signals:
    // "Записать графики в файл": the window that owns the charts' output saves them.
    void picturesRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    GraphPage& page_;
};
