// A line to a virtual meter that answers late, in virtual time, as kelmora-meter-sim --delay
// does on its pseudo-terminal: the meter takes the requests one after the other and answers
// each `delayMs` after it took it up, so that requests sent while it waits queue up behind.
// Reads end after 500 ms of virtual time; what arrives later waits on the line.
#pragma once

#include "device/com_error.h"
#include "device/serial_line.h"
#include "meter_model.h"
#include "support/virtual_clock.h"

#include <algorithm>
#include <deque>
#include <functional>

class LaggingMeterLine : public SerialLine {
public:
    LaggingMeterLine(VirtualClock& clock, MeterConfig config, int delayMs)
        : clock_(clock), meter_(config), delay_([delayMs] { return delayMs; }) {}
    // Each reply after its own delay, as the function gives it (a meter that answers at random).
    LaggingMeterLine(VirtualClock& clock, MeterConfig config, std::function<int()> delay)
        : clock_(clock), meter_(config), delay_(std::move(delay)) {}

    QString DeviceName() const override { return QStringLiteral("COM1"); }
    void SetDeviceName(const QString&) override {}
    bool Active() const override { return active_; }
    void Open() override
    {
        active_ = true;
        received_ = 0;
    }
    void Close() override { active_ = false; }

    void Read(uint8_t* buf, int count, bool) override
    {
        requireOpen();
        const qint64 deadline = clock_.elapsed() + 500;
        int got = 0;
        while (got < count && !input_.empty() && input_.front().at <= deadline) {
            advanceTo(input_.front().at);
            buf[got++] = input_.front().byte;
            input_.pop_front();
            ++received_;
        }
        if (got < count) {
            advanceTo(deadline);
            throw ComError(ComErrorText::Timeout);
        }
    }

    void Write(const uint8_t* buf, int count, bool) override
    {
        requireOpen();
        for (int i = 0; i < count; ++i) {
            if (const auto reply = meter_.feed(buf[i])) {
                // Taken up when the meter is done with the requests before it.
                busyUntil_ = std::max(busyUntil_, clock_.elapsed()) + delay_();
                for (uint8_t b : *reply)
                    input_.push_back({busyUntil_, b});
            }
        }
    }

    void PurgeInput() override
    {
        while (!input_.empty() && input_.front().at <= clock_.elapsed()) {
            input_.pop_front();
            ++received_;
        }
    }
    qint64 Received() const override { return received_; }
    void PurgeOutput() override {}

    bool AwaitReceived(qint64 total, int quietMs, int limitMs) override
    {
        if (!active_)
            return false;
        const qint64 start = clock_.elapsed();
        qint64 last = start;
        PurgeInput();
        while (received_ < total) {
            if (input_.empty() || input_.front().at >= last + quietMs || input_.front().at >= start + limitMs) {
                advanceTo(std::min(last + quietMs, start + limitMs));
                return false;
            }
            last = input_.front().at;
            advanceTo(last);
            PurgeInput();
        }
        return true;
    }

    void SetDTR() override {}
    void ClearDTR() override {}
    void SetRTS() override {}
    void ClearRTS() override {}

    MeterModel& meter() { return meter_; }

private:
    struct Arrival {
        qint64 at;  // virtual milliseconds
        uint8_t byte;
    };

    void requireOpen() const
    {
        if (!active_)
            throw ComError(ComErrorText::ClosedPort);
    }
    void advanceTo(qint64 t)
    {
        if (t > clock_.elapsed())
            clock_.advance(t - clock_.elapsed());
    }

    VirtualClock& clock_;
    MeterModel meter_;
    std::function<int()> delay_;
    qint64 busyUntil_ = 0;
    std::deque<Arrival> input_;
    qint64 received_ = 0;
    bool active_ = false;
};
