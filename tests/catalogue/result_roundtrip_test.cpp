// The param3 text typed back gives the same bytes: for many generated lines
// of every kind family whose param3 has a text, encoding the text into the
// line leaves the text as it was and is stable the second time, and (where
// the encoder writes what the text shows) encoding it into a fresh line gives
// the same text, so no value is lost or moved on the way.
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "catalogue/result_encoding.h"
#include "catalogue/result_text.h"
#include "catalogue/table.h"
#include "expr/expression.h"
#include "expr/expression_forms.h"
#include "expr/names.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using Instruction = std::array<std::uint8_t, 256>;

// How a family's param3 bytes are generated.
enum class Gen {
    Bytes,        // P[0..15] random
    String,       // count in P[0], random non-zero bytes from P[1]
    Hex,          // count in P[0], random bytes from P[1]
    String27,     // P[0..3] random, count in P[4], non-zero bytes from P[5]
    Hex27,        // P[0..3] random, count in P[4], bytes from P[5]
    Real1,        // P[0] random, a double in P[1..8]
    Real3,        // P[0], P[1] random, P[2] an operator code 0..5, a double in P[3..10]
    Expression,   // byte code counted in P[0]
    List,
    Statements,
    CallTest,
    CallAssign,
    Choice0,      // a suggestion position in P[0], stored by the pick
    Choice1,      // P[0] = 1 and a position in P[1]
};

struct Family {
    std::uint8_t kind;
    ByteRange param1;
    ByteRange param2;
    Gen gen;
    bool fresh;  // the encoder writes every byte the text shows
};

constexpr ByteRange kAny{0, 255};

const Family kFamilies[] = {
    {1, only(4), span(0, 40), Gen::Bytes, true},
    {1, span(11, 17), span(0, 40), Gen::Bytes, true},
    {1, span(5, 7), kAny, Gen::Bytes, true},
    {1, span(18, 23), span(0, 40), Gen::Bytes, true},
    {3, only(4), kAny, Gen::Bytes, true},
    {3, span(11, 23), kAny, Gen::Bytes, true},
    {3, span(5, 7), kAny, Gen::Bytes, false},  // kind 3 takes no mask from the text
    {4, kAny, span(0, 64), Gen::Bytes, true},
    {4, kAny, span(65, 255), Gen::Bytes, false},
    {0, kAny, kAny, Gen::Bytes, false},
    {5, kAny, kAny, Gen::Bytes, false},
    {12, kAny, kAny, Gen::Bytes, false},
    {18, kAny, kAny, Gen::Bytes, false},
    {6, kAny, kAny, Gen::Bytes, true},
    {8, kAny, kAny, Gen::Bytes, true},
    {2, kAny, kAny, Gen::Bytes, true},
    {7, kAny, kAny, Gen::Bytes, true},
    {15, kAny, kAny, Gen::Bytes, true},
    {17, kAny, kAny, Gen::Bytes, true},
    {22, kAny, kAny, Gen::Bytes, true},
    {23, kAny, kAny, Gen::Bytes, true},
    {24, kAny, kAny, Gen::Bytes, true},
    {13, kAny, span(2, 8), Gen::Bytes, true},
    {14, kAny, only(1), Gen::Bytes, true},
    {16, only(1), span(2, 10), Gen::Bytes, true},
    {16, only(2), kAny, Gen::Bytes, true},
    {20, kAny, span(1, 15), Gen::Bytes, true},
    {25, only(1), span(1, 2), Gen::Bytes, true},
    {25, span(2, 3), span(1, 6), Gen::Bytes, true},
    {25, span(2, 3), span(7, 8), Gen::Bytes, false},
    {26, only(1), span(1, 18), Gen::Bytes, true},
    {26, only(2), span(1, 24), Gen::Bytes, true},
    {26, only(3), span(1, 5), Gen::Bytes, true},
    {26, only(4), span(1, 8), Gen::Bytes, true},
    {26, only(5), span(1, 3), Gen::Bytes, true},
    {26, only(6), span(1, 2), Gen::Bytes, true},
    {26, only(7), span(1, 12), Gen::Bytes, true},
    {26, only(8), span(1, 2), Gen::Bytes, true},
    {27, only(1), span(1, 8), Gen::Bytes, true},
    {27, span(3, 8), span(1, 8), Gen::Bytes, true},
    {29, only(1), span(2, 10), Gen::Bytes, true},
    {29, span(4, 5), span(2, 10), Gen::Bytes, true},
    {29, only(7), span(2, 10), Gen::Bytes, true},
    {29, only(2), span(2, 10), Gen::Bytes, true},
    {29, only(3), span(1, 9), Gen::Bytes, true},
    {29, only(6), span(1, 9), Gen::Bytes, true},
    {29, only(1), only(1), Gen::Real1, true},
    {29, only(4), only(1), Gen::Real1, true},
    {29, only(7), only(1), Gen::Real1, true},
    {29, only(2), only(1), Gen::Real3, true},
    {29, only(5), only(1), Gen::Real3, true},
    {9, only(1), kAny, Gen::Hex, true},
    {11, kAny, kAny, Gen::Hex, true},
    {21, kAny, only(1), Gen::Hex, true},
    {21, kAny, only(3), Gen::Hex, true},
    {21, kAny, only(5), Gen::Hex, true},
    {32, kAny, only(1), Gen::Hex, true},
    {33, kAny, only(1), Gen::Hex, true},
    {34, kAny, only(1), Gen::Hex, true},
    {10, kAny, kAny, Gen::String, true},
    {16, only(1), only(1), Gen::String, true},
    {21, kAny, span(6, 7), Gen::String, true},
    {32, kAny, only(2), Gen::String, true},
    {33, kAny, only(2), Gen::String, true},
    {34, kAny, only(2), Gen::String, true},
    {27, only(2), only(1), Gen::Hex27, true},
    {27, only(2), only(7), Gen::Hex27, true},
    {27, only(2), only(2), Gen::String27, true},
    {27, only(2), only(8), Gen::String27, true},
    {30, only(1), kAny, Gen::Statements, true},
    {30, only(2), span(1, 100), Gen::CallTest, true},
    {30, only(3), only(1), Gen::Expression, true},
    {30, only(3), only(4), Gen::CallAssign, true},
    {30, span(4, 8), kAny, Gen::Expression, true},
    {30, span(9, 255), kAny, Gen::List, true},
    {32, kAny, only(3), Gen::Expression, true},
    {32, kAny, only(5), Gen::Expression, true},
    {32, kAny, only(4), Gen::List, true},
    {33, kAny, only(3), Gen::Expression, true},
    {34, kAny, only(4), Gen::List, true},
    {31, kAny, kAny, Gen::List, true},
    {35, kAny, kAny, Gen::List, true},
    {36, kAny, kAny, Gen::List, true},
    {39, kAny, kAny, Gen::List, true},
    {200, kAny, kAny, Gen::List, true},
    {9, only(2), kAny, Gen::Choice1, true},
    {19, kAny, span(1, 3), Gen::Choice0, true},
    {19, kAny, span(6, 25), Gen::Choice0, true},
    {25, only(1), only(3), Gen::Choice0, true},
};

constexpr int kLinesPerFamily = 150;

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(between(0, 255)); }

    // A double with at most three decimals, or any finite double at all.
    double anyDouble()
    {
        if (between(0, 1)) {
            const std::string text = format("%s%d.%03d", between(0, 1) ? "-" : "",
                                            between(0, 9999999), between(0, 999));
            return std::strtod(text.c_str(), nullptr);
        }
        for (;;) {
            const std::uint64_t bits = (std::uint64_t(rng_()) << 32) | rng_();
            double v = 0;
            std::memcpy(&v, &bits, sizeof v);
            if (std::isfinite(v))
                return v;
        }
    }

    std::string operand()
    {
        switch (between(0, 14)) {
        case 0: return format("整数%d", between(1, 255));
        case 1: return format("全局整数%d", between(1, 400));
        case 2: return format("数组%d", between(1, 200));
        case 3: return format("全局数组%d", between(1, 200));
        case 4: return format("输入%d", between(1, 300));
        case 5: return format("输出%d", between(1, 32));
        case 6: return format("定时器%d", between(1, 200));
        case 7: return format("%d", between(-5, 100000));
        case 8: return format("0x%X", between(0, 0xFFFF));
        case 9: return format("%d.%02d", between(0, 99), between(0, 99));
        case 10: return format("{%02X %02X}", between(0, 255), between(0, 255));
        case 11: return format("\"s%d\"", between(0, 99));
        case 12: return format("数组%d_%d_%d", between(1, 9), between(0, 99), between(1, 4));
        case 13: return format("整数%d[%d]", between(1, 9), between(0, 9));
        default: return "温度";  // the alias of 整数1
        }
    }

    std::string expression()
    {
        static const char* const kOperators[] = {" + ", " - ", " * ", " / ", " % ", " & ",
                                                 " | ", " ^ ", " << ", " >> "};
        std::string out = operand();
        for (int i = between(0, 3); i > 0; --i) {
            std::string next = operand();
            if (between(0, 4) == 0)
                next = "(" + next + kOperators[between(0, 9)] + operand() + ")";
            out += kOperators[between(0, 9)] + next;
        }
        return out;
    }

    std::string list(int most)
    {
        std::string out = expression();
        for (int i = between(0, most - 1); i > 0; --i)
            out += ", " + expression();
        return out;
    }

    std::string comparison()
    {
        static const char* const kComparisons[] = {" = ", " > ", " < ", " >= ", " <= ", " <> "};
        return operand() + kComparisons[between(0, 5)] + expression();
    }

    std::string formula(Gen gen)
    {
        switch (gen) {
        case Gen::Expression:
            return encodeExpression(compileExpression(expression()));
        case Gen::List:
            return encodeExpressionList(parseExpressionList(list(5)));
        case Gen::Statements: {
            std::string text = comparison();
            for (int i = between(0, 2); i > 0; --i)
                text += "; " + comparison();
            return encodeStatementList(parseStatementList(text));
        }
        case Gen::CallTest:
        case Gen::CallAssign: {
            std::string text = between(0, 2) ? operand() + " = " : std::string();
            text += format("函数%d(", between(1, 100));
            if (between(0, 3))
                text += list(3);
            text += ")";
            return gen == Gen::CallTest ? encodeFunctionCallTest(parseFunctionCallTest(text))
                                        : encodeFunctionCallAssign(parseFunctionCallAssign(text));
        }
        default:
            return std::string();
        }
    }

    // A line of the family; `picked` receives the bytes a suggestion pick stored.
    Instruction line(const Family& f, Instruction& picked)
    {
        Instruction ins{};
        ins[0] = f.kind;
        ins[1] = static_cast<std::uint8_t>(between(f.param1.low, f.param1.high));
        ins[2] = static_cast<std::uint8_t>(between(f.param2.low, f.param2.high));
        picked = ins;
        std::uint8_t* p = ins.data() + 3;
        switch (f.gen) {
        case Gen::Bytes:
            for (int i = 0; i < 16; ++i)
                p[i] = byte();
            break;
        case Gen::String:
        case Gen::Hex:
            p[0] = static_cast<std::uint8_t>(between(0, 200));
            for (int i = 1; i <= p[0]; ++i)
                p[i] = f.gen == Gen::Hex ? byte() : static_cast<std::uint8_t>(between(1, 255));
            break;
        case Gen::String27:
        case Gen::Hex27:
            for (int i = 0; i < 4; ++i)
                p[i] = byte();
            p[4] = static_cast<std::uint8_t>(between(0, 200));
            for (int i = 5; i < 5 + p[4]; ++i)
                p[i] = f.gen == Gen::Hex27 ? byte() : static_cast<std::uint8_t>(between(1, 255));
            break;
        case Gen::Real1:
        case Gen::Real3: {
            const int at = f.gen == Gen::Real1 ? 1 : 3;
            for (int i = 0; i < at; ++i)
                p[i] = byte();
            if (f.gen == Gen::Real3)
                p[2] = static_cast<std::uint8_t>(between(0, 5));
            const double d = anyDouble();
            std::memcpy(p + at, &d, sizeof d);  // least significant byte first on our targets
            break;
        }
        case Gen::Choice0:
            p[0] = static_cast<std::uint8_t>(between(0, 3));
            picked[3] = p[0];
            break;
        case Gen::Choice1:
            p[0] = 1;
            p[1] = static_cast<std::uint8_t>(between(0, 32));
            picked[3] = 1;
            picked[4] = p[1];
            break;
        default: {
            std::string code;
            do
                code = formula(f.gen);
            while (code.empty());
            p[0] = static_cast<std::uint8_t>(code.size());
            std::memcpy(p + 1, code.data(), code.size());
            break;
        }
        }
        return ins;
    }

private:
    std::mt19937 rng_;
};

std::string describe(const Instruction& ins)
{
    return hexText(ins.data(), 24);
}

TEST(ResultRoundTrip, Param3TextTypedBackGivesTheSameBytes)
{
    FakeShell fake;
    ShellScope scope(fake);
    names().clear();
    ASSERT_EQ(names().rename("整数1", "温度"), "");

    Generator gen(20240611);
    for (const Family& f : kFamilies) {
        int shown = 0;
        for (int i = 0; i < kLinesPerFamily; ++i) {
            Instruction picked;
            const Instruction original = gen.line(f, picked);
            const std::string text = resultParam3Text(original.data());
            shown += text.empty() ? 0 : 1;

            // Typed back into the line: the text stays, and a second time
            // changes no byte.
            Instruction typed = original;
            encodeResultParam3(text, typed.data());
            ASSERT_EQ(resultParam3Text(typed.data()), text) << describe(original);
            Instruction again = typed;
            encodeResultParam3(text, again.data());
            ASSERT_EQ(again, typed) << describe(original);

            // Typed into a fresh line (holding only what the lists chose):
            // every value the text shows comes back.
            if (f.fresh) {
                Instruction fresh = picked;
                encodeResultParam3(text, fresh.data());
                ASSERT_EQ(resultParam3Text(fresh.data()), text) << describe(original);
            }
        }
        EXPECT_GT(shown, kLinesPerFamily / 2) << "kind " << int(f.kind);
    }
    EXPECT_TRUE(fake.messages.empty()) << fake.lastMessage();
    names().clear();
}

// Lines whose param3 text once lost a value: the text typed into a line that
// holds only the kind and the choices gives every byte back.
TEST(ResultRoundTrip, EveryValueTheEncoderWritesIsShown)
{
    const char* const lines[] = {
        "1A 01 11 05 07",           // 局部整数5 = 全局小数7
        "1A 01 12 FF FE",           // 局部整数255 = 局部小数254
        "01 17 01 01 08 03 E8",     // output operation 23, stored like 22
        "08 01 01 FF FF FF FF",     // 清零 stores the number too
        "08 02 01 80 00 00 00",
        "08 02 07 7F FF FF FF",
    };
    for (const char* hex : lines) {
        Instruction original{};
        std::string bytes;
        ASSERT_TRUE(parseHexText(hex, bytes)) << hex;
        std::memcpy(original.data(), bytes.data(), bytes.size());
        Instruction fresh{};
        std::copy(original.begin(), original.begin() + 3, fresh.begin());
        encodeResultParam3(resultParam3Text(original.data()), fresh.data());
        EXPECT_EQ(hexText(fresh.data(), 12), hexText(original.data(), 12)) << hex;
    }

    // Doubles keep every bit, whatever their size.
    const double values[] = {0.1234567, -1.0 / 3, DBL_MAX, -DBL_MAX, DBL_MIN,
                             DBL_TRUE_MIN, 123456789.98765432, -0.0};
    const struct {
        int param1;
        int at;  // param3 byte of the double
    } forms[] = {{1, 1}, {4, 1}, {7, 1}, {2, 3}, {5, 3}};
    for (const auto& f : forms) {
        for (const double v : values) {
            Instruction original{};
            original[0] = 29;
            original[1] = static_cast<std::uint8_t>(f.param1);
            original[2] = 1;
            original[3] = 9;
            original[4] = 200;
            if (f.at == 3)
                original[5] = static_cast<std::uint8_t>(f.param1 == 2 ? 1 : 3);  // "-", "/"
            std::memcpy(original.data() + 3 + f.at, &v, sizeof v);
            Instruction fresh{};
            std::copy(original.begin(), original.begin() + 3, fresh.begin());
            const std::string text = resultParam3Text(original.data());
            encodeResultParam3(text, fresh.data());
            EXPECT_EQ(fresh, original) << text;
        }
    }
}

// Formula lines keep their byte code exactly: the text the editor shows,
// compiled again, is the code the line holds.
TEST(ResultRoundTrip, FormulaByteCodeIsKeptExactly)
{
    names().clear();
    ASSERT_EQ(names().rename("整数1", "温度"), "");
    Generator gen(7);
    const Family formulas[] = {
        {30, only(1), kAny, Gen::Statements, true},     {30, only(2), only(5), Gen::CallTest, true},
        {30, only(3), only(4), Gen::CallAssign, true},  {32, kAny, only(3), Gen::Expression, true},
        {36, kAny, kAny, Gen::List, true},
    };
    for (const Family& f : formulas) {
        for (int i = 0; i < kLinesPerFamily; ++i) {
            Instruction picked;
            const Instruction original = gen.line(f, picked);
            Instruction fresh = picked;
            encodeResultParam3(resultParam3Text(original.data()), fresh.data());
            const std::size_t n = original[3] + 1u;
            ASSERT_EQ(hexText(fresh.data() + 3, n), hexText(original.data() + 3, n))
                << resultParam3Text(original.data());
        }
    }
    names().clear();
}

}  // namespace
}  // namespace orlo
