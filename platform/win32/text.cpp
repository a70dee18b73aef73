// GBK conversion on Windows with the system's code page 936 tables
// (MultiByteToWideChar / WideCharToMultiByte). Invalid input is replaced,
// never rejected, so text from a damaged file or a controller still shows;
// the replacements are the same as on POSIX ('?' towards GBK, U+FFFD towards
// UTF-16 and UTF-8). utf8ToGbkExact refuses instead of replacing.
#include <windows.h>

#include "platform/text.h"

namespace orlo {

namespace {

constexpr UINT kGbk = 936;
constexpr wchar_t kReplacement = 0xFFFD;

// Appends the UTF-16 form of n bytes of code page cp, or returns false when
// they are not valid in it.
bool appendStrict(UINT cp, const char* bytes, int n, std::wstring& out)
{
    if (n == 0)
        return true;
    int w = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes, n, nullptr, 0);
    if (w <= 0)
        return false;
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(w));
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, bytes, n, &out[at], w);
    return true;
}

// GBK to UTF-16. Without MB_ERR_INVALID_CHARS the system's choice of
// replacement for a bad sequence differs between Windows versions and Wine,
// so a string that fails as a whole is converted one character at a time:
// a lead byte (0x81..0xFE) takes the next byte with it, and a character that
// still fails becomes one U+FFFD for its first byte.
std::wstring wideFromGbk(const std::string& gbk)
{
    std::wstring out;
    if (appendStrict(kGbk, gbk.data(), static_cast<int>(gbk.size()), out))
        return out;
    out.clear();
    std::size_t i = 0;
    while (i < gbk.size()) {
        unsigned char b = static_cast<unsigned char>(gbk[i]);
        std::size_t n = (b >= 0x81 && b <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
        if (appendStrict(kGbk, gbk.data() + i, static_cast<int>(n), out)) {
            i += n;
        } else {
            out += kReplacement;
            i += 1;
        }
    }
    return out;
}

// UTF-16 to code page cp. Characters without a form there become '?'
// (code page 936 takes a default character; UTF-8 does not, but every UTF-16
// string except one with a lone surrogate converts, and those become U+FFFD).
std::string bytesFromWide(UINT cp, const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const char* defaultChar = cp == CP_UTF8 ? nullptr : "?";
    int n = WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                defaultChar, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n,
                        defaultChar, nullptr);
    return out;
}

std::u16string toU16(const std::wstring& w)
{
    return std::u16string(w.begin(), w.end());
}

std::wstring fromU16(const std::u16string& s)
{
    return std::wstring(s.begin(), s.end());
}

}  // namespace

std::u16string gbkToUtf16(const std::string& gbk)
{
    return toU16(wideFromGbk(gbk));
}

std::string utf16ToGbk(const std::u16string& utf16)
{
    return bytesFromWide(kGbk, fromU16(utf16));
}

std::string gbkToUtf8(const std::string& gbk)
{
    return bytesFromWide(CP_UTF8, wideFromGbk(gbk));
}

bool utf8ToGbkExact(const std::string& utf8, std::string& gbk, std::size_t& badAt)
{
    // One character at a time, so that the first refused one is known; the
    // UTF-8 is checked here rather than by the system, whose rules for
    // invalid input have changed between Windows versions.
    gbk.clear();
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t n = utf8SequenceLength(utf8, i);
        if (n == 0) {
            badAt = i;
            return false;
        }
        wchar_t wide[2];
        const int w = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data() + i,
                                          static_cast<int>(n), wide, 2);
        char out[4];
        BOOL usedDefault = FALSE;
        const int m = w > 0 ? WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide, w, out,
                                                  sizeof out, "?", &usedDefault)
                            : 0;
        if (m <= 0 || usedDefault) {
            badAt = i;
            return false;
        }
        gbk.append(out, static_cast<std::size_t>(m));
        i += n;
    }
    return true;
}

std::string utf8ToGbk(const std::string& utf8)
{
    // Invalid UTF-8 becomes U+FFFD here (the system's rule since Vista),
    // which has no GBK form and so ends as '?'.
    std::wstring wide;
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n > 0) {
        wide.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    }
    return bytesFromWide(kGbk, wide);
}

std::string pathToText(const std::string& path)
{
    return utf8ToGbk(path);
}

}  // namespace orlo
