// A meter that answers late, in virtual time: a reply that arrives after its attempt gave up
// is never taken for the answer to a request for another register. Every delay from 300 to
// 1,500 ms in steps of 10 ms, with and without USB mode: a reading is right or there is none.
#include "device/register_protocol.h"
#include "logging/meter_reading.h"
#include "support/lagging_meter_line.h"
#include "support/test_fatal_exit.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

namespace {

const MeterConfig kMeter{.serialNumber = 0x00A3, .humidity = 4525, .temperature = 2150};

enum class Outcome { Right, Wrong, NoReading, MeterStopped };

Outcome readOnce(int delayMs, bool usb, int readings = 1)
{
    VirtualClock clock;
    LaggingMeterLine line(clock, kMeter, delayMs);
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    Outcome outcome = Outcome::Right;
    for (int i = 0; i < readings; ++i) {
        // A session as the reading cycle makes it: open, one second, the reading, close.
        line.Open();
        clock.sleep(1000);
        try {
            const auto r = ReadMeter(protocol, clock, usb);
            if (!r)
                outcome = outcome == Outcome::Right ? Outcome::NoReading : outcome;
            else if (r->serialNumber != kMeter.serialNumber || r->humidity != kMeter.humidity
                     || static_cast<int16_t>(r->temperature) != kMeter.temperature)
                return Outcome::Wrong;
        } catch (const FatalExitCalled&) {
            outcome = Outcome::MeterStopped;
        }
        line.Close();
        clock.sleep(1000);
    }
    return outcome;
}

}  // namespace

TEST(LateReplies, DelaysUpToFourHundredFiftyMillisecondsReadCorrectly)
{
    for (const bool usb : {false, true})
        for (int delay = 0; delay <= 450; delay += 10)
            EXPECT_EQ(readOnce(delay, usb, 3), Outcome::Right) << "delay " << delay << " usb " << usb;
}

TEST(LateReplies, NeverAWrongValueFromThreeHundredToFifteenHundredMilliseconds)
{
    int right = 0, none = 0, stopped = 0;
    for (const bool usb : {false, true}) {
        for (int delay = 300; delay <= 1500; delay += 10) {
            switch (readOnce(delay, usb, 2)) {
            case Outcome::Right: ++right; break;
            case Outcome::NoReading: ++none; break;
            case Outcome::MeterStopped: ++stopped; break;
            case Outcome::Wrong: ADD_FAILURE() << "wrong values at delay " << delay << " usb " << usb; break;
            }
        }
    }
    std::printf("delays 300..1500 ms, both modes: %d right, %d without a reading, %d meter stopped, 0 wrong\n",
                right, none, stopped);
}

TEST(LateReplies, ADrainComesOnlyBeforeAnotherRegisterAfterAFailedAttempt)
{
    // A meter that answers at once costs no drain at all.
    VirtualClock clock;
    LaggingMeterLine line(clock, kMeter, 5);
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    line.Open();
    ASSERT_TRUE(ReadMeter(protocol, clock, false).has_value());
    EXPECT_LT(clock.elapsed(), 100);
}
