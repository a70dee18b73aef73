// Every line the line editor can build keeps its bytes through the editor:
// for each kind, param1 and param2 it offers (numbered resources at the two
// ends of their lists), each suggestion list at its first and last entry,
// and the values at the ends of each field's range, the line's param3 text
// typed into a new line gives the line's bytes, and opening the line and
// confirming it changes none of them.
#include <cfloat>
#include <cstring>

#include "catalogue/condition_encoding.h"
#include "catalogue/conditions.h"
#include "catalogue/line_sides.h"
#include "catalogue/param_text_prep.h"
#include "catalogue/result_encoding.h"
#include "catalogue/results.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "tests/ui/editing_fixture.h"

namespace orlo::test {
namespace {

using Instruction = std::array<std::uint8_t, kInstructionBytes>;

// One line as the user builds it: the side, the kind, the entries chosen
// from the two lists (from 1) and the suggestion picked (0 for none).
struct Offer {
    bool isResult;
    int kind, param1, param2, pick;
};

std::string describe(const Offer& o)
{
    return format("%s %d/%d/%d pick %d", o.isResult ? "result" : "condition", o.kind, o.param1,
                  o.param2, o.pick);
}

// How many entries a list has: the editor reads entries from 1 up to the first empty one.
template <typename Text>
int entries(Text text)
{
    int n = 0;
    while (n < 255 && !text(n + 1).empty())
        ++n;
    return n;
}

// Long lists of numbered resources at their two ends; short lists whole.
std::vector<int> sample(int count)
{
    if (count == 0)
        return {1};  // the editor leaves 1 in place
    if (count > 40)
        return {1, count};
    std::vector<int> all;
    for (int i = 1; i <= count; ++i)
        all.push_back(i);
    return all;
}

std::vector<Offer> everyOffer()
{
    std::vector<Offer> offers;
    for (const bool isResult : {false, true}) {
        for (const int kind : isResult ? offeredResultKinds() : offeredConditionKinds()) {
            Instruction ins{};
            ins[0] = static_cast<std::uint8_t>(kind);
            const int param1s = entries([&](int v) {
                return isResult ? resultParam1Text(kind, v) : conditionParam1Text(ins.data(), v);
            });
            for (const int p1 : sample(param1s)) {
                ins[1] = static_cast<std::uint8_t>(p1);
                const int param2s = entries([&](int v) {
                    return isResult ? resultParam2Text(kind, p1, v)
                                    : conditionParam2Text(ins.data(), v);
                });
                for (int p2 = 1; p2 <= std::max(param2s, 1); ++p2) {
                    ins[2] = static_cast<std::uint8_t>(p2);
                    const int picks = entries([&](int k) {
                        return isResult ? resultParam3Choice(ins.data(), k)
                                        : conditionParam3Text(ins.data(), k);
                    });
                    for (const int pick : picks ? std::vector<int>{1, picks} : std::vector<int>{0})
                        offers.push_back({isResult, kind, p1, p2, pick});
                }
            }
        }
    }
    return offers;
}

// ---- The values at the ends of each field's range.

enum class Value { Number, Decimal, Comparison, TwoDigits, Mask, Operator, Constant };
enum class Data { None, String, Hex };

struct Slot {
    Value value;
    int offset;  // instruction byte
    int width;
    int constant;
};

struct Layout {
    std::vector<Slot> slots;
    Data data = Data::None;
    int countOffset = 0;
};

Layout conditionLayout(const std::uint8_t* record)
{
    using L = ConditionParam3;
    const Slot n3{Value::Number, 3, 1, 0}, n4{Value::Number, 4, 1, 0}, n5{Value::Number, 5, 1, 0},
        n6{Value::Number, 6, 1, 0};
    switch (conditionParam3Layout(record)) {
    case L::Unsigned32:
    case L::Signed32: return {{{Value::Number, 3, 4, 0}}};
    case L::RadioCodes: return {{{Value::Number, 3, 4, 0}, {Value::Number, 7, 4, 0}}};
    case L::ClockTime:
        return {{{Value::TwoDigits, 4, 1, 0}, {Value::TwoDigits, 5, 1, 0}, {Value::TwoDigits, 6, 1, 0}}};
    case L::SecondsInInteger:
    case L::LocalArray: return {{n3}};
    case L::String: return {{}, Data::String, 3};
    case L::CheckedHex:
    case L::Hex: return {{}, Data::Hex, 3};
    case L::LocalArrayPair:
    case L::LocalIntegerPair: return {{n3, n4}};
    case L::LocalArrayHex: return {{n3}, Data::Hex, 7};
    case L::LocalArrayString: return {{n3}, Data::String, 7};
    case L::LocalIntegerValue: return {{n3, {Value::Number, 5, 4, 0}}};
    case L::LocalIntegerBit: return {{n3, n4, n5}};
    case L::LocalIntegerBits: return {{n3, n4, n5, n6}};
    case L::FloatValue:
        return {{n3, {Value::Comparison, 4, 1, 0}, {Value::Decimal, 5, 8, 0}}};
    case L::FloatVariable: return {{n3, {Value::Comparison, 4, 1, 0}, n5}};
    default: return {};  // chosen from a list, nothing, or a formula (tested on their own)
    }
}

Layout resultLayout(const std::uint8_t* instruction)
{
    using Source = ResultParam3Field::Source;
    const ResultParam3Layout from = resultParam3Layout(instruction);
    Layout layout;
    for (const ResultParam3Field& f : from.fields) {
        const Value v = f.source == Source::Decimal    ? Value::Decimal
                        : f.source == Source::Mask     ? Value::Mask
                        : f.source == Source::Operator ? Value::Operator
                        : f.source == Source::Constant ? Value::Constant
                                                       : Value::Number;
        layout.slots.push_back({v, 3 + f.at, f.width, f.value});
    }
    if (from.data == ResultParam3Layout::Data::String)
        layout.data = Data::String;
    else if (from.data == ResultParam3Layout::Data::Hex)
        layout.data = Data::Hex;
    layout.countOffset = 3 + from.countAt;
    return layout;
}

std::vector<std::uint64_t> ends(const Slot& s)
{
    switch (s.value) {
    case Value::Number:
        if (s.width == 4)
            return {0, 0xFFFFFFFF, 0x7FFFFFFF, 0x80000000};
        return {0, (std::uint64_t(1) << (8 * s.width)) - 1};
    case Value::Decimal: {
        std::vector<std::uint64_t> bits;
        for (const double d : {0.0, -DBL_MAX, DBL_MAX, DBL_TRUE_MIN, -1.0 / 3, -0.0}) {
            std::uint64_t b = 0;
            std::memcpy(&b, &d, sizeof d);
            bits.push_back(b);
        }
        return bits;
    }
    case Value::Comparison: return {0, 5};
    case Value::TwoDigits: return {0, 99};
    case Value::Mask: return {0, 0xFFFFFFFF, 0x80000001};
    case Value::Operator: return {0, 3};
    case Value::Constant: return {static_cast<std::uint64_t>(s.constant)};
    }
    return {0};
}

constexpr int kRounds = 6;

// Round r of the values: slot i takes end (r + i) of its range, the data
// block its r-th length (strings of whole double-byte characters or
// letters, hex lists of 00 or FF).
void putValues(Instruction& ins, const Layout& layout, int round)
{
    for (std::size_t i = 0; i < layout.slots.size(); ++i) {
        const Slot& s = layout.slots[i];
        const std::vector<std::uint64_t> e = ends(s);
        const std::uint64_t v = e[(static_cast<std::size_t>(round) + i) % e.size()];
        for (int b = 0; b < s.width; ++b) {
            const int shift = s.value == Value::Decimal ? 8 * b : 8 * (s.width - 1 - b);
            ins[static_cast<std::size_t>(s.offset + b)] = static_cast<std::uint8_t>(v >> shift);
        }
    }
    std::string data;
    if (layout.data == Data::String) {
        static const int lengths[] = {0, 1, 200};
        const int n = lengths[round % 3];
        data = round % 2 ? std::string(static_cast<std::size_t>(n), 'x') : std::string();
        for (int i = 0; round % 2 == 0 && i < n / 2; ++i)
            data += "啊";
        if (n == 1)
            data = "x";
    } else if (layout.data == Data::Hex) {
        static const int lengths[] = {0, 1, 166, 167, 200};
        data.assign(static_cast<std::size_t>(lengths[round % 5]), round % 2 ? '\xFF' : '\0');
    } else {
        return;
    }
    ins[static_cast<std::size_t>(layout.countOffset)] = static_cast<std::uint8_t>(data.size());
    std::memcpy(ins.data() + layout.countOffset + 1, data.data(), data.size());
}

// The line as the editor starts it: the kind with its defaults, the two
// choices and the picked suggestion, and the text it then shows encoded
// (a formula line starts with the formula its empty byte code shows).
Instruction freshLine(const Offer& o)
{
    const LineSide& side = lineSide(o.isResult);
    Instruction ins{};
    side.chooseKind(ins.data(), o.kind);
    ins[1] = static_cast<std::uint8_t>(o.param1);
    ins[2] = static_cast<std::uint8_t>(o.param2);
    if (o.pick > 0)
        side.pick(ins.data(), o.pick);
    side.encode(prepareParam3Text(side.param3Text(ins.data()), side.isFormula(o.kind)), ins.data());
    return ins;
}

// The bytes of the instruction a program image holds (its encoded length
// counts the two bytes in front of them).
std::string storedBytes(const LineSide& side, const Instruction& ins)
{
    const int length = side.kindInfo(ins.data()).length;
    return hexText(ins.data(), static_cast<std::size_t>(std::max(length - 2, 3)));
}

class LineEditorSweep : public EditingTest {
protected:
    // Builds the line in the editor as a user does, typing the text.
    Instruction typedIn(const Offer& o, const std::string& text)
    {
        program().main.lines.clear();
        drawMain();
        windows.addMainLine();
        choose(IDC_LINE_SIDE, o.isResult ? 1 : 0);
        const std::vector<int> kinds = o.isResult ? offeredResultKinds() : offeredConditionKinds();
        choose(IDC_LINE_KIND, static_cast<int>(std::find(kinds.begin(), kinds.end(), o.kind) - kinds.begin()));
        if (editorView().itemCount(IDC_LINE_PARAM1) > 0)
            choose(IDC_LINE_PARAM1, o.param1 - 1);
        if (editorView().itemCount(IDC_LINE_PARAM2) > 0)
            choose(IDC_LINE_PARAM2, o.param2 - 1);
        if (o.pick > 0)
            choose(IDC_LINE_PARAM3, o.pick - 1);
        typeParam3(text);
        confirm();
        return program().main.lines.at(0).instruction;
    }

    // Opens the line in the editor, shows its text and confirms it.
    Instruction confirmedUnchanged(const Offer& o, const Instruction& ins, std::string& shown)
    {
        ProgramLine line;
        line.isResult = o.isResult ? 1 : 0;
        line.instruction = ins;
        program().main.lines = {line};
        drawMain();
        doubleClickMainRow(0);
        shown = editorView().text(IDC_LINE_PARAM3);
        confirm();
        return program().main.lines.at(0).instruction;
    }
};

TEST_F(LineEditorSweep, EveryOfferedLineKeepsItsBytes)
{
    const std::vector<Offer> offers = everyOffer();
    ASSERT_GT(offers.size(), 500u);
    for (const Offer& o : offers) {
        const LineSide& side = lineSide(o.isResult);
        const Instruction fresh = freshLine(o);
        const Layout layout = o.isResult ? resultLayout(fresh.data()) : conditionLayout(fresh.data());
        for (int round = 0; round < kRounds; ++round) {
            Instruction line = fresh;
            putValues(line, layout, round);
            const std::string text = side.param3Text(line.data());
            const std::string where = describe(o) + format(" round %d, text ", round) + gbkToUtf8(text);

            // The text alone gives every byte: encoded into the fresh line ...
            Instruction typed = fresh;
            side.encode(prepareParam3Text(text, side.isFormula(o.kind)), typed.data());
            ASSERT_EQ(hexText(typed.data(), typed.size()), hexText(line.data(), line.size())) << where;
            // ... and typed into the editor, which may hold bytes of its
            // former choices past the line's length: the bytes a program
            // stores are compared. The editor's own path is slower, so it
            // takes the first rounds, where every field is at one of its
            // ends already.
            if (round < 2) {
                const Instruction built = typedIn(o, text);
                ASSERT_EQ(storedBytes(side, built), storedBytes(side, line)) << where;
            }

            std::string shown;
            ASSERT_EQ(confirmedUnchanged(o, line, shown), line) << where;
            ASSERT_EQ(shown, text) << where;
        }
    }
    EXPECT_TRUE(shell_.messages.empty()) << shell_.lastMessage();
}

}  // namespace
}  // namespace orlo::test
