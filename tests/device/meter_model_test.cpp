// The virtual meter finds requests in any stream and answers with the faults it is given.
#include "device/frames.h"
#include "meter_model.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<Frame> feed(MeterModel& m, const std::vector<uint8_t>& stream)
{
    std::vector<Frame> replies;
    for (uint8_t b : stream)
        if (auto r = m.feed(b))
            replies.push_back(*r);
    return replies;
}

std::vector<uint8_t> request(uint16_t reg, uint8_t address = MeterAddress)
{
    const Frame f = makeFrame(address, ReadFunction, reg);
    return {f.begin(), f.end()};
}

}  // namespace

TEST(MeterModel, FindsTheRequestAfterFillerAndNoise)
{
    MeterModel m(MeterConfig{.serialNumber = 0x1234});
    std::vector<uint8_t> stream(100, 0xAA);
    std::mt19937 random(3);
    for (int i = 0; i < 500; ++i)
        stream.push_back(static_cast<uint8_t>(random()));
    const auto req = request(RegSerialNumber);
    stream.insert(stream.end(), req.begin(), req.end());
    stream.insert(stream.end(), 100, 0xAA);
    const auto more = request(RegTemperature);
    stream.insert(stream.end(), more.begin(), more.end());

    const auto replies = feed(m, stream);
    ASSERT_GE(replies.size(), 2u);
    EXPECT_EQ(replies[replies.size() - 2], makeFrame(1, ReadFunction, 0x1234));
    EXPECT_EQ(replies.back(), makeFrame(1, ReadFunction, 2150));
}

TEST(MeterModel, IgnoresRequestsForOtherAddressesAndBadCrc)
{
    MeterModel m{MeterConfig{}};
    auto bad = request(RegHumidity);
    bad[4] ^= 1;
    EXPECT_TRUE(feed(m, bad).empty());
    EXPECT_TRUE(feed(m, request(RegHumidity, 2)).empty());
    EXPECT_EQ(feed(m, request(RegHumidity)).size(), 1u);
}

TEST(MeterModel, Faults)
{
    {
        MeterModel m(MeterConfig{.silent = true});
        EXPECT_TRUE(feed(m, request(RegHumidity)).empty());
        EXPECT_EQ(m.requests(), 1);
    }
    {
        MeterModel m(MeterConfig{.swapCrc = true});
        const Frame r = feed(m, request(RegHumidity)).at(0);
        EXPECT_FALSE(frameCrcValid(r));
        EXPECT_EQ(r[4], makeFrame(1, ReadFunction, 4570)[5]);
    }
    {
        MeterModel m(MeterConfig{.replyAddress = 2});
        const Frame r = feed(m, request(RegHumidity)).at(0);
        EXPECT_EQ(r[0], 2);
        EXPECT_TRUE(frameCrcValid(r));
    }
    {
        MeterModel m(MeterConfig{.stopAfter = 2});
        for (int i = 0; i < 5; ++i)
            feed(m, request(RegHumidity));
        EXPECT_EQ(m.replies(), 2);
        EXPECT_EQ(m.requests(), 5);
    }
}

TEST(MeterModel, DriftStaysWithinItsBounds)
{
    MeterModel m(MeterConfig{.humidity = 5000, .temperature = 0, .drift = true, .humidityMin = 4900,
                             .humidityMax = 5100, .temperatureMin = -20, .temperatureMax = 20});
    bool moved = false;
    for (int i = 0; i < 2000; ++i) {
        const int h = m.registerValue(RegHumidity);
        const int t = static_cast<int16_t>(m.registerValue(RegTemperature));
        ASSERT_GE(h, 4900);
        ASSERT_LE(h, 5100);
        ASSERT_GE(t, -20);
        ASSERT_LE(t, 20);
        moved = moved || h != 5000;
    }
    EXPECT_TRUE(moved);
}
