// The two sides of a program line, conditions and results, behind one set of
// operations, so that code which treats both alike (the line editor, the
// command line, the JSON form) chooses a side once instead of branching at
// every call.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/table.h"

namespace orlo {

struct LineSide {
    const char* word;  // "condition" or "result"
    KindInfo (*kindInfo)(const std::uint8_t* instruction);
    std::string (*kindName)(int code);
    std::string (*lineText)(const std::uint8_t* instruction);
    std::string (*param3Text)(const std::uint8_t* instruction);
    void (*pick)(std::uint8_t* instruction, int position);
    void (*encode)(const std::string& text, std::uint8_t* instruction);
    bool (*isFormula)(int kind);
    // What choosing the kind does to a fresh instruction.
    void (*chooseKind)(std::uint8_t* instruction, int kind);
    // True when the kind and choices take counted data (a string, a byte
    // list, a formula) from the text.
    bool (*takesData)(const std::uint8_t* instruction);
};

const LineSide& conditionSide();
const LineSide& resultSide();
inline const LineSide& lineSide(bool isResult)
{
    return isResult ? resultSide() : conditionSide();
}

// What choosing param1 or param2 does besides storing it: a count byte that
// the new choices do not write is set to 0, so that no data of the former
// choices stays in the line's length.
void dropUnwrittenCount(const LineSide& side, std::uint8_t* instruction);

// Builds a line's instruction as the line editor does: the kind is chosen
// (with its defaults), then param1 and param2; pick (when above 0) stores the
// chosen entry of the third parameter's list; then the typed text is
// prepared (trim, quotes, full-width forms for formulas) and encoded.
void composeLine(const LineSide& side, std::uint8_t* instruction, int kind, int param1,
                 int param2, int pick, const std::string& text);

}  // namespace orlo
