// The settings dialog and the information window on their own, through the
// fake view and shell.
#include <gtest/gtest.h>

#include "app/com_dlg.h"
#include "app/hardware_info_dlg.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

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

}  // namespace
}  // namespace orlo
