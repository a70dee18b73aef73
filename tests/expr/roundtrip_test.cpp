// Text to byte code to text to byte code: compiling the text the program list
// shows gives back the stored bytes. Checked over thousands of formulas of
// every form from a seeded generator, with aliases, full-width punctuation,
// strings with escapes, tokens the compiler drops and random blanks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

#include "expr/decoder.h"
#include "platform/strings.h"

namespace orlo {
namespace {

// Aliases, among them names that hold the bytes of the shift operators.
const char* const kAliases[][2] = {
    {"整数1", "温度"}, {"全局整数300", "湿度"}, {"输出2", "Speed"}, {"位变量3", "flag_a"},
    {"整数7", "亖"},   {"全局数组5", "倎"},     {"星期", "周"},     {"输入12", "剛"},
};

const char* const kWords[] = {
    "整数", "变量", "局部整数", "局部变量", "全局整数", "全局变量", "内部变量", "函数参数",
    "定时器", "全局浮点数", "全局小数", "PA", "pb", "PH", "脉冲计数", "浮点数", "局部浮点数",
    "小数", "UDP", "TCP", "数组", "局部数组", "全局数组", "数据口", "输入", "输出", "位变量",
    "CAN", "红外", "遥控发射", "模拟量输入", "IIC", "SPI", "联机开关量", "编码器", "模拟量输出",
    "输入计数器", "函数", "输入闭合计数", "输入断开计数", "输出闭合计数", "输出断开计数",
};

// Words whose records carry 16-bit numbers; the others carry one byte.
const char* const kWideWords[] = {"全局整数", "全局变量", "内部变量", "输入", "输出",
                                  "输入闭合计数", "输入断开计数", "输出闭合计数", "输出断开计数"};

// Resources that an opening "[" folds in and that render in front of it.
const char* const kIndexableWords[] = {"整数", "全局整数", "UDP", "TCP", "数组", "全局数组",
                                       "数据口", "联机开关量"};

const char* const kStringPieces[] = {
    "a", "Z", "7", " ", "+", "-", "*", "(", ")", "[", "]", ",", ";", "=", "<", ">", "<<",
    ">>", "'", "{", "}", "整数1", "，", "（", "并且", "\\n", "\\t", "\\r", "\\\"", "\\\\", "\\q",
    "誠", "淺", "n", "t",
};

class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : rng_(seed) {}

    // In a list or an argument the commas separate items: no top-level ","
    // and no dropped ")" that would leave a "(" open before the next item.
    std::string expression(bool inList = false) { return sum(0, inList); }

    std::string comparison()
    {
        static const char* const ops[] = {"=", ">", "<", ">=", "<=", "<>", "》=", "《》", "》"};
        return expression() + blanks() + ops[pick(9)] + blanks() + expression();
    }

    std::string compound()
    {
        std::string out = comparison();
        for (int i = pick(3); i > 0; --i)
            out += std::string(chance(50) ? " 并且 " : " 或者  ") + comparison();
        return out;
    }

    std::string list()
    {
        std::string out = expression(true);
        for (int i = pick(4); i > 0; --i)
            out += blanks() + (chance(80) ? "," : "，") + blanks() + expression(true);
        return out;
    }

    std::string statements()
    {
        std::string out;
        for (int i = 1 + pick(3); i > 0; --i) {
            out += chance(85) ? comparison() : expression();
            if (i > 1 || chance(30))
                out += chance(80) ? "; " : "；";
        }
        return out;
    }

    std::string call(bool withLeft, const std::string& function)
    {
        static const char* const ops[] = {"=", ">", "<", ">=", "<=", "<>"};
        std::string out;
        if (withLeft)
            out = expression() + blanks() + ops[pick(6)] + blanks();
        return out + function + (chance(80) ? "(" : "（") + (chance(80) ? list() : "") + ")";
    }

    // A function part without parentheses, so that the arguments' "(" is
    // the first one.
    std::string functionExpression()
    {
        return chance(70) ? operand() : operand() + " + " + operand();
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }

private:
    std::string blanks()
    {
        static const char* const b[] = {"", "", " ", "  ", "\t"};
        return b[pick(5)];
    }

    std::string number()
    {
        switch (pick(4)) {
        case 0: return format("%d", pick(10));
        case 1: return format("%d", pick(300));
        case 2: return format("%d", pick(70000));
        default: return format("%u", static_cast<unsigned>(rng_() & 0x7FFFFFFF));
        }
    }

    // A number the record of the word carries (a larger one refuses the
    // formula); in front of "[" it is one byte for every word.
    std::string index(const std::string& word, bool subscripted = false)
    {
        bool wide = false;
        for (const char* w : kWideWords)
            wide = wide || word == w;
        switch (pick(wide && !subscripted ? 3 : 2)) {
        case 0: return format("%d", pick(10));
        case 1: return format("%d", pick(256));
        default: return format("%d", pick(65536));
        }
    }

    std::string binaryOperator(bool inList)
    {
        static const char* const ops[] = {"+", "-", "*", "/", "%", "&", "|", "^", "<<", ">>",
                                          "×", "《《", "》》", ","};
        return ops[pick(inList ? 13 : 14)];
    }

    std::string stringLiteral()
    {
        std::string s = "\"";
        for (int i = pick(6); i > 0; --i)
            s += kStringPieces[pick(sizeof kStringPieces / sizeof *kStringPieces)];
        return s + "\"";
    }

    std::string hexList()
    {
        std::string s = chance(80) ? "{" : "『";
        for (int i = pick(5); i > 0; --i)
            s += format(chance(50) ? "%02X " : " %x", pick(256));
        return s + (s[0] == '{' ? "}" : "』");
    }

    std::string decimal()
    {
        std::string s = format("%d.%0*d", pick(1000), 1 + pick(6), pick(1000));
        return chance(10) ? "." + format("%d", pick(99)) : s;
    }

    std::string operand()
    {
        static const char kLetters[] = "abcXYZ019";
        switch (pick(12)) {
        case 0: return number();
        case 1: return format(chance(50) ? "0x%x" : "0X%X", static_cast<unsigned>(rng_()));
        case 2: return std::string("'") + kLetters[pick(9)] + "'";
        case 3: return kindName(pickKindCode());
        case 4: return decimal();
        case 5: return hexList();
        case 6: return stringLiteral();
        case 7:
            return std::string(chance(50) ? "数组" : "全局数组")
                   + format("%d_%d_%d", pick(65536), pick(300), pick(8));
        case 8: return kAliases[pick(8)][1];
        default: {
            const std::string word = kWords[pick(sizeof kWords / sizeof *kWords)];
            return word + index(word);
        }
        }
    }

    // Every resource kind whose name survives tokenising (92 holds brackets).
    int pickKindCode()
    {
        const int code = 1 + pick(94);
        return code == 92 ? 22 : code;
    }

    std::string indexable()
    {
        switch (pick(3)) {
        case 0: return kindName(pickKindCode());
        case 1: return kAliases[pick(2) == 0 ? 0 : 5][1];
        default: {
            const std::string word = kIndexableWords[pick(8)];
            return word + index(word, true);
        }
        }
    }

    std::string term(int depth, bool inList)
    {
        const int choice = depth >= 2 ? 0 : pick(10);
        std::string out;
        switch (choice) {
        case 6:
            out = "-" + blanks() + term(depth + 1, inList);
            break;
        case 7:
            out = std::string(chance(80) ? "(" : "（") + blanks() + sum(depth + 1, false) + blanks()
                  + (chance(80) ? ")" : "）");
            // An operand after ")" is dropped.
            if (chance(10))
                out += " " + operand();
            break;
        case 8:
            out = indexable() + (chance(80) ? "[" : "【") + sum(depth + 1, inList)
                  + (chance(80) ? "]" : "】");
            break;
        case 9:
            out = operand() + "(" + sum(depth + 1, false) + ")";
            break;
        default:
            out = operand();
        }
        return out;
    }

    std::string sum(int depth, bool inList)
    {
        std::string out;
        // A binary operator cannot open an expression: dropped.
        if (chance(5))
            out += "* ";
        out += term(depth, inList);
        for (int i = pick(depth == 0 ? 4 : 3); i > 0; --i) {
            out += blanks() + binaryOperator(inList);
            // Binary after binary, and words no kind knows: dropped.
            if (chance(5))
                out += blanks() + binaryOperator(true);
            if (chance(5))
                out += " xyz " + binaryOperator(true);
            out += blanks() + term(depth, inList);
        }
        // Trailing operators go; a ")" after one would go too, so only at the
        // top of a free-standing expression.
        if (depth == 0 && !inList && chance(10))
            out += " +" + std::string(chance(50) ? " -" : "");
        return out;
    }

    std::mt19937 rng_;
};

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& alias : kAliases)
            ASSERT_EQ(table_->rename(alias[0], alias[1]), "") << alias[1];
    }

    // Compiles the generated text, renders the stored bytes, compiles the
    // rendering: both byte codes must be equal. Returns whether the first
    // code was storable (not empty).
    bool check(const std::string& text, const std::function<std::string(const std::string&)>& compile,
               const std::function<std::string(const std::string&)>& render)
    {
        const std::string first = compile(text);
        if (first.empty())
            return false;
        const std::string shown = render(first);
        const std::string second = compile(shown);
        EXPECT_EQ(hexText(second), hexText(first)) << "text:     " << text << "\nrendered: " << shown;
        if (second != first)
            ++failures_;
        // The rendering is stable too.
        EXPECT_EQ(render(second), shown);
        return true;
    }

    void run(int cases, unsigned seed, const std::function<std::string(FormulaGenerator&)>& generate,
             const std::function<std::string(const std::string&)>& compile,
             const std::function<std::string(const std::string&)>& render)
    {
        FormulaGenerator gen(seed);
        int stored = 0;
        for (int i = 0; i < cases && failures_ < 10; ++i)
            stored += check(generate(gen), compile, render) ? 1 : 0;
        // Most formulas fit in 200 bytes; the property is not vacuous.
        EXPECT_GT(stored, cases / 2);
    }

    std::unique_ptr<NameTable> table_{new NameTable()};
    int failures_ = 0;
};

TEST_F(RoundTrip, Expressions)
{
    const NameTable& t = *table_;
    run(5000, 1, [](FormulaGenerator& g) { return g.expression(); },
        [&](const std::string& s) { return encodeExpression(compileExpression(s, t)); },
        [&](const std::string& b) { return renderExpression(decodeExpression(b), t); });
}

TEST_F(RoundTrip, Comparisons)
{
    const NameTable& t = *table_;
    run(1500, 2, [](FormulaGenerator& g) { return g.comparison(); },
        [&](const std::string& s) { return encodeComparison(parseComparison(s, t)); },
        [&](const std::string& b) { return renderComparison(decodeComparison(b), t); });
}

TEST_F(RoundTrip, CompoundConditions)
{
    const NameTable& t = *table_;
    run(1500, 3, [](FormulaGenerator& g) { return g.compound(); },
        [&](const std::string& s) { return encodeCompoundCondition(parseCompoundCondition(s, t)); },
        [&](const std::string& b) { return renderCompoundCondition(decodeCompoundCondition(b, b.size()), t); });
}

TEST_F(RoundTrip, ExpressionLists)
{
    const NameTable& t = *table_;
    run(1500, 4, [](FormulaGenerator& g) { return g.list(); },
        [&](const std::string& s) { return encodeExpressionList(parseExpressionList(s, t)); },
        [&](const std::string& b) { return renderExpressionList(decodeExpressionList(b), t); });
}

TEST_F(RoundTrip, StatementLists)
{
    const NameTable& t = *table_;
    run(1500, 5, [](FormulaGenerator& g) { return g.statements(); },
        [&](const std::string& s) { return encodeStatementList(parseStatementList(s, t)); },
        [&](const std::string& b) { return renderStatementList(decodeStatementList(b, b.size()), ";", t); });
}

TEST_F(RoundTrip, FunctionCallTests)
{
    // The test form drops the function's name, so any name renders back.
    const NameTable& t = *table_;
    run(1500, 6, [](FormulaGenerator& g) { return g.call(g.chance(80), g.chance(50) ? "函数3" : "调用 "); },
        [&](const std::string& s) { return encodeFunctionCallTest(parseFunctionCallTest(s, t)); },
        [&](const std::string& b) { return renderFunctionCallTest(decodeFunctionCallTest(b), "函数12", t); });
}

TEST_F(RoundTrip, FunctionCallAssignments)
{
    const NameTable& t = *table_;
    run(1500, 7, [](FormulaGenerator& g) { return g.call(g.chance(80), g.functionExpression()); },
        [&](const std::string& s) { return encodeFunctionCallAssign(parseFunctionCallAssign(s, t)); },
        [&](const std::string& b) { return renderFunctionCallAssign(decodeFunctionCallAssign(b), "", t); });
}

// Every double-byte character whose second byte is one of the formula's
// special bytes ("\\" above all), inside a string next to each escape: the
// string keeps the character whole and shows it without a stray backslash.
TEST(StringRoundTrip, CharactersWhoseSecondByteIsSpecial)
{
    const std::unique_ptr<NameTable> noAliases(new NameTable());
    const NameTable& table = *noAliases;
    const struct {
        const char* written;  // after the character, inside the quotes
        const char* bytes;    // what that stands for
    } escapes[] = {{"", ""}, {"n", "n"}, {"\\n", "\n"}, {"\\\"", "\""}, {"\\\\", "\\"}, {"\\t", "\t"}};
    int failures = 0;
    for (const char trail : {'\\', '[', ']', '|'}) {
        for (int lead = 0x81; lead <= 0xFE && failures < 10; ++lead) {
            const std::string c{static_cast<char>(lead), trail};
            for (const auto& e : escapes) {
                const std::string text = "\"" + c + e.written + "\" + 1";
                const Expression compiled = compileExpression(text, table);
                const std::string code = encodeExpression(compiled);
                ASSERT_EQ(compiled.tokens.size(), 3u) << hexText(text);
                EXPECT_EQ(hexText(compiled.tokens[0].bytes), hexText(c + e.bytes)) << hexText(text);
                EXPECT_EQ(hexText(renderExpression(decodeExpression(code), table)), hexText(text));
                failures += compiled.tokens[0].bytes != c + e.bytes;
            }
        }
    }
}

}  // namespace
}  // namespace orlo
