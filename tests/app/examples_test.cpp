// The example programs of the context menu "导入示例程序": each one as
// compiled in is a sound program, and inserting one into a user's program
// takes free functions and threads and keeps the user's aliases.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "app/examples.h"
#include "cli/json/program_json.h"
#include "expr/names.h"
#include "model/image.h"
#include "tests/app/main_window_fixture.h"
#include "ui/program_list.h"

namespace orlo {
namespace {

using test::param1s;
using test::sampleLines;

// Every section of a program with lines: main, then functions and threads.
std::vector<ProgramSection*> sectionsOf(Program& p)
{
    std::vector<ProgramSection*> out = {&p.main};
    for (auto* list : {&p.functions, &p.threads})
        for (ProgramSection& s : *list)
            if (!s.empty())
                out.push_back(&s);
    return out;
}

std::string rowsOf(Program& p)
{
    std::string all;
    for (ProgramSection* s : sectionsOf(p))
        for (const std::string& r : sectionRows(*s))
            all += r + "\n";
    return all;
}

TEST(ExamplesTest, EachBuildsAnImageRendersWholeAndRoundTripsItsJson)
{
    std::set<std::string> entryNames;
    for (const ExampleEntry& e : exampleEntries())
        entryNames.insert(e.name);
    ASSERT_EQ(exampleTexts().size(), exampleEntries().size());
    for (const ExampleText& e : exampleTexts()) {
        SCOPED_TRACE(e.name);
        EXPECT_TRUE(entryNames.count(e.name)) << "no menu entry";
        // The global table: the line texts in the JSON show its aliases.
        clearProgram();
        Program* p = &program();
        ASSERT_EQ(loadExample(e.name, *p, names()), "");
        ASSERT_FALSE(p->main.empty());
        EXPECT_EQ(programToJson(*p, names()), e.json);
        EXPECT_TRUE(checkImage(buildImage(*p, names())));
        EXPECT_EQ(rowsOf(*p).find("格式出错"), std::string::npos);
        for (ProgramSection* s : sectionsOf(*p))
            for (const ProgramLine& l : s->lines) {
                EXPECT_NE(instructionText(l), "");
                EXPECT_NE(l.remark, "");
            }
    }
    clearProgram();
}

TEST(ExamplesTest, FunctionsAndThreadsGoToTheFirstEmptyOnesAndTheCallsFollow)
{
    const struct {
        const char* name;
        bool thread;          // which list the user has already filled
        const char* callText; // the example's calling line, renumbered
    } cases[] = {
        {"send", false, "调用函数 函数3( )"},
        {"packet-send", true, "启动线程 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto example = std::make_unique<Program>();
        NameTable exampleNames;
        ASSERT_EQ(loadExample(c.name, *example, exampleNames), "");
        auto user = std::make_unique<Program>();
        auto& busy = c.thread ? user->threads : user->functions;
        const auto& from = c.thread ? example->threads : example->functions;
        busy[0].lines = sampleLines(2);
        busy[1].lines = sampleLines(2, 5);
        user->main.lines = sampleLines(2);
        NameTable names;
        ASSERT_EQ(names.rename("输入1", "门铃"), "");
        // An alias for the example's section names the section it lands in.
        ASSERT_EQ(exampleNames.rename(c.thread ? "线程1" : "函数1", "示例"), "");

        unsigned count = 0;
        ASSERT_EQ(insertExample(*user, names, *example, exampleNames, 1, &count), "");
        ASSERT_EQ(count, example->main.count());
        EXPECT_EQ(param1s(user->main).front(), 1);
        EXPECT_EQ(param1s(user->main).back(), 2);
        EXPECT_EQ(param1s(busy[0]), (std::vector<int>{1, 2}));
        EXPECT_EQ(param1s(busy[1]), (std::vector<int>{5, 6}));
        EXPECT_EQ(busy[2].lines, from[0].lines);
        EXPECT_NE(rowsOf(*user).find(c.callText), std::string::npos) << rowsOf(*user);
        // The user's alias stays; the example's others are added.
        EXPECT_EQ(names.systemToAlias("输入1"), "门铃");
        EXPECT_EQ(names.aliasToSystem("示例"), c.thread ? "线程3" : "函数3");
    }

    // Without a free function the program is left as it was.
    auto example = std::make_unique<Program>();
    NameTable exampleNames;
    ASSERT_EQ(loadExample("send", *example, exampleNames), "");
    auto full = std::make_unique<Program>();
    for (ProgramSection& f : full->functions)
        f.lines = sampleLines(1);
    NameTable names;
    EXPECT_NE(insertExample(*full, names, *example, exampleNames, 0), "");
    EXPECT_TRUE(full->main.empty());
    EXPECT_EQ(names.usedCount(), 0);
}

class ExampleMenuTest : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
};

TEST_F(ExampleMenuTest, EntryInsertsAfterTheSelectedLineOrAtTheEnd)
{
    auto jog = std::make_unique<Program>();
    NameTable jogNames;
    ASSERT_EQ(loadExample("jog", *jog, jogNames), "");
    const std::vector<int> jogLines = param1s(jog->main);
    const struct {
        int selected;  // -1: none
        std::vector<int> main;
    } cases[] = {
        {0, {1, jogLines[0], jogLines[1], 2, 3}},
        {-1, {1, 2, 3, jogLines[0], jogLines[1]}},
    };
    for (const auto& c : cases) {
        program().main.lines = sampleLines(3);
        names().clear();
        dlg->refreshMainList();
        if (c.selected >= 0)
            view.setSelected(1005, c.selected, true);
        dlg->modified = false;
        shell.menuChoices = {ID_EXAMPLE_JOG};
        dlg->onContextMenu(1005, 1, 1);
        EXPECT_EQ(param1s(program().main), c.main);
        EXPECT_TRUE(dlg->modified);
        const std::vector<std::string>& rows = view.control(1005).items;
        ASSERT_EQ(rows.size(), 5u);
        const std::string& first = rows[c.selected >= 0 ? c.selected + 1 : 3];
        EXPECT_NE(first.find("点动按钮"), std::string::npos) << first;
        EXPECT_TRUE(shell.messages.empty());
    }
}

}  // namespace
}  // namespace orlo
