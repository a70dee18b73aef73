// Text conversion at the edges of the program. Inside, all text is GBK
// (code page 936) held in std::string; these convert to and from UTF-8
// (command line, JSON) and UTF-16 (Windows W functions). Bytes that cannot be
// converted become '?' (or U+FFFD towards UTF-16/UTF-8); nothing throws.
#pragma once

#include <string>

namespace orlo {

std::string gbkToUtf8(const std::string& gbk);
std::string utf8ToGbk(const std::string& utf8);
std::u16string gbkToUtf16(const std::string& gbk);
std::string utf16ToGbk(const std::u16string& utf16);

}  // namespace orlo

#include <vector>

namespace orlo {

// The program's command-line arguments as UTF-8, whatever the platform's
// own encoding of them (Windows passes UTF-16 to the process).
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace orlo
