// Result param3 encoding: for every kind family the bytes written (position,
// width, byte order, sign) and the bytes left alone, the channel-list rule
// and its message, hex checks, string and byte code limits, the kind 27 and
// 29 forms, and what the editor's kind change and suggestion pick store.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/result_encoding.h"
#include "expr/expression.h"
#include "expr/expression_forms.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using Instruction = std::array<std::uint8_t, 256>;
constexpr std::uint8_t kUntouched = 0xEE;

// A line whose param3 bytes all hold kUntouched, so a test sees every byte
// the encoder writes and every byte it leaves.
Instruction line(int kind, int param1, int param2)
{
    Instruction ins;
    ins.fill(kUntouched);
    ins[0] = static_cast<std::uint8_t>(kind);
    ins[1] = static_cast<std::uint8_t>(param1);
    ins[2] = static_cast<std::uint8_t>(param2);
    return ins;
}

// Param3 bytes 0 .. n-1 as hex.
std::string param3Hex(const Instruction& ins, std::size_t n = 12)
{
    return hexText(ins.data() + 3, n);
}

std::string encoded(int kind, int param1, int param2, const std::string& text, std::size_t n = 12)
{
    Instruction ins = line(kind, param1, param2);
    encodeResultParam3(text, ins.data());
    return param3Hex(ins, n);
}

struct Case {
    int kind, param1, param2;
    const char* text;
    const char* param3;  // the first 12 param3 bytes; EE is a byte left alone
};

void expectCases(const Case* cases, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        const Case& c = cases[i];
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(encoded(c.kind, c.param1, c.param2, c.text), c.param3)
            << "kind " << c.kind << "/" << c.param1 << "/" << c.param2 << " text " << c.text;
        EXPECT_TRUE(fake.messages.empty()) << "kind " << c.kind << " text " << c.text;
    }
}

TEST(ResultEncoding, OutputAndBitOperationsByParam1)
{
    const Case cases[] = {
        {1, 4, 3, "500", "00 00 01 F4 EE EE EE EE EE EE EE EE"},
        {1, 11, 1, "-2", "FF FF FF FE EE EE EE EE EE EE EE EE"},
        {1, 17, 1, "  +70000x", "00 01 11 70 EE EE EE EE EE EE EE EE"},
        {1, 12, 1, "4294967295", "FF FF FF FF EE EE EE EE EE EE EE EE"},
        {1, 12, 1, "99999999999", "FF FF FF FF EE EE EE EE EE EE EE EE"},
        {1, 12, 1, "-99999999999", "80 00 00 00 EE EE EE EE EE EE EE EE"},
        {1, 12, 1, "x500", "00 00 00 00 EE EE EE EE EE EE EE EE"},
        {1, 5, 1, "1 2 3 32", "80 00 00 07 EE EE EE EE EE EE EE EE"},
        {1, 7, 1, "1 3 8", "00 00 00 85 EE EE EE EE EE EE EE EE"},
        {1, 18, 2, "=联机开量 地址7第300路", "EE EE 07 2C EE EE EE EE EE EE EE EE"},
        {1, 19, 2, "=输出9", "EE EE EE 09 EE EE EE EE EE EE EE EE"},
        {1, 21, 2, "=位变量200", "EE EE EE C8 EE EE EE EE EE EE EE EE"},
        {1, 22, 1, "第1路 到 第8路 间隔1000毫秒", "01 08 03 E8 EE EE EE EE EE EE EE EE"},
        {1, 23, 1, "2 3 70000", "02 03 11 70 EE EE EE EE EE EE EE EE"},
        {1, 1, 3, "500", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {1, 24, 3, "500", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {3, 4, 1, "4294967294", "FF FF FF FE EE EE EE EE EE EE EE EE"},
        {3, 18, 1, "地址7第9路", "EE EE 07 09 EE EE EE EE EE EE EE EE"},
        {3, 20, 1, "=输入4", "EE EE EE 04 EE EE EE EE EE EE EE EE"},
        {3, 22, 1, "=全局整数5 BIT7", "EE EE 05 07 EE EE EE EE EE EE EE EE"},
        {3, 23, 1, "=整数5 BIT7", "EE EE 05 07 EE EE EE EE EE EE EE EE"},
        // Kind 3 takes no mask from the text.
        {3, 5, 1, "1 2", "EE EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, GlobalIntegerOperationsByParam2)
{
    const Case cases[] = {
        {4, 2, 1, "-1", "FF FF FF FF EE EE EE EE EE EE EE EE"},
        {4, 2, 0, "12", "00 00 00 0C EE EE EE EE EE EE EE EE"},
        {4, 2, 41, "2147483648", "80 00 00 00 EE EE EE EE EE EE EE EE"},
        {4, 1, 42, "BIT1 = 全局整数2 BIT3", "EE 01 02 03 EE EE EE EE EE EE EE EE"},
        {4, 1, 55, "= 局部数组4 起始5 数量6", "EE 04 05 06 EE EE EE EE EE EE EE EE"},
        {4, 1, 45, "BIT31 = 输入-1", "EE EE 1F FF EE EE EE EE EE EE EE EE"},
        {4, 1, 59, "= 临时数据包 起始2 数量3", "EE EE 02 03 EE EE EE EE EE EE EE EE"},
        {4, 1, 48, "= 整数9", "EE EE EE 09 EE EE EE EE EE EE EE EE"},
        {4, 1, 61, "通过数据口2 16进制发送", "EE EE EE 02 EE EE EE EE EE EE EE EE"},
        {4, 1, 64, "= 局部小数7", "EE EE EE 07 EE EE EE EE EE EE EE EE"},
        {4, 1, 65, "= 全局数组1 起始2 数量3", "EE EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, WholeNumberKinds)
{
    for (int kind : {2, 6, 7, 8, 15, 17, 22, 23, 24}) {
        EXPECT_EQ(encoded(kind, 1, 1, "1500"), "00 00 05 DC EE EE EE EE EE EE EE EE") << kind;
        EXPECT_EQ(encoded(kind, 1, 1, "-3"), "FF FF FF FD EE EE EE EE EE EE EE EE") << kind;
    }
    // Kinds whose param3 comes from lists or that take none.
    for (int kind : {0, 5, 12, 18, 19, 28})
        EXPECT_EQ(encoded(kind, 1, 1, "12 34"), "EE EE EE EE EE EE EE EE EE EE EE EE") << kind;
    const Case cases[] = {
        {13, 1, 5, "7", "00 00 00 07 EE EE EE EE EE EE EE EE"},
        {13, 1, 8, "1 3 8", "00 00 00 85 EE EE EE EE EE EE EE EE"},
        {13, 1, 9, "7", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {14, 1, 1, "9", "00 00 00 09 EE EE EE EE EE EE EE EE"},
        {14, 1, 2, "9", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {16, 1, 3, "300", "01 2C EE EE EE EE EE EE EE EE EE EE"},
        {16, 2, 1, "5", "01 05 EE EE EE EE EE EE EE EE EE EE"},
        {16, 3, 1, "5", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {25, 1, 2, "128", "00 00 00 80 EE EE EE EE EE EE EE EE"},
        {25, 1, 3, "2", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {25, 2, 1, "1 2", "00 00 00 00 EE EE EE EE EE EE EE EE"},
        {25, 2, 2, "坐标:X=10Y=20;文本=数组3", "0A 14 03 EE EE EE EE EE EE EE EE EE"},
        {25, 3, 3, "坐标: X=全局整数1 Y=全局整数2", "01 02 EE EE EE EE EE EE EE EE EE EE"},
        {25, 2, 4, "1 2 3 4", "01 02 03 04 EE EE EE EE EE EE EE EE"},
        {25, 3, 6, "1 2 3 4", "01 02 03 04 EE EE EE EE EE EE EE EE"},
        {25, 2, 7, "1 2 3 4", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {20, 1, 1, "将全局整数3位置的字节赋值给全局整数4", "03 04 EE EE EE EE EE EE EE EE EE EE"},
        {20, 1, 14, "1 2 3", "01 02 03 EE EE EE EE EE EE EE EE EE"},
        {20, 1, 15, "= 局部数组6", "06 EE EE EE EE EE EE EE EE EE EE EE"},
        {20, 1, 16, "1", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {9, 2, 1, "全局数组5", "01 EE EE EE EE EE EE EE EE EE EE EE"},
        {9, 3, 1, "1", "00 EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, LocalIntegerForms)
{
    const Case cases[] = {
        {26, 1, 1, "整数5 = -2", "05 EE FF FF FF FE EE EE EE EE EE EE"},
        {26, 1, 2, "整数1 = 整数2 + 300", "01 02 00 00 01 2C EE EE EE EE EE EE"},
        {26, 2, 3, "整数1 = 整数2 与运算 4294967295", "01 02 FF FF FF FF EE EE EE EE EE EE"},
        {26, 1, 6, "整数1 = 整数2", "01 02 EE EE EE EE EE EE EE EE EE EE"},
        {26, 2, 19, "1 2 3 4", "01 02 EE EE 03 04 EE EE EE EE EE EE"},
        {26, 2, 22, "整数1 BIT2 = 输入3", "01 02 EE EE EE 03 EE EE EE EE EE EE"},
        {26, 3, 1, "整数7 = 本机地址", "07 EE EE EE EE EE EE EE EE EE EE EE"},
        {26, 7, 9, "1 2", "01 02 EE EE EE EE EE EE EE EE EE EE"},
        {26, 7, 6, "1 2 3 4", "01 02 EE EE 03 04 EE EE EE EE EE EE"},
        {26, 7, 11, "1 2 3", "01 02 EE EE EE 03 EE EE EE EE EE EE"},
        {26, 9, 1, "1 2 3", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {26, 4, 9, "1", "EE EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, LocalArrayForms)
{
    const Case cases[] = {
        {27, 1, 3, "局部数组4 每个字节的前后四位互换", "04 EE EE EE EE EE EE EE EE EE EE EE"},
        {27, 2, 2, "3:abc", "03 EE EE EE 03 61 62 63 EE EE EE EE"},
        {27, 2, 1, "局部数组3 内容:01 02", "03 EE EE EE 02 01 02 EE EE EE EE EE"},
        {27, 2, 7, "局部数组3 位置5 内容:AA", "03 05 EE EE 01 AA EE EE EE EE EE EE"},
        {27, 2, 8, "3 5:", "03 05 EE EE 00 EE EE EE EE EE EE EE"},
        {27, 2, 6, "3:a:b", "03 EE EE EE 03 61 3A 62 EE EE EE EE"},
        {27, 2, 2, "3abc", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        {27, 3, 5, "1 2 3", "01 02 03 EE EE EE EE EE EE EE EE EE"},
        {27, 4, 7, "局部数组1 = 局部数组2 + 临时数据包", "01 EE 02 EE EE EE EE EE EE EE EE EE"},
        {27, 4, 6, "1 2", "01 EE EE EE EE EE EE EE EE EE EE EE"},
        {27, 5, 3, "1 2 3 4", "01 02 03 04 EE EE EE EE EE EE EE EE"},
        {27, 7, 2, "1 2 3", "01 02 03 EE EE EE EE EE EE EE EE EE"},
        {27, 8, 1, "1 2", "01 02 EE EE EE EE EE EE EE EE EE EE"},
        {27, 9, 1, "1 2", "EE EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, DecimalVariableForms)
{
    // 3.5 is 40 0C 00 .. 00; stored least significant byte first.
    const Case cases[] = {
        {29, 2, 1, "1 2 + 3.5", "01 02 00 00 00 00 00 00 00 0C 40 EE"},
        {29, 5, 1, "局部小数1 = 局部小数2 / -3.5", "01 02 03 00 00 00 00 00 00 0C C0 EE"},
        {29, 2, 3, "全局小数1 = 全局小数2 - 局部小数3", "01 02 01 03 00 00 EE EE EE EE EE EE"},
        {29, 2, 9, "1 2 * 3 4 5", "01 02 02 03 04 05 EE EE EE EE EE EE"},
        {29, 2, 11, "1 2 * 3", "01 02 02 EE EE EE EE EE EE EE EE EE"},
        {29, 1, 1, "全局小数5 = 2.5", "05 00 00 00 00 00 00 04 40 EE EE EE"},
        {29, 7, 6, "格式化变量1 = 局部数组2第3个数字", "01 02 03 00 EE EE EE EE EE EE EE EE"},
        {29, 6, 9, "1 2 3", "01 02 03 EE EE EE EE EE EE EE EE EE"},
        {29, 1, 11, "1 2", "EE EE EE EE EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, StringsAndHexLists)
{
    const Case cases[] = {
        {10, 1, 1, "abc", "03 61 62 63 EE EE EE EE EE EE EE EE"},
        {10, 1, 1, "", "00 EE EE EE EE EE EE EE EE EE EE EE"},
        {16, 1, 1, "你好", "04 C4 E3 BA C3 EE EE EE EE EE EE EE"},
        {21, 1, 2, "xy", "02 78 79 EE EE EE EE EE EE EE EE EE"},
        {21, 1, 7, "%d", "02 25 64 EE EE EE EE EE EE EE EE EE"},
        {11, 1, 1, "01 0A FF", "03 01 0A FF EE EE EE EE EE EE EE EE"},
        {11, 1, 1, "", "00 EE EE EE EE EE EE EE EE EE EE EE"},
        {9, 1, 1, "1 a", "02 01 0A EE EE EE EE EE EE EE EE EE"},
        {21, 1, 1, "AA bb", "02 AA BB EE EE EE EE EE EE EE EE EE"},
        {21, 1, 3, "", "EE EE EE EE EE EE EE EE EE EE EE EE"},
        // Unchecked lists take any group of up to 9 digits.
        {32, 1, 1, "010AFF 1", "02 FF 01 EE EE EE EE EE EE EE EE EE"},
        {33, 1, 1, "0123456789", "00 EE EE EE EE EE EE EE EE EE EE EE"},
        {34, 1, 2, "a\"b", "03 61 22 62 EE EE EE EE EE EE EE EE"},
    };
    expectCases(cases, std::size(cases));
}

TEST(ResultEncoding, FailedHexChecksWarnAndWriteNothing)
{
    struct Bad { int kind, param1, param2; const char* text; const char* message; };
    const Bad cases[] = {
        {11, 1, 1, "010AFF", "格式为：11 22 33 … AA BB CC … FF, 中间要有空格"},
        {9, 1, 1, "01,02", "字符范围0-9或A-F不能有特殊字符"},
        {21, 1, 5, "011 22", "格式为：11 22 33 … AA BB CC … FF"},
    };
    for (const Bad& c : cases) {
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(encoded(c.kind, c.param1, c.param2, c.text), "EE EE EE EE EE EE EE EE EE EE EE EE");
        ASSERT_EQ(fake.messages.size(), 1u) << c.text;
        EXPECT_EQ(fake.messages[0].text, c.message);
        EXPECT_EQ(fake.messages[0].caption, "警告：");
    }
}

TEST(ResultEncoding, DataLimits)
{
    // A 300-byte string keeps its first 200 bytes.
    Instruction ins = line(10, 1, 1);
    encodeResultParam3(std::string(300, 'x'), ins.data());
    EXPECT_EQ(ins[3], 200);
    EXPECT_EQ(ins[4 + 199], 'x');
    EXPECT_EQ(ins[4 + 200], kUntouched);

    // The cut never splits a double-byte character.
    ins = line(10, 1, 1);
    encodeResultParam3(std::string(199, 'x') + "你", ins.data());
    EXPECT_EQ(ins[3], 199);
    ins = line(10, 1, 1);
    encodeResultParam3(std::string(198, 'x') + "你", ins.data());
    EXPECT_EQ(ins[3], 200);
    EXPECT_EQ(ins[4 + 199], 0xE3);

    // 200 two-digit groups (599 characters, as the result text shows 200
    // bytes) are all read; a longer text gives none; groups after the 200th
    // of a shorter text are ignored.
    std::string hex;
    for (int i = 0; i < 200; ++i)
        hex += format(i ? " %02X" : "%02X", i);
    ins = line(32, 1, 1);
    encodeResultParam3(hex, ins.data());
    EXPECT_EQ(ins[3], 200);
    EXPECT_EQ(ins[4 + 199], 199);
    ins = line(11, 1, 1);
    encodeResultParam3(hex + " 00", ins.data());
    EXPECT_EQ(ins[3], 0);
    ins = line(11, 1, 1);
    std::string digits = "1";
    for (int i = 1; i < 201; ++i)
        digits += " 2";
    encodeResultParam3(digits, ins.data());
    EXPECT_EQ(ins[3], 200);
    EXPECT_EQ(ins[4], 1);
    ins = line(27, 2, 1);
    encodeResultParam3("1:" + hex + " 00 00", ins.data());
    EXPECT_EQ(ins[7], 0);
    ins = line(33, 1, 1);
    encodeResultParam3(std::string(166, '1'), ins.data());
    EXPECT_EQ(ins[3], 0);  // one group of 166 digits

    // Byte code over 200 bytes is stored as count 0 and not copied.
    std::string many = "整数1";
    for (int i = 2; i <= 70; ++i)
        many += format(", 整数%d", i);
    ins = line(31, 1, 1);
    encodeResultParam3(many, ins.data());
    EXPECT_EQ(ins[3], 0);
    EXPECT_EQ(ins[4], kUntouched);
}

TEST(ResultEncoding, FormulasAreCountedByteCode)
{
    struct Formula { int kind, param1, param2; const char* text; std::string code; };
    const Formula cases[] = {
        {30, 1, 1, "整数1 = 整数2 + 1; 整数3 = 5",
         encodeStatementList(parseStatementList("整数1 = 整数2 + 1; 整数3 = 5"))},
        {30, 2, 100, "整数1 = 函数3(整数2, 5)",
         encodeFunctionCallTest(parseFunctionCallTest("整数1 = 函数3(整数2, 5)"))},
        {30, 3, 1, "整数1 + 5", encodeExpression(compileExpression("整数1 + 5"))},
        {30, 3, 4, "整数1 = 函数3(5)", encodeFunctionCallAssign(parseFunctionCallAssign("整数1 = 函数3(5)"))},
        {30, 8, 1, "整数1 + 5", encodeExpression(compileExpression("整数1 + 5"))},
        {30, 0, 1, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
        {30, 9, 1, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
        {32, 1, 3, "整数1 + 5", encodeExpression(compileExpression("整数1 + 5"))},
        {32, 1, 5, "整数1 + 5", encodeExpression(compileExpression("整数1 + 5"))},
        {32, 1, 4, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
        {33, 1, 3, "整数1 + 5", encodeExpression(compileExpression("整数1 + 5"))},
        {34, 1, 4, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
        {31, 1, 1, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
        {36, 5, 7, "1, 3, 2, 4", encodeExpressionList(parseExpressionList("1, 3, 2, 4"))},
        {255, 0, 0, "1, 2", encodeExpressionList(parseExpressionList("1, 2"))},
    };
    for (const Formula& c : cases) {
        ASSERT_FALSE(c.code.empty()) << c.text;
        Instruction ins = line(c.kind, c.param1, c.param2);
        encodeResultParam3(c.text, ins.data());
        EXPECT_EQ(ins[3], c.code.size()) << c.kind << "/" << c.param1 << "/" << c.param2;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(ins.data() + 4), c.code.size()), c.code);
        EXPECT_EQ(ins[4 + c.code.size()], kUntouched);
    }
    // The byte code of "整数1 + 5" itself.
    EXPECT_EQ(encoded(30, 3, 1, "整数1 + 5", 14), "0D 0D 03 02 01 03 64 2B 06 01 00 00 00 05");
    // Choices without a form take nothing.
    EXPECT_EQ(encoded(30, 2, 101, "整数1 = 函数3(5)", 2), "EE EE");
    EXPECT_EQ(encoded(30, 3, 2, "整数1", 2), "EE EE");
}

TEST(ResultEncoding, ChannelMask)
{
    struct MaskCase { std::string text; std::uint32_t mask; bool message; };
    const MaskCase cases[] = {
        {"1 3 8", 0x85, false},
        {"  1   3  ", 0x5, false},
        {"", 0, false},
        {"32 1", 0x80000001u, false},
        {"0 33 1", 0x1, false},
        // A number outside 1..32 names no channel, whatever its low byte.
        {"257", 0, false},
        {"1234567890 1", 0, false},
        {"123456789 1", 0x1, false},
        {"1,2", 0, true},
        {"1\t2", 0, true},
        {"a", 0, true},
        // 256 bytes or more with the two blanks put around the text: 0.
        {"1" + std::string(251, ' ') + "2", 0x3, false},
        {"1" + std::string(252, ' ') + "2", 0, false},
    };
    for (const MaskCase& c : cases) {
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(channelMask(c.text), c.mask) << c.text;
        ASSERT_EQ(fake.messages.size(), c.message ? 1u : 0u) << c.text;
        if (c.message) {
            EXPECT_EQ(fake.messages[0].text, "参数只能是数字");
        }
    }
    // At most 99 numbers are read.
    std::string text;
    for (int i = 0; i < 98; ++i)
        text += "0 ";
    EXPECT_EQ(channelMask(text + "2"), 0x2u);
    EXPECT_EQ(channelMask(text + "0 2"), 0u);

    // Through the encoder: the message, and the mask written as 0.
    FakeShell fake;
    ShellScope scope(fake);
    EXPECT_EQ(encoded(1, 5, 1, "1,2"), "00 00 00 00 EE EE EE EE EE EE EE EE");
    EXPECT_EQ(fake.lastMessage(), "参数只能是数字");
}

TEST(ResultEncoding, EditorDefaultsAndPicks)
{
    Instruction ins = line(1, 9, 9);
    applyResultKindDefaults(ins.data(), 19);
    EXPECT_EQ(hexText(ins.data(), 5), "13 01 01 01 EE");
    applyResultKindDefaults(ins.data(), 9);
    EXPECT_EQ(hexText(ins.data(), 5), "09 01 01 00 EE");

    struct Pick { int kind, param1, param2; const char* bytes; };
    const Pick picks[] = {
        {19, 3, 17, "07 EE"},
        {25, 1, 3, "07 EE"},
        {25, 1, 2, "EE EE"},
        {9, 2, 4, "01 07"},
        {9, 1, 1, "EE EE"},
        {30, 1, 1, "EE EE"},
    };
    for (const Pick& p : picks) {
        ins = line(p.kind, p.param1, p.param2);
        pickResultParam3(ins.data(), 7);
        EXPECT_EQ(param3Hex(ins, 2), p.bytes) << p.kind << "/" << p.param1 << "/" << p.param2;
    }
    EXPECT_TRUE(resultParam3IsFormula(30));
    EXPECT_FALSE(resultParam3IsFormula(36));
}

}  // namespace
}  // namespace orlo
