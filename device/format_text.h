// printf-style text and the hex text of bytes for the device code, which
// keeps to the standard library and the model (no platform headers).
#pragma once

#include <string>
#include <string_view>

namespace orlo {

std::string formatText(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Two upper-case hex digits and a blank per byte, outer blanks trimmed.
std::string hexBytes(std::string_view bytes);

}  // namespace orlo
