// tarn check and tarn dump: verify a program or function file, and show its
// bytes as header, blocks and stored lines. Whether the file loads is decided
// by the readers the main window's Open and Import use; both commands report
// that decision and take their exit status from it.
#include <cstdio>

#include "cli/command.h"
#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/crc16.h"
#include "model/files.h"
#include "model/image.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

constexpr std::size_t kMaxDumpBytes = 2000000;

std::string sectionName(unsigned id)
{
    if (id == kMainSectionId)
        return "主程序";
    if (id >= 1 && id <= kFunctionCount)
        return format("函数%u", id);
    if (id > kThreadIdBase && id <= kThreadIdBase + kThreadCount)
        return format("线程%u", id - kThreadIdBase);
    if (id == kNameBlockId)
        return "名称";
    return "未知";
}

// Prints the stored lines of one block body; stops where a reader would.
void dumpLines(const Cli& cli, std::string_view body, std::size_t baseOffset)
{
    std::size_t p = 0;
    while (p < body.size()) {
        const unsigned l = static_cast<std::uint8_t>(body[p]);
        if (l < 2 || p + l > body.size()) {
            cli.print(format("    @%u  length %u: cannot be read on; the block ends here",
                             static_cast<unsigned>(baseOffset + p), l));
            return;
        }
        const unsigned flags = static_cast<std::uint8_t>(body[p + 1]);
        const unsigned r = flags & 0x3F;
        const unsigned instr = r < l && l - r >= 2 ? l - r - 2 : 0;
        std::string line = format("    @%u  length %u  %s%s  remark %u  ", static_cast<unsigned>(baseOffset + p), l,
                                  flags & 0x80 ? "result" : "condition",
                                  flags & 0x40 ? (flags & 0x80 ? " else" : " or") : "", r);
        line += hexText(std::string(body.substr(p + 2, instr)));
        if (r && r < l)
            line += "  \"" + oneLine(std::string(body.substr(p + l - r, r))) + "\"";
        cli.print(line);
        p += l;
    }
}

void dumpBlock(const Cli& cli, std::string_view block, std::size_t offset)
{
    ByteReader r(block);
    const std::uint32_t length = r.u32be();
    const unsigned id = r.u16be();
    cli.print(format("  block @%u  length %u  id %u (%s)", static_cast<unsigned>(offset), length, id,
                     sectionName(id).c_str()));
    std::string_view body = block.substr(std::min<std::size_t>(6, block.size()));
    if (id == kNameBlockId) {
        std::string text(body);
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            if (end == std::string::npos)
                end = text.size();
            cli.print("    " + oneLine(text.substr(at, end - at)));
            at = end + 2;
        }
    } else {
        dumpLines(cli, body, offset + 6);
    }
}

// The last line of a dump: what Open (a program file) or Import (a function
// file) decides. Exit status 0 only when the file loads.
int printVerdict(const Cli& cli, const FileReading& reading)
{
    if (reading.verdict == FileVerdict::Loaded) {
        cli.print("verdict: loads");
        return 0;
    }
    cli.print("verdict: not loaded: " + verdictText(reading));
    return 1;
}

bool readPrefix(const Cli& cli, const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    std::string error;
    if (!readFilePrefix(cli.path(path), maxBytes, bytes, error)) {
        cli.error("tarn: " + path + ": " + error);
        return false;
    }
    return true;
}

int dumpProgram(const Cli& cli, const std::string& path)
{
    std::string bytes;
    if (!readPrefix(cli, path, kImageHeaderBytes, bytes))
        return 1;
    ByteReader r(bytes);
    const unsigned hi = r.u8(), lo = r.u8();
    const std::uint32_t total = r.u32be();
    const std::string marks = bytes.substr(std::min<std::size_t>(6, bytes.size()), 4);
    cli.print(format("header: check %02X %02X  length %u  marks %s", hi, lo, total,
                     hexText(marks).c_str()));
    const FileReading reading = readProgramFile(cli.path(path));
    if (!r.ok())
        return printVerdict(cli, reading);
    if (total < kImageHeaderBytes || total > kMaxDumpBytes) {
        cli.print(format("image: a length of %u is outside 16 to %u; not shown", total,
                         static_cast<unsigned>(kMaxDumpBytes)));
        return printVerdict(cli, reading);
    }
    if (!readPrefix(cli, path, total, bytes))
        return 1;
    if (bytes.size() < total)
        cli.print(format("image: the file holds %u of its %u bytes; check not computed",
                         static_cast<unsigned>(bytes.size()), total));
    else
        cli.print(format("image: %u bytes, check %s", total, imageCheckMatches(bytes) ? "right" : "WRONG"));
    const std::size_t end = std::min<std::size_t>(total, bytes.size());
    std::size_t offset = kImageHeaderBytes;
    while (offset + kBlockHeaderBytes <= end) {
        ByteReader b(std::string_view(bytes).substr(offset));
        const std::uint32_t length = b.u32be();
        if (length < kBlockHeaderBytes || length > end - offset) {
            cli.print(format("  block @%u  length %u: cannot be read on; the image ends here",
                             static_cast<unsigned>(offset), length));
            break;
        }
        dumpBlock(cli, std::string_view(bytes).substr(offset, length), offset);
        offset += length;
    }
    return printVerdict(cli, reading);
}

int dumpFunction(const Cli& cli, const std::string& path)
{
    const FileReading reading = readFunctionFile(cli.path(path));
    std::string bytes;
    if (!readPrefix(cli, path, 6, bytes))
        return 1;
    if (bytes.size() < 6) {
        cli.print(format("function file: %u bytes, no block", static_cast<unsigned>(bytes.size())));
        return printVerdict(cli, reading);
    }
    ByteReader r(bytes);
    const unsigned check = r.u16be();
    const std::uint32_t length = r.u32be();
    if (length > kMaxDumpBytes) {
        cli.print(format("function file: check %04X, block length %u: larger than any reader takes; not shown",
                         check, length));
        return printVerdict(cli, reading);
    }
    if (!readPrefix(cli, path, std::size_t{length} + 2, bytes))
        return 1;
    const bool whole = std::size_t{length} + 2 <= bytes.size() && length >= kBlockHeaderBytes;
    const char* checked = !whole ? "not computed"
                          : functionFileCheck(crc16(bytes.substr(2, length))) == check ? "right"
                                                                                        : "WRONG";
    cli.print(format("function file: check %04X (%s), block length %u, %u bytes", check, checked, length,
                     static_cast<unsigned>(bytes.size())));
    dumpBlock(cli, std::string_view(bytes).substr(2, whole ? length : bytes.size() - 2), 2);
    return printVerdict(cli, reading);
}

int runDump(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 1) {
        std::fprintf(stderr, "usage: tarn dump FILE\n");
        return 2;
    }
    return endsWith(pos[0], kFunctionExtension) ? dumpFunction(cli, pos[0]) : dumpProgram(cli, pos[0]);
}

int runCheck(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.size() != 1) {
        std::fprintf(stderr, "usage: tarn check FILE\n");
        return 2;
    }
    const std::string& path = pos[0];
    if (!endsWith(path, kFunctionExtension) && !endsWith(path, kProgramExtension)) {
        cli.error("tarn: " + path + ": not a program file (.qv3) or function file (.hanshu)");
        return 1;
    }
    ProgramSection section;
    bool isFunction = false;
    if (!loadProgramOrFunction(cli, path, section, isFunction))
        return 1;
    cli.print(format("程序大小：%u 字节", isFunction ? blockSize(section) : imageSize()));
    return 0;
}

}  // namespace

bool loadProgramOrFunction(const Cli& cli, const std::string& path, ProgramSection& section,
                           bool& isFunction)
{
    isFunction = endsWith(path, kFunctionExtension);
    const FileReading reading =
        isFunction ? readFunctionFile(cli.path(path)) : readProgramFile(cli.path(path));
    if (reading.verdict != FileVerdict::Loaded) {
        cli.error("tarn: " + path + ": " + verdictText(reading));
        return false;
    }
    if (isFunction) {
        parseBlock(section, std::string_view(reading.bytes).substr(2));
        // Readers ignore the block id; it is kept for tools that write the
        // section out again.
        section.id = static_cast<std::uint8_t>(reading.bytes[6]) << 8 |
                     static_cast<std::uint8_t>(reading.bytes[7]);
    } else {
        parseImage(program(), names(), reading.bytes);
    }
    return true;
}

namespace {

const CommandRegistration dumpCommand({
    "dump", "show the bytes of a program or function file",
    "usage: tarn dump FILE\n\n"
    "Shows a program file (.qv3) as its header, its blocks (offset, length,\n"
    "id and section) and the stored lines of each block (offset, stored\n"
    "length, condition or result, or/else flag, remark length, instruction\n"
    "bytes, remark); a function file (.hanshu) as its check and its block.\n"
    "Reading stops where a damaged length makes it impossible to go on.\n"
    "The last line says whether the tool loads the file (verdict: loads) or\n"
    "why not, as Open (.qv3) and Import (.hanshu) decide; exit status 1 when\n"
    "it does not load.\n",
    runDump});

const CommandRegistration checkCommand({
    "check", "verify a program or function file and print its size",
    "usage: tarn check FILE\n\n"
    "Verifies a program file (.qv3: length, check value) or a function file\n"
    "(.hanshu: length, check value) as Open and Import do before loading it,\n"
    "and prints the size figure the main window shows\n"
    "(程序大小：N 字节). Exit status 1 and a message for a bad file.\n",
    runCheck});

}  // namespace

}  // namespace orlo::cli
