// The counted data of a third parameter, read from the typed text the same
// way by the condition and the result encoders: hex byte lists and strings,
// each at most 200 bytes.
#pragma once

#include <cstddef>
#include <string>

namespace orlo {

// The longest string or byte list a line keeps.
constexpr std::size_t kMaxParam3Data = 200;

// The bytes of a hex list (the hex list rule), at most 200 of them. The text
// shown for 200 bytes is 599 characters, beyond what the rule reads in one
// piece (under 500 with its blanks), so a text of 167 to 200 groups is read
// in two pieces cut at a blank; any group over 9 characters, or a text
// longer than 200 two-digit groups, still gives no bytes.
std::string hexListData(const std::string& text);

// The first 200 bytes of the text at most, cut before a double-byte
// character that would be split.
std::string stringData(const std::string& text);

}  // namespace orlo
