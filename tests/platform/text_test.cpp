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
    EXPECT_EQ(trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(trim("   "), "");
}

}  // namespace
}  // namespace orlo
