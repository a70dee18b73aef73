// The debug terminal's text: received bytes as text or hex, the conversions
// when hex display is switched, send lines, GBK boundaries and the 50 ms
// update schedule on a fake clock.
#include <gtest/gtest.h>

#include <random>

#include "tools/terminal_text.h"

namespace orlo {
namespace {

TEST(TerminalText, ReceivedBytesWaitForTheNextFlush)
{
    struct Case {
        bool hex;
        std::string received;
        const char* shown;
    };
    const Case cases[] = {
        {true, "\x01\xAB", "01 AB "},
        {true, std::string("\0", 1), "00 "},
        {false, "AB\r\n", "AB\r\n"},
        {false, std::string("A\0B", 3), "AB"},  // a zero byte would end the edit box's text
        {false, "\xD6\xD0", "\xD6\xD0"},        // GBK bytes stay as they are
    };
    for (const Case& c : cases) {
        TerminalText t;
        t.setHexDisplay(c.hex);
        for (char b : c.received)
            t.receive(static_cast<std::uint8_t>(b));
        EXPECT_EQ(t.display(), "");
        EXPECT_TRUE(t.flush());
        EXPECT_EQ(t.display(), c.shown);
        EXPECT_EQ(t.pending(), "");
        EXPECT_FALSE(t.flush());
    }
}

TEST(TerminalText, SwitchingHexDisplayConvertsWhatIsShown)
{
    TerminalText t;
    t.receive('A');
    t.receive('B');
    t.flush();
    t.setHexDisplay(true);
    EXPECT_EQ(t.display(), "41 42 ");
    t.receive(0xAB);
    t.flush();
    EXPECT_EQ(t.display(), "41 42 AB ");
    t.setHexDisplay(false);
    EXPECT_EQ(t.display(), "AB\xAB");
    t.setHexDisplay(false);  // no change, no conversion
    EXPECT_EQ(t.display(), "AB\xAB");
    t.clearDisplay();
    t.setHexDisplay(true);
    EXPECT_EQ(t.display(), "");
}

TEST(TerminalText, Conversions)
{
    struct Case {
        std::string text, hex;
    };
    const Case cases[] = {
        {"AB", "41 42 "},
        {"\xFF\x80\x01", "ff 80 01 "},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hexDisplayText(c.text), c.hex) << c.text;

    struct Back {
        std::string hex, text;
    };
    const Back back[] = {
        {"41 42 ", "AB"},
        {"  41 42", "AB"},           // trimmed first
        {"41 00 42 ", "AB"},         // a zero byte adds nothing
        {"41 zz 42", "AB"},          // a pair that is not hex is skipped
        {"4", ""},                   // half a pair
        {"Ab cD", "\xAB\xCD"},
    };
    for (const Back& b : back)
        EXPECT_EQ(textFromHexDisplay(b.hex), b.text) << b.hex;
}

TEST(TerminalText, RoundTripOverGeneratedBytesOfEveryLength)
{
    // Long displays convert too: a display of 1024 characters or more is
    // not thrown away when hex display is switched off.
    std::mt19937 random(7);
    for (std::size_t length : {1u, 2u, 341u, 342u, 1000u, 5000u}) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>(1 + random() % 255);
        EXPECT_EQ(textFromHexDisplay(hexDisplayText(text)), text) << length;
    }
}

TEST(TerminalText, SendLines)
{
    struct Case {
        std::string line;
        bool hex, ok;
        std::string bytes, rewritten;
    };
    const Case cases[] = {
        {"1 2 ff", true, true, "\x01\x02\xFF", "01 02 FF"},
        {"hello", false, true, "hello", "hello"},       // no line ending added
        {"1 2 ff", false, true, "1 2 ff", "1 2 ff"},
        {"", false, false, "", ""},
        {"", true, false, "", ""},
        {"hello", true, false, "", "hello"},            // not hex: nothing, the line stays
        {std::string(999, 'x'), false, true, std::string(999, 'x'), std::string(999, 'x')},
        {std::string(1000, 'x'), false, false, "", ""}, // 1000 characters or more
    };
    for (const Case& c : cases) {
        SendLine s = sendLineBytes(c.line, c.hex);
        EXPECT_EQ(s.ok, c.ok) << c.line.substr(0, 20);
        EXPECT_EQ(s.bytes, c.bytes) << c.line.substr(0, 20);
        if (s.ok || !c.rewritten.empty()) {
            EXPECT_EQ(s.rewritten, c.rewritten) << c.line.substr(0, 20);
        }
    }
}

TEST(TerminalText, CompleteGbkLength)
{
    struct Case {
        std::string text;
        std::size_t length;
    };
    const Case cases[] = {
        {"", 0},
        {"ab", 2},
        {"a\xD6", 1},            // a lead byte waits for its trail byte
        {"\xD6\xD0", 2},
        {"\xD6\xD0\xB9", 2},
        {"\xD6\xD0" "a", 3},
        {"\xD6\x41", 2},         // a trail byte may be ASCII
        {"\x80\xFE", 1},        // 0x80 stands alone; 0xFE leads
    };
    for (const Case& c : cases)
        EXPECT_EQ(completeGbkLength(c.text), c.length);
}

// Time moves only when someone sleeps on it.
class StepClock final : public Clock {
public:
    std::uint64_t nowMs() override { return now; }
    void sleepMs(unsigned ms) override { now += ms; }
    std::uint64_t now = 5000;
};

TEST(TerminalText, FlushScheduleIsDueOncePerPeriod)
{
    StepClock clock;
    FlushSchedule schedule(clock);
    EXPECT_FALSE(schedule.due());
    EXPECT_EQ(schedule.msUntilDue(), 50u);
    clock.sleepMs(49);
    EXPECT_FALSE(schedule.due());
    EXPECT_EQ(schedule.msUntilDue(), 1u);
    clock.sleepMs(1);
    EXPECT_EQ(schedule.msUntilDue(), 0u);
    EXPECT_TRUE(schedule.due());
    EXPECT_FALSE(schedule.due());  // asked again in the same period
    clock.sleepMs(500);            // a long pause is one update, not ten
    EXPECT_TRUE(schedule.due());
    EXPECT_FALSE(schedule.due());
}

}  // namespace
}  // namespace orlo
