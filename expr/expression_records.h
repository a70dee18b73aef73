// The records of expression byte code: one record per token, each opening
// with its own length byte (counting itself) and a kind byte. The record
// shape of every operand kind is one table, read both by the writer and by
// the reader, so the two directions cannot drift apart.
#pragma once

#include <cstdint>
#include <string_view>

#include "expr/byte_io.h"
#include "expr/names.h"

namespace orlo {

enum class RecordShape : std::uint8_t {
    Literal,    // 06 kind value (32-bit big-endian); read from 3, 4 or 6 bytes
    Index,      // 03 kind index (its low byte)
    WideIndex,  // 03 kind index up to 200, else 05 record sub-kind index (16-bit little-endian)
    Decimal,    // 0A 16 the 8 bytes of the double, least significant first
    Bytes,      // n+2 kind n bytes (hex lists and strings, at most 200 bytes kept)
    Element,    // 08 40 scope array (16-bit big-endian) element (16-bit big-endian) width&7
    Operator,   // 03 64 char; brackets 05 64 char value (16-bit big-endian)
};

struct RecordRule {
    std::uint8_t firstKind;
    std::uint8_t lastKind;
    RecordShape shape;
    std::uint8_t wideRecord;  // WideIndex: the record kind used above index 200
    std::uint8_t subKind;     // WideIndex: the byte that names the kind in that record
};

// The wide records: inputs, outputs and global integers (0x41) and the four
// input/output counters (0x42). Their index is the only little-endian number
// of the byte code.
constexpr std::uint8_t kWideResourceRecord = 0x41;
constexpr std::uint8_t kWideCounterRecord = 0x42;
constexpr unsigned kWideIndexFrom = 201;
// Hex lists and strings keep at most this many bytes.
constexpr std::size_t kMaxRecordValueBytes = 200;

// The rule of a token kind; null for kinds written as the one-byte record 01.
const RecordRule* recordRule(std::uint8_t kind);

// Appends the record of one token.
void writeRecord(ByteWriter& out, const OperandToken& token);

// The token of one record (the whole record, its length byte first). Fields a
// record of an unexpected length cannot fill are left cleared; bytes beyond
// the record are never read.
OperandToken readRecord(std::string_view record);

}  // namespace orlo
