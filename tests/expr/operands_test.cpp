// Operand classification and rendering: every operand kind from its input
// words to its canonical text, the number scanners and the word matches.
#include <gtest/gtest.h>

#include <climits>

#include "expr/names.h"

namespace orlo {
namespace {

// Classification through names() must not see aliases left by other tests.
class Operands : public ::testing::Test {
protected:
    void SetUp() override { names().clear(); }
    void TearDown() override { names().clear(); }
};

struct OperandCase {
    const char* text;
    int kind;
    int index;
    int value;
    const char* rendered;
};

const OperandCase kOperandCases[] = {
    {"12", 1, 0, 12, "12"},
    {"-7", 1, 0, -7, "-7"},
    {"99999999999", 1, 0, INT_MAX, "2147483647"},
    {"整数7", 2, 7, 0, "整数7"},
    {"变量7", 2, 7, 0, "整数7"},
    {"局部整数7", 2, 7, 0, "整数7"},
    {"局部变量7", 2, 7, 0, "整数7"},
    {"整数300", 2, 300, 0, "整数300"},
    {"全局变量3", 3, 3, 0, "全局整数3"},
    {"内部变量300", 3, 300, 0, "全局整数300"},
    {"函数参数300", 4, 44, 0, "函数参数44"},
    {"定时器2", 6, 2, 0, "定时器2"},
    {"全局小数1", 7, 1, 0, "全局浮点数1"},
    {"0x1f", 8, 0, 31, "0X1F"},
    {"0x5", 8, 0, 5, "0X05"},
    {"0X1F4", 8, 0, 500, "0X1F4"},
    {"0x1Fz9", 8, 0, 31, "0X1F"},
    {"0x123456789", 8, 0, -1, "0XFFFFFFFF"},
    {"'A'", 9, 0, 65, "'A'"},
    {"星期", 10, 22, 0, "星期"},
    {"联机开关量", 10, 43, 0, "联机开关量"},
    {"can", 10, 26, 0, "CAN"},
    {"pa", 10, 11, 0, "PA"},
    {"PA300", 11, 44, 0, "PA44"},
    {"ph1", 18, 1, 0, "PH1"},
    {"脉冲计数2", 21, 2, 0, "脉冲计数2"},
    {"1.5", 22, 0, 0, "1.500000"},
    {"-1.5", 22, 0, 0, "-1.500000"},
    {".5", 22, 0, 0, "0.500000"},
    {"小数2", 25, 2, 0, "浮点数2"},
    {"局部浮点数300", 25, 300, 0, "浮点数300"},
    {"udp1", 27, 1, 0, "UDP1"},
    {"TCP256", 28, 0, 0, "TCP0"},
    {"{01 2 ff}", 31, 0, 0, "{01 02 FF}"},
    {"『1 a』", 31, 0, 0, "{01 0A}"},
    {"\"a+b\"", 32, 0, 0, "\"a+b\""},
    {"局部数组3", 33, 3, 0, "数组3"},
    {"全局数组300", 35, 300, 0, "全局数组300"},
    {"数据口257", 36, 1, 0, "数据口1"},
    {"输入300", 37, 300, 0, "输入300"},
    {"输出2", 38, 2, 0, "输出2"},
    {"位变量4", 39, 4, 0, "位变量4"},
    {"CAN1", 40, 1, 0, "CAN1"},
    {"红外1", 41, 1, 0, "红外1"},
    {"遥控发射1", 42, 1, 0, "遥控发射1"},
    {"模拟量输入300", 43, 300, 0, "模拟量输入300"},
    {"iic1", 44, 1, 0, "IIC1"},
    {"SPI1", 45, 1, 0, "SPI1"},
    {"联机开关量2", 47, 2, 0, "联机开关量2"},
    {"编码器1", 48, 1, 0, "编码器1"},
    {"模拟量输出1", 49, 1, 0, "模拟量输出1"},
    {"输入计数器1", 51, 1, 0, "输入计数器1"},
    {"函数5", 59, 5, 0, "函数5"},
    {"输入闭合计数1", 60, 1, 0, "输入闭合计数1"},
    {"输入断开计数1", 61, 1, 0, "输入断开计数1"},
    {"输出闭合计数1", 62, 1, 0, "输出闭合计数1"},
    {"输出断开计数1", 63, 1, 0, "输出断开计数1"},
    {"  整数5\t", 2, 5, 0, "整数5"},
    {"+", 100, '+', 0, ""},
    {"（", 100, '(', 0, ""},
    {"\x81", 100, 0x81, 0, ""},
    {"", 0, 0, 0, ""},
    {"温度", 0, 0, 0, ""},
    {"整数5a", 0, 0, 0, ""},
    {"数组3__1", 0, 0, 0, ""},
    {"数组3_4", 0, 0, 0, ""},
    // The second byte of 皚 is "}": no closing brace.
    {"{01 皚", 0, 0, 0, ""},
};

TEST_F(Operands, EveryKindClassifiesAndRendersCanonically)
{
    for (const OperandCase& c : kOperandCases) {
        SCOPED_TRACE(c.text);
        const OperandToken t = classifyOperand(c.text);
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.index, c.index);
        EXPECT_EQ(t.value, c.value);
        const std::string text = renderOperand(t);
        EXPECT_EQ(text, c.rendered);
        if (text.empty())
            continue;
        // The canonical text classifies back to the same operand.
        const OperandToken again = classifyOperand(text);
        EXPECT_EQ(again.kind, t.kind);
        EXPECT_EQ(again.index, t.index);
        EXPECT_EQ(again.value, t.value);
        EXPECT_EQ(again.bytes, t.bytes);
    }
}

TEST_F(Operands, ArrayElementsKeepSixteenBitsOfEachNumber)
{
    OperandToken t = classifyOperand("数组3_4_1");
    EXPECT_EQ(t.kind, 64);
    EXPECT_EQ(t.scope, 0);
    EXPECT_EQ(t.arrayNo, 3);
    EXPECT_EQ(t.element, 4);
    EXPECT_EQ(t.width, 1);
    EXPECT_EQ(renderOperand(t), "数组3_4_1");

    t = classifyOperand("全局数组70000_2_9");
    EXPECT_EQ(t.kind, 64);
    EXPECT_EQ(t.scope, 1);
    EXPECT_EQ(t.arrayNo, 70000 & 0xFFFF);
    EXPECT_EQ(renderOperand(t), "全局数组4464_2_9");

    t.scope = 2;  // not a scope the byte code defines
    EXPECT_EQ(renderOperand(t), "");
}

TEST_F(Operands, DecimalLiteralIsEightBytesLeastSignificantFirst)
{
    const OperandToken t = classifyOperand("1.5");
    EXPECT_EQ(t.bytes, std::string("\0\0\0\0\0\0\xF8\x3F", 8));
    OperandToken shortBytes = t;
    shortBytes.bytes.resize(7);
    EXPECT_EQ(renderOperand(shortBytes), "");
}

TEST_F(Operands, StringEscapesResolveAndRenderBack)
{
    OperandToken t = classifyOperand("\"a\\nb\\t\\r\\\"\\\\\\q\"");
    EXPECT_EQ(t.kind, 32);
    EXPECT_EQ(t.bytes, "a\nb\t\r\"\\\\q");
    EXPECT_EQ(renderOperand(t), "\"a\\nb\\t\\r\\\"\\\\\\\\q\"");

    EXPECT_EQ(classifyOperand("\"x\\\"").bytes, "x");  // a backslash at the very end is dropped
    t = classifyOperand("\"");
    EXPECT_EQ(t.kind, 32);
    EXPECT_EQ(t.bytes, "");
}

TEST_F(Operands, CharacterLiteralIsASignedByte)
{
    EXPECT_EQ(classifyOperand("'中'").value, -42);  // 中 is D6 D0
    EXPECT_EQ(classifyOperand("'").value, 0);
    OperandToken t;
    t.kind = 9;
    t.value = 0x141;
    EXPECT_EQ(renderOperand(t), "'A'");
}

TEST_F(Operands, AliasesAreReadAndShown)
{
    ASSERT_EQ(names().rename("整数5", "温度"), "");
    OperandToken t = classifyOperand("温度");
    EXPECT_EQ(t.kind, 2);
    EXPECT_EQ(t.index, 5);
    EXPECT_EQ(renderOperand(t), "温度");
    EXPECT_EQ(canonicalText(t), "整数5");
    EXPECT_EQ(renderOperand(classifyOperand("变量5")), "温度");
}

TEST(OperandNumbers, NthIntegerAndNthDecimal)
{
    EXPECT_EQ(nthInteger("数组3_4_5", 1), 3);
    EXPECT_EQ(nthInteger("数组3_4_5", 2), 4);
    EXPECT_EQ(nthInteger("数组3_4_5", 3), 5);
    EXPECT_EQ(nthInteger("数组3_4_5", 4), 0);
    EXPECT_EQ(nthInteger("a-5b", 1), -5);
    EXPECT_EQ(nthInteger("5-3", 2), 3);
    EXPECT_EQ(nthInteger("--", 1), 0);
    EXPECT_EQ(nthInteger("x", 0), 0);
    EXPECT_EQ(nthInteger(std::string(60, '9'), 1), INT_MAX);
    EXPECT_EQ(nthInteger("-" + std::string(60, '9'), 1), INT_MIN);
    EXPECT_EQ(nthInteger("1.5", 2), 5);

    EXPECT_DOUBLE_EQ(nthDecimal("浮点数3 > 0.25", 2), 0.25);
    EXPECT_DOUBLE_EQ(nthDecimal("1.2.3", 1), 1.2);
    EXPECT_DOUBLE_EQ(nthDecimal("x=-.5", 1), -0.5);
    EXPECT_DOUBLE_EQ(nthDecimal("3.", 1), 3.0);
    EXPECT_DOUBLE_EQ(nthDecimal("a", 1), 0.0);
}

TEST(OperandWords, MatchesWordAndElement)
{
    EXPECT_FALSE(matchesWord("整数", "整数"));
    EXPECT_TRUE(matchesWord("整数-", "整数"));
    EXPECT_TRUE(matchesWord("pa5", "PA"));
    EXPECT_FALSE(matchesWord("整数5a", "整数"));
    EXPECT_FALSE(matchesWord("全局整数5", "整数"));

    EXPECT_TRUE(matchesElement("数组1_2_3", "数组"));
    EXPECT_FALSE(matchesElement("数组1_2_3_4", "数组"));
    EXPECT_FALSE(matchesElement("数组1__3", "数组"));
    EXPECT_FALSE(matchesElement("数组1_2_-3", "数组"));
    EXPECT_FALSE(matchesElement("数组_2_3", "数组"));
}

TEST(ResourceKinds, NamesAndCodes)
{
    EXPECT_EQ(kindName(1), "数据口");
    EXPECT_EQ(kindName(94), "批量赋值");
    EXPECT_EQ(kindName(77), "联机开关量");
    EXPECT_EQ(kindName(0), "");
    EXPECT_EQ(kindName(95), "");
    EXPECT_EQ(kindCode("联机开关量"), 43);
    EXPECT_EQ(kindCode("crc16校验"), 61);
    EXPECT_EQ(kindCode("待用"), 0);
    EXPECT_EQ(kindCode(""), 0);
    for (int code = 1; code <= 94; ++code) {
        if (code != 77) {
            EXPECT_EQ(kindCode(kindName(code)), code) << code;
        }
    }
}

TEST(ResourceKinds, UpperLatinLeavesDoubleByteCharactersAlone)
{
    // 0x81 0x61 is one character whose second byte looks like "a".
    EXPECT_EQ(upperLatin("a\x81\x61z"), "A\x81\x61Z");
    EXPECT_EQ(upperLatin("x\x81"), "X\x81");
}

}  // namespace
}  // namespace orlo
