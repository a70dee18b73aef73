// The debug terminal driven through the fake view and shell: opening and
// closing, the display timer, receiving on and off, hex display, clearing,
// the five send lines and the layout.
#include <gtest/gtest.h>

#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "tests/tools/fake_tool_link.h"
#include "tools/debug_terminal.h"
#include "tools/relay_frames.h"

namespace orlo {
namespace {

enum : int {
    Receive = 1027, ReceiveOn = 1054, HexDisplay = 1064, Clear = 1029,
    LabelHex = 1013, LabelData = 1021, LabelAction = 1070,
};
struct Line {
    int hex, text, send;
};
const Line lines[5] = {
    {1057, 1056, 1055}, {1058, 1059, 1060}, {1061, 1062, 1063}, {1067, 1068, 1069}, {1073, 1074, 1075},
};

class TerminalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.client = Size{800, 600};
        terminal.attach(&view);
        terminal.onInit();
    }
    void click(int id) { terminal.onCommand(id, Notify::Clicked); }
    void toggle(int id)
    {
        view.setCheckState(id, view.checkState(id) ? 0 : 1);
        click(id);
    }
    void receive(const std::string& bytes)
    {
        for (char b : bytes)
            terminal.receiveByte(static_cast<std::uint8_t>(b));
    }
    void tick() { terminal.onTimer(1); }

    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    test::FakeToolLink link;
    Ctiaoshi_helper_dlg terminal{link};
};

TEST_F(TerminalTest, StartsReceivingInTextWithEveryLineInText)
{
    EXPECT_EQ(terminal.templateId(), 148);
    EXPECT_EQ(view.title(), "调试窗口");
    EXPECT_EQ(view.checkState(ReceiveOn), 1);
    EXPECT_EQ(view.checkState(HexDisplay), 0);
    for (const Line& l : lines) {
        EXPECT_EQ(view.checkState(l.hex), 0);
        EXPECT_EQ(view.text(l.send), "发送");
    }
    struct Caption {
        int id;
        const char* text;
    };
    const Caption captions[] = {
        {ReceiveOn, "接收"}, {HexDisplay, "16进制显示"}, {Clear, "清空接收"},
        {LabelHex, "16进制"}, {LabelData, "数据内容/字符串内容"}, {LabelAction, "操作"},
    };
    for (const Caption& c : captions)
        EXPECT_EQ(view.text(c.id), c.text) << c.id;
}

TEST_F(TerminalTest, OpeningStartsTheTimerRoutesBytesHereAndShowsOnTop)
{
    terminal.open();
    auto timer = shell.timers.find({&terminal, 1});
    ASSERT_NE(timer, shell.timers.end());
    EXPECT_EQ(timer->second, 50u);
    EXPECT_EQ(link.pending, PendingOperation::DebugTerminal);
    EXPECT_TRUE(view.isWindowShown());
    EXPECT_GT(view.raised, 0);
    EXPECT_EQ(view.controlRect(Receive), (Rect{0, 0, 800, 250}));

    EXPECT_FALSE(terminal.onClose());
    EXPECT_FALSE(view.isWindowShown());
    EXPECT_EQ(link.pending, PendingOperation::Idle);
}

TEST_F(TerminalTest, BytesAppearAtTheNextTickInOneRedraw)
{
    receive("AB");
    EXPECT_EQ(view.text(Receive), "");
    tick();
    EXPECT_EQ(view.text(Receive), "AB");
    receive("C\r\nD");
    tick();
    EXPECT_EQ(view.text(Receive), "ABC\r\nD");
    EXPECT_EQ(view.topIndex(Receive), 1);  // the last line in view
    view.setText(Receive, "untouched");
    tick();  // nothing pending: no redraw
    EXPECT_EQ(view.text(Receive), "untouched");
    terminal.onTimer(2);  // not the terminal's timer
}

TEST_F(TerminalTest, HexDisplayOfReceivedBytes)
{
    toggle(HexDisplay);
    receive("\x01\xAB");
    tick();
    EXPECT_EQ(view.text(Receive), "01 AB ");
}

TEST_F(TerminalTest, SwitchingHexDisplayConvertsTheReceiveBox)
{
    receive("AB");
    tick();
    toggle(HexDisplay);
    EXPECT_EQ(view.text(Receive), "41 42 ");
    toggle(HexDisplay);
    EXPECT_EQ(view.text(Receive), "AB");
}

TEST_F(TerminalTest, ReceiveOffDropsBytes)
{
    toggle(ReceiveOn);
    receive("lost");
    tick();
    EXPECT_EQ(view.text(Receive), "");
    toggle(ReceiveOn);
    receive("kept");
    tick();
    EXPECT_EQ(view.text(Receive), "kept");
}

TEST_F(TerminalTest, ClearEmptiesTheDisplay)
{
    receive("AB");
    tick();
    click(Clear);
    EXPECT_EQ(view.text(Receive), "");
    receive("C");
    tick();
    EXPECT_EQ(view.text(Receive), "C");
}

TEST_F(TerminalTest, EverySendLineSendsItsTextOrHex)
{
    for (int k = 0; k < 5; ++k) {
        const Line& l = lines[k];
        link.sent.clear();
        link.pending = PendingOperation::Idle;

        view.setText(l.text, "line" + std::to_string(k));
        click(l.send);
        ASSERT_EQ(link.sent.size(), 1u) << k;
        EXPECT_EQ(link.sent[0].bytes, "line" + std::to_string(k));  // no line ending
        EXPECT_EQ(link.sent[0].pendingWhenSent, PendingOperation::DebugTerminal);
        EXPECT_FALSE(link.sent[0].restarted);

        toggle(l.hex);
        view.setText(l.text, "1 2 ff");
        click(l.send);
        ASSERT_EQ(link.sent.size(), 2u) << k;
        EXPECT_EQ(link.lastHex(), "01 02 FF") << k;
        EXPECT_EQ(view.text(l.text), "01 02 FF") << k;
    }
}

TEST_F(TerminalTest, EachLineKeepsItsOwnHexFlag)
{
    toggle(lines[1].hex);
    view.setText(lines[0].text, "41");
    view.setText(lines[1].text, "41");
    click(lines[0].send);
    click(lines[1].send);
    ASSERT_EQ(link.sent.size(), 2u);
    EXPECT_EQ(link.sent[0].bytes, "41");
    EXPECT_EQ(link.sent[1].bytes, "A");
}

TEST_F(TerminalTest, LinesThatSendNothing)
{
    view.setText(lines[0].text, std::string(1000, 'x'));
    click(lines[0].send);
    view.setText(lines[1].text, "");
    click(lines[1].send);
    toggle(lines[2].hex);
    view.setText(lines[2].text, "not hex");
    click(lines[2].send);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(view.text(lines[2].text), "not hex");
    EXPECT_EQ(link.pending, PendingOperation::Idle);
    // Only the hex line that is not hex says why nothing went out.
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, kNotHexMessage);
    EXPECT_EQ(shell.messages[0].caption, "提示");
}

TEST_F(TerminalTest, LayoutFollowsTheClientSize)
{
    view.control(ReceiveOn).rect = Rect{1, 1, 60, 16};  // sizes from the template
    view.control(LabelData).rect = Rect{1, 1, 120, 14};
    terminal.onSize(1000, 700);
    struct Case {
        int id;
        Rect r;
    };
    const Case cases[] = {
        {Receive, {0, 0, 1000, 350}},     {ReceiveOn, {20, 360, 60, 16}},
        {HexDisplay, {500, 360, 0, 0}},   {Clear, {820, 360, 60, 30}},
        {LabelHex, {0, 450, 0, 0}},       {LabelData, {500, 450, 120, 14}},
        {LabelAction, {900, 450, 0, 0}},  {1057, {20, 480, 20, 20}},
        {1056, {50, 480, 800, 30}},       {1055, {880, 480, 100, 30}},
        {1073, {20, 640, 20, 20}},        {1074, {50, 640, 800, 30}},
        {1075, {880, 640, 100, 30}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.controlRect(c.id), c.r) << c.id;

    view.client = Size{400, 300};
    terminal.onCommand(0, Notify::DoubleClicked);  // the dialog's own background
    EXPECT_EQ(view.controlRect(Receive), (Rect{0, 0, 400, 0}));
    EXPECT_EQ(view.controlRect(1075), (Rect{280, 240, 100, 30}));
}

}  // namespace
}  // namespace orlo
