// Assembling reply frames from received bytes, one byte per call:
// FrameParser for CRC replies addressed to deviceAddress, SumFrameParser for
// the 8-byte sum replies. Both work on one shared ReceiveState, the receive
// fields the main window keeps (frame buffer, position, expected length,
// command, reject flag, restart flag).
//
// The restart flag carries the protocol's only notion of "a new reply":
// every request clears it (ReceiveState::requestSent) and every received byte
// sets it again, so the first byte after a request always starts a new frame.
// A frame whose check fails is not dropped: its last byte is replaced by each
// following byte and the check repeated, until one matches or the next
// request restarts assembly. Frames with a wrong address or check never leave
// the parser.
//
// Reply commands other than 0x67, 0x69, 0x6A and 0x6C are undefined. This
// parser assembles them as 8-byte frames, the length of the short replies,
// whatever came before: a stray frame then occupies a fixed, small number of
// bytes, and a frame of such a command that passes its CRC is delivered and
// left to the reply handler to ignore. A length byte L above 250 (a frame
// longer than the 255-byte buffer) is refused: assembly starts over with the
// next byte, which is taken only if it is the device address.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "device/frames.h"

namespace orlo {

struct ReceiveState {
    std::array<std::uint8_t, kMaxFrameBytes> frame{};
    std::uint8_t position = 0;  // where the next byte goes
    std::uint8_t expectedLength = kShortReplyBytes;
    std::uint8_t command = 0;  // of the CRC frame being assembled; 0 between frames
    bool reject = false;       // the frame's first byte was wrong: drop bytes
    bool restart = false;      // clear: the next byte starts a new frame

    // Every request calls this before it is sent.
    void requestSent() { restart = false; }
};

class FrameParser {
public:
    explicit FrameParser(ReceiveState& state) : state_(state) {}

    // Takes one received byte. True when it completed a frame that starts
    // with deviceAddress and whose CRC matches; frame() then holds it until
    // the next call.
    bool feed(std::uint8_t byte, std::uint8_t deviceAddress);
    std::string_view frame() const;

    // The length assumed for a frame of this reply command, given its length
    // byte (only read for 0x67 and 0x69); 0 for a length byte above 250.
    static unsigned frameLength(std::uint8_t command, std::uint8_t lengthByte);

private:
    ReceiveState& state_;
    unsigned completed_ = 0;
};

class SumFrameParser {
public:
    explicit SumFrameParser(ReceiveState& state) : state_(state) {}

    // Takes one received byte. True when it completed an 8-byte frame that
    // starts with 0x22 and whose last byte is the sum of the seven before.
    bool feed(std::uint8_t byte);
    std::string_view frame() const;

private:
    ReceiveState& state_;
    bool completed_ = false;
};

}  // namespace orlo
