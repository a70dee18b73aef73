// The one program in memory: lines, the sections they live in (main program,
// functions 1 to 100, threads 1 to 100) and the clipboard section that every
// list shares. Process-wide, created before the main window, replaced as a
// whole by New, Open and reading from the controller.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orlo {

constexpr int kInstructionBytes = 256;
constexpr int kFunctionCount = 100;
constexpr int kThreadCount = 100;

// Section ids as the image stores them.
constexpr int kMainSectionId = 0;
constexpr int kThreadIdBase = 500;   // thread n has id 500 + n
constexpr int kNameBlockId = 1002;

// One condition or result. A plain value: copying copies every field.
struct ProgramLine {
    std::string label;            // row label the list last gave it; never stored
    std::uint8_t isResult = 0;    // 0 condition, 1 result
    std::uint8_t orElse = 0;      // condition: OR with the one before; result: when not met
    std::uint8_t reserved = 0;
    std::array<std::uint8_t, kInstructionBytes> instruction{};  // kind, param1, param2, param3...
    std::string remark;           // GBK, any length in memory; 63 bytes stored

    std::uint8_t kind() const { return instruction[0]; }
    std::uint8_t param1() const { return instruction[1]; }
    std::uint8_t param2() const { return instruction[2]; }
    const std::uint8_t* param3() const { return instruction.data() + 3; }
    std::uint8_t* param3() { return instruction.data() + 3; }

    bool operator==(const ProgramLine& o) const;
    bool operator!=(const ProgramLine& o) const { return !(*this == o); }
};

// An ordered list of lines with its block id. Indexes are 0-based; an index
// that is not below count() names no line.
class ProgramSection {
public:
    std::vector<ProgramLine> lines;
    std::int32_t id = 0;
    std::string fileExtension = ".hanshu";

    void clear() { lines.clear(); }
    unsigned count() const { return static_cast<unsigned>(lines.size()); }
    bool empty() const { return lines.empty(); }
    // A copy of the line, or the empty line when index is not below count.
    ProgramLine lineAt(unsigned index) const;
    void replaceAt(unsigned index, const ProgramLine& line);
    // Inserts after index; appends when the section is empty or index is not
    // below count (index -1 passed as unsigned appends too).
    void insertAfter(unsigned index, const ProgramLine& line);
    // Insert before position; position >= count appends.
    void insertAt(unsigned position, const ProgramLine& line);
    void insertRange(unsigned position, const std::vector<ProgramLine>& range);
    // Removes the listed lines; out-of-range indexes and repeats are ignored.
    void removeIndices(const std::vector<unsigned>& indexes);
};

class Program {
public:
    ProgramSection main;
    std::array<ProgramSection, kFunctionCount> functions;  // function n at [n - 1]
    std::array<ProgramSection, kThreadCount> threads;      // thread n at [n - 1]
    ProgramSection clipboard;

    // 0 main, 1..100 function n, 501..600 thread n - 500; nullptr otherwise.
    ProgramSection* sectionById(int id);
    const ProgramSection* sectionById(int id) const;
    // The line, or the empty line for an unknown id or index.
    ProgramLine lineAt(int id, unsigned index) const;
    // Empties main, functions and threads (not the clipboard).
    void clearSections();
};

// The process-wide program.
Program& program();

// Empties main, all functions and threads and every alias slot of the name
// table. The clipboard keeps its lines.
void clearProgram();

}  // namespace orlo
