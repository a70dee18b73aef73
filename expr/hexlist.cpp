// The hex list rule: blank-separated hex groups to bytes (see hexlist.h).
#include "expr/hexlist.h"

#include <cstdint>

#include "platform/strings.h"

namespace orlo {

namespace {

constexpr std::size_t kMaxTextBytes = 500;  // with the two added blanks
constexpr std::size_t kMaxGroupChars = 9;
constexpr std::size_t kMaxBytes = 200;


// Converts a group the way an unsigned C conversion in base 16 does (optional
// sign, optional "0x", digits up to the first non-hex byte) and keeps the low
// byte. Only the low byte matters, so the digits are accumulated modulo 256,
// which gives the same byte on every platform whatever its unsigned long is.
std::uint8_t groupLowByte(const std::string& group)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < group.size() && (group[i] == '+' || group[i] == '-')) {
        negative = group[i] == '-';
        ++i;
    }
    if (i + 2 < group.size() && group[i] == '0' && (group[i + 1] == 'x' || group[i + 1] == 'X')
        && hexDigit(group[i + 2]) >= 0)
        i += 2;
    unsigned value = 0;
    for (; i < group.size() && hexDigit(group[i]) >= 0; ++i)
        value = (value * 16 + static_cast<unsigned>(hexDigit(group[i]))) & 0xFFu;
    if (negative)
        value = (256u - value) & 0xFFu;
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::string hexListToBytes(const std::string& text)
{
    const std::string padded = " " + trim(text) + " ";
    if (padded.size() < 2 || padded.size() >= kMaxTextBytes)
        return std::string();
    std::string bytes;
    std::size_t i = 0;
    while (i < padded.size() && bytes.size() < kMaxBytes) {
        if (isBlank(padded[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < padded.size() && !isBlank(padded[end]))
            ++end;
        if (end - i > kMaxGroupChars)
            return std::string();
        bytes += static_cast<char>(groupLowByte(padded.substr(i, end - i)));
        i = end;
    }
    return bytes;
}

}  // namespace orlo
