// tarn show, tarn export and tarn build: a program or function file as the
// program list shows it, and its readable JSON form in both directions.
#include <cstdio>

#include "cli/command.h"
#include "cli/json/program_json.h"
#include "expr/names.h"
#include "model/files.h"
#include "model/image.h"
#include "platform/files.h"
#include "ui/program_list.h"

namespace orlo::cli {

namespace {

constexpr std::size_t kMaxJsonBytes = 64u << 20;

void printRows(const Cli& cli, ProgramSection& section)
{
    for (const std::string& row : sectionRows(section))
        cli.print(oneLine(row));
}

int runShow(Cli& cli)
{
    if (!loadNamesOption(cli))
        return 1;
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 1) {
        std::fprintf(stderr, "usage: tarn show [--names FILE] FILE\n");
        return 2;
    }
    ProgramSection section;
    bool isFunction = false;
    if (!loadProgramOrFunction(cli, pos[0], section, isFunction))
        return 1;
    if (isFunction) {
        printRows(cli, section);
        return 0;
    }
    Program& p = program();
    printRows(cli, p.main);
    for (int n = 1; n <= kFunctionCount; ++n) {
        ProgramSection& f = p.functions[static_cast<std::size_t>(n - 1)];
        if (f.empty())
            continue;
        cli.print("");
        cli.print(oneLine(displayName("函数", n)));
        printRows(cli, f);
    }
    for (int n = 1; n <= kThreadCount; ++n) {
        ProgramSection& t = p.threads[static_cast<std::size_t>(n - 1)];
        if (t.empty())
            continue;
        cli.print("");
        cli.print(oneLine(displayName("线程", n)));
        printRows(cli, t);
    }
    return 0;
}

// Writing over the file being read would lose it: the output must be
// another file, however its path is spelled.
bool outputIsInput(const Cli& cli, const std::string& in, const std::string& out)
{
    if (!sameFile(cli.path(in), cli.path(out)))
        return false;
    cli.error("tarn: " + out + ": is the input file " + in + "; give another output file");
    return true;
}

bool writeOut(const Cli& cli, const std::string& path, const std::string& bytes)
{
    std::string error;
    if (!writeFileSafely(cli.path(path), bytes, error)) {
        cli.error("tarn: " + path + ": " + error);
        return false;
    }
    return true;
}

int runExport(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 2) {
        std::fprintf(stderr, "usage: tarn export FILE OUT.json\n");
        return 2;
    }
    if (outputIsInput(cli, pos[0], pos[1]))
        return 2;
    ProgramSection section;
    bool isFunction = false;
    if (!loadProgramOrFunction(cli, pos[0], section, isFunction))
        return 1;
    const std::string json = isFunction ? sectionToJson(section) : programToJson(program(), names());
    // JSON is UTF-8 whatever --gbk says; the path is written as given.
    return writeOut(cli, pos[1], json) ? 0 : 1;
}

int runBuild(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 2) {
        std::fprintf(stderr, "usage: tarn build IN.json OUT.qv3|OUT.hanshu\n");
        return 2;
    }
    if (outputIsInput(cli, pos[0], pos[1]))
        return 2;
    std::string json, error;
    if (!readFilePrefix(cli.path(pos[0]), kMaxJsonBytes, json, error)) {
        cli.error("tarn: " + pos[0] + ": " + error);
        return 1;
    }
    const std::string& out = pos[1];
    if (endsWith(out, kFunctionExtension)) {
        ProgramSection section;
        bool refused = false;
        std::string message = sectionFromJson(json, section, &refused);
        if (!message.empty()) {
            std::fprintf(stderr, "tarn: %s\n", message.c_str());
            return refused ? 2 : 1;
        }
        return writeOut(cli, out, functionFileBytes(section)) ? 0 : 1;
    }
    if (!endsWith(out, kProgramExtension)) {
        cli.error("tarn: " + out + ": the output must end in .qv3 or .hanshu");
        return 2;
    }
    bool refused = false;
    std::string message = programFromJson(json, program(), names(), &refused);
    if (!message.empty()) {
        std::fprintf(stderr, "tarn: %s\n", message.c_str());
        return refused ? 2 : 1;
    }
    const std::string image = buildImage();
    if (image.size() > kMaxImageBytes)
        cli.error("tarn: warning: the program is larger than a controller accepts (200000 bytes)");
    return writeOut(cli, out, image) ? 0 : 1;
}

const CommandRegistration showCommand({
    "show", "print a program or function file as the program list shows it",
    "usage: tarn show [--names FILE] FILE\n\n"
    "Prints the rows of a program file (.qv3) exactly as the program list shows\n"
    "them: rule number, connective, the line's text, the remark. The main\n"
    "program comes first, then each function and thread that has lines, under\n"
    "a heading with its name (函数5, or its alias). A function file (.hanshu)\n"
    "prints its one section.\n\n"
    "  --names FILE   import a name table text file first (for function files,\n"
    "                 which carry no names of their own).\n",
    runShow});

const CommandRegistration exportCommand({
    "export", "write a program or function file as readable JSON",
    "usage: tarn export FILE OUT.json\n\n"
    "Writes the program of a .qv3 file (main program, every function and thread\n"
    "with lines, the names) or the section of a .hanshu file as JSON in UTF-8.\n"
    "Each line has its type (condition or result), orElse flag, kind, param1,\n"
    "param2, its exact instruction bytes as hex, its remark and, for the\n"
    "reader, its text as the program list shows it.\n",
    runExport});

const CommandRegistration buildCommand({
    "build", "make a program or function file from JSON",
    "usage: tarn build IN.json OUT.qv3|OUT.hanshu\n\n"
    "Builds a program file (.qv3) from the JSON form that tarn export writes,\n"
    "or a function file (.hanshu) from a JSON with one section. A line is made\n"
    "from its \"bytes\" when they are given; otherwise from \"kind\", \"param1\",\n"
    "\"param2\", an optional \"pick\" (the N-th entry of the third parameter's\n"
    "list) and \"param3\" (its text), encoded as the line editor does.\n"
    "The \"text\" of a line is ignored. A file that exists is replaced only\n"
    "once the new one is written whole.\n",
    runBuild});

}  // namespace

}  // namespace orlo::cli
