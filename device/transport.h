// The transports' portable interface: where received bytes go (ByteSink),
// where diagnostics go (TransportLog), and the two platform connections that
// SerialPort and TcpClient drive (SerialLine, TcpSocket). platform/posix and
// platform/win32 implement the connections in files of the same names
// (serial.cpp, tcp.cpp).

// Design. Each open link has one thread of its own that blocks in the
// platform's read call and hands every byte to the sink; everything else
// (open, close, write, baud change) happens on the owner's thread. The read
// calls wait at most a short time-out (serial) or are woken by a shutdown
// (TCP), so stopping a reader is "clear a flag, wake it, join it". The
// alternative, one event loop multiplexing both links on the user-interface
// thread, was rejected: on Windows that thread runs the message loop, which
// cannot wait on a serial handle and a socket as well without overlapped
// I/O, and the protocol layer wants bytes one at a time in order, which the
// per-link thread gives for free. The algorithms (configuration order,
// drain wait, diagnostics texts) are portable code in SerialPort and
// TcpClient; the platform connections below only make the system calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orlo {

// A platform error code: GetLastError() or WSAGetLastError() on Windows,
// errno elsewhere. 0 means success.
using OsError = unsigned long;

// The error SerialPort reports for a write while no port is open
// (ERROR_INVALID_HANDLE on Windows, ENXIO on POSIX systems: both 6).
constexpr OsError kNotOpenError = 6;

enum class LinkKind { Serial, Tcp };

// The source number that comes with each byte received over TCP. Serial
// bytes carry the port number n of COMn instead.
constexpr unsigned kTcpSource = 1;

// Tarn.exe's window messages for the sink: WM_RX_BYTE (WM_USER + 7; wParam
// the byte, lParam the source) and the link-lost notice (WM_USER + 8;
// wParam the LinkKind).
constexpr unsigned kRxByteMessage = 0x0407;
constexpr unsigned kLinkLostMessage = 0x0408;

// Blocks without a time-out.
constexpr unsigned kWaitForever = ~0u;

// How long a TCP connect waits for the far end when nobody says otherwise:
// an unreachable bridge costs Tarn.exe's window at most this long.
constexpr unsigned kDefaultConnectTimeoutMs = 3000;

// The outcome of one read or write. Exactly one of these holds:
//  - count > 0: that many bytes were moved;
//  - error != 0: the call failed;
//  - closed: the peer ended the connection in order (TCP only);
//  - none of them: the time-out expired. A short read means the time-out
//    expired, not an error.
struct Transfer {
    std::size_t count = 0;
    OsError error = 0;
    bool closed = false;

    bool timedOut() const { return count == 0 && error == 0 && !closed; }
};

// Receives what the transports read. Tarn.exe's sink posts or sends
// WM_RX_BYTE to the main window; the command-line tool and the tests use a
// ByteQueue. The sink must outlive every link it is given to.
class ByteSink {
public:
    virtual ~ByteSink() = default;

    // Called on the serial reader thread for each received byte, in order.
    // Queues the byte for the owner and returns without waiting for it to be
    // handled. source is the port number n of COMn (0 for a port opened by
    // device path). Returns false, with a platform error code in error, when
    // the byte could not be queued; the reader reports that and goes on.
    virtual bool postByte(std::uint8_t byte, unsigned source, OsError& error) = 0;

    // Called on the TCP receive thread for each received byte, in order
    // (source is kTcpSource). May wait until the owner has handled the byte
    // (Tarn.exe: SendMessage), so TCP bytes never pile up; it must return
    // once the owner has gone. The owner must therefore never wait for the
    // TCP receive thread while it is the thread that handles these calls
    // (TcpClient waits for it only in connect and in its destructor).
    virtual void sendByte(std::uint8_t byte, unsigned source) = 0;

    // Called on the link's own thread when the link went down by itself: the
    // TCP peer closed or the connection failed, or the serial device failed
    // (removed, broken). Called after the last byte of that link, once per
    // loss, never for a close the owner asked for. The owner reacts on its
    // own thread by calling DeviceLink::onLinkLost; calling the link's close
    // or connect from inside this call would deadlock or throw.
    virtual void linkLost(LinkKind kind) = 0;
};

// Where the transports write their diagnostics: failures as lines on the
// error stream, progress notes as lines on the output stream. GBK text,
// one line per call, without the newline. Called from the owner's thread
// and from reader threads: implementations must be thread-safe.
class TransportLog {
public:
    virtual ~TransportLog() = default;
    virtual void diagnostic(const std::string& line) = 0;
    virtual void note(const std::string& line) = 0;
};

// Writes diagnostics to standard error and notes to standard output, as GBK
// bytes, one call at a time. Process-wide.
TransportLog& streamLog();
// Discards everything. Process-wide.
TransportLog& silentLog();

// One open serial device. Created by openSerialLine, owned by SerialPort;
// destroying it closes the device. read runs on the reader thread while
// write and outputQueued may run on the owner's thread at the same time;
// every other call is made only while no read is in progress.
class SerialLine {
public:
    enum Purge { PurgeTx = 1, PurgeRx = 2 };

    virtual ~SerialLine() = default;

    // Reads the driver's current line settings and keeps them; baudRate
    // receives the rate in bits per second.
    virtual OsError getState(unsigned& baudRate) = 0;
    // Applies the settings last read by getState with the given rate, 8 data
    // bits, no parity and one stop bit.
    virtual OsError setState(unsigned baudRate) = 0;
    // Discards bytes not yet sent (PurgeTx) and / or received but not yet
    // read (PurgeRx).
    virtual void purge(int what) = 0;
    // Read time-outs in milliseconds: a read returns once intervalMs passes
    // without a new byte after the first one, or totalMs after it started.
    virtual OsError setReadTimeouts(unsigned intervalMs, unsigned totalMs) = 0;
    // Reads up to capacity bytes, blocking at most for the read time-outs
    // (a line that waits on port events instead: until a byte arrives,
    // wakeReader is called or its own bound passes). A short read (count 0,
    // no error) means the time-out expired. A device that has gone away
    // reports an error, never closed.
    virtual Transfer read(std::uint8_t* buffer, std::size_t capacity) = 0;
    // Ends the wait of a read in progress on the reader thread, or of the
    // next read if none is in progress, which then returns a short read.
    // Called on the owner's thread when it stops the reader. Lines whose
    // reads end on their time-outs need nothing here.
    virtual void wakeReader() {}
    // Writes all bytes, blocking until the driver has taken them (writes
    // have no time-out). count is the number written.
    virtual Transfer write(const std::uint8_t* bytes, std::size_t count) = 0;
    // The number of bytes written but not yet sent on the line.
    virtual OsError outputQueued(std::size_t& count) = 0;
    // Waits until the driver has sent everything written (the last byte
    // included), as a serial driver does on close. Called only once
    // outputQueued has found the queue empty, so it returns promptly.
    virtual OsError drain() = 0;
};

// The device path of port COMn on this platform: "\\.\COMn" on Windows (the
// device-namespace form, which also reaches ports above COM9), /dev/ttyS<n-1>
// on Linux (the same numbering Wine uses for COMn).
std::string serialPortPath(unsigned portNumber);

// Opens a serial device for exclusive, blocking use. Returns nullptr with a
// platform error code in error when it cannot be opened. The line settings
// are not touched until getState / setState.
std::unique_ptr<SerialLine> openSerialLine(const std::string& path, OsError& error);

// One connected TCP socket (client side, or a connection a TcpListener
// accepted). Destroying it closes the socket. receive runs on one thread
// while send and shutdown may be called from another.
class TcpSocket {
public:
    virtual ~TcpSocket() = default;

    // One send call with the bytes (it may take fewer than all); count is the
    // number sent. Never raises a signal on a closed connection.
    virtual Transfer send(const std::uint8_t* bytes, std::size_t count) = 0;
    // Receives up to capacity bytes, waiting at most timeoutMs (kWaitForever:
    // no limit) for the first. closed: the peer ended the connection.
    virtual Transfer receive(std::uint8_t* buffer, std::size_t capacity, unsigned timeoutMs) = 0;
    // Ends the connection in both directions and wakes a receive blocked in
    // another thread, which then returns closed or an error. Any thread;
    // idempotent.
    virtual void shutdown() = 0;
};

// Connects to an IPv4 address in dotted form and a port. Blocks until the
// connection is made or refused, or timeoutMs has passed (a far end that
// never answers, a listener whose queue is full); kWaitForever: no limit.
// Returns nullptr with a platform error code when the address is not a
// dotted IPv4 address or the connection fails or times out.
std::unique_ptr<TcpSocket> connectTcp(const std::string& address, std::uint16_t port,
                                      OsError& error,
                                      unsigned timeoutMs = kDefaultConnectTimeoutMs);

// A listening TCP socket: the server side used by the simulated controller
// and by the tests. Destroying it stops listening.
class TcpListener {
public:
    virtual ~TcpListener() = default;
    // The port it listens on (the one the system chose when 0 was asked for).
    virtual std::uint16_t port() const = 0;
    // Waits at most timeoutMs for a connection. nullptr with error 0 when the
    // time-out expired, with an error code when accepting failed.
    virtual std::unique_ptr<TcpSocket> accept(unsigned timeoutMs, OsError& error) = 0;
};

// Listens on an IPv4 address ("127.0.0.1", "0.0.0.0") and port (0: any free
// port). Returns nullptr with a platform error code on failure.
std::unique_ptr<TcpListener> listenTcp(const std::string& address, std::uint16_t port,
                                       OsError& error);

}  // namespace orlo
