// The relay test panel's buttons, replies and colours (see relay_test_panel.h).
#include "tools/relay_test_panel.h"

#include "device/frames.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "res/tools_resource.h"
#include "tools/relay_frames.h"
#include "tools/relay_reply.h"

namespace orlo {

namespace {

const char* const kTitle = "测试工具";
const char* const kAddressFormat = "地址%d";
const char* const kAddressReadFormat = "目标模块地址为 %u";
const char* const kAddressReadCaption = "读取成功";
constexpr int kAddressCount = 256;
// The channel buttons' function: toggle channel n, with a state reply.
constexpr std::uint8_t kToggleFunction = 0x20;

// The row of buttons above the channels: what each sends.
enum class Target { Broadcast, Panel };
enum class Value { Zero, AllOn, PanelAddress };
struct Button {
    int id;
    const char* caption;
    Target target;
    std::uint8_t function;
    Value value;
};
const Button buttons[] = {
    {IDC_RT_READ_ADDRESS, "读地址", Target::Broadcast, kReadAddressFunction, Value::Zero},
    {IDC_RT_WRITE_ADDRESS, "写地址", Target::Broadcast, kWriteAddressFunction, Value::PanelAddress},
    {IDC_RT_QUERY, "查询", Target::Panel, 0x10, Value::Zero},
    {IDC_RT_ALL_CLOSE, "全闭合", Target::Panel, 0x13, Value::AllOn},
    {IDC_RT_ALL_OPEN, "全断开", Target::Panel, 0x13, Value::Zero},
};

int channelId(int n)
{
    return IDC_RT_CHANNEL_FIRST + n - 1;
}

}  // namespace

std::string C_test_tool_dlg::channelCaption(int n)
{
    return format("第 %d 路", n);
}

int C_test_tool_dlg::templateId() const
{
    return IDD_RELAY_TEST;
}

void C_test_tool_dlg::onInit()
{
    View& v = *view_;
    v.setTitle(kTitle);
    for (const Button& b : buttons)
        v.setText(b.id, b.caption);

    panelAddress_ = link_.deviceAddress();
    v.setRedraw(IDC_RT_ADDRESS, false);
    v.clearItems(IDC_RT_ADDRESS);
    for (int a = 0; a < kAddressCount; ++a)
        v.addItem(IDC_RT_ADDRESS, format(kAddressFormat, a));
    v.setRedraw(IDC_RT_ADDRESS, true);
    v.setCurrentIndex(IDC_RT_ADDRESS, panelAddress_);

    shownState_ = 0;
    stateKnown_ = false;
    for (int n = 1; n <= kRelayChannelCount; ++n) {
        v.setText(channelId(n), channelCaption(n));
        v.setFaceColour(channelId(n), kRelayUnknownColour);
    }
}

void C_test_tool_dlg::onCommand(int id, Notify code)
{
    if (id == IDC_RT_ADDRESS && code == Notify::SelChanged) {
        const int index = view_->currentIndex(IDC_RT_ADDRESS);
        if (index >= 0 && index < kAddressCount)
            panelAddress_ = static_cast<std::uint8_t>(index);
        return;
    }
    if (code == Notify::Clicked)
        press(id);
}

bool C_test_tool_dlg::onClose()
{
    // The pending operation stays RelayTest until another one replaces it.
    view_->showWindow(false);
    return false;
}

void C_test_tool_dlg::show()
{
    link_.setPending(PendingOperation::RelayTest);
    view_->showWindow(true);
    view_->raiseWindow();
}

void C_test_tool_dlg::press(int id)
{
    std::uint8_t target = 0, function = 0;
    std::uint32_t value = 0;
    if (id >= IDC_RT_CHANNEL_FIRST && id <= IDC_RT_CHANNEL_LAST) {
        target = panelAddress_;
        function = kToggleFunction;
        value = static_cast<std::uint32_t>(id - IDC_RT_CHANNEL_FIRST + 1);
    } else {
        const Button* button = nullptr;
        for (const Button& b : buttons)
            if (b.id == id)
                button = &b;
        if (!button)
            return;
        target = button->target == Target::Broadcast ? kBroadcastTarget : panelAddress_;
        function = button->function;
        value = button->value == Value::AllOn          ? 0xFFFFFFFFu
                : button->value == Value::PanelAddress ? panelAddress_
                                                       : 0u;
    }
    // Replies are assembled as sum frames and handed to onReply.
    link_.setPending(PendingOperation::RelayTest);
    link_.sendAddressFrame(target, function, value);
}

void C_test_tool_dlg::onReply(std::string_view frame)
{
    const RelayReplyAction action = interpretPanelReply(frame, panelAddress_);
    switch (action.kind) {
    case RelayReplyKind::Ignored:
        return;
    case RelayReplyKind::State:
        break;
    case RelayReplyKind::Address:
        shell().messageBox(format(kAddressReadFormat, unsigned{action.address}),
                           kAddressReadCaption, Buttons::Ok, Icon::Information);
        panelAddress_ = action.address;
        view_->setCurrentIndex(IDC_RT_ADDRESS, panelAddress_);
        break;
    }
    showState(action.state);
}

void C_test_tool_dlg::showState(std::uint32_t state)
{
    // A state equal to the one shown changes nothing. The first state
    // reported is always shown, also when all channels are open: yellow
    // means no state has come yet, and would say so wrongly.
    if (stateKnown_ && state == shownState_)
        return;
    stateKnown_ = true;
    shownState_ = state;
    for (int n = 1; n <= kRelayChannelCount; ++n) {
        const bool closed = (state >> (n - 1)) & 1u;
        view_->setFaceColour(channelId(n), closed ? kRelayClosedColour : kRelayOpenColour);
    }
}

}  // namespace orlo
