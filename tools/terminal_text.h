// The debug terminal's text: received bytes waiting for the next display
// update (pending text) and everything shown so far (display text), each
// byte as a character or as hex; the conversions when hex display is
// switched on or off; the bytes a send line stands for; and the 50 ms
// schedule of display updates on the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "device/clock.h"

namespace orlo {

class TerminalText {
public:
    bool hexDisplay() const { return hex_; }
    // Switches hex display and converts the display text to the new form
    // (hexDisplayText / textFromHexDisplay). Pending text keeps its form.
    void setHexDisplay(bool on);

    // A received byte: "%02X " in hex display, else the byte as a character.
    // A zero byte adds nothing to text: an edit box would end its text there
    // and hide everything received after it.
    void receive(std::uint8_t byte);
    // Moves the pending text to the end of the display text. True when there
    // was any.
    bool flush();
    // Takes the pending text out without keeping it (the command line prints
    // it and shows no display text).
    std::string takePending();
    // "清空接收": empties the display text.
    void clearDisplay() { display_.clear(); }

    const std::string& display() const { return display_; }
    const std::string& pending() const { return pending_; }

private:
    bool hex_ = false;
    std::string display_;
    std::string pending_;
};

// Each byte as two lower-case hex digits and a blank: "AB" → "41 42 ".
std::string hexDisplayText(const std::string& text);
// The text trimmed, then one byte from each two hex digits at offsets 0, 3,
// 6, ...; a zero byte adds nothing and a pair that is not two hex digits is
// skipped. "41 42 " → "AB".
std::string textFromHexDisplay(const std::string& text);

// A send line of 1000 characters or more sends nothing.
constexpr std::size_t kLongestSendLine = 999;

// What "发送" of a line sends. With the line's hex flag: the bytes of its hex
// text (parseSendHex) and the line rewritten as "%02X " bytes; otherwise the
// line's characters as they are, with nothing appended. ok is false when
// nothing is to be sent: a line too long, or hex text that yields no bytes
// (the line then stays as the user wrote it).
struct SendLine {
    bool ok = false;
    std::string bytes;
    std::string rewritten;  // the line's new text (hex lines), else the line
    bool badHex = false;    // a hex line whose text is not hex bytes
};
SendLine sendLineBytes(const std::string& line, bool hex);

// The length of the longest start of text that ends on a whole GBK
// character: a lead byte whose trail byte has not come yet is left over.
std::size_t completeGbkLength(std::string_view text);

// The display update period of the terminal.
constexpr unsigned kTerminalFlushMs = 50;

// Display updates on the command line: due once every period, measured on
// an injected clock, however often it is asked.
class FlushSchedule {
public:
    explicit FlushSchedule(Clock& clock, unsigned periodMs = kTerminalFlushMs);
    // True when a period has passed since the last update; the next period
    // starts now.
    bool due();
    // Milliseconds until the next update is due (0 when it is).
    unsigned msUntilDue();

private:
    Clock& clock_;
    unsigned periodMs_;
    std::uint64_t last_;
};

}  // namespace orlo
