// The composite formula forms built from expressions: comparisons, chains of
// comparisons joined by "并且"/"或者", expression lists, assignment lists and
// the two function-call forms; parsing them from text and their byte code.

// Every encode function returns the byte code as a line stores it: empty
// (length 0) when it would be longer than kMaxStoredByteCode. A form whose
// length byte, or that of any part inside it, would reach 256 is empty too;
// the whole form goes, never a part of it, so a stored form never silently
// lacks a comparison or an argument that the user wrote. A form with a part
// the compiler refused (see Expression::refusal) is empty too, and its
// encoder shows the refusal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "expr/expression.h"

namespace orlo {

// Comparison (and assignment) operator codes; 0 means none.
enum ComparisonCode : std::uint8_t {
    kNoComparison = 0,
    kEqual = 1,         // "="  (also the assignment operator)
    kGreater = 2,       // ">"
    kLess = 3,          // "<"
    kGreaterEqual = 4,  // ">="
    kLessEqual = 5,     // "<="
    kNotEqual = 6,      // "<>"
};

// The text of an operator code; empty for 0 and unknown codes.
std::string comparisonText(std::uint8_t code);

struct Comparison {
    Expression left;
    std::uint8_t op = kNoComparison;
    Expression right;
};

// Connector codes of a compound condition.
constexpr std::uint8_t kAnd = 1;  // "并且"
constexpr std::uint8_t kOr = 2;   // "或者"

// The word of a connector code; empty for unknown codes.
std::string connectorText(std::uint8_t code);

struct CompoundItem {
    bool isConnector = false;
    std::uint8_t connector = 0;  // when isConnector
    Comparison comparison;       // otherwise
};

struct CompoundCondition {
    std::vector<CompoundItem> items;
};

struct ExpressionList {
    std::vector<Expression> expressions;
};

// Assignments of a result ("整数1 = 整数2 + 1"), one comparison each.
struct StatementList {
    std::vector<Comparison> statements;
};

// "left op name(arguments)": the called function's number is not part of it.
struct FunctionCallTest {
    Expression left;
    std::uint8_t op = kNoComparison;
    ExpressionList arguments;
};

// "target op function(arguments)": the function is an expression itself.
struct FunctionCallAssign {
    Expression target;
    std::uint8_t op = kNoComparison;
    Expression function;
    ExpressionList arguments;
};

// Parsing. Aliases are looked up in the given table.
Comparison parseComparison(const std::string& text, const NameTable& table = names());
CompoundCondition parseCompoundCondition(const std::string& text, const NameTable& table = names());
ExpressionList parseExpressionList(const std::string& text, const NameTable& table = names());
StatementList parseStatementList(const std::string& text, const NameTable& table = names());
FunctionCallTest parseFunctionCallTest(const std::string& text, const NameTable& table = names());
FunctionCallAssign parseFunctionCallAssign(const std::string& text,
                                           const NameTable& table = names());

// Byte code as stored (see above).
//   Comparison          [L] [left] [02 op] [right]
//   CompoundCondition   the items one after the other, no outer length; a
//                       connector is 02 01 ("并且") or 02 02 ("或者")
//   ExpressionList      [L] [expression] [expression] ...
//   StatementList       the comparisons one after the other, no outer length
//   FunctionCallTest    [L] [left] [02 op] [arguments as an ExpressionList]
//   FunctionCallAssign  [L] [target] [02 op] [function] [arguments]
// L counts itself and everything after it.
std::string encodeComparison(const Comparison& comparison);
std::string encodeCompoundCondition(const CompoundCondition& condition);
std::string encodeExpressionList(const ExpressionList& list);
std::string encodeStatementList(const StatementList& statements);
std::string encodeFunctionCallTest(const FunctionCallTest& call);
std::string encodeFunctionCallAssign(const FunctionCallAssign& call);

// The first refusal among a form's expressions; empty when it can be stored.
std::string refusalOf(const Comparison& comparison);
std::string refusalOf(const CompoundCondition& condition);
std::string refusalOf(const ExpressionList& list);
std::string refusalOf(const StatementList& statements);
std::string refusalOf(const FunctionCallTest& call);
std::string refusalOf(const FunctionCallAssign& call);

}  // namespace orlo
