// Loading and comparing the sides of tarn diff and tarn device verify.
#include "cli/program_side.h"

#include "cli/json/program_json.h"
#include "model/files.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

constexpr std::size_t kMaxJsonBytes = 64u << 20;

bool loadJson(const Cli& cli, const std::string& path, ProgramSide& side)
{
    std::string json, error;
    if (!readFilePrefix(cli.path(path), kMaxJsonBytes, json, error)) {
        cli.error("tarn: " + path + ": " + error);
        return false;
    }
    const std::string message = programFromJson(json, *side.program, side.names);
    if (message.empty())
        return true;
    // Not a whole program: perhaps the one section of a function file.
    if (sectionFromJson(json, side.section).empty()) {
        side.isSection = true;
        return true;
    }
    cli.error("tarn: " + path + ": " + message);
    return false;
}

}  // namespace

bool loadSide(const Cli& cli, const std::string& path, ProgramSide& side)
{
    side.path = path;
    if (endsWith(path, ".json"))
        return loadJson(cli, path, side);
    if (endsWith(path, kFunctionExtension)) {
        // Messages about a damaged file come through the shell.
        if (!loadFunctionFile(side.section, cli.path(path)))
            return false;
        // Readers ignore the block id; it still tells which section it was.
        std::string head, error;
        if (readFilePrefix(cli.path(path), 8, head, error) && head.size() == 8)
            side.section.id = static_cast<std::uint8_t>(head[6]) << 8 |
                              static_cast<std::uint8_t>(head[7]);
        side.isSection = true;
        return true;
    }
    if (!endsWith(path, kProgramExtension)) {
        cli.error("tarn: " + path + ": not a program file (.qv3), function file (.hanshu) or JSON");
        return false;
    }
    if (!openProgramFile(cli.path(path))) {
        cli.error("tarn: " + path + ": could not be read as a program file");
        return false;
    }
    *side.program = program();
    side.names = names();
    return true;
}

bool compareSides(const Cli& cli, const ProgramSide& a, const ProgramSide& b,
                  ProgramDifferences& out)
{
    out = {};
    if (!a.isSection && !b.isSection) {
        out = diffPrograms(*a.program, a.names, *b.program, b.names);
        return true;
    }
    if (a.isSection && b.isSection) {
        out.lines = diffSections(a.section.id, a.section, a.names, b.section, b.names);
        return true;
    }
    const ProgramSide& whole = a.isSection ? b : a;
    const ProgramSide& part = a.isSection ? a : b;
    const ProgramSection* matching = whole.program->sectionById(part.section.id);
    if (!matching) {
        cli.error("tarn: " + part.path + format(": its section id %d is no section of a program",
                                                 part.section.id));
        return false;
    }
    out.lines = a.isSection
                    ? diffSections(part.section.id, part.section, whole.names, *matching, whole.names)
                    : diffSections(part.section.id, *matching, whole.names, part.section, whole.names);
    return true;
}

}  // namespace orlo::cli
