// Full-width punctuation normalisation (see fullwidth.h).
#include "expr/fullwidth.h"

namespace orlo {

namespace {

struct FullWidthPair {
    char fullWidth[3];  // one double-byte GBK character (does not compile otherwise)
    char ascii;
};

const FullWidthPair kFullWidth[] = {
    {"，", ','}, {"【", '['}, {"】", ']'}, {"（", '('}, {"）", ')'}, {"×", '*'},
    {"》", '>'}, {"《", '<'}, {"『", '{'}, {"』", '}'}, {"；", ';'},
};

}  // namespace

std::size_t gbkCharLength(const std::string& text, std::size_t i)
{
    const unsigned lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead > 0xFE || i + 1 >= text.size())
        return 1;
    const unsigned trail = static_cast<unsigned char>(text[i + 1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

std::string normaliseFullWidth(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    std::size_t backslashes = 0;  // run of backslash characters just before i
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = gbkCharLength(text, i);
        if (n == 2) {
            char replaced = 0;
            if (!inString) {
                for (const FullWidthPair& p : kFullWidth) {
                    if (text[i] == p.fullWidth[0] && text[i + 1] == p.fullWidth[1]) {
                        replaced = p.ascii;
                        break;
                    }
                }
            }
            if (replaced)
                out += replaced;
            else
                out.append(text, i, 2);
            backslashes = 0;
        } else {
            const char c = text[i];
            if (c == '"' && backslashes % 2 == 0)
                inString = !inString;
            backslashes = c == '\\' ? backslashes + 1 : 0;
            out += c;
        }
        i += n;
    }
    return out;
}

}  // namespace orlo
