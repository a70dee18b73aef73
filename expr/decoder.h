// Expression byte code back to its structures and to the text the program
// list shows. The list never keeps what the user typed: every formula it
// shows is rendered from the stored bytes, aliases applied, and compiling the
// rendered text again gives the same bytes.

// Decoding takes any bytes at all. Byte code whose lengths do not add up
// (a zero length byte, parts that end before or after the length byte says,
// a length beyond the bytes given) decodes as empty and renders as the empty
// text; no message is shown and nothing outside the given bytes is read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "expr/expression.h"
#include "expr/expression_forms.h"

namespace orlo {

// [L][records]: the bytes from the length byte on; bytes after the L it
// names are ignored (a line's instruction holds more after the code).
Expression decodeExpression(std::string_view bytes);
Comparison decodeComparison(std::string_view bytes);
ExpressionList decodeExpressionList(std::string_view bytes);
FunctionCallTest decodeFunctionCallTest(std::string_view bytes);
FunctionCallAssign decodeFunctionCallAssign(std::string_view bytes);
// The forms without an outer length byte: count is the length the line
// stores for them. A count beyond the bytes given decodes as empty.
CompoundCondition decodeCompoundCondition(std::string_view bytes, std::size_t count);
StatementList decodeStatementList(std::string_view bytes, std::size_t count);

// Rendering, aliases taken from the given table.
//   expression   operands through renderOperand, " + " around binary
//                operators, brackets bare, "[" with the resource it indexes
//                («整数1 + 5», «数组3[2]»); "格式出错" for a "[" whose
//                resource kind has no text
//   comparison   left, operator, right without blanks («整数1>=10»)
//   compound     comparisons with " 并且 " / " 或者 " between them
//   list         the expressions joined by ", "
//   statements   the comparisons joined by the caller's separator
//   calls        [left op ] name ( arguments ); see the functions
std::string renderExpression(const Expression& expression, const NameTable& table = names());
std::string renderComparison(const Comparison& comparison, const NameTable& table = names());
std::string renderCompoundCondition(const CompoundCondition& condition,
                                    const NameTable& table = names());
std::string renderExpressionList(const ExpressionList& list, const NameTable& table = names());
std::string renderStatementList(const StatementList& statements, const std::string& separator,
                                const NameTable& table = names());
// "整数1 = 名字( 5 )": the left part only when it has tokens; then the name;
// then "( )", "( a )" or "(a, b)" for none, one or more arguments.
std::string renderFunctionCallTest(const FunctionCallTest& call, const std::string& name,
                                   const NameTable& table = names());
// As above, with the function expression after the name: "name[function]"
// when the name is not empty, the bare function text otherwise.
std::string renderFunctionCallAssign(const FunctionCallAssign& call, const std::string& name,
                                     const NameTable& table = names());

}  // namespace orlo
