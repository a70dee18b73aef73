// tarn catalogue: prints the condition and result catalogues as the line
// editor offers them: the kind lists, a kind's length and its choice lists.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/conditions.h"
#include "catalogue/results.h"
#include "cli/command.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

// The editor asks for entries 1, 2, ... and stops at the first empty text.
constexpr int kMaxEntries = 255;

bool parseByte(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 3)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

template <typename TextOf>
void printList(const Cli& cli, TextOf textOf)
{
    for (int v = 1; v <= kMaxEntries; ++v) {
        std::string text = textOf(v);
        if (text.empty())
            break;
        cli.print(format("%d\t", v) + oneLine(text));
    }
}

int usage()
{
    std::fprintf(stderr,
                 "usage: tarn catalogue condition|result [--names FILE] [KIND [P1 [P2]]]\n");
    return 2;
}

int runCatalogue(Cli& cli)
{
    if (!loadNamesOption(cli))
        return 1;
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.empty() || pos.size() > 4 || (pos[0] != "condition" && pos[0] != "result"))
        return usage();
    const bool conditions = pos[0] == "condition";

    if (pos.size() == 1) {
        for (int code : conditions ? offeredConditionKinds() : offeredResultKinds())
            cli.print(format("%d\t", code) +
                      oneLine(conditions ? conditionKindName(code) : resultKindName(code)));
        return 0;
    }

    // An all-zero instruction holding the kind and choices given.
    std::uint8_t record[256] = {};
    int values[3] = {0, 0, 0};
    for (std::size_t i = 1; i < pos.size(); ++i) {
        if (!parseByte(pos[i], values[i - 1])) {
            cli.error("tarn: " + pos[i] + " is not a number from 0 to 255");
            return 2;
        }
        record[i - 1] = static_cast<std::uint8_t>(values[i - 1]);
    }
    const int kind = values[0], param1 = values[1];
    const KindInfo info = conditions ? conditionKindInfo(record) : resultKindInfo(record);
    if (info.name.empty()) {
        cli.error(format("tarn: there is no %s kind %d", pos[0].c_str(), kind));
        return 1;
    }

    switch (pos.size()) {
    case 2:
        cli.print(format("length\t%d", info.length));
        if (conditions)
            printList(cli, [&](int v) { return conditionParam1Text(record, v); });
        else
            printList(cli, [&](int v) { return resultParam1Text(kind, v); });
        break;
    case 3:
        if (conditions)
            printList(cli, [&](int v) { return conditionParam2Text(record, v); });
        else
            printList(cli, [&](int v) { return resultParam2Text(kind, param1, v); });
        break;
    default:
        if (conditions)
            printList(cli, [&](int v) { return conditionParam3Text(record, v); });
        else
            printList(cli, [&](int v) { return resultParam3Choice(record, v); });
        break;
    }
    return 0;
}

const CommandRegistration catalogueCommand({
    "catalogue", "list the condition and result kinds and their choices",
    "usage: tarn catalogue condition|result [--names FILE] [KIND [P1 [P2]]]\n\n"
    "Prints the catalogue of condition or result kinds as the line editor\n"
    "offers it, one entry per line:\n"
    "  no KIND       the kinds the editor offers, in its order: CODE<TAB>NAME;\n"
    "  KIND          a line length<TAB>N with the encoded length of a line of\n"
    "                that kind whose other bytes are 0, then the param1 choices\n"
    "                as VALUE<TAB>TEXT;\n"
    "  KIND P1       the param2 choices for that param1, as VALUE<TAB>TEXT;\n"
    "  KIND P1 P2    conditions: the param3 choices (kinds 9, 12 and 17);\n"
    "                results: the param3 suggestions; as VALUE<TAB>TEXT.\n"
    "Lists run from 1 up to the first value without a text (at most 255).\n"
    "KIND, P1 and P2 are numbers from 0 to 255; a kind without a name is an\n"
    "error (exit status 1).\n\n"
    "  --names FILE   first import a name table text file (lines of alias, tab,\n"
    "                 =, tab, system name; GBK), so aliases replace the names\n"
    "                 of numbered resources (定时器3, 全局数组5 ...).\n\n"
    "Examples:\n"
    "  tarn catalogue result           the 23 result kinds\n"
    "  tarn catalogue result 4 1       the 62 operations on a global integer\n"
    "  tarn catalogue condition 9 4 0  the weekday choices of a date condition\n",
    runCatalogue});

}  // namespace

}  // namespace orlo::cli
