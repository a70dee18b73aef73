// Number and duration options (see number_option.h).
#include "cli/number_option.h"

namespace orlo::cli {

bool parseDecimal(const std::string& text, unsigned long first, unsigned long last,
                  unsigned& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v < first || v > last)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

bool parseSecondsOption(const std::string& text, unsigned& ms)
{
    const std::size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (fraction.size() > 3 || (dot != std::string::npos && fraction.empty()))
        return false;
    unsigned seconds = 0, thousandths = 0;
    if (!parseDecimal(whole, 0, kLongestWaitMs / 1000, seconds))
        return false;
    fraction.resize(3, '0');
    if (!parseDecimal(fraction, 0, 999, thousandths))
        return false;
    ms = seconds * 1000 + thousandths;
    return ms > 0 && ms <= kLongestWaitMs;
}

}  // namespace orlo::cli
