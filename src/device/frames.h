// The meter's frames: six bytes, a 16-bit word high byte first, CRC-16/MODBUS low byte first.
#pragma once

#include <array>
#include <cstdint>
#include <span>

constexpr uint8_t MeterAddress = 1;
constexpr uint8_t ReadFunction = 0x19;
constexpr uint16_t RegSerialNumber = 0x1002;
constexpr uint16_t RegHumidity = 0x0200;
constexpr uint16_t RegTemperature = 0x0202;

using Frame = std::array<uint8_t, 6>;

// One CRC-16/MODBUS step: the byte's bits least significant first, polynomial 0xA001.
constexpr uint16_t crc16Step(uint16_t acc, uint8_t byte)
{
    for (int bit = 0; bit < 8; ++bit) {
        const bool carry = ((byte ^ acc) & 1) != 0;
        acc >>= 1;
        byte >>= 1;
        if (carry)
            acc ^= 0xA001;
    }
    return acc;
}

constexpr uint16_t crc16(std::span<const uint8_t> bytes)
{
    uint16_t acc = 0xFFFF;
    for (uint8_t b : bytes)
        acc = crc16Step(acc, b);
    return acc;
}

// A frame of address, function and word, with its CRC.
constexpr Frame makeFrame(uint8_t address, uint8_t function, uint16_t word)
{
    Frame f{address, function, static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word & 0xFF), 0, 0};
    const uint16_t crc = crc16(std::span<const uint8_t>(f.data(), 4));
    f[4] = static_cast<uint8_t>(crc & 0xFF);
    f[5] = static_cast<uint8_t>(crc >> 8);
    return f;
}

constexpr bool frameCrcValid(std::span<const uint8_t, 6> f)
{
    return crc16(f.first<4>()) == static_cast<uint16_t>(f[4] | (f[5] << 8));
}

constexpr uint16_t frameWord(std::span<const uint8_t, 6> f)
{
    return static_cast<uint16_t>(f[2] * 256 + f[3]);
}
