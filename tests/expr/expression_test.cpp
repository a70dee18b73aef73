// The expression compiler: the grammar filter, full-width input, strings,
// the record of every operand kind in both byte orders, and the 256-byte and
// 200-byte rules.
#include <gtest/gtest.h>

#include <memory>

#include "expr/expression.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

const NameTable& noAliases()
{
    static const std::unique_ptr<NameTable> table(new NameTable());
    return *table;
}

// Tokens as "整数1 + 5"; an opening bracket that carries a resource shows it
// as "[kind/index".
std::string describe(const Expression& expression)
{
    std::string out;
    for (const OperandToken& t : expression.tokens) {
        if (!out.empty())
            out += ' ';
        if (t.kind != kOperatorKind)
            out += canonicalText(t);
        else if (operatorByte(t) == static_cast<unsigned char>(kShiftLeft))
            out += "<<";
        else if (operatorByte(t) == static_cast<unsigned char>(kShiftRight))
            out += ">>";
        else if (isOperator(t, '[') && t.value != 0)
            out += format("[%d/%d", t.value >> 8, t.value & 0xFF);
        else
            out += static_cast<char>(operatorByte(t));
    }
    return out;
}

std::string tokensOf(const std::string& text)
{
    return describe(compileExpression(text, noAliases()));
}

std::string codeOf(const std::string& text)
{
    return hexText(encodeExpression(compileExpression(text, noAliases())));
}

struct TextCase {
    const char* text;
    const char* want;
};

TEST(ExpressionCompiler, GrammarFilterKeepsOnlyTokensInPossiblePlaces)
{
    const TextCase cases[] = {
        {"整数1 + 5", "整数1 + 5"},
        {"", ""},
        {"   ", ""},
        // At the start only an operand, "(", "[" or "-" may stand.
        {"+ 整数1", "整数1"},
        {") 整数1", "整数1"},
        {"- 整数1", "- 整数1"},
        {"(整数1", "( 整数1"},
        {"[整数1", "[ 整数1"},
        // Trailing operators go, closing brackets stay.
        {"整数1 +", "整数1"},
        {"(整数1 + 2) -", "( 整数1 + 2 )"},
        {"整数1 + (", "整数1"},
        // Binary after binary, and "-" after binary, are dropped.
        {"整数1 + * 整数2", "整数1 + 整数2"},
        {"整数1 + - 整数2", "整数1 + 整数2"},
        // After an opening bracket only "-" of the binary operators.
        {"(* 1)", "( 1 )"},
        {"(- 1)", "( - 1 )"},
        // A closing bracket after a binary operator goes; so does the now
        // trailing operator.
        {"整数1 + )", "整数1"},
        // An operand after an operand or a closing bracket goes.
        {"(1) 2", "( 1 )"},
        {"(1) + 2", "( 1 ) + 2"},
        {"((1))", "( ( 1 ) )"},
        {"整数1(2)", "整数1 ( 2 )"},
        // Unrecognised operands vanish, and the tokens around them are judged
        // without them.
        {"xyz + 1", "1"},
        {"1 + xyz * 2", "1 + 2"},
        // Blanks belong to the operand text: the classifier trims only its
        // ends.
        {"整数 1", ""},
        {" 整数1 + 5 ", "整数1 + 5"},
        {"1,2", "1 , 2"},
        // Shifts are one token each; a third "<" starts an operand.
        {"整数1 << 2", "整数1 << 2"},
        {"整数1>>2", "整数1 >> 2"},
        {"整数1 <<< 2", "整数1"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(tokensOf(c.text), c.want) << c.text;
}

TEST(ExpressionCompiler, OpeningSquareBracketCarriesTheResourceItIndexes)
{
    const TextCase cases[] = {
        {"整数3[2]", "[2/3 2 ]"},
        {"数组3[2]", "[33/3 2 ]"},
        {"全局数组7[整数1]", "[35/7 整数1 ]"},
        {"星期[1]", "[10/22 1 ]"},
        {"编码器2[1]", "[48/2 1 ]"},
        {"UDP1[0]", "[27/1 0 ]"},
        {"全局整数255[1]", "[3/255 1 ]"},
        // Other operands keep their place before a plain bracket.
        {"5[2]", "5 [ 2 ]"},
        {"CAN1[2]", "CAN1 [ 2 ]"},
        // The folded bracket is an operator like any other at the end.
        {"整数3[", ""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(tokensOf(c.text), c.want) << c.text;
}

TEST(ExpressionCompiler, FullWidthPunctuationIsReadAsAscii)
{
    const TextCase cases[] = {
        {"（整数1 × 2）", "( 整数1 * 2 )"},
        {"整数1《《2", "整数1 << 2"},
        {"整数1》》2", "整数1 >> 2"},
        {"数组3【2】", "[33/3 2 ]"},
        {"1，2", "1 , 2"},
        {"『01 02』", "{01 02}"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(tokensOf(c.text), c.want) << c.text;
}

TEST(ExpressionCompiler, StringsAreOneOperandWhateverTheyHold)
{
    const TextCase cases[] = {
        {"\"a+b\"", "\"a+b\""},
        {"\"x<<y\" + 1", "\"x<<y\" + 1"},
        {"\"（，）\"", "\"（，）\""},
        {"\"a\\\"+b\" + 1", "\"a\\\"+b\" + 1"},
        {"\"x\\\\\" + 1", "\"x\\\\\" + 1"},
        {"\"a\" + \"b\"", "\"a\" + \"b\""},
        {"{01 02 FF}", "{01 02 FF}"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(tokensOf(c.text), c.want) << c.text;

    // Full-width punctuation and shifts inside a string are not touched.
    const Expression e = compileExpression("\"（<<）\"", noAliases());
    ASSERT_EQ(e.tokens.size(), 1u);
    EXPECT_EQ(e.tokens[0].bytes, "（<<）");
}

TEST(ExpressionCompiler, AliasWithAShiftByteInsideStaysWhole)
{
    // "剛" is 84 82, "倎" 82 81, "亖" 81 81: bytes that stand for ">>" and
    // "<<" inside the compiler.
    NameTable table;
    ASSERT_EQ(table.rename("整数1", "剛"), "");
    ASSERT_EQ(table.rename("整数2", "倎"), "");
    ASSERT_EQ(table.rename("整数3", "亖"), "");
    EXPECT_EQ(describe(compileExpression("剛 + 倎 * 亖", table)), "整数1 + 整数2 * 整数3");
    EXPECT_EQ(describe(compileExpression("剛<<亖", table)), "整数1 << 整数3");
}

// Stored, these would name another resource (整数300 would be 整数44,
// 全局整数300[ 全局整数44[): the formula is refused with a message and stores
// nothing. An empty message: the formula is stored without a word.
TEST(ExpressionCompiler, NumbersNoRecordCarriesRefuseTheFormula)
{
    NameTable table;
    ASSERT_EQ(table.rename("全局整数300", "总数"), "");
    const TextCase cases[] = {
        {"全局整数300[1]", "全局整数300后面不能跟[：带下标的资源编号只能是0到255"},
        {"1 + 总数[整数2]", "总数后面不能跟[：带下标的资源编号只能是0到255"},
        {"数组300[2]", "数组300：编号超出范围（0到255）"},
        {"整数256 + 整数999", "整数256：编号超出范围（0到255）"},
        {"PA256", "PA256：编号超出范围（0到255）"},
        {"UDP300[1]", "UDP300：编号超出范围（0到255）"},
        {"全局整数65536", "全局整数65536：编号超出范围（0到65535）"},
        {"输出闭合计数99999999999", "输出闭合计数99999999999：编号超出范围（0到65535）"},
        {"数组65536_1_1", "数组65536_1_1：编号超出范围（0到65535）"},
        {"全局数组1_65536_1", "全局数组1_65536_1：编号超出范围（0到65535）"},
        {"数组3_4_8", "数组3_4_8：宽度超出范围（0到7）"},
        {"'誠'", "'誠'：单引号中只能有一个单字节字符，汉字请用双引号"},
        {"全局整数300 + 总数 + 输入65535 + 星期[1] + 'A'", ""},
        // Dropped operands are not stored, so they refuse nothing.
        {"5 整数300", ""},
    };
    for (const TextCase& c : cases) {
        FakeShell fake;
        ShellScope scope(fake);
        const std::string code = encodeExpression(compileExpression(c.text, table));
        EXPECT_EQ(code.empty(), *c.want != '\0') << c.text;
        EXPECT_EQ(fake.messages.size(), *c.want ? 1u : 0u) << c.text;
        EXPECT_EQ(fake.lastMessage(), c.want) << c.text;
    }
}

TEST(ExpressionByteCode, SpecimenExpression)
{
    EXPECT_EQ(codeOf("整数1 + 5"), "0D 03 02 01 03 64 2B 06 01 00 00 00 05");
}

TEST(ExpressionByteCode, RecordOfEveryOperandShape)
{
    const TextCase cases[] = {
        // Literals: kind, 32-bit big-endian value.
        {"5", "07 06 01 00 00 00 05"},
        {"16909060", "07 06 01 01 02 03 04"},
        {"2147483647", "07 06 01 7F FF FF FF"},
        {"0x1F", "07 06 08 00 00 00 1F"},
        {"0xFFFFFFFF", "07 06 08 FF FF FF FF"},
        {"'A'", "07 06 09 00 00 00 41"},
        // Index records: one byte.
        {"整数7", "04 03 02 07"},
        {"整数255", "04 03 02 FF"},
        {"定时器5", "04 03 06 05"},
        {"星期", "04 03 0A 16"},
        {"PA3", "04 03 0B 03"},
        {"UDP2", "04 03 1B 02"},
        {"位变量9", "04 03 27 09"},
        // Wide records above 200: index little-endian.
        {"全局整数200", "04 03 03 C8"},
        {"全局整数201", "06 05 41 03 C9 00"},
        {"全局整数300", "06 05 41 03 2C 01"},
        {"输入201", "06 05 41 01 C9 00"},
        {"输出1000", "06 05 41 02 E8 03"},
        {"输入闭合计数200", "04 03 3C C8"},
        {"输入闭合计数300", "06 05 42 01 2C 01"},
        {"输入断开计数300", "06 05 42 02 2C 01"},
        {"输出闭合计数300", "06 05 42 03 2C 01"},
        {"输出断开计数65535", "06 05 42 04 FF FF"},
        // Array elements: array and element big-endian, width low 3 bits.
        {"数组3_4_5", "09 08 40 00 00 03 00 04 05"},
        {"全局数组300_2_7", "09 08 40 01 01 2C 00 02 07"},
        {"数组65535_65535_0", "09 08 40 00 FF FF FF FF 00"},
        // The double, least significant byte first.
        {"1.5", "0B 0A 16 00 00 00 00 00 00 F8 3F"},
        {"{01 02 FF}", "06 05 1F 01 02 FF"},
        {"{}", "03 02 1F"},
        {"\"ab\"", "05 04 20 61 62"},
        {"\"\"", "03 02 20"},
        {"\"a\\n\\t\\r\\\"\\\\\"", "09 08 20 61 0A 09 0D 22 5C"},
        // Brackets carry a 16-bit big-endian value, kind byte first.
        {"(1)", "11 05 64 28 00 00 06 01 00 00 00 01 05 64 29 00 00"},
        {"数组3[2]", "11 05 64 5B 21 03 06 01 00 00 00 02 05 64 5D 00 00"},
        {"全局数组255[1]", "11 05 64 5B 23 FF 06 01 00 00 00 01 05 64 5D 00 00"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(codeOf(c.text), c.want) << c.text;
}

TEST(ExpressionByteCode, BinaryOperatorsAreThreeByteRecords)
{
    const struct {
        const char* op;
        const char* record;
    } cases[] = {
        {"%", "03 64 25"}, {"&", "03 64 26"}, {"*", "03 64 2A"}, {"+", "03 64 2B"},
        {",", "03 64 2C"}, {"-", "03 64 2D"}, {"/", "03 64 2F"}, {"^", "03 64 5E"},
        {"|", "03 64 7C"}, {"<<", "03 64 81"}, {">>", "03 64 82"},
    };
    for (const auto& c : cases) {
        const std::string want = std::string("10 06 01 00 00 00 01 ") + c.record + " 06 01 00 00 00 02";
        EXPECT_EQ(codeOf(std::string("1 ") + c.op + " 2"), want) << c.op;
    }
}

TEST(ExpressionByteCode, KindsWithoutARecordShapeAreOneByte)
{
    Expression e;
    for (std::uint8_t kind : {0, 19, 50, 99, 255}) {
        OperandToken t;
        t.kind = kind;
        e.tokens.push_back(t);
    }
    EXPECT_EQ(hexText(encodeExpression(e)), "06 01 01 01 01 01");
    EXPECT_EQ(hexText(encodeExpression(Expression())), "01");
}

OperandToken stringToken(std::size_t n)
{
    OperandToken t;
    t.kind = 32;
    t.bytes.assign(n, 'a');
    return t;
}

TEST(ExpressionByteCode, LongStringsAreCutTo200Bytes)
{
    const Expression e = compileExpression("\"" + std::string(250, 'x') + "\"", noAliases());
    const std::string code = expressionByteCode(e);
    ASSERT_EQ(code.size(), 1u + 202u);
    EXPECT_EQ(static_cast<unsigned char>(code[1]), 202u);
    EXPECT_EQ(encodeExpression(e), "") << "203 bytes are not stored";
}

TEST(ExpressionByteCode, StoredOnlyUpTo200BytesAndEmptyFrom256)
{
    // One string of n bytes: L = n + 3.
    Expression e200, e201;
    e200.tokens = {stringToken(197)};
    e201.tokens = {stringToken(198)};
    EXPECT_EQ(encodeExpression(e200).size(), 200u);
    EXPECT_EQ(static_cast<unsigned char>(encodeExpression(e200)[0]), 200u);
    EXPECT_EQ(expressionByteCode(e201).size(), 201u);
    EXPECT_EQ(encodeExpression(e201), "");

    // 200-byte string (202) and one of n bytes (n + 2): L = 205 + n.
    Expression e255, e256;
    e255.tokens = {stringToken(200), stringToken(50)};
    e256.tokens = {stringToken(200), stringToken(51)};
    EXPECT_EQ(expressionByteCode(e255).size(), 255u);
    EXPECT_EQ(static_cast<unsigned char>(expressionByteCode(e255)[0]), 255u);
    EXPECT_EQ(expressionByteCode(e256), "") << "not even the length byte";
    EXPECT_EQ(encodeExpression(e256), "");
}

}  // namespace
}  // namespace orlo
