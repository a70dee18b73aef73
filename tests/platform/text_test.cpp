// Text at the edges: GBK to and from UTF-8 and UTF-16, the hex text form.
#include <gtest/gtest.h>

#include "platform/strings.h"
#include "platform/text.h"

namespace orlo {
namespace {

TEST(Text, GbkLiteralsRoundTripThroughUtf8AndUtf16)
{
    const std::string gbk = "确认要删除吗？";  // compiled to GBK bytes
    ASSERT_EQ(gbk.size(), 14u);                // seven double-byte characters
    EXPECT_EQ(static_cast<unsigned char>(gbk[0]), 0xC8);
    EXPECT_EQ(gbkToUtf8(gbk), u8"确认要删除吗？");
    EXPECT_EQ(utf8ToGbk(u8"确认要删除吗？"), gbk);
    std::u16string wide = gbkToUtf16(gbk);
    EXPECT_EQ(wide, u"确认要删除吗？");
    EXPECT_EQ(utf16ToGbk(wide), gbk);
}

TEST(Text, DamagedInputIsReplacedNotDropped)
{
    // A lead byte with nothing after it, in the middle and at the end.
    std::string damaged = std::string("A\x81") + " B" + "\xB0";
    std::string utf8 = gbkToUtf8(damaged);
    EXPECT_EQ(utf8.front(), 'A');
    EXPECT_NE(utf8.find('B'), std::string::npos);
    EXPECT_FALSE(gbkToUtf16(damaged).empty());
    // A character GBK does not have.
    EXPECT_EQ(utf8ToGbk(u8"a\u00e9b").front(), 'a');
    EXPECT_EQ(utf8ToGbk(u8"a\u00e9b").back(), 'b');
}

// Text a user gives is stored exactly or refused at its first character that
// GBK has not; the message names that character.
TEST(Text, ExactConversionRefusesWhatGbkHasNot)
{
    const struct {
        std::string utf8;
        std::size_t badAt;  // npos: converts
        const char* named;
    } cases[] = {
        {u8"整数1 = \"确认\"", std::string::npos, ""},
        {"", std::string::npos, ""},
        {u8"ab\U0001F600c", 2, u8"the character '\U0001F600' (U+1F600) has no GBK form"},
        {u8"\uD55C\uAE00", 0, u8"the character '\uD55C' (U+D55C) has no GBK form"},
        {u8"x\u0085", 1, "the character (U+0085) has no GBK form"},
        {"ab\xFF", 2, "the byte 0xFF is not UTF-8"},
        {"\xC0\x80", 0, "the byte 0xC0 is not UTF-8"},       // overlong NUL
        {"\xED\xA0\x80", 0, "the byte 0xED is not UTF-8"},  // a surrogate
        {"\xE7\xA1", 0, "the byte 0xE7 is not UTF-8"},       // cut short
    };
    for (const auto& c : cases) {
        std::string gbk;
        std::size_t bad = 99;
        const bool ok = utf8ToGbkExact(c.utf8, gbk, bad);
        EXPECT_EQ(ok, c.badAt == std::string::npos) << c.utf8;
        if (ok) {
            EXPECT_EQ(gbk, utf8ToGbk(c.utf8)) << c.utf8;
        } else {
            EXPECT_EQ(bad, c.badAt) << c.utf8;
            EXPECT_EQ(describeRefusedText(c.utf8, bad), c.named);
        }
    }
}

TEST(Strings, HexTextAndTrim)
{
    EXPECT_EQ(hexText(std::string("\x37\x4B\x00\xFF", 4)), "37 4B 00 FF");
    EXPECT_EQ(hexText(std::string()), "");
    std::string bytes;
    ASSERT_TRUE(parseHexText(" 31 32 0a ", bytes));
    EXPECT_EQ(bytes, "12\n");
    ASSERT_TRUE(parseHexText("374B", bytes));
    EXPECT_EQ(bytes, "\x37\x4B");
    EXPECT_FALSE(parseHexText("3G", bytes));
    ASSERT_TRUE(parseHexText("1 2 0304", bytes));
    EXPECT_EQ(bytes, "\x01\x02\x03\x04");
    for (const char* odd : {"01020", "012 34", "1 234"})
        EXPECT_FALSE(parseHexText(odd, bytes)) << odd;
    EXPECT_EQ(trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(trim("   "), "");
}

}  // namespace
}  // namespace orlo
