// How the relay tools reach the device: the one small interface the command
// wizard, the relay test panel and the debug terminal send through, and its
// implementation over the owner's DeviceSession. Received bytes travel the
// other way without it: the owner hands the test panel each checked sum
// frame (C_test_tool_dlg::onReply) and the terminal each byte it routes to
// the display (Ctiaoshi_helper_dlg::receiveByte).
#pragma once

#include <cstdint>
#include <string>

#include "device/device_session.h"

namespace orlo {

// All calls on the user-interface thread.
class ToolLink {
public:
    virtual ~ToolLink() = default;

    // The main window's deviceAddress.
    virtual std::uint8_t deviceAddress() const = 0;
    // Which reply is awaited and where received bytes go from now on.
    virtual void setPending(PendingOperation op) = 0;
    // The single send path (sendToDevice): the bytes as they are.
    virtual void sendToDevice(const std::string& bytes) = 0;
    // An address frame (0x55, target, function, value, sum), sent after
    // reply assembly has been restarted, so the board's reply is taken from
    // its first byte.
    virtual void sendAddressFrame(std::uint8_t target, std::uint8_t function,
                                  std::uint32_t value) = 0;
};

// The tools' link in Tarn.exe and in the command-line tool: the session's
// pending operation and request builders, and its send path. Neither is
// owned; both must outlive this object.
class SessionToolLink final : public ToolLink {
public:
    SessionToolLink(DeviceSession& session, DeviceSender& sender)
        : session_(session), sender_(sender)
    {
    }

    std::uint8_t deviceAddress() const override { return session_.deviceAddress(); }
    void setPending(PendingOperation op) override { session_.setPending(op); }
    void sendToDevice(const std::string& bytes) override
    {
        sender_.sendToDevice(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void sendAddressFrame(std::uint8_t target, std::uint8_t function, std::uint32_t value) override
    {
        session_.sendAddressFrame(target, function, value);
    }

private:
    DeviceSession& session_;
    DeviceSender& sender_;
};

}  // namespace orlo
