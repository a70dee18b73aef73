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
        int hi = hexDigit(text[i]);
        if (hi < 0)
            return false;
        int v = hi;
        if (i + 1 < text.size() && hexDigit(text[i + 1]) >= 0) {
            v = hi * 16 + hexDigit(text[i + 1]);
            i += 2;
        } else {
            i += 1;
        }
        bytes += static_cast<char>(v);
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
