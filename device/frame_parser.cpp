// The two reply assemblers (see frame_parser.h).
#include "device/frame_parser.h"

namespace orlo {

namespace {

std::string_view bufferView(const ReceiveState& s, std::size_t length)
{
    return std::string_view(reinterpret_cast<const char*>(s.frame.data()), length);
}

}  // namespace

unsigned FrameParser::frameLength(std::uint8_t command, std::uint8_t lengthByte)
{
    if (!carriesLength(command))
        return kShortReplyBytes;
    if (lengthByte > kMaxReplyData)
        return 0;
    return lengthByte + static_cast<unsigned>(kReplyOverheadBytes);
}

bool FrameParser::feed(std::uint8_t byte, std::uint8_t deviceAddress)
{
    ReceiveState& s = state_;
    completed_ = 0;
    // The sum parser shares the position and may have left it past this
    // frame's end when the pending operation changed without a request.
    if (!s.restart || s.position >= s.expectedLength)
        s.position = 0;
    if (s.position == 0)
        s.reject = byte != deviceAddress;
    if (s.position == 1) {
        s.command = byte;
        s.expectedLength = static_cast<std::uint8_t>(frameLength(byte, 0));
    } else if (s.position == 2 && carriesLength(s.command)) {
        unsigned length = frameLength(s.command, byte);
        if (length == 0)
            s.reject = true;
        else
            s.expectedLength = static_cast<std::uint8_t>(length);
    }
    if (s.reject) {
        s.position = 0;
        s.restart = true;
        return false;
    }

    s.frame[s.position] = byte;
    if (s.position + 1u < s.expectedLength) {
        ++s.position;
        s.restart = true;
        return false;
    }

    // The frame is complete. On a failed check the position stays on the last
    // byte, so the next byte replaces it and the check runs again.
    const std::size_t length = s.expectedLength;
    bool ok = s.frame[0] == deviceAddress && crcMatches(bufferView(s, length));
    if (ok) {
        completed_ = static_cast<unsigned>(length);
        s.command = 0;
        s.position = 0;
    }
    s.restart = true;
    return ok;
}

std::string_view FrameParser::frame() const
{
    return bufferView(state_, completed_);
}

bool SumFrameParser::feed(std::uint8_t byte)
{
    ReceiveState& s = state_;
    completed_ = false;
    if (!s.restart || s.position >= kSumFrameBytes)
        s.position = 0;
    if (s.position == 0)
        s.reject = byte != kSumReplyStart;
    if (s.reject) {
        s.position = 0;
        s.restart = true;
        return false;
    }

    s.frame[s.position] = byte;
    if (s.position + 1u < kSumFrameBytes) {
        ++s.position;
        s.restart = true;
        return false;
    }
    std::string_view f = bufferView(s, kSumFrameBytes);
    if (s.frame[0] == kSumReplyStart && sum8(f.substr(0, kSumFrameBytes - 1)) == s.frame[7]) {
        completed_ = true;
        s.position = 0;
    }
    s.restart = true;
    return completed_;
}

std::string_view SumFrameParser::frame() const
{
    return completed_ ? bufferView(state_, kSumFrameBytes) : std::string_view();
}

}  // namespace orlo
