#include "views/ui/graph_setup_dialog.h"

#include "widgets/date_time_pickers.h"
#include "widgets/design_font.h"
#include "widgets/design_label.h"
#include "widgets/mask_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

// One value axis: its mode list and the two manual limit fields, with their labels.
void axisGroup(QGroupBox* group, const char* listName, QComboBox*& mode, const char* minimumName,
               MaskEdit*& minimum, const char* maximumName, MaskEdit*& maximum)
{
    DesignLabel(QStringLiteral("Режим:"), group, {16, 24});
    mode = new QComboBox(group);
    mode->setObjectName(QLatin1String(listName));
    mode->addItems(GraphSetupDialog::axisModes());
    mode->setGeometry(72, 20, 177, 21);
    DesignLabel(QStringLiteral("Минимум:"), group, {16, 56});
    minimum = new MaskEdit(group);
    minimum->setObjectName(QLatin1String(minimumName));
    minimum->setGeometry(80, 52, 40, 21);
    DesignLabel(QStringLiteral("Максимум:"), group, {136, 56});
    maximum = new MaskEdit(group);
    maximum->setObjectName(QLatin1String(maximumName));
    maximum->setGeometry(208, 52, 40, 21);
}

}  // namespace

const QStringList& GraphSetupDialog::axisModes()
{
    static const QStringList modes{QStringLiteral("Выключена"), QStringLiteral("Автоматические пределы"),
                                   QStringLiteral("Весь диапазон"), QStringLiteral("Ручной ввод")};
    return modes;
}

GraphSetupDialog::GraphSetupDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SelectForm"));
    setWindowTitle(QStringLiteral("Настройка графиков"));
    setFixedSize(272, 463);
    setFont(DesignFont());
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* timeAxis = new QGroupBox(QStringLiteral(" Ось времени / даты "), this);
    timeAxis->setObjectName(QStringLiteral("GroupBox1"));
    timeAxis->setGeometry(6, 4, 259, 229);
    DesignLabel(QStringLiteral("Начальная точка:"), timeAxis, {16, 24});
    startDate_ = NewDatePicker(timeAxis, "DateTimePicker1", {16, 48, 100, 21});
    DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), timeAxis, {136, 52});
    startTime_ = NewTimePicker(timeAxis, "DateTimePicker2", {16, 80, 100, 21}, PickerSeconds::Hidden);
    DesignLabel(QStringLiteral("(ЧЧ.ММ)"), timeAxis, {136, 84});
    DesignLabel(QStringLiteral("Конечная точка:"), timeAxis, {16, 112});
    DesignLabel(QStringLiteral("(ДД.ММ.ГГ)"), timeAxis, {136, 136});
    DesignLabel(QStringLiteral("(ЧЧ.ММ)"), timeAxis, {136, 168});
    dividers_ = new QCheckBox(QStringLiteral("Разделить график на:"), timeAxis);
    dividers_->setObjectName(QStringLiteral("CheckBox1"));
    dividers_->setGeometry(16, 200, 137, 17);
    parts_ = new QSpinBox(timeAxis);
    parts_->setObjectName(QStringLiteral("Parts"));
    // A typed value outside 2..99 is brought into the range when the field is left.
    parts_->setRange(2, 99);
    parts_->setSingleStep(1);
    parts_->setValue(7);
    parts_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    parts_->setGeometry(159, 198, 41, 21);
    DesignLabel(QStringLiteral("частей"), timeAxis, {208, 201});

    auto* humidityAxis = new QGroupBox(QStringLiteral(" Ось влажности "), this);
    humidityAxis->setObjectName(QStringLiteral("GroupBox2"));
    humidityAxis->setGeometry(6, 238, 259, 88);
    axisGroup(humidityAxis, "ComboBox1", humidityMode_, "MaskEdit1", humidityMinimum_, "MaskEdit2",
              humidityMaximum_);
    auto* temperatureAxis = new QGroupBox(QStringLiteral(" Ось температуры: "), this);
    temperatureAxis->setObjectName(QStringLiteral("GroupBox3"));
    temperatureAxis->setGeometry(6, 330, 259, 88);
    axisGroup(temperatureAxis, "ComboBox2", temperatureMode_, "MaskEdit3", temperatureMinimum_, "MaskEdit4",
              temperatureMaximum_);

    // The end pickers stand over the group, placed in the dialog itself.
    endDate_ = NewDatePicker(this, "DateTimePicker3", {24, 136, 100, 21});
    endTime_ = NewTimePicker(this, "DateTimePicker4", {24, 168, 100, 21}, PickerSeconds::Hidden);

    // Design values, replaced by the settings when the main window is first shown.
    setAxisSettings(GraphAxisSettings{});
    for (MaskEdit* m : {humidityMinimum_, humidityMaximum_, temperatureMinimum_, temperatureMaximum_})
        m->setEnabled(false);

    auto* savePictures = new QPushButton(QStringLiteral("Записать графики в файл"), this);
    savePictures->setObjectName(QStringLiteral("Button2"));
    savePictures->setGeometry(8, 432, 177, 23);
    savePictures->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(190, 432, 75, 23);
    ok->setDefault(true);

    // Only the user's choice of a mode applies it at once; the settings file setting the
    // lists does not.
    for (QComboBox* list : {humidityMode_, temperatureMode_})
        connect(list, &QComboBox::activated, this, [this] { emit axisSettingsChosen(axisSettings()); });
    connect(savePictures, &QPushButton::clicked, this, &GraphSetupDialog::picturesRequested);
    connect(ok, &QPushButton::clicked, this, [this] {
        // The dialog closes even when the axes refuse the limits; the refusal is then shown.
        struct Close {
            GraphSetupDialog* dialog;
            ~Close() { dialog->accept(); }
        } close{this};
        emit setupChosen(setup());
    });
}

GraphAxisSettings GraphSetupDialog::axisSettings() const
{
    GraphAxisSettings settings;
    settings.humidityMode = humidityMode_->currentIndex();
    settings.temperatureMode = temperatureMode_->currentIndex();
    settings.humidityMinimum = humidityMinimum_->text();
    settings.humidityMaximum = humidityMaximum_->text();
    settings.temperatureMinimum = temperatureMinimum_->text();
    settings.temperatureMaximum = temperatureMaximum_->text();
    return settings;
}

void GraphSetupDialog::setAxisSettings(const GraphAxisSettings& settings)
{
    // Nothing is applied and no list says it changed.
    const QSignalBlocker blockHumidity(humidityMode_);
    const QSignalBlocker blockTemperature(temperatureMode_);
    const auto choose = [](QComboBox* list, int mode) {
        list->setCurrentIndex(mode >= 0 && mode < list->count() ? mode : -1);
    };
    choose(humidityMode_, settings.humidityMode);
    choose(temperatureMode_, settings.temperatureMode);
    humidityMinimum_->setText(settings.humidityMinimum);
    humidityMaximum_->setText(settings.humidityMaximum);
    temperatureMinimum_->setText(settings.temperatureMinimum);
    temperatureMaximum_->setText(settings.temperatureMaximum);
}

GraphSetup GraphSetupDialog::setup() const
{
    GraphSetup setup;
    setup.start = PickersDayCount(startDate_, startTime_, false);
    setup.end = PickersDayCount(endDate_, endTime_, false);
    setup.dividers = dividers_->isChecked();
    setup.parts = parts_->text().toInt();
    setup.axes = axisSettings();
    return setup;
}

void GraphSetupDialog::showSpan(double start, double end)
{
    SetPickers(startDate_, startTime_, start);
    SetPickers(endDate_, endTime_, end);
}

void GraphSetupDialog::enableManualLimits(GraphChart chart, bool enabled)
{
    MaskEdit* minimum = chart == GraphChart::Humidity ? humidityMinimum_ : temperatureMinimum_;
    MaskEdit* maximum = chart == GraphChart::Humidity ? humidityMaximum_ : temperatureMaximum_;
    minimum->setEnabled(enabled);
    maximum->setEnabled(enabled);
}
