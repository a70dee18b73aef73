// Orlo.exe's usage extras through the main window on fake views: the menus
// and title each edition chooses, insert before and after the selection,
// import at the selected line, "没有找到！" after both searches, and the help
// window on the kind chosen in the line editor, with an explanation and an
// example, which the editor itself builds, for every kind the editor offers.
#include <gtest/gtest.h>

#include "app/file_dialogs.h"
#include "catalogue/kind_help.h"
#include "model/files.h"
#include "platform/strings.h"
#include "tests/app/main_window_fixture.h"
#include "ui/find_dlg.h"
#include "ui/kind_help_dlg.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"

namespace orlo {
namespace {

using test::param1s;
using test::sampleLine;
using test::sampleLines;

class UsageExtras : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        edition = &orloEdition();
        start();
    }
    void restart(const Edition& e)
    {
        dlg.reset();
        view = FakeView();
        view.client = Size{1300, 700};
        edition = &e;
        start();
    }
    Cadd_in& editor() { return dlg->editing().lineEditor(); }
    FakeView& viewOf(const Window& w) { return *host.modelessView(w); }
    void choose(Window& w, int id, int index)
    {
        viewOf(w).setCurrentIndex(id, index);
        w.onCommand(id, Notify::SelChanged);
    }
    // The main program holds lines with param1 1..4, rows selected.
    void mainLines(const std::vector<int>& selected)
    {
        program().main.lines = sampleLines(4);
        dlg->refreshMainList();
        view.setSelected(IDC_PROGRAM_LIST, -1, false);
        for (int r : selected)
            view.setSelected(IDC_PROGRAM_LIST, r, true);
    }
    std::vector<std::string> notices() const
    {
        std::vector<std::string> out;
        for (const auto& m : shell.messages)
            out.push_back(m.caption + ":" + m.text);
        return out;
    }
};

TEST_F(UsageExtras, EachEditionHasItsMenusTitleAndEditorButton)
{
    for (const Edition* e : {&tarnEdition(), &orloEdition()}) {
        SCOPED_TRACE(e->name);
        restart(*e);
        EXPECT_EQ(view.menuId, e->menuId);
        EXPECT_EQ(view.title(), CTarnDlg::defaultTitle() + e->titleSuffix);
        EXPECT_EQ(dlg->baseTitle, view.title());
        dlg->onContextMenu(IDC_PROGRAM_LIST, 5, 5);
        ASSERT_FALSE(shell.menus.empty());
        EXPECT_EQ(shell.menus.back().menuId, e->contextMenuId);
        EXPECT_EQ(viewOf(editor()).isControlShown(IDC_LINE_HELP), e->usageExtras);
        // Tarn.exe's hidden button does nothing even when pressed.
        editor().onCommand(IDC_LINE_HELP, Notify::Clicked);
        EXPECT_EQ(dlg->editing().kindHelp(false) != nullptr, e->usageExtras);
    }
    EXPECT_NE(CTarnDlg::defaultTitle() + orloEdition().titleSuffix, CTarnDlg::defaultTitle());
}

TEST_F(UsageExtras, InsertBeforeOrAfterTheSelectionFromMenuOrContextMenu)
{
    const struct {
        std::vector<int> selected;
        int command;
        bool contextMenu;
        std::vector<int> lines;  // param1 of each line after; 0 is the new one
        int selectedAfter;
    } cases[] = {
        {{1}, ID_EDIT_INSERT_BEFORE, false, {1, 0, 2, 3, 4}, 1},
        {{1}, ID_EDIT_INSERT_AFTER, false, {1, 2, 0, 3, 4}, 2},
        {{1, 2}, ID_EDIT_INSERT_BEFORE, true, {1, 0, 2, 3, 4}, 1},
        {{1, 2}, ID_EDIT_INSERT_AFTER, true, {1, 2, 3, 0, 4}, 3},
        {{0}, ID_EDIT_INSERT_BEFORE, false, {0, 1, 2, 3, 4}, 0},
        {{}, ID_EDIT_INSERT_BEFORE, false, {1, 2, 3, 4, 0}, 4},
        {{}, ID_EDIT_INSERT_AFTER, true, {1, 2, 3, 4, 0}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " after " << c.selected.size() << " rows");
        mainLines(c.selected);
        dlg->modified = false;
        if (c.contextMenu) {
            shell.menuChoices.push_back(c.command);
            dlg->onContextMenu(IDC_PROGRAM_LIST, 5, 5);
        } else {
            click(c.command);
        }
        ASSERT_TRUE(viewOf(editor()).isWindowShown());
        EXPECT_TRUE(editor().addMode());
        EXPECT_EQ(program().main.count(), 4u);  // nothing before confirmation
        editor().onCommand(1, Notify::Clicked);
        EXPECT_EQ(param1s(program().main), c.lines);
        EXPECT_EQ(view.selectedIndexes(IDC_PROGRAM_LIST), std::vector<int>{c.selectedAfter});
        EXPECT_TRUE(dlg->modified);
    }
    // "添加指令" after an insert before goes after the selection again.
    mainLines({1});
    click(ID_EDIT_INSERT_BEFORE);
    click(IDC_ADD_LINE);
    editor().onCommand(1, Notify::Clicked);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 2, 0, 3, 4}));
}

TEST_F(UsageExtras, ImportAtTheSelectedLineOrAtTheEnd)
{
    ProgramSection function;
    function.lines = {sampleLine(false, 7), sampleLine(true, 8)};
    const std::string file = folder.file("f.hanshu");
    ASSERT_FALSE(saveFunctionFile(function, file).empty());

    const struct {
        std::vector<int> selected;
        std::vector<int> lines;
    } cases[] = {
        {{}, {1, 2, 3, 4, 7, 8}},
        {{2}, {1, 2, 7, 8, 3, 4}},
        {{1, 3}, {1, 7, 8, 2, 3, 4}},
        {{0}, {7, 8, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines[1]);
        mainLines(c.selected);
        dlg->modified = false;
        shell.paths.push_back(file);
        click(ID_FILE_IMPORT_AT_SELECTION);
        const std::vector<FileFilter> filters = shell.dialogs.back().request.filters;
        ASSERT_EQ(filters.size(), fileFilters(kImportFilter).size());
        EXPECT_EQ(filters[0].pattern, fileFilters(kImportFilter)[0].pattern);
        EXPECT_TRUE(dlg->modified);
        // The image holds the imported lines' bytes in their place.
        const std::string image = buildImage();
        std::vector<ProgramLine> expected;
        for (int p : c.lines)
            expected.push_back(p == 7 || p == 8 ? function.lines[p - 7] : sampleLine(p % 2 == 0, p));
        program().main.lines = expected;
        EXPECT_EQ(hexText(image), hexText(buildImage()));
    }

    // Loading rules and messages as Import: a file of another type changes
    // nothing; Cancel changes nothing.
    mainLines({1});
    dlg->modified = false;
    const std::string other = folder.file("f.txt");
    test::putFile(other, "x");
    shell.paths.push_back(other);
    click(ID_FILE_IMPORT_AT_SELECTION);
    click(ID_FILE_IMPORT_AT_SELECTION);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"文件类型不对"});
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(dlg->modified);
}

TEST_F(UsageExtras, NothingFoundIsSaidInOrloAfterEitherSearch)
{
    const std::string notice = "提示:没有找到！";
    const struct {
        const Edition* edition;
        bool findWindow;
        const char* text;
        int presses;
        std::vector<std::string> messages;  // after the last press
    } cases[] = {
        {&orloEdition(), false, "无此文字", 1, {notice}},
        {&orloEdition(), false, "甲", 1, {}},
        {&orloEdition(), false, "甲", 2, {notice}},  // no further line holds it
        {&tarnEdition(), false, "无此文字", 1, {}},
        {&orloEdition(), true, "无此文字", 1, {notice}},
        {&orloEdition(), true, "甲", 1, {}},
        {&orloEdition(), true, "甲", 2, {notice}},
        {&tarnEdition(), true, "无此文字", 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.edition->name << (c.findWindow ? " find window " : " ")
                                        << c.presses);
        restart(*c.edition);
        mainLines({});
        program().main.lines[2].remark = "甲";
        dlg->refreshMainList();
        if (c.findWindow)
            click(ID_EDIT_FIND);
        for (int i = 0; i < c.presses; ++i) {
            shell.messages.clear();
            if (c.findWindow) {
                Cfind_dlg& find = *dlg->editing().findWindow(false);
                viewOf(find).setText(IDC_FIND_WINDOW_TEXT, c.text);
                find.onCommand(1, Notify::Clicked);
            } else {
                view.setText(IDC_FIND_TEXT, c.text);
                click(IDC_FIND);
            }
        }
        EXPECT_EQ(notices(), c.messages);
    }
}

TEST_F(UsageExtras, HelpWindowShowsTheKindChosenInTheLineEditor)
{
    const struct {
        int side;     // 0 conditions, 1 results
        int kindRow;  // in the editor's kind list; -1 none chosen
        bool key;     // F1 instead of "说明"
    } cases[] = {{0, 0, false}, {0, 16, true}, {1, 0, true}, {1, 18, false}, {1, -1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.kindRow);
        click(IDC_ADD_LINE);
        choose(editor(), IDC_LINE_SIDE, c.side);
        if (c.kindRow >= 0)
            choose(editor(), IDC_LINE_KIND, c.kindRow);
        if (c.key)
            EXPECT_TRUE(editor().onKeyDown(KeyF1, false, IDC_LINE_PARAM3));
        else
            editor().onCommand(IDC_LINE_HELP, Notify::Clicked);

        Cshuoming_dlg* help = dlg->editing().kindHelp(false);
        ASSERT_NE(help, nullptr);
        FakeView& v = viewOf(*help);
        EXPECT_TRUE(v.isWindowShown());
        EXPECT_EQ(v.currentIndex(IDC_HELP_SIDE), c.side);
        EXPECT_EQ(v.currentIndex(IDC_HELP_KINDS), c.kindRow);
        const int kind = editor().editLine().kind();
        EXPECT_EQ(v.text(IDC_HELP_TEXT), Cshuoming_dlg::helpText(c.side == 1, kind));
        if (c.kindRow >= 0) {
            const std::string name = viewOf(editor()).itemText(IDC_LINE_KIND, c.kindRow);
            EXPECT_EQ(v.itemText(IDC_HELP_KINDS, c.kindRow), name);
            EXPECT_EQ(v.text(IDC_HELP_TEXT).rfind(name, 0), 0u);
        }
    }
    // Choosing in the window itself, and the menu entry and F1 bring it back.
    Cshuoming_dlg& help = *dlg->editing().kindHelp(false);
    FakeView& v = viewOf(help);
    choose(help, IDC_HELP_SIDE, 0);
    EXPECT_EQ(v.text(IDC_HELP_TEXT), Cshuoming_dlg::helpText(false, 1));
    choose(help, IDC_HELP_KINDS, 2);
    EXPECT_EQ(v.text(IDC_HELP_TEXT), Cshuoming_dlg::helpText(false, 3));
    help.onCommand(2, Notify::Clicked);
    EXPECT_FALSE(v.isWindowShown());
    EXPECT_TRUE(dlg->onKeyDown(KeyF1, false, IDC_FIND_TEXT));
    EXPECT_TRUE(v.isWindowShown());
    EXPECT_FALSE(help.onClose());
    click(ID_HELP_KINDS);
    EXPECT_TRUE(v.isWindowShown());
    EXPECT_EQ(v.text(IDC_HELP_TEXT), Cshuoming_dlg::helpText(false, 3));
}

// Every kind in the editor's own lists has an explanation, and its example,
// followed step by step in the editor, gives exactly the line the help
// window shows: its choices exist, its text is accepted without a warning,
// and the row the main list shows for it ends the help text.
TEST_F(UsageExtras, EveryKindTheEditorOffersHasAnExplanationAndAWorkingExample)
{
    int kinds = 0;
    for (int side = 0; side < 2; ++side) {
        click(IDC_ADD_LINE);
        choose(editor(), IDC_LINE_SIDE, side);
        const int offered = viewOf(editor()).itemCount(IDC_LINE_KIND);
        EXPECT_EQ(offered, side ? 23 : 17);
        for (int row = 0; row < offered; ++row) {
            click(IDC_ADD_LINE);
            choose(editor(), IDC_LINE_SIDE, side);
            choose(editor(), IDC_LINE_KIND, row);
            const int kind = editor().editLine().kind();
            SCOPED_TRACE(testing::Message() << side << " kind " << kind);
            ++kinds;
            const KindHelp* help = findKindHelp(side == 1, kind);
            ASSERT_NE(help, nullptr);
            for (const char* text : {help->purpose, help->param1, help->param2, help->param3})
                EXPECT_NE(std::string(text), "");

            FakeView& e = viewOf(editor());
            const struct {
                int id, position;
            } choices[] = {{IDC_LINE_PARAM1, help->exampleParam1},
                           {IDC_LINE_PARAM2, help->exampleParam2},
                           {IDC_LINE_PARAM3, help->examplePick}};
            for (const auto& c : choices) {
                // A kind without a list keeps the position 1 it was given.
                if (c.position == 0 || (c.position == 1 && e.itemCount(c.id) == 0))
                    continue;
                ASSERT_LT(c.position - 1, e.itemCount(c.id)) << c.id;
                choose(editor(), c.id, c.position - 1);
            }
            if (*help->exampleText) {
                e.setText(IDC_LINE_PARAM3, help->exampleText);
                editor().onCommand(IDC_LINE_PARAM3, Notify::Changed);
            }
            editor().onCommand(1, Notify::Clicked);
            EXPECT_TRUE(shell.messages.empty()) << shell.lastMessage();
            shell.messages.clear();

            ProgramLine built;
            composeKindExample(*help, built.instruction.data());
            const ProgramLine& added = program().main.lines.back();
            EXPECT_EQ(hexText(added.instruction.data(), added.instruction.size()),
                      hexText(built.instruction.data(), built.instruction.size()));
            const std::string shown = lineText(added);
            EXPECT_FALSE(instructionText(added).empty());
            EXPECT_EQ(shown.find("格式出错"), std::string::npos) << shown;
            const std::string row = (side ? "->  " : "如果  ") + shown;
            const std::string text = Cshuoming_dlg::helpText(side == 1, kind);
            ASSERT_GE(text.size(), row.size());
            EXPECT_EQ(text.substr(text.size() - row.size()), row);
        }
    }
    EXPECT_EQ(kinds, 40);
}

}  // namespace
}  // namespace orlo
