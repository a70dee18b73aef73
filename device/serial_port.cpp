// The serial transport (see serial_port.h): the open sequence, the reader
// thread, the drained baud change and the diagnostics texts.
#include "device/serial_port.h"

#include "platform/strings.h"

namespace orlo {

namespace {

// The diagnostics and notes, one place for every text of this transport.
const char* const kOpenFailed = "无法打开串口 ";  // + "COM" n, or the device path
const char* const kGetStateFailed = "获取串口状态失败";
const char* const kSetStateFailed = "设置串口状态失败";
const char* const kSetTimeoutsFailed = "设置串口超时失败";
const char* const kPosted = "成功发送字节：0x%02X";
const char* const kPostFailed = "PostMessage 失败，错误码：%lu";
const char* const kReadFailed = "读取串口失败，错误码：%lu";
const char* const kBaudNotOpen = "串口未打开，无法设置波特率";
const char* const kDrainWaiting = "等待缓冲区数据发送完毕...";
const char* const kDrainCheckFailed = "检查串口状态失败，错误码：%lu";
const char* const kDrainTimedOut = "等待数据发送超时，仍有 %lu 字节未发送";
const char* const kDrained = "缓冲区数据已发送完毕，准备更改波特率...";
const char* const kBaudGetFailed = "获取串口状态失败，错误码：%lu";
const char* const kBaudSetFailed = "设置波特率失败，错误码：%lu";
const char* const kBaudChanged = "波特率已从 %u 成功更改为 %u";

}  // namespace

SerialPort::SerialPort(TransportLog& log, Clock& clock, Opener opener)
    : log_(log), clock_(clock), opener_(std::move(opener))
{
}

SerialPort::~SerialPort()
{
    close();
}

bool SerialPort::open(ByteSink& owner, unsigned portNumber, unsigned baudRate)
{
    if (open_)
        return true;
    return openDevice(owner, serialPortPath(portNumber), format("%sCOM%u", kOpenFailed, portNumber),
                      portNumber, baudRate);
}

bool SerialPort::openPath(ByteSink& owner, const std::string& path, unsigned baudRate)
{
    if (open_)
        return true;
    return openDevice(owner, path, kOpenFailed + path, 0, baudRate);
}

bool SerialPort::openDevice(ByteSink& owner, const std::string& path,
                            const std::string& failureText, unsigned portNumber, unsigned baudRate)
{
    // A reader that ended on a fatal error leaves its device behind.
    release();

    owner_ = &owner;
    portNumber_ = portNumber;
    OsError error = 0;
    std::unique_ptr<SerialLine> line = opener_(path, error);
    if (!line) {
        log_.diagnostic(failureText);
        return false;
    }

    unsigned driverRate = 0;
    const char* failed = nullptr;
    if (line->getState(driverRate) != 0)
        failed = kGetStateFailed;
    else if (line->setState(baudRate) != 0)
        failed = kSetStateFailed;
    if (!failed) {
        line->purge(SerialLine::PurgeTx | SerialLine::PurgeRx);
        if (line->setReadTimeouts(kReadIntervalMs, kReadTotalMs) != 0)
            failed = kSetTimeoutsFailed;
    }
    if (failed) {
        log_.diagnostic(failed);
        return false;  // line closes here
    }

    line_ = std::move(line);
    startReader();
    open_ = true;
    return true;
}

void SerialPort::close()
{
    // What was written leaves the line before the device is closed, as a
    // serial driver does on close: the next open would discard it.
    if (open_)
        drainOutput();
    // Marked closed first, so a reader failing at this moment does not
    // report a loss the owner asked for.
    open_ = false;
    release();
}

void SerialPort::drainOutput()
{
    // The queue must keep shrinking: it is given up once it has not moved
    // for kDrainLimitMs, however slow the line.
    std::size_t fewest = static_cast<std::size_t>(-1);
    std::uint64_t movedAt = clock_.nowMs();
    for (;;) {
        std::size_t queued = 0;
        const OsError error = line_->outputQueued(queued);
        if (error != 0) {
            log_.diagnostic(format(kDrainCheckFailed, error));
            return;
        }
        if (queued == 0)
            break;
        if (queued < fewest) {
            fewest = queued;
            movedAt = clock_.nowMs();
        } else if (clock_.nowMs() - movedAt >= kDrainLimitMs) {
            log_.diagnostic(format(kDrainTimedOut, static_cast<unsigned long>(queued)));
            return;
        }
        clock_.sleepMs(kDrainPollMs);
    }
    line_->drain();  // the last bytes, out of the driver's hands
}

void SerialPort::release()
{
    stopReader();
    line_.reset();
}

void SerialPort::startReader()
{
    running_ = true;
    reader_ = std::thread([this] { readLoop(); });
}

void SerialPort::stopReader()
{
    running_ = false;
    // A read waiting on port events would otherwise wait for the next byte.
    if (line_ && reader_.joinable())
        line_->wakeReader();
    // Joining from the reader itself throws std::system_error
    // (resource_deadlock_would_occur), as std::thread::join does.
    if (reader_.joinable())
        reader_.join();
}

void SerialPort::readLoop()
{
    std::uint8_t buffer[kReadBlock];
    while (running_) {
        Transfer got = line_->read(buffer, sizeof buffer);
        if (got.error != 0) {
            log_.diagnostic(format(kReadFailed, got.error));
            // The device is gone or broken: nothing more will come. Mark the
            // port closed so the next send reopens it, and tell the owner,
            // who releases the device on its own thread.
            running_ = false;
            if (open_.exchange(false))
                owner_->linkLost(LinkKind::Serial);
            return;
        }
        for (std::size_t i = 0; i < got.count; ++i) {
            OsError postError = 0;
            if (owner_->postByte(buffer[i], portNumber_, postError))
                log_.note(format(kPosted, static_cast<unsigned>(buffer[i])));
            else
                log_.diagnostic(format(kPostFailed, postError));
        }
    }
}

bool SerialPort::setBaudRate(unsigned baudRate)
{
    if (!open_) {
        log_.diagnostic(kBaudNotOpen);
        return false;
    }

    log_.note(kDrainWaiting);
    const std::uint64_t start = clock_.nowMs();
    for (;;) {
        std::size_t queued = 0;
        OsError error = line_->outputQueued(queued);
        if (error != 0) {
            log_.diagnostic(format(kDrainCheckFailed, error));
            return false;
        }
        if (queued == 0)
            break;
        if (clock_.nowMs() - start >= kDrainLimitMs) {
            log_.diagnostic(format(kDrainTimedOut, static_cast<unsigned long>(queued)));
            return false;
        }
        clock_.sleepMs(kDrainPollMs);
    }
    log_.note(kDrained);

    const bool wasRunning = reader_.joinable();
    stopReader();
    if (!open_) {
        // The reader failed while stopping; it has reported why.
        return false;
    }
    auto restart = [&] {
        if (wasRunning)
            startReader();
    };

    unsigned oldRate = 0;
    OsError error = line_->getState(oldRate);
    if (error != 0) {
        log_.diagnostic(format(kBaudGetFailed, error));
        restart();
        return false;
    }
    error = line_->setState(baudRate);
    if (error != 0) {
        log_.diagnostic(format(kBaudSetFailed, error));
        restart();
        return false;
    }
    // Bytes received at the old rate are noise at the new one.
    line_->purge(SerialLine::PurgeRx);
    restart();
    log_.note(format(kBaudChanged, oldRate, baudRate));
    return true;
}

OsError SerialPort::write(const std::uint8_t* bytes, std::size_t count)
{
    if (!line_)
        return kNotOpenError;
    Transfer done = line_->write(bytes, count);
    return done.error;
}

}  // namespace orlo
