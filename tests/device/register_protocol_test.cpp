// The register protocol on a scripted line with virtual time: attempts, checks, purges.
#include "device/com_error.h"
#include "device/register_protocol.h"
#include "support/meter_line.h"
#include "support/test_fatal_exit.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

namespace {

struct Rig {
    explicit Rig(MeterConfig config = {}) : line(&clock, config), protocol(line, clock, fatal) { line.Open(); }
    VirtualClock clock;
    MeterLine line;
    TestFatalExit fatal;
    RegisterProtocol protocol;
};

std::vector<uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> v;
    for (int b : list)
        v.push_back(static_cast<uint8_t>(b));
    return v;
}

}  // namespace

TEST(RegisterProtocol, ReadsTheThreeRegistersOfAnAnsweringMeter)
{
    Rig rig(MeterConfig{.serialNumber = 0x00A3, .humidity = 0xFFFF, .temperature = -525});
    ASSERT_TRUE(rig.protocol.ProbeDevice(MeterAddress, false));
    EXPECT_EQ(rig.protocol.attempts(), 1);
    EXPECT_EQ(rig.protocol.ReadRegister(MeterAddress, RegSerialNumber, false), 0x00A3);
    EXPECT_EQ(rig.protocol.ReadRegister(MeterAddress, RegHumidity, false), 65535);
    EXPECT_EQ(static_cast<int16_t>(rig.protocol.ReadRegister(MeterAddress, RegTemperature, false)), -525);
    // A successful attempt costs the two 2 ms pauses and nothing else.
    EXPECT_EQ(rig.clock.elapsed(), 4 * 4);
}

TEST(RegisterProtocol, OneAttemptInEachTransferMode)
{
    for (const bool usb : {false, true}) {
        Rig rig;
        ASSERT_TRUE(rig.protocol.ProbeDevice(MeterAddress, usb));
        // An exchange starts on an empty input: what came before answers none of its requests.
        const QStringList expected = usb ? QStringList{"PurgeInput", "Write 6", "Read 6"}
                                         : QStringList{"PurgeInput", "Write 5", "PurgeInput", "Write 1", "Read 6"};
        EXPECT_EQ(rig.line.log().mid(1), expected) << "usb " << usb;
        rig.line.clearLog();
        ASSERT_EQ(rig.protocol.ReadRegister(MeterAddress, RegSerialNumber, usb), 0x00A3);
        EXPECT_EQ(rig.line.log(), usb ? QStringList({"Write 6", "Read 6"}) : QStringList({"Write 5", "PurgeInput", "Write 1", "Read 6"}))
            << "within the exchange nothing is discarded before a request in USB mode";
        EXPECT_EQ(rig.clock.sleeps(), (std::vector<int>{2, 2, 2, 2}));
    }
}

TEST(RegisterProtocol, ProbeOfASilentLineGivesUpAfterTenAttempts)
{
    Rig rig(MeterConfig{.silent = true});
    EXPECT_FALSE(rig.protocol.ProbeDevice(MeterAddress, true));
    EXPECT_EQ(rig.line.count("Write 6"), 10);
    EXPECT_EQ(rig.line.count("PurgeOutput"), 10);
    // 2 + 500 (time-out) + 2 + 100 ms each: about six seconds.
    EXPECT_EQ(rig.clock.elapsed(), 10 * 604);
    EXPECT_EQ(rig.protocol.reply(), Frame{}) << "a failed transfer zeroes the reply";
}

TEST(RegisterProtocol, ProbeOnAClosedPortFailsEveryWriteAtOnce)
{
    Rig rig;
    rig.line.Close();
    EXPECT_FALSE(rig.protocol.ProbeDevice(MeterAddress, false));
    EXPECT_EQ(rig.protocol.attempts(), 10);
    EXPECT_EQ(rig.clock.elapsed(), 10 * 104);  // about one second, no read time-outs
}

TEST(RegisterProtocol, ReadRegisterEndsTheProgramAfterFiftyAttempts)
{
    Rig rig(MeterConfig{.stopAfter = 1});
    ASSERT_TRUE(rig.protocol.ProbeDevice(MeterAddress, false));
    EXPECT_THROW(rig.protocol.ReadRegister(MeterAddress, RegSerialNumber, false), FatalExitCalled);
    EXPECT_EQ(rig.fatal.calls, 1);
    EXPECT_EQ(rig.line.count("Write 1"), 1 + 50);
    EXPECT_EQ(rig.clock.elapsed(), 4 + 50 * 604);  // about thirty seconds
}

TEST(RegisterProtocol, ReplyFromAnotherAddressPassesTheProbeOnly)
{
    Rig rig(MeterConfig{.replyAddress = 2});
    EXPECT_TRUE(rig.protocol.ProbeDevice(MeterAddress, false));
    EXPECT_THROW(rig.protocol.ReadRegister(MeterAddress, RegHumidity, false), FatalExitCalled);
    EXPECT_EQ(rig.line.meter().replies(), 1 + 50) << "every attempt got a reply, every one was refused";
}

TEST(RegisterProtocol, SwappedCrcBytesFailEveryAttempt)
{
    Rig rig(MeterConfig{.swapCrc = true});
    EXPECT_FALSE(rig.protocol.ProbeDevice(MeterAddress, true));
    EXPECT_EQ(rig.line.meter().replies(), 10);
}

TEST(RegisterProtocol, StaleBytesArePurgedBeforeTheLastByteOnlyInNonUsbMode)
{
    // Stray bytes arrive while the request goes out, ahead of the meter's answer.
    for (const bool usb : {false, true}) {
        VirtualClock clock;
        ScriptedLine line(&clock);
        TestFatalExit fatal;
        RegisterProtocol protocol(line, clock, fatal);
        line.Open();
        const Frame answer = makeFrame(1, ReadFunction, 1234);
        line.setResponder([&](const std::vector<uint8_t>& w) {
            std::vector<uint8_t> back;
            if (w.size() != 1)
                back = bytes({0x55, 0x66});
            if (w.size() != 5)
                back.insert(back.end(), answer.begin(), answer.end());
            return back;
        });
        if (usb) {
            // Nothing is discarded before the reply is read: the stray bytes spoil every attempt.
            EXPECT_THROW(protocol.ReadRegister(MeterAddress, RegHumidity, usb), FatalExitCalled);
        } else {
            EXPECT_EQ(protocol.ReadRegister(MeterAddress, RegHumidity, usb), 1234);
            EXPECT_EQ(protocol.attempts(), 1);
        }
    }
}

TEST(RegisterProtocol, UsbModeReadsWhateverArrivedBeforeTheRequestWithinAnExchange)
{
    VirtualClock clock;
    MeterLine line(&clock);
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    line.Open();
    line.receive(bytes({0xAA, 0xAA}));  // left over from before the exchange
    EXPECT_TRUE(protocol.ProbeDevice(MeterAddress, true));
    EXPECT_EQ(protocol.attempts(), 1) << "an exchange starts on an empty input";
    line.receive(bytes({0xAA, 0xAA}));  // noise within the exchange
    EXPECT_EQ(protocol.ReadRegister(MeterAddress, RegSerialNumber, true), 0x00A3);
    EXPECT_EQ(protocol.attempts(), 2) << "USB mode purges only after a failed attempt";

    line.receive(bytes({0xAA, 0xAA}));
    EXPECT_EQ(protocol.ReadRegister(MeterAddress, RegHumidity, false), 4570);
    EXPECT_EQ(protocol.attempts(), 1) << "non-USB mode purges before the last request byte";
}

TEST(RegisterProtocol, ShortReplyIsATimeoutAndZeroesTheReply)
{
    VirtualClock clock;
    ScriptedLine line(&clock);
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    line.Open();
    const Frame good = makeFrame(1, ReadFunction, 4570);
    int calls = 0;
    line.setResponder([&](const std::vector<uint8_t>& w) {
        if (w.size() != 6)
            return std::vector<uint8_t>{};
        ++calls;
        // first a reply cut short, then the whole one
        return calls == 1 ? std::vector<uint8_t>(good.begin(), good.begin() + 4)
                          : std::vector<uint8_t>(good.begin(), good.end());
    });
    EXPECT_TRUE(protocol.ProbeDevice(MeterAddress, true));
    EXPECT_EQ(protocol.attempts(), 2);
    EXPECT_EQ(protocol.reply(), good);
}

TEST(RegisterProtocol, ReplyBufferSurvivesFromOneCallToTheNext)
{
    Rig rig(MeterConfig{.humidity = 4321});
    ASSERT_TRUE(rig.protocol.ProbeDevice(MeterAddress, false));
    const Frame kept = rig.protocol.reply();
    rig.line.Close();  // a following failure zeroes it, nothing else does
    EXPECT_EQ(rig.protocol.reply(), kept);
    EXPECT_FALSE(rig.protocol.ProbeDevice(MeterAddress, false));
    EXPECT_EQ(rig.protocol.reply(), Frame{});
}

TEST(RegisterProtocol, SurvivesNoiseBurstsOnTheLine)
{
    // Random bytes arrive with every request; the protocol never throws and the meter
    // is read once the noise stops.
    Rig rig;
    std::mt19937 random(7);
    int noisy = 20;
    rig.line.setResponder([&](const std::vector<uint8_t>& w) {
        std::vector<uint8_t> back;
        for (uint8_t b : w)
            if (auto reply = rig.line.meter().feed(b))
                back.insert(back.end(), reply->begin(), reply->end());
        if (noisy-- > 0) {
            std::vector<uint8_t> noise(random() % 9);
            for (auto& n : noise)
                n = static_cast<uint8_t>(random());
            back.insert(back.begin(), noise.begin(), noise.end());
        }
        return back;
    });
    EXPECT_NO_THROW(rig.protocol.ProbeDevice(MeterAddress, true));
    EXPECT_EQ(rig.protocol.ReadRegister(MeterAddress, RegSerialNumber, true), 0x00A3);
}

TEST(RegisterProtocol, OwedRepliesAreAwaitedBeforeAnotherRegisterOnly)
{
    // The first probe attempt goes unanswered; its reply may still come. Retries of the same
    // register go at once; a request for another register waits for every reply still owed.
    struct Case {
        bool lateReplyComes;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.lateReplyComes);
        VirtualClock clock;
        MeterLine line(&clock);
        TestFatalExit fatal;
        RegisterProtocol protocol(line, clock, fatal);
        line.Open();
        int writes = 0;
        line.setResponder([&](const std::vector<uint8_t>& w) {
            std::vector<uint8_t> back;
            for (uint8_t b : w)
                if (auto reply = line.meter().feed(b))
                    back.insert(back.end(), reply->begin(), reply->end());
            if (++writes == 1)
                return std::vector<uint8_t>();  // the first reply does not come in time
            if (writes == 2 && c.lateReplyComes)
                back.insert(back.end(), back.begin(), back.end());  // it comes after the second
            return back;
        });
        ASSERT_TRUE(protocol.ProbeDevice(MeterAddress, true));
        EXPECT_EQ(protocol.attempts(), 2);
        EXPECT_EQ(line.count("AwaitReceived"), 0) << "a retry of the same register may take the late reply";
        if (c.lateReplyComes) {
            EXPECT_EQ(protocol.ReadRegister(MeterAddress, RegSerialNumber, true), 0x00A3);
            EXPECT_EQ(line.count("AwaitReceived"), 1);
        } else {
            // Nothing proves the replies in step: the exchange is refused, the reply written off.
            EXPECT_THROW(protocol.ReadRegister(MeterAddress, RegSerialNumber, true), RepliesOutOfStep);
            EXPECT_GE(clock.elapsed(), RegisterProtocol::LateReplyQuietMs);
        }
        EXPECT_EQ(protocol.owedBytes(), 0);
        EXPECT_EQ(protocol.ReadRegister(MeterAddress, RegHumidity, true), 4570);
        EXPECT_EQ(line.count("AwaitReceived"), 1) << "once even, the line is in step";
    }
}
