#include "views/ui/graph_setup_dialog.h"

#include "widgets/date_time_pickers.h"
#include "widgets/design_font.h"
#include "widgets/design_label.h"
#include "widgets/mask_edit.h"
#include "widgets/bevel_panel.h"
#include "views/chart_axis.h"
#include "views/graph_settings.h"
#include "views/ui/graph_charts.h"
#include "views/ui/graph_page.h"
#include "views/ui/time_chart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

void axisGroup(QGroupBox* group, QComboBox*& mode, MaskEdit*& minimum, MaskEdit*& maximum)
{
    DesignLabel(QStringLiteral("Режим:"), group, {16, 24});
    mode = new QComboBox(group);
    mode->addItems(GraphSetupDialog::AxisModes());
    mode->setGeometry(72, 20, 177, 21);
    DesignLabel(QStringLiteral("Минимум:"), group, {16, 56});
    minimum = new MaskEdit(group);
    minimum->setGeometry(80, 52, 40, 21);
    DesignLabel(QStringLiteral("Максимум:"), group, {136, 56});
    maximum = new MaskEdit(group);
    maximum->setGeometry(208, 52, 40, 21);
}

}  // namespace

const QStringList& GraphSetupDialog::AxisModes()
{
    static const QStringList modes{QStringLiteral("Выключена"), QStringLiteral("Автоматические пределы"),
                                   QStringLiteral("Весь диапазон"), QStringLiteral("Ручной ввод")};
    return modes;
}

GraphSetupDialog::GraphSetupDialog(QWidget* owner, GraphPage& page)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint), page_(page)
{
    setObjectName(QStringLiteral("SelectForm"));
    setWindowTitle(QStringLiteral("Настройка графиков"));
    setFixedSize(272, 463);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    GroupBox1 = new QGroupBox(QStringLiteral(" Ось времени / даты "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(6, 4, 259, 229);
    DesignLabel(QStringLiteral("Начальная точка:"), GroupBox1, {16, 24});
    DateTimePicker1 = NewDatePicker(GroupBox1, "DateTimePicker1", {16, 48, 100, 21});
    DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), GroupBox1, {136, 52});
    DateTimePicker2 = NewTimePicker(GroupBox1, "DateTimePicker2", {16, 80, 100, 21});
    DesignLabel(QStringLiteral("(ЧЧ.ММ)"), GroupBox1, {136, 84});
    DesignLabel(QStringLiteral("Конечная точка:"), GroupBox1, {16, 112});
    DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), GroupBox1, {136, 136});
    DesignLabel(QStringLiteral("(ЧЧ.ММ)"), GroupBox1, {136, 168});
    CheckBox1 = new QCheckBox(QStringLiteral("Разделить график на:"), GroupBox1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(16, 200, 137, 17);
    Parts = new QSpinBox(GroupBox1);
    Parts->setObjectName(QStringLiteral("Parts"));
    // A typed value outside 2..99 is brought into the range when the field is left.
    Parts->setRange(2, 99);
    Parts->setSingleStep(1);
    Parts->setValue(7);
    Parts->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    Parts->setGeometry(159, 198, 41, 21);
    DesignLabel(QStringLiteral("частей"), GroupBox1, {208, 201});

    GroupBox2 = new QGroupBox(QStringLiteral(" Ось влажности "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(6, 238, 259, 88);
    axisGroup(GroupBox2, ComboBox1, MaskEdit1, MaskEdit2);
    GroupBox3 = new QGroupBox(QStringLiteral(" Ось температуры: "), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(6, 330, 259, 88);
    axisGroup(GroupBox3, ComboBox2, MaskEdit3, MaskEdit4);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
    MaskEdit3->setObjectName(QStringLiteral("MaskEdit3"));
    MaskEdit4->setObjectName(QStringLiteral("MaskEdit4"));
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));

    // The end pickers stand over the group, placed in the dialog itself.
    DateTimePicker3 = NewDatePicker(this, "DateTimePicker3", {24, 136, 100, 21});
    DateTimePicker4 = NewTimePicker(this, "DateTimePicker4", {24, 168, 100, 21});

    // Design values, replaced by the settings when the main window is first shown.
    ComboBox1->setCurrentIndex(2);
    ComboBox2->setCurrentIndex(2);
    MaskEdit1->setText(QStringLiteral("+00,0"));
    MaskEdit2->setText(QStringLiteral("100,0"));
    MaskEdit3->setText(QStringLiteral("-50,0"));
    MaskEdit4->setText(QStringLiteral("100,0"));
    for (MaskEdit* m : {MaskEdit1, MaskEdit2, MaskEdit3, MaskEdit4})
        m->setEnabled(false);

    Button2 = new QPushButton(QStringLiteral("Записать графики в файл"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(8, 432, 177, 23);
    Button2->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(190, 432, 75, 23);
    Button1->setDefault(true);

    // Only the user's choice of a mode applies it at once; the settings file setting the
    // lists does not.
    connect(ComboBox1, &QComboBox::activated, this, &GraphSetupDialog::ComboBox1Change);
    connect(ComboBox2, &QComboBox::activated, this, &GraphSetupDialog::ComboBox2Change);
    connect(Button2, &QPushButton::clicked, this, &GraphSetupDialog::picturesRequested);
    connect(Button1, &QPushButton::clicked, this, [this] {
        // The dialog closes even when the axes refuse the limits; the refusal is then shown.
        struct Close {
            GraphSetupDialog* form;
            ~Close() { form->accept(); }
        } close{this};
        Button1Click();
    });
}

void GraphSetupDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void GraphSetupDialog::ComboBox1Change()
{
    ApplyGraphSettings();
}

void GraphSetupDialog::ComboBox2Change()
{
    ApplyGraphSettings();
}

void GraphSetupDialog::FormShow()
{
    // The span of the humidity series (its first and last time; 30.12.1899 00:00 without points).
    SetPickers(DateTimePicker1, DateTimePicker2, page_.humidityChart()->seriesMinX());
    SetPickers(DateTimePicker3, DateTimePicker4, page_.humidityChart()->seriesMaxX());
}

void GraphSetupDialog::Button1Click()
{
    const double start = PickersDayCount(DateTimePicker1, DateTimePicker2, false);
    const double end = PickersDayCount(DateTimePicker3, DateTimePicker4, false);
    page_.setTimeSpan(start, end);
    page_.setPartDividers(CheckBox1->isChecked(), Parts->text().toInt());
    ApplyGraphSettings();
}

void GraphSetupDialog::ApplyGraphSettings()
{
    GraphAxisSettings settings;
    settings.humidityMode = ComboBox1->currentIndex();
    settings.temperatureMode = ComboBox2->currentIndex();
    settings.humidityMinimum = MaskEdit1->text();
    settings.humidityMaximum = MaskEdit2->text();
    settings.temperatureMinimum = MaskEdit3->text();
    settings.temperatureMaximum = MaskEdit4->text();
    page_.applySetup(settings, [this](GraphChart which, bool enabled) {
        MaskEdit* minimum = which == GraphChart::Humidity ? MaskEdit1 : MaskEdit3;
        MaskEdit* maximum = which == GraphChart::Humidity ? MaskEdit2 : MaskEdit4;
        minimum->setEnabled(enabled);
        maximum->setEnabled(enabled);
    });
}
