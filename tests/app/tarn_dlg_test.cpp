// The main window's start-up state, layout, command routing, keys, context
// menu, timers and connection button, driven through the fake view and
// shell; and the application's run through a fake window host.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/product.h"
#include "app/tarn_app.h"
#include "app/tarn_dlg.h"
#include "platform/strings.h"
#include "res/tools_resource.h"
#include "tests/app/main_window_fixture.h"
#include "ui/program_list.h"

namespace orlo {
namespace {

using test::MainWindowFixture;
using test::param1s;
using test::sampleLines;

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }
};

TEST_F(MainWindowTest, StartsWithTitleSizeFigureAndProgressRange)
{
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129)");
    EXPECT_EQ(dlg->baseTitle, view.title());
    EXPECT_EQ(view.text(1013), "程序大小：0 字节");
    EXPECT_EQ(view.control(1018).progressLow, 0);
    EXPECT_EQ(view.control(1018).progressHigh, 50);
    EXPECT_EQ(dlg->programExtension, ".qv3");
    EXPECT_FALSE(dlg->modified);
    EXPECT_EQ(dlg->findPosition, -1);
    EXPECT_EQ(dlg->currentLine, -1);
    EXPECT_TRUE(dlg->currentPath.empty());
    EXPECT_EQ(dlg->session().deviceAddress(), 1);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    EXPECT_EQ(CTarnDlg::mainWindow(), dlg.get());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowTest, FillsAddressAndPortLists)
{
    struct Case {
        int id, count, index;
        const char* text;
    };
    const Case cases[] = {
        {1010, 256, 0, "地址0"}, {1010, 256, 1, "地址1"}, {1010, 256, 255, "地址255"},
        {1017, 255, 0, "COM1"},  {1017, 255, 254, "COM255"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view.itemCount(c.id), c.count) << c.id;
        EXPECT_EQ(view.itemText(c.id, c.index), c.text) << c.id << " row " << c.index;
    }
    EXPECT_EQ(view.currentIndex(1010), 1);  // address 1
    EXPECT_EQ(view.currentIndex(1017), 0);
    EXPECT_EQ(view.focusedControl(), 1010);
    // Filled with drawing switched off, and switched on again.
    EXPECT_TRUE(view.control(1010).redraw);
    EXPECT_TRUE(view.control(1017).redraw);
}

TEST_F(MainWindowTest, StartingAgainNeitherDuplicatesEntriesNorKeepsTheOldAddress)
{
    view.setCurrentIndex(1010, 7);
    dlg->onCommand(1010, Notify::SelChanged);
    dlg->onInit();
    EXPECT_EQ(view.itemCount(1010), 256);
    EXPECT_EQ(view.itemCount(1017), 255);
    EXPECT_EQ(view.currentIndex(1010), 1);
    EXPECT_EQ(dlg->session().deviceAddress(), 1);
}

TEST_F(MainWindowTest, GivesTheProgramListTheListFont)
{
    const FakeControl& list = view.control(1005);
    ASSERT_TRUE(list.hasFont);
    EXPECT_EQ(list.font.face, "黑体");
    EXPECT_EQ(list.font.height, 24);
    EXPECT_EQ(list.font.width, 0);
    EXPECT_EQ(list.font.escapement, 0);
    EXPECT_EQ(list.font.orientation, 12);
    EXPECT_EQ(list.font.weight, 400);
    EXPECT_FALSE(list.font.italic || list.font.underline || list.font.strikeOut);
    EXPECT_EQ(list.font.charSet, 0);
    EXPECT_EQ(list.font.pitchAndFamily, 0x20);
}

TEST_F(MainWindowTest, StartsTheThreeTimersEvery100Ms)
{
    for (int id : {1, 2, 3}) {
        auto it = shell.timers.find({dlg.get(), id});
        ASSERT_NE(it, shell.timers.end()) << "timer " << id;
        EXPECT_EQ(it->second, 100u);
    }
    EXPECT_EQ(shell.timers.size(), 3u);
}

TEST_F(MainWindowTest, LaysOutEveryControlForTheClientSize)
{
    struct Case {
        int id;
        Rect r;
    };
    const Case cases[] = {
        {1001, {0, 0, 50, 25}},      {1002, {50, 0, 50, 25}},     {1003, {100, 0, 50, 25}},
        {1004, {150, 0, 50, 25}},    {1006, {220, 0, 75, 25}},    {1007, {295, 0, 50, 25}},
        {1017, {365, 0, 100, 25}},   {1008, {465, 0, 100, 25}},   {1010, {585, 0, 120, 25}},
        {1011, {705, 0, 60, 25}},    {1012, {765, 0, 60, 25}},    {1013, {845, 0, 200, 25}},
        {1014, {1065, 0, 150, 25}},  {1015, {1215, 0, 40, 20}},   {1005, {0, 25, 1300, 660}},
        {1018, {0, 675, 1300, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.controlRect(c.id), c.r) << "control " << c.id;
}

TEST_F(MainWindowTest, ListAndProgressBarFollowEveryResize)
{
    struct Case {
        Size client;
        Rect list, progress;
    };
    const Case cases[] = {
        {{640, 480}, {0, 25, 640, 440}, {0, 455, 640, 20}},
        {{1920, 1000}, {0, 25, 1920, 960}, {0, 975, 1920, 20}},
    };
    for (const Case& c : cases) {
        dlg->onSize(c.client.width, c.client.height);
        EXPECT_EQ(view.controlRect(1005), c.list) << c.client.width;
        EXPECT_EQ(view.controlRect(1018), c.progress) << c.client.width;
        EXPECT_EQ(view.controlRect(1015), (Rect{1215, 0, 40, 20}));  // the top row stays
    }
}

TEST_F(MainWindowFixture, SavedSettingsChooseThePortListEntryAndTheButtonText)
{
    struct Case {
        const char* file;
        int portEntry;
        const char* button;
    };
    const Case cases[] = {
        {"", 0, "串口未连接"},
        {"[canshu_v2]\r\ncom_num=6\r\n", 6, "串口未连接"},
        {"[canshu_v2]\r\ncom_or_tcp=1\r\ncom_num=254\r\n", 254, "网络已断开"},
        {"[canshu_v2]\r\ncom_num=300\r\n", -1, "串口未连接"},  // no such entry
    };
    for (const Case& c : cases) {
        std::filesystem::remove(settingsFile());
        view = FakeView();
        start(c.file);
        EXPECT_EQ(view.currentIndex(1017), c.portEntry) << c.file;
        EXPECT_EQ(view.text(1008), c.button) << c.file;
        EXPECT_EQ(view.currentIndex(1010), 1) << c.file;
        EXPECT_FALSE(dlg->link().serialOpen());  // never opened at start-up
    }
}

TEST_F(MainWindowFixture, StartUpEmptiesTheClipboardAndDrawsTheMainProgram)
{
    program().main.lines = sampleLines(5);
    program().clipboard.lines = sampleLines(2);
    start();
    EXPECT_TRUE(program().clipboard.empty());
    ProgramSection copy = program().main;
    EXPECT_EQ(view.control(1005).items, sectionRows(copy));
    EXPECT_EQ(view.text(1013), CTarnDlg::sizeText(imageSize()));
    EXPECT_GT(view.control(1005).redrawOffCount, 0);  // filled with drawing off
    EXPECT_TRUE(view.control(1005).redraw);
}

TEST_F(MainWindowTest, TheListsChooseAddressAndPort)
{
    view.setCurrentIndex(1010, 42);
    dlg->onCommand(1010, Notify::SelChanged);
    EXPECT_EQ(dlg->session().deviceAddress(), 42);

    // The port list changes the port of the next open, and nothing else.
    view.setCurrentIndex(1017, 3);
    dlg->onCommand(1017, Notify::SelChanged);
    EXPECT_EQ(dlg->link().settings().comIndex, 3u);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
    openSerial();
    EXPECT_EQ(device->callLog().front(), "open " + serialPortPath(4));
}

TEST_F(MainWindowTest, ConnectionButtonTogglesTheSerialPort)
{
    click(1008);
    EXPECT_TRUE(dlg->link().serialOpen());
    EXPECT_EQ(view.text(1008), "串口已打开");
    click(1008);
    EXPECT_FALSE(dlg->link().serialOpen());
    EXPECT_EQ(view.text(1008), "串口未连接");

    // A port that cannot be opened leaves the button as it was, silently.
    device->openError = 2;
    click(1008);
    EXPECT_EQ(view.text(1008), "串口未连接");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowFixture, ConnectionButtonTogglesTheNetworkInTcpMode)
{
    start("[canshu_v2]\r\ncom_or_tcp=1\r\nip=10.0.0.7\r\nsocket_port=7000\r\n");
    click(1008);
    EXPECT_EQ(connects, (std::vector<std::string>{"10.0.0.7:7000"}));
    EXPECT_EQ(view.text(1008), "网络已连接");
    click(1008);
    EXPECT_EQ(view.text(1008), "网络已断开");
    EXPECT_FALSE(dlg->link().serialOpen());

    tcpRefused = true;
    click(1008);
    EXPECT_EQ(view.text(1008), "网络已断开");
    EXPECT_EQ(shell.lastMessage(), "建立连接失败");
    EXPECT_EQ(shell.messages.back().caption, kApplicationCaption);
}

TEST_F(MainWindowTest, ALinkThatWentDownByItselfShowsAsClosed)
{
    openSerial();
    // A stale notice (the port is still open) changes nothing.
    dlg->onMessage(kLinkLostMessage, static_cast<std::uintptr_t>(LinkKind::Serial), 0);
    EXPECT_EQ(view.text(1008), "串口已打开");
    // The device fails: the reader ends the port and the notice comes in.
    device->failReads(5);
    for (int i = 0; i < 200 && dlg->link().serialOpen(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(dlg->link().serialOpen());
    EXPECT_TRUE(dlg->onMessage(kLinkLostMessage, static_cast<std::uintptr_t>(LinkKind::Serial), 0));
    EXPECT_EQ(view.text(1008), "串口未连接");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowTest, CommandsOfOtherWindowsReachTheirHandlers)
{
    for (int id : CTarnDlg::companionCommands()) {
        std::vector<Notify> seen;
        dlg->setCommandHandler(id, [&seen](Notify n) { seen.push_back(n); });
        dlg->onCommand(id, Notify::Clicked);
        dlg->onCommand(id, Notify::DoubleClicked);
        EXPECT_EQ(seen, (std::vector<Notify>{Notify::Clicked, Notify::DoubleClicked})) << id;
        dlg->setCommandHandler(id, nullptr);
        dlg->onCommand(id, Notify::Clicked);
        EXPECT_EQ(seen.size(), 2u) << id;
        EXPECT_FALSE(CTarnDlg::routesCommand(id)) << id;
    }
    // Without a handler they do nothing at all.
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(shell.dialogs.empty());
}

TEST_F(MainWindowTest, ButtonsAndMenuEntriesReachTheirActions)
{
    program().main.lines = sampleLines(4);
    dlg->refreshMainList();
    view.setSelected(1005, 1, true);
    // Each command shows its own first question, dialog or message.
    struct Case {
        int id;
        const char* message;   // first message box text, or null
        bool fileDialog;       // a file dialog opened first
    };
    const Case cases[] = {
        {IDC_OPEN, nullptr, true},          {ID_FILE_OPEN, nullptr, true},
        {IDC_SAVE, nullptr, true},          {ID_FILE_SAVE, nullptr, true},
        {IDC_SAVE_AS, nullptr, true},       {ID_FILE_SAVE_AS, nullptr, true},
        {ID_FILE_IMPORT, nullptr, true},    {ID_FILE_IMPORT_MAIN, nullptr, true},
        {ID_FILE_EXPORT, nullptr, true},    {IDC_DELETE, "确认要删除吗？", false},
        {ID_EDIT_DELETE, "确认要删除吗？", false},
        {ID_EDIT_DELETE_ALL, "确认要删除全部信息吗？", false},
        {IDC_READ_ALL, "继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？", false},
        {ID_COMM_READ_ALL, "继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？", false},
        {IDC_WRITE_ALL, "请先打开串口", false},
        {ID_COMM_WRITE_ALL, "请先打开串口", false},
        {ID_COMM_SET_CLOCK, "请先打开串口", false},
    };
    for (const Case& c : cases) {
        shell.messages.clear();
        shell.dialogs.clear();
        click(c.id);
        EXPECT_EQ(!shell.dialogs.empty(), c.fileDialog) << c.id;
        if (c.message) {
            ASSERT_FALSE(shell.messages.empty()) << c.id;
            EXPECT_EQ(shell.messages.front().text, c.message) << c.id;
        }
        EXPECT_TRUE(CTarnDlg::routesCommand(c.id)) << c.id;
    }
    // Nothing was answered Yes: the program is untouched.
    EXPECT_EQ(program().main.count(), 4u);
    // The settings dialog, from the button and from the menu.
    click(IDC_SETTINGS);
    click(ID_SETTINGS_COMM);
    EXPECT_EQ(host.templates, (std::vector<int>{135, 135}));
}

TEST_F(MainWindowTest, IgnoresTheOkCommandAndClosesOnTheCloseBox)
{
    dlg->onCommand(1, Notify::Clicked);  // IDOK
    EXPECT_EQ(view.endResult, -1);
    EXPECT_TRUE(dlg->onClose());
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowTest, ExitClosesTheWindowAfterTheQuestion)
{
    dlg->modified = true;
    shell.answers = {Answer::Cancel};
    click(ID_FILE_EXIT);
    EXPECT_EQ(view.endResult, -1);
    EXPECT_EQ(shell.lastMessage(), "文件被修改,是否保存?");
    shell.answers = {Answer::No};
    click(ID_FILE_EXIT);
    EXPECT_EQ(view.endResult, 2);
}

// ---- The relay tools and the about box.

class MainWindowToolsTest : public MainWindowTest {
protected:
    // Bytes from the line, as the transports hand them over.
    void receive(const std::vector<int>& bytes)
    {
        for (int b : bytes)
            dlg->onMessage(kRxByteMessage, static_cast<std::uintptr_t>(b), 1);
    }
    std::string lineHex()
    {
        std::lock_guard<std::mutex> lock(device->mutex);
        return hexText(device->written);
    }
    FakeView& viewOf(Window* w)
    {
        FakeView* v = w ? host.modelessView(*w) : nullptr;
        EXPECT_NE(v, nullptr);
        static FakeView none;
        return v ? *v : none;
    }
};

TEST_F(MainWindowToolsTest, TheWizardSendsItsFrameOverTheOpenLine)
{
    openSerial();
    host.users = {[](Window& w, FakeView& v) {
        v.setCurrentIndex(IDC_WIZ_CHANNEL, 2);  // "第3路"; "闭合某一路" is chosen at start
        w.onCommand(IDC_WIZ_CHANNEL, Notify::SelChanged);
        w.onCommand(IDC_WIZ_GENERATE, Notify::Clicked);
        w.onCommand(IDC_WIZ_SEND, Notify::Clicked);
    }};
    click(ID_TOOLS_WIZARD);
    ASSERT_EQ(host.templates, (std::vector<int>{IDD_RELAY_WIZARD}));
    EXPECT_EQ(host.owners[0], dlg.get());
    EXPECT_EQ(host.lastView.title(), "继电器板指令生成向导V1.7");
    EXPECT_EQ(host.lastView.text(IDC_WIZ_OUTPUT), "55 01 12 00 00 00 03 6B");
    EXPECT_EQ(lineHex(), "55 01 12 00 00 00 03 6B");
    EXPECT_EQ(dlg->session().pending(), PendingOperation::WizardSend);
}

TEST_F(MainWindowToolsTest, ThePanelIsCreatedHiddenAtStartAndTheMenuShowsIt)
{
    ASSERT_NE(dlg->relayTestPanel(), nullptr);
    EXPECT_EQ(std::count(host.modelessTemplates.begin(), host.modelessTemplates.end(),
                         IDD_RELAY_TEST),
              1);
    FakeView& panel = viewOf(dlg->relayTestPanel());
    EXPECT_FALSE(panel.isWindowShown());
    EXPECT_EQ(panel.currentIndex(IDC_RT_ADDRESS), 1);
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    click(ID_TOOLS_RELAY_TEST);
    EXPECT_TRUE(panel.isWindowShown());
    EXPECT_EQ(dlg->session().pending(), PendingOperation::RelayTest);
}

TEST_F(MainWindowToolsTest, ThePanelsQueryGoesOutAndItsReplyColoursTheChannels)
{
    openSerial();
    click(ID_TOOLS_RELAY_TEST);
    C_test_tool_dlg& panel = *dlg->relayTestPanel();
    panel.onCommand(IDC_RT_QUERY, Notify::Clicked);
    EXPECT_EQ(lineHex(), "55 01 10 00 00 00 00 66");
    // Channel 3 closed: the reply reaches the panel through the sum-frame
    // parser, byte by byte, behind some noise.
    receive({0x00, 0x22, 0x01, 0x10, 0x00, 0x00, 0x00, 0x04, 0x37});
    FakeView& v = viewOf(&panel);
    for (int n = 1; n <= 32; ++n)
        EXPECT_EQ(v.control(IDC_RT_CHANNEL_FIRST + n - 1).face,
                  n == 3 ? kRelayClosedColour : kRelayOpenColour)
            << n;
}

TEST_F(MainWindowToolsTest, TheTerminalIsMadeOnceAndShowsWhatArrivesInHex)
{
    EXPECT_EQ(dlg->debugTerminal(), nullptr);
    click(ID_TOOLS_TERMINAL);
    click(ID_TOOLS_TERMINAL);
    EXPECT_EQ(std::count(host.modelessTemplates.begin(), host.modelessTemplates.end(), IDD_TERMINAL),
              1);
    Ctiaoshi_helper_dlg& terminal = *dlg->debugTerminal();
    FakeView& v = viewOf(&terminal);
    EXPECT_TRUE(v.isWindowShown());
    EXPECT_EQ(dlg->session().pending(), PendingOperation::DebugTerminal);
    EXPECT_EQ((shell.timers[{&terminal, Ctiaoshi_helper_dlg::kFlushTimer}]), 50u);

    v.setCheckState(IDC_TERM_HEX_DISPLAY, 1);
    terminal.onCommand(IDC_TERM_HEX_DISPLAY, Notify::Clicked);
    receive({0x22, 0x01, 0xAB});
    EXPECT_EQ(v.text(IDC_TERM_RECEIVE), "");  // until the timer
    terminal.onTimer(Ctiaoshi_helper_dlg::kFlushTimer);
    EXPECT_EQ(v.text(IDC_TERM_RECEIVE), "22 01 AB ");

    // Closed, it still takes what nobody waits for; an operation takes the
    // bytes away from it.
    EXPECT_FALSE(terminal.onClose());
    EXPECT_FALSE(v.isWindowShown());
    EXPECT_EQ(dlg->session().pending(), PendingOperation::Idle);
    receive({0x10});
    click(ID_TOOLS_RELAY_TEST);
    receive({0x11});
    terminal.onTimer(Ctiaoshi_helper_dlg::kFlushTimer);
    EXPECT_EQ(v.text(IDC_TERM_RECEIVE), "22 01 AB 10 ");
}

TEST_F(MainWindowToolsTest, TheSystemMenuOpensTheAboutBox)
{
    ASSERT_EQ(view.systemMenu.size(), 1u);
    EXPECT_EQ(view.systemMenu[0].text, "关于 Orlo(&A)...");
    click(view.systemMenu[0].command);
    ASSERT_EQ(host.templates, (std::vector<int>{IDD_ABOUTBOX}));
    // Product, version and firmware as the title gives them.
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129)");
    EXPECT_EQ(host.lastView.text(IDC_ABOUT_PRODUCT), "Orlo V1.326");
    EXPECT_EQ(host.lastView.text(IDC_ABOUT_FIRMWARE), "固件0.129");
    EXPECT_EQ(host.lastView.text(IDC_ABOUT_RELEASE),
              std::string("发行版本 ") + releaseVersion() + " (" + buildCommit() + ")");
    EXPECT_EQ(host.lastView.title(), "关于 Orlo");
}

// ---- Keys and the context menu.

TEST_F(MainWindowTest, SwallowsEnterAndEscWhereverTheFocusIs)
{
    for (int focus : {0, 1005, 1010, 1014, 1015}) {
        for (bool ctrl : {false, true}) {
            EXPECT_TRUE(dlg->onKeyDown(KeyReturn, ctrl, focus)) << focus;
            EXPECT_TRUE(dlg->onKeyDown(KeyEscape, ctrl, focus)) << focus;
        }
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(MainWindowTest, EditingKeysActOnlyWhenTheListHasTheFocus)
{
    struct Case {
        int key;
        bool ctrl;
        int focus;
        bool consumed;
        std::vector<int> main;       // p1 of the main program's lines afterwards
        std::vector<int> clipboard;  // and of the clipboard's
    };
    // Lines 1 to 4; row 1 (p1 2) is selected; the clipboard holds line 9.
    const Case cases[] = {
        {KeyDelete, false, 1005, true, {1, 3, 4}, {9}},
        {KeyX, true, 1005, true, {1, 3, 4}, {2}},
        {KeyC, true, 1005, true, {1, 2, 3, 4}, {2}},
        {KeyV, true, 1005, true, {1, 2, 9, 3, 4}, {9}},
        {KeyDelete, false, 1014, false, {1, 2, 3, 4}, {9}},  // the search box
        {KeyX, true, 1010, false, {1, 2, 3, 4}, {9}},
        {KeyC, true, 0, false, {1, 2, 3, 4}, {9}},
        {KeyV, true, 1014, false, {1, 2, 3, 4}, {9}},
        {KeyX, false, 1005, false, {1, 2, 3, 4}, {9}},       // no Ctrl
        {KeyV, false, 1005, false, {1, 2, 3, 4}, {9}},
    };
    for (const Case& c : cases) {
        program().main.lines = sampleLines(4);
        program().clipboard.lines = {test::sampleLine(false, 9)};
        dlg->refreshMainList();
        view.setSelected(1005, 1, true);
        dlg->modified = false;
        shell.answers = {Answer::Yes};
        EXPECT_EQ(dlg->onKeyDown(c.key, c.ctrl, c.focus), c.consumed) << c.key << " on " << c.focus;
        EXPECT_EQ(param1s(program().main), c.main) << c.key << " on " << c.focus;
        EXPECT_EQ(param1s(program().clipboard), c.clipboard) << c.key << " on " << c.focus;
        // Every change marks the program modified; a copy does not.
        EXPECT_EQ(dlg->modified, c.main.size() != 4) << c.key << " on " << c.focus;
    }
}

TEST_F(MainWindowTest, ContextMenuOpensOverTheListWhereverTheFocusIs)
{
    program().main.lines = sampleLines(3);
    dlg->refreshMainList();
    view.setSelected(1005, 2, true);
    view.setFocus(1014);
    shell.menuChoices = {ID_EDIT_COPY};
    dlg->onContextMenu(1005, 300, 400);
    ASSERT_EQ(shell.menus.size(), 1u);
    EXPECT_EQ(shell.menus[0].menuId, 143);
    EXPECT_EQ(shell.menus[0].subMenu, 0);
    EXPECT_EQ(shell.menus[0].x, 300);
    EXPECT_EQ(shell.menus[0].y, 400);
    EXPECT_EQ(param1s(program().clipboard), (std::vector<int>{3}));

    // Elsewhere no menu; a menu closed without a choice does nothing.
    for (int id : {0, 1014, 1010})
        dlg->onContextMenu(id, 1, 1);
    EXPECT_EQ(shell.menus.size(), 1u);
    dlg->onContextMenu(1005, 1, 1);
    EXPECT_EQ(shell.menus.size(), 2u);
    EXPECT_TRUE(shell.messages.empty());

    // Each example entry inserts its lines.
    unsigned lines = program().main.count();
    for (int id : {ID_EXAMPLE_SEND, ID_EXAMPLE_JOG, ID_EXAMPLE_LATCH, ID_EXAMPLE_PACKET_SEND}) {
        shell.menuChoices = {id};
        dlg->onContextMenu(1005, 1, 1);
        EXPECT_GT(program().main.count(), lines) << id;
        lines = program().main.count();
    }
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(shell.dialogs.empty());
}

TEST_F(MainWindowTest, SearchBoxFindsTheNextLineAndStartsOverAtTheEnd)
{
    program().main.lines = {test::sampleLine(false, 1, "甲"), test::sampleLine(true, 2),
                            test::sampleLine(false, 3, "甲乙"), test::sampleLine(true, 4)};
    dlg->refreshMainList();
    view.setText(1014, "甲");
    const int expected[] = {0, 2, -1, 0};
    for (int e : expected) {
        click(1015);
        EXPECT_EQ(dlg->findPosition, e);
        if (e >= 0) {
            EXPECT_EQ(view.selectedIndexes(1005), (std::vector<int>{e}));
            EXPECT_EQ(view.topIndex(1005), e);
        }
    }
}

// ---- Timers.

TEST_F(MainWindowTest, TimerTwoRestoresTheBaudRateWhenTheWatchdogRunsOut)
{
    openSerial();
    dlg->watchdog.ticks = 2;
    dlg->onTimer(2);
    EXPECT_EQ(dlg->watchdog.ticks, 1);
    const std::size_t before = device->callLog().size();
    dlg->onTimer(1);
    dlg->onTimer(3);
    EXPECT_EQ(device->callLog().size(), before);
    dlg->onTimer(2);
    EXPECT_EQ(dlg->watchdog.ticks, 0);
    const std::vector<std::string> calls = device->callLog();
    ASSERT_GT(calls.size(), before);
    EXPECT_EQ(calls.back(), "purge rx");
    EXPECT_NE(std::find(calls.begin() + static_cast<long>(before), calls.end(), "setState 9600"),
              calls.end());
    // At zero it stays at zero and does nothing more.
    dlg->onTimer(2);
    EXPECT_EQ(device->callLog().size(), calls.size());
}

TEST_F(MainWindowTest, TimerThreeCountsTheStartDelayDown)
{
    int started = 0;
    dlg->startDelay.onExpired = [&started] { ++started; };
    dlg->startDelay.ticks = 3;
    for (int i = 0; i < 2; ++i)
        dlg->onTimer(3);
    EXPECT_EQ(started, 0);
    dlg->onTimer(2);  // the other countdown is not this one
    dlg->onTimer(3);
    EXPECT_EQ(started, 1);
    dlg->onTimer(3);
    EXPECT_EQ(started, 1);
}

TEST(MainWindow, SizeFigureAndPointerLifetime)
{
    EXPECT_EQ(CTarnDlg::sizeText(0), "程序大小：0 字节");
    EXPECT_EQ(CTarnDlg::sizeText(4294967295u), "程序大小：4294967295 字节");
    test::TempFolder folder;
    MainWindowServices services;
    services.settingsPath = folder.file("qv_pV2.ini");
    Window* told = nullptr;
    int tellings = 0;
    services.windowReady = [&](Window* w) {
        told = w;
        ++tellings;
    };
    {
        FakeView view;
        CTarnDlg dlg(services);
        EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
        dlg.attach(&view);
        dlg.onInit();
        EXPECT_EQ(CTarnDlg::mainWindow(), &dlg);
        EXPECT_EQ(told, &dlg);
    }
    EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
    EXPECT_EQ(told, nullptr);
    EXPECT_EQ(tellings, 2);
}

// Runs a window at once through a fake view: what the Win32 host does, less
// the message loop.
class FakeHost : public WindowHost {
public:
    int runModal(Window& window, Window* owner) override
    {
        templates.push_back(window.templateId());
        owners.push_back(owner);
        if (owner != nullptr)
            return 7;  // a dialog of the main window, closed at once
        window.attach(&view);
        window.onInit();
        titleSeen = view.title();
        mainSeen = CTarnDlg::mainWindow() == &window;
        static_cast<CTarnDlg&>(window).editSettings();  // the app's host runs the dialogs
        window.attach(nullptr);
        return 7;
    }
    bool createModeless(Window&, Window*) override { return true; }

    FakeView view;
    std::vector<int> templates;
    std::vector<Window*> owners;
    std::string titleSeen;
    bool mainSeen = false;
};

TEST(TarnApp, RunsTheMainWindowModallyAndReturnsItsResult)
{
    test::TempFolder folder;
    FakeHost host;
    MainWindowServices services;
    services.settingsPath = folder.file("qv_pV2.ini");
    CTarnApp app(host, services);
    EXPECT_EQ(app.run(), 7);
    ASSERT_EQ(host.templates.size(), 2u);
    EXPECT_EQ(host.templates[0], 102);
    EXPECT_EQ(host.owners[0], nullptr);
    EXPECT_EQ(host.templates[1], 135);  // through the same host
    EXPECT_NE(host.owners[1], nullptr);
    EXPECT_EQ(host.titleSeen, "Orlo V1.326(固件0.129)");
    EXPECT_TRUE(host.mainSeen);
    // The main window is gone once the run returns.
    EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
}

}  // namespace
}  // namespace orlo
