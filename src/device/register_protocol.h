// The meter's register protocol: ProbeDevice (is a meter answering?), ReadRegister (one
// register, retried hard) and DeviceNotResponding (the end when a meter stops answering).
// The caller opens the port, raises the lines and waits before the first request.
#pragma once

#include "device/frames.h"

#include <QtGlobal>

#include <optional>

class Clock;
class FatalExit;
class SerialLine;

// The replies on the line could not be brought back in step with the requests: a reply still
// owed did not come. No value of this exchange may be trusted.
struct RepliesOutOfStep {};

class RegisterProtocol {
public:
    static constexpr int ProbeAttempts = 10;
    static constexpr int ReadAttempts = 50;
    // Replies carry no register number, so the protocol keeps a ledger: every request sent asks
    // for six bytes, every byte that comes off the line pays. Before a request for another
    // register than the last one, the replies still owed are awaited (and dropped) while bytes
    // keep coming, until nothing has come for LateReplyQuietMs (at most LateReplyLimitMs in
    // all). Owed replies whose line has been quiet for that long are taken as lost.
    static constexpr int LateReplyQuietMs = 12000;
    static constexpr int LateReplyLimitMs = 60000;

    RegisterProtocol(SerialLine& line, Clock& clock, FatalExit& fatal);

    // One CRC step on the shared accumulator.
    void Crc16Update(uint8_t byte);

    // True when a reply with a correct CRC came within 10 attempts (address and function
    // code of the reply are not looked at). Replies owed from before that never come are
    // written off here, and the probe then counts as unanswered.
    bool ProbeDevice(uint8_t address, bool usb);
    // The register's 16 bits as unsigned; after 50 failed attempts the program ends. A reply
    // that arrives after its attempt gave up is never taken for another register's value: a
    // retry of the same register may take it (it carries the value asked for), a request for
    // another register waits until every owed reply has come. When one does not come, the
    // exchange is out of step: RepliesOutOfStep.
    uint16_t ReadRegister(uint8_t address, uint16_t reg, bool usb);
    [[noreturn]] void DeviceNotResponding();

    const Frame& request() const { return request_; }
    const Frame& reply() const { return reply_; }
    uint16_t accumulator() const { return crc_; }
    int attempts() const { return attempt_; }
    // The meter's serial number, read twice: nothing when the two differ or the replies come
    // out of step (a late reply taken for the answer would give another register's value).
    std::optional<uint16_t> ReadMeterNumber(uint8_t address, bool usb);
    // Reply bytes still owed on the line (0 when none, or when the line cannot count).
    qint64 owedBytes();

private:
    bool attempt(uint8_t address, uint16_t reg, bool usb, bool checkEcho);
    void transfer(bool usb);
    // The ledger follows the line: a line opened again starts counting afresh, with what was
    // owed before carried over (a meter may still answer the last session's requests), unless
    // the line has been quiet for LateReplyQuietMs since.
    void followLine();
    // Before a request for reg: false when replies owed for another register did not come
    // (they are written off then).
    bool inStepFor(uint16_t reg);

    SerialLine& line_;
    Clock& clock_;
    FatalExit& fatal_;
    Frame request_{};
    Frame reply_{};  // kept from one attempt to the next; zeroed only by a failed transfer
    uint16_t crc_ = 0xFFFF;
    int attempt_ = 0;
    qint64 sent_ = 0;          // request bytes of whole requests sent, in the line's count
    qint64 seen_ = 0;          // the line's count when last looked at
    qint64 lastActivityMs_ = 0;  // the clock's time of the last request sent or byte seen
    bool anySent_ = false;
    uint16_t lastRegister_ = 0;  // of the last request sent
    bool failedSince_ = false;   // an attempt failed since the ledger was last even (lines that cannot count)
};
