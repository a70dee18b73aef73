// One side of a comparison for tarn diff and tarn device verify: a whole
// program with its aliases (a .qv3 file or its JSON form) or one section (a
// .hanshu file or its JSON form), and the comparison of two sides.
#pragma once

#include <memory>
#include <string>

#include "cli/command.h"
#include "expr/names.h"
#include "model/program.h"
#include "ui/program_diff.h"

namespace orlo::cli {

struct ProgramSide {
    std::string path;
    bool isSection = false;                            // a function file (or its JSON)
    std::unique_ptr<Program> program = std::make_unique<Program>();
    NameTable names;
    ProgramSection section;  // when isSection; id as the file stores it
};

// Reads a .qv3, .hanshu or .json file. False after saying why on standard
// error (nothing else is touched but the process-wide program and names).
bool loadSide(const Cli& cli, const std::string& path, ProgramSide& side);

// Compares two sides: two programs as a whole; two sections with each
// other; a section with the section of the same id in a program (shown with
// that program's aliases). False after a message when there is no such
// section.
bool compareSides(const Cli& cli, const ProgramSide& a, const ProgramSide& b,
                  ProgramDifferences& out);

}  // namespace orlo::cli
