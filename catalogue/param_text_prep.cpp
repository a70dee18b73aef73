// Preparation of typed param3 text (see param_text_prep.h).
#include "catalogue/param_text_prep.h"

#include "expr/fullwidth.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// “ and ” as GBK (A1 B0, A1 B1): quotes a Chinese input method types.
constexpr char kOpeningQuote[] = "“";
constexpr char kClosingQuote[] = "”";

bool isTypographicQuote(const std::string& text, std::size_t i)
{
    return text.compare(i, 2, kOpeningQuote) == 0 || text.compare(i, 2, kClosingQuote) == 0;
}

std::string asciiQuotes(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = gbkCharLength(text, i);
        if (n == 2 && isTypographicQuote(text, i))
            out += '"';
        else
            out.append(text, i, n);
        i += n;
    }
    return out;
}

}  // namespace

std::string prepareParam3Text(const std::string& text, bool normaliseWidth)
{
    std::string out = trim(text);
    if (out.find('"') == std::string::npos)
        out = asciiQuotes(out);
    if (normaliseWidth)
        out = normaliseFullWidth(out);
    return out;
}

}  // namespace orlo
