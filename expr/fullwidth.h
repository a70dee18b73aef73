// Full-width punctuation that users type from a Chinese input method, mapped
// to the ASCII the expression language expects. Applied outside double-quoted
// strings, stepping over double-byte characters.
#pragma once

#include <cstddef>
#include <string>

namespace orlo {

// Replaces "，【】（）×》《『』；" by ",[]()*><{};". A double quote that is not
// preceded by an odd number of backslashes opens or closes a string; nothing
// inside a string is replaced. Double-byte characters are stepped over whole,
// so the second byte of one character and the first of the next are never
// read as a pair.
std::string normaliseFullWidth(const std::string& text);

// The length in bytes (1 or 2) of the GBK character that starts at byte i:
// 2 for a lead byte 0x81..0xFE followed by a trail byte 0x40..0xFE other than
// 0x7F, else 1. Requires i < text.size().
std::size_t gbkCharLength(const std::string& text, std::size_t i);

}  // namespace orlo
