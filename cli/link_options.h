// The link of a tarn command that talks to a device: the settings file
// "qv_pV2.ini" in the current folder, overridden by --tcp HOST:PORT,
// --serial DEVICE and --baud N, and an open link over it whose received
// bytes the command takes from a queue. Every device command uses these.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "cli/command.h"
#include "device/byte_queue.h"
#include "device/link.h"

namespace orlo::cli {

// The options' help, to append to a device command's help text.
#define ORLO_LINK_OPTIONS_HELP                                                            \
    "Link (default: the settings file qv_pV2.ini in the current folder):\n"               \
    "  --tcp HOST:PORT  connect to the network bridge at HOST (dotted IPv4), PORT\n"      \
    "  --serial DEVICE  use this serial device (COM3 means the platform's COM3)\n"        \
    "  --baud N         open the serial port at N baud instead of the saved rate\n"       \
    "  --trace          print the transport's progress notes on standard error\n"

struct LinkChoice {
    LinkSettings settings;     // the settings file with the overrides applied
    std::string serialDevice;  // --serial, as a device path; empty: COM(comIndex + 1)
    unsigned baudRate = 0;     // --baud; 0: the settings' baud index
    bool trace = false;        // --trace
    // How long connecting to the network bridge may take (the device
    // commands' --timeout).
    unsigned connectTimeoutMs = kDefaultConnectTimeoutMs;
};

// Reads the settings file in the current folder and takes the link options
// out of cli.args. Returns 0, or 2 after printing what is wrong.
int takeLinkOptions(Cli& cli, LinkChoice& choice);

// The link in words: "tcp 192.168.1.110:6000" or "serial /dev/ttyS0 9600".
std::string describeLink(const LinkChoice& choice);

// What a command says when the link went down while it waited:
// "tarn: 网络已断开 (tcp ...)" or "tarn: 串口未连接 (serial ...)".
std::string linkLostText(const LinkChoice& choice, LinkKind kind);
// What it says when bytes could not be handed to an open link.
std::string notSentText(const LinkChoice& choice);

// An open link for one run of a command. Diagnostics go to standard error
// as UTF-8; progress notes only with --trace.
class CliLink final : private LinkEvents, private TransportLog {
public:
    CliLink(const Cli& cli, const LinkChoice& choice);
    CliLink(const CliLink&) = delete;
    CliLink& operator=(const CliLink&) = delete;

    // Opens the serial port or connects. False after printing why; a link
    // that went down again at once counts as not opened.
    bool open();
    // True when the bytes were handed to the open link.
    bool send(const std::string& bytes);
    // Received bytes (and link-lost notices) in order.
    ByteQueue& received() { return queue_; }
    DeviceLink& link() { return *link_; }

private:
    void connectionTextChanged(const std::string&) override {}
    void showMessage(const std::string& text) override;
    void diagnostic(const std::string& line) override;
    void note(const std::string& line) override;

    const Cli& cli_;
    LinkChoice choice_;
    ByteQueue queue_;
    std::atomic<bool> told_{false};  // a message or diagnostic was printed
    // Last: destroyed first, so the link's threads end before the queue
    // they write to.
    std::unique_ptr<DeviceLink> link_;
};

}  // namespace orlo::cli
