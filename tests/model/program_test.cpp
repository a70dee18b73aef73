// Sections and the program: insertion, removal, lookup by id, clearing.
#include <gtest/gtest.h>

#include "expr/names.h"
#include "model/program.h"

namespace orlo {
namespace {

ProgramLine lineOfKind(int kind)
{
    ProgramLine l;
    l.instruction[0] = static_cast<std::uint8_t>(kind);
    return l;
}

std::vector<int> kinds(const ProgramSection& s)
{
    std::vector<int> out;
    for (const ProgramLine& l : s.lines)
        out.push_back(l.kind());
    return out;
}

ProgramSection fiveLines()
{
    ProgramSection s;
    for (int k = 0; k < 5; ++k)
        s.lines.push_back(lineOfKind(10 + k));
    return s;
}

TEST(ProgramSection, ReadPastTheEndGivesTheEmptyLine)
{
    ProgramSection s = fiveLines();
    s.lines[0].remark = "x";
    EXPECT_EQ(s.lineAt(5), ProgramLine{});
    EXPECT_EQ(s.lineAt(0xFFFFFFFFu), ProgramLine{});
    EXPECT_EQ(s.lineAt(0).kind(), 10);
    EXPECT_EQ(s.lineAt(0).remark, "x");
}

TEST(ProgramSection, InsertAfterMinusOneAppends)
{
    ProgramSection s = fiveLines();
    s.insertAfter(static_cast<unsigned>(-1), lineOfKind(99));
    EXPECT_EQ(kinds(s), (std::vector<int>{10, 11, 12, 13, 14, 99}));

    ProgramSection empty;
    empty.insertAfter(static_cast<unsigned>(-1), lineOfKind(99));
    EXPECT_EQ(kinds(empty), (std::vector<int>{99}));
    empty.clear();
    empty.insertAfter(3, lineOfKind(98));
    EXPECT_EQ(kinds(empty), (std::vector<int>{98}));
}

TEST(ProgramSection, InsertPositions)
{
    struct Case {
        const char* what;
        void (*apply)(ProgramSection&);
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"after first", [](ProgramSection& s) { s.insertAfter(0, lineOfKind(99)); },
         {10, 99, 11, 12, 13, 14}},
        {"after last", [](ProgramSection& s) { s.insertAfter(4, lineOfKind(99)); },
         {10, 11, 12, 13, 14, 99}},
        {"at 0", [](ProgramSection& s) { s.insertAt(0, lineOfKind(99)); },
         {99, 10, 11, 12, 13, 14}},
        {"at count", [](ProgramSection& s) { s.insertAt(5, lineOfKind(99)); },
         {10, 11, 12, 13, 14, 99}},
        {"at beyond count", [](ProgramSection& s) { s.insertAt(50, lineOfKind(99)); },
         {10, 11, 12, 13, 14, 99}},
        {"range keeps order",
         [](ProgramSection& s) { s.insertRange(2, {lineOfKind(97), lineOfKind(98)}); },
         {10, 11, 97, 98, 12, 13, 14}},
        {"replace", [](ProgramSection& s) { s.replaceAt(4, lineOfKind(99)); },
         {10, 11, 12, 13, 99}},
        {"replace past end does nothing", [](ProgramSection& s) { s.replaceAt(5, lineOfKind(99)); },
         {10, 11, 12, 13, 14}},
    };
    for (const Case& c : cases) {
        ProgramSection s = fiveLines();
        c.apply(s);
        EXPECT_EQ(kinds(s), c.expected) << c.what;
    }
}

TEST(ProgramSection, RemoveIndicesKeepsTheOthersInOrder)
{
    ProgramSection s = fiveLines();
    s.removeIndices({0, 2});
    EXPECT_EQ(kinds(s), (std::vector<int>{11, 13, 14}));

    s = fiveLines();
    s.removeIndices({4, 1, 9, 1});  // unsorted, out of range, repeated
    EXPECT_EQ(kinds(s), (std::vector<int>{10, 12, 13}));
}

TEST(ProgramLine, CopiesEveryFieldIncludingLongRemarks)
{
    ProgramLine l = lineOfKind(3);
    l.remark = std::string(100, 'r');
    l.instruction[255] = 7;
    l.orElse = 1;
    ProgramSection s;
    s.insertAfter(0, l);
    EXPECT_EQ(s.lineAt(0).remark.size(), 100u);
    EXPECT_EQ(s.lineAt(0), l);
}

TEST(Program, SectionsById)
{
    Program p;
    EXPECT_EQ(p.sectionById(0), &p.main);
    EXPECT_EQ(p.sectionById(1), &p.functions[0]);
    EXPECT_EQ(p.sectionById(100), &p.functions[99]);
    EXPECT_EQ(p.sectionById(501), &p.threads[0]);
    EXPECT_EQ(p.sectionById(600), &p.threads[99]);
    for (int bad : {-1, 101, 500, 601, 700, 1002})
        EXPECT_EQ(p.sectionById(bad), nullptr) << bad;

    p.threads[6].lines.push_back(lineOfKind(5));
    EXPECT_EQ(p.lineAt(507, 0).kind(), 5);
    EXPECT_EQ(p.lineAt(700, 0), ProgramLine{});
}

TEST(Program, ClearProgramKeepsTheClipboard)
{
    Program& p = program();
    p.main.lines.push_back(lineOfKind(1));
    p.functions[99].lines.push_back(lineOfKind(2));
    p.threads[0].lines.push_back(lineOfKind(3));
    p.clipboard.lines.push_back(lineOfKind(4));
    names().rename("整数5", "温度");
    ASSERT_EQ(names().usedCount(), 1);

    clearProgram();
    EXPECT_TRUE(p.main.empty());
    EXPECT_TRUE(p.functions[99].empty());
    EXPECT_TRUE(p.threads[0].empty());
    EXPECT_EQ(p.clipboard.count(), 1u);
    EXPECT_EQ(names().usedCount(), 0);
    EXPECT_EQ(names().exportText(), "");
    p.clipboard.clear();
}

}  // namespace
}  // namespace orlo
