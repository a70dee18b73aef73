// The texts of a result, computed from its instruction bytes alone: the
// param3 text the line editor puts into its third-parameter field (typed back
// unchanged, it encodes to the same bytes), and the one-line description the
// program list shows. Numbered resources show through the user's aliases.
#pragma once

#include <cstdint>
#include <string>

namespace orlo {

// The param3 text of the result in the 256-byte instruction; "" for the
// combinations of kind and choices that have none.
std::string resultParam3Text(const std::uint8_t* instruction);

// The line text of the result (kind 36 through softwareResourceLineText);
// "" for the combinations that have none.
std::string resultLineText(const std::uint8_t* instruction);

}  // namespace orlo
