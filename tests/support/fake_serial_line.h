// A serial line for window tests that only records what the window did with it.
#pragma once

#include "device/serial_line.h"

#include <QStringList>

#include <memory>

class RecordingSerialLine : public SerialLine {
public:
    // Kept by the test too, so the calls can be read after the window that owns the line is gone.
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    QStringList& calls = *log;

    QString DeviceName() const override { return name_; }
    void SetDeviceName(const QString& name) override { calls << "SetDeviceName " + name; name_ = name; }
    bool Active() const override { return active_; }
    void Open() override { calls << "Open"; active_ = true; }
    void Close() override { calls << "Close"; active_ = false; }
    void Read(uint8_t*, int, bool) override { calls << "Read"; }
    void Write(const uint8_t*, int, bool) override { calls << "Write"; }
    void PurgeInput() override {}
    void PurgeOutput() override {}
    void SetDTR() override { calls << "SetDTR"; }
    void ClearDTR() override { calls << "ClearDTR"; }
    void SetRTS() override { calls << "SetRTS"; }
    void ClearRTS() override { calls << "ClearRTS"; }

private:
    QString name_ = QStringLiteral("COM1");
    bool active_ = false;
};
