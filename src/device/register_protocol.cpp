#include "device/register_protocol.h"

#include "platform/clock.h"
#include "device/com_error.h"
#include "device/fatal_exit.h"
#include "device/serial_line.h"

#include <cstdlib>

RegisterProtocol::RegisterProtocol(SerialLine& line, Clock& clock, FatalExit& fatal)
    : line_(line), clock_(clock), fatal_(fatal)
{
}

void RegisterProtocol::Crc16Update(uint8_t byte)
{
    crc_ = crc16Step(crc_, byte);
}

namespace {

qint64 clockMs(const Clock& clock)
{
    return clock.now().toMSecsSinceEpoch();
}

}  // namespace

void RegisterProtocol::followLine()
{
    const qint64 received = line_.Received();
    if (received < 0)
        return;
    if (received < seen_) {
        // Opened again: what was owed is carried into the new count, unless it is long lost.
        const qint64 owed = sent_ - seen_;
        sent_ = owed > 0 && clockMs(clock_) - lastActivityMs_ < LateReplyQuietMs ? owed : 0;
        seen_ = 0;
    }
    if (received > seen_)
        lastActivityMs_ = clockMs(clock_);
    seen_ = received;
    // Bytes no request asked for (noise) are not kept as credit for replies to come; replies
    // owed on a line that has been quiet for LateReplyQuietMs are lost.
    if (sent_ < seen_ || clockMs(clock_) - lastActivityMs_ >= LateReplyQuietMs)
        sent_ = seen_;
}

qint64 RegisterProtocol::owedBytes()
{
    followLine();
    return line_.Received() < 0 ? 0 : sent_ - seen_;
}

bool RegisterProtocol::inStepFor(uint16_t reg)
{
    if (!anySent_ || reg == lastRegister_)
        return true;
    if (line_.Received() < 0) {
        // A line that cannot count: after a failed attempt nothing proves the replies in step.
        const bool inStep = !failedSince_;
        failedSince_ = false;
        return inStep;
    }
    const qint64 owed = owedBytes();
    if (owed <= 0)
        return true;
    bool arrived = false;
    try {
        arrived = line_.AwaitReceived(line_.Received() + owed, LateReplyQuietMs, LateReplyLimitMs);
    } catch (const ComError&) {
    }
    followLine();
    if (arrived)
        return true;
    sent_ = seen_;  // written off: nothing more is expected
    return false;
}

void RegisterProtocol::transfer(bool usb)
{
    if (usb) {
        line_.Write(request_.data(), 6, true);
    } else {
        // Whatever came in before the last request byte (stale replies, an echo of the
        // request on a two-wire line) is dropped, so only the answer can form the reply.
        line_.Write(request_.data(), 5, true);
        line_.PurgeInput();
        line_.Write(request_.data() + 5, 1, true);
    }
    sent_ += 6;
    anySent_ = true;
    lastActivityMs_ = clockMs(clock_);
    line_.Read(reply_.data(), 6, true);
}

bool RegisterProtocol::attempt(uint8_t address, uint16_t reg, bool usb, bool checkEcho)
{
    request_ = {address, ReadFunction, static_cast<uint8_t>(reg >> 8), static_cast<uint8_t>(reg & 0xFF), 0, 0};
    crc_ = 0xFFFF;
    for (int i = 0; i < 4; ++i)
        Crc16Update(request_[i]);
    request_[4] = static_cast<uint8_t>(crc_ & 0xFF);
    request_[5] = static_cast<uint8_t>(crc_ >> 8);

    followLine();
    clock_.sleep(2);
    lastRegister_ = reg;
    try {
        transfer(usb);
    } catch (const ComError&) {
        reply_.fill(0);
    }
    // What came is counted now: the line may be closed and opened again before the next look.
    followLine();
    clock_.sleep(2);

    crc_ = 0xFFFF;
    for (int i = 0; i < 4; ++i)
        Crc16Update(reply_[i]);
    bool ok = crc_ == static_cast<uint16_t>(reply_[4] + 256 * reply_[5]);
    if (ok && checkEcho)
        ok = reply_[0] == request_[0] && reply_[1] == request_[1];
    if (ok)
        return true;

    // A late answer must not feed the next attempt; one later still may come yet.
    failedSince_ = true;
    try {
        line_.PurgeInput();
        line_.PurgeOutput();
    } catch (const ComError&) {
    }
    clock_.sleep(100);
    return false;
}

bool RegisterProtocol::ProbeDevice(uint8_t address, bool usb)
{
    // Replies owed from an earlier exchange are awaited first; when they do not come, they are
    // written off and the probe counts as unanswered.
    if (!inStepFor(RegHumidity)) {
        attempt_ = 0;
        return false;
    }
    // Bytes on the line before the first request of an exchange answer nothing of it (a reply
    // still coming for another program's request): they go, in USB mode too.
    try {
        line_.PurgeInput();
    } catch (const ComError&) {
    }
    followLine();
    for (attempt_ = 1; attempt_ <= ProbeAttempts; ++attempt_)
        if (attempt(address, RegHumidity, usb, false))
            return true;
    attempt_ = ProbeAttempts;
    return false;
}

uint16_t RegisterProtocol::ReadRegister(uint8_t address, uint16_t reg, bool usb)
{
    if (!inStepFor(reg))
        throw RepliesOutOfStep{};
    for (attempt_ = 1; attempt_ <= ReadAttempts; ++attempt_)
        if (attempt(address, reg, usb, true))
            return frameWord(reply_);
    attempt_ = ReadAttempts;
    DeviceNotResponding();
}

std::optional<uint16_t> RegisterProtocol::ReadMeterNumber(uint8_t address, bool usb)
{
    try {
        const uint16_t serial = ReadRegister(address, RegSerialNumber, usb);
        if (ReadRegister(address, RegSerialNumber, usb) == serial)
            return serial;
    } catch (const RepliesOutOfStep&) {
    }
    return std::nullopt;
}

void RegisterProtocol::DeviceNotResponding()
{
    fatal_.deviceNotResponding();
    std::abort();  // an end that returned would leave the caller without a value
}
