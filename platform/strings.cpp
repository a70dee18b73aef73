// Portable string helpers (see strings.h).
#include "platform/strings.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace orlo {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trim(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

std::string hexText(const std::uint8_t* bytes, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        if (i)
            out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string hexText(const std::string& bytes)
{
    return hexText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}


int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseHexText(const std::string& text, std::string& bytes)
{
    bytes.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (isBlank(text[i]) || text[i] == ',') {
            ++i;
            continue;
        }
        std::size_t run = i;
        while (run < text.size() && hexDigit(text[run]) >= 0)
            ++run;
        // "01020" could be 01 02 00 or 01 02 20: a run of digits is read two
        // at a time and must have an even length; a lone digit is one byte.
        if (run == i || (run - i > 1 && (run - i) % 2 != 0))
            return false;
        if (run - i == 1)
            bytes += static_cast<char>(hexDigit(text[i]));
        for (std::size_t k = i; run - i > 1 && k < run; k += 2)
            bytes += static_cast<char>(hexDigit(text[k]) * 16 + hexDigit(text[k + 1]));
        i = run;
    }
    return true;
}

std::string format(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), fmt, ap2);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(ap2);
    return out;
}

}  // namespace orlo
