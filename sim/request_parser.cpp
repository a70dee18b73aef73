// Request assembly on the simulated controller (see request_parser.h).
#include "sim/request_parser.h"

#include <algorithm>

#include "device/frames.h"

namespace orlo::sim {

namespace {

// What the buffer's start can still become.
enum class Fit { No, NeedMore, Yes };

struct Match {
    Fit fit;
    std::size_t length;
};

Match crcRequest(const std::string& b)
{
    if (b.size() < 2)
        return {Fit::NeedMore, 0};
    const auto command = static_cast<std::uint8_t>(b[1]);
    std::size_t length = 0;
    if (command == kReadBlockCommand || command == kQueryCommand) {
        length = 8;
    } else if (command == kDataBlockCommand || command == kSettingCommand) {
        if (b.size() < 7)
            return {Fit::NeedMore, 0};
        length = static_cast<std::uint8_t>(b[6]) + 9u;  // N is byte 6 in both
    } else {
        return {Fit::No, 0};
    }
    if (b.size() < length)
        return {Fit::NeedMore, 0};
    return {crcMatches(std::string_view(b).substr(0, length)) ? Fit::Yes : Fit::No, length};
}

Match addressRequest(const std::string& b)
{
    if (b.empty() || static_cast<std::uint8_t>(b[0]) != kAddressFrameStart)
        return {Fit::No, 0};
    if (b.size() < kSumFrameBytes)
        return {Fit::NeedMore, 0};
    const std::string_view f = std::string_view(b).substr(0, kSumFrameBytes);
    return {sum8(f.substr(0, kSumFrameBytes - 1)) == static_cast<std::uint8_t>(f[7]) ? Fit::Yes
                                                                                     : Fit::No,
            kSumFrameBytes};
}

// The firmware loader's entry frame: FF 00 FF 00 AA 55, 13 signature
// characters, 00; 20 bytes without a check.
Match loaderEntry(const std::string& b)
{
    static const char start[] = {'\xFF', '\x00', '\xFF', '\x00', '\xAA', '\x55'};
    constexpr std::size_t kLength = 20;
    const std::size_t n = std::min(b.size(), sizeof start);
    if (b.compare(0, n, start, n) != 0)
        return {Fit::No, 0};
    if (b.size() < kLength)
        return {Fit::NeedMore, 0};
    return {b[kLength - 1] == '\0' ? Fit::Yes : Fit::No, kLength};
}

}  // namespace

std::vector<std::string> RequestParser::feed(unsigned char byte)
{
    std::vector<std::string> out;
    buffer_ += static_cast<char>(byte);
    while (!buffer_.empty()) {
        const Match forms[] = {crcRequest(buffer_), addressRequest(buffer_), loaderEntry(buffer_)};
        bool waiting = false;
        bool taken = false;
        for (const Match& m : forms) {
            if (m.fit == Fit::Yes) {
                out.push_back(buffer_.substr(0, m.length));
                buffer_.erase(0, m.length);
                taken = true;
                break;
            }
            waiting = waiting || m.fit == Fit::NeedMore;
        }
        if (taken)
            continue;
        if (waiting)
            break;
        buffer_.erase(0, 1);  // nothing can start here
    }
    return out;
}

}  // namespace orlo::sim
