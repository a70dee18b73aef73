// The relay tools wired to a DeviceSession the way the main window wires
// them: what they send goes through the session's send path, and replies the
// session routes by the pending operation reach the panel and the terminal.
#include <gtest/gtest.h>

#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "platform/strings.h"
#include "tools/debug_terminal.h"
#include "tools/relay_test_panel.h"
#include "tools/tool_link.h"

namespace orlo {
namespace {

class RecordingSender final : public DeviceSender {
public:
    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        sent.emplace_back(reinterpret_cast<const char*>(bytes), count);
    }
    bool serialPortClosed() const override { return false; }
    std::vector<std::string> sent;
};

// Hands tool replies and terminal bytes on as the main window does.
class ToolRouting final : public DeviceEvents {
public:
    bool ask(const std::string&, const std::string&) override { return false; }
    void showMessage(const std::string&, const std::string&) override {}
    void progressRange(unsigned) override {}
    void progressPosition(unsigned) override {}
    void programLoaded(std::string_view) override {}
    void showHardwareInfo(int, const std::string&) override {}
    void terminalByte(std::uint8_t byte) override
    {
        if (terminal)
            terminal->receiveByte(byte);
    }
    void toolReply(PendingOperation op, std::string_view frame) override
    {
        if (op == PendingOperation::RelayTest && panel)
            panel->onReply(frame);
    }
    C_test_tool_dlg* panel = nullptr;
    Ctiaoshi_helper_dlg* terminal = nullptr;
};

class ToolWiringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session.setDeviceAddress(4);
        panel.attach(&panelView);
        panel.onInit();
        terminal.attach(&terminalView);
        terminal.onInit();
        routing.panel = &panel;
        routing.terminal = &terminal;
    }
    void receive(const char* hex)
    {
        std::string bytes;
        ASSERT_TRUE(parseHexText(hex, bytes));
        for (char b : bytes)
            session.onByte(static_cast<std::uint8_t>(b));
    }

    FakeShell shell;
    ShellScope scope{shell};
    RecordingSender sender;
    ToolRouting routing;
    DeviceSession session{sender, routing};
    SessionToolLink link{session, sender};
    FakeView panelView, terminalView;
    C_test_tool_dlg panel{link};
    Ctiaoshi_helper_dlg terminal{link};
};

TEST_F(ToolWiringTest, PanelFramesGoOutAndStateRepliesComeBack)
{
    EXPECT_EQ(panel.panelAddress(), 4);  // the session's deviceAddress
    panel.onCommand(40008 + 2, Notify::Clicked);  // "第 3 路"
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(hexText(sender.sent[0]), "55 04 20 00 00 00 03 7C");
    EXPECT_EQ(session.pending(), PendingOperation::RelayTest);

    receive("FF 22 04 20 00 00 00 04 4A");  // a stray byte first, then the reply
    EXPECT_EQ(panel.shownState(), 4u);
    EXPECT_EQ(panelView.control(40010).face, kRelayClosedColour);
    EXPECT_EQ(panelView.control(40008).face, kRelayOpenColour);
}

TEST_F(ToolWiringTest, TerminalBytesAndLines)
{
    terminal.open();
    EXPECT_EQ(session.pending(), PendingOperation::DebugTerminal);
    receive("48 69");
    terminal.onTimer(1);
    EXPECT_EQ(terminalView.text(1027), "Hi");

    terminalView.setText(1056, "AT");
    terminal.onCommand(1055, Notify::Clicked);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0], "AT");

    // Closed: bytes are still routed to the terminal while nothing is pending.
    terminal.onClose();
    EXPECT_EQ(session.pending(), PendingOperation::Idle);
    receive("21");
    terminal.onTimer(1);
    EXPECT_EQ(terminalView.text(1027), "Hi!");
}

}  // namespace
}  // namespace orlo
