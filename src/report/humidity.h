// Humidity conversions: saturation vapour pressures over water and ice, the dew (frost) point
// and the absolute humidity, from relative humidity (%) and temperature (degrees Celsius).
// Absolute temperatures are T + 273.16 throughout.
#pragma once

#include <cstdint>
#include <vector>

double WaterSaturationPressure(double x);  // Pa, over liquid water, x in kelvin
double IceSaturationPressure(double x);    // Pa, over ice, x in kelvin

// Dew point (frost point below 0 degrees), degrees Celsius, between -60 and 100: 100 bisection
// steps between -60 and 100, the result being the midpoint of the last step. The loop stops
// as soon as a step leaves both ends where they were: every later step would repeat it, so
// the result is the same to the last bit.
double DewPoint(double RH, double T);

// Absolute humidity in g/m3, rounded to one decimal (halves to even).
double AbsoluteHumidity(double RH, double T);

// Remembers conversions by their stored inputs (RH and T in hundredths): a report repeats the
// same pairs over and over, and a dew point costs dozens of logarithms and exponentials.
class HumidityMemo {
public:
    using Conversion = double (*)(double RH, double T);
    explicit HumidityMemo(Conversion conversion) : conversion_(conversion) {}

    // conversion(rh / 100.0, t / 100.0), computed once per distinct pair. Inline: a build
    // looks up every record, and nearly every lookup ends at its first slot.
    double operator()(int16_t rh, int16_t t)
    {
        const uint32_t key = keyOf(rh, t);
        if (keys_.empty())
            return insert(0, key, rh, t);  // grows first
        const uint32_t* keys = keys_.data();
        std::size_t i = slotOf(key);
        for (uint32_t k; (k = keys[i]) != kEmpty; i = (i + 1) & mask_)
            if (k == key)
                return values_[i];
        return insert(i, key, rh, t);
    }

    // A pair as one number; kEmpty (RH -1 with T -1) is never remembered.
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static uint32_t keyOf(int16_t rh, int16_t t) { return (uint32_t(uint16_t(rh)) << 16) | uint16_t(t); }

    // The remembered conversion of a pair, or null.
    const double* find(uint32_t key) const
    {
        if (keys_.empty())
            return nullptr;
        for (std::size_t i = slotOf(key); keys_[i] != kEmpty; i = (i + 1) & mask_)
            if (keys_[i] == key)
                return &values_[i];
        return nullptr;
    }

    // Converts pairs not remembered yet (distinct keys) all at once, spread over the
    // processor's cores when there are enough of them to pay for the threads, remembers them
    // and returns them in the keys' order: the same values, bit for bit, as one by one.
    std::vector<double> convertMany(const std::vector<uint32_t>& keys);

    std::size_t distinctPairs() const { return used_; }
    void clear();

private:
    std::size_t slotOf(uint32_t key) const { return uint32_t(key * 0x9E3779B1u) >> shift_; }
    double insert(std::size_t slot, uint32_t key, int16_t rh, int16_t t);
    void store(uint32_t key, double value);
    void grow();

    Conversion conversion_;
    // Keys and values apart: a lookup scans the compact keys and reads one value. At most a
    // quarter of the slots are used, so nearly every lookup ends at its first slot.
    std::vector<uint32_t> keys_;
    std::vector<double> values_;
    std::size_t mask_ = 0;
    int shift_ = 32;
    std::size_t used_ = 0;
    std::size_t limit_ = 0;  // used_ at which the table grows
};
