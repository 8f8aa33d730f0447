#include "device/ui/connection_panel.h"

#include "device/com_error.h"
#include "device/device_texts.h"
#include "device/fatal_exit.h"
#include "device/frames.h"
#include "device/meter_session.h"
#include "device/port_names.h"
#include "device/register_protocol.h"
#include "device/serial_line.h"
#include "platform/clock.h"
#include "widgets/design_label.h"
#include "widgets/dialogs.h"
#include "widgets/standard_error.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

ConnectionPanel::ConnectionPanel(std::unique_ptr<SerialLine> line, Clock& clock, Dialogs& dialogs, FatalExit& fatal,
                                 QWidget* parent)
    : QGroupBox(parent), session_(new MeterSession(std::move(line), clock, this)), dialogs_(dialogs), fatal_(fatal)
{
    setObjectName(QStringLiteral("GroupBox2"));
    detectButton_ = new QPushButton(QStringLiteral("Автоопределение"), this);
    detectButton_->setObjectName(QStringLiteral("Button8"));
    detectButton_->setGeometry(16, 21, 120, 22);
    connect(detectButton_, &QPushButton::clicked, this, &ConnectionPanel::detectMeter);
    manualButton_ = new QPushButton(QStringLiteral("Вручную"), this);
    manualButton_->setObjectName(QStringLiteral("Button9"));
    manualButton_->setGeometry(136, 21, 81, 22);
    DesignLabel(QStringLiteral("COM:"), this, {224, 26}, "Label18");
    portBox_ = new QComboBox(this);
    portBox_->setObjectName(QStringLiteral("ComboBoxDeviceName"));
    portBox_->setEditable(true);
    portBox_->setInsertPolicy(QComboBox::NoInsert);
    portBox_->addItems(portNames());
    portBox_->setGeometry(265, 22, 104, 21);
    portBox_->setEditText(QStringLiteral("COM1"));
    portBox_->setEnabled(false);
    connect(manualButton_, &QPushButton::clicked, portBox_, [this] { portBox_->setEnabled(true); });
    // Only the user's changes count: choosing an entry, and every edit while typing.
    connect(portBox_, &QComboBox::activated, this, [this] { openChosenPort(); });
    // Every keystroke of a listed name tries the port at once. A device path is long and each
    // of its prefixes would fail with a box of its own: it is tried when the user presses
    // Enter or leaves the box.
    const auto isDevicePath = [](const QString& text) { return text.startsWith(QLatin1Char('/')); };
    connect(portBox_->lineEdit(), &QLineEdit::textEdited, this, [this, isDevicePath](const QString& text) {
        if (!isDevicePath(text))
            openChosenPort();
    });
    connect(portBox_->lineEdit(), &QLineEdit::editingFinished, this, [this, isDevicePath] {
        if (isDevicePath(portBox_->currentText()))
            openChosenPort();
    });
    usbBox_ = new QCheckBox(QStringLiteral("USB"), this);
    usbBox_->setObjectName(QStringLiteral("usb"));
    usbBox_->move(388, 24);
    usbBox_->adjustSize();
}

ConnectionPanel::~ConnectionPanel() = default;  // the session closes the port

SerialLine& ConnectionPanel::line() const
{
    return session_->line();
}

QString ConnectionPanel::chosenPort() const
{
    return portBox_->currentText();
}

bool ConnectionPanel::usb() const
{
    return usbBox_->isChecked();
}

void ConnectionPanel::setUsb(bool on)
{
    const QSignalBlocker block(usbBox_);
    usbBox_->setChecked(on);
}

int ConnectionPanel::listedPort() const
{
    // A port name typed by hand is no entry of the list: nothing is chosen then.
    const int index = portBox_->currentIndex();
    const bool typedByHand = index >= 0 && portBox_->currentText() != portBox_->itemText(index);
    return typedByHand ? -1 : index;
}

void ConnectionPanel::chooseListedPort(int index)
{
    const QSignalBlocker block(portBox_);
    const QSignalBlocker blockEdit(portBox_->lineEdit());
    portBox_->setCurrentIndex(index >= 0 && index < portBox_->count() ? index : -1);
}

bool ConnectionPanel::openChosenPort()
{
    const QString name = chosenPort();
    bool open = false;
    session_->call([&](SerialLine& line, RegisterProtocol&) {
        choosePort(line, name);
        open = line.Active() || openWithLines(line);
    });
    if (!open)
        dialogs_.error(DeviceText::CannotOpenPort);
    return open;
}

void ConnectionPanel::closePort()
{
    session_->call([](SerialLine& line, RegisterProtocol&) {
        try {
            line.Close();
        } catch (const ComError&) {
        }
    });
}

void ConnectionPanel::checkConnection()
{
    if (checking_ || !openChosenPort())
        return;
    checking_ = true;
    struct Result {
        SessionEnd end;
        bool answered = false;
        uint16_t serial = 0;
    };
    auto result = std::make_shared<Result>();
    const QString name = chosenPort();
    const bool inUsbMode = usb();
    Clock& clock = session_->clock();
    session_->post(
        [result, name, inUsbMode, &clock](SerialLine& line, RegisterProtocol& protocol) {
            result->end = RunSession(line, clock, name, [&] {
                result->answered = protocol.ProbeDevice(MeterAddress, inUsbMode);
                if (!result->answered)
                    return;
                // A number is shown only when it is the meter's.
                const std::optional<uint16_t> serial = protocol.ReadMeterNumber(MeterAddress, inUsbMode);
                result->answered = serial.has_value();
                result->serial = serial.value_or(0);
            });
        },
        [this, result] {
            checking_ = false;
            switch (result->end.kind) {
            case SessionEnd::Kind::StoppedAnswering:
                fatal_.deviceNotResponding();
            case SessionEnd::Kind::CannotOpen:
                emit meterSilent();
                dialogs_.error(DeviceText::CannotOpenPort);
                return;
            case SessionEnd::Kind::Done:
                break;
            }
            if (result->answered) {
                emit meterAnswered(deviceNumberText(result->serial));
            } else {
                emit meterSilent();
                dialogs_.message(DeviceText::NoConnection);
            }
        });
}

void ConnectionPanel::detectMeter()
{
    const int remembered = portBox_->currentIndex();
    const QStringList& names = portNames();
    const bool inUsbMode = usb();
    std::optional<int> found;
    // The names are the list's; the box shows the outcome once the search is over.
    session_->call([&](SerialLine& line, RegisterProtocol& protocol) {
        found = DetectMeter(line, protocol, names, remembered, inUsbMode);
    });
    {
        // Items selected here are the program's choice, not the user's: no change handler runs.
        const QSignalBlocker block(portBox_);
        const QSignalBlocker blockEdit(portBox_->lineEdit());
        portBox_->setCurrentIndex(found ? *found : remembered);
    }
    if (found) {
        portBox_->setEnabled(false);
        dialogs_.message(DeviceText::FoundOn + line().DeviceName());
    } else {
        dialogs_.message(DeviceText::DetectionFailed);
    }
}
