// A ToolLink for the relay tools' tests: records the pending operation, every
// send and every address frame, as the bytes that would go on the line.
#pragma once

#include <string>
#include <vector>

#include "device/frames.h"
#include "platform/strings.h"
#include "tools/tool_link.h"

namespace orlo::test {

class FakeToolLink final : public ToolLink {
public:
    std::uint8_t address = 1;
    PendingOperation pending = PendingOperation::Idle;
    // What went out, in order, and whether reply assembly was restarted first.
    struct Sent {
        std::string bytes;
        bool restarted;
        PendingOperation pendingWhenSent;
    };
    std::vector<Sent> sent;

    std::uint8_t deviceAddress() const override { return address; }
    void setPending(PendingOperation op) override { pending = op; }
    void sendToDevice(const std::string& bytes) override { sent.push_back({bytes, false, pending}); }
    void sendAddressFrame(std::uint8_t target, std::uint8_t function, std::uint32_t value) override
    {
        sent.push_back({addressFrame(target, function, value), true, pending});
    }

    // The last bytes sent as hex text, "" when nothing was sent.
    std::string lastHex() const { return sent.empty() ? std::string() : hexText(sent.back().bytes); }
};

}  // namespace orlo::test
