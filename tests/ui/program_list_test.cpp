// Rows of the line lists: rule numbers, connectives, remarks, selection.
#include <gtest/gtest.h>

#include "platform/fake/fake_view.h"
#include "ui/program_list.h"

namespace orlo {
namespace {

ProgramLine line(bool isResult, int orElse = 0, const std::string& remark = "")
{
    ProgramLine l;
    l.isResult = isResult;
    l.orElse = static_cast<std::uint8_t>(orElse);
    l.instruction[0] = 1;  // kind 1 exists as a condition and as a result
    l.instruction[1] = 1;
    l.remark = remark;
    return l;
}

// The row without its instruction text, which other tests cover.
std::string frame(const std::string& row, const ProgramLine& l)
{
    const std::string text = lineText(l);
    EXPECT_GE(row.size(), text.size());
    EXPECT_EQ(row.substr(row.size() - text.size()), text);
    return row.substr(0, row.size() - text.size());
}

TEST(ProgramList, LabelsAndConnectives)
{
    ProgramSection s;
    s.lines = {
        line(false, 1),    // first line: "如果" whatever its orElse
        line(false, 0),    // AND
        line(false, 1),    // OR
        line(true),        // result
        line(true, 1),     // result when not met
        line(false),       // new rule
        line(true),
    };
    std::vector<std::string> rows = sectionRows(s);
    const char* expected[] = {
        "1   如果  ", "     并且  ", "     或者  ", "     ->  ",
        "     若条件不满足->  ", "2   如果  ", "     ->  ",
    };
    ASSERT_EQ(rows.size(), 7u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(frame(rows[i], s.lines[i]), expected[i]) << i;
    EXPECT_EQ(s.lines[0].label, "1   ");
    EXPECT_EQ(s.lines[1].label, "     ");
    EXPECT_EQ(s.lines[5].label, "2   ");
}

TEST(ProgramList, SectionStartingWithAResult)
{
    ProgramSection s;
    s.lines = {line(true), line(true), line(false)};
    std::vector<std::string> rows = sectionRows(s);
    EXPECT_EQ(frame(rows[0], s.lines[0]), "1   ->  ");
    EXPECT_EQ(frame(rows[1], s.lines[1]), "     ->  ");
    EXPECT_EQ(frame(rows[2], s.lines[2]), "2   如果  ");
}

TEST(ProgramList, RemarkSuffix)
{
    ProgramLine none = line(false);
    EXPECT_EQ(lineText(none), instructionText(none));
    ProgramLine blanks = line(false, 0, "  ");
    EXPECT_EQ(lineText(blanks), instructionText(blanks) + "       备注:  ");
    ProgramLine longRemark = line(true, 0, std::string(100, 'x'));
    EXPECT_EQ(lineText(longRemark), instructionText(longRemark) + "       备注:" + std::string(100, 'x'));
    EXPECT_FALSE(instructionText(none).empty());
}

TEST(ProgramList, RenderFillsTheListWithDrawingSwitchedOff)
{
    FakeView view;
    view.addItem(5, "old row");
    ProgramSection s;
    for (int i = 0; i < 1000; ++i)
        s.lines.push_back(line(i % 2 == 1));
    Clist_command list(&view, 5);
    list.renderSection(s);
    EXPECT_EQ(list.count(), 1000);
    EXPECT_EQ(view.control(5).redrawOffCount, 1);
    EXPECT_TRUE(view.control(5).redraw);
    EXPECT_EQ(view.itemText(5, 998).substr(0, 6), "500   ");
}

TEST(ProgramList, Selection)
{
    FakeView view;
    Clist_command list(&view, 5);
    list.selectOnly(0);  // empty list: nothing happens
    EXPECT_EQ(list.lowestSelected(), -1);
    for (int i = 0; i < 10; ++i)
        view.addItem(5, "row");

    list.selectOnly(99);
    EXPECT_EQ(view.selectedIndexes(5), std::vector<int>{9});
    list.selectOnly(-1);  // ignored
    EXPECT_EQ(view.selectedIndexes(5), std::vector<int>{9});

    list.selectRange(2, 3);
    EXPECT_EQ(view.selectedIndexes(5), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(list.lowestSelected(), 2);
    EXPECT_EQ(list.highestSelected(), 4);
    list.selectRange(5, 0);  // ignored
    list.selectRange(-1, 2);  // ignored
    EXPECT_EQ(view.selectedIndexes(5), (std::vector<int>{2, 3, 4}));
}

TEST(ProgramList, ListFont)
{
    const FontRequest& f = listFont();
    EXPECT_EQ(f.face, "黑体");
    EXPECT_EQ(f.height, 24);
    EXPECT_EQ(f.orientation, 12);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.pitchAndFamily, 0x20);
}

}  // namespace
}  // namespace orlo
