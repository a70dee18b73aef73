// FirmwareUpdate: replacing the controller's firmware through its resident
// loader. The host sends the loader entry frame, waits three ticks, asks the
// loader for its chip (optionally switching both ends to 115200 baud), picks
// the image for that chip, sends a preparation frame, a 16-byte header and
// the image in 50-byte blocks, each after the reply to the one before.
//
// The owner (the main window, the command-line tool) owns two Countdowns
// that it ticks every 100 ms: the start delay (timer 3) and the watchdog
// (timer 2), which ends the update after ten ticks without a fitting reply.
// Replies arrive through the owner's DeviceEvents::toolReply while the
// session's pending operation is FirmwareUpdate; the requests go out through
// the same DeviceSession. The images are opaque: they are only sized,
// checked and sent.
//
// Where this departs from a plain reading of the loader protocol, so that a
// failure is never silent and one stray frame cannot stall the update:
//  - The watchdog running out while the update is pending ends it: the baud
//    rate goes back, nothing stays pending, and the user is told the update
//    failed.
//  - A reply that does not fit the current step is ignored: it neither
//    advances the step counter nor feeds the watchdog.
//  - An update that stops (unknown chip, missing image, watchdog) also ends:
//    the configured rate is set at once and nothing stays pending.
//  - Without a loader signature (13 printable ASCII characters) nothing is
//    sent; an empty image, or one too large for the block numbers, is
//    refused like a resource that cannot be loaded.
//
// Threads: every call on the owner's thread. The chip request blocks that
// thread for 50 ms on the injected clock before the host's own baud switch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/clock.h"
#include "device/countdown.h"
#include "device/device_session.h"
#include "platform/resources.h"

namespace orlo {

// The chips the loader reports and the resource (of type "BINARY") that
// carries each one's image.
struct FirmwareChip {
    const char* name;
    int resourceId;
};
extern const FirmwareChip kFirmwareChips[2];
extern const char* const kFirmwareResourceType;
// The resource id for a chip name (exact, case-sensitive), 0 for none.
int firmwareResourceId(std::string_view chipName);

// Tarn.exe carries its loader signature as resource 1 of this type.
extern const char* const kLoaderSignatureResourceType;
constexpr int kLoaderSignatureResourceId = 1;
constexpr std::size_t kLoaderSignatureChars = 13;
// True for exactly 13 printable ASCII characters (0x20 to 0x7E).
bool validLoaderSignature(std::string_view text);

// The rate codes sent with the chip request (the rate / 100); 0 keeps it.
constexpr std::uint16_t kKeepBaud = 0;
constexpr std::uint16_t kUpdateBaud115200 = 1152;

constexpr unsigned kFirmwareStartDelayTicks = 3;
constexpr unsigned kFirmwareWatchdogTicks = 10;
constexpr unsigned kBaudSwitchWaitMs = 50;
// The header goes out as block A = 10000, image block k as 10001 + k; the
// block numbers must stay below 65536.
constexpr std::uint16_t kFirmwareHeaderBlock = 10000;
constexpr std::size_t kMaxFirmwareBlocks = 65535 - kFirmwareHeaderBlock;
// Where the images run in the controller's flash (header bytes 0 to 3).
constexpr std::uint32_t kFirmwareLoadAddress = 0x08006000;

// The 20-byte loader entry frame: FF 00 FF 00 AA 55, the signature (13
// characters), one zero byte. Sent without CRC.
std::string loaderEntryFrame(std::string_view signature);
// The 16-byte header: load address and size (high byte first), 00 00,
// crc16 of the image (low byte first), low 8 bits of the sum, XOR, 00 00.
std::string firmwareHeader(std::string_view image);

// Where the images come from: the executable's resources or files the user
// named. Fills image and says whether it could.
using FirmwareSource = std::function<ResourceLoad(int resourceId, std::string& image)>;

// The host's serial port, for the baud switch.
class FirmwareLine {
public:
    virtual ~FirmwareLine() = default;
    // Switches the serial port to baudRate. Over TCP, or with the port
    // closed, this fails with a diagnostic and changes nothing.
    virtual void setBaudRate(unsigned baudRate) = 0;
    // Sets the serial port back to the configured rate (same failures).
    virtual void restoreBaudRate() = 0;
};

class FirmwareUpdate {
public:
    // Every reference is kept and must outlive the update. The constructor
    // takes over both countdowns' onExpired.
    FirmwareUpdate(DeviceSession& session, DeviceSender& sender, DeviceEvents& events,
                   FirmwareLine& line, Countdown& watchdog, Countdown& startDelay,
                   Clock& clock);
    FirmwareUpdate(const FirmwareUpdate&) = delete;
    FirmwareUpdate& operator=(const FirmwareUpdate&) = delete;

    void setSource(FirmwareSource source) { source_ = std::move(source); }
    void setLoaderSignature(std::string signature) { signature_ = std::move(signature); }

    // The menu command: asks, sets the configured rate, sends the entry
    // frame and starts the delay. updateBaud: kKeepBaud or kUpdateBaud115200.
    void start(std::uint16_t updateBaud);
    // A checked reply while the pending operation is FirmwareUpdate.
    void onReply(std::string_view frame);

    // State, for the windows and the tests.
    unsigned step() const { return step_; }
    unsigned blockCount() const { return blockCount_; }
    const std::string& chipName() const { return chipName_; }
    const std::string& image() const { return image_; }

private:
    void begin();
    void watchdogExpired();
    bool fits(std::string_view frame) const;
    void onChipName(std::string_view name);
    void runStep(unsigned n);
    void end(bool succeeded, const char* message, const char* caption);

    DeviceSession& session_;
    DeviceSender& sender_;
    DeviceEvents& events_;
    FirmwareLine& line_;
    Countdown& watchdog_;
    Countdown& startDelay_;
    Clock& clock_;
    FirmwareSource source_;
    std::string signature_;

    std::uint16_t updateBaud_ = kKeepBaud;
    unsigned step_ = 0;  // fitting replies since the sequence started
    unsigned blockCount_ = 0;
    std::string chipName_;
    std::string image_;  // kept after the update
};

}  // namespace orlo
