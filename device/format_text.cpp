// printf into a string and hex text of bytes (see format_text.h).
#include "device/format_text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace orlo {

std::string formatText(const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    va_list again;
    va_copy(again, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, again);
        out.assign(buffer.data(), static_cast<std::size_t>(n));
    }
    va_end(again);
    return out;
}

std::string hexBytes(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const unsigned b = static_cast<unsigned char>(c);
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

}  // namespace orlo
