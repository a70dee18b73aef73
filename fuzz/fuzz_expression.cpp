// Fuzz target: expression byte code in every composite form, decoded and
// rendered. The first byte picks the form (and the count of the forms that
// have no length byte of their own).
#include <cstdint>
#include <string_view>

#include "expr/decoder.h"
#include "expr/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const orlo::NameTable& table = orlo::names();
    std::size_t count = data[0] >> 3;
    switch (data[0] & 7) {
    case 0: orlo::renderExpression(orlo::decodeExpression(bytes), table); break;
    case 1: orlo::renderComparison(orlo::decodeComparison(bytes), table); break;
    case 2: orlo::renderExpressionList(orlo::decodeExpressionList(bytes), table); break;
    case 3: orlo::renderFunctionCallTest(orlo::decodeFunctionCallTest(bytes), "f", table); break;
    case 4: orlo::renderFunctionCallAssign(orlo::decodeFunctionCallAssign(bytes), "f", table); break;
    case 5:
        orlo::renderCompoundCondition(orlo::decodeCompoundCondition(bytes, count), table);
        orlo::renderCompoundCondition(orlo::decodeCompoundCondition(bytes, bytes.size()), table);
        break;
    default:
        orlo::renderStatementList(orlo::decodeStatementList(bytes, count), "; ", table);
        orlo::renderStatementList(orlo::decodeStatementList(bytes, bytes.size()), "; ", table);
        break;
    }
    return 0;
}
