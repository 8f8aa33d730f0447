// The virtual meter's behaviour, apart from its pseudo-terminal: finds request frames in any
// byte stream (noise, the 0xAA filler between sessions) and makes the replies, with faults.
#pragma once

#include "device/frames.h"

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

struct MeterConfig {
    uint16_t serialNumber = 0x00A3;
    uint16_t humidity = 4570;      // hundredths of a percent
    int16_t temperature = 2150;    // hundredths of a degree Celsius
    bool drift = false;            // values wander within the bounds below at every read
    int humidityMin = 2000, humidityMax = 8000;
    int temperatureMin = -1000, temperatureMax = 3500;
    uint8_t address = MeterAddress;  // the address the meter answers to
    // Faults
    bool silent = false;
    bool swapCrc = false;               // CRC bytes sent high byte first
    std::optional<uint8_t> replyAddress;  // answers carry another address
    long stopAfter = -1;                // stop answering after this many replies (-1: never)
    int delayMs = 0;                    // pause before each reply
    unsigned seed = 1;
};

class MeterModel {
public:
    explicit MeterModel(MeterConfig config);

    // Feeds one received byte; gives the reply when the byte completes a request for us.
    std::optional<Frame> feed(uint8_t byte);

    long replies() const { return replies_; }
    long requests() const { return requests_; }
    uint16_t registerValue(uint16_t reg);  // drifts when asked to
    const MeterConfig& config() const { return config_; }

private:
    Frame reply(uint16_t reg);

    MeterConfig config_;
    std::vector<uint8_t> window_;
    long replies_ = 0;
    long requests_ = 0;
    std::mt19937 random_;
};
