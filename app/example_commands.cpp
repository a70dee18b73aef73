// The example programs: loading one from its compiled-in JSON and merging it
// into the user's program, and the main window's context-menu entries that
// do so after the selected line.
#include "app/examples.h"

#include <cstdlib>
#include <map>
#include <memory>

#include "app/tarn_dlg.h"
#include "catalogue/line_sides.h"
#include "catalogue/result_text.h"
#include "cli/json/program_json.h"
#include "expr/names.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

using NumberMap = std::map<int, int>;

// Where the sections the example fills go in target: the first empty ones,
// in the example's order. False when target has too few empty sections.
template <std::size_t N>
bool placeSections(const std::array<ProgramSection, N>& from,
                   const std::array<ProgramSection, N>& into, NumberMap& map)
{
    std::size_t next = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (from[i].empty())
            continue;
        while (next < N && !into[next].empty())
            ++next;
        if (next == N)
            return false;
        map[static_cast<int>(i + 1)] = static_cast<int>(++next);
    }
    return true;
}

// Lines that name a function or thread by number: "调用函数" and the user
// function forms carry the function in param2; "启动线程", "暂停线程" and
// "停止线程" carry the thread as the first expression of their list.
void renumber(ProgramLine& line, const NumberMap& functions, const NumberMap& threads)
{
    if (!line.isResult)
        return;
    const int kind = line.kind(), p1 = line.param1(), p2 = line.param2();
    if ((kind == 12 && p1 == 1) || (kind == 30 && p1 == 2)) {
        const auto f = functions.find(p2);
        if (f != functions.end())
            line.instruction[2] = static_cast<std::uint8_t>(f->second);
        return;
    }
    if (kind != 36 || p1 != 1 || p2 < 7 || p2 > 9)
        return;
    const std::string list = resultParam3Text(line.instruction.data());
    const std::size_t comma = list.find(", ");
    const std::string first = list.substr(0, comma);
    const auto t = threads.find(std::atoi(first.c_str()));
    if (t == threads.end() || format("%d", t->first) != first)
        return;
    const std::string rest = comma == std::string::npos ? "" : list.substr(comma);
    composeLine(resultSide(), line.instruction.data(), 36, 1, p2, 0,
                format("%d", t->second) + rest);
}

void copyRenumbered(const ProgramSection& from, ProgramSection& into, const NumberMap& functions,
                    const NumberMap& threads)
{
    for (ProgramLine line : from.lines) {
        renumber(line, functions, threads);
        into.lines.push_back(line);
    }
}

const ExampleText* findExample(const std::string& name)
{
    for (const ExampleText& e : exampleTexts())
        if (name == e.name)
            return &e;
    return nullptr;
}

}  // namespace

const std::vector<ExampleEntry>& exampleEntries()
{
    static const std::vector<ExampleEntry> entries = {
        {ID_EXAMPLE_SEND, "send", "输入发送数据程序"},
        {ID_EXAMPLE_JOG, "jog", "输入控制输出点动程序"},
        {ID_EXAMPLE_LATCH, "latch", "输入控制输出自锁程序"},
        {ID_EXAMPLE_PACKET_SEND, "packet-send", "数据口发送数据(118)"},
    };
    return entries;
}

std::string loadExample(const std::string& name, Program& program, NameTable& names)
{
    const ExampleText* e = findExample(name);
    if (!e)
        return "no example called " + name;
    return programFromJson(e->json, program, names);
}

std::string insertExample(Program& target, NameTable& names, const Program& example,
                          const NameTable& exampleNames, unsigned at, unsigned* count)
{
    NumberMap functions, threads;
    if (!placeSections(example.functions, target.functions, functions))
        return "没有空的函数可以放入示例程序的函数";
    if (!placeSections(example.threads, target.threads, threads))
        return "没有空的线程可以放入示例程序的线程";
    for (const auto& [from, to] : functions)
        copyRenumbered(example.functions[static_cast<std::size_t>(from - 1)],
                       target.functions[static_cast<std::size_t>(to - 1)], functions, threads);
    for (const auto& [from, to] : threads)
        copyRenumbered(example.threads[static_cast<std::size_t>(from - 1)],
                       target.threads[static_cast<std::size_t>(to - 1)], functions, threads);
    ProgramSection lines;
    copyRenumbered(example.main, lines, functions, threads);
    if (at > target.main.count())
        at = target.main.count();
    target.main.insertRange(at, lines.lines);
    if (count)
        *count = lines.count();

    // An alias of one of the example's functions or threads follows it to
    // its new number.
    for (int i = 0; i < exampleNames.usedCount(); ++i) {
        const NameTable::Slot& s = exampleNames.slot(i);
        std::string system = s.systemName;
        for (const auto& [word, map] : {std::pair<const char*, const NumberMap*>{"函数", &functions},
                                        {"线程", &threads}})
            for (const auto& [from, to] : *map)
                if (s.systemName == format("%s%d", word, from))
                    system = format("%s%d", word, to);
        if (!system.empty() && names.systemToAlias(system) == system)
            names.rename(system, s.alias);  // an alias already taken stays unset
    }
    return {};
}

// The context-menu entries: the example goes in after the highest selected
// line of the main list, at the end when none is selected.
void CTarnDlg::installExamples()
{
    for (const ExampleEntry& e : exampleEntries()) {
        setCommandHandler(e.commandId, [this, name = std::string(e.name)](Notify n) {
            if (n == Notify::Clicked)
                insertExampleProgram(name);
        });
    }
}

void CTarnDlg::insertExampleProgram(const std::string& name)
{
    auto example = std::make_unique<Program>();
    NameTable exampleNames;
    std::string message = loadExample(name, *example, exampleNames);
    unsigned at = program().main.count(), count = 0;
    if (view_) {
        const int last = Clist_command(view_, IDC_PROGRAM_LIST).highestSelected();
        if (last >= 0)
            at = static_cast<unsigned>(last) + 1;
    }
    if (message.empty())
        message = insertExample(program(), orlo::names(), *example, exampleNames, at, &count);
    if (!message.empty()) {
        tell(message, "");
        return;
    }
    // The line open in the line editor moves down with the lines before it.
    if (currentLine >= static_cast<int>(at))
        currentLine += static_cast<int>(count);
    programChanged();
    if (view_)
        Clist_command(view_, IDC_PROGRAM_LIST).selectRange(static_cast<int>(at),
                                                          static_cast<int>(count));
}

}  // namespace orlo
