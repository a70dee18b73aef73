// tarn device firmware: updates the controller's firmware through its loader
// with image files named per chip, the same sequence as Tarn.exe's menu
// "更新固件" (and "更新固件_115200" with --fast). The 100 ms ticks of the
// start delay and the watchdog come from this command's own loop.
#include "cli/cmd_firmware.h"

#include <cstdio>
#include <map>

#include "cli/cli_events.h"
#include "cli/link_options.h"
#include "cli/number_option.h"
#include "device/clock.h"
#include "device/firmware_update.h"
#include "device/session_link.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

constexpr unsigned kTickMs = 100;

#ifdef ORLO_LOADER_SIGNATURE
const char* const kBuiltInSignature = ORLO_LOADER_SIGNATURE;
#else
const char* const kBuiltInSignature = "";
#endif

const char* const kUsage =
    "usage: tarn device [LINK OPTIONS] [--address A] firmware --image CHIP=FILE\n"
    "           [--image CHIP=FILE] [--loader-signature TEXT] [--fast]\n\n"
    "  --image CHIP=FILE        the image for a chip (at32f403avgt7, stm32g0b0)\n"
    "  --loader-signature TEXT  the 13 characters the controller's loader expects\n"
    "                           (default: the one this tarn was built with)\n"
    "  --fast                   both ends switch to 115200 baud for the transfer\n"
    "Progress goes to standard error; exit 0 only when the last block was\n"
    "acknowledged, 1 when the update failed, 2 for usage errors.\n";

// Options of tarn device that take no value; every other takes one.
const char* const kFlags[] = {"--trace", "--fast"};

int usageError(const std::string& text)
{
    std::fprintf(stderr, "tarn: %s\n", text.c_str());
    return 2;
}

class CliFirmwareEvents final : public CliEvents {
public:
    explicit CliFirmwareEvents(const Cli& cli) : CliEvents(cli, "") {}
    FirmwareUpdate* update = nullptr;

    void toolReply(PendingOperation op, std::string_view frame) override
    {
        if (op == PendingOperation::FirmwareUpdate && update)
            update->onReply(frame);
    }
};

// The baud switch on a serial link; a TCP link has no rate of its own here.
class CliFirmwareLine final : public FirmwareLine {
public:
    explicit CliFirmwareLine(DeviceLink& link) : link_(link) {}
    void setBaudRate(unsigned baudRate) override
    {
        if (!link_.settings().useTcp)
            link_.serialPort().setBaudRate(baudRate);
    }
    void restoreBaudRate() override { setBaudRate(link_.baudRate()); }

private:
    DeviceLink& link_;
};

std::string knownChips()
{
    std::string names;
    for (const FirmwareChip& chip : kFirmwareChips)
        names += std::string(names.empty() ? "" : ", ") + chip.name;
    return names;
}

// --image CHIP=FILE, each read whole before the link opens. Returns 0, or
// the exit status after printing what is wrong.
int takeImages(Cli& cli, std::map<int, std::string>& images)
{
    bool ok = true;
    std::string value;
    while (cli.takeOption("image", value, ok)) {
        const std::size_t eq = value.find('=');
        const std::string chip = eq == std::string::npos ? value : value.substr(0, eq);
        const int id = firmwareResourceId(chip);
        if (eq == std::string::npos || eq + 1 == value.size() || id == 0)
            return usageError("--image takes CHIP=FILE with CHIP one of " + knownChips());
        const std::string path = value.substr(eq + 1);
        std::string bytes, error;
        const std::size_t largest = kMaxFirmwareBlocks * kBlockBytes;
        if (!readFilePrefix(cli.path(value).substr(eq + 1), largest + 1, bytes, error)) {
            cli.error("tarn: " + path + ": " + error);
            return 1;
        }
        if (bytes.empty() || bytes.size() > largest) {
            cli.error(format("tarn: %s: a firmware image holds 1 to %u bytes", path.c_str(),
                             static_cast<unsigned>(largest)));
            return 1;
        }
        if (images.count(id))
            return usageError("--image names " + chip + " twice");
        images[id] = std::move(bytes);
    }
    if (!ok)
        return 2;
    if (images.empty())
        return usageError("give the image of at least one chip: --image CHIP=FILE (CHIP one of " +
                          knownChips() + ")");
    return 0;
}

// Feeds received bytes to the session and ticks both countdowns every
// 100 ms until the update ends; the watchdog bounds every wait for a reply.
bool runUpdate(const Cli& cli, CliLink& link, const LinkChoice& choice, DeviceSession& session,
               const CliFirmwareEvents& events, Countdown& watchdog, Countdown& startDelay)
{
    Clock& clock = systemClock();
    std::uint64_t nextTick = clock.nowMs() + kTickMs;
    while (!events.ended()) {
        const std::uint64_t now = clock.nowMs();
        if (now >= nextTick) {
            nextTick += kTickMs;
            watchdog.tick();
            startDelay.tick();
            continue;
        }
        ByteQueue::Event e;
        if (!link.received().next(e, static_cast<unsigned>(nextTick - now)))
            continue;
        if (e.lost) {
            cli.error(std::string("tarn: ") +
                      (e.kind == LinkKind::Tcp ? "网络已断开" : "串口未连接") + " (" +
                      describeLink(choice) + ")");
            return false;
        }
        session.onByte(e.byte);
    }
    return events.succeeded();
}

}  // namespace

bool firmwareRequested(const Cli& cli)
{
    for (std::size_t i = 0; i < cli.args.size(); ++i) {
        const std::string& a = cli.args[i];
        if (a == "--")
            return i + 1 < cli.args.size() && cli.args[i + 1] == "firmware";
        if (a.compare(0, 2, "--") != 0)
            return a == "firmware";
        bool flag = a.find('=') != std::string::npos;
        for (const char* f : kFlags)
            flag = flag || a == f;
        if (!flag)
            ++i;
    }
    return false;
}

int runDeviceFirmware(Cli& cli)
{
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string addressText, signature = kBuiltInSignature;
    const bool haveAddress = cli.takeOption("address", addressText, ok);
    cli.takeOption("loader-signature", signature, ok);
    const bool fast = cli.takeFlag("fast");
    std::map<int, std::string> images;
    if (!ok)
        return 2;
    if (int status = takeImages(cli, images))
        return status;
    if (cli.unknownOption())
        return 2;
    if (cli.positionals() != std::vector<std::string>{"firmware"}) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    unsigned address = 1;
    if (haveAddress && !parseDecimal(addressText, 0, 255, address))
        return usageError("--address takes a bus address from 0 to 255");
    if (signature.empty())
        return usageError("no loader signature: this tarn was built without one; give "
                          "--loader-signature TEXT, the 13 characters the controller's loader "
                          "expects");
    if (!validLoaderSignature(signature))
        return usageError("--loader-signature takes exactly 13 printable ASCII characters");
    if (fast && choice.settings.useTcp)
        return usageError("--fast switches the serial port to 115200 baud; it needs a serial link");

    CliLink link(cli, choice);
    if (!link.open())
        return 1;
    LinkSender sender(link.link());
    CliFirmwareEvents events(cli);
    DeviceSession session(sender, events);
    session.setDeviceAddress(static_cast<std::uint8_t>(address));
    CliFirmwareLine line(link.link());
    Countdown watchdog, startDelay;
    FirmwareUpdate update(session, sender, events, line, watchdog, startDelay, systemClock());
    events.update = &update;
    update.setLoaderSignature(signature);
    update.setSource([&images](int id, std::string& image) {
        auto it = images.find(id);
        if (it == images.end())
            return ResourceLoad::Missing;
        image = it->second;
        return ResourceLoad::Loaded;
    });

    update.start(fast ? kUpdateBaud115200 : kKeepBaud);
    const bool succeeded = runUpdate(cli, link, choice, session, events, watchdog, startDelay);
    if (!update.chipName().empty())
        cli.error("chip: " + update.chipName());
    events.reportMessages(events.succeeded());
    return succeeded ? 0 : 1;
}

}  // namespace orlo::cli
