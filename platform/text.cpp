// The portable part of text conversion: reading UTF-8 sequences and naming
// a character that has no GBK form (see text.h).
#include "platform/text.h"

#include <cstdio>

namespace orlo {

namespace {

unsigned byteAt(const std::string& s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]);
}

}  // namespace

std::size_t utf8SequenceLength(const std::string& utf8, std::size_t at)
{
    if (at >= utf8.size())
        return 0;
    const unsigned b = byteAt(utf8, at);
    if (b < 0x80)
        return 1;
    std::size_t n;
    unsigned low = 0x80, high = 0xBF;  // range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            low = 0xA0;  // overlong
        if (b == 0xED)
            high = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            low = 0x90;
        if (b == 0xF4)
            high = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (at + n > utf8.size())
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const unsigned c = byteAt(utf8, at + i);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF))
            return 0;
    }
    return n;
}

std::string describeRefusedText(const std::string& utf8, std::size_t at)
{
    char buf[64];
    const std::size_t n = utf8SequenceLength(utf8, at);
    if (n == 0) {
        std::snprintf(buf, sizeof buf, "the byte 0x%02X is not UTF-8",
                      at < utf8.size() ? byteAt(utf8, at) : 0u);
        return buf;
    }
    unsigned code = n == 1 ? byteAt(utf8, at) : byteAt(utf8, at) & (0x7Fu >> n);
    for (std::size_t i = 1; i < n; ++i)
        code = code << 6 | (byteAt(utf8, at + i) & 0x3F);
    std::snprintf(buf, sizeof buf, "(U+%04X) has no GBK form", code);
    // Control characters are named by their number only.
    if (code < 0x20 || (code >= 0x7F && code < 0xA0))
        return std::string("the character ") + buf;
    return "the character '" + utf8.substr(at, n) + "' " + buf;
}

}  // namespace orlo
