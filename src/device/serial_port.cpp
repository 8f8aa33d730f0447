#include "device/serial_port.h"

#include "device/com_error.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>

SerialPort::SerialPort(std::function<PortNameMap()> mappingSource) : SerialPort(PortNameMap())
{
    // Read at the first open, like at every later one.
    mappingSource_ = std::move(mappingSource);
}

SerialPort::SerialPort(PortNameMap names) : names_(std::move(names))
{
    port_.setBaudRate(QSerialPort::Baud19200);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::TwoStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
}

SerialPort::~SerialPort()
{
    Close();
}

void SerialPort::SetDeviceName(const QString& name)
{
    if (name == deviceName_)
        return;
    if (Active())
        throw ComError(ComErrorText::OpenPort);
    deviceName_ = name;
}

bool SerialPort::Active() const
{
    return port_.isOpen();
}

void SerialPort::failWithPortError(int systemError)
{
    const QString text = port_.errorString();
    const int code = systemError != 0 ? systemError : static_cast<int>(port_.error());
    port_.clearError();
    throw ComError(text, code);
}

void SerialPort::Open()
{
    if (Active())
        return;
    if (mappingSource_)
        names_ = mappingSource_();
    port_.setPortName(devicePath());
    errno = 0;
    if (!port_.open(QIODevice::ReadWrite)) {
        const int systemError = errno;
        failWithPortError(systemError);
    }
    // In this order: empty both queues, ask for the queue sizes, apply the line settings.
    // The time limits are kept by Read itself; no notifications are asked for.
    const bool ready = port_.clear(QSerialPort::AllDirections)
                       && (port_.setReadBufferSize(InputQueueSize), true)
                       && port_.setBaudRate(QSerialPort::Baud19200)
                       && port_.setDataBits(QSerialPort::Data8)
                       && port_.setParity(QSerialPort::NoParity)
                       && port_.setStopBits(QSerialPort::TwoStop)
                       && port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ready) {
        const QString text = port_.errorString();
        const int code = static_cast<int>(port_.error());
        port_.close();
        port_.clearError();
        throw ComError(text, code);
    }
    received_ = 0;
}

void SerialPort::Close()
{
    if (!Active())
        return;
    // Released at once: no wait for an unfinished write, no purge, no line operations.
    port_.close();
    port_.clearError();
}

void SerialPort::requireOpen() const
{
    if (!Active())
        throw ComError(ComErrorText::ClosedPort);
}

void SerialPort::Read(uint8_t* buf, int count, bool /*waitForCompletion*/)
{
    requireOpen();
    QElapsedTimer started;
    started.start();
    int received = 0;
    while (received < count) {
        const qint64 n = port_.read(reinterpret_cast<char*>(buf) + received, count - received);
        if (n < 0)
            failWithPortError();
        received += static_cast<int>(n);
        received_ += n;
        if (received >= count)
            break;
        const qint64 left = ReadTimeoutMs - started.elapsed();
        if (left <= 0)
            break;
        if (!port_.waitForReadyRead(static_cast<int>(left))) {
            if (port_.error() != QSerialPort::TimeoutError && port_.error() != QSerialPort::NoError)
                failWithPortError();
            port_.clearError();
        }
    }
    // Line-error flags are cleared after every read and otherwise ignored.
    port_.clearError();
    if (received < count)
        throw ComError(ComErrorText::Timeout);
}

void SerialPort::waitForPendingWrite()
{
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(-1)) {
            if (port_.error() == QSerialPort::TimeoutError || port_.error() == QSerialPort::NoError) {
                port_.clearError();
                continue;
            }
            failWithPortError();
        }
    }
}

void SerialPort::Write(const uint8_t* buf, int count, bool waitForCompletion)
{
    requireOpen();
    waitForPendingWrite();
    const qint64 queued = port_.write(reinterpret_cast<const char*>(buf), count);
    if (queued < 0)
        failWithPortError();
    if (queued < count)
        throw ComError(ComErrorText::Timeout);
    if (waitForCompletion) {
        waitForPendingWrite();
    } else {
        // Hand to the driver what it takes without blocking; the rest leaves with the next
        // write (or never, when the port is closed first).
        port_.flush();
        port_.clearError();
    }
}

void SerialPort::takeArrived()
{
    // Every byte taken is counted, so the protocol knows how many replies are still owed: what
    // the driver holds is read out (and dropped) instead of being flushed uncounted.
    do
        received_ += port_.readAll().size();
    while (port_.waitForReadyRead(0));
    port_.clearError();
}

void SerialPort::PurgeInput()
{
    if (Active())
        takeArrived();
}

bool SerialPort::AwaitReceived(qint64 total, int quietMs, int limitMs)
{
    if (!Active())
        return false;
    QElapsedTimer all, quiet;
    all.start();
    quiet.start();
    takeArrived();
    while (received_ < total) {
        const qint64 wait = std::min<qint64>(quietMs - quiet.elapsed(), limitMs - all.elapsed());
        if (wait <= 0)
            return false;
        const qint64 before = received_;
        if (port_.waitForReadyRead(static_cast<int>(wait))) {
            takeArrived();
        } else if (port_.error() != QSerialPort::TimeoutError && port_.error() != QSerialPort::NoError) {
            port_.clearError();
            return false;  // a line that fails is no line to wait on
        }
        port_.clearError();
        if (received_ > before)
            quiet.restart();
    }
    return true;
}

void SerialPort::PurgeOutput()
{
    if (Active())
        port_.clear(QSerialPort::Output);
}

void SerialPort::setLine(bool (QSerialPort::*setter)(bool), bool on)
{
    requireOpen();
    if ((port_.*setter)(on))
        return;
    // Devices without modem-control lines (pseudo-terminals, some adapters) cannot change
    // them; for the meter that is the same as success.
    if (port_.error() == QSerialPort::UnsupportedOperationError) {
        port_.clearError();
        return;
    }
    failWithPortError();
}

void SerialPort::SetDTR() { setLine(&QSerialPort::setDataTerminalReady, true); }
void SerialPort::ClearDTR() { setLine(&QSerialPort::setDataTerminalReady, false); }
void SerialPort::SetRTS() { setLine(&QSerialPort::setRequestToSend, true); }
void SerialPort::ClearRTS() { setLine(&QSerialPort::setRequestToSend, false); }
