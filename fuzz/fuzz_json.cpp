// Fuzz target: the JSON form of programs and sections.
#include <cstdint>
#include <string>

#include "cli/json/program_json.h"
#include "expr/names.h"
#include "model/program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    orlo::Program program;
    orlo::NameTable table;
    bool refused = false;
    if (orlo::programFromJson(text, program, table, &refused).empty())
        orlo::programToJson(program, table);
    orlo::ProgramSection section;
    if (orlo::sectionFromJson(text, section, &refused).empty()) orlo::sectionToJson(section);
    return 0;
}
