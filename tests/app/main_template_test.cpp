// The templates in res/tarn.rc against the code: every control CTarnDlg,
// CCom_Dlg, Cyingjianxinxi, the naming windows, the relay tools and the about box touch exists in
// their dialogs exactly once, the layouts cover every control, the menus
// carry their entries under the agreed command ids, and every menu entry and
// button of the built program does something a user can see.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "app/com_dlg.h"
#include "app/hardware_info_dlg.h"
#include "app/about_dlg.h"
#include "app/tarn_dlg.h"
#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "model/program.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "res/tools_resource.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/rc_script.h"
#include "tests/tools/fake_tool_link.h"
#include "ui/find_dlg.h"
#include "ui/kind_help_dlg.h"
#include "ui/line_editor.h"
#include "ui/section_list_dlg.h"

namespace orlo {
namespace {

class MainTemplateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(rc.load(ORLO_SOURCE_DIR "/res/resource.h", ORLO_SOURCE_DIR "/res/tarn.rc"));
        ASSERT_TRUE(rc.dialogControlIds(IDD_MAIN, ids));
    }

    RcScript rc;
    std::vector<long> ids;
};

TEST_F(MainTemplateTest, ControlIdsAreUniqueInTheTemplate)
{
    std::set<long> seen;
    for (long id : ids) {
        if (id == -1)
            continue;
        EXPECT_TRUE(seen.insert(id).second) << "id " << id << " twice in dialog 102";
    }
    EXPECT_EQ(seen.size(), 16u);
}

TEST_F(MainTemplateTest, EveryControlTheWindowTouchesIsInTheTemplate)
{
    FakeView view;
    CTarnDlg dlg;
    dlg.attach(&view);
    dlg.onInit();
    dlg.onSize(1000, 600);
    // The fake view creates a control for every id it is asked about.
    for (int id = 1; id < 65536; ++id) {
        if (view.has(id)) {
            EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 1) << "control " << id;
        }
    }
}

TEST_F(MainTemplateTest, LayoutPlacesEveryControlOfTheTemplate)
{
    std::set<long> placed;
    for (const Placement& p : CTarnDlg::layoutTable())
        EXPECT_TRUE(placed.insert(p.id).second) << "placed twice: " << p.id;
    for (long id : ids)
        EXPECT_TRUE(id == -1 || placed.count(id)) << "not laid out: " << id;
}

TEST_F(MainTemplateTest, MenusHaveTheirPopupsInOrder)
{
    const std::vector<std::string> tarnBar = {u8"文件", u8"编辑", u8"设置", u8"工具", u8"通信"};
    std::vector<std::string> orloBar = tarnBar;
    orloBar.push_back(u8"帮助");
    const struct {
        const Edition& edition;
        std::vector<std::string> bar;
    } editions[] = {{tarnEdition(), tarnBar}, {orloEdition(), orloBar}};
    for (const auto& e : editions) {
        SCOPED_TRACE(e.edition.name);
        std::vector<std::string> popups;
        ASSERT_TRUE(rc.menuPopups(e.edition.menuId, popups));
        EXPECT_EQ(popups, e.bar);
        ASSERT_TRUE(rc.menuPopups(e.edition.contextMenuId, popups));
        ASSERT_EQ(popups.size(), 2u);
        EXPECT_EQ(popups[CONTEXT_MAIN_LIST], u8"主程序右键");
        EXPECT_EQ(popups[CONTEXT_SECTION_LIST], u8"函数右键");
    }
}

// Orlo.exe's menus hold Tarn.exe's entries but the firmware update, and the
// extras; nothing else differs.
TEST_F(MainTemplateTest, OrloMenusAreTarnsWithoutTheFirmwareUpdateWithTheExtras)
{
    auto commands = [&](long menu) {
        std::vector<RcScript::MenuItem> items;
        EXPECT_TRUE(rc.menuItems(menu, items)) << menu;
        std::multiset<long> ids;
        for (const auto& item : items)
            ids.insert(item.id);
        return ids;
    };
    const struct {
        long tarn, orlo;
        std::vector<long> removed, added;
    } menus[] = {
        {IDR_MAIN_MENU, IDR_ORLO_MENU, {ID_COMM_FIRMWARE, ID_COMM_FIRMWARE_115200},
         {ID_FILE_IMPORT_AT_SELECTION, ID_EDIT_INSERT_BEFORE, ID_EDIT_INSERT_AFTER, ID_HELP_KINDS,
          ID_HELP_ABOUT}},
        {IDR_CONTEXT_MENU, IDR_ORLO_CONTEXT_MENU, {},
         {ID_EDIT_INSERT_BEFORE, ID_EDIT_INSERT_AFTER, ID_FILE_IMPORT_AT_SELECTION}},
    };
    for (const auto& m : menus) {
        std::multiset<long> expected = commands(m.tarn);
        for (long id : m.removed) {
            ASSERT_EQ(expected.count(id), 1u) << id;
            expected.erase(id);
        }
        expected.insert(m.added.begin(), m.added.end());
        EXPECT_EQ(commands(m.orlo), expected) << m.orlo;
    }
    EXPECT_EQ(orloEdition().menuId, IDR_ORLO_MENU);
    EXPECT_EQ(orloEdition().contextMenuId, IDR_ORLO_CONTEXT_MENU);
    EXPECT_FALSE(orloEdition().firmwareUpdate);
}

TEST_F(MainTemplateTest, MainMenuHasEveryEntryAndTheFixedCommandIds)
{
    std::vector<RcScript::MenuItem> items;
    ASSERT_TRUE(rc.menuItems(IDR_MAIN_MENU, items));
    std::vector<std::string> texts;
    for (const auto& item : items)
        texts.push_back(item.text);
    const std::vector<std::string> expected = {
        u8"新建", u8"打开", u8"保存", u8"另存", u8"导入", u8"导出", u8"退出",
        u8"删除", u8"删除全部", u8"查找", u8"剪切", u8"复制", u8"粘贴", u8"撤销", u8"重做",
        u8"通讯设置", u8"函数列表", u8"线程列表", u8"重命名",
        u8"指令向导", u8"调试助手", u8"调试工具",
        u8"读取全部", u8"写入全部", u8"校验", u8"校准时间", u8"读取模块时间", u8"读地址", u8"写地址",
        u8"读取硬件信息", u8"读取硬件信息2", u8"更新固件", u8"更新固件_115200",
    };
    EXPECT_EQ(texts, expected);

    // Command ids other windows and tools rely on.
    struct Fixed {
        const char* text;
        long id;
    };
    const Fixed fixed[] = {
        {u8"指令向导", 32782},     {u8"通讯设置", 32792},       {u8"调试助手", 32837},
        {u8"调试工具", 32838},     {u8"读取全部", 32848},       {u8"写入全部", 32849},
        {u8"校准时间", 32850},     {u8"读取模块时间", 32851},   {u8"读地址", 32856},
        {u8"写地址", 32857},       {u8"读取硬件信息", 32858},   {u8"读取硬件信息2", 32859},
        {u8"更新固件", 32867},     {u8"更新固件_115200", 32869},
    };
    for (const Fixed& f : fixed) {
        auto it = std::find_if(items.begin(), items.end(),
                               [&](const RcScript::MenuItem& m) { return m.text == f.text; });
        ASSERT_NE(it, items.end()) << f.id;
        EXPECT_EQ(it->id, f.id) << f.id;
    }
}

TEST_F(MainTemplateTest, MenuCommandsNeverCollideWithControlIds)
{
    for (long menu : {IDR_MAIN_MENU, IDR_CONTEXT_MENU, IDR_ORLO_MENU, IDR_ORLO_CONTEXT_MENU}) {
        std::vector<RcScript::MenuItem> items;
        ASSERT_TRUE(rc.menuItems(menu, items));
        EXPECT_FALSE(items.empty());
        for (const auto& item : items) {
            EXPECT_GE(item.id, 32771) << item.id;
            EXPECT_LE(item.id, 32899) << item.id;
            EXPECT_EQ(std::count(ids.begin(), ids.end(), item.id), 0) << item.id;
        }
    }
}

// Opens a dialog on a fake view and checks each control it touched against
// its template: present exactly once, and the layout covers the template.
void expectTemplateFits(const RcScript& rc, Window& window, long dialogId, std::size_t controls,
                        const std::vector<Placement>* layout)
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
    FakeView view;
    window.attach(&view);
    window.onInit();
    window.onSize(400, 300);
    for (int id = 1; id < 65536; ++id) {
        if (view.has(id)) {
            EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 1) << dialogId << " control " << id;
        }
    }
    if (layout) {
        for (long id : ids)
            EXPECT_TRUE(id == -1 || std::any_of(layout->begin(), layout->end(),
                                                [id](const Placement& p) { return p.id == id; }))
                << dialogId << " not laid out: " << id;
    }
    window.attach(nullptr);
}

TEST_F(MainTemplateTest, SettingsAndInformationDialogsFitTheirTemplates)
{
    EXPECT_EQ(IDD_COMM_SETTINGS, 135);
    EXPECT_EQ(IDD_INFO, 141);
    CCom_Dlg settings{CommDialogValues()};
    EXPECT_EQ(settings.templateId(), IDD_COMM_SETTINGS);
    // Two radio buttons, two lists, two edit boxes, two check boxes, OK, Cancel.
    expectTemplateFits(rc, settings, IDD_COMM_SETTINGS, 10, nullptr);
    std::vector<long> ids;
    ASSERT_TRUE(rc.dialogControlIds(IDD_COMM_SETTINGS, ids));
    for (long id : {1033L, 1034L, 1024L, 1042L, 1027L, 1025L, 1043L, 1036L, 1L, 2L})
        EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 1) << id;

    Cyingjianxinxi info(1, "text");
    expectTemplateFits(rc, info, IDD_INFO, 3, &Cyingjianxinxi::layoutTable());
}

TEST_F(MainTemplateTest, NamingDialogsFitTheirTemplates)
{
    EXPECT_EQ(IDD_NAMING, 137);
    EXPECT_EQ(IDD_LOCAL_NAMING, 151);
    auto table = std::make_unique<NameTable>();
    auto prog = std::make_unique<Program>();
    prog->main.lines.resize(1);
    Cmming_dlg naming(*table, *prog, NamingServices{});
    // Two lists, two edit boxes, seven buttons, OK, Cancel.
    expectTemplateFits(rc, naming, IDD_NAMING, 13, nullptr);
    C_mming_jubu_dlg local(*prog);
    expectTemplateFits(rc, local, IDD_LOCAL_NAMING, 4, nullptr);
}

TEST_F(MainTemplateTest, RelayToolsAndAboutBoxFitTheirTemplates)
{
    RcScript tools;
    ASSERT_TRUE(tools.load(ORLO_SOURCE_DIR "/res/tools_resource.h", ORLO_SOURCE_DIR "/res/tarn.rc"));
    test::FakeToolLink link;
    Czhilingshengchengqi wizard(link);
    C_test_tool_dlg panel(link);
    Ctiaoshi_helper_dlg terminal(link);
    // Six lists and boxes with four labels, three buttons; five buttons, the
    // address list and 32 channels; the receive box, two switches, a button,
    // three labels and five send lines of three controls.
    expectTemplateFits(tools, wizard, 131, 13, nullptr);
    expectTemplateFits(tools, panel, 40001, 38, nullptr);
    expectTemplateFits(tools, terminal, 148, 22, nullptr);
    CAboutDlg about;
    expectTemplateFits(rc, about, 100, 6, nullptr);  // the icon, four texts, 确定
    // The help window: the side, the kinds, the text, 关闭.
    EXPECT_EQ(IDD_KIND_HELP, 160);
    Cshuoming_dlg help;
    expectTemplateFits(rc, help, IDD_KIND_HELP, 4, nullptr);
}

// ---- Every menu entry and button does something.

// The statement of each button of a dialog template: its id and whether it
// is a check box or radio button, which the system ticks before the window
// hears the click.
struct TemplateButton {
    long id;
    bool checkBox;
};
std::vector<TemplateButton> templateButtons(const RcScript& rc, long dialogId)
{
    std::vector<TemplateButton> out;
    bool inside = false;
    for (const std::string& line : rc.lines) {
        std::istringstream in(line);
        std::string first, second;
        in >> first >> second;
        long id;
        if (!inside) {
            inside = (second == "DIALOGEX" || second == "DIALOG") && rc.resolve(first, id) &&
                     id == dialogId;
            continue;
        }
        if (first == "END")
            break;
        const bool push = first == "PUSHBUTTON" || first == "DEFPUSHBUTTON";
        const bool control = first == "CONTROL" && line.find("\"Button\"") != std::string::npos;
        if (!push && !control)
            continue;
        // KEYWORD "text", id, ...
        const std::size_t comma = line.find(',', line.rfind('"', line.find(',')));
        std::string token = line.substr(comma + 1);
        token = token.substr(0, token.find(','));
        token.erase(0, token.find_first_not_of(' '));
        EXPECT_TRUE(rc.resolve(token, id)) << line;
        out.push_back({id, line.find("CHECKBOX") != std::string::npos ||
                               line.find("RADIOBUTTON") != std::string::npos});
    }
    EXPECT_FALSE(out.empty()) << dialogId;
    return out;
}

// The main window started afresh for each command, with lines to act on, a
// clipboard to paste, a search text that finds a line and the serial line
// open; then the command, and everything a user could see or the controller
// could receive afterwards, compared with the same run without the command.
class CommandEffectTest : public test::MainWindowFixture {
protected:
    using Step = std::function<void()>;

    // ignoredCheck: a control whose check state does not count (a check box
    // the system ticks whether or not the window hears of it).
    std::string run(const Step& prepare, const Step& act, const Step& probe, int ignoredCheck = 0)
    {
        dlg.reset();
        clearProgram();
        program().clipboard.clear();
        host = test::ScriptedHost();
        shell.messages.clear();
        shell.dialogs.clear();
        shell.menus.clear();
        device = std::make_shared<test::FakeSerialDevice>();
        view = FakeView();
        view.client = Size{1300, 700};
        std::filesystem::remove(settingsFile());  // a confirmed settings dialog wrote it
        start();
        program().main.lines = test::sampleLines(4);
        program().main.lines[2].remark = "甲";
        program().clipboard.lines = {test::sampleLine(false, 9)};
        dlg->refreshMainList();
        dlg->startHistory();  // as if the program had been opened
        view.setSelected(IDC_PROGRAM_LIST, 1, true);
        view.setText(IDC_FIND_TEXT, "甲");
        openSerial();
        if (prepare)
            prepare();
        act();
        if (probe)
            probe();
        return observable(ignoredCheck);
    }

    std::string fingerprint(const FakeView& v, int ignoredCheck) const
    {
        std::ostringstream o;
        o << v.title() << '|' << v.isWindowShown() << v.raised << '|' << v.endResult << '\n';
        for (int id : v.controlIds()) {
            const FakeControl& c = *v.find(id);
            o << id << ':' << c.text << '|' << c.items.size() << '|' << c.current << '|' << c.top
              << '|' << (id == ignoredCheck ? 0 : c.check) << c.shown << c.enabled << '|' << c.face << c.hasFace << '|';
            for (bool selected : c.selected)
                o << selected;
            o << '\n';
        }
        return o.str();
    }

    std::string observable(int ignoredCheck) const
    {
        std::ostringstream o;
        for (const auto& m : shell.messages)
            o << "message " << m.text << '\n';
        o << "file dialogs " << shell.dialogs.size() << " menus " << shell.menus.size() << '\n';
        for (int t : host.templates)
            o << "modal " << t << '\n';
        for (int t : host.modelessTemplates)
            o << "modeless " << t << '\n';
        o << fingerprint(view, ignoredCheck) << fingerprint(host.lastView, ignoredCheck);
        std::vector<std::string> modeless;
        for (const auto& w : host.modeless)
            modeless.push_back(fingerprint(*w.second, ignoredCheck));
        std::sort(modeless.begin(), modeless.end());
        for (const std::string& m : modeless)
            o << m;
        {
            std::lock_guard<std::mutex> lock(device->mutex);
            o << "line " << hexText(device->written) << '\n';
        }
        o << "pending " << static_cast<int>(dlg->session().pending()) << " serial "
          << dlg->link().serialOpen() << '\n';
        o << "program";
        for (const ProgramLine& l : program().main.lines)
            o << ' ' << l.param1() << (l.orElse ? "|" : "");
        o << " function 1";
        for (int p : test::param1s(program().functions[0]))
            o << ' ' << p;
        o << " clipboard";
        for (int p : test::param1s(program().clipboard))
            o << ' ' << p;
        o << ' ' << dlg->modified << ' ' << dlg->currentPath << ' ' << dlg->findPosition << '\n';
        o << "names " << names().exportText() << '\n';
        o << "settings " << dlg->link().settings().useTcp << dlg->autoOpenPort << dlg->autoOpenFile
          << '\n';
        return o.str();
    }

    // Each button of a window: the run with its click differs from the
    // same run without it (act(b, false): every step but the click itself).
    // A check box's own tick does not count: only what the window does with
    // it, at once or when it is confirmed.
    using Act = std::function<void(const TemplateButton*, bool heard)>;
    void expectEveryButtonActs(const RcScript& rc, long dialogId, const Step& prepare,
                               const Act& act, const Step& probe = nullptr)
    {
        for (const TemplateButton& b : templateButtons(rc, dialogId)) {
            const int ignored = b.checkBox ? static_cast<int>(b.id) : 0;
            const std::string without = run(prepare, [&] { act(&b, false); }, probe, ignored);
            EXPECT_TRUE(run(prepare, [&] { act(&b, true); }, probe, ignored) != without)
                << "dialog " << dialogId << ": button " << b.id << " does nothing";
        }
    }

    // A click as the Win32 host delivers it: the system ticks a check box,
    // and IDCANCEL (Esc, a Cancel button) asks the window to close. Nothing
    // at all without heard.
    void press(Window& w, const TemplateButton* b, bool heard)
    {
        if (!b || !heard)
            return;
        View& v = *w.view();
        const int id = static_cast<int>(b->id);
        if (b->checkBox)
            v.setCheckState(id, v.checkState(id) ? 0 : 1);
        if (id == kCancel) {
            if (w.onClose())
                v.endDialog(kCancel);
        } else {
            w.onCommand(id, Notify::Clicked);
        }
    }
    static constexpr int kCancel = 2;  // IDCANCEL

    // A modal window opened by command, with the user pressing one button.
    void inModal(int command, const TemplateButton* b, bool heard)
    {
        host.users = {[this, b, heard](Window& w, FakeView&) { press(w, b, heard); }};
        click(command);
    }

    RcScript rc, tools;
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(rc.load(ORLO_SOURCE_DIR "/res/resource.h", ORLO_SOURCE_DIR "/res/tarn.rc"));
        ASSERT_TRUE(
            tools.load(ORLO_SOURCE_DIR "/res/tools_resource.h", ORLO_SOURCE_DIR "/res/tarn.rc"));
    }
};

// In each edition's window, every entry of its own menus.
TEST_F(CommandEffectTest, EveryMenuEntryAndMainWindowButtonActs)
{
    for (const Edition* e : {&tarnEdition(), &orloEdition()}) {
        SCOPED_TRACE(e->name);
        edition = e;
        std::set<long> commands;
        for (long menu : {e->menuId, e->contextMenuId}) {
            std::vector<RcScript::MenuItem> items;
            ASSERT_TRUE(rc.menuItems(menu, items));
            for (const auto& item : items)
                commands.insert(item.id);
        }
        for (const TemplateButton& b : templateButtons(rc, IDD_MAIN))
            commands.insert(b.id);
        // The system menu's own entry.
        run(nullptr, [] {}, nullptr);
        ASSERT_EQ(view.systemMenu.size(), 1u);
        commands.insert(view.systemMenu[0].command);

        // What a command needs before it can act: 撤销 a change, 重做 a
        // change undone. The run without the command makes the same
        // preparation.
        const std::map<long, Step> needs = {
            {ID_EDIT_UNDO, [&] { click(ID_EDIT_PASTE); }},
            {ID_EDIT_REDO, [&] { click(ID_EDIT_PASTE), click(ID_EDIT_UNDO); }},
        };
        const std::string idle = run(nullptr, [] {}, nullptr);
        for (long id : commands) {
            const auto need = needs.find(id);
            const Step prepare = need == needs.end() ? Step() : need->second;
            const std::string without = prepare ? run(prepare, [] {}, nullptr) : idle;
            EXPECT_TRUE(run(prepare, [&] { click(static_cast<int>(id)); }, nullptr) != without)
                << "command " << id << " does nothing";
        }
    }
}

// Tarn.exe carries none of the extras (nor their key), Orlo.exe none of
// the firmware update: their commands and keys do nothing there.
TEST_F(CommandEffectTest, EachEditionLeavesOutTheOthersCommands)
{
    const struct {
        const Edition* edition;
        std::vector<int> absent;
    } editions[] = {
        {&tarnEdition(),
         {ID_EDIT_INSERT_BEFORE, ID_EDIT_INSERT_AFTER, ID_FILE_IMPORT_AT_SELECTION, ID_HELP_KINDS,
          ID_HELP_ABOUT}},
        {&orloEdition(), {ID_COMM_FIRMWARE, ID_COMM_FIRMWARE_115200}},
    };
    for (const auto& e : editions) {
        SCOPED_TRACE(e.edition->name);
        edition = e.edition;
        const std::string idle = run(nullptr, [] {}, nullptr);
        for (int id : e.absent)
            EXPECT_EQ(run(nullptr, [&] { click(id); }, nullptr), idle) << id;
    }
    edition = &tarnEdition();
    const std::string idle = run(nullptr, [] {}, nullptr);
    EXPECT_EQ(run(nullptr, [&] { dlg->onKeyDown(KeyF1, false, IDC_PROGRAM_LIST); }, nullptr), idle);
}

TEST_F(CommandEffectTest, EveryButtonOfTheRelayToolsAndTheAboutBoxActs)
{
    expectEveryButtonActs(tools, IDD_RELAY_WIZARD, nullptr,
                          [&](const TemplateButton* b, bool heard) { inModal(ID_TOOLS_WIZARD, b, heard); });
    expectEveryButtonActs(rc, IDD_ABOUTBOX, nullptr,
                          [&](const TemplateButton* b, bool heard) { inModal(IDM_ABOUTBOX, b, heard); });
    expectEveryButtonActs(
        tools, IDD_RELAY_TEST, [&] { click(ID_TOOLS_RELAY_TEST); },
        [&](const TemplateButton* b, bool heard) { press(*dlg->relayTestPanel(), b, heard); });

    // The terminal with text received and shown, and "41" in every send
    // line; afterwards a byte comes in and every line is sent, so the
    // switches show what they changed.
    auto receive = [&](const std::string& bytes) {
        for (char c : bytes)
            dlg->onMessage(kRxByteMessage, static_cast<std::uint8_t>(c), 1);
        dlg->debugTerminal()->onTimer(Ctiaoshi_helper_dlg::kFlushTimer);
    };
    const int sendButtons[] = {IDC_TERM_SEND1, IDC_TERM_SEND2, IDC_TERM_SEND3, IDC_TERM_SEND4,
                               IDC_TERM_SEND5};
    const int lineTexts[] = {IDC_TERM_TEXT1, IDC_TERM_TEXT2, IDC_TERM_TEXT3, IDC_TERM_TEXT4,
                             IDC_TERM_TEXT5};
    expectEveryButtonActs(
        tools, IDD_TERMINAL,
        [&] {
            click(ID_TOOLS_TERMINAL);
            for (int id : lineTexts)
                dlg->debugTerminal()->view()->setText(id, "41");
            receive("AB");
        },
        [&](const TemplateButton* b, bool heard) { press(*dlg->debugTerminal(), b, heard); },
        [&] {
            receive("C");
            for (int id : sendButtons)
                dlg->debugTerminal()->onCommand(id, Notify::Clicked);
        });
}

TEST_F(CommandEffectTest, EveryButtonOfTheEditingAndDeviceWindowsActs)
{
    // Modal windows: the settings dialog (its serial choice acts once the
    // network one was chosen) and the information window after a reply.
    const TemplateButton tcpRadio{IDC_COMM_TCP, true}, ok{1, false};
    expectEveryButtonActs(rc, IDD_COMM_SETTINGS, nullptr, [&](const TemplateButton* b, bool heard) {
        host.users = {[this, b, heard, &tcpRadio, &ok](Window& w, FakeView&) {
            if (b && b->id == IDC_COMM_SERIAL)
                press(w, &tcpRadio, true);
            press(w, b, heard);
            if (b && b->checkBox)
                press(w, &ok, true);  // the switches count when confirmed
        }};
        click(IDC_SETTINGS);
    });
    expectEveryButtonActs(rc, IDD_INFO, nullptr, [&](const TemplateButton* b, bool heard) {
        host.users = {[this, b, heard](Window& w, FakeView&) { press(w, b, heard); }};
        click(ID_COMM_HARDWARE_INFO);
        test::ScriptedController(device).serve(*dlg);
    });

    // The line editor adding a line, in Orlo.exe, whose editor shows "说明";
    // its "or" switch shows in the line confirmed after it.
    auto editor = [&]() -> Window& { return dlg->editing().lineEditor(); };
    edition = &orloEdition();
    expectEveryButtonActs(rc, IDD_LINE_EDITOR, [&] { click(IDC_ADD_LINE); },
                          [&](const TemplateButton* b, bool heard) {
                              press(editor(), b, heard);
                              if (b && b->checkBox)
                                  press(editor(), &ok, true);
                          });
    edition = &tarnEdition();

    // The function list on function 1's first line, a text to find on its
    // second line.
    auto functions = [&]() -> Window& {
        return *dlg->editing().sectionList(ListKind::Functions, false);
    };
    expectEveryButtonActs(
        rc, IDD_SECTION_LIST,
        [&] {
            program().functions[0].lines = test::sampleLines(2);
            program().functions[0].lines[1].remark = "乙";
            click(ID_SETTINGS_FUNCTIONS);
            View& v = *functions().view();
            v.setSelected(IDC_SECTIONS_LINES, 0, true);
            functions().onCommand(IDC_SECTIONS_LINES, Notify::SelChanged);
            v.setText(IDC_SECTIONS_FIND_TEXT, "乙");
        },
        [&](const TemplateButton* b, bool heard) { press(functions(), b, heard); });

    // The find window with a text that the main program holds.
    auto find = [&]() -> Window& { return *dlg->editing().findWindow(false); };
    expectEveryButtonActs(
        rc, IDD_FIND,
        [&] {
            click(ID_EDIT_FIND);
            find().view()->setText(IDC_FIND_WINDOW_TEXT, "甲");
        },
        [&](const TemplateButton* b, bool heard) { press(find(), b, heard); });

    // Orlo.exe's help window, opened from its menu.
    edition = &orloEdition();
    auto help = [&]() -> Window& { return *dlg->editing().kindHelp(false); };
    expectEveryButtonActs(rc, IDD_KIND_HELP, [&] { click(ID_HELP_KINDS); },
                          [&](const TemplateButton* b, bool heard) { press(help(), b, heard); });
    edition = &tarnEdition();

    // The naming window on 全局整数3, which has an alias, with a new name typed.
    auto naming = [&]() -> Window& { return *dlg->namingWindow(); };
    expectEveryButtonActs(
        rc, IDD_NAMING,
        [&] {
            ASSERT_EQ(names().rename("全局整数3", "温度"), "");
            click(ID_SETTINGS_RENAME);
            View& v = *naming().view();
            v.setCurrentIndex(IDC_NAMING_ITEMS, 3);
            naming().onCommand(IDC_NAMING_ITEMS, Notify::SelChanged);
            v.setText(IDC_NAMING_NAME, "压力");
            naming().onCommand(IDC_NAMING_NAME, Notify::Changed);
        },
        [&](const TemplateButton* b, bool heard) { press(naming(), b, heard); });
}

}  // namespace
}  // namespace orlo
