// The relay test panel (dialog 40001, "测试工具"): one button per channel of
// a 32-channel relay board toggles that relay and shows its state in colour
// (yellow until a state is reported, green closed, red open), and a row of
// buttons reads or writes the board's address, queries its state and
// switches all channels. Modeless, created hidden with the main window,
// shown by "工具" → "调试工具"; closing it only hides it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/window.h"
#include "tools/tool_link.h"

namespace orlo {

// Face colours of the channel buttons (0x00BBGGRR).
constexpr Colour kRelayUnknownColour = 0x0000FFFF;  // yellow, RGB 255, 255, 0
constexpr Colour kRelayClosedColour = 0x0000FF00;   // green, RGB 0, 255, 0
constexpr Colour kRelayOpenColour = 0x000000FF;     // red, RGB 255, 0, 0

class C_test_tool_dlg : public Window {
public:
    // link must outlive the window.
    explicit C_test_tool_dlg(ToolLink& link) : link_(link) {}

    // The caption of channel button n: "第 n 路".
    static std::string channelCaption(int n);

    int templateId() const override;
    // Takes the main window's deviceAddress as the panel address.
    void onInit() override;
    void onCommand(int id, Notify code) override;
    // Hides the panel; it lives on.
    bool onClose() override;

    // "调试工具": sum replies come to the panel from now on; shows it.
    void show();
    // A sum frame the reply handler took while RelayTest was pending.
    // Frames that are not a state of this panel's board or the address
    // reply are ignored.
    void onReply(std::string_view frame);

    std::uint8_t panelAddress() const { return panelAddress_; }
    // The channel mask the buttons show (bit n - 1: channel n closed); 0
    // while they are still yellow.
    std::uint32_t shownState() const { return shownState_; }
    bool stateKnown() const { return stateKnown_; }

private:
    void press(int id);
    void showState(std::uint32_t state);

    ToolLink& link_;
    std::uint8_t panelAddress_ = 0;
    std::uint32_t shownState_ = 0;
    bool stateKnown_ = false;  // a state has been shown since the panel opened
};

}  // namespace orlo
