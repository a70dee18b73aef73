// Resource names and aliases: the resource kind table, operand kinds and the
// classifier/renderer of single operands, and the process-wide NameTable of
// user aliases with its rename rules and text form. All text is GBK.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orlo {

class NameTable;

// One operand or operator of an expression.
struct OperandToken {
    std::uint8_t kind = 0;      // operand kind; 0 unrecognised, 100 operator
    std::uint8_t scope = 0;     // kind 64: 0 local array, 1 global array
    std::int32_t index = 0;     // resource number; kind 10: resource kind code; kind 100: the character
    std::uint16_t arrayNo = 0;  // kind 64
    std::uint16_t element = 0;  // kind 64
    std::uint16_t width = 0;    // kind 64: width code
    std::int32_t value = 0;     // literals (kinds 1, 8, 9); "[" token: base kind * 256 + base index
    std::string bytes;          // kind 22: double, least significant byte first; 31 hex list; 32 string
};

constexpr std::uint8_t kOperatorKind = 100;
// The internal single-byte forms of "<<" and ">>".
constexpr char kShiftLeft = '\x81';
constexpr char kShiftRight = '\x82';

// The operator characters of the expression language: % & ( ) * + , - / [ ] ^ |
// and the two shift bytes above.
bool isOperatorChar(char c);

// Resource kind table, codes 1 to 94.
std::string kindName(int code);
// The first code whose name equals the text upper-cased (so "联机开关量" is 43,
// not 77); 0 when none does.
int kindCode(const std::string& text);

// Upper-cases ASCII letters, stepping over double-byte characters.
std::string upperLatin(const std::string& text);

// True when the text is longer than the word and, both upper-cased, is the
// word followed only by digits and "-" ("整数12").
bool matchesWord(const std::string& text, const std::string& word);
// True for word + "N_E_W" with N matching the word as above and E, W digits.
bool matchesElement(const std::string& text, const std::string& word);
// The n-th (from 1) integer in the text, a "-" directly before its digits
// included; 0 when there is none. Values beyond 32 bits are clamped to
// INT32_MIN..INT32_MAX.
long nthInteger(const std::string& text, int n);
// The same with a decimal point inside ("1.5") or in front (".5", "-.5").
double nthDecimal(const std::string& text, int n);

// Classifies one operand text. Aliases are looked up in the given table, or
// in names() for the one-argument form.
OperandToken classifyOperand(const std::string& text);
OperandToken classifyOperand(const std::string& text, const NameTable& table);
// The canonical text of an operand ("整数5", "0X1F", "{01 02}"), without alias
// substitution; empty for kinds that have no operand text (0, 100, unknown).
std::string canonicalText(const OperandToken& token);
// The canonical text shown through the aliases of the given table (names()
// for the one-argument form): a resource with an alias prints as its alias.
std::string renderOperand(const OperandToken& token);
std::string renderOperand(const OperandToken& token, const NameTable& table);

// The categories of the global naming window, in list order: each lists 99
// resources, the word followed by first .. first + 98. Their words are the
// system words no alias may take (rule "与系统名称重复").
struct NamingCategory {
    const char* word;
    int first;
};
constexpr int kNamingCategoryCount = 10;
constexpr int kNamingCategoryItems = 99;
extern const NamingCategory kNamingCategories[kNamingCategoryCount];

// The user aliases. One process-wide table (names()); tests may build their own.
class NameTable {
public:
    static constexpr int kSlots = 1000;

    // Starts empty, with the category words as its reserved words, so that
    // every table, whoever fills it and from where, refuses an alias such as
    // "全局整数7" from the first line it reads.
    NameTable();

    struct Slot {
        std::string systemName;
        std::string alias;
    };

    std::string aliasToSystem(const std::string& text) const;
    std::string systemToAlias(const std::string& text) const;
    std::string displayName(const std::string& word, int n) const;
    void clearAlias(const std::string& systemName);
    // Returns the message; empty means success. A rejected alias leaves the
    // table as it was; a new alias that finds all 1000 slots taken is refused
    // with a message rather than dropped.
    std::string rename(const std::string& systemName, const std::string& alias);
    // "alias\t=\tsystem name\r\n" per used slot.
    std::string exportText() const;
    // Renames line by line; stops at the first line that gives a message and
    // returns it ("最后一行" in front when that line is unterminated and last).
    std::string importText(const std::string& text);
    // Empties all slots and sets the used count to 0.
    void clear();

    int usedCount() const { return used_; }
    const Slot& slot(int i) const { return slots_[i]; }

    // No alias may be one of these words followed by a number (see rename).
    // clear() keeps them.
    std::vector<std::string>& reservedWords() { return reserved_; }
    const std::vector<std::string>& reservedWords() const { return reserved_; }

private:
    // The first used slot whose system name is the text, or -1.
    int findSystem(const std::string& systemName) const;

    Slot slots_[kSlots];
    int used_ = 0;
    std::vector<std::string> reserved_;
};

// The process-wide name table, shared by the whole program.
NameTable& names();

// Shorthands over names().
std::string aliasToSystem(const std::string& text);
std::string systemToAlias(const std::string& text);
std::string displayName(const std::string& word, int n);

}  // namespace orlo
