// The link options of the device commands and the link they open (see
// link_options.h).
#include "cli/link_options.h"

#include <cstdio>

#include "cli/number_option.h"
#include "device/settings.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

// "COM3" (any letter case) names port 3 the way the platform spells it.
std::string serialDevicePath(const std::string& device)
{
    unsigned n = 0;
    if (device.size() > 3) {
        std::string prefix = device.substr(0, 3);
        for (char& c : prefix)
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (prefix == "COM" && parseDecimal(device.substr(3), 1, 255, n))
            return serialPortPath(n);
    }
    return device;
}

int usageError(const char* text)
{
    std::fprintf(stderr, "tarn: %s\n", text);
    return 2;
}

}  // namespace

int takeLinkOptions(Cli& cli, LinkChoice& choice)
{
    choice = LinkChoice{};
    choice.settings = loadSettings(settingsPath());

    bool ok = true;
    std::string tcp, serial, baud;
    bool haveTcp = cli.takeOption("tcp", tcp, ok);
    bool haveSerial = cli.takeOption("serial", serial, ok);
    bool haveBaud = cli.takeOption("baud", baud, ok);
    choice.trace = cli.takeFlag("trace");
    if (!ok)
        return 2;
    if (haveTcp && haveSerial)
        return usageError("--tcp and --serial choose different links; give one of them");

    if (haveTcp) {
        std::size_t colon = tcp.rfind(':');
        unsigned port = 0;
        if (colon == std::string::npos || colon == 0 ||
            !parseDecimal(tcp.substr(colon + 1), 1, 65535, port))
            return usageError("--tcp needs HOST:PORT, e.g. 192.168.1.110:6000");
        choice.settings.useTcp = true;
        choice.settings.serverAddress = tcp.substr(0, colon);
        choice.settings.serverPort = static_cast<std::uint16_t>(port);
    }
    if (haveSerial) {
        if (serial.empty())
            return usageError("--serial needs a device, e.g. /dev/ttyUSB0 or COM3");
        choice.settings.useTcp = false;
        choice.serialDevice = serialDevicePath(cli.path(serial));
    }
    if (haveBaud) {
        if (!parseDecimal(baud, 1, 4000000, choice.baudRate))
            return usageError("--baud needs a rate in bits per second, e.g. 115200");
        if (choice.settings.useTcp)
            return usageError("--baud applies to a serial link (--serial, or com_or_tcp=0 in "
                              "qv_pV2.ini)");
    }
    return 0;
}

std::string describeLink(const LinkChoice& choice)
{
    const LinkSettings& s = choice.settings;
    if (s.useTcp)
        return format("tcp %s:%u", s.serverAddress.c_str(), static_cast<unsigned>(s.serverPort));
    std::string device =
        choice.serialDevice.empty() ? serialPortPath(s.comIndex + 1) : choice.serialDevice;
    unsigned rate = choice.baudRate != 0 ? choice.baudRate : baudFromIndex(s.baudIndex);
    return format("serial %s %u", pathToText(device).c_str(), rate);
}

std::string linkLostText(const LinkChoice& choice, LinkKind kind)
{
    return std::string("tarn: ") + (kind == LinkKind::Tcp ? "网络已断开" : "串口未连接") + " (" +
           describeLink(choice) + ")";
}

std::string notSentText(const LinkChoice& choice)
{
    return std::string("tarn: not sent, the link is down: ") +
           (choice.settings.useTcp ? "网络已断开" : "串口未连接") + " (" + describeLink(choice) +
           ")";
}

CliLink::CliLink(const Cli& cli, const LinkChoice& choice) : cli_(cli), choice_(choice)
{
    LinkServices services;
    services.log = static_cast<TransportLog*>(this);
    LinkEvents& events = *this;
    link_ = std::make_unique<DeviceLink>(queue_, events, services);
    link_->setSettings(choice.settings);
    link_->setSerialDevice(choice.serialDevice);
    link_->setBaudRate(choice.baudRate);
    link_->setConnectTimeout(choice.connectTimeoutMs);
}

bool CliLink::open()
{
    const bool tcp = choice_.settings.useTcp;
    if (tcp ? link_->tcpConnected() : link_->serialOpen())
        return true;
    told_ = false;
    if (tcp)
        link_->toggleTcp();
    else
        link_->toggleSerial();
    if (tcp ? link_->tcpConnected() : link_->serialOpen())
        return true;
    // Opened, and gone again before it could be used (a bridge that hangs
    // up at once); a failure to open has said why already.
    if (!told_)
        cli_.error(linkLostText(choice_, tcp ? LinkKind::Tcp : LinkKind::Serial));
    return false;
}

bool CliLink::send(const std::string& bytes)
{
    return link_->sendToDevice(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void CliLink::showMessage(const std::string& text)
{
    told_ = true;
    cli_.error("tarn: " + text + " (" + describeLink(choice_) + ")");
}

void CliLink::diagnostic(const std::string& line)
{
    told_ = true;
    cli_.error(line);
}

void CliLink::note(const std::string& line)
{
    if (choice_.trace)
        cli_.error(line);
}

}  // namespace orlo::cli
