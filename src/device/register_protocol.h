// The meter's register protocol: ProbeDevice (is a meter answering?), ReadRegister (one
// register, retried hard) and DeviceNotResponding (the end when a meter stops answering).
// The caller opens the port, raises the lines and waits before the first request.
#pragma once

#include "device/frames.h"

class Clock;
class FatalExit;
class SerialLine;

class RegisterProtocol {
public:
    static constexpr int ProbeAttempts = 10;
    static constexpr int ReadAttempts = 50;
    // A reply later than this after the line went quiet is taken for no reply at all.
    static constexpr int LateReplyQuietMs = 2000;
    static constexpr int LateReplyLimitMs = 10000;

    RegisterProtocol(SerialLine& line, Clock& clock, FatalExit& fatal);

    // One CRC step on the shared accumulator.
    void Crc16Update(uint8_t byte);

    // True when a reply with a correct CRC came within 10 attempts (address and function
    // code of the reply are not looked at). A reply that arrives after its attempt gave up is
    // never taken for the answer to a request for another register: before such a request the
    // line is drained until quiet for LateReplyQuietMs (a retry of the same register may take
    // it: it carries the value asked for).
    bool ProbeDevice(uint8_t address, bool usb);
    // The register's 16 bits as unsigned; after 50 failed attempts the program ends.
    uint16_t ReadRegister(uint8_t address, uint16_t reg, bool usb);
    [[noreturn]] void DeviceNotResponding();

    const Frame& request() const { return request_; }
    const Frame& reply() const { return reply_; }
    uint16_t accumulator() const { return crc_; }
    int attempts() const { return attempt_; }

private:
    bool attempt(uint8_t address, uint16_t reg, bool usb, bool checkEcho);
    void transfer(bool usb);

    SerialLine& line_;
    Clock& clock_;
    FatalExit& fatal_;
    Frame request_{};
    Frame reply_{};  // kept from one attempt to the next; zeroed only by a failed transfer
    uint16_t crc_ = 0xFFFF;
    int attempt_ = 0;
    // A request of this register went unanswered (a failed attempt): its reply may still come,
    // after the attempt gave up. The replies carry no register number, so before a request
    // for another register the line is drained until it has been quiet long enough.
    bool lateReplyPossible_ = false;
    uint16_t lateReplyRegister_ = 0;
};
