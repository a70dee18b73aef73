// tarn xref and tarn lint: where a program uses each resource, and the
// warnings about calls, starts, aliases and lines that cannot be shown.
#include <cstdio>

#include "cli/command.h"
#include "cli/program_side.h"
#include "platform/strings.h"
#include "ui/program_xref.h"

namespace orlo::cli {

namespace {

// The program of a file; a function file's section sits at its own id (the
// main program when the id names no section).
bool loadProgram(Cli& cli, const char* usage, ProgramSide& side)
{
    if (cli.unknownOption())
        return false;
    const std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 1) {
        std::fputs(usage, stderr);
        return false;
    }
    if (!loadSide(cli, pos[0], side))
        return false;
    if (side.isSection) {
        ProgramSection* target = side.program->sectionById(side.section.id);
        (target ? *target : side.program->main).lines = side.section.lines;
    }
    return true;
}

int runXref(Cli& cli)
{
    ProgramSide side;
    if (!loadProgram(cli, "usage: tarn xref FILE\n", side))
        return 2;
    for (const ResourceReference& r : crossReference(*side.program, side.names)) {
        cli.print(r.alias.empty() ? r.name : r.name + " (" + r.alias + ")");
        for (const ResourceUse& u : r.uses)
            cli.print(format("  %s:%u: %s", sectionLabel(u.sectionId).c_str(), u.line,
                             u.isResult ? "result" : "condition"));
    }
    return 0;
}

int runLint(Cli& cli)
{
    ProgramSide side;
    if (!loadProgram(cli, "usage: tarn lint FILE\n", side))
        return 2;
    const std::vector<std::string> warnings =
        lintProgram(*side.program, side.names, !side.isSection);
    for (const std::string& w : warnings)
        cli.print(w);
    return warnings.empty() ? 0 : 1;
}

const CommandRegistration xrefCommand({
    "xref", "where a program uses each resource",
    "usage: tarn xref FILE\n\n"
    "Lists every numbered resource that the lines of a program file (.qv3), a\n"
    "function file (.hanshu) or their JSON form use (整数5, 输出3, 全局数组2,\n"
    "函数7 ...), ordered by kind and number, with its alias in brackets, and\n"
    "under it each place it is used: SECTION:LINE: condition|result.\n"
    "Resources are read from the lines as the program list shows them;\n"
    "remarks and quoted strings are not looked into.\n",
    runXref});

const CommandRegistration lintCommand({
    "lint", "check a program for empty calls, unused sections and aliases",
    "usage: tarn lint FILE\n\n"
    "Warns, one warning per line as SECTION:LINE: message, about\n"
    "  functions called and threads started that hold no lines;\n"
    "  functions and threads that hold lines but are never called or started\n"
    "    (not said when some call or start computes its number);\n"
    "  aliases that name nothing the program uses (SECTION is \"names\", LINE\n"
    "    the alias's line in the name block);\n"
    "  lines of an unknown kind, and lines whose bytes show as 格式出错.\n"
    "A function file is checked line by line only.\n"
    "Exit status 0 without warnings, 1 with, 2 when the file cannot be read.\n",
    runLint});

}  // namespace

}  // namespace orlo::cli
