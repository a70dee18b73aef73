// The frames of the device protocol: requests with CRC (read block 0x67,
// query 0x69, data block 0x6A, setting 0x6C), the 8-byte address frames that
// start with 0x55, the controller's CRC replies and the 8-byte sum replies
// that start with 0x22. Pure builders and a bounded view of a reply; the
// simulated controller builds its replies with the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orlo {

// Command bytes of CRC frames (requests and replies alike).
constexpr std::uint8_t kReadBlockCommand = 0x67;
constexpr std::uint8_t kQueryCommand = 0x69;
constexpr std::uint8_t kDataBlockCommand = 0x6A;
constexpr std::uint8_t kSettingCommand = 0x6C;

// Address frames (requests without CRC) and sum replies.
constexpr std::uint8_t kAddressFrameStart = 0x55;
constexpr std::uint8_t kSumReplyStart = 0x22;
constexpr std::uint8_t kBroadcastTarget = 0xF5;      // the one module on the line
constexpr std::uint8_t kReadAddressFunction = 0x40;  // also the function byte of its reply
constexpr std::uint8_t kWriteAddressFunction = 0x41;
constexpr std::size_t kSumFrameBytes = 8;

// The query codes (A of a 0x69 request) and setting codes (A of 0x6C).
constexpr std::uint16_t kQueryClock = 0;
constexpr std::uint16_t kQueryRadioRemote = 1;
constexpr std::uint16_t kQueryInfraredRemote = 2;
constexpr std::uint16_t kQueryUniversalInfrared = 3;
constexpr std::uint16_t kQueryHardwareInfo = 100;
constexpr std::uint16_t kQueryFirmwareLoader = 101;
constexpr std::uint16_t kQueryHardwareInfo2 = 102;
constexpr std::uint16_t kSettingClock = 0;
// P of a 0x67 request: start reading the program, or send the next block.
constexpr std::uint16_t kReadFirstBlock = 0;
constexpr std::uint16_t kReadNextBlock = 1;

// Reply forms. 0x67 and 0x69 replies carry L data bytes (L + 5 in all);
// 0x6A and 0x6C replies are 8 bytes. The receive buffer holds 255 bytes, so
// L is at most 250.
constexpr std::size_t kMaxFrameBytes = 255;
constexpr std::size_t kShortReplyBytes = 8;
constexpr std::size_t kReplyOverheadBytes = 5;  // address, command, L, CRC low, CRC high
constexpr std::size_t kMaxReplyData = kMaxFrameBytes - kReplyOverheadBytes;
// The most data bytes a 0x6A or 0x6C request carries (N is one byte).
constexpr std::size_t kMaxRequestData = 255;

// True for the reply commands that carry a length byte (0x67, 0x69).
bool carriesLength(std::uint8_t command);

// The low 8 bits of the sum of the bytes.
std::uint8_t sum8(std::string_view bytes);
// Appends crc16 of the frame so far, low byte first, then high.
void appendCrc(std::string& frame);
// True when the frame is at least 2 bytes long and its last two bytes are the
// crc16 of the bytes before them (low byte first).
bool crcMatches(std::string_view frame);

// Requests. Every number is sent high byte first, the CRC low byte first.
// address, 0x67, P, 00 00, CRC.
std::string readBlockFrame(std::uint8_t address, std::uint16_t p);
// address, 0x69, A, B, CRC.
std::string requestFrame(std::uint8_t address, std::uint16_t a, std::uint16_t b);
// address, 0x6A, A, B, N, N data bytes, CRC. At most kMaxRequestData bytes
// of data are taken.
std::string blockFrame(std::uint8_t address, std::uint16_t a, std::uint16_t b,
                       std::string_view data);
// address, 0x6C, A, N (two bytes), N low again, N data bytes, CRC. At most
// kMaxRequestData bytes of data are taken.
std::string settingFrame(std::uint8_t address, std::uint16_t a, std::string_view data);
// 0x55, target, function, value (four bytes), sum of the seven before.
std::string addressFrame(std::uint8_t target, std::uint8_t function, std::uint32_t value);

// Replies, as the controller sends them.
// address, command (0x67 or 0x69), L, L data bytes, CRC. At most
// kMaxReplyData bytes of data are taken.
std::string dataReply(std::uint8_t address, std::uint8_t command, std::string_view data);
// address, command (0x6A or 0x6C), A, B, CRC.
std::string shortReply(std::uint8_t address, std::uint8_t command, std::uint16_t a,
                       std::uint16_t b);
// 0x22, module address, function, value (four bytes), sum.
std::string sumReply(std::uint8_t module, std::uint8_t function, std::uint32_t value);

// A complete reply frame as a parser delivered it. Every accessor stays
// inside the frame: a byte past its end reads as 0.
class ReplyFrame {
public:
    explicit ReplyFrame(std::string_view bytes) : bytes_(bytes) {}

    std::string_view bytes() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t byteAt(std::size_t i) const
    {
        return i < bytes_.size() ? static_cast<std::uint8_t>(bytes_[i]) : 0;
    }
    std::uint8_t address() const { return byteAt(0); }
    std::uint8_t command() const { return byteAt(1); }

    // CRC replies with a length byte: L as sent (frame byte 2) ...
    std::uint8_t lengthByte() const { return byteAt(2); }
    // ... and the data bytes that the frame really holds: L of them, fewer
    // when the frame is shorter than L + 5.
    std::string_view data() const;
    // Data byte i (frame byte 3 + i); 0 past the data.
    std::uint8_t dataByte(std::size_t i) const;
    // Data bytes i, i + 1 (high byte first) and i .. i + 3.
    std::uint16_t dataU16(std::size_t i) const;
    std::uint32_t dataU32(std::size_t i) const;

    // Short replies (0x6A, 0x6C): A at frame bytes 2-3, B at 4-5.
    std::uint16_t fieldA() const;
    std::uint16_t fieldB() const;

    // Sum replies: frame bytes 3-6 as one value, high byte first.
    std::uint32_t sumValue() const;

private:
    std::string_view bytes_;
};

}  // namespace orlo
