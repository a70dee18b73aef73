// The debug terminal (dialog 148, "调试窗口"): shows what the device sends,
// as text or as hex bytes, and sends up to five prepared lines, each as text
// or as hex bytes. Modeless, created the first time "工具" → "调试助手" is
// chosen and kept until the program ends; closing it only hides it.
//
// The receive box is redrawn by a 50 ms timer, not per byte, so a burst of
// bytes costs one redraw.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/window.h"
#include "tools/terminal_text.h"
#include "tools/tool_link.h"

namespace orlo {

class Ctiaoshi_helper_dlg : public Window {
public:
    static constexpr int kSendLineCount = 5;
    // The display timer's id.
    static constexpr int kFlushTimer = 1;

    // link must outlive the window.
    explicit Ctiaoshi_helper_dlg(ToolLink& link) : link_(link) {}

    int templateId() const override;
    void onInit() override;
    // Buttons and check boxes; a double click on the dialog's own background
    // (control id 0) lays the controls out again.
    void onCommand(int id, Notify code) override;
    void onSize(int width, int height) override;
    void onTimer(int timerId) override;
    // Received bytes go back to idle routing; the window is hidden.
    bool onClose() override;

    // "调试助手": starts the display timer, lays the controls out, routes
    // received bytes here and shows the window on top.
    void open();
    // A received byte the reply handler routed to the terminal. Kept for the
    // next display update while "接收" is on, dropped otherwise.
    void receiveByte(std::uint8_t byte);

    // Lays the controls out for a client area of the given size.
    void layout(Size client);

    const TerminalText& text() const { return text_; }

private:
    void sendLine(int line);
    void showDisplay();

    ToolLink& link_;
    TerminalText text_;
    bool receiving_ = true;
    std::array<bool, kSendLineCount> lineHex_{};
};

}  // namespace orlo
