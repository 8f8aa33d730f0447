#include "meter_model.h"

#include <algorithm>

MeterModel::MeterModel(MeterConfig config) : config_(config), random_(config.seed) {}

std::optional<Frame> MeterModel::feed(uint8_t byte)
{
    window_.push_back(byte);
    if (window_.size() > 6)
        window_.erase(window_.begin());
    if (window_.size() < 6)
        return std::nullopt;
    const std::span<const uint8_t, 6> frame(window_.data(), 6);
    if (frame[0] != config_.address || frame[1] != ReadFunction || !frameCrcValid(frame))
        return std::nullopt;
    const uint16_t reg = frameWord(frame);
    window_.clear();
    ++requests_;
    if (config_.silent || (config_.stopAfter >= 0 && replies_ >= config_.stopAfter))
        return std::nullopt;
    ++replies_;
    return reply(reg);
}

uint16_t MeterModel::registerValue(uint16_t reg)
{
    auto wander = [this](int value, int step, int lo, int hi) {
        std::uniform_int_distribution<int> d(-step, step);
        return std::clamp(value + d(random_), lo, hi);
    };
    switch (reg) {
    case RegSerialNumber:
        return config_.serialNumber;
    case RegHumidity:
        if (config_.drift)
            config_.humidity = static_cast<uint16_t>(
                wander(config_.humidity, 25, config_.humidityMin, config_.humidityMax));
        return config_.humidity;
    case RegTemperature:
        if (config_.drift)
            config_.temperature = static_cast<int16_t>(
                wander(config_.temperature, 8, config_.temperatureMin, config_.temperatureMax));
        return static_cast<uint16_t>(config_.temperature);
    default:
        return 0;
    }
}

Frame MeterModel::reply(uint16_t reg)
{
    Frame f = makeFrame(config_.replyAddress.value_or(config_.address), ReadFunction, registerValue(reg));
    if (config_.swapCrc)
        std::swap(f[4], f[5]);
    return f;
}
