// The relay test panel driven through the fake view: the frames its buttons
// send, which replies it takes, and the colours of the channel buttons.
#include <gtest/gtest.h>

#include "device/frames.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "platform/strings.h"
#include "tests/tools/fake_tool_link.h"
#include "tools/relay_reply.h"
#include "tools/relay_test_panel.h"

namespace orlo {
namespace {

constexpr Colour kYellow = 0x00FFFF, kGreen = 0x00FF00, kRed = 0x0000FF;
constexpr int kAddressList = 40007;

int channelButton(int n)
{
    return 40007 + n;
}

std::string bytes(const char* hex)
{
    std::string out;
    EXPECT_TRUE(parseHexText(hex, out)) << hex;
    return out;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel.attach(&view);
        panel.onInit();
    }
    void press(int id) { panel.onCommand(id, Notify::Clicked); }
    void reply(const char* hex) { panel.onReply(bytes(hex)); }
    // The colours of channels 1 to 32 as letters: Y, G, R (? for another).
    std::string colours()
    {
        std::string out;
        for (int n = 1; n <= 32; ++n) {
            Colour c = view.control(channelButton(n)).face;
            out += c == kYellow ? 'Y' : c == kGreen ? 'G' : c == kRed ? 'R' : '?';
        }
        return out;
    }

    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    test::FakeToolLink link;
    C_test_tool_dlg panel{link};
};

TEST_F(PanelTest, StartsYellowAtTheMainWindowsAddress)
{
    EXPECT_EQ(panel.templateId(), 40001);
    EXPECT_EQ(view.title(), "测试工具");
    EXPECT_EQ(view.itemCount(kAddressList), 256);
    EXPECT_EQ(view.itemText(kAddressList, 0), "地址0");
    EXPECT_EQ(view.itemText(kAddressList, 255), "地址255");
    EXPECT_EQ(view.currentIndex(kAddressList), 1);
    EXPECT_EQ(panel.panelAddress(), 1);
    EXPECT_EQ(colours(), std::string(32, 'Y'));
    struct Caption {
        int id;
        const char* text;
    };
    const Caption captions[] = {
        {40006, "读地址"}, {40002, "写地址"},   {40003, "查询"},      {40004, "全闭合"},
        {40005, "全断开"}, {40008, "第 1 路"}, {40014, "第 7 路"}, {40039, "第 32 路"},
    };
    for (const Caption& c : captions)
        EXPECT_EQ(view.text(c.id), c.text) << c.id;

    FakeView other;
    test::FakeToolLink at9;
    at9.address = 9;
    C_test_tool_dlg panel9(at9);
    panel9.attach(&other);
    panel9.onInit();
    EXPECT_EQ(panel9.panelAddress(), 9);
    EXPECT_EQ(other.currentIndex(kAddressList), 9);
}

TEST_F(PanelTest, EveryButtonSendsItsAddressFrameWithRelayTestPending)
{
    struct Case {
        int id;
        const char* frame;
    };
    const Case cases[] = {
        {40014, "55 01 20 00 00 00 07 7D"},  // "第 7 路"
        {40004, "55 01 13 FF FF FF FF 65"},  // "全闭合"
        {40005, "55 01 13 00 00 00 00 69"},  // "全断开"
        {40003, "55 01 10 00 00 00 00 66"},  // "查询"
        {40006, "55 F5 40 00 00 00 00 8A"},  // "读地址"
        {40002, "55 F5 41 00 00 00 01 8C"},  // "写地址": the panel address
        {40008, "55 01 20 00 00 00 01 77"},
        {40039, "55 01 20 00 00 00 20 96"},
    };
    for (const Case& c : cases) {
        link.pending = PendingOperation::Idle;
        press(c.id);
        ASSERT_FALSE(link.sent.empty()) << c.id;
        EXPECT_EQ(link.lastHex(), c.frame) << c.id;
        EXPECT_TRUE(link.sent.back().restarted) << c.id;
        EXPECT_EQ(link.sent.back().pendingWhenSent, PendingOperation::RelayTest) << c.id;
    }
    EXPECT_EQ(link.sent.size(), sizeof cases / sizeof cases[0]);
}

TEST_F(PanelTest, ChoosingAnAddressRetargetsTheButtons)
{
    view.setCurrentIndex(kAddressList, 7);
    panel.onCommand(kAddressList, Notify::SelChanged);
    EXPECT_EQ(panel.panelAddress(), 7);
    press(40014);
    EXPECT_EQ(link.lastHex(), "55 07 20 00 00 00 07 83");
    press(40002);
    EXPECT_EQ(link.lastHex(), "55 F5 41 00 00 00 07 92");
    press(12345);  // not a button of the panel
    EXPECT_EQ(link.sent.size(), 2u);
}

TEST_F(PanelTest, AStateReplyColoursEveryChannel)
{
    reply("22 01 10 00 00 00 05 38");
    EXPECT_EQ(colours(), "GRGRRRRRRRRRRRRRRRRRRRRRRRRRRRRR");
    EXPECT_EQ(panel.shownState(), 5u);
    reply(hexText(sumReply(1, 0x2F, 0x80000001)).c_str());
    EXPECT_EQ(colours(), "GRRRRRRRRRRRRRRRRRRRRRRRRRRRRRRG");
}

TEST_F(PanelTest, AFirstReplyOfAllChannelsOpenShowsThemRed)
{
    reply(hexText(sumReply(1, 0x10, 0)).c_str());
    EXPECT_EQ(colours(), std::string(32, 'R'));
    EXPECT_TRUE(panel.stateKnown());
}

TEST_F(PanelTest, TheSameStateAgainRecoloursNothing)
{
    reply("22 01 10 00 00 00 05 38");
    view.control(channelButton(2)).face = 0x123456;  // a mark the panel would overwrite
    reply("22 01 12 00 00 00 05 3A");
    EXPECT_EQ(view.control(channelButton(2)).face, 0x123456u);
}

TEST_F(PanelTest, IgnoredReplies)
{
    const std::string ignored[] = {
        hexText(sumReply(2, 0x10, 5)),     // a board at another address
        hexText(sumReply(1, 0x0F, 5)),     // below the state functions
        hexText(sumReply(1, 0x30, 5)),     // above them
        hexText(sumReply(1, 0x41, 5)),
        "22 01 10 00 00 00 05 39",         // wrong sum
        "23 01 10 00 00 00 05 39",         // not a sum reply
        "22 01 10 00 00 00 05",            // too short
        "22 01 10 00 00 00 05 38 00",      // too long
        "",
    };
    for (const std::string& hex : ignored) {
        reply(hex.c_str());
        EXPECT_EQ(colours(), std::string(32, 'Y')) << hex;
    }
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(panel.panelAddress(), 1);
}

TEST_F(PanelTest, TheAddressReplyShowsAndTakesTheAddress)
{
    reply(hexText(sumReply(5, 0x40, 0x00000003)).c_str());
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "目标模块地址为 5");
    EXPECT_EQ(shell.messages[0].caption, "读取成功");
    EXPECT_EQ(panel.panelAddress(), 5);
    EXPECT_EQ(view.currentIndex(kAddressList), 5);
    EXPECT_EQ(colours().substr(0, 3), "GGR");
    press(40003);
    EXPECT_EQ(link.lastHex(), "55 05 10 00 00 00 00 6A");
}

TEST_F(PanelTest, ShowingRoutesRepliesHereAndClosingOnlyHides)
{
    panel.show();
    EXPECT_EQ(link.pending, PendingOperation::RelayTest);
    EXPECT_TRUE(view.isWindowShown());
    EXPECT_GT(view.raised, 0);
    EXPECT_FALSE(panel.onClose());
    EXPECT_FALSE(view.isWindowShown());
    EXPECT_EQ(link.pending, PendingOperation::RelayTest);
}

TEST(RelayReply, ReadsSumReplies)
{
    EXPECT_TRUE(isRelayReply(bytes("22 01 10 00 00 00 05 38")));
    EXPECT_FALSE(isRelayReply(bytes("22 01 10 00 00 00 05 37")));
    RelayReplyAction a = interpretPanelReply(bytes("22 01 10 00 00 00 05 38"), 1);
    EXPECT_EQ(a.kind, RelayReplyKind::State);
    EXPECT_EQ(a.state, 5u);
    a = interpretPanelReply(sumReply(9, 0x40, 0x01020304), 1);
    EXPECT_EQ(a.kind, RelayReplyKind::Address);
    EXPECT_EQ(a.address, 9);
    EXPECT_EQ(a.state, 0x01020304u);

    struct Case {
        std::uint32_t state;
        const char* text;
    };
    const Case cases[] = {{0, "none"}, {5, "1 3"}, {0x80000800, "12 32"}};
    for (const Case& c : cases)
        EXPECT_EQ(closedChannelsText(c.state), c.text) << c.state;
    std::string all = closedChannelsText(0xFFFFFFFF);
    EXPECT_EQ(all.substr(0, 6), "1 2 3 ");
    EXPECT_EQ(all.substr(all.size() - 5), "31 32");
}

}  // namespace
}  // namespace orlo
