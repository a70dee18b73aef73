// The condition catalogue: for every condition kind its name, its record
// length and the choice lists of its parameters, as the line editor offers
// them and the condition text shows them. Records are the 256-byte
// instruction of a line: kind, param1, param2, then the param3 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/table.h"

namespace orlo {

// The kind's name and record length; the length of kinds 10, 11, 16, 19,
// 20, 22, 24 and 25 reads the count byte inside the record. Unknown kinds
// give the empty name and length 0.
KindInfo conditionKindInfo(const std::uint8_t* record);
// The name of a kind code alone ("" when there is none).
std::string conditionKindName(int code);

// The text of choice `value` (from 1) of the record's kind, or "" when there
// is none; each list runs from 1 up to its first empty text. Param2 lists of
// kinds 20, 21 and 24 depend on param1 (byte 1); param3 lists exist for
// kinds 9 (by param1), 12 and 17 (by param2, byte 2).
std::string conditionParam1Text(const std::uint8_t* record, int value);
std::string conditionParam2Text(const std::uint8_t* record, int value);
std::string conditionParam3Text(const std::uint8_t* record, int value);

// The order in which the line editor offers condition kinds. Its last code,
// 26, has no name, so the editor's list (which ends at the first unnamed
// code) offers 17 kinds.
constexpr std::array<std::uint8_t, 18> kConditionKindMenu{
    1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 14, 17, 19, 20, 21, 24, 25, 26};

// The kind codes the editor lists: the menu up to its first unnamed code.
std::vector<int> offeredConditionKinds();

}  // namespace orlo
