// The find window through fake views: one "确定" after another walks the main
// program, then functions 1 to 100, then threads 1 to 100, shows each find in
// its list (making the list window when it does not exist yet) and starts
// over with the main program.
#include "tests/ui/editing_fixture.h"

namespace orlo::test {
namespace {

class FindWindowTest : public EditingTest {
protected:
    Cfind_dlg& find()
    {
        windows.showFindWindow();
        return *windows.findWindow(false);
    }
    void search(const std::string& text)
    {
        host.viewOf(find()).setText(IDC_FIND_WINDOW_TEXT, text);
        press(find(), 1);
    }
    FakeView* listView(ListKind kind)
    {
        Chanshu_dlg* list = windows.sectionList(kind, false);
        return list ? &host.viewOf(*list) : nullptr;
    }
};

TEST_F(FindWindowTest, IsMadeOnceShownWithItsTextFocusedAndHiddenByCancel)
{
    EXPECT_EQ(windows.findWindow(false), nullptr);
    Cfind_dlg& f = find();
    FakeView& v = host.viewOf(f);
    EXPECT_TRUE(v.isWindowShown());
    EXPECT_EQ(v.focusedControl(), IDC_FIND_WINDOW_TEXT);
    press(f, 2);
    EXPECT_FALSE(v.isWindowShown());
    EXPECT_EQ(&find(), &f);
    EXPECT_EQ(std::count(host.createdTemplates.begin(), host.createdTemplates.end(), IDD_FIND), 1);
    EXPECT_FALSE(f.onClose());
    EXPECT_FALSE(v.isWindowShown());
}

TEST_F(FindWindowTest, WalksMainFunctionsAndThreadsThenStartsOver)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(true, 1, "甲"), simpleLine(false, 2)};
    program().functions[2].lines = {simpleLine(false, 1, "甲乙")};
    program().functions[59].lines = {simpleLine(false, 1), simpleLine(false, 2), simpleLine(true, 3, "x甲")};
    program().threads[4].lines = {simpleLine(false, 1), simpleLine(true, 1, "甲")};
    drawMain();

    struct Step {
        int phase, sectionNo, position;
        ListKind list;   // where the find shows, when not in the main program
        bool inMain;
        int chosen;      // the list's chosen section
    };
    const Step steps[] = {
        {0, 1, 1, ListKind::Functions, true, 0},
        {1, 3, 0, ListKind::Functions, false, 3},
        {1, 60, 2, ListKind::Functions, false, 60},
        {2, 5, 1, ListKind::Threads, false, 5},
        {0, 1, -1, ListKind::Threads, false, 5},  // nothing more: nothing shown
        {0, 1, 1, ListKind::Functions, true, 0},
    };
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        search("甲");
        Cfind_dlg& f = find();
        EXPECT_EQ(f.phase, s.phase);
        EXPECT_EQ(f.sectionNo, s.sectionNo);
        EXPECT_EQ(f.position, s.position);
        if (s.position < 0)
            continue;
        if (s.inMain) {
            EXPECT_EQ(host.main.topIndex(IDC_PROGRAM_LIST), s.position);
            EXPECT_EQ(host.main.selectedIndexes(IDC_PROGRAM_LIST), std::vector<int>{s.position});
            continue;
        }
        Chanshu_dlg* list = windows.sectionList(s.list, false);
        ASSERT_NE(list, nullptr);
        FakeView& v = host.viewOf(*list);
        EXPECT_TRUE(v.isWindowShown());
        EXPECT_EQ(list->chosenSection, s.chosen);
        EXPECT_EQ(list->chosenLine, s.position);
        EXPECT_EQ(v.currentIndex(IDC_SECTIONS_LIST), s.chosen - 1);
        EXPECT_EQ(v.selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{s.position});
        EXPECT_EQ(v.focusedControl(), IDC_SECTIONS_LINES);
    }
    // Each list window was made once, by the find.
    EXPECT_EQ(std::count(host.createdTemplates.begin(), host.createdTemplates.end(), IDD_SECTION_LIST), 2);
}

TEST_F(FindWindowTest, AFindInAHiddenListShowsIt)
{
    program().functions[0].lines = {simpleLine(false, 1, "甲")};
    program().functions[1].lines = {simpleLine(false, 1, "甲")};
    windows.showSectionList(ListKind::Functions);
    Chanshu_dlg* list = windows.sectionList(ListKind::Functions, false);
    list->onClose();
    search("甲");
    search("甲");
    EXPECT_TRUE(listView(ListKind::Functions)->isWindowShown());
    EXPECT_EQ(list->chosenSection, 2);
    EXPECT_EQ(listView(ListKind::Threads), nullptr);
}

TEST_F(FindWindowTest, AnEmptyTextFindsNothingAndAWindowlessListIsSkippedSafely)
{
    program().main.lines = {simpleLine(false, 1)};
    program().functions[0].lines = {simpleLine(false, 1, "甲")};
    drawMain();
    search("");
    EXPECT_EQ(find().phase, 0);
    EXPECT_EQ(find().position, -1);

    host.refuseWindows = true;  // the list window cannot be made
    search("甲");
    EXPECT_EQ(find().phase, 1);
    EXPECT_EQ(find().position, 0);
}

TEST_F(FindWindowTest, AnOpenEditorFollowsTheFind)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(true, 4, "甲")};
    drawMain();
    doubleClickMainRow(0);
    search("甲");
    EXPECT_EQ(host.current, 1);
    EXPECT_EQ(editor().editLine().param1(), 4);
    // Editing now changes the line found, not the one opened before.
    choose(IDC_LINE_PARAM1, 6);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 7}));
}

}  // namespace
}  // namespace orlo::test
