// The hex byte list check (see hex_check.h).
#include "catalogue/hex_check.h"

#include "platform/shell.h"

namespace orlo {

namespace {

bool isHexOrBlank(char c)
{
    return c == ' ' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::string hexTextMessage(const std::string& text, bool& valid)
{
    valid = false;
    if (text.empty())
        return {};
    for (char c : text)
        if (!isHexOrBlank(c))
            return "字符范围0-9或A-F不能有特殊字符";
    // Groups are measured left to right; a long group followed by a blank and
    // a long last group are told apart so the user knows a blank is missing.
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        if (i - start > 2)
            return i < text.size() ? "格式为：11 22 33 … AA BB CC … FF"
                                   : "格式为：11 22 33 … AA BB CC … FF, 中间要有空格";
    }
    valid = true;
    return {};
}

bool checkHexText(const std::string& text)
{
    bool valid = false;
    std::string message = hexTextMessage(text, valid);
    if (!message.empty())
        shell().messageBox(message, "警告：", Buttons::Ok, Icon::Warning);
    return valid;
}

}  // namespace orlo
