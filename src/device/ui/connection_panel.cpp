#include "device/ui/connection_panel.h"

#include "device/com_error.h"
#include "device/device_texts.h"
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
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

ConnectionPanel::ConnectionPanel(std::unique_ptr<SerialLine> line, Clock& clock, Dialogs& dialogs, FatalExit& fatal,
                                 QWidget* parent)
    : QGroupBox(parent), line_(std::move(line)), clock_(clock), dialogs_(dialogs), fatal_(fatal)
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

ConnectionPanel::~ConnectionPanel()
{
    try {
        line_->Close();
    } catch (const std::exception&) {
        // The program is ending; a port that fails to close is released by the system.
    }
}

RegisterProtocol& ConnectionPanel::protocol()
{
    if (!protocol_)
        protocol_ = std::make_unique<RegisterProtocol>(*line_, clock_, fatal_);
    return *protocol_;
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
    const QString text = portBox_->currentText();
    if (text != line_->DeviceName()) {
        if (line_->Active()) {
            try {
                line_->ClearDTR();
                line_->ClearRTS();
            } catch (const EComError&) {
                // a line that will not drop must not keep the user on the old port
            }
            line_->Close();
        }
        line_->SetDeviceName(text);
    }
    if (line_->Active())
        return true;
    if (!openWithLines(*line_))
        dialogs_.error(DeviceText::CannotOpenPort);
    return line_->Active();
}

void ConnectionPanel::closePort()
{
    try {
        line_->Close();
    } catch (const EComError&) {
    }
}

void ConnectionPanel::endSessionAndClosePort(bool reportLineFailure)
{
    QString failure;
    try {
        endSession(*line_);
    } catch (const EComError& e) {
        failure = e.message();
    }
    closePort();
    if (!failure.isEmpty() && reportLineFailure)
        ShowStandardError(dialogs_, failure);
}

void ConnectionPanel::checkConnection()
{
    if (!openChosenPort())
        return;
    // However the check ends, the session is ended and the port closed, so that a meter pulled
    // out during the check does not leave a dead port open for the next one.
    bool answered = false;
    try {
        line_->SetDTR();
        line_->SetRTS();
        settleWait(clock_, [] { QCoreApplication::processEvents(); });
        answered = protocol().ProbeDevice(MeterAddress, usb());
        if (answered) {
            emit meterAnswered(deviceNumberText(protocol().ReadRegister(MeterAddress, RegSerialNumber, usb())));
        } else {
            emit meterSilent();
            dialogs_.message(DeviceText::NoConnection);
        }
    } catch (...) {
        endSessionAndClosePort(false);
        throw;
    }
    // After "no connection" has been said, a line that fails as well adds nothing.
    endSessionAndClosePort(answered);
}

void ConnectionPanel::detectMeter()
{
    const int remembered = portBox_->currentIndex();
    // Items selected here are the program's choice, not the user's: no change handler runs.
    auto select = [this](int index) {
        const QSignalBlocker block(portBox_);
        const QSignalBlocker blockEdit(portBox_->lineEdit());
        portBox_->setCurrentIndex(index);
        return portBox_->currentText();
    };
    if (DetectMeter(*line_, protocol(), portNames(), remembered, usb(), select)) {
        portBox_->setEnabled(false);
        dialogs_.message(DeviceText::FoundOn + line_->DeviceName());
    } else {
        dialogs_.message(DeviceText::DetectionFailed);
    }
}
