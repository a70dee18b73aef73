// The expression compiler: tokenising, the grammar filter that drops tokens
// in impossible places, and the byte code of a token list.
#include "expr/expression.h"

#include <optional>

#include "expr/byte_io.h"
#include "expr/expression_records.h"
#include "expr/expression_scan.h"
#include "expr/fullwidth.h"
#include "platform/strings.h"

namespace orlo {

namespace {

// What a token is to the grammar filter.
enum NewClass { kNewUnrecognised, kNewOperand, kNewOpenRound, kNewOpenSquare, kNewClose, kNewMinus,
                kNewBinary, kNewClasses };
enum PrevClass { kPrevNone, kPrevOperand, kPrevOpen, kPrevClose, kPrevBinary, kPrevClasses };

enum class Action : std::uint8_t {
    Drop,
    Push,
    Subscript,  // "[" after an operand: folds an indexable operand into the bracket
};

constexpr Action D = Action::Drop;
constexpr Action P = Action::Push;
constexpr Action S = Action::Subscript;

// Rows: the new token; columns: the previous one (none, operand, "(" or "[",
// ")" or "]", binary operator). "-" is the one binary operator that may open
// an expression or follow an opening bracket.
constexpr Action kGrammar[kNewClasses][kPrevClasses] = {
    //              none operand open close binary
    /* kind 0   */ {D, D, D, D, D},
    /* operand  */ {P, D, P, D, P},
    /* "("      */ {P, P, P, P, P},
    /* "["      */ {P, S, P, P, P},
    /* ")" "]"  */ {D, P, P, P, D},
    /* "-"      */ {P, P, P, P, D},
    /* binary   */ {D, P, D, P, D},
};

// Operands that an opening "[" indexes; the bracket then carries them.
constexpr std::uint8_t kIndexableKinds[] = {2, 3, 10, 27, 28, 33, 35, 36, 47, 48};

bool isIndexable(const OperandToken& token)
{
    for (std::uint8_t kind : kIndexableKinds) {
        if (token.kind == kind)
            return true;
    }
    return false;
}

NewClass newClass(const OperandToken& token)
{
    if (token.kind == 0)
        return kNewUnrecognised;
    if (token.kind != kOperatorKind)
        return kNewOperand;
    switch (operatorByte(token)) {
    case '(': return kNewOpenRound;
    case '[': return kNewOpenSquare;
    case ')':
    case ']': return kNewClose;
    case '-': return kNewMinus;
    default: return kNewBinary;
    }
}

PrevClass prevClass(const std::vector<OperandToken>& tokens)
{
    if (tokens.empty())
        return kPrevNone;
    const OperandToken& prev = tokens.back();
    if (prev.kind != kOperatorKind)
        return kPrevOperand;
    switch (operatorByte(prev)) {
    case '(':
    case '[': return kPrevOpen;
    case ')':
    case ']': return kPrevClose;
    default: return kPrevBinary;
    }
}

void pushToken(Expression& expression, OperandToken token)
{
    std::vector<OperandToken>& tokens = expression.tokens;
    switch (kGrammar[newClass(token)][prevClass(tokens)]) {
    case Action::Drop:
        return;
    case Action::Subscript:
        if (isIndexable(tokens.back())) {
            // The bracket value has one byte for the kind and one for the
            // index. Only the index's low byte is kept, as in the operand's
            // own record; a carry into the kind byte would name another
            // resource class.
            const OperandToken& base = tokens.back();
            token.value = base.kind * 256 + (base.index & 0xFF);
            tokens.pop_back();
        }
        break;
    case Action::Push:
        break;
    }
    tokens.push_back(std::move(token));
}

OperandToken operatorToken(char c)
{
    OperandToken token;
    token.kind = kOperatorKind;
    token.index = static_cast<unsigned char>(c);
    return token;
}

bool isTrailingOperator(const OperandToken& token)
{
    return token.kind == kOperatorKind && !isOperator(token, ')') && !isOperator(token, ']');
}

std::optional<std::string> byteCode(const Expression& expression)
{
    ByteWriter records;
    for (const OperandToken& token : expression.tokens)
        writeRecord(records, token);
    const std::size_t length = records.size() + 1;
    if (length > 255)
        return std::nullopt;
    return std::string(1, static_cast<char>(length)) + records.data();
}

}  // namespace

Expression compileExpression(const std::string& text, const NameTable& table)
{
    const std::string source = normaliseFullWidth(trim(text));
    Expression expression;
    std::string operand;
    auto flushOperand = [&] {
        if (!operand.empty())
            pushToken(expression, classifyOperand(operand, table));
        operand.clear();
    };
    for (TextWalker w(source); !w.done(); w.next()) {
        char op = 0;
        if (w.shift())
            op = w.byte() == '<' ? kShiftLeft : kShiftRight;
        else if (w.plain() && isOperatorChar(w.byte()))
            op = w.byte();
        if (op == 0) {
            // Blanks belong to the operand text; the classifier trims them.
            operand.append(source, w.pos(), w.length());
            continue;
        }
        flushOperand();
        pushToken(expression, operatorToken(op));
    }
    flushOperand();
    while (!expression.tokens.empty() && isTrailingOperator(expression.tokens.back()))
        expression.tokens.pop_back();
    return expression;
}

std::string expressionByteCode(const Expression& expression)
{
    return byteCode(expression).value_or(std::string());
}

std::string encodeExpression(const Expression& expression)
{
    std::string code = expressionByteCode(expression);
    return code.size() <= kMaxStoredByteCode ? code : std::string();
}

}  // namespace orlo
