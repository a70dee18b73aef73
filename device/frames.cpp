// Building device frames and reading reply fields (see frames.h).
#include "device/frames.h"

#include <algorithm>

#include "expr/byte_io.h"
#include "model/crc16.h"

namespace orlo {

bool carriesLength(std::uint8_t command)
{
    return command == kReadBlockCommand || command == kQueryCommand;
}

std::uint8_t sum8(std::string_view bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<std::uint8_t>(c);
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

void appendCrc(std::string& frame)
{
    Crc16 c = crc16(frame);
    frame += static_cast<char>(c.hi);  // the low byte of the CRC value
    frame += static_cast<char>(c.lo);
}

bool crcMatches(std::string_view frame)
{
    if (frame.size() < 2)
        return false;
    Crc16 c = crc16(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size() - 2);
    return static_cast<std::uint8_t>(frame[frame.size() - 2]) == c.hi &&
           static_cast<std::uint8_t>(frame[frame.size() - 1]) == c.lo;
}

namespace {

std::string withCrc(const ByteWriter& w)
{
    std::string frame = w.data();
    appendCrc(frame);
    return frame;
}

std::string_view capped(std::string_view data, std::size_t most)
{
    return data.substr(0, std::min(data.size(), most));
}

}  // namespace

std::string readBlockFrame(std::uint8_t address, std::uint16_t p)
{
    ByteWriter w;
    w.u8(address);
    w.u8(kReadBlockCommand);
    w.u16be(p);
    w.u16be(0);
    return withCrc(w);
}

std::string requestFrame(std::uint8_t address, std::uint16_t a, std::uint16_t b)
{
    ByteWriter w;
    w.u8(address);
    w.u8(kQueryCommand);
    w.u16be(a);
    w.u16be(b);
    return withCrc(w);
}

std::string blockFrame(std::uint8_t address, std::uint16_t a, std::uint16_t b,
                       std::string_view data)
{
    data = capped(data, kMaxRequestData);
    ByteWriter w;
    w.u8(address);
    w.u8(kDataBlockCommand);
    w.u16be(a);
    w.u16be(b);
    w.u8(static_cast<unsigned>(data.size()));
    w.bytes(data);
    return withCrc(w);
}

std::string settingFrame(std::uint8_t address, std::uint16_t a, std::string_view data)
{
    data = capped(data, kMaxRequestData);
    ByteWriter w;
    w.u8(address);
    w.u8(kSettingCommand);
    w.u16be(a);
    w.u16be(static_cast<unsigned>(data.size()));
    w.u8(static_cast<unsigned>(data.size()));  // the controller reads N from this byte
    w.bytes(data);
    return withCrc(w);
}

std::string addressFrame(std::uint8_t target, std::uint8_t function, std::uint32_t value)
{
    ByteWriter w;
    w.u8(kAddressFrameStart);
    w.u8(target);
    w.u8(function);
    w.u32be(value);
    std::string frame = w.data();
    frame += static_cast<char>(sum8(frame));
    return frame;
}

std::string dataReply(std::uint8_t address, std::uint8_t command, std::string_view data)
{
    data = capped(data, kMaxReplyData);
    ByteWriter w;
    w.u8(address);
    w.u8(command);
    w.u8(static_cast<unsigned>(data.size()));
    w.bytes(data);
    return withCrc(w);
}

std::string shortReply(std::uint8_t address, std::uint8_t command, std::uint16_t a,
                       std::uint16_t b)
{
    ByteWriter w;
    w.u8(address);
    w.u8(command);
    w.u16be(a);
    w.u16be(b);
    return withCrc(w);
}

std::string sumReply(std::uint8_t module, std::uint8_t function, std::uint32_t value)
{
    ByteWriter w;
    w.u8(kSumReplyStart);
    w.u8(module);
    w.u8(function);
    w.u32be(value);
    std::string frame = w.data();
    frame += static_cast<char>(sum8(frame));
    return frame;
}

std::string_view ReplyFrame::data() const
{
    if (bytes_.size() <= 3)
        return std::string_view();
    std::size_t held = bytes_.size() >= kReplyOverheadBytes ? bytes_.size() - kReplyOverheadBytes
                                                            : 0;
    return bytes_.substr(3, std::min<std::size_t>(lengthByte(), held));
}

std::uint8_t ReplyFrame::dataByte(std::size_t i) const
{
    std::string_view d = data();
    return i < d.size() ? static_cast<std::uint8_t>(d[i]) : 0;
}

std::uint16_t ReplyFrame::dataU16(std::size_t i) const
{
    return static_cast<std::uint16_t>(dataByte(i) << 8 | dataByte(i + 1));
}

std::uint32_t ReplyFrame::dataU32(std::size_t i) const
{
    return static_cast<std::uint32_t>(dataU16(i)) << 16 | dataU16(i + 2);
}

std::uint16_t ReplyFrame::fieldA() const
{
    return static_cast<std::uint16_t>(byteAt(2) << 8 | byteAt(3));
}

std::uint16_t ReplyFrame::fieldB() const
{
    return static_cast<std::uint16_t>(byteAt(4) << 8 | byteAt(5));
}

std::uint32_t ReplyFrame::sumValue() const
{
    return static_cast<std::uint32_t>(byteAt(3)) << 24 | static_cast<std::uint32_t>(byteAt(4)) << 16 |
           static_cast<std::uint32_t>(byteAt(5)) << 8 | byteAt(6);
}

}  // namespace orlo
