// Fuzz target: condition and result instructions rendered to the text the
// program list shows. The input fills a whole instruction (zero padded).
#include <array>
#include <cstdint>
#include <cstring>

#include "catalogue/condition_text.h"
#include "catalogue/result_text.h"
#include "model/program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, orlo::kInstructionBytes> instruction{};
    std::memcpy(instruction.data(), data, size < instruction.size() ? size : instruction.size());
    orlo::conditionText(instruction.data());
    orlo::conditionParam3Source(instruction.data());
    orlo::resultParam3Text(instruction.data());
    orlo::resultLineText(instruction.data());
    return 0;
}
