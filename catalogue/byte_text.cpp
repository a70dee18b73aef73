// Readers of instruction bytes (see byte_text.h).
#include "catalogue/byte_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/strings.h"

namespace orlo {

std::uint32_t bigEndian32(const std::uint8_t* bytes)
{
    return (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
           (std::uint32_t(bytes[2]) << 8) | std::uint32_t(bytes[3]);
}

std::string exactDecimalText(double value)
{
    if (!std::isfinite(value))
        return format("%f", value);
    // The smallest denormal needs 1074 decimals.
    for (int decimals = 6; decimals <= 1100; ++decimals) {
        std::string text = format("%.*f", decimals, value);
        const double back = std::strtod(text.c_str(), nullptr);
        if (std::memcmp(&back, &value, sizeof value) == 0)
            return text;
    }
    return format("%f", value);
}

std::string channelMaskText(std::uint32_t mask)
{
    std::string out;
    for (unsigned i = 0; i < 32; ++i) {
        if (mask & (std::uint32_t(1) << i))
            out += format("%u ", i + 1);
    }
    return trim(out);
}

std::string hexBytesText(const std::uint8_t* bytes, std::size_t n)
{
    return hexText(bytes, n);
}

std::string bytesText(const std::uint8_t* bytes, std::size_t n)
{
    std::size_t length = 0;
    while (length < n && bytes[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(bytes), length);
}

std::size_t fitInInstruction(std::size_t offset, std::size_t count)
{
    constexpr std::size_t kSize = 256;  // bytes in an instruction
    if (offset >= kSize)
        return 0;
    return count < kSize - offset ? count : kSize - offset;
}

}  // namespace orlo
