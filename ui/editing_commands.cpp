// The line lists' editing commands (see editing_commands.h).
#include "ui/editing_commands.h"

#include "platform/shell.h"

namespace orlo {

namespace {

const char* const kNothingSelected = "您没有选择信息！";
const char* const kNothingSelectedCaption = "注意：";
const char* const kConfirmDelete = "确认要删除吗？";
const char* const kConfirmDeleteAll = "确认要删除全部信息吗？";
const char* const kWarningCaption = "警告";

bool isLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

}  // namespace

bool SectionEditor::deleteSelected(bool confirm)
{
    const int top = view_->topIndex(list_.id());
    const int first = list_.lowestSelected();
    const std::vector<int> rows = view_->selectedIndexes(list_.id());
    if (confirm) {
        if (rows.empty()) {
            shell().messageBox(kNothingSelected, kNothingSelectedCaption, Buttons::Ok, Icon::Warning);
            return false;
        }
        if (shell().messageBox(kConfirmDelete, kWarningCaption, Buttons::YesNo, Icon::Question) !=
            Answer::Yes)
            return false;
    }
    if (rows.empty())
        return false;
    const unsigned before = section_.count();
    section_.removeIndices(std::vector<unsigned>(rows.begin(), rows.end()));
    if (section_.count() == before)
        return false;
    redraw_();
    view_->setTopIndex(list_.id(), top);
    if (first > 0)
        list_.selectOnly(first - 1);
    else if (first == 0 && list_.count() > 0)
        list_.selectOnly(0);
    return true;
}

bool SectionEditor::deleteAll()
{
    if (shell().messageBox(kConfirmDeleteAll, kWarningCaption, Buttons::YesNo, Icon::Question) !=
        Answer::Yes)
        return false;
    section_.clear();
    redraw_();
    return true;
}

void SectionEditor::copySelected(ProgramSection& clipboard)
{
    clipboard.clear();
    for (int row : view_->selectedIndexes(list_.id()))
        if (row >= 0 && static_cast<unsigned>(row) < section_.count())
            clipboard.lines.push_back(section_.lines[static_cast<std::size_t>(row)]);
}

bool SectionEditor::cutSelected(ProgramSection& clipboard)
{
    copySelected(clipboard);
    return deleteSelected(false);
}

bool SectionEditor::paste(const ProgramSection& clipboard)
{
    if (clipboard.empty())
        return false;
    const int top = view_->topIndex(list_.id());
    const int rows = list_.count();
    const int last = list_.highestSelected();
    unsigned at = rows > 0 ? static_cast<unsigned>(last + 1) : 0;
    if (at > section_.count())
        at = section_.count();
    // A copy: the clipboard may be the very section being pasted into.
    const std::vector<ProgramLine> lines = clipboard.lines;
    section_.insertRange(at, lines);
    redraw_();
    view_->setTopIndex(list_.id(), top);
    list_.selectRange(static_cast<int>(at), static_cast<int>(lines.size()));
    return true;
}

bool containsText(const std::string& text, const std::string& needle)
{
    if (needle.empty())
        return true;
    std::size_t i = 0;
    while (i + needle.size() <= text.size()) {
        if (text.compare(i, needle.size(), needle) == 0)
            return true;
        i += isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    }
    return false;
}

int findText(const ProgramSection& section, int start, const std::string& text)
{
    for (unsigned i = start < 0 ? 0u : static_cast<unsigned>(start); i < section.count(); ++i)
        if (containsText(lineText(section.lines[i]), text))
            return static_cast<int>(i);
    return -1;
}

}  // namespace orlo
