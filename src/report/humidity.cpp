#include "report/humidity.h"

#include <cmath>

namespace {
constexpr double kKelvinOffset = 273.16;
}

double WaterSaturationPressure(double x)
{
    return std::exp(2.4575506 * std::log(x) - 6094.4692 / x + 21.1249952 - 0.027245552 * x + 1.6853396e-5 * x * x);
}

double IceSaturationPressure(double x)
{
    return std::exp(6.1295027 * std::log(x) - 5504.4088 / x - 3.5704628 - 0.017337458 * x + 6.5204209e-6 * x * x);
}

double DewPoint(double RH, double T)
{
    // The water formula gives the actual vapour pressure at every air temperature.
    const double e = WaterSaturationPressure(T + kKelvinOffset) * RH / 100;
    double low = -60, high = 100, mid = 0;
    for (int step = 0; step < 100; ++step) {
        mid = (high - low) / 2 + low;
        const double s = mid >= 0 ? WaterSaturationPressure(mid + kKelvinOffset) : IceSaturationPressure(mid + kKelvinOffset);
        if (e >= s) {
            if (low == mid)
                break;  // the ends stay as they are: every later step gives this mid again
            low = mid;
        } else {
            if (high == mid)
                break;
            high = mid;
        }
    }
    return mid;
}

double AbsoluteHumidity(double RH, double T)
{
    const double e = WaterSaturationPressure(T + kKelvinOffset) * RH / 100;
    const double a = e * 2.176 / 288.16;
    return std::nearbyint(a * 10) / 10;  // default rounding mode: halves to even
}

double HumidityMemo::operator()(int16_t rh, int16_t t)
{
    const uint32_t key = (uint32_t(uint16_t(rh)) << 16) | uint16_t(t);
    if (key == lastKey_)
        return lastValue_;
    if (key == kEmpty)  // RH -1 and T -1 never reach a conversion (both invalid); compute plainly
        return conversion_(rh / 100.0, t / 100.0);
    if (keys_.empty() || (used_ + 1) * 2 > keys_.size())
        grow();
    const std::size_t mask = keys_.size() - 1;
    std::size_t slot = uint32_t(key * 0x9E3779B1u) >> shift_;
    while (keys_[slot] != kEmpty) {
        if (keys_[slot] == key) {
            lastKey_ = key;
            lastValue_ = values_[slot];
            return lastValue_;
        }
        slot = (slot + 1) & mask;
    }
    const double value = conversion_(rh / 100.0, t / 100.0);
    keys_[slot] = key;
    values_[slot] = value;
    ++used_;
    lastKey_ = key;
    lastValue_ = value;
    return value;
}

void HumidityMemo::grow()
{
    std::vector<uint32_t> oldKeys = std::move(keys_);
    std::vector<double> oldValues = std::move(values_);
    const std::size_t size = oldKeys.empty() ? 4096 : oldKeys.size() * 2;
    keys_.assign(size, kEmpty);
    shift_ = 32;
    for (std::size_t s = size; s > 1; s >>= 1)
        --shift_;
    values_.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < oldKeys.size(); ++i) {
        if (oldKeys[i] == kEmpty)
            continue;
        std::size_t slot = uint32_t(oldKeys[i] * 0x9E3779B1u) >> shift_;
        while (keys_[slot] != kEmpty)
            slot = (slot + 1) & mask;
        keys_[slot] = oldKeys[i];
        values_[slot] = oldValues[i];
    }
}
