// Rows of the line lists (see program_list.h).
#include "ui/program_list.h"

#include "catalogue/condition_text.h"
#include "catalogue/result_text.h"
#include "platform/strings.h"

namespace orlo {

namespace {

const char* const kBlankLabel = "     ";
const char* const kRemarkPrefix = "       备注:";

}  // namespace

std::string instructionText(const ProgramLine& line)
{
    return line.isResult ? resultLineText(line.instruction.data())
                         : conditionText(line.instruction.data());
}

std::string lineText(const ProgramLine& line)
{
    std::string text = instructionText(line);
    if (!line.remark.empty())
        text += kRemarkPrefix + line.remark;
    return text;
}

std::vector<std::string> sectionRows(ProgramSection& section)
{
    std::vector<std::string> rows;
    rows.reserve(section.lines.size());
    unsigned rule = 1;
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        ProgramLine& line = section.lines[i];
        const ProgramLine* before = i > 0 ? &section.lines[i - 1] : nullptr;
        // A rule starts at the first line and at a condition after a result.
        const bool startsRule = !before || (!line.isResult && before->isResult);
        line.label = startsRule ? format("%u   ", rule++) : kBlankLabel;

        std::string connective;
        if (line.isResult)
            connective = std::string(line.orElse == 1 ? "若条件不满足" : "") + "->  ";
        else if (!before || before->isResult)
            connective = "如果  ";
        else
            connective = line.orElse ? "或者  " : "并且  ";
        rows.push_back(line.label + connective + lineText(line));
    }
    return rows;
}

const FontRequest& listFont()
{
    static const FontRequest font = [] {
        FontRequest f;
        f.face = "黑体";
        f.height = 24;
        f.orientation = 12;
        f.weight = 400;
        f.charSet = 0;
        f.pitchAndFamily = 0x20;
        return f;
    }();
    return font;
}

void Clist_command::renderSection(ProgramSection& section)
{
    std::vector<std::string> rows = sectionRows(section);
    view_->setRedraw(id_, false);
    view_->clearItems(id_);
    for (const std::string& row : rows)
        view_->addItem(id_, row);
    view_->setRedraw(id_, true);
}

void Clist_command::selectOnly(int index)
{
    const int n = count();
    if (n == 0 || index < 0)
        return;
    view_->setSelected(id_, -1, false);
    view_->setSelected(id_, index < n ? index : n - 1, true);
}

void Clist_command::selectRange(int first, int n)
{
    if (count() == 0 || first < 0 || n < 1)
        return;
    view_->setSelected(id_, -1, false);
    for (int i = first; i < first + n; ++i)
        view_->setSelected(id_, i, true);
}

int Clist_command::lowestSelected() const
{
    std::vector<int> sel = view_->selectedIndexes(id_);
    return sel.empty() ? -1 : sel.front();
}

int Clist_command::highestSelected() const
{
    std::vector<int> sel = view_->selectedIndexes(id_);
    return sel.empty() ? -1 : sel.back();
}

}  // namespace orlo
