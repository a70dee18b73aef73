// Rule-level comparison: alignment of inserted, removed and changed lines,
// what counts as a change, and the name block.
#include <gtest/gtest.h>

#include "ui/program_diff.h"

namespace orlo {
namespace {

using Kind = LineDifference::Kind;

// Condition kind 1: "输入N  断开" for input N (5 bytes stored).
ProgramLine input(int n, const std::string& remark = "")
{
    ProgramLine l;
    l.instruction[0] = 1;
    l.instruction[1] = static_cast<std::uint8_t>(n);
    l.instruction[2] = 1;
    l.remark = remark;
    return l;
}

ProgramSection sectionOf(std::initializer_list<int> inputs)
{
    ProgramSection s;
    for (int n : inputs)
        s.lines.push_back(input(n));
    return s;
}

struct Expected {
    Kind kind;
    unsigned lineA, lineB;
};

struct AlignCase {
    const char* name;
    std::initializer_list<int> a, b;
    std::vector<Expected> expected;
};

class DiffTest : public ::testing::Test {
protected:
    NameTable namesA, namesB;
};

TEST_F(DiffTest, LinesAlignByLongestCommonSubsequence)
{
    const AlignCase cases[] = {
        {"same", {1, 2, 3}, {1, 2, 3}, {}},
        {"inserted first", {1, 2, 3}, {9, 1, 2, 3}, {{Kind::Inserted, 0, 1}}},
        {"inserted inside", {1, 2, 3, 4}, {1, 2, 9, 3, 4}, {{Kind::Inserted, 0, 3}}},
        {"removed last", {1, 2, 3}, {1, 2}, {{Kind::Removed, 3, 0}}},
        {"changed inside", {1, 2, 3}, {1, 8, 3}, {{Kind::Changed, 2, 2}}},
        {"changed and inserted",
         {1, 2, 3, 4},
         {1, 8, 9, 3, 4},
         {{Kind::Changed, 2, 2}, {Kind::Inserted, 0, 3}}},
        {"moved line", {1, 2, 3}, {2, 3, 1}, {{Kind::Removed, 1, 0}, {Kind::Inserted, 0, 3}}},
        {"all new", {}, {5, 6}, {{Kind::Inserted, 0, 1}, {Kind::Inserted, 0, 2}}},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<LineDifference> d =
            diffSections(3, sectionOf(c.a), namesA, sectionOf(c.b), namesB);
        ASSERT_EQ(d.size(), c.expected.size());
        for (std::size_t i = 0; i < d.size(); ++i) {
            EXPECT_EQ(d[i].kind, c.expected[i].kind) << i;
            EXPECT_EQ(d[i].lineA, c.expected[i].lineA) << i;
            EXPECT_EQ(d[i].lineB, c.expected[i].lineB) << i;
            EXPECT_EQ(d[i].sectionId, 3);
        }
    }
}

TEST_F(DiffTest, LongSectionsChangedAtBothEndsStillAlign)
{
    ProgramSection a;
    for (int k = 0; k < 3000; ++k)
        a.lines.push_back(input(k % 200 + 1, std::to_string(k)));
    ProgramSection b = a;
    b.lines[4].remark = "x";
    b.lines[2990].remark = "y";
    b.lines.insert(b.lines.begin() + 1500, input(250));
    std::vector<LineDifference> d = diffSections(0, a, namesA, b, namesB);
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[1].kind, Kind::Inserted);
    EXPECT_EQ(d[1].lineB, 1501u);
    EXPECT_EQ(d[2].lineA, 2991u);
}

TEST_F(DiffTest, InsertedLineInFunctionAndChangedRemarkAreTwoChanges)
{
    Program a, b;
    for (int n = 1; n <= 6; ++n)
        a.main.lines.push_back(input(n, "r"));
    a.functions[4] = sectionOf({1, 2, 3, 4, 5});
    a.threads[1] = sectionOf({7});
    b = a;
    b.functions[4].lines.insert(b.functions[4].lines.begin() + 2, input(40));
    b.main.lines[3].remark = "新备注";

    ProgramDifferences d = diffPrograms(a, namesA, b, namesB);
    ASSERT_EQ(d.lines.size(), 2u);
    EXPECT_FALSE(d.namesDiffer);
    EXPECT_EQ(d.lines[0].kind, Kind::Changed);
    EXPECT_EQ(d.lines[0].sectionId, 0);
    EXPECT_EQ(d.lines[0].lineA, 4u);
    EXPECT_NE(d.lines[0].rowB.find("备注:新备注"), std::string::npos) << d.lines[0].rowB;
    EXPECT_TRUE(d.lines[0].bytesA.empty()) << "texts differ, so no bytes are shown";
    EXPECT_EQ(d.lines[1].kind, Kind::Inserted);
    EXPECT_EQ(d.lines[1].sectionId, 5);
    EXPECT_EQ(d.lines[1].lineB, 3u);

    std::vector<std::string> report = differenceReport(d);
    EXPECT_EQ(report[0], "主程序:4: changed");
    EXPECT_EQ(report[3], "函数5:3: inserted");
    EXPECT_EQ(report[4].substr(0, 7), "  + 3: ");
}

TEST_F(DiffTest, StoredFormDecidesAndSameTextShowsTheBytes)
{
    ProgramSection a = sectionOf({1, 2}), b = a;
    // Bytes past the catalogue length are not stored: no change.
    b.lines[1].instruction[40] = 0x77;
    EXPECT_TRUE(diffSections(0, a, namesA, b, namesB).empty());
    // The first line of a rule reads "如果" whatever its OR flag, but the
    // flag is stored: a change whose rows agree, shown by its bytes.
    b.lines[0].orElse = 1;
    std::vector<LineDifference> d = diffSections(0, a, namesA, b, namesB);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].rowA, d[0].rowB);
    EXPECT_EQ(d[0].bytesA, "05 00 01 01 01");
    EXPECT_EQ(d[0].bytesB, "05 40 01 01 01");
}

TEST_F(DiffTest, NameBlocksAreComparedAndRowsUseEachSidesAliases)
{
    Program a, b;
    a.main = sectionOf({3});
    b.main = a.main;
    ASSERT_EQ(namesA.rename("输入3", "门磁"), "");
    ASSERT_EQ(namesB.rename("输入3", "窗磁"), "");
    ProgramDifferences d = diffPrograms(a, namesA, b, namesB);
    EXPECT_TRUE(d.lines.empty()) << "aliases do not change the lines";
    EXPECT_TRUE(d.namesDiffer);
    EXPECT_EQ(d.namesOnlyA, std::vector<std::string>{"门磁\t=\t输入3"});
    EXPECT_EQ(d.namesOnlyB, std::vector<std::string>{"窗磁\t=\t输入3"});

    b.main.lines[0].remark = "x";
    d = diffPrograms(a, namesA, b, namesB);
    ASSERT_EQ(d.lines.size(), 1u);
    EXPECT_NE(d.lines[0].rowA.find("门磁"), std::string::npos);
    EXPECT_NE(d.lines[0].rowB.find("窗磁"), std::string::npos);
    EXPECT_EQ(names().usedCount(), 0) << "the process-wide table is put back";
}

}  // namespace
}  // namespace orlo
