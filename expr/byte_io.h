// Bounded reading and writing of expression byte code. The reader never looks
// outside the view it was given: after the first read past the end every read
// returns zero (or an empty view) and ok() stays false, so a decoder runs a
// sequence of reads and tests once. Each multi-byte read names its byte order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlo {

class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::uint8_t u8()
    {
        if (pos_ >= bytes_.size()) {
            ok_ = false;
            return 0;
        }
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::uint16_t u16be()
    {
        const unsigned hi = u8();
        const unsigned lo = u8();
        return static_cast<std::uint16_t>(hi << 8 | lo);
    }
    std::uint16_t u16le()
    {
        const unsigned lo = u8();
        const unsigned hi = u8();
        return static_cast<std::uint16_t>(hi << 8 | lo);
    }
    std::uint32_t u32be()
    {
        const std::uint32_t hi = u16be();
        return hi << 16 | u16be();
    }
    // The next n bytes; an empty view (and ok() false) when fewer remain, in
    // which case nothing is consumed.
    std::string_view take(std::size_t n)
    {
        if (n > remaining()) {
            ok_ = false;
            return std::string_view();
        }
        std::string_view out = bytes_.substr(pos_, n);
        pos_ += n;
        return out;
    }
    // The next byte without consuming it; 0 at the end (not an error).
    std::uint8_t peek() const
    {
        return pos_ < bytes_.size() ? static_cast<std::uint8_t>(bytes_[pos_]) : 0;
    }

    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }
    bool ok() const { return ok_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// Appends bytes to a growing string; values are cut to the width written.
class ByteWriter {
public:
    void u8(unsigned v) { out_ += static_cast<char>(v & 0xFFu); }
    void u16be(unsigned v)
    {
        u8(v >> 8);
        u8(v);
    }
    void u16le(unsigned v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32be(std::uint32_t v)
    {
        u16be(v >> 16);
        u16be(v);
    }
    void bytes(std::string_view b) { out_.append(b.data(), b.size()); }

    std::size_t size() const { return out_.size(); }
    const std::string& data() const { return out_; }

private:
    std::string out_;
};

}  // namespace orlo
