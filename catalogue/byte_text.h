// Small readers of instruction bytes shared by the condition and result
// texts: numbers, decimals, hex and string forms of data bytes, and channel
// masks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orlo {

// The four bytes as an unsigned number, the first byte most significant.
std::uint32_t bigEndian32(const std::uint8_t* bytes);

// The double in fixed-point notation with six decimals, or with as many more
// as reading the text back needs to give exactly this double. Infinities and
// NaN, which no text reads back as, print as "%f" does.
std::string exactDecimalText(double value);

// The numbers i + 1 of the set bits i of the mask, from bit 0 to bit 31,
// separated by one blank: 0x5 gives "1 3"; 0 gives "".
std::string channelMaskText(std::uint32_t mask);

// Each of the n bytes as "%02X ", trimmed at both ends: "01 0A FF".
std::string hexBytesText(const std::uint8_t* bytes, std::size_t n);

// The n bytes as a zero-terminated GBK string: the text ends at the first
// zero byte, or after n bytes.
std::string bytesText(const std::uint8_t* bytes, std::size_t n);

// How many of `count` bytes starting at `offset` lie inside a 256-byte
// instruction. Count bytes inside an instruction can claim more data than it
// holds; readers pass their count through this before reading.
std::size_t fitInInstruction(std::size_t offset, std::size_t count);

}  // namespace orlo
