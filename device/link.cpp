// The main window's device link (see link.h).
#include "device/link.h"

#include "platform/strings.h"

namespace orlo {

const unsigned kBaudRates[kBaudRateCount] = {300,   600,   1200,  2400,  4800,
                                             9600,  19200, 38400, 57600, 115200};

namespace {

constexpr unsigned kFallbackBaudRate = 9600;

const char* const kWriteFailed = "写入串口失败，错误码：%lu";
const char* const kConnectFailed = "建立连接失败";

struct StateText {
    ConnectionState state;
    const char* text;
};
const StateText stateTexts[] = {
    {ConnectionState::SerialOpen, "串口已打开"},
    {ConnectionState::SerialClosed, "串口未连接"},
    {ConnectionState::TcpConnected, "网络已连接"},
    {ConnectionState::TcpDisconnected, "网络已断开"},
};

}  // namespace

unsigned baudFromIndex(unsigned index)
{
    return index < kBaudRateCount ? kBaudRates[index] : kFallbackBaudRate;
}

const char* connectionText(ConnectionState state)
{
    for (const StateText& s : stateTexts)
        if (s.state == state)
            return s.text;
    return "";
}

DeviceLink::DeviceLink(ByteSink& sink, LinkEvents& events, LinkServices services)
    : sink_(sink),
      events_(events),
      log_(*services.log),
      tcpGate_(sink, useTcp_),
      serial_(*services.log, *services.clock, std::move(services.openSerial)),
      tcp_(std::move(services.connectTcp))
{
}

void DeviceLink::loadSettings(const std::string& path)
{
    setSettings(orlo::loadSettings(path));
    show(settings_.useTcp ? ConnectionState::TcpDisconnected : ConnectionState::SerialClosed);
}

void DeviceLink::setSettings(const LinkSettings& settings)
{
    settings_ = settings;
    useTcp_ = settings.useTcp;
}

unsigned DeviceLink::baudRate() const
{
    return baudRate_ != 0 ? baudRate_ : baudFromIndex(settings_.baudIndex);
}

void DeviceLink::show(ConnectionState state)
{
    shown_ = state;
    events_.connectionTextChanged(connectionText(state));
}

void DeviceLink::toggleSerial()
{
    if (serial_.isOpen()) {
        serial_.close();
        show(ConnectionState::SerialClosed);
        return;
    }
    bool opened = serialDevice_.empty()
                      ? serial_.open(sink_, settings_.comIndex + 1, baudRate())
                      : serial_.openPath(sink_, serialDevice_, baudRate());
    if (opened)
        show(ConnectionState::SerialOpen);
}

void DeviceLink::toggleTcp()
{
    if (tcp_.connected()) {
        tcp_.disconnect();
        show(ConnectionState::TcpDisconnected);
        return;
    }
    if (!tcp_.connect(tcpGate_, settings_.serverAddress, settings_.serverPort,
                      connectTimeoutMs_)) {
        events_.showMessage(kConnectFailed);
        return;
    }
    show(ConnectionState::TcpConnected);
}

void DeviceLink::pressConnectionButton()
{
    if (settings_.useTcp)
        toggleTcp();
    else
        toggleSerial();
}

bool DeviceLink::writeSerial(const std::uint8_t* bytes, std::size_t count)
{
    if (!serial_.isOpen())
        toggleSerial();
    if (!serial_.isOpen())
        return false;
    OsError error = serial_.write(bytes, count);
    if (error != 0)
        log_.diagnostic(format(kWriteFailed, error));
    return error == 0;
}

bool DeviceLink::sendToDevice(const std::uint8_t* bytes, std::size_t count)
{
    if (settings_.useTcp)
        return tcp_.send(bytes, count);
    return writeSerial(bytes, count);
}

void DeviceLink::onLinkLost(LinkKind kind)
{
    if (kind == LinkKind::Serial) {
        if (serial_.isOpen())
            return;
        serial_.close();
        if (shown_ == ConnectionState::SerialOpen)
            show(ConnectionState::SerialClosed);
    } else {
        if (tcp_.connected())
            return;
        if (shown_ == ConnectionState::TcpConnected)
            show(ConnectionState::TcpDisconnected);
    }
}

}  // namespace orlo
