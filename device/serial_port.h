// SerialPort: the serial transport. Opens and configures a port, runs the
// reader thread that hands every received byte to the owner's sink, writes,
// changes the baud rate once the output queue has drained, and closes.
// Failures and steps are reported on the TransportLog with fixed texts.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "device/clock.h"
#include "device/transport.h"

namespace orlo {

class SerialPort {
public:
    using Opener =
        std::function<std::unique_ptr<SerialLine>(const std::string& path, OsError& error)>;

    // The reader asks for up to this many bytes per read ...
    static constexpr std::size_t kReadBlock = 1024;
    // ... and each read waits at most these times (milliseconds).
    static constexpr unsigned kReadIntervalMs = 1;
    static constexpr unsigned kReadTotalMs = 10;
    // setBaudRate polls the output queue this often, and gives up after this
    // long with bytes still queued.
    static constexpr unsigned kDrainPollMs = 10;
    static constexpr unsigned kDrainLimitMs = 2000;

    // log, clock and opener are not owned and must outlive the port. The
    // clock measures the drain wait of setBaudRate; opener opens the device
    // (the platform's openSerialLine, a fake in tests).
    explicit SerialPort(TransportLog& log = streamLog(), Clock& clock = systemClock(),
                        Opener opener = openSerialLine);
    ~SerialPort();  // closes the port
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens COM<portNumber> (serialPortPath) at baudRate, 8 data bits, no
    // parity, one stop bit, discards both queues, sets the read time-outs and
    // starts the reader thread, which hands each received byte to owner
    // (postByte, source portNumber). When the port is open already, returns
    // true at once and changes nothing (a new rate takes effect only after a
    // close and an open). On failure writes one diagnostic line, leaves the
    // port closed and returns false. owner must outlive the open port.
    bool open(ByteSink& owner, unsigned portNumber, unsigned baudRate);
    // The same for a device given by path (the command line's --serial);
    // bytes carry source 0 and a failure to open names the path.
    bool openPath(ByteSink& owner, const std::string& path, unsigned baudRate);

    // Waits until the bytes written have been sent (polling the output
    // queue every kDrainPollMs; given up when it has not shrunk for
    // kDrainLimitMs, with a diagnostic line), stops and joins the reader,
    // then closes the device. Nothing happens when no port is open. Must
    // not be called from the sink's callbacks.
    void close();

    // Changes the rate of the open port: waits (polling every kDrainPollMs on
    // the clock) until the output queue is empty, stops the reader, applies
    // the rate, discards received bytes not yet read, restarts the reader.
    // False, with a diagnostic line, when the port is not open, the queue
    // does not drain within kDrainLimitMs, or the driver refuses.
    bool setBaudRate(unsigned baudRate);

    // Writes the bytes, blocking until the driver has taken them. Returns 0
    // or the platform error code (kNotOpenError when no port is open). The
    // caller reports failures.
    OsError write(const std::uint8_t* bytes, std::size_t count);

    // True between a successful open and close. A fatal read error (the
    // device went away) also ends it: the reader reports the error, marks
    // the port closed and tells the owner (ByteSink::linkLost); the owner
    // then calls close, or open, which both release the old device first.
    // Any thread.
    bool isOpen() const { return open_; }
    // The port number given to the last open (0 for a path).
    unsigned portNumber() const { return portNumber_; }

private:
    bool openDevice(ByteSink& owner, const std::string& path, const std::string& failureText,
                    unsigned portNumber, unsigned baudRate);
    void drainOutput();
    void startReader();
    void stopReader();
    void release();
    void readLoop();

    TransportLog& log_;
    Clock& clock_;
    Opener opener_;

    std::unique_ptr<SerialLine> line_;
    std::thread reader_;
    ByteSink* owner_ = nullptr;
    unsigned portNumber_ = 0;
    std::atomic<bool> open_{false};
    std::atomic<bool> running_{false};
};

}  // namespace orlo
