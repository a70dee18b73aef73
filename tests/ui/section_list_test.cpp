// The function and thread lists through fake views: the first section shown,
// the marks and the measured width, lines edited and added through the line
// editor, the editing keys and the context menu, cut, copy and paste with the
// main list, import and export of function files, the window's own search.
#include "ui/editing_commands.h"
#include "model/files.h"
#include "tests/device/temp_folder.h"
#include "tests/ui/editing_fixture.h"

namespace orlo::test {
namespace {

class SectionListTest : public EditingTest {
protected:
    ~SectionListTest() override { names().clear(); }

    Chanshu_dlg& open(ListKind kind = ListKind::Functions)
    {
        windows.showSectionList(kind);
        Chanshu_dlg* list = windows.sectionList(kind, false);
        EXPECT_NE(list, nullptr);
        return *list;
    }
    FakeView& viewOf(Chanshu_dlg& list) { return host.viewOf(list); }
    std::vector<std::string> sectionRows(Chanshu_dlg& list)
    {
        return viewOf(list).control(IDC_SECTIONS_LIST).items;
    }
    std::vector<std::string> lineRows(Chanshu_dlg& list)
    {
        return viewOf(list).control(IDC_SECTIONS_LINES).items;
    }
    void selectLines(Chanshu_dlg& list, std::initializer_list<int> rows)
    {
        selectRows(viewOf(list), IDC_SECTIONS_LINES, rows);
        list.onCommand(IDC_SECTIONS_LINES, Notify::SelChanged);
    }
    void chooseSection(Chanshu_dlg& list, int n)
    {
        viewOf(list).setCurrentIndex(IDC_SECTIONS_LIST, n - 1);
        list.onCommand(IDC_SECTIONS_LIST, Notify::SelChanged);
    }
    // A key with the focus on the line list.
    bool key(Chanshu_dlg& list, int k, bool ctrl)
    {
        viewOf(list).setFocus(IDC_SECTIONS_LINES);
        return list.onKeyDown(k, ctrl, IDC_SECTIONS_LINES);
    }
    static std::vector<ProgramLine> lines(std::initializer_list<int> param1s)
    {
        std::vector<ProgramLine> out;
        for (int p : param1s)
            out.push_back(simpleLine(false, p));
        return out;
    }
};

TEST_F(SectionListTest, OpensOnTheFirstSectionThatHoldsLines)
{
    Chanshu_dlg& functions = open();
    EXPECT_EQ(functions.chosenSection, 1);  // all empty
    EXPECT_EQ(viewOf(functions).title(), "函数列表");
    EXPECT_TRUE(viewOf(functions).isWindowShown());
    EXPECT_TRUE(viewOf(functions).control(IDC_SECTIONS_LINES).hasFont);
    ASSERT_EQ(sectionRows(functions).size(), 100u);
    EXPECT_EQ(sectionRows(functions)[0], "函数1  ");
    EXPECT_EQ(sectionRows(functions)[99], "函数100  ");

    program().functions[6].lines = lines({1});
    program().functions[2].lines = lines({1, 2});
    program().threads[41].lines = lines({1});
    open();
    EXPECT_EQ(functions.chosenSection, 3);
    EXPECT_EQ(viewOf(functions).currentIndex(IDC_SECTIONS_LIST), 2);
    EXPECT_EQ(lineRows(functions).size(), 2u);
    EXPECT_EQ(sectionRows(functions)[2], "函数3  √");
    EXPECT_EQ(sectionRows(functions)[6], "函数7  √");
    EXPECT_EQ(sectionRows(functions)[3], "函数4  ");

    Chanshu_dlg& threads = open(ListKind::Threads);
    EXPECT_NE(&threads, &functions);
    EXPECT_EQ(viewOf(threads).title(), "线程列表");
    EXPECT_EQ(threads.chosenSection, 42);
    EXPECT_EQ(threads.sectionId(), 542);
    EXPECT_EQ(sectionRows(threads)[41], "线程42  √");
    // Each list is made once.
    EXPECT_EQ(std::count(host.createdTemplates.begin(), host.createdTemplates.end(), IDD_SECTION_LIST), 2);
}

TEST_F(SectionListTest, TheSectionListWidensForLongAliasesButNeverBelow120)
{
    Chanshu_dlg& functions = open();
    FakeView& v = viewOf(functions);
    v.client = Size{900, 500};
    functions.onSize(900, 500);
    EXPECT_EQ(functions.sectionListWidth, 120);
    EXPECT_EQ(v.controlRect(IDC_SECTIONS_LIST), (Rect{0, 30, 120, 450}));
    EXPECT_EQ(v.controlRect(IDC_SECTIONS_LINES), (Rect{120, 30, 780, 450}));

    ASSERT_EQ(names().rename("函数5", "一个很长很长的函数别名abc"), "");
    functions.refreshSectionList();
    EXPECT_EQ(sectionRows(functions)[4], "一个很长很长的函数别名abc  ");
    // Measured with the mark, in the list's font: 25 bytes + 2 blanks + "√",
    // and room for the scroll bar.
    EXPECT_EQ(functions.sectionListWidth, (25 + 2 + 2) * v.pixelsPerByte + 24);
    EXPECT_EQ(v.controlRect(IDC_SECTIONS_LIST).width, 256);
    EXPECT_EQ(v.controlRect(IDC_SECTIONS_LINES), (Rect{256, 30, 644, 450}));

    names().clear();
    functions.refreshSectionList();
    EXPECT_EQ(functions.sectionListWidth, 120);
    EXPECT_EQ(v.controlRect(IDC_SECTIONS_LINES).x, 120);
}

TEST_F(SectionListTest, LaysOutTheTopRowOnEveryResize)
{
    Chanshu_dlg& functions = open();
    functions.onSize(1000, 600);
    const struct {
        int id;
        Rect r;
    } expected[] = {
        {IDC_SECTIONS_IMPORT, {0, 0, 60, 30}},       {IDC_SECTIONS_EXPORT, {60, 0, 60, 30}},
        {IDC_SECTIONS_ADD, {240, 0, 60, 30}},        {IDC_SECTIONS_DELETE, {300, 0, 60, 30}},
        {IDC_SECTIONS_DELETE_ALL, {360, 0, 120, 30}}, {IDC_SECTIONS_FIND_TEXT, {500, 0, 200, 30}},
        {IDC_SECTIONS_FIND, {700, 0, 60, 30}},        {IDC_SECTIONS_LIST, {0, 30, 120, 550}},
        {IDC_SECTIONS_LINES, {120, 30, 880, 550}},
    };
    for (const auto& e : expected)
        EXPECT_EQ(viewOf(functions).controlRect(e.id), e.r) << e.id;
}

TEST_F(SectionListTest, ChoosingASectionDrawsItsLinesAndFeedsAnOpenEditor)
{
    program().functions[0].lines = lines({1, 2});
    program().functions[1].lines = lines({5, 6, 7});
    Chanshu_dlg& functions = open();
    selectLines(functions, {1});
    EXPECT_EQ(functions.chosenLine, 1);
    EXPECT_FALSE(editorView().isWindowShown());

    viewOf(functions).control(IDC_SECTIONS_LINES).selected.assign(2, false);
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {0});
    functions.onCommand(IDC_SECTIONS_LINES, Notify::DoubleClicked);
    EXPECT_TRUE(editorView().isWindowShown());
    EXPECT_EQ(editor().editSection(), 1);
    EXPECT_EQ(editor().editLine().param1(), 1);

    chooseSection(functions, 2);
    EXPECT_EQ(functions.chosenSection, 2);
    EXPECT_EQ(lineRows(functions).size(), 3u);
    // The chosen line carries over, and the open editor shows it.
    EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{0});
    EXPECT_EQ(editor().editSection(), 2);
    EXPECT_EQ(editor().editLine().param1(), 5);
}

TEST_F(SectionListTest, TheEditorChangesAFunctionLineAtOnceAndAddsAfterTheSelection)
{
    program().functions[3].lines = lines({1, 2, 3});
    Chanshu_dlg& functions = open();
    ASSERT_EQ(functions.chosenSection, 4);
    viewOf(functions).setTopIndex(IDC_SECTIONS_LINES, 1);
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {1});
    functions.onCommand(IDC_SECTIONS_LINES, Notify::DoubleClicked);
    choose(IDC_LINE_PARAM1, 8);
    EXPECT_EQ(param1s(program().functions[3]), (std::vector<int>{1, 9, 3}));
    EXPECT_EQ(lineRows(functions)[1], "     并且  输入9  断开");
    EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{1});
    EXPECT_EQ(viewOf(functions).topIndex(IDC_SECTIONS_LINES), 1);
    EXPECT_TRUE(host.modified);
    EXPECT_TRUE(program().main.empty());

    press(functions, IDC_SECTIONS_ADD);
    EXPECT_TRUE(editor().addMode());
    choose(IDC_LINE_SIDE, 1);
    chooseText(IDC_LINE_KIND, "输出操作");
    confirm();
    ASSERT_EQ(program().functions[3].count(), 4u);
    EXPECT_EQ(program().functions[3].lines[2].isResult, 1);
    EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{2});
    EXPECT_EQ(lineRows(functions).size(), 4u);
}

TEST_F(SectionListTest, AddingToAnEmptySectionMarksIt)
{
    Chanshu_dlg& threads = open(ListKind::Threads);
    chooseSection(threads, 7);
    press(threads, IDC_SECTIONS_ADD);
    EXPECT_EQ(editor().editSection(), 507);
    chooseText(IDC_LINE_KIND, "定时器");
    confirm();
    EXPECT_EQ(program().threads[6].count(), 1u);
    EXPECT_EQ(sectionRows(threads)[6], "线程7  √");
    EXPECT_EQ(viewOf(threads).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{0});
}

TEST_F(SectionListTest, ANewLineStaysInTheSectionItWasStartedFor)
{
    program().functions[0].lines = lines({1});
    Chanshu_dlg& functions = open();
    press(functions, IDC_SECTIONS_ADD);
    chooseSection(functions, 2);  // the list moves on while the editor is open
    chooseText(IDC_LINE_KIND, "定时器");
    confirm();
    EXPECT_EQ(program().functions[0].count(), 2u);
    EXPECT_TRUE(program().functions[1].empty());
}

TEST_F(SectionListTest, CancelGivesTheLineListTheFocus)
{
    program().functions[0].lines = lines({1});
    Chanshu_dlg& functions = open();
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {0});
    functions.onCommand(IDC_SECTIONS_LINES, Notify::DoubleClicked);
    viewOf(functions).setFocus(IDC_SECTIONS_FIND_TEXT);
    cancel();
    EXPECT_EQ(viewOf(functions).focusedControl(), IDC_SECTIONS_LINES);
    EXPECT_FALSE(editorView().isWindowShown());
}

TEST_F(SectionListTest, CopyInTheMainListAndPasteInAFunctionAndBack)
{
    program().main.lines = lines({1, 2, 3});
    drawMain();
    selectRows(host.main, IDC_PROGRAM_LIST, {0, 2});
    SectionEditor(program().main, &host.main, IDC_PROGRAM_LIST, [this] { drawMain(); })
        .copySelected(program().clipboard);

    Chanshu_dlg& functions = open();
    chooseSection(functions, 5);
    EXPECT_TRUE(key(functions, KeyV, true));
    EXPECT_EQ(param1s(program().functions[4]), (std::vector<int>{1, 3}));
    EXPECT_EQ(sectionRows(functions)[4], "函数5  √");
    EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), (std::vector<int>{0, 1}));
    // The clipboard keeps them for more.
    EXPECT_TRUE(key(functions, KeyV, true));
    EXPECT_EQ(param1s(program().functions[4]), (std::vector<int>{1, 3, 1, 3}));
    EXPECT_TRUE(host.modified);

    // Cut in the function, paste into the main program.
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {1, 2});
    EXPECT_TRUE(key(functions, KeyX, true));
    EXPECT_EQ(param1s(program().functions[4]), (std::vector<int>{1, 3}));
    EXPECT_EQ(param1s(program().clipboard), (std::vector<int>{3, 1}));
    selectRows(host.main, IDC_PROGRAM_LIST, {2});
    SectionEditor(program().main, &host.main, IDC_PROGRAM_LIST, [this] { drawMain(); })
        .paste(program().clipboard);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 2, 3, 3, 1}));

    // Cutting the last lines of a function takes its mark away.
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {0, 1});
    key(functions, KeyX, true);
    EXPECT_EQ(sectionRows(functions)[4], "函数5  ");
}

TEST_F(SectionListTest, CutWithNothingSelectedDoesNothingAtAll)
{
    program().functions[0].lines = lines({1, 2});
    program().clipboard.lines = lines({8});
    Chanshu_dlg& functions = open();
    viewOf(functions).setSelected(IDC_SECTIONS_LINES, -1, false);
    key(functions, KeyX, true);
    EXPECT_EQ(param1s(program().clipboard), std::vector<int>{8});
    EXPECT_EQ(program().functions[0].count(), 2u);
    EXPECT_FALSE(host.modified);
}

TEST_F(SectionListTest, KeysActOnlyWithTheFocusOnTheLineList)
{
    program().functions[0].lines = lines({1, 2, 3});
    Chanshu_dlg& functions = open();
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {1});
    EXPECT_FALSE(functions.onKeyDown(KeyDelete, false, IDC_SECTIONS_FIND_TEXT));
    EXPECT_TRUE(shell_.messages.empty());

    shell_.answers.push_back(Answer::Yes);
    EXPECT_TRUE(key(functions, KeyDelete, false));
    EXPECT_EQ(shell_.lastMessage(), "确认要删除吗？");
    EXPECT_EQ(param1s(program().functions[0]), (std::vector<int>{1, 3}));
    EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{0});

    EXPECT_TRUE(key(functions, KeyC, true));
    EXPECT_EQ(param1s(program().clipboard), std::vector<int>{1});
    EXPECT_FALSE(key(functions, KeyC, false));  // a plain C is typing
}

TEST_F(SectionListTest, TheButtonsDeleteWithTheirQuestions)
{
    program().functions[0].lines = lines({1, 2, 3});
    Chanshu_dlg& functions = open();
    viewOf(functions).setSelected(IDC_SECTIONS_LINES, -1, false);
    press(functions, IDC_SECTIONS_DELETE);
    EXPECT_EQ(shell_.lastMessage(), "您没有选择信息！");
    EXPECT_EQ(program().functions[0].count(), 3u);

    press(functions, IDC_SECTIONS_DELETE_ALL);  // answered No
    EXPECT_EQ(shell_.lastMessage(), "确认要删除全部信息吗？");
    EXPECT_EQ(program().functions[0].count(), 3u);
    EXPECT_FALSE(host.modified);
    shell_.answers.push_back(Answer::Yes);
    press(functions, IDC_SECTIONS_DELETE_ALL);
    EXPECT_TRUE(program().functions[0].empty());
    EXPECT_EQ(sectionRows(functions)[0], "函数1  ");
    EXPECT_TRUE(host.modified);
}

TEST_F(SectionListTest, TheContextMenuCutsCopiesAndPastes)
{
    program().functions[0].lines = lines({1, 2});
    Chanshu_dlg& functions = open();
    selectRows(viewOf(functions), IDC_SECTIONS_LINES, {1});
    shell_.menuChoices = {ID_EDIT_COPY, ID_EDIT_PASTE};
    functions.onContextMenu(IDC_SECTIONS_LINES, 10, 20);
    ASSERT_EQ(shell_.menus.size(), 1u);
    EXPECT_EQ(shell_.menus[0].menuId, IDR_CONTEXT_MENU);
    EXPECT_EQ(shell_.menus[0].subMenu, CONTEXT_SECTION_LIST);
    EXPECT_EQ(param1s(program().clipboard), std::vector<int>{2});
    functions.onContextMenu(IDC_SECTIONS_LINES, 10, 20);
    EXPECT_EQ(param1s(program().functions[0]), (std::vector<int>{1, 2, 2}));

    // Over the section list with the focus elsewhere: no menu.
    viewOf(functions).setFocus(IDC_SECTIONS_FIND_TEXT);
    functions.onContextMenu(IDC_SECTIONS_LIST, 10, 20);
    EXPECT_EQ(shell_.menus.size(), 2u);
}

TEST_F(SectionListTest, ImportAppendsTheExtensionAndExportWritesTheFile)
{
    TempFolder folder;
    ProgramSection sample;
    sample.lines = lines({4, 5});
    ASSERT_NE(saveFunctionFile(sample, folder.file("f.hanshu")), "");

    Chanshu_dlg& functions = open();
    chooseSection(functions, 9);
    shell_.paths.push_back(folder.file("f"));
    press(functions, IDC_SECTIONS_IMPORT);
    ASSERT_EQ(shell_.dialogs.size(), 1u);
    EXPECT_FALSE(shell_.dialogs[0].save);
    EXPECT_TRUE(shell_.dialogs[0].request.filters.empty());
    EXPECT_EQ(param1s(program().functions[8]), (std::vector<int>{4, 5}));
    EXPECT_EQ(sectionRows(functions)[8], "函数9  √");
    EXPECT_EQ(lineRows(functions).size(), 2u);
    EXPECT_TRUE(host.modified);

    shell_.paths.push_back(folder.file("out"));
    press(functions, IDC_SECTIONS_EXPORT);
    EXPECT_TRUE(shell_.dialogs[1].save);
    ProgramSection back;
    ASSERT_TRUE(loadFunctionFile(back, folder.file("out.hanshu")));
    EXPECT_EQ(param1s(back), (std::vector<int>{4, 5}));

    // Cancelled dialogs change nothing.
    press(functions, IDC_SECTIONS_IMPORT);
    EXPECT_EQ(program().functions[8].count(), 2u);
}

TEST_F(SectionListTest, ItsSearchWalksTheSectionsAndStartsOverAfterTheLast)
{
    program().functions[1].lines = {simpleLine(false, 1), simpleLine(false, 7, "甲乙")};
    program().functions[49].lines = {simpleLine(true, 1, "乙丙")};
    Chanshu_dlg& functions = open();
    viewOf(functions).setText(IDC_SECTIONS_FIND_TEXT, "乙");
    const struct {
        int section, line, searchSection;
    } presses[] = {
        {2, 1, 2},
        {50, 0, 50},
        {50, 0, 1},  // nothing more: nothing shown, the next press starts over
        {2, 1, 2},
    };
    for (const auto& p : presses) {
        viewOf(functions).setFocus(IDC_SECTIONS_FIND_TEXT);
        press(functions, IDC_SECTIONS_FIND);
        EXPECT_EQ(functions.chosenSection, p.section);
        EXPECT_EQ(functions.searchSection, p.searchSection);
        EXPECT_EQ(viewOf(functions).selectedIndexes(IDC_SECTIONS_LINES), std::vector<int>{p.line});
        EXPECT_EQ(viewOf(functions).focusedControl() == IDC_SECTIONS_LINES, p.searchSection != 1);
    }

    viewOf(functions).setText(IDC_SECTIONS_FIND_TEXT, "");
    functions.searchSection = 7;
    press(functions, IDC_SECTIONS_FIND);
    EXPECT_EQ(functions.searchSection, 7);
}

TEST_F(SectionListTest, ClosingShowsTheSizeFigureAndHides)
{
    Chanshu_dlg& functions = open();
    EXPECT_FALSE(functions.onClose());
    EXPECT_FALSE(viewOf(functions).isWindowShown());
    EXPECT_EQ(host.sizeFigures, 1);
}

}  // namespace
}  // namespace orlo::test
