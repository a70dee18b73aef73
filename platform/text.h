// Text conversion at the edges of the program. Inside, all text is GBK
// (code page 936) held in std::string; these convert to and from UTF-8
// (command line, JSON) and UTF-16 (Windows W functions). Bytes that cannot be
// converted become '?' (or U+FFFD towards UTF-16/UTF-8); nothing throws.
// Text that is to be stored (a user's arguments, a JSON program) goes through
// utf8ToGbkExact instead, which refuses what it cannot convert.
#pragma once

#include <string>

namespace orlo {

std::string gbkToUtf8(const std::string& gbk);
std::string utf8ToGbk(const std::string& utf8);
std::u16string gbkToUtf16(const std::string& gbk);
std::string utf16ToGbk(const std::u16string& utf16);

// UTF-8 to GBK, replacing nothing: false when the text is not valid UTF-8 or
// holds a character that GBK has not; badAt is then the byte offset in utf8
// of the first such character (the same on every platform).
bool utf8ToGbkExact(const std::string& utf8, std::string& gbk, std::size_t& badAt);

// The length (1 to 4) of the valid UTF-8 sequence that starts at byte at, or
// 0 when none starts there (overlong forms and surrogates are not valid).
std::size_t utf8SequenceLength(const std::string& utf8, std::size_t at);

// Says in UTF-8 what utf8ToGbkExact refused at byte at, naming the
// character: "the character '한' (U+D55C) has no GBK form", or "the byte
// 0xFF is not UTF-8".
std::string describeRefusedText(const std::string& utf8, std::size_t at);

// File names are not text. A path inside the program keeps the system's own
// form and is never converted on its way to the file functions: on POSIX the
// bytes as given (whatever they are), on Windows UTF-8, which the platform's
// file functions turn into UTF-16 for the W calls. Only to be shown (a
// window title, a message) is a path made GBK, with '?' for what GBK has not.
std::string pathToText(const std::string& path);

}  // namespace orlo

#include <vector>

namespace orlo {

// The program's command-line arguments as UTF-8, whatever the platform's
// own encoding of them (Windows passes UTF-16 to the process).
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace orlo
