// The templates in res/tarn.rc against the code: every control CTarnDlg,
// CCom_Dlg and Cyingjianxinxi touch exists in their dialogs exactly once, the
// layouts cover every control, the menus carry their entries under the agreed
// command ids, and every entry and button reaches an action.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/com_dlg.h"
#include "app/hardware_info_dlg.h"
#include "app/tarn_dlg.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "tests/app/rc_script.h"

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
    std::vector<std::string> popups;
    ASSERT_TRUE(rc.menuPopups(IDR_MAIN_MENU, popups));
    EXPECT_EQ(popups, (std::vector<std::string>{u8"文件", u8"编辑", u8"设置", u8"工具", u8"通信"}));
    ASSERT_TRUE(rc.menuPopups(IDR_CONTEXT_MENU, popups));
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[CONTEXT_MAIN_LIST], u8"主程序右键");
    EXPECT_EQ(popups[CONTEXT_SECTION_LIST], u8"函数右键");
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
        u8"删除", u8"删除全部", u8"查找", u8"剪切", u8"复制", u8"粘贴",
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
    for (long menu : {IDR_MAIN_MENU, IDR_CONTEXT_MENU}) {
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

TEST_F(MainTemplateTest, EveryMenuEntryAndButtonReachesAnAction)
{
    // The main window's own actions, the commands other windows carry, and
    // the example entries of the context menu, which have none.
    const std::set<long> examples = {ID_EXAMPLE_SEND, ID_EXAMPLE_JOG, ID_EXAMPLE_LATCH,
                                     ID_EXAMPLE_PACKET_SEND};
    const std::vector<int>& companions = CTarnDlg::companionCommands();
    auto reached = [&](long id) {
        return CTarnDlg::routesCommand(static_cast<int>(id)) ||
               std::count(companions.begin(), companions.end(), id) == 1 || examples.count(id);
    };
    for (long menu : {IDR_MAIN_MENU, IDR_CONTEXT_MENU}) {
        std::vector<RcScript::MenuItem> items;
        ASSERT_TRUE(rc.menuItems(menu, items));
        for (const auto& item : items)
            EXPECT_TRUE(reached(item.id)) << item.text << " " << item.id;
    }
    const long buttons[] = {IDC_OPEN,      IDC_SAVE,     IDC_SAVE_AS,  IDC_SETTINGS,
                            IDC_ADD_LINE,  IDC_DELETE,   IDC_CONNECT,  IDC_READ_ALL,
                            IDC_WRITE_ALL, IDC_FIND};
    for (long id : buttons) {
        EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 1) << id;
        EXPECT_TRUE(reached(id)) << id;
    }
    // No command is both the main window's and another window's.
    for (int id : companions)
        EXPECT_FALSE(CTarnDlg::routesCommand(id)) << id;
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

}  // namespace
}  // namespace orlo
