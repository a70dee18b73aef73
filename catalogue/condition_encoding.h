// The third parameter of a condition: which bytes of the record it occupies
// for every kind and parameter combination, and the encoder that turns the
// text typed in the line editor into those bytes. The condition text reads
// the same layout table back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orlo {

// What a condition record holds from offset 3 on. Numbers are big-endian
// unless noted; "count" bytes hold the number of data bytes that follow.
enum class ConditionParam3 : std::uint8_t {
    None,                // nothing from the text
    Choice,              // byte 3: a choice list position, stored by the editor's pick
    Unsigned32,          // bytes 3-6: a number, shown unsigned
    Signed32,            // bytes 3-6: a number, shown signed
    RadioCodes,          // bytes 3-6 and 7-10: the two radio codes
    ClockTime,           // bytes 4, 5, 6: hours, minutes, seconds (byte 3 untouched)
    SecondsInInteger,    // byte 3: the global integer holding seconds since midnight
    String,              // byte 3: count (at most 200), bytes 4 on: the string
    CheckedHex,          // as String with a hex byte list, stored only when checkHexText passes
    Hex,                 // as CheckedHex without the check
    LocalArrayPair,      // byte 3: local array, byte 4: count or other array
    LocalArray,          // byte 3: local array
    LocalArrayHex,       // "N:" hex list: byte 3: N, byte 7: count, bytes 8 on: the bytes
    LocalArrayString,    // "N:" string: byte 3: N, byte 7: count, bytes 8 on: the string
    LocalIntegerValue,   // byte 3: local integer, bytes 5-8: value (byte 4 untouched)
    LocalIntegerPair,    // byte 3: local integer, byte 4: the other integer
    LocalIntegerBit,     // bytes 3, 4, 5: integer, bit, value or resource number
    LocalIntegerBits,    // bytes 3-6: integer, bit, other integer, its bit
    FloatValue,          // byte 3: variable, byte 4: comparison, bytes 5-12: double, LSB first
    FloatVariable,       // byte 3: variable, byte 4: comparison, byte 5: other variable
    CompoundCondition,   // byte 3: length, bytes 4 on: the byte code
    FunctionCallTest,    // byte 3: length, bytes 4 on: the byte code
    Expression,          // byte 3: length, bytes 4 on: the byte code
    ExpressionList,      // byte 3: length, bytes 4 on: the byte code
};

// The layout of the record's third parameter, from its kind and parameters
// 1 and 2 (bytes 0 to 2).
ConditionParam3 conditionParam3Layout(const std::uint8_t* record);

// Encodes the text into the third parameter of the 256-byte record, reading
// kind, param1 and param2 from bytes 0 to 2. Returns nothing: a text it
// cannot use leaves the bytes as they were, and a hex list that fails
// checkHexText shows its message through the shell. Strings and hex lists
// are read as the result encoder reads them (param3_data.h): up to 200
// bytes, strings cut at a character boundary. The caller passes the text as
// the editor prepares it (prepareParam3Text).
void encodeConditionParam3(const std::string& text, std::uint8_t* record);

// The comparison code byte 4 of a float condition holds: ">=" 3, else "<="
// 4, else "<>" 5, else (no "=" at all) ">" 1 or "<" 2, else 0 (equal).
std::uint8_t floatComparisonCode(const std::string& text);

// What picking entry `position` (from 1) of the third parameter's list does
// to the record, before the text is encoded: kinds 9, 12 and 17 keep the
// position in byte 3, kind 20 stores 1 in byte 3 and the position in byte 4;
// other kinds are left alone.
void pickConditionParam3(std::uint8_t* record, int position);

// True for the kinds whose text is a formula and gets the full-width
// normalisation before encoding (kind 24).
bool conditionParam3IsFormula(int kind);

// The longest string or byte list a condition keeps.
constexpr std::size_t kMaxConditionData = 200;

}  // namespace orlo
