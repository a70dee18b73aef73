// Small portable helpers on GBK byte strings shared by every subsystem:
// trimming, the hex text form of bytes, and big-endian / little-endian
// number packing.
#pragma once

#include <cstdint>
#include <string>

namespace orlo {

// Blanks are the C whitespace bytes: space, tab, CR, LF, VT, FF.
bool isBlank(char c);
std::string trim(const std::string& text);

// The value of one hex digit (0-9, a-f, A-F), -1 for any other byte.
int hexDigit(char c);

// "%02X " per byte with the outer blanks trimmed: "37 4B". Empty for no bytes.
std::string hexText(const std::string& bytes);
std::string hexText(const std::uint8_t* bytes, std::size_t n);
// Parses blank-separated two-digit (or one-digit) hex groups; "374B" without
// blanks is read two digits at a time. Returns false on any other character
// and on a run of more than one digit whose length is odd ("01020").
bool parseHexText(const std::string& text, std::string& bytes);

// printf into a std::string.
std::string format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace orlo
