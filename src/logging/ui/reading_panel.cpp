#include "logging/ui/reading_panel.h"

#include "logging/meter_reading.h"
#include "report/number_format.h"
#include "widgets/design_label.h"
#include "widgets/on_off_switch.h"
#include "widgets/typed_length_limit.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <limits>

namespace {

// A value box of the panel: the caption around a large centred value.
QLabel* valueBox(const QString& caption, const QRect& geometry, const char* boxName, const QString& name, QWidget* panel)
{
    auto* box = new QGroupBox(caption, panel);
    box->setObjectName(QLatin1String(boxName));
    box->setGeometry(geometry);
    auto* value = new QLabel(kNoReadingText, box);
    value->setObjectName(name);
    QFont f = value->font();
    f.setPixelSize(21);
    value->setFont(f);
    value->setAlignment(Qt::AlignCenter);
    value->setGeometry(box->contentsRect());
    return value;
}

}  // namespace

ReadingPanel::ReadingPanel(const QIcon& saveIcon, QWidget* parent)
    : QGroupBox(QStringLiteral(" Отчет "), parent), meterNumber_(QStringLiteral("-----"))
{
    setObjectName(QStringLiteral("GroupBox4"));
    readButton_ = new QPushButton(QStringLiteral("Считать данные"), this);
    readButton_->setObjectName(QStringLiteral("Button3"));
    readButton_->setGeometry(12, 20, 241, 23);
    connect(readButton_, &QPushButton::clicked, this, &ReadingPanel::readRequested);
    humidityValue_ = valueBox(QStringLiteral(" RH, % "), {12, 52, 117, 53}, "GroupBox3", QStringLiteral("Label1"), this);
    temperatureValue_ = valueBox(QStringLiteral(" T, °C "), {136, 52, 117, 53}, "GroupBox5", QStringLiteral("Label2"), this);

    DesignLabel(QStringLiteral("Имя файла отчета:"), this, {12, 120}, "Label4");
    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("repNameEdit"));
    nameEdit_->setGeometry(116, 116, 105, 21);
    saveButton_ = new QToolButton(this);
    saveButton_->setObjectName(QStringLiteral("SpeedButton1"));
    saveButton_->setGeometry(230, 116, 23, 22);
    saveButton_->setIcon(saveIcon);
    saveButton_->setAutoRaise(true);
    saveButton_->setToolTip(QStringLiteral("Сохранить"));
    saveButton_->setStatusTip(QStringLiteral("Сохранить"));
    connect(saveButton_, &QToolButton::clicked, this, &ReadingPanel::saveRequested);

    automaticSwitch_ = new OnOffSwitch(QStringLiteral("Автоматическое считывание данных"), this);
    automaticSwitch_->setObjectName(QStringLiteral("Switch1"));
    automaticSwitch_->setGeometry(10, 147, 251, 24);
    automaticSwitch_->setToolTip(QStringLiteral("Вкл./Выкл. автоматическое считывание данных"));
    automaticSwitch_->setStatusTip(automaticSwitch_->toolTip());
    connect(automaticSwitch_, &OnOffSwitch::switchedOn, this, &ReadingPanel::startAutomaticReading);
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    connect(automaticSwitch_, &OnOffSwitch::switchedOff, timer_, &QTimer::stop);
    // A tick is a click: it does nothing while a reading runs.
    connect(timer_, &QTimer::timeout, readButton_, &QPushButton::click);

    DesignLabel(QStringLiteral("Номер прибора:"), this, {14, 182}, "Label7");
    meterNumberLabel_ = DesignLabel(meterNumber_, this, {106, 182});
    meterNumberLabel_->setObjectName(QStringLiteral("Label8"));
    meterNumberLabel_->setMinimumWidth(40);
    DesignLabel(QStringLiteral("Интервал считывания:"), this, {14, 212}, "Label3");
    intervalEdit_ = new QLineEdit(this);
    intervalEdit_->setObjectName(QStringLiteral("Edit5"));
    intervalEdit_->setGeometry(148, 209, 65, 21);
    // Three characters for typing; an interval from the settings file passes unchanged.
    new TypedLengthLimit(intervalEdit_, 3);
    DesignLabel(QStringLiteral("сек."), this, {228, 212}, "Label22");
}

bool ReadingPanel::readingRunning() const
{
    return !readButton_->isEnabled();
}

void ReadingPanel::setReadingRunning(bool running)
{
    readButton_->setEnabled(!running);
}

void ReadingPanel::showReading(std::int16_t humidity, std::int16_t temperature)
{
    humidityValue_->setText(DisplayValueText(humidity));
    temperatureValue_->setText(DisplayValueText(temperature));
}

void ReadingPanel::clearReading()
{
    humidityValue_->setText(kNoReadingText);
    temperatureValue_->setText(kNoReadingText);
}

QString ReadingPanel::typedName() const
{
    return nameEdit_->text();
}

void ReadingPanel::clearTypedName()
{
    nameEdit_->clear();
}

void ReadingPanel::setMeterNumber(const QString& number)
{
    meterNumber_ = number;
    meterNumberLabel_->setText(number);
}

QString ReadingPanel::intervalText() const
{
    return intervalEdit_->text();
}

void ReadingPanel::setIntervalText(const QString& text)
{
    intervalEdit_->setText(text);
}

void ReadingPanel::stopAutomaticReading()
{
    automaticSwitch_->setOn(false);
}

bool ReadingPanel::automaticReadingOn() const
{
    return automaticSwitch_->isOn();
}

int ReadingPanel::intervalMs(const QString& text)
{
    bool isNumber = false;
    qlonglong seconds = text.toLongLong(&isNumber);
    if (!isNumber || seconds < 0)
        seconds = 60;  // a negative interval counts as the default minute
    constexpr qlonglong longest = std::numeric_limits<int>::max();
    return seconds > longest / 1000 ? static_cast<int>(longest) : static_cast<int>(seconds * 1000);
}

void ReadingPanel::startAutomaticReading()
{
    readButton_->click();
    const int interval = intervalMs(intervalEdit_->text());
    // Interval 0: the timer is on but never ticks (a Qt timer of 0 would fire continuously).
    timer_->stop();
    if (interval > 0)
        timer_->start(interval);
}
