// Fuzz target: program images (as read from the controller or a file) and
// single blocks; what parses is built again and must parse to the same image.
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/names.h"
#include "model/image.h"
#include "model/program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orlo::ProgramSection section;
    orlo::parseBlock(section, bytes);
    orlo::Program program;
    orlo::NameTable table;
    orlo::checkImage(bytes);
    orlo::parseImage(program, table, bytes);
    std::string again = orlo::buildImage(program, table);
    orlo::Program second;
    orlo::NameTable secondTable;
    orlo::parseImage(second, secondTable, again);
    if (orlo::buildImage(second, secondTable) != again) __builtin_trap();
    return 0;
}
