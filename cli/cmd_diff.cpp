// tarn diff: the rule-level differences between two program files, function
// files or their JSON forms, as the program list shows the lines. Fit for
// git difftool; exit status 0 identical, 1 different, 2 trouble.
#include <cstdio>

#include "cli/command.h"
#include "cli/number_option.h"
#include "cli/program_side.h"

namespace orlo::cli {

namespace {

int runDiff(Cli& cli)
{
    bool ok = true;
    std::string maxText;
    const bool haveMax = cli.takeOption("max", maxText, ok);
    if (!ok || cli.unknownOption())
        return 2;
    unsigned max = 0;
    if (haveMax && !parseDecimal(maxText, 0, 1000000, max)) {
        std::fprintf(stderr, "tarn: --max takes a number of differences (0: all)\n");
        return 2;
    }
    const std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 2) {
        std::fprintf(stderr, "usage: tarn diff [--max N] A B\n");
        return 2;
    }
    ProgramSide a, b;
    if (!loadSide(cli, pos[0], a) || !loadSide(cli, pos[1], b))
        return 2;
    ProgramDifferences d;
    if (!compareSides(cli, a, b, d))
        return 2;
    if (d.identical())
        return 0;
    cli.print("--- " + pos[0]);
    cli.print("+++ " + pos[1]);
    for (const std::string& line : differenceReport(d, max))
        cli.print(line);
    return 1;
}

const CommandRegistration diffCommand({
    "diff", "compare two programs rule by rule",
    "usage: tarn diff [--max N] A B\n\n"
    "Compares two program files (.qv3), function files (.hanshu) or their JSON\n"
    "forms (tarn export) line by line, as the program list shows the lines.\n"
    "Sections are matched by their id (main program, 函数N, 线程N); a function\n"
    "file is compared with the section of the same id when the other side is a\n"
    "whole program. Lines are aligned on what the file stores of them (flags,\n"
    "instruction bytes, remark), so an inserted line is one insertion.\n\n"
    "Each difference is a heading SECTION:LINE: changed|inserted|removed (the\n"
    "line number in A; in B for an insertion), then the line on each side:\n"
    "  - N: ROW   in A\n"
    "  + N: ROW   in B\n"
    "and, when both rows read the same but the stored bytes differ, the bytes\n"
    "of each side as hex (\"  bytes - ...\", \"  bytes + ...\"). Aliases that\n"
    "are on one side only follow \"names: differ\".\n\n"
    "  --max N   show at most N line differences (0, the default: all)\n\n"
    "Prints nothing for identical programs. Exit status 0 identical, 1 different,\n"
    "2 when a file cannot be read or the arguments are wrong.\n",
    runDiff});

}  // namespace

}  // namespace orlo::cli
