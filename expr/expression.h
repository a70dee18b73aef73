// Expressions of the formula language: text to a list of operand and operator
// tokens (infix order, exactly as the controller evaluates it) and that list
// to the byte code stored in a line. Unrecognised operands and tokens in
// impossible places are dropped without a word; an operand whose number no
// record can carry (it would name another resource) refuses the formula.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "expr/names.h"

namespace orlo {

// An ordered list of tokens in source order. Operators are tokens of kind 100
// whose index is the operator byte ("<<" and ">>" are the bytes 0x81 and
// 0x82); an opening "[" that follows an indexable resource carries that
// resource in its value (base kind * 256 + base index).
struct Expression {
    std::vector<OperandToken> tokens;
    // Why the formula cannot be stored, empty when it can: the first kept
    // operand whose number its record cannot carry ("整数300", "全局整数300["
    // would be 整数44 and 全局整数44[). The encoders show it and store nothing.
    std::string refusal;
};

// The longest byte code a line stores; longer code is stored as length 0.
constexpr std::size_t kMaxStoredByteCode = 200;

// The operator byte of a kind-100 token.
inline unsigned char operatorByte(const OperandToken& token)
{
    return static_cast<unsigned char>(token.index);
}
inline bool isOperator(const OperandToken& token, char c)
{
    return token.kind == kOperatorKind && operatorByte(token) == static_cast<unsigned char>(c);
}
inline bool isBracketByte(unsigned char c)
{
    return c == '(' || c == ')' || c == '[' || c == ']';
}

// Tokenises the text (after trimming and full-width normalisation) and passes
// every token through the grammar filter. Aliases are looked up in the table.
Expression compileExpression(const std::string& text, const NameTable& table = names());

// The byte code [L][record]...: L counts itself and the records. Empty (not
// even L) when L would reach 256.
std::string expressionByteCode(const Expression& expression);

// The byte code as a line stores it: expressionByteCode, or empty when that
// is longer than kMaxStoredByteCode. Its size is the length the caller stores.
// A refused expression shows its refusal in a message box and is empty.
std::string encodeExpression(const Expression& expression);

// Shows a refusal in a message box and returns true; false for the empty text.
bool showRefusal(const std::string& refusal);

}  // namespace orlo
