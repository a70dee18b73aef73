// The condition param3 layout table and its encoder (see condition_encoding.h).
#include "catalogue/condition_encoding.h"

#include <cstring>
#include <iterator>

#include "catalogue/hex_check.h"
#include "catalogue/param3_data.h"
#include "catalogue/table.h"
#include "expr/expression.h"
#include "expr/expression_forms.h"
#include "expr/fullwidth.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using L = ConditionParam3;

struct LayoutRule {
    std::uint8_t kind;
    ByteRange param1;
    ByteRange param2;
    ConditionParam3 layout;
};

// The first rule that matches kind, param1 and param2 decides; combinations
// without a rule store nothing from the text (kinds 1, 2, 4, 6, 15 and 22,
// kind 7 with param1 2, kind 25 with param2 1, 8 or 9, ...).
constexpr LayoutRule kLayouts[] = {
    {3, kAnyValue, kAnyValue, L::Unsigned32},
    {5, kAnyValue, kAnyValue, L::Signed32},
    {13, kAnyValue, kAnyValue, L::Signed32},
    {14, kAnyValue, kAnyValue, L::Unsigned32},
    {18, kAnyValue, kAnyValue, L::Signed32},
    {7, only(1), kAnyValue, L::RadioCodes},
    {8, kAnyValue, only(1), L::ClockTime},
    {8, kAnyValue, only(2), L::SecondsInInteger},
    {9, kAnyValue, kAnyValue, L::Choice},
    {12, kAnyValue, kAnyValue, L::Choice},
    {17, kAnyValue, kAnyValue, L::Choice},
    {10, kAnyValue, kAnyValue, L::String},
    {11, kAnyValue, kAnyValue, L::CheckedHex},
    {16, only(1), kAnyValue, L::CheckedHex},
    {16, only(2), kAnyValue, L::String},
    {16, only(3), kAnyValue, L::CheckedHex},
    {16, only(4), kAnyValue, L::String},
    {16, only(5), kAnyValue, L::CheckedHex},
    {19, kAnyValue, only(1), L::CheckedHex},
    {19, kAnyValue, only(2), L::String},
    {19, kAnyValue, only(3), L::CheckedHex},
    {19, kAnyValue, only(4), L::String},
    {20, only(1), only(1), L::LocalArrayPair},
    {20, only(1), span(2, 3), L::LocalArray},
    {20, only(1), span(4, 7), L::LocalArrayPair},
    {20, only(2), only(1), L::LocalArrayHex},
    {20, only(2), only(2), L::LocalArrayString},
    {20, only(2), only(3), L::LocalArrayHex},
    {20, only(2), only(4), L::LocalArrayString},
    {21, only(1), span(1, 3), L::LocalIntegerValue},
    {21, span(2, 3), span(1, 3), L::LocalIntegerPair},
    {21, only(4), span(1, 4), L::LocalIntegerBit},
    {21, only(4), span(5, 6), L::LocalIntegerBits},
    {23, span(1, 2), only(1), L::FloatValue},
    {23, span(1, 2), span(2, 5), L::FloatVariable},
    {24, only(1), kAnyValue, L::CompoundCondition},
    {24, only(2), span(1, 100), L::FunctionCallTest},
    {25, kAnyValue, only(2), L::Hex},
    {25, kAnyValue, only(3), L::String},
    {25, kAnyValue, span(4, 6), L::Expression},
    {25, kAnyValue, only(7), L::ExpressionList},
};

constexpr std::uint8_t kFormulaKind = 24;

// Offsets inside the record.
constexpr std::size_t kParam3 = 3;
constexpr std::size_t kLocalArrayCount = 7;

// "无线参数:" and "无线数据:" label the two radio codes the editor fills in.
constexpr const char* kRadioWords[] = {"无线参数:", "无线数据:"};

void put32be(std::uint8_t* record, std::size_t offset, std::uint32_t v)
{
    record[offset] = static_cast<std::uint8_t>(v >> 24);
    record[offset + 1] = static_cast<std::uint8_t>(v >> 16);
    record[offset + 2] = static_cast<std::uint8_t>(v >> 8);
    record[offset + 3] = static_cast<std::uint8_t>(v);
}

std::uint8_t lowByte(long n)
{
    return static_cast<std::uint8_t>(static_cast<unsigned long>(n) & 0xFFu);
}

// The number the text begins with (after blanks), sign allowed, as 32 bits:
// "1500ms" is 1500, "-1" is FFFFFFFF, "abc" is 0. Values beyond
// -2^31 .. 2^32-1 are held at those ends, so both the signed and the unsigned
// text of every 32-bit pattern read back as that pattern.
std::uint32_t leadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kLimit = 0x100000000LL;  // beyond either end
    std::int64_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        v = v * 10 + (text[i] - '0');
        if (v > kLimit)
            v = kLimit;
    }
    if (negative)
        return static_cast<std::uint32_t>(v > 0x80000000LL ? -0x80000000LL : -v);
    return static_cast<std::uint32_t>(v >= kLimit ? kLimit - 1 : v);
}

// The text with every whole-character occurrence of the word replaced by a blank.
std::string blankOut(const std::string& text, const std::string& word)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, word.size(), word) == 0) {
            out += ' ';
            i += word.size();
            continue;
        }
        const std::size_t n = gbkCharLength(text, i);
        out.append(text, i, n);
        i += n;
    }
    return out;
}

void storeRadioCodes(const std::string& text, std::uint8_t* record)
{
    std::string s = text;
    for (const char* word : kRadioWords)
        s = blankOut(s, word);
    s = trim(s);
    const std::size_t blank = s.find(' ');
    if (blank == std::string::npos)
        return;
    put32be(record, 3, leadingNumber(s.substr(0, blank)));
    put32be(record, 7, leadingNumber(s.substr(blank + 1)));
}

void storeClockTime(const std::string& text, std::uint8_t* record)
{
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    if (digits.size() != 6)
        return;
    for (std::size_t i = 0; i < 3; ++i)
        record[4 + i] = static_cast<std::uint8_t>((digits[2 * i] - '0') * 10 + digits[2 * i + 1] - '0');
}

// Count byte, then the data right after it. Byte code over 200 bytes is
// stored as count 0; strings and hex lists are cut to 200 bytes before they
// come here, so the data always fits in the 256-byte record.
void storeData(std::uint8_t* record, std::size_t countOffset, const std::string& data)
{
    const std::size_t n = data.size() <= kMaxConditionData ? data.size() : 0;
    record[countOffset] = static_cast<std::uint8_t>(n);
    std::memcpy(record + countOffset + 1, data.data(), n);
}

// A formula's byte code. A refused formula has shown its message (the
// encoder shows it) and stores nothing: the line keeps the formula it had
// rather than losing it to an empty one.
template <typename Form>
void storeUnlessRefused(std::uint8_t* record, const Form& form,
                        std::string (*encode)(const Form&))
{
    const std::string bytes = encode(form);
    if (refusalOf(form).empty())
        storeData(record, kParam3, bytes);
}

// Strings are stored as typed, cut at a character boundary; the empty string
// stores nothing.
void storeString(std::uint8_t* record, std::size_t countOffset, const std::string& text)
{
    if (!text.empty())
        storeData(record, countOffset, stringData(text));
}

void storeNumbers(const std::string& text, std::uint8_t* record, int count)
{
    for (int i = 0; i < count; ++i)
        record[kParam3 + i] = lowByte(nthInteger(text, i + 1));
}

// "N:" then the data: byte 3 is the first number up to the first ":".
// Without a ":" the text cannot be split and nothing is stored.
void storeLocalArrayData(const std::string& text, std::uint8_t* record, bool hex)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return;
    record[kParam3] = lowByte(nthInteger(text.substr(0, colon + 1), 1));
    const std::string data = text.substr(colon + 1);
    if (hex)
        storeData(record, kLocalArrayCount, hexListData(data));
    else
        storeString(record, kLocalArrayCount, data);
}

void storeDouble(std::uint8_t* record, std::size_t offset, double value)
{
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof value, "IEEE-754 double");
    std::memcpy(&bits, &value, sizeof bits);
    for (std::size_t i = 0; i < 8; ++i)
        record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace

ConditionParam3 conditionParam3Layout(const std::uint8_t* record)
{
    for (const LayoutRule& rule : kLayouts) {
        if (rule.kind == record[0] && rule.param1.contains(record[1]) &&
            rule.param2.contains(record[2]))
            return rule.layout;
    }
    return L::None;
}

std::uint8_t floatComparisonCode(const std::string& text)
{
    auto has = [&](const char* op) { return text.find(op) != std::string::npos; };
    if (has(">="))
        return 3;
    if (has("<="))
        return 4;
    if (has("<>"))
        return 5;
    if (!has("=")) {
        if (has(">"))
            return 1;
        if (has("<"))
            return 2;
    }
    return 0;
}

void encodeConditionParam3(const std::string& text, std::uint8_t* record)
{
    switch (conditionParam3Layout(record)) {
    case L::None:
    case L::Choice:
        break;
    case L::Unsigned32:
    case L::Signed32:
        put32be(record, kParam3, leadingNumber(text));
        break;
    case L::RadioCodes:
        storeRadioCodes(text, record);
        break;
    case L::ClockTime:
        storeClockTime(text, record);
        break;
    case L::SecondsInInteger:
    case L::LocalArray:
        storeNumbers(text, record, 1);
        break;
    case L::String:
        storeString(record, kParam3, text);
        break;
    case L::CheckedHex:
        if (checkHexText(text))
            storeData(record, kParam3, hexListData(text));
        break;
    case L::Hex:
        storeData(record, kParam3, hexListData(text));
        break;
    case L::LocalArrayPair:
    case L::LocalIntegerPair:
        storeNumbers(text, record, 2);
        break;
    case L::LocalArrayHex:
        storeLocalArrayData(text, record, true);
        break;
    case L::LocalArrayString:
        storeLocalArrayData(text, record, false);
        break;
    case L::LocalIntegerValue:
        record[3] = lowByte(nthInteger(text, 1));
        put32be(record, 5, static_cast<std::uint32_t>(nthInteger(text, 2)));
        break;
    case L::LocalIntegerBit:
        storeNumbers(text, record, 3);
        break;
    case L::LocalIntegerBits:
        storeNumbers(text, record, 4);
        break;
    case L::FloatValue:
        record[3] = lowByte(nthInteger(text, 1));
        record[4] = floatComparisonCode(text);
        storeDouble(record, 5, nthDecimal(text, 2));
        break;
    case L::FloatVariable:
        record[3] = lowByte(nthInteger(text, 1));
        record[4] = floatComparisonCode(text);
        record[5] = lowByte(nthInteger(text, 2));
        break;
    case L::CompoundCondition:
        storeUnlessRefused(record, parseCompoundCondition(text), encodeCompoundCondition);
        break;
    case L::FunctionCallTest:
        storeUnlessRefused(record, parseFunctionCallTest(text), encodeFunctionCallTest);
        break;
    case L::Expression: {
        const Expression form = compileExpression(text);
        const std::string bytes = encodeExpression(form);
        if (form.refusal.empty())
            storeData(record, kParam3, bytes);
        break;
    }
    case L::ExpressionList:
        storeUnlessRefused(record, parseExpressionList(text), encodeExpressionList);
        break;
    }
}

void pickConditionParam3(std::uint8_t* record, int position)
{
    const std::uint8_t p = static_cast<std::uint8_t>(position);
    switch (record[0]) {
    case 9:
    case 12:
    case 17:
        record[3] = p;
        break;
    case 20:
        record[3] = 1;
        record[4] = p;
        break;
    default:
        break;
    }
}

bool conditionParam3IsFormula(int kind)
{
    return kind == kFormulaKind;
}

}  // namespace orlo
