// Cross-reference and checks of a program (see program_xref.h).
#include "ui/program_xref.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "model/image.h"
#include "platform/strings.h"
#include "ui/names_in_use.h"
#include "ui/program_diff.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

// The longest resource word the classifier knows ("输入闭合计数") in characters.
constexpr std::size_t kLongestWordChars = 6;
constexpr std::uint8_t kFunctionKind = 59;
constexpr std::uint8_t kElementKind = 64;

const char* const kBadFormat = "格式出错";
const char* const kDynamicCall[] = {"函数号为"};
const char* const kStartThread = "启动线程 ";
const char* const kThreadWords[] = {"启动线程", "线程启动"};
const char* const kFunctionIndex = "函数[";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLead(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Operand kinds that name one numbered resource (the literals, operators and
// whole resource classes do not).
bool isNumberedResource(std::uint8_t kind)
{
    switch (kind) {
    case 0: case 1: case 8: case 9: case 10: case 22: case 31: case 32: case 100:
        return false;
    default:
        return true;
    }
}

std::string resourceName(const OperandToken& t)
{
    if (t.kind == kElementKind)
        return format("%s%u", t.scope ? "全局数组" : "数组", static_cast<unsigned>(t.arrayNo));
    return canonicalText(t);
}

// The start of each character of a GBK text.
std::vector<std::size_t> characterStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); i += isLead(text[i]) && i + 1 < text.size() ? 2 : 1)
        starts.push_back(i);
    return starts;
}

// The numbered resources a text names: at every run of digits, the longest
// word of letters or double-byte characters right before it that the
// classifier takes, with the run (and an array element's _E_W).
std::vector<OperandToken> resourcesOfText(const std::string& text)
{
    static const NameTable noAliases;
    std::vector<OperandToken> found;
    const std::vector<std::size_t> starts = characterStarts(text);
    bool quoted = false;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const char c = text[starts[k]];
        if (c == '"')
            quoted = !quoted;
        if (quoted || !isDigit(c) || k == 0)
            continue;
        std::size_t end = starts[k];
        while (end < text.size() && isDigit(text[end]))
            ++end;
        for (int part = 0; part < 2; ++part) {  // _E_W of an array element
            std::size_t e = end;
            if (e < text.size() && text[e] == '_' && e + 1 < text.size() && isDigit(text[e + 1])) {
                for (++e; e < text.size() && isDigit(text[e]);)
                    ++e;
                end = e;
            }
        }
        for (std::size_t n = std::min(k, kLongestWordChars); n > 0; --n) {
            bool wordChars = true;
            for (std::size_t j = k - n; j < k && wordChars; ++j)
                wordChars = isLead(text[starts[j]]) || isLetter(text[starts[j]]);
            if (!wordChars)
                continue;
            const std::size_t begin = starts[k - n];
            // A Latin word must not be the tail of a longer one ("SCAN1").
            if (isLetter(text[begin]) && k - n > 0 && isLetter(text[starts[k - n - 1]]))
                continue;
            const OperandToken t = classifyOperand(text.substr(begin, end - begin), noAliases);
            if (isNumberedResource(t.kind)) {
                found.push_back(t);
                break;
            }
        }
        while (k + 1 < starts.size() && starts[k + 1] < end)
            ++k;
    }
    return found;
}

struct LineFacts {
    std::vector<std::string> resources;
    std::vector<int> functionsCalled, threadsStarted;
    bool dynamicCall = false, dynamicStart = false;
};

LineFacts factsOf(const std::string& text)
{
    LineFacts f;
    for (const OperandToken& t : resourcesOfText(text)) {
        const std::string name = resourceName(t);
        if (std::find(f.resources.begin(), f.resources.end(), name) == f.resources.end())
            f.resources.push_back(name);
        if (t.kind == kFunctionKind)
            f.functionsCalled.push_back(t.index);
    }
    for (const char* word : kDynamicCall)
        if (text.find(word) != std::string::npos)
            f.dynamicCall = true;
    // "函数[5]" calls function 5; "函数[整数1]" whichever integer 1 says.
    for (std::size_t at = text.find(kFunctionIndex); at != std::string::npos;
         at = text.find(kFunctionIndex, at + 1)) {
        std::size_t p = at + std::string(kFunctionIndex).size(), q = p;
        while (q < text.size() && isDigit(text[q]))
            ++q;
        if (q > p && q - p < 6 && q < text.size() && text[q] == ']')
            f.functionsCalled.push_back(std::stoi(text.substr(p, q - p)));
        else
            f.dynamicCall = true;
    }
    // "启动线程 3" starts thread 3; any other start names its thread by an
    // expression.
    bool anyStart = false;
    for (const char* word : kThreadWords)
        anyStart = anyStart || text.find(word) != std::string::npos;
    if (anyStart) {
        const std::size_t at = text.find(kStartThread);
        std::size_t p = at == std::string::npos ? 0 : at + std::string(kStartThread).size(), q = p;
        while (at != std::string::npos && q < text.size() && isDigit(text[q]))
            ++q;
        if (at != std::string::npos && q > p && (q == text.size() || text[q] == ' ') && q - p < 6)
            f.threadsStarted.push_back(std::stoi(text.substr(p, q - p)));
        else
            f.dynamicStart = true;
    }
    return f;
}

std::vector<int> sectionIds()
{
    std::vector<int> ids{kMainSectionId};
    for (int n = 1; n <= kFunctionCount; ++n)
        ids.push_back(n);
    for (int n = 1; n <= kThreadCount; ++n)
        ids.push_back(kThreadIdBase + n);
    return ids;
}

// Calls each line of the program with its facts, rendered without aliases.
template <typename Visit>
void eachLine(const Program& program, Visit visit)
{
    NamesInUse plain{NameTable()};
    for (int id : sectionIds()) {
        const ProgramSection& s = *program.sectionById(id);
        for (unsigned i = 0; i < s.count(); ++i)
            visit(id, i, s.lines[i], instructionText(s.lines[i]));
    }
}

}  // namespace

std::vector<std::string> resourcesOfLine(const ProgramLine& line)
{
    NamesInUse plain{NameTable()};
    return factsOf(instructionText(line)).resources;
}

std::vector<ResourceReference> crossReference(const Program& program, const NameTable& names)
{
    // Ordered by operand kind, number, then name.
    std::map<std::tuple<int, long, std::string>, ResourceReference> byResource;
    static const NameTable noAliases;
    eachLine(program, [&](int id, unsigned i, const ProgramLine& line, const std::string& text) {
        for (const std::string& name : factsOf(text).resources) {
            const OperandToken t = classifyOperand(name, noAliases);
            ResourceReference& r = byResource[{t.kind, t.index, name}];
            r.name = name;
            r.uses.push_back({id, i + 1, line.isResult != 0});
        }
    });
    std::vector<ResourceReference> out;
    for (auto& [key, r] : byResource) {
        const std::string alias = names.systemToAlias(r.name);
        r.alias = alias == r.name ? std::string() : alias;
        out.push_back(std::move(r));
    }
    return out;
}

std::vector<std::string> lintProgram(const Program& program, const NameTable& names,
                                     bool wholeProgram)
{
    std::vector<std::string> out;
    std::map<int, std::string> firstCall, firstStart;  // number -> "SECTION:LINE"
    std::set<std::string> used;
    bool dynamicCall = false, dynamicStart = false;
    eachLine(program, [&](int id, unsigned i, const ProgramLine& line, const std::string& text) {
        const std::string where = format("%s:%u", sectionLabel(id).c_str(), i + 1);
        if (encodedLength(line) == 0)
            out.push_back(where + format(": kind %u is unknown; the line is not stored",
                                         static_cast<unsigned>(line.kind())));
        else if (text.find(kBadFormat) != std::string::npos)
            out.push_back(where + ": the line's bytes do not render (" + kBadFormat + ")");
        const LineFacts f = factsOf(text);
        used.insert(f.resources.begin(), f.resources.end());
        for (int n : f.functionsCalled)
            firstCall.emplace(n, where);
        for (int n : f.threadsStarted)
            firstStart.emplace(n, where);
        dynamicCall = dynamicCall || f.dynamicCall;
        dynamicStart = dynamicStart || f.dynamicStart;
    });
    if (!wholeProgram)
        return out;

    auto reached = [&](const char* word, int count, int idBase, const std::map<int, std::string>& calls,
                       bool dynamic, const char* verb) {
        for (const auto& [n, where] : calls) {
            const ProgramSection* s = program.sectionById(idBase + n);
            if (s && s->empty())
                out.push_back(where + format(": %s%d is %s but holds no lines", word, n, verb));
        }
        for (int n = 1; n <= count; ++n) {
            const ProgramSection& s = *program.sectionById(idBase + n);
            if (!s.empty() || calls.count(n))
                used.insert(format("%s%d", word, n));
            if (!s.empty() && !calls.count(n) && !dynamic)
                out.push_back(format("%s%d:1: %s%d holds lines but is never %s", word, n, word, n, verb));
        }
    };
    reached("函数", kFunctionCount, 0, firstCall, dynamicCall, "called");
    reached("线程", kThreadCount, kThreadIdBase, firstStart, dynamicStart, "started");

    int nameLine = 0;
    for (int i = 0; i < names.usedCount(); ++i) {
        const NameTable::Slot& slot = names.slot(i);
        if (slot.systemName.empty())
            continue;
        ++nameLine;
        if (!used.count(slot.systemName))
            out.push_back(format("names:%d: alias ", nameLine) + slot.alias + " names " +
                          slot.systemName + ", which the program does not use");
    }
    return out;
}

}  // namespace orlo
