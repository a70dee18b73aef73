// The editing commands of the line lists through a fake view and shell:
// delete with its questions and the selection after it, cut, copy and paste
// through the clipboard section, delete all, and the search over line text.
#include <gtest/gtest.h>

#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "ui/editing_commands.h"

namespace orlo {
namespace {

// Condition kind 1 and result kind 1; p1 tells lines apart.
ProgramLine sampleLine(bool isResult, int p1, const std::string& remark = "")
{
    ProgramLine l;
    l.isResult = isResult ? 1 : 0;
    l.instruction[0] = 1;
    l.instruction[1] = static_cast<std::uint8_t>(p1);
    l.remark = remark;
    return l;
}

// n lines, p1 counting from first.
std::vector<ProgramLine> sampleLines(int n, int first = 1)
{
    std::vector<ProgramLine> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back(sampleLine(i % 2 == 1, first + i));
    return lines;
}

std::vector<int> param1s(const ProgramSection& s)
{
    std::vector<int> out;
    for (const ProgramLine& l : s.lines)
        out.push_back(l.param1());
    return out;
}

class LineListEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        section.lines = sampleLines(10, 0);  // p1 0 .. 9
        redraw();
    }
    void redraw()
    {
        ++redraws;
        Clist_command(&view, 5).renderSection(section);
    }
    SectionEditor editor() { return SectionEditor(section, &view, 5, [this] { redraw(); }); }
    void select(std::initializer_list<int> rows)
    {
        view.setSelected(5, -1, false);
        for (int r : rows)
            view.setSelected(5, r, true);
    }

    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    ProgramSection section;
    ProgramSection clipboard;
    int redraws = 0;
};

TEST_F(LineListEditing, DeleteAsksAndSelectsTheRowBefore)
{
    struct Case {
        std::vector<int> selected;
        Answer answer;
        std::vector<int> left;
        std::vector<int> selectedAfter;
    };
    const Case cases[] = {
        {{3, 4, 5}, Answer::Yes, {0, 1, 2, 6, 7, 8, 9}, {2}},
        {{0, 1}, Answer::Yes, {2, 3, 4, 5, 6, 7, 8, 9}, {0}},
        {{9}, Answer::No, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {9}},
        {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, Answer::Yes, {}, {}},
    };
    for (const Case& c : cases) {
        SetUp();
        view.setTopIndex(5, 2);
        select({});
        for (int r : c.selected)
            view.setSelected(5, r, true);
        shell.answers = {c.answer};
        editor().deleteSelected(true);
        EXPECT_EQ(shell.lastMessage(), "确认要删除吗？");
        EXPECT_EQ(shell.messages.back().caption, "警告");
        EXPECT_EQ(param1s(section), c.left);
        EXPECT_EQ(view.selectedIndexes(5), c.selectedAfter);
        if (c.answer == Answer::Yes && !c.left.empty()) {
            EXPECT_EQ(view.topIndex(5), 2);  // the first visible row stays
        }
    }
}

TEST_F(LineListEditing, DeleteWithNothingSelectedSaysSo)
{
    EXPECT_FALSE(editor().deleteSelected(true));
    EXPECT_EQ(shell.lastMessage(), "您没有选择信息！");
    EXPECT_EQ(shell.messages.back().caption, "注意：");
    EXPECT_EQ(section.count(), 10u);
    // Cut with nothing selected empties the clipboard and removes nothing.
    clipboard.lines = sampleLines(2);
    EXPECT_FALSE(editor().cutSelected(clipboard));
    EXPECT_TRUE(clipboard.empty());
    EXPECT_EQ(section.count(), 10u);
    EXPECT_EQ(shell.messages.size(), 1u);
}

TEST_F(LineListEditing, CutCopyAndPasteGoThroughTheClipboard)
{
    select({1, 3});
    editor().copySelected(clipboard);
    EXPECT_EQ(param1s(clipboard), (std::vector<int>{1, 3}));
    EXPECT_EQ(section.count(), 10u);

    select({7});
    EXPECT_TRUE(editor().paste(clipboard));
    EXPECT_EQ(param1s(section), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 1, 3, 8, 9}));
    EXPECT_EQ(view.selectedIndexes(5), (std::vector<int>{8, 9}));
    EXPECT_EQ(clipboard.count(), 2u);  // kept for further pastes

    // Nothing selected in a list with rows: at the top.
    select({});
    EXPECT_TRUE(editor().paste(clipboard));
    EXPECT_EQ(param1s(section).front(), 1);
    EXPECT_EQ(view.selectedIndexes(5), (std::vector<int>{0, 1}));

    select({0, 1, 2});
    EXPECT_TRUE(editor().cutSelected(clipboard));
    EXPECT_EQ(param1s(clipboard), (std::vector<int>{1, 3, 0}));
    EXPECT_TRUE(shell.messages.empty());  // cut never asks

    ProgramSection empty;
    EXPECT_FALSE(editor().paste(empty));
}

TEST_F(LineListEditing, PasteIntoAnEmptyListAndDeleteAll)
{
    clipboard.lines = sampleLines(3, 40);
    shell.answers = {Answer::No};
    EXPECT_FALSE(editor().deleteAll());
    EXPECT_EQ(shell.lastMessage(), "确认要删除全部信息吗？");
    EXPECT_EQ(section.count(), 10u);
    shell.answers = {Answer::Yes};
    EXPECT_TRUE(editor().deleteAll());
    EXPECT_TRUE(section.empty());
    EXPECT_EQ(view.itemCount(5), 0);
    EXPECT_TRUE(editor().paste(clipboard));
    EXPECT_EQ(param1s(section), (std::vector<int>{40, 41, 42}));
    EXPECT_EQ(view.selectedIndexes(5), (std::vector<int>{0, 1, 2}));
}

TEST(LineSearch, FindsWholeCharactersFromTheStartOn)
{
    // "甲乙辈" is BC D7 D2 D2 B1 B2: D7 D2 and D2 B1 occur byte-wise
    // across two characters, but are no character of the text.
    EXPECT_TRUE(containsText("甲乙辈", "乙辈"));
    EXPECT_FALSE(containsText("甲乙辈", "\xD7\xD2"));
    EXPECT_FALSE(containsText("甲乙辈", "\xD2\xB1"));
    EXPECT_TRUE(containsText("ab", ""));
    EXPECT_FALSE(containsText("", "a"));
    EXPECT_TRUE(containsText("xA", "A"));
    EXPECT_FALSE(containsText("xa", "A"));  // letter case counts

    ProgramSection s;
    s.lines = {sampleLine(false, 1, "甲"), sampleLine(false, 2),
               sampleLine(false, 3, "甲")};
    EXPECT_EQ(findText(s, 0, "甲"), 0);
    EXPECT_EQ(findText(s, 1, "甲"), 2);
    EXPECT_EQ(findText(s, 3, "甲"), -1);
    EXPECT_EQ(findText(s, -5, "甲"), 0);
    EXPECT_EQ(findText(s, 1, ""), 1);   // an empty text: the next line
    EXPECT_EQ(findText(s, 0, "备注"), 0);  // the remark suffix is searched
}

}  // namespace
}  // namespace orlo
