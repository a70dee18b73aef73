// The building blocks of the result texts: a form is a printf-like format
// whose values are named by where they come from in the result's
// instruction (a param3 byte, the 32-bit value, a resource name through the
// user's aliases, rendered byte code ...), and a form row picks its form by
// kind, choices and a condition on the line. The result texts are tables of
// such rows; this is the one reader of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/table.h"

namespace orlo {
namespace form {

// P[i] is param3 byte i (instruction byte 3 + i); V is P[0..3] and W is
// P[2..5] read most significant byte first; A is param1, H param2.
enum Value : std::uint8_t {
    None,
    P0, P1, P2, P3, P4, P5,
    P23,             // P[2] * 256 + P[3]
    V, W,
    A, AMinus1,      // param1, param1 - 1
    H, HMinus1,      // param2, param2 - 1
    K, S, R, Q,      // kind name, param1 name, param2 name, param3 text
    OutH, BitH,      // output / bit variable numbered param2, through aliases
    GIntA, GIntV, GIntP2,
    TmrV, AInV,
    InP3, OutP3, BitP3, PortP3,
    PortH,           // the data port numbered param2
    PortChoiceH,     // the same, empty from 33 on
    GArrH,
    MaskV,           // the channel numbers of V's set bits
    HexP1, StrP1,    // P[0] bytes from P[1] as hex / as a zero-terminated string
    HexP5, StrP5,    // P[4] bytes from P[5]
    ChoiceP0, ChoiceP1,  // the param3 suggestion at position P[0] / P[1]
    // Byte code counted in P[0], from P[1], rendered:
    ExprP1, ListP1,
    StatementsBySemicolon, StatementsByAnd, StatementsByOr,
    CallTestBlankName,     // function-call test with " " as the function's name
    CallTestR,             // ... with the param2 name as its name
    CallAssignNoName,      // function-call assignment with no name
    CallAssignFunctionName,// ... with "函数" as its name
    RealP1, RealP3,  // the double in P[1..8] / P[3..10], least significant byte first
    OperatorP2,      // "+", "-", "*", "/" for P[2] = 0..3, else "+"
    // The expression list counted in P[0], from P[1]: expression i rendered
    // ("" past the end), and the expressions from 1, from 2 or all joined by ", ".
    E0, E1, E2, E3, E4, E1On, E2On, EAll,
};

// A condition on the line that a row needs besides its kind and choices; n is
// the number of expressions in the list from P[1].
enum class When : std::uint8_t {
    Always,
    VZero, VOne, VNonZero,
    Count0, Count1, Count2, Count3, Count4, Count5,
    Count2OrMore, Count3OrMore,
};

constexpr int kMaxValues = 5;

struct Row {
    ByteRange kind;
    ByteRange param1;
    ByteRange param2;
    When when;
    const char* format;
    Value values[kMaxValues];
};

// The values of one instruction, computed when first asked for.
class Line {
public:
    explicit Line(const std::uint8_t* instruction);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    const std::uint8_t* instruction() const { return instruction_; }
    bool holds(When when);

    // The format filled with the values in order: %u and %d print a number as
    // 32-bit unsigned / signed, %s a text, %lf a double as exactDecimalText, %% a "%".
    std::string fill(const std::string& format, const Value* values);

private:
    struct Decoded;
    struct Item;
    Item item(Value value);
    int expressionCount();

    const std::uint8_t* instruction_;
    std::unique_ptr<Decoded> decoded_;
};

// The first row whose kind, choices and condition match the line, or nullptr.
const Row* findRow(const Row* rows, std::size_t count, Line& line);

// The first matching row's form filled, or "" when no row matches.
std::string rowText(const Row* rows, std::size_t count, Line& line);

}  // namespace form
}  // namespace orlo
