// The program model (see program.h).
#include "model/program.h"

#include <algorithm>

#include "expr/names.h"

namespace orlo {

bool ProgramLine::operator==(const ProgramLine& o) const
{
    return label == o.label && isResult == o.isResult && orElse == o.orElse &&
           reserved == o.reserved && instruction == o.instruction && remark == o.remark;
}

ProgramLine ProgramSection::lineAt(unsigned index) const
{
    return index < count() ? lines[index] : ProgramLine{};
}

void ProgramSection::replaceAt(unsigned index, const ProgramLine& line)
{
    if (index < count())
        lines[index] = line;
}

void ProgramSection::insertAfter(unsigned index, const ProgramLine& line)
{
    if (!lines.empty() && index < count())
        lines.insert(lines.begin() + index + 1, line);
    else
        lines.push_back(line);
}

void ProgramSection::insertAt(unsigned position, const ProgramLine& line)
{
    position = std::min(position, count());
    lines.insert(lines.begin() + position, line);
}

void ProgramSection::insertRange(unsigned position, const std::vector<ProgramLine>& range)
{
    position = std::min(position, count());
    lines.insert(lines.begin() + position, range.begin(), range.end());
}

void ProgramSection::removeIndices(const std::vector<unsigned>& indexes)
{
    // Highest first, so the lower indexes still name the lines they named.
    std::vector<unsigned> order(indexes);
    std::sort(order.begin(), order.end(), std::greater<unsigned>());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    for (unsigned i : order)
        if (i < count())
            lines.erase(lines.begin() + i);
}

ProgramSection* Program::sectionById(int id)
{
    if (id == kMainSectionId)
        return &main;
    if (id >= 1 && id <= kFunctionCount)
        return &functions[static_cast<std::size_t>(id - 1)];
    if (id > kThreadIdBase && id <= kThreadIdBase + kThreadCount)
        return &threads[static_cast<std::size_t>(id - kThreadIdBase - 1)];
    return nullptr;
}

const ProgramSection* Program::sectionById(int id) const
{
    return const_cast<Program*>(this)->sectionById(id);
}

ProgramLine Program::lineAt(int id, unsigned index) const
{
    const ProgramSection* s = sectionById(id);
    return s ? s->lineAt(index) : ProgramLine{};
}

void Program::clearSections()
{
    main.clear();
    for (auto& f : functions)
        f.clear();
    for (auto& t : threads)
        t.clear();
}

Program& program()
{
    static Program p;
    return p;
}

void clearProgram()
{
    program().clearSections();
    names().clear();
}

}  // namespace orlo
