// The stored explanations of the condition and result kinds the line editor
// offers: what a kind tests or does, what each of its parameters means, and
// an example line given as the editor's inputs (choices and typed text), so
// that the example is built and rendered by the catalogue itself and reads
// exactly as the program list shows it. One table, read by the help window.
#pragma once

#include <cstdint>

namespace orlo {

struct KindHelp {
    bool isResult;
    int kind;
    // What the condition tests or the result does.
    const char* purpose;
    // What parameters 1, 2 and 3 mean, one text each.
    const char* param1;
    const char* param2;
    const char* param3;
    // The example: param1 and param2 as chosen in the editor (positions from
    // 1), the position picked from the third parameter's list (0: none) and
    // the typed third parameter.
    int exampleParam1;
    int exampleParam2;
    int examplePick;
    const char* exampleText;
};

// The explanation of a kind, nullptr when the table has none.
const KindHelp* findKindHelp(bool isResult, int kind);

// Builds the example's instruction into a zeroed 256-byte instruction, as the
// line editor would from the same choices and text.
void composeKindExample(const KindHelp& help, std::uint8_t* instruction);

}  // namespace orlo
