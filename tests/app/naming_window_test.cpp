// "重命名" in the main window: the naming window made once and shown again,
// lines of the main list showing a new alias once it closes, the table's
// text edited in the information window, and the system words refused in
// a program file from the start, before the naming window was ever opened.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/hardware_info_dlg.h"
#include "catalogue/condition_encoding.h"
#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

class RenameCommand : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        names().clear();
        start();
    }
    void TearDown() override
    {
        names().clear();
        MainWindowFixture::TearDown();
    }

    FakeView& namingView() { return *host.modelessView(*dlg->namingWindow()); }
};

TEST_F(RenameCommand, CreatesTheWindowOnceAndShowsItAgain)
{
    EXPECT_EQ(dlg->namingWindow(), nullptr);
    click(ID_SETTINGS_RENAME);
    ASSERT_NE(dlg->namingWindow(), nullptr);
    EXPECT_TRUE(namingView().isWindowShown());
    namingView().showWindow(false);
    click(ID_SETTINGS_RENAME);
    EXPECT_TRUE(namingView().isWindowShown());
    EXPECT_EQ(std::count(host.modelessTemplates.begin(), host.modelessTemplates.end(), 137), 1);
    EXPECT_EQ(host.modelessOwners.back(), dlg.get());
}

TEST_F(RenameCommand, TheMainListShowsTheNewAliasWhenTheWindowCloses)
{
    ProgramLine line;
    line.instruction[0] = 24;
    line.instruction[1] = 1;
    line.instruction[2] = 1;
    encodeConditionParam3("全局整数3 > 300", line.instruction.data());
    program().main.lines = {line};
    dlg->refreshMainList();
    ASSERT_NE(view.itemText(1005, 0).find("全局整数3"), std::string::npos) << view.itemText(1005, 0);

    click(ID_SETTINGS_RENAME);
    Cmming_dlg& naming = *dlg->namingWindow();
    FakeView& v = namingView();
    v.setCurrentIndex(IDC_NAMING_ITEMS, 3);
    naming.onCommand(IDC_NAMING_ITEMS, Notify::SelChanged);
    v.setText(IDC_NAMING_NAME, "温度");
    naming.onCommand(IDC_NAMING_NAME, Notify::Changed);
    naming.onCommand(1, Notify::Clicked);

    const std::string row = view.itemText(1005, 0);
    EXPECT_NE(row.find("温度"), std::string::npos) << row;
    EXPECT_EQ(row.find("全局整数3"), std::string::npos) << row;
    EXPECT_EQ(view.text(1013), CTarnDlg::sizeText(imageSize()));
    EXPECT_FALSE(v.isWindowShown());
}

TEST_F(RenameCommand, TheTextViewIsTheInformationWindowInRenamingMode)
{
    ASSERT_EQ(names().rename("输出2", "灯"), "");
    host.users.push_back([](Window& window, FakeView& v) {
        EXPECT_EQ(v.title(), "重命名");
        EXPECT_FALSE(v.control(IDC_INFO_TEXT).readOnly);
        EXPECT_EQ(v.text(IDC_INFO_TEXT), "灯\t=\t输出2\r\n");
        v.setText(IDC_INFO_TEXT, "泵\t=\t输出5\r\n");
        window.onCommand(IDC_INFO_OK, Notify::Clicked);
    });
    // Left with "取消": nothing changes.
    host.users.push_back([](Window& window, FakeView& v) {
        v.setText(IDC_INFO_TEXT, "");
        window.onCommand(IDC_INFO_CANCEL, Notify::Clicked);
    });
    click(ID_SETTINGS_RENAME);
    dlg->namingWindow()->onCommand(IDC_NAMING_TEXT, Notify::Clicked);
    EXPECT_EQ(host.templates, (std::vector<int>{141}));
    EXPECT_EQ(host.owners.back(), dlg->namingWindow());
    EXPECT_EQ(names().exportText(), "泵\t=\t输出5\r\n");
    dlg->namingWindow()->onCommand(IDC_NAMING_TEXT, Notify::Clicked);
    EXPECT_EQ(names().exportText(), "泵\t=\t输出5\r\n");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(RenameCommand, AProgramFileCannotGiveAResourceTheNameOfAnother)
{
    // A file written by a tool that did not check: 全局整数7 would stand
    // for 全局整数3 in every formula typed afterwards.
    auto unchecked = std::make_unique<NameTable>();
    unchecked->reservedWords().clear();
    ASSERT_EQ(unchecked->rename("整数1", "a"), "");
    ASSERT_EQ(unchecked->rename("全局整数3", "全局整数7"), "");
    const std::string path = folder.file("p.qv3");
    test::putFile(path, buildImage(program(), *unchecked));

    ASSERT_TRUE(dlg->openDroppedFile(path));
    EXPECT_EQ(names().aliasToSystem("a"), "整数1");
    EXPECT_EQ(names().aliasToSystem("全局整数7"), "全局整数7");
    EXPECT_EQ(dlg->namingWindow(), nullptr);
}

}  // namespace
}  // namespace orlo
