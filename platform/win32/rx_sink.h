// The byte sink of Tarn.exe: received bytes become WM_RX_BYTE messages to a
// window (posted for serial bytes, sent for TCP bytes), and a link that went
// down by itself becomes a posted kLinkLostMessage (wParam: the LinkKind).
#pragma once

#include <windows.h>

#include <atomic>

#include "device/transport.h"

namespace orlo {

class WindowMessageSink final : public ByteSink {
public:
    explicit WindowMessageSink(HWND window = nullptr) : window_(window) {}

    // The window that receives the messages; set on the user-interface
    // thread before a link opens. Null drops everything.
    void setWindow(HWND window) { window_ = window; }

    bool postByte(std::uint8_t byte, unsigned source, OsError& error) override;
    void sendByte(std::uint8_t byte, unsigned source) override;
    void linkLost(LinkKind kind) override;

private:
    std::atomic<HWND> window_;
};

}  // namespace orlo
