// SerialLine: the one serial line to the meter as the protocol and the handlers use it.
// SerialPort implements it over the operating system; tests use scripted lines.
// Every failing operation throws ComError.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>

class QThread;

class SerialLine {
public:
    virtual ~SerialLine() = default;

    virtual QString DeviceName() const = 0;
    // Same name again: nothing. Another name while open: "Can't perform this operation on an open port".
    virtual void SetDeviceName(const QString& name) = 0;

    virtual bool Active() const = 0;
    void SetActive(bool active) { active ? Open() : Close(); }
    // Already open: nothing.
    virtual void Open() = 0;
    // Already closed: nothing. Releases the device at once, without line operations.
    virtual void Close() = 0;

    // Reads Count bytes within 500 ms of the start of the read, else "Timeout" (the bytes
    // that did arrive are in Buf).
    virtual void Read(uint8_t* buf, int count, bool waitForCompletion = true) = 0;
    // Waits for an unfinished earlier write, then queues Count bytes; with waitForCompletion
    // it also waits until the driver has taken them.
    virtual void Write(const uint8_t* buf, int count, bool waitForCompletion) = 0;
    void WriteByte(uint8_t value) { Write(&value, 1, false); }

    // Open port: discard what was received and not read / not yet sent. Closed: nothing.
    virtual void PurgeInput() = 0;
    virtual void PurgeOutput() = 0;
    // Bytes taken off the line since it was opened: read, purged or awaited. -1 for a line that
    // cannot count them (the protocol then trusts no reading after a failed attempt).
    virtual qint64 Received() const { return -1; }
    // Takes bytes off the line, discarding them, until Received() reaches total. Gives up when
    // nothing has arrived for quietMs (at most limitMs in all); true when total was reached.
    // Closed, or a line that cannot count: false at once.
    virtual bool AwaitReceived(qint64 total, int quietMs, int limitMs)
    {
        (void)total;
        (void)quietMs;
        (void)limitMs;
        return false;
    }

    // The line is used from that thread from now on (a line over a Qt device moves it there).
    virtual void moveToThread(QThread* thread) { (void)thread; }

    virtual void SetDTR() = 0;
    virtual void ClearDTR() = 0;
    virtual void SetRTS() = 0;
    virtual void ClearRTS() = 0;
};
