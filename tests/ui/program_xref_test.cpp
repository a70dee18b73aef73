// Cross-reference and lint: the resources found in what the list shows of a
// line, and the warnings on a program built for the purpose.
#include <gtest/gtest.h>

#include "platform/strings.h"
#include "ui/program_xref.h"

namespace orlo {
namespace {

ProgramLine line(bool isResult, const std::string& hex)
{
    ProgramLine l;
    l.isResult = isResult;
    std::string bytes;
    EXPECT_TRUE(parseHexText(hex, bytes)) << hex;
    std::copy(bytes.begin(), bytes.end(), l.instruction.begin());
    return l;
}

const std::string kCallFunction3 = "0C 01 03";
const std::string kStartThread1 = "24 01 07 08 08 07 06 01 00 00 00 01";
std::string kInput(int n) { return format("01 %02X 01", n); }

TEST(Xref, ResourcesAreThoseTheLineShows)
{
    struct Case {
        const char* what;
        bool isResult;
        std::string hex;
        std::vector<std::string> expected;
    } cases[] = {
        {"condition on an input", false, kInput(7), {"输入7"}},
        {"expression: integer, global array, array element, parameter", true,
         "1E 01 01 29 29 04 03 02 02 02 01 22 05 64 5B 23 03 06 01 00 00 00 02 05 64 5D 00 00 03 "
         "64 2B 08 40 00 00 04 00 01 02 03 64 2B 03 04 01",
         {"整数2", "全局数组3", "数组4", "函数参数1"}},
        {"a quoted string names nothing", true, "0A 01 01 07 22 CA E4 B3 F6 35 22", {"数据口1"}},
        {"a call", true, kCallFunction3, {"函数3"}},
        {"a computed call names its variable", true, "0C 04 05", {"全局整数5"}},
        {"a thread start by number", true, kStartThread1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resourcesOfLine(line(c.isResult, c.hex)), c.expected) << c.what;
}

class LintTest : public ::testing::Test {
protected:
    // Main: input 1, a call to empty function 3, a call to function 1 and the
    // start of thread 1; thread 2 holds a line but is never started; 输出9
    // has an alias and is used nowhere.
    void SetUp() override
    {
        p.main.lines = {line(false, kInput(1)), line(true, kCallFunction3), line(true, "0C 01 01"),
                        line(true, kStartThread1)};
        p.functions[0].lines = {line(false, kInput(1))};
        p.threads[0].lines = {line(false, kInput(2))};
        p.threads[1].lines = {line(false, kInput(3))};
        ASSERT_EQ(table.rename("输入1", "门"), "");
        ASSERT_EQ(table.rename("输出9", "水泵"), "");
    }
    Program p;
    NameTable table;
};

TEST_F(LintTest, EachFindingIsReportedOnce)
{
    EXPECT_EQ(lintProgram(p, table),
              (std::vector<std::string>{"主程序:2: 函数3 is called but holds no lines",
                                        "线程2:1: 线程2 holds lines but is never started",
                                        "names:2: alias 水泵 names 输出9, which the program does not use"}));
}

TEST_F(LintTest, ComputedCallsAndStartsSilenceWhatCannotBeKnown)
{
    p.threads[1].lines.push_back(line(true, "0C 04 05"));  // 函数号为全局变量5
    p.functions[6].lines = {line(false, kInput(4))};          // reached through it, perhaps
    p.threads[2].lines = {line(true, "24 01 07 05 05 04 03 02 02")};  // 启动线程 整数2
    const std::vector<std::string> w = lintProgram(p, table);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0], "主程序:2: 函数3 is called but holds no lines");
    EXPECT_EQ(w[1].substr(0, 8), "names:2:");
}

TEST_F(LintTest, LinesThatCannotBeShownOrStored)
{
    p.functions[0].lines.push_back(line(true, "C8 01 01"));
    const std::vector<std::string> w = lintProgram(p, table, false);
    EXPECT_EQ(w, std::vector<std::string>{"函数1:2: kind 200 is unknown; the line is not stored"});
}

TEST_F(LintTest, CrossReferenceGroupsPlacesByResource)
{
    std::vector<ResourceReference> refs = crossReference(p, table);
    ASSERT_GE(refs.size(), 4u);
    const ResourceReference& input1 = refs[0];
    EXPECT_EQ(input1.name, "输入1");
    EXPECT_EQ(input1.alias, "门");
    ASSERT_EQ(input1.uses.size(), 2u);
    EXPECT_EQ(input1.uses[0].sectionId, 0);
    EXPECT_EQ(input1.uses[1].sectionId, 1);
    EXPECT_FALSE(input1.uses[1].isResult);
    const ResourceReference& call = refs.back();
    EXPECT_EQ(call.name, "函数3");
    EXPECT_EQ(call.uses[0].line, 2u);
    EXPECT_TRUE(call.uses[0].isResult);
}

}  // namespace
}  // namespace orlo
