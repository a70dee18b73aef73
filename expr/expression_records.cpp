// Writing and reading single records of expression byte code (see
// expression_records.h).
#include "expr/expression_records.h"

#include <algorithm>

#include "expr/expression.h"

namespace orlo {

namespace {

constexpr RecordShape kLiteral = RecordShape::Literal;
constexpr RecordShape kIndex = RecordShape::Index;
constexpr RecordShape kWide = RecordShape::WideIndex;

const RecordRule kRecordRules[] = {
    {1, 1, kLiteral, 0, 0},
    {2, 2, kIndex, 0, 0},
    {3, 3, kWide, kWideResourceRecord, 3},
    {4, 7, kIndex, 0, 0},
    {8, 9, kLiteral, 0, 0},
    {10, 18, kIndex, 0, 0},
    {21, 21, kIndex, 0, 0},
    {22, 22, RecordShape::Decimal, 0, 0},
    {23, 23, kIndex, 0, 0},
    {25, 25, kIndex, 0, 0},
    {27, 28, kIndex, 0, 0},
    {31, 32, RecordShape::Bytes, 0, 0},
    {33, 33, kIndex, 0, 0},
    {35, 36, kIndex, 0, 0},
    {37, 37, kWide, kWideResourceRecord, 1},
    {38, 38, kWide, kWideResourceRecord, 2},
    {39, 49, kIndex, 0, 0},
    {51, 59, kIndex, 0, 0},
    {60, 60, kWide, kWideCounterRecord, 1},
    {61, 61, kWide, kWideCounterRecord, 2},
    {62, 62, kWide, kWideCounterRecord, 3},
    {63, 63, kWide, kWideCounterRecord, 4},
    {64, 64, RecordShape::Element, 0, 0},
    {kOperatorKind, kOperatorKind, RecordShape::Operator, 0, 0},
};

constexpr std::size_t kDoubleBytes = 8;

// The token kind that a wide record names with its sub-kind byte; 0 for none.
std::uint8_t wideRecordKind(std::uint8_t record, std::uint8_t subKind)
{
    for (const RecordRule& rule : kRecordRules) {
        if (rule.shape == kWide && rule.wideRecord == record && rule.subKind == subKind)
            return rule.firstKind;
    }
    return 0;
}

OperandToken readWideRecord(ByteReader& in, std::uint8_t record, std::size_t length)
{
    OperandToken token;
    if (length != 5)
        return token;
    const std::uint8_t kind = wideRecordKind(record, in.u8());
    const std::uint16_t index = in.u16le();
    if (kind != 0) {
        token.kind = kind;
        token.index = index;
    }
    return token;
}

}  // namespace

const RecordRule* recordRule(std::uint8_t kind)
{
    for (const RecordRule& rule : kRecordRules) {
        if (kind >= rule.firstKind && kind <= rule.lastKind)
            return &rule;
    }
    return nullptr;
}

void writeRecord(ByteWriter& out, const OperandToken& token)
{
    const RecordRule* rule = recordRule(token.kind);
    if (rule == nullptr) {
        out.u8(1);
        return;
    }
    switch (rule->shape) {
    case RecordShape::Literal:
        out.u8(6);
        out.u8(token.kind);
        out.u32be(static_cast<std::uint32_t>(token.value));
        break;
    case RecordShape::Index:
        out.u8(3);
        out.u8(token.kind);
        out.u8(static_cast<unsigned>(token.index));
        break;
    case RecordShape::WideIndex: {
        // The record is chosen by the index the controller receives (16
        // bits), so that the decoded index is written the same way again.
        const unsigned index = static_cast<unsigned>(token.index) & 0xFFFFu;
        if (index < kWideIndexFrom) {
            out.u8(3);
            out.u8(token.kind);
            out.u8(index);
        } else {
            out.u8(5);
            out.u8(rule->wideRecord);
            out.u8(rule->subKind);
            out.u16le(index);
        }
        break;
    }
    case RecordShape::Decimal: {
        std::string bytes = token.bytes.substr(0, kDoubleBytes);
        bytes.resize(kDoubleBytes, '\0');
        out.u8(2 + kDoubleBytes);
        out.u8(token.kind);
        out.bytes(bytes);
        break;
    }
    case RecordShape::Bytes: {
        const std::size_t n = std::min(token.bytes.size(), kMaxRecordValueBytes);
        out.u8(static_cast<unsigned>(n + 2));
        out.u8(token.kind);
        out.bytes(std::string_view(token.bytes).substr(0, n));
        break;
    }
    case RecordShape::Element:
        out.u8(8);
        out.u8(token.kind);
        out.u8(token.scope);
        out.u16be(token.arrayNo);
        out.u16be(token.element);
        out.u8(token.width & 7u);
        break;
    case RecordShape::Operator:
        if (isBracketByte(operatorByte(token))) {
            out.u8(5);
            out.u8(token.kind);
            out.u8(operatorByte(token));
            out.u16be(static_cast<unsigned>(token.value));
        } else {
            out.u8(3);
            out.u8(token.kind);
            out.u8(operatorByte(token));
        }
        break;
    }
}

OperandToken readRecord(std::string_view record)
{
    ByteReader in(record);
    const std::size_t length = in.u8();
    const std::uint8_t kind = in.u8();
    if (kind == kWideResourceRecord || kind == kWideCounterRecord)
        return readWideRecord(in, kind, length);

    OperandToken token;
    const RecordRule* rule = recordRule(kind);
    if (rule == nullptr || !in.ok())
        return token;
    token.kind = kind;
    switch (rule->shape) {
    case RecordShape::Literal:
        // Older byte code holds short literals in one or two bytes.
        if (length == 3)
            token.value = in.u8();
        else if (length == 4)
            token.value = in.u16be();
        else if (length == 6)
            token.value = static_cast<std::int32_t>(in.u32be());
        break;
    case RecordShape::Index:
    case RecordShape::WideIndex:
        if (length != 3)
            return OperandToken();
        token.index = in.u8();
        break;
    case RecordShape::Decimal:
        if (length != 2 + kDoubleBytes)
            return OperandToken();
        token.bytes = std::string(in.take(kDoubleBytes));
        break;
    case RecordShape::Bytes:
        if (length >= 3)
            token.bytes = std::string(in.take(length - 2));
        break;
    case RecordShape::Element:
        if (length != 8)
            return OperandToken();
        token.scope = in.u8();
        token.arrayNo = in.u16be();
        token.element = in.u16be();
        token.width = in.u8() & 7u;
        break;
    case RecordShape::Operator:
        // A record too short to hold its operator byte holds no operator.
        if (length < 3)
            return OperandToken();
        token.index = in.u8();
        if (isBracketByte(operatorByte(token)) && length >= 5)
            token.value = in.u16be();
        break;
    }
    // A length byte that claims more than the record holds is never trusted.
    if (!in.ok())
        return OperandToken();
    return token;
}

}  // namespace orlo
