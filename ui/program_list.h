// How a section of lines is shown as rows of a list: rule numbers, the
// connecting words ("如果", "并且", "或者", "->", "若条件不满足"), the
// instruction text rendered from the bytes and the remark. Shared by the
// main list, the function and thread lists, Find and the command line.
// Also Clist_command, the line list's selection operations, and the list font.
#pragma once

#include <string>
#include <vector>

#include "model/program.h"
#include "platform/view.h"

namespace orlo {

// The instruction text of a line, rendered from its bytes (condition or result).
std::string instructionText(const ProgramLine& line);
// The instruction text, then "       备注:" and the remark when there is one.
std::string lineText(const ProgramLine& line);

// The rows of a section, in order; writes each line's label on the way.
std::vector<std::string> sectionRows(ProgramSection& section);

// The list font: "黑体", height 24, orientation 12, weight 400, pitch and family 0x20.
const FontRequest& listFont();

// A line list box (extended multiple selection) reached through a view.
class Clist_command {
public:
    Clist_command(View* view, int id) : view_(view), id_(id) {}

    // Empties the list and adds one row per line, drawing switched off while
    // it fills (a main program of many thousand lines redraws at once).
    void renderSection(ProgramSection& section);

    // Selects only row min(index, count - 1); nothing for an empty list or a
    // negative index.
    void selectOnly(int index);
    // Selects only rows first to first + n - 1; nothing for an empty list,
    // a negative first or n below 1.
    void selectRange(int first, int n);
    // Lowest and highest selected row, -1 when nothing is selected.
    int lowestSelected() const;
    int highestSelected() const;

    int count() const { return view_->itemCount(id_); }
    int id() const { return id_; }

private:
    View* view_;
    int id_;
};

}  // namespace orlo
