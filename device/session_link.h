// LinkSender: a DeviceSession's send path over the DeviceLink its owner
// holds (the main window's, or the command-line tool's CliLink).
#pragma once

#include "device/device_session.h"
#include "device/link.h"

namespace orlo {

class LinkSender final : public DeviceSender {
public:
    // link is not owned and must outlive the sender.
    explicit LinkSender(DeviceLink& link) : link_(link) {}

    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        link_.sendToDevice(bytes, count);
    }
    bool serialPortClosed() const override
    {
        return !link_.settings().useTcp && !link_.serialOpen();
    }

private:
    DeviceLink& link_;
};

}  // namespace orlo
