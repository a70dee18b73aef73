// tarn line condition: builds a condition line the way the line editor does
// (kind, param1, param2, an optional picked param3 item, then the typed
// param3 text) or takes its instruction bytes as given, and prints the
// instruction, its encoded length, the line text and the param3 text.
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/condition_encoding.h"
#include "catalogue/condition_text.h"
#include "catalogue/conditions.h"
#include "catalogue/param_text_prep.h"
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
                 "usage: tarn line condition [--names FILE] [--pick N] KIND P1 P2 [TEXT]\n"
                 "       tarn line condition [--names FILE] --bytes HEX\n");
    return 2;
}

int print(const Cli& cli, const Instruction& record)
{
    printLine(cli, record.data(), conditionKindInfo(record.data()).length,
              conditionText(record.data()), conditionParam3Source(record.data()));
    return 0;
}

int fromBytes(const Cli& cli, const std::string& hex)
{
    std::string bytes;
    if (!parseHexText(hex, bytes) || bytes.empty() || bytes.size() > Instruction().size()) {
        cli.error("tarn: --bytes needs 1 to 256 hex bytes, such as \"15 01 02\"");
        return 2;
    }
    Instruction record{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        record[i] = static_cast<std::uint8_t>(bytes[i]);
    return print(cli, record);
}

// pick is null without --pick.
int fromText(const Cli& cli, const std::vector<std::string>& pos, const std::string* pick)
{
    Instruction record{};
    for (std::size_t i = 0; i < 3; ++i) {
        int v = 0;
        if (!parseNumber(pos[i], 0, 255, v)) {
            cli.error("tarn: " + pos[i] + " is not a number from 0 to 255");
            return 2;
        }
        record[i] = static_cast<std::uint8_t>(v);
    }
    if (conditionKindName(record[0]).empty()) {
        cli.error(format("tarn: there is no condition kind %d", record[0]));
        return 1;
    }
    if (pick) {
        int position = 0;
        if (!parseNumber(*pick, 1, 255, position)) {
            cli.error("tarn: --pick needs a number from 1 to 255");
            return 2;
        }
        pickConditionParam3(record.data(), position);
    }
    const std::string text = pos.size() > 3 ? pos[3] : std::string();
    encodeConditionParam3(prepareParam3Text(text, conditionParam3IsFormula(record[0])),
                          record.data());
    return print(cli, record);
}

}  // namespace

int runLineCondition(Cli& cli)
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
