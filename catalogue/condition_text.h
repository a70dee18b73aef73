// Condition records as text: the line the program list shows and the third
// parameter as the line editor shows it. Both are rebuilt from the record
// alone, so an edited line always shows what was stored; numbered resources
// appear through displayName, so the user's aliases show.
#pragma once

#include <cstdint>
#include <string>

namespace orlo {

// The line text of a 256-byte condition record (without the list's prefix
// and remark). Any bytes at all render; an unknown kind shows its (empty)
// name and choices.
std::string conditionText(const std::uint8_t* record);

// The third parameter as editable text: typed again (after the editor's
// preparation) it encodes to the same bytes. Empty for kinds whose third
// parameter is not typed.
std::string conditionParam3Source(const std::uint8_t* record);

}  // namespace orlo
