// The main window's templates in res/tarn.rc against the code: every control
// CTarnDlg touches exists in dialog 102 exactly once, the layout covers every
// control, and the menus carry their entries under the agreed command ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
        u8"读取全部", u8"写入全部", u8"校准时间", u8"读取模块时间", u8"读地址", u8"写地址",
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

}  // namespace
}  // namespace orlo
