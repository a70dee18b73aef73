// GBK conversion on POSIX systems through iconv (glibc knows code page 936
// as "GBK"). Invalid input is replaced, never rejected: text from a damaged
// file or a controller must still show. utf8ToGbkExact, for text that is to
// be stored, refuses instead.
#include "platform/text.h"

#include <cerrno>
#include <iconv.h>

namespace orlo {

namespace {

// Converts with iconv; on an unconvertible sequence writes replacement
// (in the target encoding) and skips skipBytes of input.
std::string convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement, std::size_t skipBytes)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return in;
    std::string out;
    char buf[1024];
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<std::size_t>(outPtr - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end).
            out += replacement;
            std::size_t skip = skipBytes < inLeft ? skipBytes : inLeft;
            inPtr += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

std::string u16ToBytes(const std::u16string& s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::u16string bytesToU16(const std::string& b)
{
    std::u16string out;
    out.reserve(b.size() / 2);
    for (std::size_t i = 0; i + 1 < b.size(); i += 2)
        out += static_cast<char16_t>(static_cast<unsigned char>(b[i]) |
                                     (static_cast<unsigned char>(b[i + 1]) << 8));
    return out;
}

}  // namespace

std::string gbkToUtf8(const std::string& gbk)
{
    return convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", 1);
}

std::string utf8ToGbk(const std::string& utf8)
{
    return convert("GBK", "UTF-8", utf8, "?", 1);
}

std::u16string gbkToUtf16(const std::string& gbk)
{
    return bytesToU16(convert("UTF-16LE", "GBK", gbk, std::string("\xFD\xFF", 2), 1));
}

std::string utf16ToGbk(const std::u16string& utf16)
{
    return convert("GBK", "UTF-16LE", u16ToBytes(utf16), "?", 2);
}

bool utf8ToGbkExact(const std::string& utf8, std::string& gbk, std::size_t& badAt)
{
    gbk.clear();
    badAt = 0;
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char buf[1024];
    char* inPtr = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        gbk.append(buf, static_cast<std::size_t>(outPtr - buf));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // iconv stops at the start of the sequence it cannot take.
            badAt = static_cast<std::size_t>(inPtr - utf8.data());
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    return ok;
}

std::string pathToText(const std::string& path)
{
    // Names on Linux are UTF-8 by convention; other bytes show as '?'.
    return utf8ToGbk(path);
}

}  // namespace orlo
