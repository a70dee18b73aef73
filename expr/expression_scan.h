// Walking formula text the way the compiler reads it: one unit at a time,
// where a unit is a double-byte GBK character, a shift operator "<<" or ">>",
// or a single byte, and each unit knows whether it lies in a double-quoted
// string. Every search of the formula parsers goes through it, so none of
// them can match half a Chinese character or the inside of a string.

// Why units and not bytes: either byte of a GBK character may be 0x81 or
// 0x82, the internal shift bytes, as in aliases such as "剛" (84 82) or "亖"
// (81 81); its second byte may also be "[", "]", "^", "|" or "\". Scanning
// bytes would cut such a name in two and silently drop it.
#pragma once

#include <cstddef>
#include <string>

namespace orlo {

class TextWalker {
public:
    // The text must outlive the walker.
    explicit TextWalker(const std::string& text);

    bool done() const { return pos_ >= text_.size(); }
    std::size_t pos() const { return pos_; }
    // Bytes of the current unit: 2 for a double-byte character or a shift
    // operator outside strings, else 1.
    std::size_t length() const { return length_; }
    // The first byte of the current unit.
    char byte() const { return text_[pos_]; }
    // The unit is a single byte (not a character's pair, not a shift).
    bool single() const { return length_ == 1; }
    // The unit belongs to a double-quoted string, its two quotes included. A
    // double quote preceded by an odd number of backslashes does not open or
    // close a string.
    bool quoted() const { return quoted_; }
    // "<<" or ">>" outside strings.
    bool shift() const { return shift_; }
    // A single byte outside strings: where operators and separators stand.
    bool plain() const { return single() && !quoted_; }

    void next();

private:
    void settle();

    const std::string& text_;
    std::size_t pos_ = 0;
    std::size_t length_ = 0;
    bool inString_ = false;
    bool togglesString_ = false;
    bool quoted_ = false;
    bool shift_ = false;
    std::size_t backslashes_ = 0;
};

// The position of the first occurrence of the needle that starts at a unit
// outside strings and not at a shift operator; std::string::npos when none.
std::size_t findOutsideStrings(const std::string& text, const std::string& needle);

// The text without the occurrences findOutsideStrings would find.
std::string removeOutsideStrings(const std::string& text, const std::string& needle);

}  // namespace orlo
