// The composite formula forms: finding the comparison operator, cutting at
// connectors, commas and semicolons, the two call forms, their byte code and
// the length rules of the whole form.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "expr/decoder.h"
#include "expr/expression_forms.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

const NameTable& noAliases()
{
    static const std::unique_ptr<NameTable> table(new NameTable());
    return *table;
}

std::string text(const Expression& e)
{
    return renderExpression(e, noAliases());
}

std::string texts(const ExpressionList& list)
{
    std::string out;
    for (const Expression& e : list.expressions)
        out += "[" + text(e) + "]";
    return out;
}

TEST(Comparison, SpecimenByteCode)
{
    EXPECT_EQ(hexText(encodeComparison(parseComparison("整数1 >= 10", noAliases()))),
              "0E 04 03 02 01 02 04 07 06 01 00 00 00 0A");
    // Without an operator: an empty left part (01), code 0, the right part.
    EXPECT_EQ(hexText(encodeComparison(parseComparison("整数1", noAliases()))),
              "08 01 02 00 04 03 02 01");
}

TEST(Comparison, OperatorIsTheFirstOfTheTrialOrderFoundOutsideStrings)
{
    const struct {
        const char* text;
        int op;
        const char* left;
        const char* right;
    } cases[] = {
        {"整数1 = 2", kEqual, "整数1", "2"},
        {"整数1>2", kGreater, "整数1", "2"},
        {"整数1<2", kLess, "整数1", "2"},
        {"整数1>=2", kGreaterEqual, "整数1", "2"},
        {"整数1<=2", kLessEqual, "整数1", "2"},
        {"整数1<>2", kNotEqual, "整数1", "2"},
        {"整数1 》= 2", kGreaterEqual, "整数1", "2"},
        {"整数1 《》 2", kNotEqual, "整数1", "2"},
        {"\"a=b\" = 1", kEqual, "\"a=b\"", "1"},
        // At position 0 there is no left part: all of it is the right one.
        {"= 5", kNoComparison, "", ""},
        {"整数1", kNoComparison, "", "整数1"},
        // A shift is not a comparison.
        {"整数1 << 2 < 3", kLess, "整数1 << 2", "3"},
        {"整数1 >> 2 > 3", kGreater, "整数1 >> 2", "3"},
        {"整数1 >> 2 >= 3", kGreaterEqual, "整数1 >> 2", "3"},
    };
    for (const auto& c : cases) {
        const Comparison cmp = parseComparison(c.text, noAliases());
        EXPECT_EQ(cmp.op, c.op) << c.text;
        EXPECT_EQ(text(cmp.left), c.left) << c.text;
        EXPECT_EQ(text(cmp.right), c.right) << c.text;
    }
}

// Items as "C" (comparison) and "&" / "|" (connectors).
std::string shape(const CompoundCondition& condition)
{
    std::string out;
    for (const CompoundItem& item : condition.items)
        out += item.isConnector ? (item.connector == kAnd ? "&" : "|") : "C";
    return out;
}

TEST(CompoundCondition, CutAtConnectorsStandingApart)
{
    const struct {
        const char* text;
        const char* shape;
    } cases[] = {
        {"整数1 > 1 并且 整数2 < 2", "C&C"},
        {"整数1 > 1 或者 整数2 < 2 并且 整数3 = 0", "C|C&C"},
        {"整数1 > 1 并且 并且 整数2 < 2", "C&C&C"},
        // Glued to a digit or a Latin letter the word is part of a name.
        {"整数1>1并且整数2<2", "C"},
        {"整数1 > 1 并且2", "C"},
        {"整数1 > a并且 1", "C"},
        {"\"并且\" = 1", "C"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shape(parseCompoundCondition(c.text, noAliases())), c.shape) << c.text;

    const CompoundCondition empty = parseCompoundCondition("整数1 > 1 并且 并且 整数2 < 2", noAliases());
    EXPECT_TRUE(empty.items[2].comparison.left.tokens.empty());
    EXPECT_TRUE(empty.items[2].comparison.right.tokens.empty());
}

TEST(CompoundCondition, ByteCodeHasConnectorPairsBetweenComparisons)
{
    EXPECT_EQ(hexText(encodeCompoundCondition(parseCompoundCondition("整数1 > 1 并且 整数2 < 2", noAliases()))),
              "0E 04 03 02 01 02 02 07 06 01 00 00 00 01 02 01 0E 04 03 02 02 02 03 07 06 01 00 00 00 02");
    EXPECT_EQ(hexText(encodeCompoundCondition(parseCompoundCondition("整数1 或者 整数2", noAliases()))),
              "08 01 02 00 04 03 02 01 02 02 08 01 02 00 04 03 02 02");
}

TEST(ExpressionList, CutAtCommasOutsideParenthesesAndStrings)
{
    const struct {
        const char* text;
        const char* items;
    } cases[] = {
        {"1, 2, (3, 4)", "[1][2][(3 , 4)]"},
        {"1,,2", "[1][2]"},
        {"\"a,b\", 1", "[\"a,b\"][1]"},
        {"xyz, 1", "[1]"},
        {"整数1), 2", "[整数1)][2]"},
        {"（1，2）", "[(1 , 2)]"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(texts(parseExpressionList(c.text, noAliases())), c.items) << c.text;

    EXPECT_EQ(hexText(encodeExpressionList(parseExpressionList("1, 2", noAliases()))),
              "0F 07 06 01 00 00 00 01 07 06 01 00 00 00 02");
    EXPECT_EQ(hexText(encodeExpressionList(ExpressionList())), "01");
}

TEST(StatementList, CutAtSemicolonsKeepingStatementsWithARightSide)
{
    const struct {
        const char* text;
        std::size_t count;
    } cases[] = {
        {"整数1 = 1; 整数2 = 2", 2}, {"整数1 = 1；整数2 = 2", 2}, {"整数1 = 1;", 1},
        {"整数1 = 1", 1},           {"整数1 =", 0},             {"\"a;b\" = 1", 1},
        {";;", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseStatementList(c.text, noAliases()).statements.size(), c.count) << c.text;

    // No outer length: the comparisons one after the other.
    EXPECT_EQ(hexText(encodeStatementList(parseStatementList("整数1 = 1; 整数2 = 2", noAliases()))),
              hexText(encodeComparison(parseComparison("整数1 = 1", noAliases()))) + " "
                  + hexText(encodeComparison(parseComparison("整数2 = 2", noAliases()))));
}

TEST(FunctionCallTest, LeftOperatorAndArguments)
{
    const struct {
        const char* text;
        const char* left;
        int op;
        const char* arguments;
    } cases[] = {
        {"整数1 = 函数3(整数2, 5)", "整数1", kEqual, "[整数2][5]"},
        {"函数3(5)", "", kNoComparison, "[5]"},
        {"函数3 5, 6", "", kNoComparison, "[5][6]"},
        {"函数3", "", kNoComparison, ""},
        {"函数3()", "", kNoComparison, ""},
        {"整数1 = 函数3((1, 2), 3)", "整数1", kEqual, "[(1 , 2)][3]"},
        // A doubled operator leaves no trace; strings and shifts in the
        // arguments are not touched by its removal.
        {"整数1 == 函数3(1)", "整数1", kEqual, "[1]"},
        {"整数1 = 函数3(\"a=b\")", "整数1", kEqual, "[\"a=b\"]"},
        {"整数1 > 函数3(整数2 >> 1)", "整数1", kGreater, "[整数2 >> 1]"},
    };
    for (const auto& c : cases) {
        const FunctionCallTest call = parseFunctionCallTest(c.text, noAliases());
        EXPECT_EQ(text(call.left), c.left) << c.text;
        EXPECT_EQ(call.op, c.op) << c.text;
        EXPECT_EQ(texts(call.arguments), c.arguments) << c.text;
    }
    EXPECT_EQ(hexText(encodeFunctionCallTest(parseFunctionCallTest("整数1 = 函数3(5)", noAliases()))),
              "0F 04 03 02 01 02 01 08 07 06 01 00 00 00 05");
}

TEST(FunctionCallAssign, TheTextBeforeTheArgumentsIsTheFunction)
{
    const struct {
        const char* text;
        const char* target;
        int op;
        const char* function;
        const char* arguments;
    } cases[] = {
        {"整数1 = 函数3(整数2)", "整数1", kEqual, "函数3", "[整数2]"},
        {"函数3(1)", "", kNoComparison, "函数3", "[1]"},
        {"整数1 = 函数3", "整数1", kEqual, "函数3", ""},
        {"整数1 = 函数3 2", "整数1", kEqual, "函数3", "[2]"},
    };
    for (const auto& c : cases) {
        const FunctionCallAssign call = parseFunctionCallAssign(c.text, noAliases());
        EXPECT_EQ(text(call.target), c.target) << c.text;
        EXPECT_EQ(call.op, c.op) << c.text;
        EXPECT_EQ(text(call.function), c.function) << c.text;
        EXPECT_EQ(texts(call.arguments), c.arguments) << c.text;
    }
    EXPECT_EQ(hexText(encodeFunctionCallAssign(parseFunctionCallAssign("整数1 = 函数3(整数2)", noAliases()))),
              "10 04 03 02 01 02 01 04 03 3B 03 05 04 03 02 02");
}

Expression stringExpression(std::size_t n)
{
    OperandToken t;
    t.kind = 32;
    t.bytes.assign(n, 's');
    Expression e;
    e.tokens.push_back(t);
    return e;
}

TEST(CompositeByteCode, StoredOnlyUpTo200Bytes)
{
    // A string of n bytes on the left: L = 1 + (n + 3) + 2 + 1.
    Comparison fits, tooLong;
    fits.left = stringExpression(193);
    tooLong.left = stringExpression(194);
    EXPECT_EQ(encodeComparison(fits).size(), 200u);
    EXPECT_EQ(encodeComparison(tooLong), "");

    // Two strings of 100 and n bytes: L = 1 + 103 + (n + 3).
    ExpressionList listFits, listTooLong;
    listFits.expressions = {stringExpression(100), stringExpression(93)};
    listTooLong.expressions = {stringExpression(100), stringExpression(94)};
    EXPECT_EQ(encodeExpressionList(listFits).size(), 200u);
    EXPECT_EQ(encodeExpressionList(listTooLong), "");
}

TEST(CompositeByteCode, AnOverLongPartEmptiesTheWholeForm)
{
    // Left part of 256 bytes: the comparison is empty, not stored without it.
    Comparison overLong;
    overLong.left = stringExpression(253);
    overLong.right = stringExpression(1);
    EXPECT_EQ(encodeComparison(overLong), "");

    StatementList statements;
    statements.statements = {overLong, parseComparison("整数1 = 1", noAliases())};
    EXPECT_EQ(encodeStatementList(statements), "");

    CompoundCondition condition;
    CompoundItem item;
    item.comparison = overLong;
    condition.items.push_back(item);
    item.isConnector = true;
    item.connector = kAnd;
    condition.items.push_back(item);
    EXPECT_EQ(encodeCompoundCondition(condition), "");

    FunctionCallAssign call;
    call.function = stringExpression(253);
    EXPECT_EQ(encodeFunctionCallAssign(call), "");
}

// A refused expression anywhere in a form refuses the whole form, with one
// message.
TEST(CompositeByteCode, ARefusedPartRefusesTheWholeForm)
{
    const std::string bad = "全局整数300[1]";
    const NameTable& t = noAliases();
    const std::function<std::string()> encoders[] = {
        [&] { return encodeComparison(parseComparison(bad + " = 1", t)); },
        [&] { return encodeComparison(parseComparison("整数1 = " + bad, t)); },
        [&] { return encodeCompoundCondition(parseCompoundCondition("整数1 > 1 并且 整数2 = " + bad, t)); },
        [&] { return encodeExpressionList(parseExpressionList("1, " + bad, t)); },
        [&] { return encodeStatementList(parseStatementList("整数1 = 1; 整数2 = " + bad, t)); },
        [&] { return encodeFunctionCallTest(parseFunctionCallTest(bad + " = 函数3(1)", t)); },
        [&] { return encodeFunctionCallTest(parseFunctionCallTest("函数3(1, " + bad + ")", t)); },
        [&] { return encodeFunctionCallAssign(parseFunctionCallAssign(bad + " = 函数3(1)", t)); },
        [&] { return encodeFunctionCallAssign(parseFunctionCallAssign("整数1 = " + bad + "(1)", t)); },
        [&] { return encodeFunctionCallAssign(parseFunctionCallAssign("整数1 = 函数3(" + bad + ")", t)); },
    };
    for (std::size_t i = 0; i < sizeof encoders / sizeof *encoders; ++i) {
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(hexText(encoders[i]()), "") << "form " << i;
        ASSERT_EQ(fake.messages.size(), 1u) << "form " << i;
        EXPECT_EQ(fake.lastMessage(), "全局整数300后面不能跟[：带下标的资源编号只能是0到255");
    }
}

}  // namespace
}  // namespace orlo
