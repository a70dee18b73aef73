// Fuzz target: name table text (the alias file) and operand names.
#include <cstdint>
#include <string>

#include "expr/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orlo::NameTable table;
    table.importText(text);
    orlo::NameTable again;
    again.importText(table.exportText());
    table.aliasToSystem(text);
    table.systemToAlias(text);
    orlo::OperandToken token = orlo::classifyOperand(text, table);
    orlo::renderOperand(token, table);
    orlo::canonicalText(token);
    return 0;
}
