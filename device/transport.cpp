// The two process-wide transport logs (see transport.h).
#include "device/transport.h"

#include <cstdio>
#include <mutex>

namespace orlo {

namespace {

class StreamLog final : public TransportLog {
public:
    void diagnostic(const std::string& line) override { write(stderr, line); }
    void note(const std::string& line) override { write(stdout, line); }

private:
    void write(std::FILE* f, const std::string& line)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::fwrite(line.data(), 1, line.size(), f);
        std::fputc('\n', f);
        std::fflush(f);
    }
    std::mutex mutex_;
};

class SilentLog final : public TransportLog {
public:
    void diagnostic(const std::string&) override {}
    void note(const std::string&) override {}
};

}  // namespace

TransportLog& streamLog()
{
    static StreamLog log;
    return log;
}

TransportLog& silentLog()
{
    static SilentLog log;
    return log;
}

}  // namespace orlo
