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

    if (lateReplyPossible_ && reg != lateReplyRegister_) {
        // An earlier request of another register may still be answered: its value must not
        // pass for this register's.
        try {
            line_.DrainInput(LateReplyQuietMs, LateReplyLimitMs);
        } catch (const EComError&) {
        }
        lateReplyPossible_ = false;
    }

    clock_.sleep(2);
    try {
        transfer(usb);
    } catch (const EComError&) {
        reply_.fill(0);
    }
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
    lateReplyPossible_ = true;
    lateReplyRegister_ = reg;
    try {
        line_.PurgeInput();
        line_.PurgeOutput();
    } catch (const EComError&) {
    }
    clock_.sleep(100);
    return false;
}

bool RegisterProtocol::ProbeDevice(uint8_t address, bool usb)
{
    for (attempt_ = 1; attempt_ <= ProbeAttempts; ++attempt_)
        if (attempt(address, RegHumidity, usb, false))
            return true;
    attempt_ = ProbeAttempts;
    return false;
}

uint16_t RegisterProtocol::ReadRegister(uint8_t address, uint16_t reg, bool usb)
{
    for (attempt_ = 1; attempt_ <= ReadAttempts; ++attempt_)
        if (attempt(address, reg, usb, true))
            return frameWord(reply_);
    attempt_ = ReadAttempts;
    DeviceNotResponding();
}

void RegisterProtocol::DeviceNotResponding()
{
    fatal_.deviceNotResponding();
    std::abort();  // an end that returned would leave the caller without a value
}
