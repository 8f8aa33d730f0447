// SerialPort: the serial line to the meter over the operating system's serial driver
// (QSerialPort): 19200 bit/s, 8 data bits, no parity, 2 stop bits, no flow control,
// exclusive open, 500 ms total read time-out counted from the start of each read.
#pragma once

#include "device/port_names.h"
#include "device/serial_line.h"

#include <QSerialPort>

#include <functional>

class SerialPort : public SerialLine {
public:
    static constexpr int ReadTimeoutMs = 500;
    static constexpr int InputQueueSize = 4096;
    static constexpr int OutputQueueSize = 2048;

    explicit SerialPort(PortNameMap names = PortNameMap());
    // The mapping of the listed names is read afresh at every open, so a change of the
    // settings file (a meter plugged in elsewhere and mapped again) reaches a running program.
    explicit SerialPort(std::function<PortNameMap()> mappingSource);
    ~SerialPort() override;

    QString DeviceName() const override { return deviceName_; }
    void SetDeviceName(const QString& name) override;
    bool Active() const override;
    void Open() override;
    void Close() override;
    void Read(uint8_t* buf, int count, bool waitForCompletion = true) override;
    void Write(const uint8_t* buf, int count, bool waitForCompletion) override;
    void PurgeInput() override;
    void PurgeOutput() override;
    qint64 Received() const override { return received_; }
    bool AwaitReceived(qint64 total, int quietMs, int limitMs) override;
    void moveToThread(QThread* thread) override { port_.moveToThread(thread); }
    void SetDTR() override;
    void ClearDTR() override;
    void SetRTS() override;
    void ClearRTS() override;

    // The device the current name opens (after the COM-name mapping as read at the last open).
    QString devicePath() const { return names_.devicePath(deviceName_); }

private:
    void requireOpen() const;
    void waitForPendingWrite();
    // Takes what has arrived off the line (counted), without waiting.
    void takeArrived();
    [[noreturn]] void failWithPortError(int systemError = 0);
    void setLine(bool (QSerialPort::*setter)(bool), bool on);

    PortNameMap names_;
    std::function<PortNameMap()> mappingSource_;
    QString deviceName_ = QStringLiteral("COM1");
    QSerialPort port_;
    qint64 received_ = 0;
};
