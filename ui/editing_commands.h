// The editing commands that change which lines a section holds: delete (with
// or without the question), delete all, copy, cut and paste through the
// program's one clipboard section, and the text search of the line lists.
// They work on a section and the list box that shows it; the caller's redraw
// puts the section back into the list after a change.
#pragma once

#include <functional>
#include <string>

#include "model/program.h"
#include "ui/program_list.h"

namespace orlo {

class SectionEditor {
public:
    // redraw fills the list from the section again (and whatever else the
    // window shows of it). view must hold the list listId.
    SectionEditor(ProgramSection& section, View* view, int listId, std::function<void()> redraw)
        : section_(section), view_(view), list_(view, listId), redraw_(std::move(redraw))
    {
    }

    // Removes the selected lines. With confirm: "您没有选择信息！" when
    // nothing is selected, else the question "确认要删除吗？". Afterwards the
    // first visible row stays and the row before the first removed one is
    // selected (row 0 when that was the first). True when lines went.
    bool deleteSelected(bool confirm);
    // Removes every line after the question "确认要删除全部信息吗？". True
    // when the user said Yes.
    bool deleteAll();
    // The clipboard becomes copies of the selected lines, in order (empty
    // when nothing is selected).
    void copySelected(ProgramSection& clipboard);
    // Copy, then delete without asking. True when lines went.
    bool cutSelected(ProgramSection& clipboard);
    // Inserts the clipboard's lines after the last selected row (at the top
    // when nothing is selected) and selects them; the clipboard keeps them.
    // True when lines were inserted.
    bool paste(const ProgramSection& clipboard);

private:
    ProgramSection& section_;
    View* view_;
    Clist_command list_;
    std::function<void()> redraw_;
};

// The first line from start on whose lineText contains text, or -1. The
// search is case-sensitive over the GBK text and moves a whole character at
// a time, so it never matches across two double-byte characters. An empty
// text is found in every line; a negative start counts as 0.
int findText(const ProgramSection& section, int start, const std::string& text);

// True when text holds needle at a character boundary.
bool containsText(const std::string& text, const std::string& needle);

}  // namespace orlo
