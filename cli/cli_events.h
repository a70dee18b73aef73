// What the device operations show, as the command line shows it: running a
// command is the user's Yes to every question, messages are kept to be
// printed when the operation has ended (the message that answers the command
// on standard output, every other one on standard error as
// "message: CAPTION: TEXT"), and transfers report their progress on standard
// error at every tenth. The device, firmware and verify commands derive from it.
#pragma once

#include <string>
#include <vector>

#include "cli/command.h"
#include "device/device_session.h"
#include "platform/strings.h"

namespace orlo::cli {

class CliEvents : public DeviceEvents {
public:
    // progressUnit follows the figures in the progress lines ("blocks" gives
    // "progress: 3/40 blocks"); empty: none.
    CliEvents(const Cli& cli, std::string progressUnit)
        : cli_(cli), progressUnit_(std::move(progressUnit))
    {
    }

    bool ask(const std::string&, const std::string&) override { return true; }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages_.push_back({text, caption});
    }
    void progressRange(unsigned high) override { range_ = high; }
    void progressPosition(unsigned position) override
    {
        if (range_ == 0 || position == 0 || position > range_)
            return;
        const unsigned tenth = position * 10 / range_;
        if (tenth == shownTenth_ && position != range_)
            return;
        shownTenth_ = tenth;
        cli_.error(format("progress: %u/%u", position, range_) +
                   (progressUnit_.empty() ? "" : " " + progressUnit_));
    }
    void programLoaded(std::string_view image) override { image_ = std::string(image); }
    void showHardwareInfo(int, const std::string&) override {}
    void operationEnded(PendingOperation, bool succeeded) override
    {
        ended_ = true;
        succeeded_ = succeeded;
    }

    bool ended() const { return ended_; }
    bool succeeded() const { return succeeded_; }
    // The image a read delivered.
    const std::string& image() const { return image_; }

    // Prints the messages: when succeeded, the last one (the answer) on
    // standard output; every other one on standard error.
    void reportMessages(bool succeeded) const
    {
        for (std::size_t i = 0; i < messages_.size(); ++i) {
            const Message& m = messages_[i];
            if (succeeded && i + 1 == messages_.size())
                cli_.print(m.text);
            else
                cli_.error("message: " + (m.caption.empty() ? "" : m.caption + ": ") + m.text);
        }
    }

protected:
    const Cli& cli_;

private:
    struct Message {
        std::string text, caption;
    };

    std::string progressUnit_;
    std::vector<Message> messages_;
    unsigned range_ = 0;
    unsigned shownTenth_ = ~0u;
    std::string image_;
    bool ended_ = false;
    bool succeeded_ = false;
};

}  // namespace orlo::cli
