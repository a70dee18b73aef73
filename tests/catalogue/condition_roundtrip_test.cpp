// Typing back the param3 text of a condition gives the same bytes. Records of
// every kind, with parameters inside and outside their lists, are generated
// from a seeded generator over everything the encoder can store; their
// param3 text, prepared as the line editor prepares it, is encoded again
// (a) into the record itself, as when an existing line is confirmed, and
// (b) into a fresh line of the same kind, parameters and pick. Both must
// give back every one of the 256 bytes, with and without aliases.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "catalogue/condition_encoding.h"
#include "catalogue/condition_text.h"
#include "catalogue/param_text_prep.h"
#include "expr/names.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo {
namespace {

using Record = std::array<std::uint8_t, 256>;

const char* const kAliases[][2] = {
    {"整数1", "温度"}, {"全局整数3", "门限"}, {"输入2", "门磁"}, {"全局整数300", "Speed"},
};

class RecordGenerator {
public:
    // Aliases appear in formulas only when the table defines them: an
    // unknown name is dropped, and a comparison left with an operator but
    // no left side does not read back (its text starts with the operator).
    RecordGenerator(unsigned seed, bool withAliases) : rng_(seed), withAliases_(withAliases) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(pick(256)); }

    // Kind 1 to 25 with parameters mostly inside their lists, sometimes
    // anywhere; the bytes after them are noise or zeros.
    Record record(bool noise)
    {
        Record r{};
        if (noise) {
            for (std::uint8_t& b : r)
                b = byte();
        }
        r[0] = static_cast<std::uint8_t>(1 + pick(25));
        r[1] = static_cast<std::uint8_t>(chance(85) ? pick(9) : pick(256));
        r[2] = static_cast<std::uint8_t>(chance(85) ? pick(11) : pick(256));
        if (r[0] == 24 && r[1] == 2 && chance(50))
            r[2] = static_cast<std::uint8_t>(1 + pick(100));
        fill(r);
        return r;
    }

private:
    // Puts values the encoder can store into the bytes the layout reads.
    void fill(Record& r)
    {
        switch (conditionParam3Layout(r.data())) {
        case ConditionParam3::ClockTime:
            for (int i = 4; i < 7; ++i)
                r[i] = static_cast<std::uint8_t>(pick(100));
            break;
        case ConditionParam3::String:
            setData(r, 3, text(pick(201)));
            break;
        case ConditionParam3::CheckedHex:
        case ConditionParam3::Hex:
            setData(r, 3, bytes(pick(201)));
            break;
        case ConditionParam3::LocalArrayHex:
            setData(r, 7, bytes(pick(201)));
            break;
        case ConditionParam3::LocalArrayString:
            setData(r, 7, text(pick(201)));
            break;
        case ConditionParam3::FloatValue:
            r[4] = static_cast<std::uint8_t>(pick(6));
            setDouble(r, 5, decimal());
            break;
        case ConditionParam3::FloatVariable:
            r[4] = static_cast<std::uint8_t>(pick(6));
            break;
        case ConditionParam3::CompoundCondition:
            encodeConditionParam3(compound(), r.data());
            break;
        case ConditionParam3::FunctionCallTest:
            encodeConditionParam3(call(), r.data());
            break;
        case ConditionParam3::Expression:
            encodeConditionParam3(expression(0), r.data());
            break;
        case ConditionParam3::ExpressionList:
            encodeConditionParam3(list(), r.data());
            break;
        default:
            // Every byte pattern is a value: numbers of all 32 bits, resource
            // numbers, choice positions, radio codes.
            break;
        }
    }

    static void setData(Record& r, std::size_t countOffset, const std::string& data)
    {
        r[countOffset] = static_cast<std::uint8_t>(data.size());
        std::memcpy(r.data() + countOffset + 1, data.data(), data.size());
    }

    static void setDouble(Record& r, std::size_t offset, double v)
    {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof v);
        for (int i = 0; i < 8; ++i)
            r[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }

    std::string bytes(int n)
    {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += static_cast<char>(byte());
        return out;
    }

    // Text a user can type: no zero byte, no blank at either end, and no
    // typographic quote (the editor turns those into ASCII quotes).
    std::string text(int maxBytes)
    {
        static const char* const pieces[] = {
            "a", "Z", "0", "9", " ", ":", ";", "\"", "\\", "\\n", "'", "{", "}", "%", "%s",
            "整数", "数据", "啊", "，", "（", "）", "：", "\x81\x40", "\xFE\xFE", "~", "\x7F",
        };
        std::string out;
        const int target = maxBytes == 0 ? 0 : 1 + pick(maxBytes);
        while (static_cast<int>(out.size()) < target) {
            const std::string piece = pieces[pick(sizeof pieces / sizeof *pieces)];
            if (out.size() + piece.size() > static_cast<std::size_t>(maxBytes))
                break;
            out += piece;
        }
        return trim(out);
    }

    double decimal()
    {
        switch (pick(4)) {
        case 0:
            return static_cast<double>(pick(2000001) - 1000000) / 1000.0;
        case 1:
            return std::strtod(format("%d.%d", pick(100000), pick(1000000)).c_str(), nullptr);
        case 2: {
            // Any finite double at all.
            for (;;) {
                std::uint64_t bits = (std::uint64_t(rng_()) << 32) | rng_();
                double v = 0;
                std::memcpy(&v, &bits, sizeof v);
                if (std::isfinite(v))
                    return v;
            }
        }
        default:
            return -static_cast<double>(pick(1000)) / 8.0;
        }
    }

    std::string operand()
    {
        static const char* const words[] = {"整数", "全局整数", "输入", "输出", "定时器",
                                            "位变量", "数据口", "数组", "全局数组", "浮点数"};
        switch (pick(9)) {
        case 0: return format("%d", pick(100000));
        case 1: return format("0x%X", static_cast<unsigned>(pick(70000)));
        case 2: return format("%d.%d", pick(100), pick(1000));
        case 3: return "\"" + format("s%d", pick(9)) + (chance(30) ? "\\\"" : "") + "\"";
        case 4: return format("{%02X %02X}", pick(256), pick(256));
        case 5: return withAliases_ ? kAliases[pick(4)][1] : "整数2";
        case 6: return format("数组%d[%d]", 1 + pick(9), pick(20));
        default: {
            // Above 255 only where the record carries 16 bits.
            const int w = pick(10);
            return words[w] + format("%d", 1 + pick(w >= 1 && w <= 3 ? 400 : 255));
        }
        }
    }

    std::string expression(int depth)
    {
        static const char* const ops[] = {" + ", " - ", " * ", " / ", " % ", " & ", " | ",
                                          " ^ ", " << ", " >> "};
        std::string out = depth < 2 && chance(15) ? "(" + expression(depth + 1) + ")" : operand();
        for (int i = pick(3); i > 0; --i)
            out += ops[pick(10)] + operand();
        return out;
    }

    std::string comparison()
    {
        static const char* const ops[] = {" = ", " > ", " < ", " >= ", " <= ", " <> "};
        return expression(0) + ops[pick(6)] + expression(0);
    }

    std::string compound()
    {
        std::string out = comparison();
        for (int i = pick(3); i > 0; --i)
            out += (chance(50) ? " 并且 " : " 或者 ") + comparison();
        return out;
    }

    std::string list()
    {
        std::string out = expression(0);
        for (int i = pick(3); i > 0; --i)
            out += ", " + expression(0);
        return out;
    }

    std::string call()
    {
        std::string out = chance(70) ? operand() + " = " : std::string();
        out += format("函数%d(", 1 + pick(100));
        if (chance(80))
            out += list();
        return out + ")";
    }

    std::mt19937 rng_;
    bool withAliases_;
};

// The line the editor would start from for the record: kind and parameters,
// and the list pick that gave byte 3 for kinds whose param3 is chosen.
Record freshLine(const Record& r)
{
    Record fresh{};
    fresh[0] = r[0];
    fresh[1] = r[1];
    fresh[2] = r[2];
    if (conditionParam3Layout(r.data()) == ConditionParam3::Choice)
        pickConditionParam3(fresh.data(), r[3]);
    return fresh;
}

std::string typedBack(const Record& r)
{
    return prepareParam3Text(conditionParam3Source(r.data()), conditionParam3IsFormula(r[0]));
}

void checkRoundTrip(unsigned seed, int count, bool withAliases)
{
    RecordGenerator gen(seed, withAliases);
    FakeShell fake;
    ShellScope scope(fake);
    int perKind[26] = {};
    for (int i = 0; i < count; ++i) {
        const bool noise = i % 2 == 0;
        const Record r = gen.record(noise);
        ++perKind[r[0]];
        const std::string text = typedBack(r);

        Record again = r;
        encodeConditionParam3(text, again.data());
        ASSERT_EQ(hexText(again.data(), again.size()), hexText(r.data(), r.size()))
            << "into the line itself; param3 text: " << gbkToUtf8(text);

        if (!noise) {
            Record fresh = freshLine(r);
            encodeConditionParam3(text, fresh.data());
            ASSERT_EQ(hexText(fresh.data(), fresh.size()), hexText(r.data(), r.size()))
                << "into a fresh line; param3 text: " << gbkToUtf8(text);
        }
    }
    EXPECT_TRUE(fake.messages.empty()) << fake.lastMessage();
    for (int kind = 1; kind <= 25; ++kind)
        EXPECT_GT(perKind[kind], count / 50) << "kind " << kind;
}

TEST(ConditionRoundTrip, TypedBackParam3GivesTheSameBytes)
{
    checkRoundTrip(20240501u, 20000, false);
}

TEST(ConditionRoundTrip, TheSameWithAliases)
{
    for (const auto& a : kAliases)
        ASSERT_EQ(names().rename(a[0], a[1]), "");
    checkRoundTrip(7u, 10000, true);
    names().clear();
}

}  // namespace
}  // namespace orlo
