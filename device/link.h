// DeviceLink: the one link to the controller that the main window (and the
// command-line tool) owns. It holds the communication settings, the serial
// port and the TCP client, toggles them from the connection button, keeps
// the button's text, and is the single send path of the protocol and the
// tools (sendToDevice). All calls on the owner's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "device/serial_port.h"
#include "device/settings.h"
#include "device/tcp_client.h"

namespace orlo {

// The rates of the baud table, index 0 to 9 (the settings dialog lists the
// same). Any other index gives 9600.
constexpr std::size_t kBaudRateCount = 10;
extern const unsigned kBaudRates[kBaudRateCount];
unsigned baudFromIndex(unsigned index);

// What the connection button (1008) shows.
enum class ConnectionState { SerialOpen, SerialClosed, TcpConnected, TcpDisconnected };
// "串口已打开", "串口未连接", "网络已连接", "网络已断开".
const char* connectionText(ConnectionState state);

// What the link tells its owner.
class LinkEvents {
public:
    virtual ~LinkEvents() = default;
    // The connection button's text changed.
    virtual void connectionTextChanged(const std::string& text) = 0;
    // A failure the user is told of in a message box with the default
    // caption: "建立连接失败".
    virtual void showMessage(const std::string& text) = 0;
};

// The platform services a link uses; tests replace them.
struct LinkServices {
    TransportLog* log = &streamLog();
    Clock* clock = &systemClock();
    SerialPort::Opener openSerial = openSerialLine;
    TcpClient::Connector connectTcp = orlo::connectTcp;
};

class DeviceLink {
public:
    // sink receives the bytes of both transports; sink and events must
    // outlive the link.
    DeviceLink(ByteSink& sink, LinkEvents& events, LinkServices services = {});
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Reads the settings file and shows the idle text of the chosen
    // transport ("网络已断开" or "串口未连接").
    void loadSettings(const std::string& path);
    const LinkSettings& settings() const { return settings_; }
    // New values (the settings dialog, the port list). Takes effect at the
    // next open or connect; does not change the button.
    void setSettings(const LinkSettings& settings);

    // The command line's overrides: a serial device path instead of
    // COM(comIndex + 1), a baud rate instead of the baud index (0: none).
    void setSerialDevice(const std::string& path) { serialDevice_ = path; }
    void setBaudRate(unsigned baudRate) { baudRate_ = baudRate; }
    // The rate the serial port opens with.
    unsigned baudRate() const;
    // How long connecting to the TCP server may take (kWaitForever: no
    // limit); kDefaultConnectTimeoutMs at start.
    void setConnectTimeout(unsigned timeoutMs) { connectTimeoutMs_ = timeoutMs; }

    // Closes the serial port if it is open, otherwise opens it with the
    // current settings; the button follows. A failed open changes nothing
    // (the serial port has written its diagnostic).
    void toggleSerial();
    // Disconnects if connected, otherwise connects to the server address and
    // port; a failed connect shows "建立连接失败".
    void toggleTcp();
    // The connection button: toggleTcp in TCP mode, else toggleSerial.
    void pressConnectionButton();

    // Writes bytes to the serial port, opening it first when it is closed.
    // A failed write is written to the diagnostics. True when the bytes
    // were written to the open port.
    bool writeSerial(const std::uint8_t* bytes, std::size_t count);
    // The single send path: in TCP mode a send on the socket (nothing is
    // sent when not connected); otherwise writeSerial. The choice follows
    // the setting alone, not the connection state. True when the bytes were
    // handed to an open link; the window ignores this (a send on a link that
    // is down does nothing visible), the command line reports it.
    bool sendToDevice(const std::uint8_t* bytes, std::size_t count);

    // The owner's answer to ByteSink::linkLost, on the owner's thread: when
    // the link of that kind is indeed down, releases it and shows
    // "串口未连接" / "网络已断开" in place of a connection that no longer
    // exists. A stale notice (the link was reopened since) changes nothing.
    void onLinkLost(LinkKind kind);

    ConnectionState connectionState() const { return shown_; }
    bool serialOpen() const { return serial_.isOpen(); }
    bool tcpConnected() const { return tcp_.connected(); }
    // For the firmware update's baud changes.
    SerialPort& serialPort() { return serial_; }

private:
    // Forwards TCP bytes only while TCP is the chosen transport.
    class TcpGate final : public ByteSink {
    public:
        TcpGate(ByteSink& sink, const std::atomic<bool>& useTcp) : sink_(sink), useTcp_(useTcp) {}
        bool postByte(std::uint8_t byte, unsigned source, OsError& error) override
        {
            return sink_.postByte(byte, source, error);
        }
        void sendByte(std::uint8_t byte, unsigned source) override
        {
            if (useTcp_)
                sink_.sendByte(byte, source);
        }
        void linkLost(LinkKind kind) override { sink_.linkLost(kind); }

    private:
        ByteSink& sink_;
        const std::atomic<bool>& useTcp_;
    };

    void show(ConnectionState state);

    ByteSink& sink_;
    LinkEvents& events_;
    TransportLog& log_;
    LinkSettings settings_;
    std::atomic<bool> useTcp_{false};
    std::string serialDevice_;
    unsigned baudRate_ = 0;
    unsigned connectTimeoutMs_ = kDefaultConnectTimeoutMs;
    ConnectionState shown_ = ConnectionState::SerialClosed;
    TcpGate tcpGate_;
    // Declared last: destroyed first, so their threads end while the
    // members above still exist.
    SerialPort serial_;
    TcpClient tcp_;
};

}  // namespace orlo
