// Validation of hex byte lists typed by the user ("11 22 AA"), shared by
// condition and result encoding. Shows its message through the shell.
#pragma once

#include <string>

namespace orlo {

// The message for text, empty when the text is a valid hex byte list. The
// empty text is invalid without a message (the result is then "" and
// hexTextValid is false).
std::string hexTextMessage(const std::string& text, bool& hexTextValid);

// True when the text is a valid hex byte list; otherwise shows the message
// in a box captioned "警告：" with an OK button and returns false.
bool checkHexText(const std::string& text);

}  // namespace orlo
