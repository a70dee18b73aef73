// The result param3 encoder (see result_encoding.h). What a kind and its
// choices take from the text is one table of rules: a few fixed-position
// fields (numbers, doubles, masks, constants) and at most one counted data
// block (string, hex list or formula byte code).
#include "catalogue/result_encoding.h"

#include <cstring>

#include "catalogue/hex_check.h"
#include "catalogue/param3_data.h"
#include "catalogue/table.h"
#include "expr/expression.h"
#include "expr/expression_forms.h"
#include "expr/fullwidth.h"
#include "expr/names.h"
#include "platform/shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

constexpr std::size_t kParam3 = 3;  // instruction byte of param3 byte 0

// Where the value of a field comes from.
enum class From : std::uint8_t {
    None,
    Leading,   // the number the text starts with (atol)
    Nth,       // the n-th number of the text
    Decimal,   // the n-th decimal number, 8 bytes least significant first
    Mask,      // the channel mask of the text
    Operator,  // kind 29's operator code
    Constant,  // the value n
};

// One field: `width` bytes at param3 byte `at`, most significant first
// (doubles excepted).
struct Field {
    From from = From::None;
    std::uint8_t n = 0;
    std::uint8_t at = 0;
    std::uint8_t width = 1;
};

constexpr Field leading(std::uint8_t at, std::uint8_t width = 4)
{
    return {From::Leading, 0, at, width};
}
constexpr Field nth(std::uint8_t n, std::uint8_t at, std::uint8_t width = 1)
{
    return {From::Nth, n, at, width};
}
constexpr Field decimal(std::uint8_t n, std::uint8_t at)
{
    return {From::Decimal, n, at, 8};
}
constexpr Field mask()
{
    return {From::Mask, 0, 0, 4};
}
constexpr Field operatorCode(std::uint8_t at)
{
    return {From::Operator, 0, at, 1};
}
constexpr Field constant(std::uint8_t value, std::uint8_t at, std::uint8_t width = 1)
{
    return {From::Constant, value, at, width};
}

// The counted data block: a count byte, then the data.
enum class Data : std::uint8_t {
    None,
    String,
    Hex,               // the hex list rule, no check
    CheckedHex,        // only after checkHexText passes; the empty text writes nothing
    CheckedHexOrZero,  // as CheckedHex, but the empty text writes count 0
    Expression,
    ExpressionList,
    Statements,
    CallTest,
    CallAssign,
};

constexpr int kMaxFields = 6;

struct Fields {
    Field field[kMaxFields];
};

constexpr Fields fields(Field a = {}, Field b = {}, Field c = {}, Field d = {}, Field e = {},
                        Field f = {})
{
    return {{a, b, c, d, e, f}};
}

struct Rule {
    ByteRange kind;
    ByteRange param1;
    ByteRange param2;
    Fields fields;
    Data data = Data::None;
    std::uint8_t countAt = 0;   // param3 byte of the count; the data follows it
    bool splitAtColon = false;  // fields from the text before the first ":", data after it
    // Words of the param3 text whose digits are not values; they are blanked
    // out before the numbers are counted (nullptr-terminated).
    const char* const* labels = nullptr;
};

constexpr ByteRange kAny = kAnyValue;
constexpr Fields kNoFields = fields();
constexpr Fields kValue32 = fields(leading(0));
constexpr Fields kMask = fields(mask());
// N1 at param3 byte a, N2 at b, ... (one byte each); -1 ends the list.
constexpr Fields numbers(int a, int b = -1, int c = -1, int d = -1)
{
    Fields out = fields();
    const int at[] = {a, b, c, d};
    for (int i = 0; i < 4 && at[i] >= 0; ++i)
        out.field[i] = nth(static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(at[i]));
    return out;
}

// Local integer forms: A = N1, N2, then N3 as 32 bits at byte 2; B = N1, N2;
// C = N1, N2, N3 at byte 5; D = N1, N2, N3 at byte 4, N4 at byte 5; E = N1.
constexpr Fields kFormA = fields(nth(1, 0), nth(2, 1), nth(3, 2, 4));
constexpr Fields kFormB = numbers(0, 1);
constexpr Fields kFormC = numbers(0, 1, 5);
constexpr Fields kFormD = fields(nth(1, 0), nth(2, 1), nth(3, 4), nth(4, 5));
constexpr Fields kFormE = numbers(0);

// Decimal variables: the variable and a double; two variables, the operator
// and a double; two variables, the operator and three numbers.
constexpr Fields kDecimalValue = fields(nth(1, 0), decimal(2, 1));
constexpr Fields kDecimalSum = fields(nth(1, 0), nth(2, 1), operatorCode(2), decimal(3, 3));
constexpr Fields kDecimalSumOf =
    fields(nth(1, 0), nth(2, 1), operatorCode(2), nth(3, 3), nth(4, 4), nth(5, 5));
constexpr Fields kDecimalOperands = fields(nth(1, 0), nth(2, 1), operatorCode(2));

// The rectangle's param3 text names its corners "对角坐标1" and "对角坐标2";
// without these words blanked out, its 1 and 2 would be taken as the first
// coordinates and the text shown would not read back.
const char* const kCornerLabels[] = {"对角坐标1", "对角坐标2", nullptr};

// First matching rule wins; a line no rule matches takes nothing from the text.
const Rule kRules[] = {
    // Output operations; bit variables by the same codes.
    {only(1), only(4), kAny, kValue32},
    {only(1), span(11, 17), kAny, kValue32},
    {only(1), span(5, 7), kAny, kMask},
    {only(1), only(18), kAny, numbers(2, 3)},
    {only(1), span(19, 21), kAny, numbers(3)},
    {only(1), span(22, 23), kAny, fields(nth(1, 0), nth(2, 1), nth(3, 2, 2))},
    {only(3), only(4), kAny, kValue32},
    {only(3), span(11, 17), kAny, kValue32},
    {only(3), only(18), kAny, numbers(2, 3)},
    {only(3), span(22, 23), kAny, numbers(2, 3)},
    {only(3), span(19, 21), kAny, numbers(3)},

    // Global integers, by operation (param2).
    {only(4), kAny, span(0, 41), kValue32},
    {only(4), kAny, span(42, 44), numbers(1, 2, 3)},
    {only(4), kAny, span(50, 51), numbers(1, 2, 3)},
    {only(4), kAny, span(54, 55), numbers(1, 2, 3)},
    {only(4), kAny, span(45, 47), numbers(2, 3)},
    {only(4), kAny, only(49), numbers(2, 3)},
    {only(4), kAny, span(52, 53), numbers(2, 3)},
    {only(4), kAny, only(56), numbers(2, 3)},
    {only(4), kAny, span(58, 59), numbers(2, 3)},
    {only(4), kAny, only(48), numbers(3)},
    {only(4), kAny, only(57), numbers(3)},
    {only(4), kAny, span(60, 64), numbers(3)},

    // Kinds whose whole param3 is one number.
    {only(2), kAny, kAny, kValue32},
    {span(6, 8), kAny, kAny, kValue32},
    {only(15), kAny, kAny, kValue32},
    {only(17), kAny, kAny, kValue32},
    {span(22, 24), kAny, kAny, kValue32},

    // Infrared: a fixed code, or the flag of the array form (whose array
    // number the suggestion pick stores).
    {only(9), only(1), kAny, kNoFields, Data::CheckedHexOrZero},
    {only(9), only(2), kAny, fields(constant(1, 0))},
    {only(9), kAny, kAny, fields(constant(0, 0))},
    {only(10), kAny, kAny, kNoFields, Data::String},
    {only(11), kAny, kAny, kNoFields, Data::CheckedHexOrZero},

    // Linked relay module.
    {only(13), kAny, span(2, 5), kValue32},
    {only(13), kAny, span(6, 8), kMask},
    {only(14), kAny, only(1), kValue32},

    // Voice: a text to speak, or one number in byte 1.
    {only(16), only(1), only(1), kNoFields, Data::String},
    {only(16), span(1, 2), kAny, fields(constant(1, 0), leading(1, 1))},

    // Global arrays.
    {only(20), kAny, span(1, 4), numbers(0, 1)},
    {only(20), kAny, span(7, 8), numbers(0, 1)},
    {only(20), kAny, span(11, 13), numbers(0, 1)},
    {only(20), kAny, span(5, 6), numbers(0, 1, 2)},
    {only(20), kAny, span(9, 10), numbers(0, 1, 2)},
    {only(20), kAny, only(14), numbers(0, 1, 2)},
    {only(20), kAny, only(15), numbers(0)},
    {only(21), kAny, only(1), kNoFields, Data::CheckedHex},
    {only(21), kAny, only(3), kNoFields, Data::CheckedHex},
    {only(21), kAny, only(5), kNoFields, Data::CheckedHex},
    {only(21), kAny, only(2), kNoFields, Data::String},
    {only(21), kAny, span(4, 4), kNoFields, Data::String},
    {only(21), kAny, span(6, 7), kNoFields, Data::String},

    // Display. Param1 1 param2 3 keeps the font the pick stored.
    {only(25), only(1), span(1, 2), kValue32},
    {only(25), only(2), only(1), fields(constant(0, 0, 4))},
    {only(25), only(2), only(2), numbers(0, 1, 2)},
    {only(25), only(2), only(5), numbers(0, 1, 2)},
    {only(25), only(3), span(1, 2), numbers(0, 1, 2)},
    {only(25), only(3), only(5), numbers(0, 1, 2)},
    {only(25), span(2, 3), only(3), numbers(0, 1)},
    {only(25), span(2, 3), only(4), numbers(0, 1, 2, 3)},
    {only(25), span(2, 3), only(6), numbers(0, 1, 2, 3), Data::None, 0, false, kCornerLabels},

    // Local integers (six param3 bytes).
    {only(26), only(1), only(1), fields(nth(1, 0), nth(2, 2, 4))},
    {only(26), only(1), span(2, 5), kFormA},
    {only(26), only(1), span(7, 10), kFormA},
    {only(26), only(1), span(12, 15), kFormA},
    {only(26), only(1), only(6), kFormB},
    {only(26), only(1), only(11), kFormB},
    {only(26), only(1), span(16, 18), kFormB},
    {only(26), only(2), span(1, 11), kFormA},
    {only(26), only(2), only(13), kFormA},
    {only(26), only(2), only(15), kFormA},
    {only(26), only(2), only(17), kFormA},
    {only(26), only(2), only(12), kFormB},
    {only(26), only(2), only(14), kFormB},
    {only(26), only(2), only(16), kFormB},
    {only(26), only(2), only(18), kFormB},
    {only(26), only(2), span(19, 21), kFormD},
    {only(26), only(2), span(22, 24), kFormC},
    {only(26), only(3), only(1), kFormE},
    {only(26), only(3), span(2, 5), kFormB},
    {only(26), only(4), span(1, 8), kFormE},
    {only(26), only(5), span(1, 2), kFormE},
    {only(26), only(5), only(3), kFormB},
    {only(26), only(6), span(1, 2), kFormC},
    {only(26), only(7), only(1), kFormC},
    {only(26), only(7), span(4, 5), kFormC},
    {only(26), only(7), only(8), kFormC},
    {only(26), only(7), span(10, 11), kFormC},
    {only(26), only(7), span(2, 3), kFormD},
    {only(26), only(7), span(6, 7), kFormD},
    {only(26), only(7), only(9), kFormB},
    {only(26), only(7), only(12), kFormB},
    {only(26), only(8), span(1, 2), kFormB},

    // Local arrays: the count byte is param3 byte 4, the data follows it.
    {only(27), only(1), span(1, 8), numbers(0)},
    {only(27), only(2), only(1), numbers(0), Data::Hex, 4, true},
    {only(27), only(2), only(3), numbers(0), Data::Hex, 4, true},
    {only(27), only(2), only(5), numbers(0), Data::Hex, 4, true},
    {only(27), only(2), only(2), numbers(0), Data::String, 4, true},
    {only(27), only(2), only(4), numbers(0), Data::String, 4, true},
    {only(27), only(2), only(6), numbers(0), Data::String, 4, true},
    {only(27), only(2), only(7), numbers(0, 1), Data::Hex, 4, true},
    {only(27), only(2), only(8), numbers(0, 1), Data::String, 4, true},
    {only(27), only(3), span(1, 2), numbers(0)},
    {only(27), only(3), span(3, 4), numbers(0, 1)},
    {only(27), only(3), span(5, 6), numbers(0, 1, 2)},
    {only(27), only(4), only(1), numbers(0, 1)},
    {only(27), only(4), only(3), numbers(0, 1)},
    {only(27), only(4), only(2), numbers(0, 1, 2)},
    {only(27), only(4), span(4, 5), numbers(0, 1, 2)},
    {only(27), only(4), only(6), numbers(0)},
    {only(27), only(4), span(7, 8), numbers(0, 2)},
    {only(27), span(5, 6), span(1, 2), numbers(0, 1)},
    {only(27), span(5, 6), span(3, 4), numbers(0, 1, 2, 3)},
    {only(27), only(7), span(1, 2), numbers(0, 1, 2)},
    {only(27), only(7), span(3, 4), numbers(0, 1)},
    {only(27), only(8), only(1), numbers(0, 1)},

    // Decimal and format variables.
    {only(29), only(1), only(1), kDecimalValue},
    {only(29), only(4), only(1), kDecimalValue},
    {only(29), only(7), only(1), kDecimalValue},
    {only(29), only(1), span(2, 10), numbers(0, 1, 2, 3)},
    {only(29), only(4), span(2, 10), numbers(0, 1, 2, 3)},
    {only(29), only(7), span(2, 10), numbers(0, 1, 2, 3)},
    {only(29), only(2), only(1), kDecimalSum},
    {only(29), only(5), only(1), kDecimalSum},
    {only(29), only(2), span(2, 10), kDecimalSumOf},
    {only(29), only(5), span(2, 10), kDecimalSumOf},
    {only(29), only(2), kAny, kDecimalOperands},
    {only(29), only(5), kAny, kDecimalOperands},
    {only(29), only(3), span(1, 9), numbers(0, 1, 2)},
    {only(29), only(6), span(1, 9), numbers(0, 1, 2)},

    // Formulas and user functions.
    {only(30), only(1), kAny, kNoFields, Data::Statements},
    {only(30), only(2), span(1, 100), kNoFields, Data::CallTest},
    {only(30), only(2), kAny, kNoFields},
    {only(30), only(3), only(1), kNoFields, Data::Expression},
    {only(30), only(3), only(4), kNoFields, Data::CallAssign},
    {only(30), only(3), kAny, kNoFields},
    {only(30), span(4, 8), kAny, kNoFields, Data::Expression},
    {only(30), kAny, kAny, kNoFields, Data::ExpressionList},

    // Data ports and arrays of the 118 firmware.
    {only(32), kAny, only(1), kNoFields, Data::Hex},
    {only(32), kAny, only(2), kNoFields, Data::String},
    {only(32), kAny, only(3), kNoFields, Data::Expression},
    {only(32), kAny, only(5), kNoFields, Data::Expression},
    {only(32), kAny, only(4), kNoFields, Data::ExpressionList},
    {span(33, 34), kAny, only(1), kNoFields, Data::Hex},
    {span(33, 34), kAny, only(2), kNoFields, Data::String},
    {span(33, 34), kAny, only(3), kNoFields, Data::Expression},
    {span(33, 34), kAny, only(4), kNoFields, Data::ExpressionList},
    {only(31), kAny, kAny, kNoFields, Data::ExpressionList},
    {span(35, 255), kAny, kAny, kNoFields, Data::ExpressionList},
};


const Rule* findEncodingRule(int kind, int param1, int param2)
{
    for (const Rule& rule : kRules) {
        if (rule.kind.contains(kind) && rule.param1.contains(param1) && rule.param2.contains(param2))
            return &rule;
    }
    return nullptr;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal digit string with an optional sign, as a 32-bit pattern: kept in
// -2^31 .. 2^32-1, so "-1" and "4294967295" both give FF FF FF FF.
std::uint32_t clampedPattern(bool negative, const std::string& digits)
{
    constexpr std::int64_t kLimit = 0x100000000LL;
    std::int64_t v = 0;
    for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > kLimit)
            v = kLimit;
    }
    if (negative)
        return static_cast<std::uint32_t>(v > 0x80000000LL ? -0x80000000LL : -v);
    return static_cast<std::uint32_t>(v >= kLimit ? kLimit - 1 : v);
}

// atol's reading: leading white space, an optional sign, digits up to the
// first other byte; 0 when no digit follows.
std::uint32_t leadingValue(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t end = i;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return clampedPattern(negative, text.substr(i, end - i));
}

// The n-th number of the text, found as nthInteger finds it (a digit run not
// preceded by a digit, with a "-" directly in front of it when that is not
// preceded by a digit either), as a 32-bit pattern: unlike nthInteger it
// keeps values from 2^31 to 2^32-1, the unsigned text of 32-bit fields.
std::uint32_t nthValue(const std::string& text, int n)
{
    const std::string s = " " + text + " ";
    int found = 0;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        if (isDigit(s[i - 1]))
            continue;
        const bool minus = s[i] == '-' && isDigit(s[i + 1]);
        if (!isDigit(s[i]) && !minus)
            continue;
        std::size_t start = minus ? i + 1 : i;
        std::size_t end = start;
        while (end < s.size() && isDigit(s[end]))
            ++end;
        if (++found == n)
            return clampedPattern(minus, s.substr(start, end - start));
        i = end - 1;
    }
    return 0;
}

// The text with every whole-character occurrence of the labels replaced by a blank.
std::string withoutLabels(const std::string& text, const char* const* labels)
{
    if (!labels)
        return text;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const char* const* label = labels; *label; ++label) {
            const std::size_t n = std::strlen(*label);
            if (text.compare(i, n, *label) == 0) {
                out += ' ';
                i += n;
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const std::size_t n = gbkCharLength(text, i);
        out.append(text, i, n);
        i += n;
    }
    return out;
}

// Kind 29's operator: "+" wins over the others; "-" counts last because a
// negative number holds one too.
std::uint8_t operatorCodeOf(const std::string& text)
{
    if (text.find('+') != std::string::npos)
        return 0;
    if (text.find('*') != std::string::npos)
        return 2;
    if (text.find('/') != std::string::npos)
        return 3;
    if (text.find('-') != std::string::npos)
        return 1;
    return 0;
}

void putBigEndian(std::uint8_t* p, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        p[i] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
}

void putDouble(std::uint8_t* p, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void writeField(const Field& field, const std::string& text, std::uint8_t* param3)
{
    std::uint8_t* at = param3 + field.at;
    switch (field.from) {
    case From::None:
        break;
    case From::Leading:
        putBigEndian(at, leadingValue(text), field.width);
        break;
    case From::Nth:
        putBigEndian(at, nthValue(text, field.n), field.width);
        break;
    case From::Decimal:
        putDouble(at, nthDecimal(text, field.n));
        break;
    case From::Mask:
        putBigEndian(at, channelMask(text), field.width);
        break;
    case From::Operator:
        *at = operatorCodeOf(text);
        break;
    case From::Constant:
        putBigEndian(at, field.n, field.width);
        break;
    }
}

template <typename Form>
bool encodedUnlessRefused(const Form& form, std::string (*encode)(const Form&), std::string& bytes)
{
    bytes = encode(form);
    return refusalOf(form).empty();
}

// The data bytes of the block, or false when nothing is to be written.
bool dataBytes(Data data, const std::string& text, std::string& bytes)
{
    switch (data) {
    case Data::None:
        return false;
    case Data::String:
        bytes = stringData(text);
        return true;
    case Data::Hex:
        bytes = hexListData(text);
        return true;
    case Data::CheckedHexOrZero:
        if (text.empty()) {
            bytes.clear();
            return true;
        }
        [[fallthrough]];
    case Data::CheckedHex:
        if (!checkHexText(text))
            return false;
        bytes = hexListData(text);
        return true;
    // A refused formula has shown its message (the encoder shows it) and
    // writes nothing: the line keeps the formula it had.
    case Data::Expression: {
        const Expression form = compileExpression(text);
        bytes = encodeExpression(form);
        return form.refusal.empty();
    }
    case Data::ExpressionList:
        return encodedUnlessRefused(parseExpressionList(text), encodeExpressionList, bytes);
    case Data::Statements:
        return encodedUnlessRefused(parseStatementList(text), encodeStatementList, bytes);
    case Data::CallTest:
        return encodedUnlessRefused(parseFunctionCallTest(text), encodeFunctionCallTest, bytes);
    case Data::CallAssign:
        return encodedUnlessRefused(parseFunctionCallAssign(text), encodeFunctionCallAssign, bytes);
    }
    return false;
}

void writeData(const Rule& rule, const std::string& text, std::uint8_t* param3)
{
    std::string bytes;
    if (!dataBytes(rule.data, text, bytes))
        return;
    // Byte code over the limit is stored as count 0, nothing copied.
    if (bytes.size() > kMaxResultData)
        bytes.clear();
    param3[rule.countAt] = static_cast<std::uint8_t>(bytes.size());
    std::memcpy(param3 + rule.countAt + 1, bytes.data(), bytes.size());
}

}  // namespace

void encodeResultParam3(const std::string& text, std::uint8_t* instruction)
{
    const Rule* rule = findEncodingRule(instruction[0], instruction[1], instruction[2]);
    if (!rule)
        return;
    std::string fieldText = text, dataText = text;
    if (rule->splitAtColon) {
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos)
            return;
        fieldText = text.substr(0, colon);
        dataText = text.substr(colon + 1);
    }
    fieldText = withoutLabels(fieldText, rule->labels);
    // Every field ends by param3 byte 10 and a data block by byte 205: both
    // lie inside the 256-byte instruction.
    std::uint8_t* param3 = instruction + kParam3;
    for (const Field& field : rule->fields.field)
        writeField(field, fieldText, param3);
    writeData(*rule, dataText, param3);
}

ResultParam3Layout resultParam3Layout(const std::uint8_t* instruction)
{
    using Source = ResultParam3Field::Source;
    ResultParam3Layout layout;
    const Rule* rule = findEncodingRule(instruction[0], instruction[1], instruction[2]);
    if (!rule)
        return layout;
    for (const Field& f : rule->fields.field) {
        Source source = Source::Number;
        switch (f.from) {
        case From::None: continue;
        case From::Leading:
        case From::Nth: source = Source::Number; break;
        case From::Decimal: source = Source::Decimal; break;
        case From::Mask: source = Source::Mask; break;
        case From::Operator: source = Source::Operator; break;
        case From::Constant: source = Source::Constant; break;
        }
        layout.fields.push_back({source, f.at, f.width, f.n});
    }
    switch (rule->data) {
    case Data::None: layout.data = ResultParam3Layout::Data::None; break;
    case Data::String: layout.data = ResultParam3Layout::Data::String; break;
    case Data::Hex:
    case Data::CheckedHex:
    case Data::CheckedHexOrZero: layout.data = ResultParam3Layout::Data::Hex; break;
    default: layout.data = ResultParam3Layout::Data::Formula; break;
    }
    layout.countAt = rule->countAt;
    return layout;
}

std::uint32_t channelMask(const std::string& text)
{
    constexpr std::size_t kTooLong = 256;   // with its two added blanks
    constexpr std::size_t kLongestGroup = 9;
    constexpr int kMostNumbers = 99;
    const std::string s = " " + trim(text) + " ";
    if (s.size() >= kTooLong)
        return 0;
    for (char c : s) {
        if (c != ' ' && !isDigit(c)) {
            shell().messageBox("参数只能是数字", "提示", Buttons::Ok, Icon::Warning);
            return 0;
        }
    }
    std::uint32_t mask = 0;
    int numbers = 0;
    for (std::size_t i = 0; i < s.size() && numbers < kMostNumbers;) {
        if (s[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < s.size() && s[end] != ' ')
            ++end;
        if (end - i > kLongestGroup)
            return 0;
        // A number outside 1..32 names no channel: it is not cut to a byte,
        // so a mistyped 257 switches nothing rather than channel 1.
        long number = 0;
        for (std::size_t k = i; k < end; ++k)
            number = number * 10 + (s[k] - '0');
        if (number >= 1 && number <= 32)
            mask |= std::uint32_t(1) << (number - 1);
        ++numbers;
        i = end;
    }
    return mask;
}

void applyResultKindDefaults(std::uint8_t* instruction, int kind)
{
    instruction[0] = static_cast<std::uint8_t>(kind);
    instruction[1] = 1;
    instruction[2] = 1;
    instruction[kParam3] = kind == 19 ? 1 : 0;
}

void pickResultParam3(std::uint8_t* instruction, int position)
{
    const std::uint8_t p = static_cast<std::uint8_t>(position);
    const int kind = instruction[0], param1 = instruction[1], param2 = instruction[2];
    if (kind == 19 || (kind == 25 && param1 == 1 && param2 == 3)) {
        instruction[kParam3] = p;
    } else if (kind == 9 && param1 == 2) {
        instruction[kParam3] = 1;
        instruction[kParam3 + 1] = p;
    }
}

bool resultParam3IsFormula(int kind)
{
    return kind == 30;
}

}  // namespace orlo
