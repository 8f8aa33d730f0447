// CRC-16/MODBUS and the request frames the meter expects.
#include "platform/clock.h"
#include "device/frames.h"
#include "device/register_protocol.h"
#include "support/meter_line.h"
#include "support/test_fatal_exit.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Crc16, CheckValueOfTheDigitsOneToNine)
{
    const char* text = "123456789";
    EXPECT_EQ(crc16(std::span(reinterpret_cast<const uint8_t*>(text), std::strlen(text))), 0x4B37);

    // The same through the protocol's shared accumulator (0xFFFF before any attempt).
    VirtualClock clock;
    ScriptedLine line(&clock);
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    for (const char* p = text; *p; ++p)
        protocol.Crc16Update(static_cast<uint8_t>(*p));
    EXPECT_EQ(protocol.accumulator(), 0x4B37);
}

struct FrameCase {
    uint16_t reg;
    Frame expected;
};

class RequestFrame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(RequestFrame, MatchesTheMetersExample)
{
    EXPECT_EQ(makeFrame(MeterAddress, ReadFunction, GetParam().reg), GetParam().expected);

    // And the protocol sends exactly these six bytes.
    VirtualClock clock;
    MeterLine line(&clock);
    line.Open();
    TestFatalExit fatal;
    RegisterProtocol protocol(line, clock, fatal);
    protocol.ReadRegister(MeterAddress, GetParam().reg, true);
    EXPECT_EQ(std::vector<uint8_t>(line.written().begin(), line.written().begin() + 6),
              std::vector<uint8_t>(GetParam().expected.begin(), GetParam().expected.end()));
}

INSTANTIATE_TEST_SUITE_P(Registers, RequestFrame,
                         ::testing::Values(FrameCase{RegHumidity, {0x01, 0x19, 0x02, 0x00, 0xD1, 0x7F}},
                                           FrameCase{RegSerialNumber, {0x01, 0x19, 0x10, 0x02, 0x5C, 0x1E}},
                                           FrameCase{RegTemperature, {0x01, 0x19, 0x02, 0x02, 0x50, 0xBE}}));

TEST(Crc16, AllZeroReplyNeverPasses)
{
    const Frame zero{};
    EXPECT_EQ(crc16(std::span<const uint8_t>(zero.data(), 4)), 0x2400);
    EXPECT_FALSE(frameCrcValid(zero));
}
