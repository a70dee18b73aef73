// The two text rules shared by the expression parsers: full-width punctuation
// normalisation (strings and double-byte characters left alone) and hex lists.
#include <gtest/gtest.h>

#include "expr/fullwidth.h"
#include "expr/hexlist.h"

namespace orlo {
namespace {

TEST(FullWidth, PunctuationOutsideStringsBecomesAscii)
{
    EXPECT_EQ(normaliseFullWidth("整数1，整数2【3】（4）×5》6《7『8』；"), "整数1,整数2[3](4)*5>6<7{8};");
    EXPECT_EQ(normaliseFullWidth(""), "");
}

TEST(FullWidth, StringsAreLeftAlone)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"\"，\"，", "\"，\","},
        {"\"a\\\"，\"，", "\"a\\\"，\","},  // an escaped quote does not close
        {"\"a\\\\\"，", "\"a\\\\\","},     // an escaped backslash does not escape
        {"\"（", "\"（"},                   // an unclosed string runs to the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(normaliseFullWidth(c.in), c.out) << c.in;
}

TEST(FullWidth, DoubleByteCharactersAreSteppedOverWhole)
{
    // 啊京 is B0 A1 BE A9: the middle bytes A1 BE are 【 read across two characters.
    ASSERT_EQ(std::string("啊京"), "\xB0\xA1\xBE\xA9");
    EXPECT_EQ(normaliseFullWidth("啊京"), "啊京");
    // The same with a first character whose lead byte is below 0xA0.
    EXPECT_EQ(normaliseFullWidth("\x81\xA1\xBE\xA9（"), "\x81\xA1\xBE\xA9(");
    // 昞 is 95 5C: its second byte is not a backslash, so the quote after it closes.
    ASSERT_EQ(std::string("昞"), "\x95\x5C");
    EXPECT_EQ(normaliseFullWidth("\"昞\"，"), "\"昞\",");
    // A lead byte at the very end, or before a byte that cannot follow it.
    EXPECT_EQ(normaliseFullWidth("a\xA3"), "a\xA3");
    EXPECT_EQ(normaliseFullWidth("\xA3\"，\""), "\xA3\"，\"");
}

TEST(HexList, GroupsBecomeLowBytes)
{
    struct Case {
        const char* in;
        std::string out;
    };
    const Case cases[] = {
        {"01 02 FF", std::string("\x01\x02\xFF")},
        {" 1  a\tff ", std::string("\x01\x0A\xFF")},
        {"100 0x1F 1fz", std::string("\x00\x1F\x1F", 3)},
        {"-1 zz", std::string("\xFF\x00", 2)},
        {"000000001", std::string("\x01")},
        {"0000000001", std::string()},       // a group of 10 characters spoils all
        {"01 0123456789", std::string()},
        {"", std::string()},
        {"   ", std::string()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hexListToBytes(c.in), c.out) << c.in;
}

TEST(HexList, LimitsOnBytesAndText)
{
    std::string groups;
    for (int i = 0; i < 201; ++i)
        groups += "7 ";
    EXPECT_EQ(hexListToBytes(groups), std::string(200, '\x07'));
    // Groups after the 200th are not read at all.
    EXPECT_EQ(hexListToBytes(groups.substr(0, 400) + "0123456789"), std::string(200, '\x07'));

    // With its two added blanks the text must stay below 500 bytes.
    EXPECT_EQ(hexListToBytes("1" + std::string(495, ' ') + "2"), "\x01\x02");
    EXPECT_EQ(hexListToBytes("1" + std::string(496, ' ') + "2"), "");
    EXPECT_EQ(hexListToBytes("  1" + std::string(495, ' ') + "2  "), "\x01\x02");  // outer blanks trimmed
}

}  // namespace
}  // namespace orlo
