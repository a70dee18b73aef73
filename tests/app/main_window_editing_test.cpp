// The main window with its editing companions: the list, "添加指令", the search
// box and the menus reach the line editor, the lists and the find window;
// their changes reach the main list, the size figure and the modified flag;
// remote codes come through the main window's session. And every control
// those windows touch is in their templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "device/frames.h"
#include "res/tools_resource.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/rc_script.h"
#include "ui/find_dlg.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo {
namespace {

using test::MainWindowFixture;
using test::param1s;
using test::sampleLine;
using test::sampleLines;

class MainWindowEditing : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
    Cadd_in& editor() { return dlg->editing().lineEditor(); }
    FakeView& viewOf(const Window& w)
    {
        FakeView* v = host.modelessView(w);
        EXPECT_NE(v, nullptr);
        return *v;
    }
    void chooseIn(Window& w, int id, int index)
    {
        viewOf(w).setCurrentIndex(id, index);
        w.onCommand(id, Notify::SelChanged);
    }
    void listNotify(std::initializer_list<int> rows, Notify n)
    {
        view.setSelected(IDC_PROGRAM_LIST, -1, false);
        for (int r : rows)
            view.setSelected(IDC_PROGRAM_LIST, r, true);
        dlg->onCommand(IDC_PROGRAM_LIST, n);
    }
};

TEST_F(MainWindowEditing, StartUpCreatesTheHiddenLineEditorOverTheMainWindow)
{
    // The relay test panel is made hidden at start-up too, after the editor.
    EXPECT_EQ(host.modelessTemplates, (std::vector<int>{IDD_LINE_EDITOR, IDD_RELAY_TEST}));
    EXPECT_EQ(host.modelessOwners, (std::vector<Window*>{dlg.get(), dlg.get()}));
    EXPECT_FALSE(viewOf(editor()).isWindowShown());
    EXPECT_EQ(viewOf(editor()).focusedControl(), IDC_LINE_REMARK);
}

TEST_F(MainWindowEditing, AddLineBuildsALineIntoTheListWithItsSizeFigure)
{
    program().main.lines = sampleLines(2);
    dlg->refreshMainList();
    listNotify({0}, Notify::SelChanged);
    click(IDC_ADD_LINE);
    FakeView& e = viewOf(editor());
    ASSERT_TRUE(e.isWindowShown());
    EXPECT_TRUE(editor().addMode());
    chooseIn(editor(), IDC_LINE_SIDE, 1);
    chooseIn(editor(), IDC_LINE_KIND, 1);  // 输出操作
    chooseIn(editor(), IDC_LINE_PARAM1, 3);  // 点动某一路
    e.setText(IDC_LINE_PARAM3, "500");
    editor().onCommand(IDC_LINE_PARAM3, Notify::Changed);
    editor().onCommand(1, Notify::Clicked);

    ASSERT_EQ(program().main.count(), 3u);
    EXPECT_EQ(program().main.lines[1].param1(), 4);
    EXPECT_EQ(view.itemText(IDC_PROGRAM_LIST, 1), "     ->  输出操作  点动 输出1 500ms");
    EXPECT_EQ(view.selectedIndexes(IDC_PROGRAM_LIST), std::vector<int>{1});
    EXPECT_EQ(view.text(IDC_PROGRAM_SIZE), CTarnDlg::sizeText(imageSize()));
    EXPECT_TRUE(dlg->modified);
}

TEST_F(MainWindowEditing, TheListOpensTheEditorAndTheSearchBoxMovesIt)
{
    program().main.lines = {sampleLine(false, 1), sampleLine(true, 2, "甲"), sampleLine(false, 3)};
    dlg->refreshMainList();
    listNotify({1}, Notify::DoubleClicked);
    EXPECT_EQ(dlg->currentLine, 1);
    EXPECT_TRUE(viewOf(editor()).isWindowShown());
    EXPECT_EQ(editor().editLine().param1(), 2);

    // Editing changes the list at once and marks the program modified.
    chooseIn(editor(), IDC_LINE_PARAM1, 6);
    EXPECT_EQ(program().main.lines[1].param1(), 7);
    EXPECT_EQ(view.itemText(IDC_PROGRAM_LIST, 1), "     ->  " + lineText(program().main.lines[1]));
    EXPECT_TRUE(dlg->modified);

    // The search box selects the next find, and the open editor follows.
    listNotify({2}, Notify::SelChanged);
    EXPECT_EQ(editor().editLine().param1(), 3);
    view.setText(IDC_FIND_TEXT, "甲");
    click(IDC_FIND);
    EXPECT_EQ(view.selectedIndexes(IDC_PROGRAM_LIST), std::vector<int>{1});
    EXPECT_EQ(dlg->currentLine, 1);
    EXPECT_EQ(editor().editLine().param1(), 7);
}

TEST_F(MainWindowEditing, MenuEntriesShowTheListsAndTheFindWindow)
{
    program().functions[3].lines = sampleLines(2);
    click(ID_SETTINGS_FUNCTIONS);
    Chanshu_dlg* functions = dlg->editing().sectionList(ListKind::Functions, false);
    ASSERT_NE(functions, nullptr);
    EXPECT_TRUE(viewOf(*functions).isWindowShown());
    EXPECT_EQ(functions->chosenSection, 4);

    click(ID_SETTINGS_THREADS);
    Chanshu_dlg* threads = dlg->editing().sectionList(ListKind::Threads, false);
    ASSERT_NE(threads, nullptr);
    EXPECT_EQ(viewOf(*threads).title(), "线程列表");

    click(ID_EDIT_FIND);
    Cfind_dlg* find = dlg->editing().findWindow(false);
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(viewOf(*find).isWindowShown());
    EXPECT_EQ(host.modelessTemplates,
              (std::vector<int>{IDD_LINE_EDITOR, IDD_RELAY_TEST, IDD_SECTION_LIST, IDD_SECTION_LIST,
                                IDD_FIND}));

    // Lines pasted into a function mark the program modified, and closing
    // the list shows the size figure with them.
    program().clipboard.lines = sampleLines(3);
    viewOf(*functions).setFocus(IDC_SECTIONS_LINES);
    functions->onKeyDown(KeyV, true, IDC_SECTIONS_LINES);
    EXPECT_EQ(program().functions[3].count(), 5u);
    EXPECT_TRUE(dlg->modified);
    view.setText(IDC_PROGRAM_SIZE, "");
    functions->onClose();
    EXPECT_EQ(view.text(IDC_PROGRAM_SIZE), CTarnDlg::sizeText(imageSize()));
}

TEST_F(MainWindowEditing, ALearnedRadioCodeReachesTheEditorThroughTheMainWindow)
{
    click(IDC_ADD_LINE);
    chooseIn(editor(), IDC_LINE_KIND, 6);  // 无线遥控器
    editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::LearnRadioRemote);
    for (char c : dataReply(1, kQueryCommand, std::string("\x00\x00\x00\x05\x00\x00\x00\x09", 8)))
        dlg->onMessage(kRxByteMessage, static_cast<std::uint8_t>(c), 1);
    EXPECT_EQ(shell.lastMessage(), "接收到无线遥控信号，遥控参数:5 遥控码:9");
    EXPECT_EQ(viewOf(editor()).text(IDC_LINE_PARAM3), "无线参数:5 无线数据:9");
}

// ---- The templates of the editing windows.

class EditingTemplates : public MainWindowEditing {
protected:
    void SetUp() override
    {
        MainWindowEditing::SetUp();
        ASSERT_TRUE(rc.load(ORLO_SOURCE_DIR "/res/resource.h", ORLO_SOURCE_DIR "/res/tarn.rc"));
    }
    // Every control the window touched is in its template exactly once, and
    // the template holds `controls` addressed controls.
    void expectFits(const Window& window, long dialogId, std::size_t controls)
    {
        std::vector<long> ids;
        ASSERT_TRUE(rc.dialogControlIds(dialogId, ids)) << dialogId;
        std::set<long> unique;
        for (long id : ids) {
            if (id != -1) {
                EXPECT_TRUE(unique.insert(id).second) << "id " << id << " twice in " << dialogId;
            }
        }
        EXPECT_EQ(unique.size(), controls) << dialogId;
        FakeView& v = viewOf(window);
        for (int id = 1; id < 65536; ++id) {
            if (v.has(id)) {
                EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 1) << dialogId << " control " << id;
            }
        }
    }
    std::string caption(long dialogId)
    {
        for (std::size_t i = 0; i < rc.lines.size(); ++i) {
            long v;
            std::string name = rc.lines[i].substr(0, rc.lines[i].find(' '));
            if (rc.lines[i].find("DIALOGEX") == std::string::npos || !rc.resolve(name, v) ||
                v != dialogId)
                continue;
            for (std::size_t j = i + 1; j < rc.lines.size() && rc.lines[j] != "BEGIN"; ++j)
                if (rc.lines[j].rfind("CAPTION", 0) == 0)
                    return rc.lines[j];
        }
        return {};
    }

    RcScript rc;
};

TEST_F(EditingTemplates, EveryControlTheEditingWindowsTouchIsInTheirTemplates)
{
    EXPECT_EQ(IDD_LINE_EDITOR, 133);
    EXPECT_EQ(IDD_SECTION_LIST, 146);
    EXPECT_EQ(IDD_FIND, 158);
    EXPECT_EQ(caption(IDD_LINE_EDITOR), u8"CAPTION \"编辑指令\"");
    EXPECT_EQ(caption(IDD_FIND), u8"CAPTION \"查找\"");

    // Use every control: a line built, confirmed and cancelled; a list with
    // its buttons, keys, search and resize; a find.
    program().functions[0].lines = sampleLines(3);
    program().main.lines = sampleLines(2);
    dlg->refreshMainList();
    click(IDC_ADD_LINE);
    chooseIn(editor(), IDC_LINE_SIDE, 1);
    chooseIn(editor(), IDC_LINE_KIND, 12);  // 全局数组简单处理
    chooseIn(editor(), IDC_LINE_PARAM1, 0);
    chooseIn(editor(), IDC_LINE_PARAM2, 1);
    chooseIn(editor(), IDC_LINE_PARAM3, 1);
    viewOf(editor()).setCheckState(IDC_LINE_OR, 1);
    editor().onCommand(IDC_LINE_OR, Notify::Clicked);
    editor().onCommand(IDC_LINE_REMARK, Notify::Changed);
    editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    editor().onCommand(1, Notify::Clicked);

    click(ID_SETTINGS_FUNCTIONS);
    Chanshu_dlg& functions = *dlg->editing().sectionList(ListKind::Functions, false);
    functions.onSize(800, 500);
    viewOf(functions).setText(IDC_SECTIONS_FIND_TEXT, "输入");
    for (int id : {IDC_SECTIONS_FIND, IDC_SECTIONS_ADD, IDC_SECTIONS_DELETE,
                   IDC_SECTIONS_DELETE_ALL, IDC_SECTIONS_IMPORT, IDC_SECTIONS_EXPORT})
        functions.onCommand(id, Notify::Clicked);
    functions.onCommand(IDC_SECTIONS_LINES, Notify::DoubleClicked);
    chooseIn(functions, IDC_SECTIONS_LIST, 1);
    editor().onCommand(2, Notify::Clicked);

    click(ID_EDIT_FIND);
    Cfind_dlg& find = *dlg->editing().findWindow(false);
    viewOf(find).setText(IDC_FIND_WINDOW_TEXT, "输入");
    for (int i = 0; i < 4; ++i)
        find.onCommand(1, Notify::Clicked);
    find.onCommand(2, Notify::Clicked);

    // The editor: side, check box, kind, param1 to param3, remark, OK, Cancel,
    // and "说明", which only Orlo.exe shows.
    expectFits(editor(), IDD_LINE_EDITOR, 10);
    // The lists: five buttons, the search text and button, the two lists.
    expectFits(functions, IDD_SECTION_LIST, 9);
    // The find window: the text, OK, Cancel.
    expectFits(find, IDD_FIND, 3);
}

}  // namespace
}  // namespace orlo
