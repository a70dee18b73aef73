// Hex list and string data of a third parameter (see param3_data.h).
#include "catalogue/param3_data.h"

#include "expr/fullwidth.h"
#include "expr/hexlist.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// The longest hex text whose every group is read: 200 two-digit groups with
// a blank between them, and the blank the rule adds at each end.
constexpr std::size_t kLongestHexText = kMaxParam3Data * 3 + 1;
// The hex list rule refuses texts of this length or more (its blanks counted).
constexpr std::size_t kHexRuleLimit = 500;

}  // namespace

std::string hexListData(const std::string& text)
{
    const std::string s = trim(text);
    if (s.size() + 2 < kHexRuleLimit)
        return hexListToBytes(s);
    if (s.size() + 2 > kLongestHexText)
        return std::string();
    const std::size_t cut = s.find(' ', s.size() / 2);
    if (cut == std::string::npos)
        return std::string();
    const std::string first = hexListToBytes(s.substr(0, cut));
    const std::string second = hexListToBytes(s.substr(cut + 1));
    if (first.empty() || second.empty())
        return std::string();
    return (first + second).substr(0, kMaxParam3Data);
}

std::string stringData(const std::string& text)
{
    if (text.size() <= kMaxParam3Data)
        return text;
    std::size_t end = 0;
    while (end < kMaxParam3Data) {
        const std::size_t n = gbkCharLength(text, end);
        if (end + n > kMaxParam3Data)
            break;
        end += n;
    }
    return text.substr(0, end);
}

}  // namespace orlo
