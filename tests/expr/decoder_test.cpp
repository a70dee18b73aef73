// The expression decoder and renderers: record rules for every length, the
// strict length walk, opening brackets, aliases, the composite forms, and
// damaged byte code (random, truncated at every offset, every byte changed).
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "expr/decoder.h"
#include "platform/strings.h"

namespace orlo {
namespace {

const NameTable& noAliases()
{
    static const std::unique_ptr<NameTable> table(new NameTable());
    return *table;
}

std::string bytesOf(const std::string& hex)
{
    std::string bytes;
    EXPECT_TRUE(parseHexText(hex, bytes)) << hex;
    return bytes;
}

std::string rendered(const std::string& hex)
{
    return renderExpression(decodeExpression(bytesOf(hex)), noAliases());
}

struct HexCase {
    const char* hex;
    const char* text;
};

TEST(ExpressionDecoder, SpecimenAndAlias)
{
    EXPECT_EQ(rendered("0D 03 02 01 03 64 2B 06 01 00 00 00 05"), "整数1 + 5");
    NameTable table;
    ASSERT_EQ(table.rename("整数1", "温度"), "");
    EXPECT_EQ(renderExpression(decodeExpression(bytesOf("0D 03 02 01 03 64 2B 06 01 00 00 00 05")), table),
              "温度 + 5");
}

TEST(ExpressionDecoder, RecordRulesForEveryLength)
{
    const HexCase cases[] = {
        // Literals from one, two or four bytes; other lengths keep value 0.
        {"04 03 01 07", "7"},
        {"05 04 01 01 2C", "300"},
        {"07 06 01 00 00 01 2C", "300"},
        {"06 05 01 01 02 03", "0"},
        {"05 04 08 01 2C", "0X12C"},
        {"04 03 09 41", "'A'"},
        // Index records: three bytes only, wide kinds included.
        {"04 03 02 07", "整数7"},
        {"04 03 03 C9", "全局整数201"},
        {"04 03 25 05", "输入5"},
        {"04 03 3F 07", "输出断开计数7"},
        {"05 04 02 01 02", ""},
        // Wide records: sub-kind, index little-endian.
        {"06 05 41 03 2C 01", "全局整数300"},
        {"06 05 41 01 2C 01", "输入300"},
        {"06 05 41 02 2C 01", "输出300"},
        {"06 05 41 04 2C 01", ""},
        {"06 05 42 01 2C 01", "输入闭合计数300"},
        {"06 05 42 02 2C 01", "输入断开计数300"},
        {"06 05 42 03 2C 01", "输出闭合计数300"},
        {"06 05 42 04 2C 01", "输出断开计数300"},
        {"06 05 42 05 2C 01", ""},
        {"05 04 41 03 2C", ""},
        // Doubles need ten bytes; hex lists and strings take what there is.
        {"0B 0A 16 00 00 00 00 00 00 F8 3F", "1.500000"},
        {"0A 09 16 00 00 00 00 00 F8 3F", ""},
        {"03 02 20", "\"\""},
        {"03 02 1F", "{}"},
        {"05 04 20 0A 22", "\"\\n\\\"\""},
        // Array elements need eight bytes; the width keeps 3 bits.
        {"09 08 40 01 00 03 00 04 0F", "全局数组3_4_7"},
        {"08 07 40 01 00 03 00 04", ""},
        // Kinds never produced, and unknown kinds.
        {"04 03 13 05", ""},
        {"04 03 C8 05", ""},
        {"02 01", ""},
        // Operators; a bracket too short for its value has value 0.
        {"04 03 64 2B", "+"},
        {"04 03 64 81", "<<"},
        {"06 05 64 28 00 00", "("},
        {"04 03 64 28", "("},
        {"06 05 64 5B 21 03", "数组3["},
        {"03 02 64", ""},
    };
    for (const HexCase& c : cases)
        EXPECT_EQ(rendered(c.hex), c.text) << c.hex;
}

TEST(ExpressionDecoder, OperatorsRenderWithBlanksBracketsBare)
{
    EXPECT_EQ(rendered("14 05 64 28 00 00 03 02 01 03 64 81 03 02 02 05 64 29 00 00"),
              "(整数1 << 整数2)");
    EXPECT_EQ(rendered("10 03 64 2D 03 02 01 03 64 82 06 01 00 00 00 02"), "- 整数1 >> 2");
}

TEST(ExpressionDecoder, OpeningBracketShowsTheResourceItIndexes)
{
    const struct {
        unsigned value;
        const char* text;
    } cases[] = {
        {0x0205, "整数5["},    {0x0305, "全局整数5["}, {0x1805, "局部变量5["},
        {0x1A05, "内部变量5["}, {0x1B05, "UDP5["},     {0x1C05, "TCP5["},
        {0x1505, "过滤器5["},   {0x2105, "数组5["},    {0x2305, "全局数组5["},
        {0x2405, "数据口5["},   {0x2805, "CAN5["},     {0x2F05, "联机开关量5["},
        {0x0A16, "星期["},
        // Kinds without a text, the encoder's kind 48 among them.
        {0x3002, "格式出错"},  {0x0000, "格式出错"},  {0xFF01, "格式出错"},
    };
    for (const auto& c : cases) {
        const std::string hex = format("06 05 64 5B %02X %02X", c.value >> 8, c.value & 0xFF);
        EXPECT_EQ(rendered(hex), c.text) << hex;
    }

    NameTable table;
    ASSERT_EQ(table.rename("整数5", "温度"), "");
    EXPECT_EQ(renderExpression(decodeExpression(bytesOf("06 05 64 5B 02 05")), table), "温度[");
}

TEST(ExpressionDecoder, LengthsThatDoNotAddUpGiveTheEmptyExpression)
{
    const char* cases[] = {
        "0E 03 02 01 03 64 2B 06 01 00 00 00 05",     // L one more than the records
        "0C 03 02 01 03 64 2B 06 01 00 00 00 05",     // L one less
        "0D 03 02 01 03 64 2B 07 01 00 00 00 05",     // last record overshoots
        "0D 03 02 01 00 64 2B 06 01 00 00 00 05",     // zero length byte
        "0D 03 02 01 03 64 2B 06 01 00 00 00",        // L beyond the bytes given
        "02 01", "01", "00", "",
    };
    for (const char* hex : cases)
        EXPECT_TRUE(decodeExpression(bytesOf(hex)).tokens.empty()) << hex;

    // Bytes after the expression belong to the rest of the line.
    EXPECT_EQ(rendered("04 03 02 01 FF FF 00"), "整数1");
}

TEST(ComparisonDecoder, ThreePartsOrOnePart)
{
    const HexCase cases[] = {
        {"0E 04 03 02 01 02 04 07 06 01 00 00 00 0A", "整数1>=10"},
        {"05 04 03 02 01", "整数1"},
        {"09 04 03 02 01 04 03 02 02", ""},                  // two parts
        {"0F 04 03 02 01 03 04 00 07 06 01 00 00 00 0A", "整数110"},  // operator part of 3 bytes: no operator
        {"01", ""},
        {"0F 04 03 02 01 02 04 07 06 01 00 00 00 0A 05", ""},  // last part overshoots L
    };
    for (const HexCase& c : cases)
        EXPECT_EQ(renderComparison(decodeComparison(bytesOf(c.hex)), noAliases()), c.text) << c.hex;

    const char* operators[] = {"", "=", ">", "<", ">=", "<=", "<>", ""};
    for (int code = 0; code < 8; ++code) {
        const std::string hex = format("0B 04 03 02 01 02 %02X 04 03 02 02", code);
        EXPECT_EQ(renderComparison(decodeComparison(bytesOf(hex)), noAliases()),
                  std::string("整数1") + operators[code] + "整数2")
            << hex;
    }
}

TEST(CompoundDecoder, ConnectorsBetweenComparisons)
{
    const std::string a = "0E 04 03 02 01 02 02 07 06 01 00 00 00 01";
    const std::string b = "0E 04 03 02 02 02 03 07 06 01 00 00 00 02";
    auto render = [](const std::string& hex, std::size_t count) {
        const std::string bytes = bytesOf(hex);
        return renderCompoundCondition(decodeCompoundCondition(bytes, count), noAliases());
    };
    const std::string both = a + " 02 01 " + b;
    EXPECT_EQ(render(both, 30), "整数1>1 并且 整数2<2");
    EXPECT_EQ(render(a + " 02 02 " + b, 30), "整数1>1 或者 整数2<2");
    EXPECT_EQ(render(a + " 02 07 " + b, 30), "整数1>1整数2<2");
    EXPECT_EQ(render(both, 29), "") << "the count ends inside a part";
    EXPECT_EQ(render(both, 31), "") << "the count runs past the bytes";
    EXPECT_EQ(render(a + " 00 " + b, 29), "");
    EXPECT_EQ(render(both, 16), "整数1>1 并且 ");
}

TEST(ExpressionListDecoder, KeepsPartsWithTokens)
{
    const HexCase cases[] = {
        {"0F 07 06 01 00 00 00 01 07 06 01 00 00 00 02", "1, 2"},
        {"0B 07 06 01 00 00 00 01 01 02 01", "1"},              // parts of 1 and 2 bytes
        {"0A 07 06 01 00 00 00 01 02 01", "1"},
        {"10 07 06 01 00 00 00 01 07 06 01 00 00 00 02", ""},   // L beyond the bytes
        {"01", ""},
    };
    for (const HexCase& c : cases)
        EXPECT_EQ(renderExpressionList(decodeExpressionList(bytesOf(c.hex)), noAliases()), c.text) << c.hex;
}

TEST(StatementDecoder, JoinedByTheCallersSeparator)
{
    const std::string bytes =
        bytesOf("0E 04 03 02 01 02 01 07 06 01 00 00 00 01 0E 04 03 02 02 02 01 07 06 01 00 00 00 02");
    EXPECT_EQ(renderStatementList(decodeStatementList(bytes, bytes.size()), ";", noAliases()),
              "整数1=1;整数2=2");
    EXPECT_EQ(renderStatementList(decodeStatementList(bytes, bytes.size()), " / ", noAliases()),
              "整数1=1 / 整数2=2");
    EXPECT_EQ(renderStatementList(decodeStatementList(bytes, bytes.size() - 1), ";", noAliases()), "");
}

TEST(CallDecoders, ArgumentsByCountAndTheLeftPartOnlyWithTokens)
{
    auto test = [](const std::string& hex, const std::string& name) {
        return renderFunctionCallTest(decodeFunctionCallTest(bytesOf(hex)), name, noAliases());
    };
    EXPECT_EQ(test("08 04 03 02 01 02 01 01", "函数3"), "整数1 = 函数3( )");
    EXPECT_EQ(test("0F 04 03 02 01 02 01 08 07 06 01 00 00 00 05", "函数3"), "整数1 = 函数3( 5 )");
    EXPECT_EQ(test("13 01 02 00 0F 07 06 01 00 00 00 01 07 06 01 00 00 00 02", "f"), "f(1, 2)");
    EXPECT_EQ(test("07 04 03 02 01 02 01", "函数3"), "函数3( )") << "two parts";

    auto assign = [](const std::string& hex, const std::string& name) {
        return renderFunctionCallAssign(decodeFunctionCallAssign(bytesOf(hex)), name, noAliases());
    };
    const std::string call = "10 04 03 02 01 02 01 04 03 3B 03 05 04 03 02 02";
    EXPECT_EQ(assign(call, "调用"), "整数1 = 调用[函数3]( 整数2 )");
    EXPECT_EQ(assign(call, ""), "整数1 = 函数3( 整数2 )");
    EXPECT_EQ(assign("0D 01 02 00 04 03 3B 03 05 04 03 02 02", ""), "函数3( 整数2 )");
    EXPECT_EQ(assign("0F 04 03 02 01 02 01 08 07 06 01 00 00 00 05", ""), "( )") << "three parts";
}

// Every decoder and renderer over one buffer; only that nothing goes wrong
// is checked here (the suite runs under the address and undefined-behaviour
// sanitizers).
void decodeEverything(const std::string& bytes)
{
    const NameTable& t = noAliases();
    renderExpression(decodeExpression(bytes), t);
    renderComparison(decodeComparison(bytes), t);
    renderExpressionList(decodeExpressionList(bytes), t);
    renderFunctionCallTest(decodeFunctionCallTest(bytes), "f", t);
    renderFunctionCallAssign(decodeFunctionCallAssign(bytes), "f", t);
    for (std::size_t count : {bytes.size(), bytes.size() / 2, bytes.size() + 1}) {
        renderCompoundCondition(decodeCompoundCondition(bytes, count), t);
        renderStatementList(decodeStatementList(bytes, count), ";", t);
    }
}

// Valid byte code of every form, from the compiler.
std::vector<std::string> specimens()
{
    const NameTable& t = noAliases();
    return {
        encodeExpression(compileExpression("(整数1 + 全局整数300) * 数组3[2] - \"ab\" << {01 02} + 1.5 + 数组1_2_3", t)),
        encodeComparison(parseComparison("输入闭合计数300 >= 0x1F", t)),
        encodeCompoundCondition(parseCompoundCondition("整数1 > 1 并且 整数2 < 2 或者 星期 = 3", t)),
        encodeExpressionList(parseExpressionList("1, 输出201, 'a'", t)),
        encodeStatementList(parseStatementList("整数1 = 1; 整数2 = 整数1 + 2", t)),
        encodeFunctionCallTest(parseFunctionCallTest("整数1 = 函数3(整数2, 5)", t)),
        encodeFunctionCallAssign(parseFunctionCallAssign("整数1 = 函数3(整数2, 5)", t)),
    };
}

TEST(DamagedByteCode, TruncatedAtEveryOffset)
{
    for (const std::string& code : specimens()) {
        ASSERT_FALSE(code.empty());
        for (std::size_t n = 0; n < code.size(); ++n)
            decodeEverything(code.substr(0, n));
    }
    // A cut expression is always empty: its L names bytes that are missing.
    const std::string e = specimens()[0];
    for (std::size_t n = 0; n < e.size(); ++n)
        EXPECT_TRUE(decodeExpression(e.substr(0, n)).tokens.empty()) << n;
}

TEST(DamagedByteCode, EveryByteChanged)
{
    for (const std::string& code : specimens()) {
        for (std::size_t i = 0; i < code.size(); ++i) {
            for (int v : {0x00, 0x01, 0x02, 0x03, 0x05, 0x41, 0x42, 0x64, 0x7F, 0x80, 0xFF}) {
                std::string damaged = code;
                damaged[i] = static_cast<char>(v);
                decodeEverything(damaged);
            }
        }
    }
}

TEST(DamagedByteCode, RandomBytes)
{
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> byte(0, 255), small(0, 12), size(0, 300);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(static_cast<std::size_t>(size(rng) % (round % 3 == 0 ? 300 : 24)), '\0');
        for (char& b : bytes)
            // Mostly small values, so that length bytes often fit and the
            // walks get deep before they fail.
            b = static_cast<char>(round % 2 ? small(rng) : byte(rng));
        decodeEverything(bytes);
    }
}

}  // namespace
}  // namespace orlo
