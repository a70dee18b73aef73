// tarn names: check a name table text file, and list, set, export and import
// the aliases a program file carries in its name block. A program file is
// written only when the change was accepted, and only its name block (with
// the header's length and check value) changes; every other byte stays.
#include <cstdio>
#include <memory>

#include "cli/command.h"
#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/crc16.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

constexpr std::size_t kMaxTextBytes = 2000000;
const char kReset[] = "已复位";

const char kUsage[] =
    "usage: tarn names check FILE.txt\n"
    "       tarn names list FILE.qv3\n"
    "       tarn names set FILE.qv3 SYSTEM ALIAS\n"
    "       tarn names export FILE.qv3 OUT.txt\n"
    "       tarn names import FILE.qv3 IN.txt [--append]\n";

// A program file read whole: its bytes and the aliases of its name block.
struct ProgramFile {
    std::string path;
    std::string bytes;
    std::unique_ptr<NameTable> names = std::make_unique<NameTable>();
};

// The image length its header gives (checkImage has vouched for it).
std::size_t imageLength(std::string_view bytes)
{
    ByteReader r(bytes.substr(2));
    return r.u32be();
}

bool readText(const Cli& cli, const std::string& path, std::string& text)
{
    std::string error;
    if (!readFilePrefix(cli.path(path), kMaxTextBytes, text, error)) {
        cli.error("tarn: " + path + ": " + error);
        return false;
    }
    // A name table text ends at its first zero byte, as the naming window reads it.
    text = text.substr(0, text.find('\0'));
    return true;
}

bool readProgram(const Cli& cli, const std::string& path, ProgramFile& file)
{
    file.path = path;
    std::string error;
    if (!readFilePrefix(cli.path(path), kMaxImageBytes + 1, file.bytes, error)) {
        cli.error("tarn: " + path + ": " + error);
        return false;
    }
    if (!checkImage(file.bytes)) {
        cli.error("tarn: " + path + ": 文件已损坏（长度、校验或格式标记错误）");
        return false;
    }
    auto program = std::make_unique<Program>();
    parseImage(*program, *file.names, file.bytes);
    return true;
}

// The image with its name block replaced by one holding text (removed when
// text is empty; appended after the last block when there was none). Bytes
// after the image's length stay where they were.
std::string withNameBlock(const std::string& bytes, const std::string& text)
{
    const std::size_t total = imageLength(bytes);
    std::string block;
    if (!text.empty()) {
        ByteWriter w;
        w.u32be(static_cast<std::uint32_t>(text.size() + kBlockHeaderBytes));
        w.u16be(kNameBlockId);
        block = w.data() + text;
    }
    std::string out = bytes.substr(0, kImageHeaderBytes);
    bool placed = false;
    std::size_t offset = kImageHeaderBytes;
    while (offset + kBlockHeaderBytes <= total) {
        ByteReader r(std::string_view(bytes).substr(offset, total - offset));
        const std::uint32_t length = r.u32be();
        const unsigned id = r.u16be();
        if (length < kBlockHeaderBytes || length > total - offset)
            break;
        if (id != kNameBlockId) {
            out += bytes.substr(offset, length);
        } else if (!placed) {
            out += block;
            placed = true;
        }
        offset += length;
    }
    // Whatever follows the last readable block is kept, then the new block.
    out += bytes.substr(offset, total - offset);
    if (!placed)
        out += block;

    ByteWriter length;
    length.u32be(static_cast<std::uint32_t>(out.size()));
    out.replace(2, 4, length.data());
    Crc16 c = crc16(reinterpret_cast<const std::uint8_t*>(out.data()) + 2, out.size() - 2);
    out[0] = static_cast<char>(c.hi);
    out[1] = static_cast<char>(c.lo);
    return out + bytes.substr(total);
}

int writeProgram(const Cli& cli, const ProgramFile& file)
{
    const std::string image = withNameBlock(file.bytes, file.names->exportText());
    if (imageLength(image) > kMaxImageBytes) {
        cli.error("tarn: " + file.path + ": the program would be longer than 200000 bytes");
        return 1;
    }
    std::string error;
    if (!writeFileSafely(cli.path(file.path), image, error)) {
        cli.error("tarn: " + file.path + ": " + error);
        return 1;
    }
    return 0;
}

int runCheck(const Cli& cli, const std::vector<std::string>& pos)
{
    std::string text;
    if (!readText(cli, pos[1], text))
        return 1;
    NameTable table;
    cli.print(table.importText(text));
    std::string out = table.exportText();
    if (!cli.rawGbk)
        out = gbkToUtf8(out);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int runList(const Cli& cli, const std::vector<std::string>& pos)
{
    ProgramFile file;
    if (!readProgram(cli, pos[1], file))
        return 1;
    for (int i = 0; i < file.names->usedCount(); ++i) {
        const NameTable::Slot& s = file.names->slot(i);
        if (!s.systemName.empty())
            cli.print(s.alias + "\t" + s.systemName);
    }
    return 0;
}

int runSet(const Cli& cli, const std::vector<std::string>& pos)
{
    if (!cli.text({pos[2], pos[3]}))
        return 2;
    ProgramFile file;
    if (!readProgram(cli, pos[1], file))
        return 1;
    const std::string message = file.names->rename(pos[2], pos[3]);
    if (!message.empty() && message != kReset) {
        cli.error("tarn: " + message);
        return 1;
    }
    if (!message.empty())
        cli.print(message);
    return writeProgram(cli, file);
}

int runExport(const Cli& cli, const std::vector<std::string>& pos)
{
    ProgramFile file;
    if (!readProgram(cli, pos[1], file))
        return 1;
    if (pos[2] == pos[1]) {
        cli.error("tarn: " + pos[2] + ": the output would replace the program file");
        return 1;
    }
    std::string error;
    if (!writeFileSafely(cli.path(pos[2]), file.names->exportText(), error)) {
        cli.error("tarn: " + pos[2] + ": " + error);
        return 1;
    }
    return 0;
}

int runImport(const Cli& cli, const std::vector<std::string>& pos, bool append)
{
    ProgramFile file;
    std::string text;
    if (!readProgram(cli, pos[1], file) || !readText(cli, pos[2], text))
        return 1;
    if (!append)
        file.names->clear();
    const std::string message = file.names->importText(text);
    if (!message.empty()) {
        cli.error("tarn: " + pos[2] + ": " + message);
        return 1;
    }
    return writeProgram(cli, file);
}

int runNames(Cli& cli)
{
    const bool append = cli.takeFlag("append");
    if (cli.unknownOption())
        return 2;
    const std::vector<std::string> pos = cli.positionals();
    const std::string sub = pos.empty() ? std::string() : pos[0];
    const struct {
        const char* name;
        std::size_t count;
    } shapes[] = {{"check", 2}, {"list", 2}, {"set", 4}, {"export", 3}, {"import", 3}};
    bool known = false;
    for (const auto& s : shapes)
        known = known || (sub == s.name && pos.size() == s.count && (!append || sub == "import"));
    if (!known) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (sub == "check")
        return runCheck(cli, pos);
    if (sub == "list")
        return runList(cli, pos);
    if (sub == "set")
        return runSet(cli, pos);
    if (sub == "export")
        return runExport(cli, pos);
    return runImport(cli, pos, append);
}

const CommandRegistration namesCommand({
    "names", "check name table files; list, set, export and import a program's aliases",
    "usage: tarn names check FILE.txt\n"
    "       tarn names list FILE.qv3\n"
    "       tarn names set FILE.qv3 SYSTEM ALIAS\n"
    "       tarn names export FILE.qv3 OUT.txt\n"
    "       tarn names import FILE.qv3 IN.txt [--append]\n\n"
    "A name table text has lines of alias, tab, =, tab, system name (GBK, lines\n"
    "ending CR LF), as the naming window imports and exports them.\n\n"
    "  check    imports FILE.txt into an empty table as the naming window does;\n"
    "           prints the message the import returned on the first line (an\n"
    "           empty line when every line was accepted), then the table as it\n"
    "           would be exported.\n"
    "  list     prints every alias of the program file, ALIAS<TAB>SYSTEM.\n"
    "  set      gives resource SYSTEM (整数5, 全局整数3 ...) the alias ALIAS with\n"
    "           the naming window's rules and messages; an empty ALIAS (\"\")\n"
    "           removes the alias.\n"
    "  export   writes the program's aliases to OUT.txt as a name table text.\n"
    "  import   replaces the program's aliases with those of IN.txt; with\n"
    "           --append adds them to the ones it has.\n\n"
    "set and import write the program file only when every line was accepted,\n"
    "and change nothing in it but its name block. Exit status 1 and the message\n"
    "when a name is refused or a file cannot be read or written.\n",
    runNames});

}  // namespace

}  // namespace orlo::cli
