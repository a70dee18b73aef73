// The building blocks of the condition and result catalogues: kind rows with
// their record lengths, and choice lists made of fixed texts, numbered
// resource names (through the user's aliases) and numbered formats. The
// catalogues are tables of these, read by the few functions declared here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orlo {

// A stored line holds its length in one byte, so no encoded length exceeds it.
constexpr int kMaxEncodedLength = 255;

// The name and the encoded length (the length in a program image, its two
// line-header bytes included) of a condition or result kind.
struct KindInfo {
    std::string name;
    int length = 0;
    int countByte = 0;  // the instruction byte holding the data count, 0 when fixed
};

// One row of a kind table. The length is `base`, plus the value of the
// instruction byte at `countByte` when that is not 0 (byte 0 is the kind
// itself, so 0 means "fixed length").
struct KindRow {
    std::uint8_t code;
    const char* name;
    std::uint8_t base;
    std::uint8_t countByte;
};

// Looks the kind of the instruction (256 bytes: kind, param1, param2, then
// the param3 bytes) up in the table; an unknown kind gives the
// empty name and length 0. A count byte that would make the length exceed
// kMaxEncodedLength gives kMaxEncodedLength: a line never claims more bytes
// than a stored line or its 256-byte instruction can hold.
KindInfo kindInfoFrom(const KindRow* rows, std::size_t count, const std::uint8_t* instruction);

// How the entries of one part of a choice list are made.
enum class PartKind : std::uint8_t {
    None,   // no entries
    Texts,  // fixed texts
    Alias,  // displayName(word, number): the user's alias when there is one
    Format, // a printf format with one number, no alias lookup
};

// A run of consecutive entries. For Alias and Format the number shown for the
// k-th entry of the part (k from 1) is k + offset.
struct ChoicePart {
    PartKind kind = PartKind::None;
    int count = 0;
    const char* const* texts = nullptr;
    const char* pattern = nullptr;  // Alias: the resource word; Format: the format
    int offset = 0;
};

// A choice list: entries 1, 2, ... are the entries of `head`, then of `tail`.
struct ChoiceList {
    constexpr ChoiceList(ChoicePart first, ChoicePart second = ChoicePart())
        : head(first), tail(second)
    {
    }
    ChoicePart head;
    ChoicePart tail;
};

template <std::size_t N>
constexpr ChoicePart texts(const char* const (&list)[N])
{
    return {PartKind::Texts, static_cast<int>(N), list, nullptr, 0};
}
// The first `count` texts of a longer list.
constexpr ChoicePart texts(const char* const* list, int count)
{
    return {PartKind::Texts, count, list, nullptr, 0};
}
constexpr ChoicePart aliases(const char* word, int count)
{
    return {PartKind::Alias, count, nullptr, word, 0};
}
constexpr ChoicePart numbered(const char* format, int count, int offset = 0)
{
    return {PartKind::Format, count, nullptr, format, offset};
}

// Entry `value` (from 1) of the list, or the empty text outside it.
std::string choiceText(const ChoiceList& list, int value);
// The number of entries of the list.
int choiceCount(const ChoiceList& list);

// An inclusive range of a one-byte parameter.
struct ByteRange {
    std::uint8_t low;
    std::uint8_t high;
    constexpr bool contains(int v) const { return v >= low && v <= high; }
};
constexpr ByteRange kAnyValue{0, 255};
constexpr ByteRange only(std::uint8_t v) { return {v, v}; }
constexpr ByteRange span(std::uint8_t low, std::uint8_t high) { return {low, high}; }

// A choice list that applies to a kind and ranges of param1 and param2.
struct ChoiceRule {
    std::uint8_t kind;
    ByteRange param1;
    ByteRange param2;
    ChoiceList list;
};

// The list of the first rule that matches, or nullptr.
const ChoiceList* findRule(const ChoiceRule* rules, std::size_t count, int kind, int param1,
                           int param2);

}  // namespace orlo
