// Rule-level comparison of two programs (or two sections): which lines were
// inserted, removed or changed, each shown as the program list shows it, and
// whether the name blocks agree. Used by tarn diff, by verifying the
// controller's program against a file, and by the main window's 校验.
//
// Sections are matched by id. Within a section, lines are aligned by a
// longest common subsequence over their stored form (flags, instruction bytes
// up to the catalogue length, stored remark), so one inserted line shows as
// one insertion and not as every later line changed. What is compared is what
// a program file or the controller holds: instruction bytes past a line's
// catalogue length, and remark bytes past the 63 that are stored, are not.
// When the changed middle of a section would need more than 64 million
// comparisons (some 8000 by 8000 lines), its lines are paired in order
// instead, which still reports every difference but may pair them less well.
#pragma once

#include <string>
#include <vector>

#include "expr/names.h"
#include "model/program.h"

namespace orlo {

struct LineDifference {
    enum class Kind { Changed, Inserted, Removed };
    Kind kind = Kind::Changed;
    int sectionId = 0;
    unsigned lineA = 0, lineB = 0;  // 1-based; 0 on the side that has no line
    std::string rowA, rowB;         // the rows as the list shows them (GBK)
    // The stored forms as hex, only when the rows read the same but the
    // bytes differ (a flag, a byte the text does not show).
    std::string bytesA, bytesB;
};

struct ProgramDifferences {
    std::vector<LineDifference> lines;
    // Alias lines ("alias\t=\tsystem") found on one side only; namesDiffer
    // also when only their order differs.
    bool namesDiffer = false;
    std::vector<std::string> namesOnlyA, namesOnlyB;

    bool identical() const { return lines.empty() && !namesDiffer; }
};

// "主程序", "函数N", "线程N" for a section id.
std::string sectionLabel(int sectionId);

// Compares one section of A with one of B; rows are rendered with each side's
// name table. The result's sectionId is the given id.
std::vector<LineDifference> diffSections(int sectionId, const ProgramSection& a,
                                         const NameTable& namesA, const ProgramSection& b,
                                         const NameTable& namesB);

// Compares main program, functions, threads and name tables.
ProgramDifferences diffPrograms(const Program& a, const NameTable& namesA, const Program& b,
                                const NameTable& namesB);

// The differences as text lines (GBK): for each line difference a heading
// "SECTION:LINE: changed|inserted|removed" (LINE of A, of B for an insertion),
// then "  - N: ROW" / "  + N: ROW", then "  bytes - HEX" / "  bytes + HEX"
// when the rows agree; the name block as "names: differ" and "  - ALIAS = NAME"
// lines. At most maxDifferences are written (0: all), then "... N more".
std::vector<std::string> differenceReport(const ProgramDifferences& differences,
                                          std::size_t maxDifferences = 0);

}  // namespace orlo
