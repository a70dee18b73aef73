// The result catalogue: for every result kind its name, its encoded length,
// its first and second choice lists and the suggestions offered for its
// free-text third parameter, as the line editor offers them and the result
// text shows them. Result bytes are the 256-byte instruction of a line:
// kind, param1, param2, then the param3 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/table.h"

namespace orlo {

// The kind's name and encoded length; the length of kinds 9 to 11, 16, 21
// and 30 to 39 reads param3 byte 0, of kind 27 param3 byte 4, of kind 28
// param3 byte 5. Unknown kinds give the empty name and length 0.
KindInfo resultKindInfo(const std::uint8_t* result);
// The name of a kind code alone ("" when there is none).
std::string resultKindName(int code);

// The name of choice `param1` of the kind; "" when kind or param1 is 0 or
// the choice does not exist. Lists run from 1 up to the first empty name.
std::string resultParam1Text(int kind, int param1);
// The name of choice `param2` for (kind, param1); "" when any of the three
// is 0 or the choice does not exist.
std::string resultParam2Text(int kind, int param1, int param2);
// The n-th suggestion (n from 1) for the param3 field of the result's
// (kind, param1, param2), or "".
std::string resultParam3Choice(const std::uint8_t* result, int n);

// The 22 output operations (the param1 list of kind 1), "" outside 1..22.
std::string outputOperationName(int code);
// The 11 operations on a linked relay module (the param2 list of kind 13),
// "" outside 1..11.
std::string relayBoardOperationName(int code);

// The order in which the line editor offers result kinds (all 23 named).
constexpr std::array<std::uint8_t, 23> kResultKindMenu{
    36, 1, 2, 3, 4, 32, 5, 6, 7, 8, 12, 13, 19, 20, 24, 26, 27, 9, 30, 33, 34, 31, 38};

// The kind codes the editor lists: the menu up to its first unnamed code.
std::vector<int> offeredResultKinds();

}  // namespace orlo
