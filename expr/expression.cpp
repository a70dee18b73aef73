// The expression compiler: tokenising, the grammar filter that drops tokens
// in impossible places, the refusal of numbers no record carries, and the
// byte code of a token list.
#include "expr/expression.h"

#include <optional>

#include "expr/byte_io.h"
#include "expr/expression_records.h"
#include "expr/expression_scan.h"
#include "expr/fullwidth.h"
#include "platform/shell.h"
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

constexpr std::uint8_t kCharKind = 9;
constexpr std::uint8_t kResourceKindKind = 10;
constexpr std::uint8_t kElementKind = 64;
// The largest number an index record carries, by its shape: one byte, or the
// 16 bits of the wide records.
constexpr long kByteIndexMax = 0xFF;
constexpr long kWideIndexMax = 0xFFFF;
// Array elements: array number and element 16 bits each, width 3 bits.
constexpr long kElementMax = 0xFFFF;
constexpr long kWidthMax = 7;

bool inRange(long n, long max)
{
    return n >= 0 && n <= max;
}

std::string outOfRange(const std::string& shown, long max)
{
    return shown + format("：编号超出范围（0到%ld）", max);
}

// Why an operand, as written, cannot be stored; empty when it can. The
// number is read from the text (through the aliases) rather than from the
// token, whose index may already be cut to its low byte.
std::string operandRefusal(const std::string& shown, const OperandToken& token,
                           const NameTable& table)
{
    const std::string s = table.aliasToSystem(shown);
    if (token.kind == kCharKind) {
        // One byte between the quotes: half a Chinese character is no
        // character at all.
        if (s.size() > 2 && gbkCharLength(s, 1) == 2)
            return shown + "：单引号中只能有一个单字节字符，汉字请用双引号";
        return std::string();
    }
    if (token.kind == kElementKind) {
        if (!inRange(nthInteger(s, 1), kElementMax) || !inRange(nthInteger(s, 2), kElementMax))
            return outOfRange(shown, kElementMax);
        if (!inRange(nthInteger(s, 3), kWidthMax))
            return shown + format("：宽度超出范围（0到%ld）", kWidthMax);
        return std::string();
    }
    // A resource kind name carries its kind code, not a written number.
    const RecordRule* rule = recordRule(token.kind);
    if (rule == nullptr || token.kind == kResourceKindKind)
        return std::string();
    long max;
    if (rule->shape == RecordShape::Index)
        max = kByteIndexMax;
    else if (rule->shape == RecordShape::WideIndex)
        max = kWideIndexMax;
    else
        return std::string();
    return inRange(nthInteger(s, 1), max) ? std::string() : outOfRange(shown, max);
}

// Builds one expression token by token.
class Compiler {
public:
    explicit Compiler(const NameTable& table) : table_(table) {}

    // The operand text as written, for classifying and for messages.
    void pushOperand(const std::string& written)
    {
        const std::string shown = trim(normaliseFullWidth(written));
        if (push(classifyOperand(written, table_), shown))
            lastOperand_ = shown;
    }
    void pushOperator(char c) { push(operatorToken(c), std::string()); }

    Expression take() { return std::move(expression_); }
    std::vector<OperandToken>& tokens() { return expression_.tokens; }

private:
    static OperandToken operatorToken(char c)
    {
        OperandToken token;
        token.kind = kOperatorKind;
        token.index = static_cast<unsigned char>(c);
        return token;
    }

    void refuse(std::string why)
    {
        if (expression_.refusal.empty())
            expression_.refusal = std::move(why);
    }

    // Passes the token through the grammar filter; true when it was kept.
    bool push(OperandToken token, const std::string& shown)
    {
        std::vector<OperandToken>& tokens = expression_.tokens;
        switch (kGrammar[newClass(token)][prevClass(tokens)]) {
        case Action::Drop:
            return false;
        case Action::Subscript:
            if (isIndexable(tokens.back())) {
                // The bracket value has one byte for the kind and one for
                // the index: a larger index would carry into the kind byte
                // or name another resource.
                const OperandToken& base = tokens.back();
                if (!inRange(base.index, kByteIndexMax))
                    refuse(lastOperand_
                           + format("后面不能跟[：带下标的资源编号只能是0到%ld", kByteIndexMax));
                token.value = base.kind * 256 + (base.index & 0xFF);
                tokens.pop_back();
            }
            break;
        case Action::Push:
            if (token.kind != kOperatorKind)
                refuse(operandRefusal(shown, token, table_));
            break;
        }
        tokens.push_back(std::move(token));
        return true;
    }

    const NameTable& table_;
    Expression expression_;
    std::string lastOperand_;  // the last operand kept, as written
};

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
    Compiler compiler(table);
    std::string operand;
    auto flushOperand = [&] {
        if (!operand.empty())
            compiler.pushOperand(operand);
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
        compiler.pushOperator(op);
    }
    flushOperand();
    std::vector<OperandToken>& tokens = compiler.tokens();
    while (!tokens.empty() && isTrailingOperator(tokens.back()))
        tokens.pop_back();
    return compiler.take();
}

std::string expressionByteCode(const Expression& expression)
{
    return byteCode(expression).value_or(std::string());
}

bool showRefusal(const std::string& refusal)
{
    if (refusal.empty())
        return false;
    shell().messageBox(refusal, "提示", Buttons::Ok, Icon::Warning);
    return true;
}

std::string encodeExpression(const Expression& expression)
{
    if (showRefusal(expression.refusal))
        return std::string();
    std::string code = expressionByteCode(expression);
    return code.size() <= kMaxStoredByteCode ? code : std::string();
}

}  // namespace orlo
