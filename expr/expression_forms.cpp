// Parsing and encoding the composite formula forms (see expression_forms.h).
#include "expr/expression_forms.h"

#include <optional>

#include "expr/expression_scan.h"
#include "expr/fullwidth.h"
#include "platform/strings.h"

namespace orlo {

namespace {

struct ComparisonOperator {
    const char* text;
    std::uint8_t code;
};

// In the order the parsers try them: an operator is looked for only when the
// ones before it occur nowhere outside strings.
const ComparisonOperator kComparisonOperators[] = {
    {">=", kGreaterEqual}, {"<=", kLessEqual}, {"<>", kNotEqual},
    {"=", kEqual},         {">", kGreater},    {"<", kLess},
};

const char* const kConnectorWords[] = {"并且", "或者"};  // kAnd, kOr

struct FoundOperator {
    std::size_t pos = std::string::npos;
    std::uint8_t code = kNoComparison;
    std::string text;
};

// The comparison operator of a text. Shift operators are not comparisons:
// "整数1 << 2 < 3" compares at the last "<".
FoundOperator findComparisonOperator(const std::string& text)
{
    FoundOperator found;
    for (const ComparisonOperator& op : kComparisonOperators) {
        const std::size_t pos = findOutsideStrings(text, op.text);
        if (pos != std::string::npos) {
            found.pos = pos;
            found.code = op.code;
            found.text = op.text;
            break;
        }
    }
    return found;
}

bool isAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The connector code of a "并且"/"或者" standing at the walker, or 0. A
// connector glued to a Latin letter or digit is part of a name.
std::uint8_t connectorAt(const TextWalker& w, const std::string& text, bool afterLetterOrDigit)
{
    if (w.quoted() || w.length() != 2 || afterLetterOrDigit)
        return 0;
    for (std::uint8_t i = 0; i < 2; ++i) {
        const std::string word = kConnectorWords[i];
        if (text.compare(w.pos(), word.size(), word) != 0)
            continue;
        const std::size_t end = w.pos() + word.size();
        if (end < text.size() && isAsciiLetterOrDigit(text[end]))
            return 0;
        return static_cast<std::uint8_t>(i + 1);
    }
    return 0;
}

// Pieces of a text cut at a separator byte outside strings (and, when
// counting parentheses, only at depth 0); the part after the last separator
// is a piece too.
std::vector<std::string> splitOutsideStrings(const std::string& text, char separator,
                                             bool countParentheses)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    int depth = 0;
    for (TextWalker w(text); !w.done(); w.next()) {
        if (!w.plain())
            continue;
        const char c = w.byte();
        if (countParentheses && c == '(') {
            ++depth;
        } else if (countParentheses && c == ')') {
            // An unmatched ")" does not hide the separators after it.
            if (depth > 0)
                --depth;
        } else if (c == separator && depth == 0) {
            pieces.push_back(text.substr(start, w.pos() - start));
            start = w.pos() + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::string normalised(const std::string& text)
{
    return trim(normaliseFullWidth(text));
}

// The parts shared by the two call forms.
struct CallParts {
    Expression left;
    std::uint8_t op = kNoComparison;
    std::string function;  // the text before the arguments
    ExpressionList arguments;
};

CallParts parseCall(const std::string& text, const NameTable& table)
{
    CallParts parts;
    std::string rest = normalised(text);
    const FoundOperator op = findComparisonOperator(rest);
    if (op.pos != std::string::npos && op.pos > 0) {
        parts.left = compileExpression(rest.substr(0, op.pos), table);
        parts.op = op.code;
        // A doubled operator ("整数1 == 函数3(1)") leaves no trace in the
        // name; strings and shifts of the arguments are left alone.
        rest = trim(removeOutsideStrings(rest.substr(op.pos), op.text));
    }
    std::size_t open = findOutsideStrings(rest, "(");
    if (open == std::string::npos) {
        for (TextWalker w(rest); !w.done(); w.next()) {
            if (w.plain() && isBlank(w.byte())) {
                open = w.pos();
                break;
            }
        }
    }
    if (open == std::string::npos) {
        parts.function = rest;
        return parts;
    }
    parts.function = rest.substr(0, open);
    std::string arguments = trim(rest.substr(open));
    if (!arguments.empty() && arguments.front() == '(')
        arguments.erase(0, 1);
    if (!arguments.empty() && arguments.back() == ')')
        arguments.pop_back();
    parts.arguments = parseExpressionList(arguments, table);
    return parts;
}

// Byte code under construction; nullopt once some length byte would reach 256.
using Code = std::optional<std::string>;

Code expressionCode(const Expression& expression)
{
    // Only an over-long expression has no byte code at all: the empty
    // expression is the single length byte 01.
    std::string code = expressionByteCode(expression);
    if (code.empty())
        return std::nullopt;
    return code;
}

std::string operatorPart(std::uint8_t code)
{
    return std::string{'\x02', static_cast<char>(code)};
}

Code withLength(const std::vector<Code>& parts)
{
    std::string body;
    for (const Code& part : parts) {
        if (!part)
            return std::nullopt;
        body += *part;
    }
    if (body.size() + 1 > 255)
        return std::nullopt;
    return static_cast<char>(body.size() + 1) + body;
}

Code comparisonCode(const Comparison& comparison)
{
    return withLength({expressionCode(comparison.left), operatorPart(comparison.op),
                       expressionCode(comparison.right)});
}

Code listCode(const ExpressionList& list)
{
    std::vector<Code> parts;
    for (const Expression& expression : list.expressions)
        parts.push_back(expressionCode(expression));
    return withLength(parts);
}

Code concatenated(const std::vector<Code>& parts)
{
    std::string out;
    for (const Code& part : parts) {
        if (!part)
            return std::nullopt;
        out += *part;
    }
    return out;
}

std::string stored(const Code& code)
{
    return code && code->size() <= kMaxStoredByteCode ? *code : std::string();
}

}  // namespace

std::string connectorText(std::uint8_t code)
{
    return code == kAnd || code == kOr ? kConnectorWords[code - 1] : std::string();
}

std::string comparisonText(std::uint8_t code)
{
    for (const ComparisonOperator& op : kComparisonOperators) {
        if (op.code == code)
            return op.text;
    }
    return std::string();
}

Comparison parseComparison(const std::string& text, const NameTable& table)
{
    Comparison comparison;
    const std::string source = normalised(text);
    const FoundOperator op = findComparisonOperator(source);
    if (op.pos != std::string::npos && op.pos > 0) {
        comparison.left = compileExpression(source.substr(0, op.pos), table);
        comparison.op = op.code;
        comparison.right = compileExpression(source.substr(op.pos + op.text.size()), table);
    } else {
        comparison.right = compileExpression(source, table);
    }
    return comparison;
}

CompoundCondition parseCompoundCondition(const std::string& text, const NameTable& table)
{
    CompoundCondition condition;
    if (trim(text).empty())
        return condition;
    auto addComparison = [&](const std::string& piece) {
        CompoundItem item;
        item.comparison = parseComparison(piece, table);
        condition.items.push_back(std::move(item));
    };
    std::size_t start = 0;
    bool afterLetterOrDigit = false;
    TextWalker w(text);
    while (!w.done()) {
        if (const std::uint8_t connector = connectorAt(w, text, afterLetterOrDigit)) {
            // Every piece becomes a comparison, an empty one included, so
            // the connectors keep their places.
            addComparison(text.substr(start, w.pos() - start));
            CompoundItem item;
            item.isConnector = true;
            item.connector = connector;
            condition.items.push_back(item);
            w.next();  // the connector's second character
            start = w.pos() + w.length();
            afterLetterOrDigit = false;
        } else {
            afterLetterOrDigit = w.single() && isAsciiLetterOrDigit(w.byte());
        }
        w.next();
    }
    addComparison(text.substr(start));
    return condition;
}

ExpressionList parseExpressionList(const std::string& text, const NameTable& table)
{
    ExpressionList list;
    for (const std::string& piece : splitOutsideStrings(normalised(text), ',', true)) {
        if (trim(piece).empty())
            continue;
        Expression expression = compileExpression(piece, table);
        if (!expression.tokens.empty())
            list.expressions.push_back(std::move(expression));
    }
    return list;
}

StatementList parseStatementList(const std::string& text, const NameTable& table)
{
    StatementList statements;
    for (const std::string& piece : splitOutsideStrings(normalised(text), ';', false)) {
        Comparison statement = parseComparison(piece, table);
        if (!statement.right.tokens.empty())
            statements.statements.push_back(std::move(statement));
    }
    return statements;
}

FunctionCallTest parseFunctionCallTest(const std::string& text, const NameTable& table)
{
    CallParts parts = parseCall(text, table);
    FunctionCallTest call;
    call.left = std::move(parts.left);
    call.op = parts.op;
    call.arguments = std::move(parts.arguments);
    return call;
}

FunctionCallAssign parseFunctionCallAssign(const std::string& text, const NameTable& table)
{
    CallParts parts = parseCall(text, table);
    FunctionCallAssign call;
    call.target = std::move(parts.left);
    call.op = parts.op;
    call.function = compileExpression(parts.function, table);
    call.arguments = std::move(parts.arguments);
    return call;
}

std::string refusalOf(const Comparison& comparison)
{
    return !comparison.left.refusal.empty() ? comparison.left.refusal : comparison.right.refusal;
}

std::string refusalOf(const CompoundCondition& condition)
{
    for (const CompoundItem& item : condition.items) {
        if (!item.isConnector && !refusalOf(item.comparison).empty())
            return refusalOf(item.comparison);
    }
    return std::string();
}

std::string refusalOf(const ExpressionList& list)
{
    for (const Expression& expression : list.expressions) {
        if (!expression.refusal.empty())
            return expression.refusal;
    }
    return std::string();
}

std::string refusalOf(const StatementList& statements)
{
    for (const Comparison& statement : statements.statements) {
        if (!refusalOf(statement).empty())
            return refusalOf(statement);
    }
    return std::string();
}

std::string refusalOf(const FunctionCallTest& call)
{
    return !call.left.refusal.empty() ? call.left.refusal : refusalOf(call.arguments);
}

std::string refusalOf(const FunctionCallAssign& call)
{
    for (const Expression* e : {&call.target, &call.function}) {
        if (!e->refusal.empty())
            return e->refusal;
    }
    return refusalOf(call.arguments);
}

std::string encodeComparison(const Comparison& comparison)
{
    if (showRefusal(refusalOf(comparison)))
        return std::string();
    return stored(comparisonCode(comparison));
}

std::string encodeCompoundCondition(const CompoundCondition& condition)
{
    if (showRefusal(refusalOf(condition)))
        return std::string();
    std::vector<Code> parts;
    for (const CompoundItem& item : condition.items)
        parts.push_back(item.isConnector ? Code(operatorPart(item.connector))
                                         : comparisonCode(item.comparison));
    return stored(concatenated(parts));
}

std::string encodeExpressionList(const ExpressionList& list)
{
    if (showRefusal(refusalOf(list)))
        return std::string();
    return stored(listCode(list));
}

std::string encodeStatementList(const StatementList& statements)
{
    if (showRefusal(refusalOf(statements)))
        return std::string();
    std::vector<Code> parts;
    for (const Comparison& statement : statements.statements)
        parts.push_back(comparisonCode(statement));
    return stored(concatenated(parts));
}

std::string encodeFunctionCallTest(const FunctionCallTest& call)
{
    if (showRefusal(refusalOf(call)))
        return std::string();
    return stored(withLength({expressionCode(call.left), operatorPart(call.op),
                              listCode(call.arguments)}));
}

std::string encodeFunctionCallAssign(const FunctionCallAssign& call)
{
    if (showRefusal(refusalOf(call)))
        return std::string();
    return stored(withLength({expressionCode(call.target), operatorPart(call.op),
                              expressionCode(call.function), listCode(call.arguments)}));
}

}  // namespace orlo
