// The example programs behind the main list's context menu "导入示例程序":
// their JSON text (from examples/*.json, compiled in), loading one into a
// program, and merging one into the user's program after a given line.
#pragma once

#include <string>
#include <vector>

#include "model/program.h"

namespace orlo {

class NameTable;

// One example as the repository holds it: the file name without ".json"
// and the file's bytes (UTF-8 JSON). The list is generated at build time.
struct ExampleText {
    const char* name;
    std::string json;
};
const std::vector<ExampleText>& exampleTexts();

// The menu entries that insert an example, with the menu's caption (GBK).
struct ExampleEntry {
    int commandId;
    const char* name;
    const char* caption;
};
const std::vector<ExampleEntry>& exampleEntries();

// Reads the example called name into program and names; an empty message
// on success.
std::string loadExample(const std::string& name, Program& program, NameTable& names);

// Puts example's main lines into target's main program at position at
// (clamped to its end), its functions and threads into the first empty ones
// of target, and renumbers the lines that call or start them. Aliases of
// example go into names only for resources that have none there yet.
// Returns an empty message on success, else a message (GBK) and target is
// unchanged. count receives the number of main lines inserted.
std::string insertExample(Program& target, NameTable& names, const Program& example,
                          const NameTable& exampleNames, unsigned at, unsigned* count = nullptr);

}  // namespace orlo
