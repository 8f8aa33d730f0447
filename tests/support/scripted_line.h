// A serial line for tests: what the program writes is recorded, a responder decides what
// comes back, and reads that come up short fail with "Timeout" after 500 ms of virtual time.
#pragma once

#include "device/serial_line.h"

#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>
#include <vector>

class VirtualClock;

class ScriptedLine : public SerialLine {
public:
    // Called with the bytes of each Write; returns the bytes the other end sends back.
    using Responder = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& written)>;

    explicit ScriptedLine(VirtualClock* clock = nullptr) : clock_(clock) {}

    void setResponder(Responder r) { responder_ = std::move(r); }
    // Bytes that arrive at once, as if already on the line.
    void receive(const std::vector<uint8_t>& bytes) { input_.insert(input_.end(), bytes.begin(), bytes.end()); }
    void setOpenFails(bool fails) { openFails_ = fails; }
    void setLinesFail(bool fail) { linesFail_ = fail; }
    // Only dropping the lines fails (the end of a session), as when the meter is pulled mid-session.
    void setLinesDownFail(bool fail) { linesDownFail_ = fail; }

    const std::vector<uint8_t>& written() const { return written_; }
    const QStringList& log() const { return log_; }
    int count(const QString& op) const { return static_cast<int>(log_.count(op)); }
    size_t pending() const { return input_.size(); }
    void clearLog() { log_.clear(); written_.clear(); }

    QString DeviceName() const override { return name_; }
    void SetDeviceName(const QString& name) override;
    bool Active() const override { return active_; }
    void Open() override;
    void Close() override;
    void Read(uint8_t* buf, int count, bool waitForCompletion = true) override;
    void Write(const uint8_t* buf, int count, bool waitForCompletion) override;
    void PurgeInput() override;
    void PurgeOutput() override;
    qint64 Received() const override { return received_; }
    // Takes what is pending; when that is not enough, lets quietMs of virtual time pass.
    bool AwaitReceived(qint64 total, int quietMs, int limitMs) override;
    void SetDTR() override { line("SetDTR"); }
    void ClearDTR() override { lineDown("ClearDTR"); }
    void SetRTS() override { line("SetRTS"); }
    void ClearRTS() override { lineDown("ClearRTS"); }

private:
    void line(const char* op);
    void lineDown(const char* op);
    void requireOpen() const;

    VirtualClock* clock_;
    Responder responder_;
    std::deque<uint8_t> input_;
    std::vector<uint8_t> written_;
    QStringList log_;
    QString name_ = QStringLiteral("COM1");
    bool active_ = false;
    bool openFails_ = false;
    qint64 received_ = 0;
    std::atomic<bool> linesFail_ = false;
    std::atomic<bool> linesDownFail_ = false;
};
