// The debug terminal's text conversions and send lines (see terminal_text.h).
#include "tools/terminal_text.h"

#include "platform/strings.h"
#include "tools/relay_frames.h"

namespace orlo {

void TerminalText::setHexDisplay(bool on)
{
    if (on == hex_)
        return;
    hex_ = on;
    if (!display_.empty())
        display_ = on ? hexDisplayText(display_) : textFromHexDisplay(display_);
}

void TerminalText::receive(std::uint8_t byte)
{
    if (hex_)
        pending_ += format("%02X ", unsigned{byte});
    else if (byte != 0)
        pending_ += static_cast<char>(byte);
}

bool TerminalText::flush()
{
    if (pending_.empty())
        return false;
    display_ += pending_;
    pending_.clear();
    return true;
}

std::string TerminalText::takePending()
{
    std::string out;
    out.swap(pending_);
    return out;
}

std::string hexDisplayText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text)
        out += format("%02x ", unsigned{static_cast<unsigned char>(c)});
    return out;
}

std::string textFromHexDisplay(const std::string& text)
{
    // Every length is converted: dropping a long display would lose what
    // was received.
    const std::string t = trim(text);
    std::string out;
    for (std::size_t i = 0; i + 1 < t.size(); i += 3) {
        const int hi = hexDigit(t[i]);
        const int lo = hexDigit(t[i + 1]);
        if (hi < 0 || lo < 0)
            continue;
        const int byte = hi * 16 + lo;
        if (byte != 0)
            out += static_cast<char>(byte);
    }
    return out;
}

SendLine sendLineBytes(const std::string& line, bool hex)
{
    SendLine out;
    if (line.size() > kLongestSendLine)
        return out;
    if (!hex) {
        out.ok = !line.empty();
        out.bytes = line;
        out.rewritten = line;
        return out;
    }
    const bool parsed = parseSendHex(line, out.bytes);
    if (!parsed || out.bytes.empty()) {
        out.badHex = !parsed;
        out.bytes.clear();
        out.rewritten = line;
        return out;
    }
    out.ok = true;
    out.rewritten = hexText(out.bytes);
    return out;
}

std::size_t completeGbkLength(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x81 && c <= 0xFE) {
            if (i + 1 >= text.size())
                return i;
            i += 2;
        } else {
            i += 1;
        }
    }
    return text.size();
}

FlushSchedule::FlushSchedule(Clock& clock, unsigned periodMs)
    : clock_(clock), periodMs_(periodMs), last_(clock.nowMs())
{
}

bool FlushSchedule::due()
{
    const std::uint64_t now = clock_.nowMs();
    if (now - last_ < periodMs_)
        return false;
    last_ = now;
    return true;
}

unsigned FlushSchedule::msUntilDue()
{
    const std::uint64_t elapsed = clock_.nowMs() - last_;
    return elapsed >= periodMs_ ? 0u : static_cast<unsigned>(periodMs_ - elapsed);
}

}  // namespace orlo
