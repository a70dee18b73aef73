// The check value of program images, function files and device frames:
// CRC-16/MODBUS (reflected polynomial 0xA001, initial value 0xFFFF, no final
// XOR, check value 0x4B37 for "123456789"), computed in the two-table form
// with byte registers hi and lo. hi ends up as the low byte of the CRC value;
// wherever a check is stored, hi comes first, then lo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orlo {

struct Crc16 {
    std::uint8_t hi = 0xFF;  // low byte of the CRC value, stored first
    std::uint8_t lo = 0xFF;  // high byte of the CRC value, stored second

    // The CRC-16/MODBUS value as a number.
    std::uint16_t value() const { return static_cast<std::uint16_t>(hi | (lo << 8)); }
};

Crc16 crc16(const std::uint8_t* data, std::size_t n);
Crc16 crc16(const std::string& bytes);

// The check of a function file: (hi * 256 + lo + 1) modulo 65536, stored high byte first.
std::uint16_t functionFileCheck(const Crc16& c);

}  // namespace orlo
