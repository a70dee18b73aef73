// The hex list rule: "01 2 ff" -> bytes 01 02 FF (blank-separated groups,
// each taken as an unsigned hex number, low byte kept). Shared by the
// expression compiler, the operand classifier and the line encoders.
#pragma once

#include <string>

namespace orlo {

// Returns the bytes; empty when the text is too short, too long (500 bytes
// or more with its two added blanks) or has a group longer than 9 characters.
// At most 200 bytes; groups after the 200th are not read.
std::string hexListToBytes(const std::string& text);

}  // namespace orlo
