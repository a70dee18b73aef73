// Fuzz target: a firmware update between the host (FirmwareUpdate behind a
// DeviceSession) and the simulated loader, over a line the input spoils.
// Each input byte is one event: the loader answers what the host sent, or
// its answer is lost or damaged, noise reaches either end, or the watchdog
// ticks. Whatever happens, once the watchdog has run out nothing may stay
// pending.
#include <cstdint>
#include <deque>
#include <string>

#include "device/countdown.h"
#include "device/device_session.h"
#include "device/firmware_update.h"
#include "sim/loader.h"
#include "sim/request_parser.h"

namespace {

using namespace orlo;

const char kSignature[] = "FUZZ-LOADER01";

class Sender final : public DeviceSender {
public:
    std::string pending;  // bytes the host sent that the loader has not had
    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        if (pending.size() < 1u << 16)
            pending.append(reinterpret_cast<const char*>(bytes), count);
    }
    bool serialPortClosed() const override { return false; }
};

class Events final : public DeviceEvents {
public:
    std::deque<std::string> replies;
    bool ask(const std::string&, const std::string&) override { return true; }
    void showMessage(const std::string&, const std::string&) override {}
    void progressRange(unsigned) override {}
    void progressPosition(unsigned) override {}
    void programLoaded(std::string_view) override {}
    void showHardwareInfo(int, const std::string&) override {}
    void toolReply(PendingOperation, std::string_view frame) override
    {
        replies.emplace_back(frame);
    }
};

class Line final : public FirmwareLine {
public:
    void setBaudRate(unsigned) override {}
    void restoreBaudRate() override {}
};

class StillClock final : public Clock {
public:
    std::uint64_t nowMs() override { return now_; }
    void sleepMs(unsigned ms) override { now_ += ms; }

private:
    std::uint64_t now_ = 1000;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    Sender sender;
    Events events;
    Line line;
    StillClock clock;
    Countdown watchdog, startDelay;
    DeviceSession session(sender, events);
    FirmwareUpdate update(session, sender, events, line, watchdog, startDelay, clock);
    update.setLoaderSignature(kSignature);
    // A small image: the first byte gives its size in blocks.
    const std::size_t imageBytes = 1 + data[0] % 8 * 50 + data[0] / 8;
    update.setSource([imageBytes](int, std::string& image) {
        image.assign(imageBytes, '\x5A');
        return ResourceLoad::Loaded;
    });
    sim::LoaderConfig config;
    config.signature = kSignature;
    config.chip = data[1] & 1 ? "stm32g0b0" : "at32f403avgt7";
    sim::Loader loader(config, nullptr);
    sim::RequestParser parser;

    const auto toHost = [&](const std::string& bytes) {
        for (char c : bytes)
            session.onByte(static_cast<std::uint8_t>(c));
        while (!events.replies.empty()) {
            const std::string frame = events.replies.front();
            events.replies.pop_front();
            update.onReply(frame);
        }
    };
    // The loader takes what the host sent; returns its replies.
    const auto toLoader = [&](const std::string& bytes) {
        std::string replies;
        for (char c : bytes)
            for (const std::string& request : parser.feed(static_cast<unsigned char>(c)))
                if (sim::Loader::isLoaderRequest(request))
                    replies += loader.handle(request, 1, 0);
        return replies;
    };

    update.start(data[1] & 2 ? kUpdateBaud115200 : kKeepBaud);
    for (std::size_t i = 2; i < size; ++i) {
        const std::uint8_t event = data[i];
        const std::uint8_t arg = i + 1 < size ? data[i + 1] : 0;
        std::string sent;
        sent.swap(sender.pending);
        switch (event % 8) {
        case 0:
        case 1:
        case 2:
            toHost(toLoader(sent));
            break;
        case 3: {  // one byte of the answer changed
            std::string replies = toLoader(sent);
            if (!replies.empty())
                replies[arg % replies.size()] ^= static_cast<char>(event | 1);
            toHost(replies);
            ++i;
            break;
        }
        case 4:  // the answer is lost
            toLoader(sent);
            break;
        case 5:  // noise reaches the host
        case 6: {  // noise reaches the loader
            const std::size_t n = std::min<std::size_t>(arg % 32, size - i - 1);
            const std::string noise(reinterpret_cast<const char*>(data + i + 1), n);
            if (event % 8 == 5) {
                toHost(noise);
                sender.pending = sent;
            } else {
                toHost(toLoader(noise + sent));
            }
            i += n;
            break;
        }
        default:
            sender.pending = sent;
            startDelay.tick();
            watchdog.tick();
            break;
        }
    }
    // The start delay, then the watchdog, run out.
    for (unsigned t = 0; t < kFirmwareStartDelayTicks + kFirmwareWatchdogTicks + 1; ++t) {
        startDelay.tick();
        watchdog.tick();
    }
    if (session.pending() == PendingOperation::FirmwareUpdate)
        __builtin_trap();
    return 0;
}
