// Cross-reference and checks of a whole program: which numbered resources
// (整数5, 输出3, 全局数组2, 函数7 ...) each line uses, and the warnings of
// tarn lint (empty functions called, threads started that hold nothing,
// sections never reached, aliases that name nothing used, lines that cannot
// be shown).
//
// Resources are found in what the program list shows of each line, rendered
// without aliases, so every resource the user sees is counted and nothing
// else: each word-and-number in the text that the operand classifier takes
// as a numbered resource. Quoted strings and remarks are not looked into;
// text that a line sends and shows without quotes ("发送字符串：abc输出5")
// can be taken for a resource.
// A call whose function number is computed (函数号为..., 函数[expression]) or
// a thread started by an expression makes every function, or every thread,
// count as reached: the checks never claim what they cannot know.
#pragma once

#include <string>
#include <vector>

#include "expr/names.h"
#include "model/program.h"

namespace orlo {

struct ResourceUse {
    int sectionId = 0;
    unsigned line = 0;  // 1-based
    bool isResult = false;
};

struct ResourceReference {
    std::string name;   // the system name ("输出3"); arrays by number ("数组3")
    std::string alias;  // empty when it has none
    std::vector<ResourceUse> uses;
};

// The numbered resources a line's text names, in the order they appear,
// each once; the process-wide aliases are not applied.
std::vector<std::string> resourcesOfLine(const ProgramLine& line);

// Every resource the program uses, ordered by kind and number, each with the
// places it is used in (section order: main, functions, threads).
std::vector<ResourceReference> crossReference(const Program& program, const NameTable& names);

// The warnings, one per line as "SECTION:LINE: message" (SECTION as
// sectionLabel; "names" and the line of the name block for an alias).
// wholeProgram false (a single section read from a function file) checks
// the lines only, not calls, starts and aliases.
std::vector<std::string> lintProgram(const Program& program, const NameTable& names,
                                     bool wholeProgram = true);

}  // namespace orlo
