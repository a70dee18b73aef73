// Fuzz target: program files (.qv3) and function files (.fnc) as read from disk.
#include <cstdint>
#include <string>

#include "fuzz_common.h"
#include "model/files.h"
#include "model/program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    orlo::judgeFunctionFile(bytes);
    orlo::ProgramSection section;
    orlo::parseFunctionFile(section, bytes);
    orlo::functionFileBytes(section);
    orlo::verdictText(orlo::readProgramFile(orlo::fuzz::inputFile(data, size, ".qv3")));
    orlo::verdictText(orlo::readFunctionFile(orlo::fuzz::inputFile(data, size, ".fnc")));
    return 0;
}
