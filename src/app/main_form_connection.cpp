// TMainForm: choosing the port, the connection check and the detection of the meter.
#include "platform/clock.h"
#include "logging/meter_reading.h"
#include "widgets/dialogs.h"
#include "app/main_form.h"
#include "logging/ui/reading_panel.h"
#include "device/com_error.h"
#include "device/device_texts.h"
#include "device/frames.h"
#include "device/meter_session.h"
#include "device/register_protocol.h"
#include "device/serial_line.h"
#include "device/port_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

RegisterProtocol& TMainForm::Protocol()
{
    if (!protocol_)
        protocol_ = std::make_unique<RegisterProtocol>(*ComPort, clock(), FatalStop);
    return *protocol_;
}

void TMainForm::OpenSelectedPort()
{
    const QString text = ComboBoxDeviceName->currentText();
    if (text != ComPort->DeviceName()) {
        if (ComPort->Active()) {
            try {
                ComPort->ClearDTR();
                ComPort->ClearRTS();
            } catch (const EComError&) {
                // a line that will not drop must not keep the user on the old port
            }
            ComPort->Close();
        }
        ComPort->SetDeviceName(text);
    }
    if (ComPort->Active())
        return;
    if (!openWithLines(*ComPort))
        dialogs().Error(DeviceText::CannotOpenPort);
}

void TMainForm::ClosePort()
{
    try {
        ComPort->Close();
    } catch (const EComError&) {
    }
}

void TMainForm::ComboBoxDeviceNameChange()
{
    OpenSelectedPort();
}

void TMainForm::AcConnectExecute()
{
    OpenSelectedPort();
    if (!ComPort->Active())
        return;
    // However the check ends, the session is ended and the port closed, so that a meter pulled
    // out during the check does not leave a dead port open for the next one.
    bool answered = false;
    try {
        ComPort->SetDTR();
        ComPort->SetRTS();
        settleWait(clock(), [] { QCoreApplication::processEvents(); });
        answered = Protocol().ProbeDevice(MeterAddress, usb->isChecked());
        if (answered) {
            readingPanel_->setMeterNumber(
                deviceNumberText(Protocol().ReadRegister(MeterAddress, RegSerialNumber, usb->isChecked())));
            readingPanel_->clearReading();
            if (readingPanel_->isHidden()) {
                SetReportActions(true);
                readingPanel_->show();
            }
        } else {
            SetReportActions(false);
            readingPanel_->hide();
            dialogs().Message(DeviceText::NoConnection);
        }
    } catch (...) {
        endSessionAndClosePort(false);
        throw;
    }
    // After "no connection" has been said, a line that fails as well adds nothing.
    endSessionAndClosePort(answered);
}

void TMainForm::Button8Click()
{
    const int remembered = ComboBoxDeviceName->currentIndex();
    // Items selected here are the program's choice, not the user's: no change handler runs.
    auto select = [this](int index) {
        const QSignalBlocker block(ComboBoxDeviceName);
        const QSignalBlocker blockEdit(ComboBoxDeviceName->lineEdit());
        ComboBoxDeviceName->setCurrentIndex(index);
        return ComboBoxDeviceName->currentText();
    };
    if (DetectMeter(*ComPort, Protocol(), portNames(), remembered, usb->isChecked(), select)) {
        ComboBoxDeviceName->setEnabled(false);
        dialogs().Message(DeviceText::FoundOn + ComPort->DeviceName());
    } else {
        dialogs().Message(DeviceText::DetectionFailed);
    }
}
