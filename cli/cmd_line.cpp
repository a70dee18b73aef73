// tarn line: encode one condition or result line as the line editor does, or
// decode given instruction bytes, and print both forms.
#include <array>
#include <cstdio>

#include "catalogue/line_sides.h"
#include "cli/command.h"
#include "cli/number_option.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

using Instruction = std::array<std::uint8_t, 256>;

int usage(const LineSide& side)
{
    std::fprintf(stderr,
                 "usage: tarn line %s [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
                 "       tarn line %s [--names FILE] --bytes HEX\n",
                 side.word, side.word);
    return 2;
}

// The four lines: the stored instruction bytes (0 to length - 3), the
// encoded length, the list text and the editor's param3 text.
int print(const Cli& cli, const LineSide& side, const Instruction& instruction)
{
    const int length = side.kindInfo(instruction.data()).length;
    const std::size_t shown = length >= 2 ? static_cast<std::size_t>(length - 2) : 0;
    cli.print("instruction: " + hexText(instruction.data(), shown));
    cli.print(format("length: %d", length));
    cli.print("text: " + oneLine(side.lineText(instruction.data())));
    cli.print("param3: " + oneLine(side.param3Text(instruction.data())));
    return 0;
}

int fromBytes(const Cli& cli, const LineSide& side, const std::string& hex)
{
    std::string bytes;
    if (!parseHexText(hex, bytes) || bytes.empty() || bytes.size() > Instruction().size()) {
        cli.error("tarn: --bytes needs 1 to 256 hex bytes, such as \"15 01 02\"");
        return 2;
    }
    Instruction instruction{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        instruction[i] = static_cast<std::uint8_t>(bytes[i]);
    return print(cli, side, instruction);
}

// pick is null without --pick.
int fromText(const Cli& cli, const LineSide& side, const std::vector<std::string>& pos,
             const std::string* pick)
{
    unsigned values[3] = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        if (!parseDecimal(pos[i], 0, 255, values[i])) {
            cli.error("tarn: " + pos[i] + " is not a number from 0 to 255");
            return 2;
        }
    }
    if (side.kindName(static_cast<int>(values[0])).empty()) {
        cli.error(format("tarn: there is no %s kind %u", side.word, values[0]));
        return 1;
    }
    unsigned position = 0;
    if (pick && !parseDecimal(*pick, 1, 255, position)) {
        cli.error("tarn: --pick needs a number from 1 to 255");
        return 2;
    }
    Instruction instruction{};
    composeLine(side, instruction.data(), static_cast<int>(values[0]), static_cast<int>(values[1]),
                static_cast<int>(values[2]), static_cast<int>(position),
                pos.size() > 3 ? pos[3] : std::string());
    return print(cli, side, instruction);
}

int runLine(Cli& cli)
{
    if (cli.args.empty() || (cli.args[0] != "condition" && cli.args[0] != "result")) {
        std::fprintf(stderr, "usage: tarn line condition|result ... (see tarn line --help)\n");
        return 2;
    }
    const LineSide& side = cli.args[0] == "result" ? resultSide() : conditionSide();
    cli.args.erase(cli.args.begin());
    if (!loadNamesOption(cli))
        return 1;
    bool ok = true;
    std::string hex, pick;
    const bool bytesForm = cli.takeOption("bytes", hex, ok);
    const bool picked = cli.takeOption("pick", pick, ok);
    if (!ok || cli.unknownOption() || !cli.text(cli.args))
        return 2;
    const std::vector<std::string> pos = cli.positionals();
    if (bytesForm)
        return picked || !pos.empty() ? usage(side) : fromBytes(cli, side, hex);
    if (pos.size() < 3 || pos.size() > 4)
        return usage(side);
    return fromText(cli, side, pos, picked ? &pick : nullptr);
}

const CommandRegistration lineCommand({
    "line", "encode or decode one condition or result line",
    "usage: tarn line condition [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
    "       tarn line condition [--names FILE] --bytes HEX\n"
    "       tarn line result [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
    "       tarn line result [--names FILE] --bytes HEX\n\n"
    "The first form starts from an empty line, chooses the kind (with the\n"
    "defaults the line editor gives it) and the first two parameters, prepares\n"
    "TEXT as the line editor does and encodes it as the third parameter.\n"
    "--pick N first stores the N-th item of the third parameter's choice or\n"
    "suggestion list, as picking it in the editor does.\n"
    "The second form takes the instruction bytes as given (kind first).\n\n"
    "Both print four lines:\n"
    "  instruction: HEX   the stored instruction bytes\n"
    "  length: E          the encoded length (two line-header bytes included)\n"
    "  text: ...          the line as the program list shows it\n"
    "  param3: ...        the third parameter as the editor shows it\n"
    "Messages the editor would show go to standard error as\n"
    "  message: CAPTION: TEXT\n\n"
    "  --names FILE   first import a name table text file, so aliases apply.\n",
    runLine});

}  // namespace

}  // namespace orlo::cli
