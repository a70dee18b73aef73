// Small tarn commands over the foundation: version, operand, crc16.
#include <cstdio>

#include "app/product.h"
#include "cli/command.h"
#include "expr/names.h"
#include "model/crc16.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

int runVersion(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    cli.print(versionLine("tarn"));
    cli.print(format("%s V%s(固件%s)", kProductName, kProductVersion, kFirmwareVersion));
    return 0;
}

int runOperand(Cli& cli)
{
    if (!loadNamesOption(cli))
        return 1;
    if (cli.unknownOption() || !cli.text(cli.args))
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 1) {
        std::fprintf(stderr, "usage: tarn operand [--names FILE] TEXT\n");
        return 2;
    }
    OperandToken t = classifyOperand(pos[0]);
    cli.print(oneLine(renderOperand(t)));
    std::string fields = format("kind=%d index=%d value=%d", t.kind, t.index, t.value);
    if (t.kind == 64)
        fields += format(" scope=%d arrayNo=%d element=%d width=%d", t.scope, t.arrayNo,
                         t.element, t.width);
    if (t.kind == 22 || t.kind == 31 || t.kind == 32)
        fields += " bytes=" + hexText(t.bytes);
    cli.print(fields);
    return 0;
}

int runCrc16(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    std::string joined;
    for (const std::string& p : pos)
        joined += p + " ";
    std::string bytes;
    if (pos.empty() || !parseHexText(joined, bytes)) {
        std::fprintf(stderr, "usage: tarn crc16 HEX   (bytes as hex, e.g. \"31 32 33\")\n");
        return 2;
    }
    Crc16 c = crc16(bytes);
    std::uint8_t stored[2] = {c.hi, c.lo};
    cli.print(hexText(stored, 2));
    return 0;
}

const CommandRegistration versionCommand({
    "version", "print the versions of Orlo and of this tool",
    "usage: tarn version   (or tarn --version)\n\n"
    "Prints the release version of tarn with the commit it was built from, then\n"
    "the window title of the desktop tool (its version and the firmware version\n"
    "it carries).\n",
    runVersion});

const CommandRegistration operandCommand({
    "operand", "classify one operand of an expression and print it back",
    "usage: tarn operand [--names FILE] TEXT\n\n"
    "Classifies TEXT as one operand of an expression (an integer, a resource such\n"
    "as 整数5 or 全局数组3_4_1, a string, a hex list ...) and prints two lines:\n"
    "  the operand rendered back as the program list would show it;\n"
    "  its fields: kind=K index=I value=V, plus scope= arrayNo= element= width=\n"
    "  for array elements (kind 64) and bytes=HEX for decimals, hex lists and\n"
    "  strings (kinds 22, 31, 32).\n\n"
    "  --names FILE   first import a name table text file (lines of alias, tab,\n"
    "                 =, tab, system name; GBK), so aliases apply.\n",
    runOperand});

const CommandRegistration crc16Command({
    "crc16", "compute the check value of bytes",
    "usage: tarn crc16 HEX\n\n"
    "Prints the two check bytes (CRC-16/MODBUS) of the given bytes as they are\n"
    "stored in images and frames, the low byte of the CRC first:\n"
    "  tarn crc16 \"31 32 33 34 35 36 37 38 39\"   ->   37 4B\n",
    runCrc16});

}  // namespace

}  // namespace orlo::cli
