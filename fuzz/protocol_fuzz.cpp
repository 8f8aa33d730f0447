// Fuzz target: the register protocol over a line whose other end sends arbitrary bytes: a
// probe and the three register reads, in both transmission modes, in virtual time.
#include "device/fatal_exit.h"
#include "device/frames.h"
#include "device/register_protocol.h"
#include "support/scripted_line.h"
#include "support/virtual_clock.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool usb = data[0] & 1;
    std::vector<uint8_t> stream(data + 1, data + size);
    size_t offset = 0;
    VirtualClock clock;
    ScriptedLine line(&clock);
    // Each request gets the next chunk of the input as its answer: a chunk of six bytes in
    // general, its length taken from the input's own bytes now and then.
    line.setResponder([&](const std::vector<uint8_t>&) {
        std::vector<uint8_t> back;
        if (offset >= stream.size())
            return back;
        const size_t length = std::min<size_t>(stream[offset] % 16, stream.size() - offset - 1);
        back.assign(stream.begin() + qsizetype(offset + 1), stream.begin() + qsizetype(offset + 1 + length));
        offset += 1 + length;
        return back;
    });
    line.Open();
    ThrowingFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    try {
        if (protocol.ProbeDevice(MeterAddress, usb)) {
            protocol.ReadRegister(MeterAddress, RegSerialNumber, usb);
            protocol.ReadRegister(MeterAddress, RegHumidity, usb);
            protocol.ReadRegister(MeterAddress, RegTemperature, usb);
        }
    } catch (const MeterStoppedAnswering&) {
    } catch (const RepliesOutOfStep&) {
    }
    return 0;
}
