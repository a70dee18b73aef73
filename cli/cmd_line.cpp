// tarn line: encode one condition or result line as the line editor does, or
// decode given instruction bytes, and print both forms.
#include "cli/line_commands.h"

#include <cstdio>

#include "platform/strings.h"

namespace orlo::cli {

void printLine(const Cli& cli, const std::uint8_t* instruction, int length,
               const std::string& text, const std::string& param3)
{
    const std::size_t shown = length >= 2 ? static_cast<std::size_t>(length - 2) : 0;
    cli.print("instruction: " + hexText(instruction, shown));
    cli.print(format("length: %d", length));
    cli.print("text: " + text);
    cli.print("param3: " + param3);
}

namespace {

int runLine(Cli& cli)
{
    if (cli.args.empty() || (cli.args[0] != "condition" && cli.args[0] != "result")) {
        std::fprintf(stderr, "usage: tarn line condition|result ... (see tarn line --help)\n");
        return 2;
    }
    const bool isCondition = cli.args[0] == "condition";
    cli.args.erase(cli.args.begin());
    return isCondition ? runLineCondition(cli) : runLineResult(cli);
}

const CommandRegistration lineCommand({
    "line", "encode or decode one condition or result line",
    "usage: tarn line condition [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
    "       tarn line condition [--names FILE] --bytes HEX\n"
    "       tarn line result [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
    "       tarn line result [--names FILE] --bytes HEX\n\n"
    "The first form starts from an empty line, sets the kind and the first two\n"
    "parameters, prepares TEXT as the line editor does and encodes it as the\n"
    "third parameter. --pick N first stores the N-th item of the third\n"
    "parameter's choice or suggestion list, as picking it in the editor does.\n"
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
