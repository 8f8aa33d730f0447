// TSelectForm: the graph setup dialog, created at start and kept to the end. This unit lays
// out the axis groups whose mode lists and manual limits the settings file holds; the time
// span, the dividers and the picture export are added by the graph view.
#pragma once

#include <QDialog>

class MaskEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TSelectForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectForm(QWidget* owner = nullptr);

    // The four axis modes, in list order.
    static const QStringList& AxisModes();

    QGroupBox* GroupBox1;   // time axis
    QGroupBox* GroupBox2;   // humidity axis
    QGroupBox* GroupBox3;   // temperature axis
    QComboBox* ComboBox1;   // humidity-axis mode
    QComboBox* ComboBox2;   // temperature-axis mode
    MaskEdit* MaskEdit1;    // humidity-axis manual minimum
    MaskEdit* MaskEdit2;    // humidity-axis manual maximum
    MaskEdit* MaskEdit3;    // temperature-axis manual minimum
    MaskEdit* MaskEdit4;    // temperature-axis manual maximum
    QPushButton* Button1;   // "Ok"
    QPushButton* Button2;   // picture export
};
