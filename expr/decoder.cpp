// Decoding and rendering expression byte code (see decoder.h). Every walk
// goes through ByteReader over the bytes it was given, so a damaged length
// byte ends in an empty result, never in a read outside the buffer.
#include "expr/decoder.h"

#include <vector>

#include "expr/byte_io.h"
#include "expr/expression_records.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// Cuts a body into parts that each open with their own length byte. False
// for a zero length byte or a last part that runs past the body.
bool splitParts(std::string_view body, std::vector<std::string_view>& parts)
{
    ByteReader in(body);
    while (!in.atEnd()) {
        const std::size_t length = in.peek();
        if (length == 0)
            return false;
        const std::string_view part = in.take(length);
        if (!in.ok())
            return false;
        parts.push_back(part);
    }
    return true;
}

// The parts after a length byte L that counts itself: they must end exactly
// at L - 1 bytes. False when L is below minLength or names more bytes than
// there are.
bool lengthPrefixedParts(std::string_view bytes, std::size_t minLength,
                         std::vector<std::string_view>& parts)
{
    ByteReader in(bytes);
    const std::size_t length = in.u8();
    if (!in.ok() || length < minLength || length == 0)
        return false;
    const std::string_view body = in.take(length - 1);
    return in.ok() && splitParts(body, parts);
}

// An expression part of a composite form holds at least its length byte;
// the operator part is 02 and the code.
std::uint8_t operatorCode(std::string_view part)
{
    ByteReader in(part);
    if (in.u8() != 2)
        return kNoComparison;
    return in.u8();
}

// What an opening "[" shows in front of itself, by the resource kind it
// indexes (the high byte of its value).
struct BracketBase {
    std::uint8_t kind;
    const char* word;
};

const BracketBase kBracketBases[] = {
    {2, "整数"},     {3, "全局整数"}, {24, "局部变量"}, {26, "内部变量"},
    {27, "UDP"},     {28, "TCP"},     {21, "过滤器"},   {33, "数组"},
    {35, "全局数组"}, {36, "数据口"},  {40, "CAN"},      {47, "联机开关量"},
};
// A "[" after a resource kind name: the low byte is the kind code.
constexpr std::uint8_t kKindNameBase = 10;

const char kBadFormat[] = "格式出错";

std::string renderOpeningBracket(const OperandToken& token, const NameTable& table)
{
    const unsigned kind = (static_cast<unsigned>(token.value) >> 8) & 0xFFu;
    const unsigned index = static_cast<unsigned>(token.value) & 0xFFu;
    std::string base;
    if (kind == kKindNameBase) {
        base = kindName(static_cast<int>(index));
    } else {
        for (const BracketBase& b : kBracketBases) {
            if (b.kind == kind)
                base = b.word + format("%u", index);
        }
        if (base.empty())
            return kBadFormat;
    }
    return table.systemToAlias(base) + "[";
}

std::string renderOperator(const OperandToken& token, const NameTable& table)
{
    const unsigned char c = operatorByte(token);
    switch (c) {
    case '(':
    case ')':
    case ']':
        return std::string(1, static_cast<char>(c));
    case '[':
        return renderOpeningBracket(token, table);
    case static_cast<unsigned char>(kShiftLeft):
        return " << ";
    case static_cast<unsigned char>(kShiftRight):
        return " >> ";
    default:
        return " " + std::string(1, static_cast<char>(c)) + " ";
    }
}

std::string renderArguments(const ExpressionList& arguments, const NameTable& table)
{
    const std::vector<Expression>& list = arguments.expressions;
    if (list.empty())
        return "( )";
    if (list.size() == 1)
        return "( " + renderExpression(list.front(), table) + " )";
    return "(" + renderExpressionList(arguments, table) + ")";
}

// "left op " in front of a call, when the left part has tokens.
std::string renderCallLeft(const Expression& left, std::uint8_t op, const NameTable& table)
{
    if (left.tokens.empty())
        return std::string();
    return renderExpression(left, table) + " " + comparisonText(op) + " ";
}

}  // namespace

Expression decodeExpression(std::string_view bytes)
{
    Expression expression;
    std::vector<std::string_view> records;
    // L of 2 or less holds no complete record.
    if (!lengthPrefixedParts(bytes, 3, records))
        return expression;
    for (std::string_view record : records)
        expression.tokens.push_back(readRecord(record));
    return expression;
}

Comparison decodeComparison(std::string_view bytes)
{
    Comparison comparison;
    std::vector<std::string_view> parts;
    if (!lengthPrefixedParts(bytes, 2, parts))
        return comparison;
    if (parts.size() == 3) {
        comparison.left = decodeExpression(parts[0]);
        comparison.op = operatorCode(parts[1]);
        comparison.right = decodeExpression(parts[2]);
    } else if (parts.size() == 1) {
        comparison.right = decodeExpression(parts[0]);
    }
    return comparison;
}

ExpressionList decodeExpressionList(std::string_view bytes)
{
    ExpressionList list;
    std::vector<std::string_view> parts;
    if (!lengthPrefixedParts(bytes, 1, parts))
        return list;
    for (std::string_view part : parts) {
        if (part.size() <= 2)
            continue;
        Expression expression = decodeExpression(part);
        if (!expression.tokens.empty())
            list.expressions.push_back(std::move(expression));
    }
    return list;
}

FunctionCallTest decodeFunctionCallTest(std::string_view bytes)
{
    FunctionCallTest call;
    std::vector<std::string_view> parts;
    if (!lengthPrefixedParts(bytes, 1, parts) || parts.size() != 3)
        return call;
    call.left = decodeExpression(parts[0]);
    call.op = operatorCode(parts[1]);
    call.arguments = decodeExpressionList(parts[2]);
    return call;
}

FunctionCallAssign decodeFunctionCallAssign(std::string_view bytes)
{
    FunctionCallAssign call;
    std::vector<std::string_view> parts;
    if (!lengthPrefixedParts(bytes, 1, parts) || parts.size() != 4)
        return call;
    call.target = decodeExpression(parts[0]);
    call.op = operatorCode(parts[1]);
    call.function = decodeExpression(parts[2]);
    call.arguments = decodeExpressionList(parts[3]);
    return call;
}

CompoundCondition decodeCompoundCondition(std::string_view bytes, std::size_t count)
{
    CompoundCondition condition;
    std::vector<std::string_view> parts;
    if (count > bytes.size() || !splitParts(bytes.substr(0, count), parts))
        return condition;
    for (std::string_view part : parts) {
        CompoundItem item;
        if (part.size() == 2) {
            item.isConnector = true;
            item.connector = static_cast<std::uint8_t>(part[1]);
        } else if (part.size() > 2) {
            item.comparison = decodeComparison(part);
        } else {
            continue;  // a lone length byte holds neither
        }
        condition.items.push_back(std::move(item));
    }
    return condition;
}

StatementList decodeStatementList(std::string_view bytes, std::size_t count)
{
    StatementList statements;
    std::vector<std::string_view> parts;
    if (count > bytes.size() || !splitParts(bytes.substr(0, count), parts))
        return statements;
    for (std::string_view part : parts)
        statements.statements.push_back(decodeComparison(part));
    return statements;
}

std::string renderExpression(const Expression& expression, const NameTable& table)
{
    std::string text;
    for (const OperandToken& token : expression.tokens)
        text += token.kind == kOperatorKind ? renderOperator(token, table)
                                            : renderOperand(token, table);
    return trim(text);
}

std::string renderComparison(const Comparison& comparison, const NameTable& table)
{
    return renderExpression(comparison.left, table) + comparisonText(comparison.op)
           + renderExpression(comparison.right, table);
}

std::string renderCompoundCondition(const CompoundCondition& condition, const NameTable& table)
{
    std::string text;
    for (const CompoundItem& item : condition.items) {
        if (!item.isConnector)
            text += renderComparison(item.comparison, table);
        else if (!connectorText(item.connector).empty())
            text += " " + connectorText(item.connector) + " ";
    }
    return text;
}

std::string renderExpressionList(const ExpressionList& list, const NameTable& table)
{
    std::string text;
    for (std::size_t i = 0; i < list.expressions.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += renderExpression(list.expressions[i], table);
    }
    return text;
}

std::string renderStatementList(const StatementList& statements, const std::string& separator,
                                const NameTable& table)
{
    std::string text;
    for (std::size_t i = 0; i < statements.statements.size(); ++i) {
        if (i > 0)
            text += separator;
        text += renderComparison(statements.statements[i], table);
    }
    return text;
}

std::string renderFunctionCallTest(const FunctionCallTest& call, const std::string& name,
                                   const NameTable& table)
{
    return renderCallLeft(call.left, call.op, table) + name
           + renderArguments(call.arguments, table);
}

std::string renderFunctionCallAssign(const FunctionCallAssign& call, const std::string& name,
                                     const NameTable& table)
{
    const std::string function = renderExpression(call.function, table);
    return renderCallLeft(call.target, call.op, table) + name
           + (name.empty() ? function : "[" + function + "]")
           + renderArguments(call.arguments, table);
}

}  // namespace orlo
