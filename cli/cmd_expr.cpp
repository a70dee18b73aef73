// tarn expr: compile formula text to the byte code a line stores, and render
// byte code back to the text the program list shows.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "expr/decoder.h"
#include "expr/expression.h"
#include "expr/expression_forms.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

// What render needs besides the bytes.
struct RenderOptions {
    std::string separator = ";";
    std::string name;
};

struct Form {
    const char* name;
    // The byte code, and in refusal why the formula cannot be stored.
    std::string (*compile)(const std::string& text, std::string& refusal);
    std::string (*render)(const std::string& bytes, const RenderOptions& options);
};

const Form kForms[] = {
    {"expression",
     [](const std::string& t, std::string& r) {
         const Expression e = compileExpression(t);
         r = e.refusal;
         return encodeExpression(e);
     },
     [](const std::string& b, const RenderOptions&) { return renderExpression(decodeExpression(b)); }},
    {"comparison",
     [](const std::string& t, std::string& r) {
         const auto form = parseComparison(t);
         r = refusalOf(form);
         return encodeComparison(form);
     },
     [](const std::string& b, const RenderOptions&) { return renderComparison(decodeComparison(b)); }},
    {"compound",
     [](const std::string& t, std::string& r) {
         const auto form = parseCompoundCondition(t);
         r = refusalOf(form);
         return encodeCompoundCondition(form);
     },
     [](const std::string& b, const RenderOptions&) {
         return renderCompoundCondition(decodeCompoundCondition(b, b.size()));
     }},
    {"list",
     [](const std::string& t, std::string& r) {
         const auto form = parseExpressionList(t);
         r = refusalOf(form);
         return encodeExpressionList(form);
     },
     [](const std::string& b, const RenderOptions&) {
         return renderExpressionList(decodeExpressionList(b));
     }},
    {"statements",
     [](const std::string& t, std::string& r) {
         const auto form = parseStatementList(t);
         r = refusalOf(form);
         return encodeStatementList(form);
     },
     [](const std::string& b, const RenderOptions& o) {
         return renderStatementList(decodeStatementList(b, b.size()), o.separator);
     }},
    {"call-test",
     [](const std::string& t, std::string& r) {
         const auto form = parseFunctionCallTest(t);
         r = refusalOf(form);
         return encodeFunctionCallTest(form);
     },
     [](const std::string& b, const RenderOptions& o) {
         return renderFunctionCallTest(decodeFunctionCallTest(b), o.name);
     }},
    {"call-assign",
     [](const std::string& t, std::string& r) {
         const auto form = parseFunctionCallAssign(t);
         r = refusalOf(form);
         return encodeFunctionCallAssign(form);
     },
     [](const std::string& b, const RenderOptions& o) {
         return renderFunctionCallAssign(decodeFunctionCallAssign(b), o.name);
     }},
};

const char kUsage[] =
    "usage: tarn expr compile [--form F] [--names FILE] TEXT\n"
    "       tarn expr render [--form F] [--names FILE] [--separator S] [--name N] HEX\n";

int usageError(const char* why)
{
    std::fprintf(stderr, "tarn expr: %s\n%s", why, kUsage);
    return 2;
}

const Form* findForm(const std::string& name)
{
    for (const Form& f : kForms) {
        if (name == f.name)
            return &f;
    }
    return nullptr;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i)
        out += (i ? " " : "") + words[i];
    return out;
}

int runExpr(Cli& cli)
{
    bool ok = true;
    std::string formName = "expression";
    RenderOptions options;
    cli.takeOption("form", formName, ok);
    cli.takeOption("separator", options.separator, ok);
    cli.takeOption("name", options.name, ok);
    if (!ok)
        return 2;
    if (!loadNamesOption(cli))
        return 1;
    if (cli.unknownOption() || !cli.text(cli.args) || !cli.text({options.separator, options.name}))
        return 2;
    const Form* form = findForm(formName);
    if (form == nullptr)
        return usageError(("unknown form " + formName).c_str());
    std::vector<std::string> pos = cli.positionals();
    if (pos.empty() || (pos[0] != "compile" && pos[0] != "render"))
        return usageError("expected compile or render");
    const bool compile = pos[0] == "compile";
    pos.erase(pos.begin());
    if (pos.empty())
        return usageError(compile ? "missing TEXT" : "missing HEX");

    // Several words are one text (or one hex string), joined by blanks.
    const std::string input = joined(pos);
    if (compile) {
        // A refused formula has shown its message; it has no byte code.
        std::string refusal;
        const std::string code = form->compile(input, refusal);
        if (!refusal.empty())
            return 1;
        cli.print(hexText(code));
        return 0;
    }
    std::string bytes;
    if (!parseHexText(input, bytes))
        return usageError("HEX must be bytes as hex digits, e.g. \"0D 03 02 01\"");
    cli.print(oneLine(form->render(bytes, options)));
    return 0;
}

const CommandRegistration exprCommand({
    "expr", "compile a formula to byte code, render byte code as text",
    "usage: tarn expr compile [--form F] [--names FILE] TEXT\n"
    "       tarn expr render [--form F] [--names FILE] [--separator S] [--name N] HEX\n"
    "\n"
    "compile prints the byte code a program line stores for the formula TEXT, as\n"
    "hex (\"0D 03 02 01 ...\"); it prints an empty line when the code is empty\n"
    "(nothing usable in TEXT, or code longer than 200 bytes). Unrecognised\n"
    "operands and tokens in impossible places are dropped silently, as the line\n"
    "editor drops them. A formula that names something its byte code cannot\n"
    "carry (全局整数300[1], a number out of range) is refused with a message and\n"
    "exit status 1, as is a --names file that cannot be taken whole.\n"
    "\n"
    "render prints the text of the byte code HEX as the program list shows it;\n"
    "byte code whose lengths do not add up prints an empty line.\n"
    "\n"
    "Several words of TEXT or HEX are joined by single blanks.\n"
    "\n"
    "Options:\n"
    "  --form F        the form of the formula (default expression):\n"
    "                    expression   整数1 + 5\n"
    "                    comparison   整数1 >= 10\n"
    "                    compound     整数1 > 1 并且 整数2 < 2 (render: every byte\n"
    "                                 of HEX counts, there is no length byte)\n"
    "                    list         整数1, 整数2 + 1, \"abc\"\n"
    "                    statements   整数1 = 整数2 + 1; 整数3 = 0 (render: every\n"
    "                                 byte of HEX counts)\n"
    "                    call-test    整数1 = 函数3(整数2, 5)\n"
    "                    call-assign  整数1 = 函数3(整数2, 5)\n"
    "  --names FILE    first import a name table text file (lines of alias, tab,\n"
    "                  =, tab, system name; GBK): aliases are understood when\n"
    "                  compiling and shown when rendering.\n"
    "  --separator S   render, statements: text between two statements\n"
    "                  (default \";\").\n"
    "  --name N        render, call forms: the function name shown before the\n"
    "                  arguments (default empty).\n"
    "\n"
    "Examples:\n"
    "  tarn expr compile \"整数1 + 5\"\n"
    "      0D 03 02 01 03 64 2B 06 01 00 00 00 05\n"
    "  tarn expr render \"0D 03 02 01 03 64 2B 06 01 00 00 00 05\"\n"
    "      整数1 + 5\n"
    "  tarn expr render --form call-test --name 函数3 \"0F 04 03 02 01 02 01 08 07 06 01 00 00 00 05\"\n"
    "      整数1 = 函数3( 5 )\n",
    runExpr});

}  // namespace

}  // namespace orlo::cli
