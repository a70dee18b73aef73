// Readers of instruction bytes and the names of single resources used by the
// result texts: masks, hex and string forms, big-endian numbers, bounds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "catalogue/byte_text.h"
#include "catalogue/resource_names.h"
#include "expr/names.h"

namespace orlo {
namespace {

TEST(ByteText, ChannelMask)
{
    struct Case { std::uint32_t mask; const char* text; };
    const Case cases[] = {
        {0x5, "1 3"},
        {0, ""},
        {0x1, "1"},
        {0x80000000u, "32"},
        {0x80000001u, "1 32"},
        {0x00010100u, "9 17"},
        {0xFFFFFFFFu,
         "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 32"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(channelMaskText(c.mask), c.text) << c.mask;
}

TEST(ByteText, HexBytes)
{
    const std::uint8_t bytes[] = {0x01, 0x0A, 0xFF, 0x00};
    EXPECT_EQ(hexBytesText(bytes, 4), "01 0A FF 00");
    EXPECT_EQ(hexBytesText(bytes, 1), "01");
    EXPECT_EQ(hexBytesText(bytes, 0), "");
}

TEST(ByteText, BytesEndAtTheFirstZero)
{
    const std::uint8_t bytes[] = {'a', 'b', 0, 'c', 0xC4, 0xE3};
    EXPECT_EQ(bytesText(bytes, 6), "ab");
    EXPECT_EQ(bytesText(bytes, 1), "a");
    EXPECT_EQ(bytesText(bytes, 0), "");
    EXPECT_EQ(bytesText(bytes + 3, 3), "c\xC4\xE3");
}

TEST(ByteText, BigEndian32)
{
    const std::uint8_t bytes[] = {0x00, 0x00, 0x05, 0xDC, 0xFF, 0xFF, 0xFF, 0xFE};
    EXPECT_EQ(bigEndian32(bytes), 1500u);
    EXPECT_EQ(bigEndian32(bytes + 4), 0xFFFFFFFEu);
    const std::uint8_t order[] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(bigEndian32(order), 0x12345678u);
}

TEST(ByteText, CountsStayInsideTheInstruction)
{
    EXPECT_EQ(fitInInstruction(4, 10), 10u);
    EXPECT_EQ(fitInInstruction(4, 252), 252u);
    EXPECT_EQ(fitInInstruction(4, 255), 252u);
    EXPECT_EQ(fitInInstruction(255, 2), 1u);
    EXPECT_EQ(fitInInstruction(256, 1), 0u);
    EXPECT_EQ(fitInInstruction(300, 0), 0u);
}

TEST(ResourceNames, AliasesReplaceSystemNames)
{
    names().clear();
    ASSERT_EQ(names().rename("定时器5", "延时"), "");
    ASSERT_EQ(names().rename("数据口32", "末口"), "");
    EXPECT_EQ(timerName(5), "延时");
    EXPECT_EQ(timerName(6), "定时器6");
    EXPECT_EQ(globalIntegerName(7), "全局整数7");
    EXPECT_EQ(inputName(1), "输入1");
    EXPECT_EQ(outputName(2), "输出2");
    EXPECT_EQ(analogInputName(3), "模拟量输入3");
    EXPECT_EQ(bitVariableName(4), "位变量4");
    EXPECT_EQ(dataPortName(33), "数据口33");
    EXPECT_EQ(dataPortChoiceName(32), "末口");
    EXPECT_EQ(dataPortChoiceName(1), "数据口1");
    EXPECT_EQ(dataPortChoiceName(33), "");
    EXPECT_EQ(dataPortChoiceName(200), "");
    names().clear();
}

}  // namespace
}  // namespace orlo
