// DeviceSession: the protocol state and the device operations, in one object
// that the main window and the command-line tool own. It sends the requests,
// takes received bytes one at a time and acts on each complete reply; what
// the user sees goes to a DeviceEvents observer, never to a window.
//
// It holds deviceAddress, PendingOperation, the receive state and both frame
// parsers, imageBuffer and the transfer counters, and remoteCodeBuffer. Bytes
// go out through a DeviceSender (the owner's DeviceLink::sendToDevice);
// questions, messages with their captions, progress, a loaded program and
// hardware information go to the observer.
//
// Threads: every call on the owner's thread (the one that handles received
// bytes). The protocol has no time-outs: an operation whose reply never
// comes stays pending until another one starts. Owners that must not wait
// for ever (the command-line tool) measure the time themselves.
//
// Two rules differ from a plain reading of the protocol, to keep the user's
// data safe:
//  - Reading the whole program leaves the program in memory alone until the
//    image has arrived whole and passed checkImage; only then is it replaced.
//    A read that fails or is abandoned changes nothing.
//  - An image of kMaxImageBytes (200000) bytes or more is refused before
//    anything is asked or sent, with a message; nothing stays pending.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "device/frame_parser.h"

namespace orlo {

class Program;
class NameTable;

// Which reply is awaited and where received bytes go. The values are the
// protocol's own.
enum class PendingOperation : int {
    Idle = 0,
    ReadAll = 1,
    WriteAll = 2,
    ReadClock = 5,
    LearnRadioRemote = 6,
    LearnInfraredRemote = 7,
    LearnUniversalInfrared = 10,
    ReadAddress = 11,
    HardwareInfo1 = 12,
    RelayTest = 13,
    WizardSend = 14,
    DebugTerminal = 15,
    HardwareInfo2 = 16,
    FirmwareUpdate = 17,
};

// Where a received byte goes while an operation is pending: the debug
// terminal's display, the CRC frame parser or the sum frame parser.
enum class ByteRoute { Terminal, CrcFrames, SumFrames };
ByteRoute byteRoute(PendingOperation op);

// Transfers move the program image in blocks of this many bytes; block k
// occupies offsets 50·k to 50·k + 49 of imageBuffer.
constexpr std::size_t kBlockBytes = 50;
constexpr std::size_t kImageBufferBytes = 200000;

// The remote-control codes the instruction editor can learn.
enum class RemoteKind { Radio, Infrared, UniversalInfrared };

// A learned universal infrared code: L and up to 255 raw bytes.
struct RemoteCodeBuffer {
    std::uint8_t length = 0;
    std::array<std::uint8_t, 255> bytes{};
};

// The window that asked for a remote code (the instruction editor). Called
// on the owner's thread from inside DeviceSession::onByte.
class RemoteCodeListener {
public:
    virtual ~RemoteCodeListener() = default;
    // A radio or infrared code (the window message WM_REMOTE_CODE, 1234).
    virtual void remoteCode(std::uint32_t parameter, std::uint32_t code) = 0;
    // A universal infrared code, now in the session's remoteCodeBuffer
    // (WM_UNIVERSAL_IR_CODE, 1235).
    virtual void universalInfraredCode(const RemoteCodeBuffer& code) = 0;
};

// The one send path (DeviceLink::sendToDevice in practice; see
// device/link_sender.h) and the one state the operations look at.
class DeviceSender {
public:
    virtual ~DeviceSender() = default;
    // Hands the bytes to the transport in use; the result is not reported.
    virtual void sendToDevice(const std::uint8_t* bytes, std::size_t count) = 0;
    // True when the serial port is the chosen transport and it is closed:
    // writing the whole program is refused then.
    virtual bool serialPortClosed() const = 0;
};

// What the user sees of the device operations. All text is GBK. Called on
// the owner's thread, from the operation calls and from onByte.
class DeviceEvents {
public:
    virtual ~DeviceEvents() = default;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const std::string& text, const std::string& caption) = 0;
    // A message box with an OK button; an empty caption stands for the
    // application's default caption.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
    // The progress bar: its range 0 to high, and its position.
    virtual void progressRange(unsigned high) = 0;
    virtual void progressPosition(unsigned position) = 0;
    // A whole program was read and has replaced the program and the name
    // table; image is the checked image it came from (exactly its total
    // length). Called before the completion message.
    virtual void programLoaded(std::string_view image) = 0;
    // The hardware information dialog in mode 1 or 3 with its text.
    virtual void showHardwareInfo(int mode, const std::string& text) = 0;

    // An operation that awaits replies came to its end: succeeded, or ended
    // with a message (a refused write, "数据出错", "数据有误！"). Not called
    // for an operation that is merely overwritten by the next one.
    virtual void operationEnded(PendingOperation, bool /*succeeded*/) {}
    // A checked reply that does not fit the pending operation ended it
    // without a message: a universal infrared code request answered with a
    // reply of another command, or a reply too short for what the operation
    // reads (clock, remote codes, hardware information). The window shows nothing; the command line
    // says what came instead.
    virtual void unexpectedReply(PendingOperation, std::string_view /*frame*/) {}
    // A byte received while nothing is assembled (Idle, DebugTerminal).
    virtual void terminalByte(std::uint8_t) {}
    // A checked reply for a tool that owns its pending value: the relay test
    // panel (RelayTest, sum frames) and the firmware update (FirmwareUpdate).
    virtual void toolReply(PendingOperation, std::string_view /*frame*/) {}
};

// The program and name table a read replaces and a write sends, and the
// wall clock (UTC seconds since 1970) that setting the clock reads.
struct SessionServices {
    Program* program = nullptr;  // nullptr: the process-wide program()
    NameTable* names = nullptr;  // nullptr: the process-wide names()
    std::function<std::uint64_t()> utcSeconds;  // empty: the system's clock
};

class DeviceSession {
public:
    // sender and events are not owned and must outlive the session.
    DeviceSession(DeviceSender& sender, DeviceEvents& events, SessionServices services = {});
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // The address of the target controller, the first byte of every CRC
    // request and of every reply the CRC parser accepts. 1 at start.
    std::uint8_t deviceAddress() const { return deviceAddress_; }
    void setDeviceAddress(std::uint8_t address) { deviceAddress_ = address; }

    PendingOperation pending() const { return pending_; }
    // For the tools that own a pending value (relay test panel, command
    // wizard, debug terminal, firmware update).
    void setPending(PendingOperation op) { pending_ = op; }

    // The request builders: each builds its frame for deviceAddress (the
    // address frame for target), restarts reply assembly and sends.
    void sendReadBlock(std::uint16_t p);
    void sendRequest(std::uint16_t a, std::uint16_t b);
    void sendBlock(std::uint16_t a, std::uint16_t b, std::string_view data);
    void sendSetting(std::uint16_t a, std::string_view data);
    void sendAddressFrame(std::uint8_t target, std::uint8_t function, std::uint32_t value);

    // One received byte, routed by the pending operation (byteRoute).
    void onByte(std::uint8_t byte);
    // Acts on one complete, checked reply by the pending operation.
    void handleResponse(std::string_view frame);
    // How many replies reached handleResponse so far (owners that measure a
    // time-out restart it on each).
    unsigned repliesHandled() const { return repliesHandled_; }
    // Replies that moved the operation on: the awaited acknowledgement or
    // block of a transfer, the answer of any other operation. A wait with a
    // bound counts from the last of them.
    unsigned progress() const { return progress_; }

    // The device operations. Each sends its request and sets the pending
    // operation; the rest happens in handleResponse.
    void writeAll();
    void readAll();
    void setClock();  // not awaited: the message shows the time sent
    void readClock();
    void readAddress();
    void writeAddress();  // gives the module on the line deviceAddress; not awaited
    void readHardwareInfo();
    void readHardwareInfo2();
    // Asks the controller for a code; target (may be null) is told when it
    // arrives and stays the target until replaced or forgotten.
    void learnRemote(RemoteKind kind, RemoteCodeListener* target);
    // The editor window is going away: it is no longer told.
    void forgetRemoteLearnTarget(const RemoteCodeListener* target);

    // Transfer state, for the windows and the tests.
    unsigned blockCount() const { return blockCount_; }
    unsigned blockIndex() const { return blockIndex_; }
    std::size_t imageLength() const { return imageLength_; }
    const RemoteCodeBuffer& remoteCodeBuffer() const { return remoteCodeBuffer_; }

private:
    void send(const std::string& frame);
    void sendWriteBlock(unsigned index);
    void endTransfer();
    void finish(PendingOperation op, bool succeeded);
    // Ends the operation as a failure on a reply that cannot carry its answer.
    void refuseReply(PendingOperation op, const ReplyFrame& r);
    void onWriteReply(const ReplyFrame& r);
    void onReadReply(const ReplyFrame& r);
    void finishRead();
    void onLearnedCode(PendingOperation op, const ReplyFrame& r);
    Program& program();
    NameTable& names();

    DeviceSender& sender_;
    DeviceEvents& events_;
    SessionServices services_;

    std::uint8_t deviceAddress_ = 1;
    PendingOperation pending_ = PendingOperation::Idle;
    ReceiveState receive_;
    FrameParser frameParser_{receive_};
    SumFrameParser sumFrameParser_{receive_};
    unsigned repliesHandled_ = 0;
    unsigned progress_ = 0;
    unsigned readReplies_ = 0;  // of the read in progress

    std::vector<std::uint8_t> imageBuffer_;
    std::size_t imageLength_ = 0;  // write: the image's length; read: bytes up to the highest stored
    unsigned blockCount_ = 0;
    unsigned blockIndex_ = 0;

    RemoteCodeListener* remoteLearnTarget_ = nullptr;
    RemoteCodeBuffer remoteCodeBuffer_;
};

}  // namespace orlo
