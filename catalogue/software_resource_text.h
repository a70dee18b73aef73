// The line text of result kind 36 ("系统软件资源(118)"): one sentence per
// operation, built from the expressions of the line's expression list, whose
// shape depends on how many expressions the list holds.
#pragma once

#include <cstdint>
#include <string>

namespace orlo {

// The line text of the kind 36 result in the 256-byte instruction: the form
// for (param1, param2) and the number of expressions in the list counted in
// param3 byte 0; "" for every combination without a form. Blanks inside and
// at the ends of the forms are part of them.
std::string softwareResourceLineText(const std::uint8_t* instruction);

}  // namespace orlo
