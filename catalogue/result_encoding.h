// The third parameter of a result: the encoder that turns the text typed in
// the line editor into the param3 bytes of the result's instruction, by kind
// and choices, and the channel-list rule shared with the relay command
// wizard. Numbers are picked out of the text by position, so the param3 text
// the result text shows, typed back, gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orlo {

// Encodes the text into the param3 bytes of the 256-byte instruction (kind,
// param1, param2, then param3 from byte 3), reading kind, param1 and param2
// from it. Only the bytes the kind and choices name are written; every other
// byte keeps its value. Nothing is reported back: a text that cannot be used
// writes fewer bytes or none, and a hex list that fails checkHexText shows
// its message through the shell and writes nothing.
//
// Number rules: a whole 32-bit field takes the number as the C library's
// atol reads the text's start (or as the n-th number of the text), kept in
// -2^31 .. 2^32-1 so that both the signed and the unsigned text of every bit
// pattern read back as that pattern; a smaller field keeps the low 8 or 16
// bits of the n-th number. Hex lists of up to 200 two-digit groups are read
// whole (the text the result text shows for 200 bytes is 599 characters).
// Strings keep at most 200 bytes, cut before a double-byte character that
// would be split.
//
// The caller passes the text as the editor prepares it (prepareParam3Text,
// with full-width normalisation for kind 30: resultParam3IsFormula).
void encodeResultParam3(const std::string& text, std::uint8_t* instruction);

// What the encoder takes from the text for a kind and its choices: the
// fields it writes, each at a param3 byte with a width, and at most one
// counted data block. For tools and checks that build lines value by value.
struct ResultParam3Field {
    enum class Source : std::uint8_t {
        Number,    // an integer, most significant byte first
        Decimal,   // a double, 8 bytes, least significant first
        Mask,      // a channel mask, 4 bytes
        Operator,  // kind 29's operator code
        Constant,  // always `value`, whatever the text
    };
    Source source;
    std::uint8_t at;
    std::uint8_t width;
    std::uint8_t value;
};

struct ResultParam3Layout {
    enum class Data : std::uint8_t { None, String, Hex, Formula };
    std::vector<ResultParam3Field> fields;
    Data data = Data::None;
    std::uint8_t countAt = 0;  // param3 byte of the count; the data follows it
};

ResultParam3Layout resultParam3Layout(const std::uint8_t* instruction);

// The channel-list rule: blank-separated decimal numbers, each from 1 to 32
// setting bit (number - 1). Any byte other than a blank or a digit shows
// "参数只能是数字" through the shell and gives 0; so do texts of 254 bytes or
// more and groups longer than 9 characters (without a message). At most 99
// numbers are read; numbers outside 1..32 set nothing.
std::uint32_t channelMask(const std::string& text);

// What the line editor does to a result when its kind is chosen: param1 and
// param2 become 1, param3 byte 0 becomes 1 for kind 19 (the first suggestion)
// and 0 otherwise.
void applyResultKindDefaults(std::uint8_t* instruction, int kind);

// What picking entry `position` (from 1) of the param3 suggestion list does
// before the text is encoded: kind 19, and kind 25 with param1 1 and param2
// 3, keep the position in param3 byte 0; kind 9 with param1 2 stores 1 in
// byte 0 and the position in byte 1. Other lines are left alone.
void pickResultParam3(std::uint8_t* instruction, int position);

// True for the kinds whose text is a formula and gets the full-width
// normalisation before encoding (kind 30).
bool resultParam3IsFormula(int kind);

// The longest string, byte list or byte code a result keeps.
constexpr std::size_t kMaxResultData = 200;

}  // namespace orlo
