// Fuzz target: the hex and decimal text readers (hex lists, hex text checks,
// decimal options, the numbers inside operand names).
#include <cstdint>
#include <string>

#include "catalogue/hex_check.h"
#include "cli/number_option.h"
#include "expr/hexlist.h"
#include "expr/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orlo::hexListToBytes(text);
    bool valid = false;
    orlo::hexTextMessage(text, valid);
    orlo::checkHexText(text);
    unsigned value = 0;
    if (orlo::cli::parseDecimal(text, 1, 65535, value) && (value < 1 || value > 65535))
        __builtin_trap();
    orlo::cli::parseSecondsOption(text, value);
    for (int n = 1; n <= 3; ++n) {
        orlo::nthInteger(text, n);
        orlo::nthDecimal(text, n);
    }
    orlo::classifyOperand(text);
    return 0;
}
