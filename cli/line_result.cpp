// tarn line result: builds a result line the way the line editor does (the
// kind with its defaults, param1, param2, an optional picked suggestion,
// then the typed param3 text, prepared as the editor prepares it) or takes
// its instruction bytes as given, and prints the instruction, its encoded
// length, the line text and the param3 text.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/param_text_prep.h"
#include "catalogue/result_encoding.h"
#include "catalogue/result_text.h"
#include "catalogue/results.h"
#include "cli/line_commands.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

using Instruction = std::array<std::uint8_t, 256>;

bool parseNumber(const std::string& text, int low, int high, int& value)
{
    if (text.empty() || text.size() > 3)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: tarn line result [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
                 "       tarn line result [--names FILE] --bytes HEX\n");
    return 2;
}

int print(const Cli& cli, const Instruction& instruction)
{
    printLine(cli, instruction.data(), resultKindInfo(instruction.data()).length,
              resultLineText(instruction.data()), resultParam3Text(instruction.data()));
    return 0;
}

int fromBytes(const Cli& cli, const std::string& hex)
{
    std::string bytes;
    if (!parseHexText(hex, bytes) || bytes.empty() || bytes.size() > Instruction().size()) {
        cli.error("tarn: --bytes needs 1 to 256 hex bytes, such as \"01 04 03 00 00 01 F4\"");
        return 2;
    }
    Instruction instruction{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        instruction[i] = static_cast<std::uint8_t>(bytes[i]);
    return print(cli, instruction);
}

// pick is null without --pick.
int fromText(const Cli& cli, const std::vector<std::string>& pos, const std::string* pick)
{
    int values[3] = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!parseNumber(pos[i], 0, 255, values[i])) {
            cli.error("tarn: " + pos[i] + " is not a number from 0 to 255");
            return 2;
        }
    }
    if (resultKindName(values[0]).empty()) {
        cli.error(format("tarn: there is no result kind %d", values[0]));
        return 1;
    }
    // Choosing the kind sets its defaults; then the two choices are made.
    Instruction instruction{};
    applyResultKindDefaults(instruction.data(), values[0]);
    instruction[1] = static_cast<std::uint8_t>(values[1]);
    instruction[2] = static_cast<std::uint8_t>(values[2]);
    if (pick) {
        int position = 0;
        if (!parseNumber(*pick, 1, 255, position)) {
            cli.error("tarn: --pick needs a number from 1 to 255");
            return 2;
        }
        pickResultParam3(instruction.data(), position);
    }
    const std::string text = pos.size() > 3 ? pos[3] : std::string();
    encodeResultParam3(prepareParam3Text(text, resultParam3IsFormula(instruction[0])),
                       instruction.data());
    return print(cli, instruction);
}

}  // namespace

int runLineResult(Cli& cli)
{
    if (!loadNamesOption(cli))
        return 1;
    bool ok = true;
    std::string hex, pick;
    const bool bytesForm = cli.takeOption("bytes", hex, ok);
    const bool picked = cli.takeOption("pick", pick, ok);
    if (!ok || cli.unknownOption())
        return 2;
    const std::vector<std::string> pos = cli.positionals();

    if (bytesForm) {
        if (picked || !pos.empty())
            return usage();
        return fromBytes(cli, hex);
    }
    if (pos.size() < 3 || pos.size() > 4)
        return usage();
    return fromText(cli, pos, picked ? &pick : nullptr);
}

}  // namespace orlo::cli
