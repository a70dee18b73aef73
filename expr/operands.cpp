// Single operands of the expression language: the number scanners, the table
// of numbered resource words, and classifying an operand text into an
// OperandToken and rendering a token back to text.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "expr/fullwidth.h"
#include "expr/hexlist.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {

namespace {

enum class IndexWidth : std::uint8_t {
    Whole,    // the number as written
    LowByte,  // only its low byte (0..255); the byte code has one byte for it
};

// The numbered-resource words are tried at four fixed points of the
// classifier's order (other rules stand between them), so each row says at
// which point it is tried.
enum class WordStep : std::uint8_t {
    Variables,          // after the integer literals
    Ports,              // after the resource kind names
    FloatsAndChannels,  // after the decimal literals
    Resources,          // after the hex lists and strings
};

struct NumberedKind {
    std::uint8_t kind;
    WordStep step;
    IndexWidth width;
    // Accepted words in the order they are tried; the first is the canonical
    // one that rendering writes before the number. Unused entries are null.
    const char* words[4];
};

constexpr IndexWidth kWhole = IndexWidth::Whole;
constexpr IndexWidth kLow = IndexWidth::LowByte;

const NumberedKind kNumberedKinds[] = {
    {2, WordStep::Variables, kWhole, {"整数", "变量", "局部整数", "局部变量"}},
    {3, WordStep::Variables, kWhole, {"全局整数", "全局变量", "内部变量"}},
    {4, WordStep::Variables, kLow, {"函数参数"}},
    {6, WordStep::Variables, kWhole, {"定时器"}},
    {7, WordStep::Variables, kWhole, {"全局浮点数", "全局小数"}},
    {11, WordStep::Ports, kLow, {"PA"}},
    {12, WordStep::Ports, kLow, {"PB"}},
    {13, WordStep::Ports, kLow, {"PC"}},
    {14, WordStep::Ports, kLow, {"PD"}},
    {15, WordStep::Ports, kLow, {"PE"}},
    {16, WordStep::Ports, kLow, {"PF"}},
    {17, WordStep::Ports, kLow, {"PG"}},
    {18, WordStep::Ports, kLow, {"PH"}},
    {21, WordStep::Ports, kLow, {"脉冲计数"}},
    {25, WordStep::FloatsAndChannels, kWhole, {"浮点数", "局部浮点数", "小数"}},
    {27, WordStep::FloatsAndChannels, kLow, {"UDP"}},
    {28, WordStep::FloatsAndChannels, kLow, {"TCP"}},
    {33, WordStep::Resources, kWhole, {"数组", "局部数组"}},
    {35, WordStep::Resources, kWhole, {"全局数组"}},
    {36, WordStep::Resources, kLow, {"数据口"}},
    {37, WordStep::Resources, kWhole, {"输入"}},
    {38, WordStep::Resources, kWhole, {"输出"}},
    {39, WordStep::Resources, kWhole, {"位变量"}},
    {40, WordStep::Resources, kLow, {"CAN"}},
    {41, WordStep::Resources, kLow, {"红外"}},
    {42, WordStep::Resources, kLow, {"遥控发射"}},
    {43, WordStep::Resources, kWhole, {"模拟量输入"}},
    {44, WordStep::Resources, kLow, {"IIC"}},
    {45, WordStep::Resources, kLow, {"SPI"}},
    {47, WordStep::Resources, kLow, {"联机开关量"}},
    {48, WordStep::Resources, kLow, {"编码器"}},
    {49, WordStep::Resources, kWhole, {"模拟量输出"}},
    {51, WordStep::Resources, kWhole, {"输入计数器"}},
    {59, WordStep::Resources, kLow, {"函数"}},
    {60, WordStep::Resources, kWhole, {"输入闭合计数"}},
    {61, WordStep::Resources, kWhole, {"输入断开计数"}},
    {62, WordStep::Resources, kWhole, {"输出闭合计数"}},
    {63, WordStep::Resources, kWhole, {"输出断开计数"}},
};

// Array elements: word + "N_E_W", by scope.
const char* const kElementWords[] = {"数组", "全局数组"};

const char kOperatorChars[] = {'%', '&', '(', ')', '*', '+', ',', '-', '/', '[', ']', '^', '|',
                               kShiftLeft, kShiftRight};

const std::uint8_t kIntegerKind = 1;
const std::uint8_t kHexKind = 8;
const std::uint8_t kCharKind = 9;
const std::uint8_t kResourceKindKind = 10;
const std::uint8_t kDecimalKind = 22;
const std::uint8_t kHexListKind = 31;
const std::uint8_t kStringKind = 32;
const std::uint8_t kElementKind = 64;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allOf(const std::string& text, const char* allowed)
{
    for (char c : text) {
        if (!isDigit(c) && (c == '\0' || std::strchr(allowed, c) == nullptr))
            return false;
    }
    return true;
}

// The n-th number of the text as written ("-12", "3.5"), empty when there is
// none. The text is padded with a blank at each end so that every look at the
// byte before or after a candidate stays inside the string.
std::string nthNumberText(const std::string& text, int n, bool decimal)
{
    if (n < 1)
        return std::string();
    const std::string s = " " + text + " ";
    int found = 0;
    std::size_t i = 1;
    while (i + 1 < s.size()) {
        const char c = s[i];
        const char next = s[i + 1];
        bool starts = false;
        if (!isDigit(s[i - 1])) {
            starts = isDigit(c) || (c == '-' && isDigit(next));
            // A leading point (".5", "-.5"); s[i + 2] exists because the
            // padded text ends in a blank, not a point.
            if (decimal && !starts)
                starts = (c == '.' && isDigit(next))
                         || (c == '-' && next == '.' && isDigit(s[i + 2]));
        }
        if (!starts) {
            ++i;
            continue;
        }
        std::size_t j = i;
        if (s[j] == '-')
            ++j;
        if (decimal && s[j] == '.')
            ++j;
        while (j + 1 < s.size()) {
            if (isDigit(s[j]))
                ++j;
            else if (decimal && s[j] == '.' && isDigit(s[j - 1]) && isDigit(s[j + 1]))
                ++j;
            else
                break;
        }
        if (++found == n)
            return s.substr(i, j - i);
        i = j;
    }
    return std::string();
}

std::int32_t toInt32(std::uint32_t u)
{
    return u <= 0x7FFFFFFFu ? static_cast<std::int32_t>(u)
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(u) - 0x100000000LL);
}

// "0x..." as an unsigned 32-bit number: digits up to the first non-hex byte,
// saturating at 0xFFFFFFFF like a 32-bit unsigned conversion.
std::int32_t hexValue(const std::string& text)
{
    std::uint64_t v = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        const char c = text[i];
        unsigned d;
        if (isDigit(c))
            d = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        v = v * 16 + d;
        if (v > 0xFFFFFFFFu)
            v = 0xFFFFFFFFu;
    }
    return toInt32(static_cast<std::uint32_t>(v));
}

// The 8 bytes of an IEEE-754 double, least significant first.
std::string doubleBytes(double d)
{
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof d, "double is 8 bytes");
    std::memcpy(&bits, &d, sizeof bits);
    std::string out;
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xFFu);
    return out;
}

double doubleFromBytes(const std::string& bytes)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// The bytes between double quotes with the escapes \n \t \r \" \\ resolved;
// a backslash before any other character stays, one at the very end is
// dropped. Read by character: the second byte of a double-byte character
// may be "\\" (誠 is D5 5C) and is never an escape.
std::string unescapeString(const std::string& inner)
{
    std::string out;
    std::size_t i = 0;
    while (i < inner.size()) {
        const std::size_t n = gbkCharLength(inner, i);
        if (n == 2 || inner[i] != '\\') {
            out.append(inner, i, n);
            i += n;
            continue;
        }
        if (++i == inner.size())
            break;
        const std::size_t m = gbkCharLength(inner, i);
        switch (m == 1 ? inner[i] : '\0') {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        default:
            out += '\\';
            out.append(inner, i, m);
        }
        i += m;
    }
    return out;
}

// The inverse of unescapeString, again by character: a double-byte
// character is written as it is, whatever its second byte.
std::string escapeString(const std::string& bytes)
{
    std::string out = "\"";
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = gbkCharLength(bytes, i);
        switch (n == 1 ? bytes[i] : '\0') {
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out.append(bytes, i, n);
        }
        i += n;
    }
    return out + "\"";
}

// True when the text's last character is the single byte c: "皚" is B0 7D,
// and its second byte is no closing brace.
bool endsWithByte(const std::string& text, char c)
{
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); i += gbkCharLength(text, i))
        last = i;
    return last + 1 == text.size() && text[last] == c;
}

// Tries the words of one step in table order; on a match fills kind and index.
bool matchNumbered(const std::string& text, WordStep step, OperandToken& token)
{
    for (const NumberedKind& row : kNumberedKinds) {
        if (row.step != step)
            continue;
        for (const char* word : row.words) {
            if (word == nullptr || !matchesWord(text, word))
                continue;
            const long n = nthInteger(text, 1);
            token.kind = row.kind;
            token.index = row.width == IndexWidth::LowByte
                              ? static_cast<std::int32_t>(static_cast<std::uint32_t>(n) & 0xFFu)
                              : static_cast<std::int32_t>(n);
            return true;
        }
    }
    return false;
}

const NumberedKind* numberedKind(std::uint8_t kind)
{
    for (const NumberedKind& row : kNumberedKinds) {
        if (row.kind == kind)
            return &row;
    }
    return nullptr;
}

std::uint16_t low16(long n)
{
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(n) & 0xFFFFu);
}

}  // namespace

bool isOperatorChar(char c)
{
    for (char op : kOperatorChars) {
        if (c == op)
            return true;
    }
    return false;
}

bool matchesWord(const std::string& text, const std::string& word)
{
    if (text.size() <= word.size())
        return false;
    const std::string t = upperLatin(text);
    if (t.compare(0, word.size(), upperLatin(word)) != 0)
        return false;
    for (std::size_t i = word.size(); i < t.size(); ++i) {
        if (!isDigit(t[i]) && t[i] != '-')
            return false;
    }
    return true;
}

bool matchesElement(const std::string& text, const std::string& word)
{
    if (text.size() <= word.size())
        return false;
    const std::size_t first = text.find('_');
    if (first == std::string::npos)
        return false;
    const std::size_t second = text.find('_', first + 1);
    if (second == std::string::npos || text.find('_', second + 1) != std::string::npos)
        return false;
    const std::string element = text.substr(first + 1, second - first - 1);
    const std::string width = text.substr(second + 1);
    return matchesWord(text.substr(0, first), word) && !element.empty() && !width.empty()
           && allOf(element, "") && allOf(width, "");
}

long nthInteger(const std::string& text, int n)
{
    const std::string number = nthNumberText(text, n, false);
    if (number.empty())
        return 0;
    const bool negative = number[0] == '-';
    // Stop growing past 2^31 so that no digit string can overflow.
    std::int64_t v = 0;
    for (std::size_t i = negative ? 1 : 0; i < number.size(); ++i) {
        v = v * 10 + (number[i] - '0');
        if (v > 0x80000000LL)
            v = 0x80000000LL;
    }
    if (negative)
        return static_cast<long>(-v);
    return static_cast<long>(v > 0x7FFFFFFFLL ? 0x7FFFFFFFLL : v);
}

double nthDecimal(const std::string& text, int n)
{
    const std::string number = nthNumberText(text, n, true);
    return number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
}

OperandToken classifyOperand(const std::string& text)
{
    return classifyOperand(text, names());
}

OperandToken classifyOperand(const std::string& text, const NameTable& table)
{
    OperandToken token;
    std::string s = trim(normaliseFullWidth(text));
    if (s.empty())
        return token;
    s = table.aliasToSystem(s);

    if (s.size() == 1 && isOperatorChar(s[0])) {
        token.kind = kOperatorKind;
        token.index = static_cast<unsigned char>(s[0]);
        return token;
    }
    if (allOf(s, "-")) {
        token.kind = kIntegerKind;
        token.value = static_cast<std::int32_t>(nthInteger(s, 1));
        return token;
    }
    if (matchNumbered(s, WordStep::Variables, token))
        return token;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        token.kind = kHexKind;
        token.value = hexValue(s);
        return token;
    }
    if (s.front() == '\'' && endsWithByte(s, '\'')) {
        token.kind = kCharKind;
        // A lone quote has no byte after it: the value is 0.
        const int b = s.size() > 1 ? static_cast<unsigned char>(s[1]) : 0;
        token.value = b >= 128 ? b - 256 : b;
        return token;
    }
    if (const int code = kindCode(s)) {
        token.kind = kResourceKindKind;
        token.index = code;
        return token;
    }
    if (matchNumbered(s, WordStep::Ports, token))
        return token;
    if (allOf(s, ".-")) {
        token.kind = kDecimalKind;
        token.bytes = doubleBytes(nthDecimal(s, 1));
        return token;
    }
    if (matchNumbered(s, WordStep::FloatsAndChannels, token))
        return token;
    if (s.size() >= 2 && s.front() == '{' && endsWithByte(s, '}')) {
        token.kind = kHexListKind;
        token.bytes = hexListToBytes(s.substr(1, s.size() - 2));
        return token;
    }
    if (s.front() == '"' && endsWithByte(s, '"')) {
        token.kind = kStringKind;
        if (s.size() >= 2)
            token.bytes = unescapeString(s.substr(1, s.size() - 2));
        return token;
    }
    if (matchNumbered(s, WordStep::Resources, token))
        return token;
    for (std::uint8_t scope = 0; scope < 2; ++scope) {
        if (matchesElement(s, kElementWords[scope])) {
            token.kind = kElementKind;
            token.scope = scope;
            token.arrayNo = low16(nthInteger(s, 1));
            token.element = low16(nthInteger(s, 2));
            token.width = low16(nthInteger(s, 3));
            return token;
        }
    }
    return token;
}

std::string canonicalText(const OperandToken& token)
{
    switch (token.kind) {
    case kIntegerKind:
        return format("%d", token.value);
    case kHexKind: {
        std::string digits = format("%x", static_cast<std::uint32_t>(token.value));
        if (digits.size() == 1)
            digits = "0" + digits;
        return "0X" + upperLatin(digits);
    }
    case kCharKind: {
        // Printed as a one-byte C string: a zero byte prints nothing.
        const char c = static_cast<char>(static_cast<std::uint32_t>(token.value) & 0xFFu);
        return c == '\0' ? std::string("''") : "'" + std::string(1, c) + "'";
    }
    case kResourceKindKind:
        return kindName(token.index);
    case kDecimalKind:
        return token.bytes.size() == 8 ? format("%lf", doubleFromBytes(token.bytes)) : std::string();
    case kHexListKind:
        return "{" + hexText(token.bytes) + "}";
    case kStringKind:
        return escapeString(token.bytes);
    case kElementKind:
        if (token.scope >= 2)
            return std::string();
        return kElementWords[token.scope]
               + format("%d_%d_%d", token.arrayNo, token.element, token.width);
    default:
        if (const NumberedKind* row = numberedKind(token.kind))
            return row->words[0] + format("%d", token.index);
        return std::string();
    }
}

std::string renderOperand(const OperandToken& token)
{
    return renderOperand(token, names());
}

std::string renderOperand(const OperandToken& token, const NameTable& table)
{
    const std::string text = canonicalText(token);
    if (text.empty())
        return text;
    if (text.back() == '[')
        return table.systemToAlias(text.substr(0, text.size() - 1)) + "[";
    return table.systemToAlias(text);
}

}  // namespace orlo
