// The two halves of "tarn line": conditions and results. Both take the
// arguments after "condition" / "result" and print the same four lines.
#pragma once

#include <cstdint>
#include <string>

#include "cli/command.h"

namespace orlo::cli {

int runLineCondition(Cli& cli);
int runLineResult(Cli& cli);

// Prints "instruction: HEX" (bytes 0 to length - 3), "length: E",
// "text: ..." and "param3: ..." for an instruction of encoded length E.
void printLine(const Cli& cli, const std::uint8_t* instruction, int length,
               const std::string& text, const std::string& param3);

}  // namespace orlo::cli
