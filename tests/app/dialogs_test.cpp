// The settings dialog and the information window on their own, and the
// editing commands of the line lists, through the fake view and shell.
#include <gtest/gtest.h>

#include "app/com_dlg.h"
#include "app/hardware_info_dlg.h"
#include "app/section_edit.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

using test::param1s;
using test::sampleLines;

// ---- CCom_Dlg.

class SettingsDialog : public ::testing::Test {
protected:
    void open(const CommDialogValues& values)
    {
        dialog = std::make_unique<CCom_Dlg>(values);
        dialog->attach(&view);
        dialog->onInit();
    }

    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    std::unique_ptr<CCom_Dlg> dialog;
};

TEST_F(SettingsDialog, FillsItsListsAndShowsTheValues)
{
    CommDialogValues v;
    v.link.comIndex = 254;
    v.link.baudIndex = 9;
    v.link.serverAddress = "10.0.0.1";
    v.link.serverPort = 65535;
    v.autoOpenPort = true;
    open(v);
    EXPECT_EQ(view.itemCount(1024), 255);
    EXPECT_EQ(view.itemText(1024, 0), "COM1");
    EXPECT_EQ(view.itemText(1024, 254), "COM255");
    EXPECT_EQ(view.control(1042).items,
              (std::vector<std::string>{"300", "600", "1200", "2400", "4800", "9600", "19200",
                                        "38400", "57600", "115200"}));
    EXPECT_EQ(view.currentIndex(1024), 254);
    EXPECT_EQ(view.currentIndex(1042), 9);
    EXPECT_EQ(view.checkState(1033), 1);
    EXPECT_EQ(view.checkState(1034), 0);
    EXPECT_EQ(view.text(1027), "10.0.0.1");
    EXPECT_EQ(view.text(1025), "65535");
    EXPECT_EQ(view.checkState(1043), 1);
    EXPECT_EQ(view.checkState(1036), 0);
    for (int id : {1024, 1042, 1027, 1025, 1033, 1034, 1043, 1036})
        EXPECT_TRUE(view.isControlEnabled(id)) << id;  // all start enabled
}

TEST_F(SettingsDialog, TheRadioButtonsSwitchTheirControls)
{
    open(CommDialogValues());
    struct Case {
        int radio;
        bool serialOn;
    };
    for (const Case& c : {Case{1034, false}, Case{1033, true}, Case{1034, false}}) {
        dialog->onCommand(c.radio, Notify::Clicked);
        EXPECT_EQ(view.isControlEnabled(1024), c.serialOn) << c.radio;
        EXPECT_EQ(view.isControlEnabled(1042), c.serialOn) << c.radio;
        EXPECT_EQ(view.isControlEnabled(1027), !c.serialOn) << c.radio;
        EXPECT_EQ(view.isControlEnabled(1025), !c.serialOn) << c.radio;
    }
    // Other notifications of the radios change nothing.
    dialog->onCommand(1033, Notify::GotFocus);
    EXPECT_FALSE(view.isControlEnabled(1024));
}

TEST_F(SettingsDialog, OkTakesTheControlsAndCancelLeavesTheValues)
{
    CommDialogValues v;
    open(v);
    view.setCheckState(1033, 0);
    view.setCheckState(1034, 1);
    view.setCurrentIndex(1024, 7);
    view.setCurrentIndex(1042, 2);
    view.setText(1027, "");
    view.setText(1025, " 8080 ");
    view.setCheckState(1036, 1);
    dialog->onCommand(1, Notify::Clicked);
    EXPECT_EQ(view.endResult, 1);
    const CommDialogValues& got = dialog->values();
    EXPECT_TRUE(got.link.useTcp);
    EXPECT_EQ(got.link.comIndex, 7u);
    EXPECT_EQ(got.link.baudIndex, 2u);
    EXPECT_EQ(got.link.serverAddress, "192.168.1.110");  // empty reads as the default
    EXPECT_EQ(got.link.serverPort, 8080);
    EXPECT_FALSE(got.autoOpenPort);
    EXPECT_TRUE(got.autoOpenFile);

    open(v);
    view.setCurrentIndex(1024, 7);
    EXPECT_TRUE(dialog->onClose());  // the host ends it with IDCANCEL
    EXPECT_TRUE(dialog->values() == v);
}

TEST_F(SettingsDialog, AnIndexTheListDoesNotShowIsKept)
{
    CommDialogValues v;
    v.link.baudIndex = 12;  // opens at 9600, shows no rate
    v.link.comIndex = 300;
    open(v);
    EXPECT_EQ(view.currentIndex(1042), -1);
    EXPECT_EQ(view.currentIndex(1024), -1);
    dialog->onCommand(1, Notify::Clicked);
    EXPECT_EQ(dialog->values().link.baudIndex, 12u);
    EXPECT_EQ(dialog->values().link.comIndex, 300u);
}

TEST_F(SettingsDialog, APortThatIsNoNumberKeepsTheDialogOpen)
{
    for (const char* bad : {"", "abc", "65536", "-1", "12x", "99999999999"}) {
        open(CommDialogValues());
        view.setText(1025, bad);
        shell.messages.clear();
        dialog->onCommand(1, Notify::Clicked);
        EXPECT_EQ(view.endResult, -1) << bad;
        ASSERT_EQ(shell.messages.size(), 1u) << bad;
        EXPECT_EQ(shell.messages[0].text, kBadTcpPortText);
        EXPECT_EQ(view.focusedControl(), 1025);
        EXPECT_EQ(dialog->values().link.serverPort, 6000);
    }
}

// ---- Cyingjianxinxi.

TEST(InformationWindow, ShowsItsTextAndLaysOutOnEveryResize)
{
    FakeView view;
    view.client = Size{500, 400};
    Cyingjianxinxi window(3, "读取硬件信息成功：\r\n\r\n输入数量：4\r\n");
    EXPECT_EQ(window.templateId(), 141);
    window.attach(&view);
    window.onInit();
    EXPECT_EQ(view.text(1027), "读取硬件信息成功：\r\n\r\n输入数量：4\r\n");
    EXPECT_EQ(view.focusedControl(), 1048);
    struct Case {
        Size client;
        Rect text, ok, cancel;
    };
    const Case cases[] = {
        {{500, 400}, {0, 0, 500, 360}, {0, 360, 100, 40}, {200, 360, 100, 40}},
        {{320, 100}, {0, 0, 320, 60}, {0, 60, 100, 40}, {200, 60, 100, 40}},
    };
    for (const Case& c : cases) {
        window.onSize(c.client.width, c.client.height);
        EXPECT_EQ(view.controlRect(1027), c.text);
        EXPECT_EQ(view.controlRect(1048), c.ok);
        EXPECT_EQ(view.controlRect(1049), c.cancel);
    }
}

TEST(InformationWindow, BothButtonsClose)
{
    for (int button : {1048, 1049}) {
        FakeView view;
        Cyingjianxinxi window(1, "x");
        window.attach(&view);
        window.onInit();
        window.onCommand(1027, Notify::Clicked);
        EXPECT_EQ(view.endResult, -1);
        window.onCommand(button, Notify::Clicked);
        EXPECT_EQ(view.endResult, button);
    }
}

// ---- Editing commands.

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
    s.lines = {test::sampleLine(false, 1, "甲"), test::sampleLine(false, 2),
               test::sampleLine(false, 3, "甲")};
    EXPECT_EQ(findText(s, 0, "甲"), 0);
    EXPECT_EQ(findText(s, 1, "甲"), 2);
    EXPECT_EQ(findText(s, 3, "甲"), -1);
    EXPECT_EQ(findText(s, -5, "甲"), 0);
    EXPECT_EQ(findText(s, 1, ""), 1);   // an empty text: the next line
    EXPECT_EQ(findText(s, 0, "备注"), 0);  // the remark suffix is searched
}

}  // namespace
}  // namespace orlo
