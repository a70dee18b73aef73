// Test doubles for the device transports: a fake clock, a log that records
// lines, a scripted serial line, and link events that record what the
// connection button and the message boxes would show.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/link.h"
#include "device/transport.h"

namespace orlo::test {

// Time moves only when someone sleeps on it.
class FakeClock final : public Clock {
public:
    std::uint64_t nowMs() override { return now_; }
    void sleepMs(unsigned ms) override { now_ += ms; }
    std::uint64_t now() const { return now_; }

private:
    std::atomic<std::uint64_t> now_{1000};
};

class RecordingLog final : public TransportLog {
public:
    void diagnostic(const std::string& line) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        diagnostics_.push_back(line);
        changed_.notify_all();
    }
    void note(const std::string& line) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        notes_.push_back(line);
    }
    std::vector<std::string> diagnostics() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return diagnostics_;
    }
    std::vector<std::string> notes() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return notes_;
    }
    // Waits at most timeoutMs for a diagnostic line equal to line.
    bool waitDiagnostic(const std::string& line, unsigned timeoutMs)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            for (const std::string& d : diagnostics_)
                if (d == line)
                    return true;
            return false;
        });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> diagnostics_, notes_;
};

// What a scripted serial device saw and will do. Shared between the test and
// the FakeSerialLine the port owns, so it outlives the line.
struct FakeSerialDevice {
    std::mutex mutex;
    std::condition_variable changed;

    // Script.
    OsError openError = 0;
    OsError getStateError = 0;
    OsError setStateError = 0;
    OsError timeoutsError = 0;
    OsError outputQueuedError = 0;
    OsError writeError = 0;
    unsigned driverRate = 1200;
    // Bytes still queued for sending at each outputQueued call; the last
    // entry repeats. Empty: always 0.
    std::vector<std::size_t> queuedSequence;
    // Bytes for the reader, and an error to report once they are read.
    std::deque<std::uint8_t> incoming;
    OsError readErrorAfterIncoming = 0;
    // A line that waits on port events: a read waits for bytes or
    // wakeReader, not for a time-out (bounded at 5 s, which counts as a
    // read nobody woke).
    bool readsWaitForEvents = false;
    bool wakePending = false;
    int readsNotWoken = 0;

    // Record.
    std::vector<std::string> calls;  // "open PATH", "getState", "setState 9600", ...
    std::string written;
    std::size_t outputQueuedCalls = 0;
    int linesAlive = 0;
    int readsInProgress = 0;
    bool readDuringReconfigure = false;

    void feed(const std::string& bytes)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            for (char c : bytes)
                incoming.push_back(static_cast<std::uint8_t>(c));
        }
        changed.notify_all();
    }
    void failReads(OsError error)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            readErrorAfterIncoming = error;
        }
        changed.notify_all();
    }
    std::vector<std::string> callLog()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }
};

class FakeSerialLine final : public SerialLine {
public:
    explicit FakeSerialLine(std::shared_ptr<FakeSerialDevice> d) : d_(std::move(d))
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        ++d_->linesAlive;
    }
    ~FakeSerialLine() override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        --d_->linesAlive;
        d_->calls.push_back("close");
    }

    OsError getState(unsigned& baudRate) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        noteReconfigure("getState");
        baudRate = d_->driverRate;
        return d_->getStateError;
    }
    OsError setState(unsigned baudRate) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        noteReconfigure("setState " + std::to_string(baudRate));
        if (d_->setStateError == 0)
            d_->driverRate = baudRate;
        return d_->setStateError;
    }
    void purge(int what) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        std::string s = "purge";
        if (what & PurgeTx)
            s += " tx";
        if (what & PurgeRx) {
            s += " rx";
            d_->incoming.clear();
        }
        noteReconfigure(s);
    }
    OsError setReadTimeouts(unsigned intervalMs, unsigned totalMs) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        noteReconfigure("timeouts " + std::to_string(intervalMs) + " " + std::to_string(totalMs));
        return d_->timeoutsError;
    }
    // Blocks up to the read time-out (10 ms of real time) like a driver, or
    // until woken when the device waits on events.
    Transfer read(std::uint8_t* buffer, std::size_t capacity) override
    {
        std::unique_lock<std::mutex> lock(d_->mutex);
        ++d_->readsInProgress;
        d_->changed.notify_all();
        const bool events = d_->readsWaitForEvents;
        const bool ended = d_->changed.wait_for(
            lock, std::chrono::milliseconds(events ? 5000 : 10), [&] {
                return !d_->incoming.empty() || d_->readErrorAfterIncoming != 0 ||
                       (events && d_->wakePending);
            });
        if (events && !ended)
            ++d_->readsNotWoken;
        d_->wakePending = false;
        Transfer t;
        while (t.count < capacity && !d_->incoming.empty()) {
            buffer[t.count++] = d_->incoming.front();
            d_->incoming.pop_front();
        }
        if (t.count == 0 && d_->readErrorAfterIncoming != 0)
            t.error = d_->readErrorAfterIncoming;
        --d_->readsInProgress;
        return t;
    }
    Transfer write(const std::uint8_t* bytes, std::size_t count) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        Transfer t;
        if (d_->writeError != 0) {
            t.error = d_->writeError;
            return t;
        }
        d_->written.append(reinterpret_cast<const char*>(bytes), count);
        t.count = count;
        return t;
    }
    OsError outputQueued(std::size_t& count) override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        std::size_t i = d_->outputQueuedCalls++;
        const std::vector<std::size_t>& q = d_->queuedSequence;
        count = q.empty() ? 0 : q[i < q.size() ? i : q.size() - 1];
        return d_->outputQueuedError;
    }
    OsError drain() override
    {
        std::lock_guard<std::mutex> lock(d_->mutex);
        d_->calls.push_back("drain");
        return 0;
    }
    void wakeReader() override
    {
        {
            std::lock_guard<std::mutex> lock(d_->mutex);
            d_->wakePending = true;
        }
        d_->changed.notify_all();
    }

private:
    // Called with the mutex held.
    void noteReconfigure(const std::string& call)
    {
        d_->calls.push_back(call);
        if (d_->readsInProgress > 0)
            d_->readDuringReconfigure = true;
    }

    std::shared_ptr<FakeSerialDevice> d_;
};

// An opener for SerialPort that hands out lines of one fake device.
inline SerialPort::Opener fakeOpener(std::shared_ptr<FakeSerialDevice> device)
{
    return [device](const std::string& path, OsError& error) -> std::unique_ptr<SerialLine> {
        {
            std::lock_guard<std::mutex> lock(device->mutex);
            device->calls.push_back("open " + path);
            error = device->openError;
            if (error != 0)
                return nullptr;
        }
        return std::make_unique<FakeSerialLine>(device);
    };
}

class RecordingEvents final : public LinkEvents {
public:
    void connectionTextChanged(const std::string& text) override { texts.push_back(text); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    std::string lastText() const { return texts.empty() ? std::string() : texts.back(); }

    std::vector<std::string> texts;
    std::vector<std::string> messages;
};

}  // namespace orlo::test
