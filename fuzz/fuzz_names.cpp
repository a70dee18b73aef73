// Fuzz target: name table text (the alias file) and operand names.
#include <cstdint>
#include <string>

#include "expr/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orlo::NameTable table;
    table.importText(text);
    // A table exported and imported again is the same table.
    const std::string exported = table.exportText();
    orlo::NameTable again;
    again.importText(exported);
    if (again.exportText() != exported) __builtin_trap();
    table.aliasToSystem(text);
    table.systemToAlias(text);
    orlo::OperandToken token = orlo::classifyOperand(text, table);
    orlo::renderOperand(token, table);
    orlo::canonicalText(token);
    return 0;
}
