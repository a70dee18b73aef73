// Fuzz target: "tarn names import" on a program file. The input is the name
// table the program carries, a zero byte, then the text to import. When the
// import is taken, the rewritten image must pass its check, carry exactly
// the imported table and keep its program lines.
#include <cstdint>
#include <string>

// The command's own functions (they live in an unnamed namespace).
#include "cli/cmd_names.cpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orlo;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string carried = input.substr(0, zero);
    const std::string text = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    auto program = std::make_unique<Program>();
    ProgramLine line;
    line.instruction[0] = 1;
    line.remark = "r";
    program->main.lines.push_back(line);
    NameTable names;
    names.importText(carried);
    const std::string image = buildImage(*program, names);

    NameTable table;
    if (!table.importText(text).empty())
        return 0;  // refused: the command writes nothing
    const std::string out = cli::withNameBlock(image, table.exportText());
    if (cli::imageLength(out) > kMaxImageBytes)
        return 0;  // refused as too long
    if (!checkImage(out))
        __builtin_trap();
    auto back = std::make_unique<Program>();
    NameTable backNames;
    parseImage(*back, backNames, out);
    if (backNames.exportText() != table.exportText() || back->main.lines.size() != 1 ||
        back->main.lines[0].remark != "r")
        __builtin_trap();
    return 0;
}
