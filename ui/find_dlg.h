// The find window Cfind_dlg (dialog 158, "查找"): each "确定" looks for its
// text after the last find, first in the main program, then in functions 1
// to 100, then in threads 1 to 100, and shows the line it finds in the main
// list or in the function or thread list; after the last thread it starts
// over with the main program.
#pragma once

#include "platform/window.h"

namespace orlo {

class EditingWindows;

class Cfind_dlg : public Window {
public:
    explicit Cfind_dlg(EditingWindows& windows) : windows_(windows) {}

    int templateId() const override;
    void onCommand(int id, Notify code) override;
    // "取消" and the close box hide the window.
    bool onClose() override;

    void show();
    // "确定": the next line that holds the text of 1027. When the walk ends
    // without one, the next "确定" starts over and the usage extras say
    // "没有找到！".
    void findNext();

    int phase = 0;       // 0 main program, 1 functions, 2 threads
    int sectionNo = 1;   // 1..100 in phases 1 and 2
    int position = -1;   // line found last, -1 for none

private:
    bool searchLists(int phaseNo, const std::string& text);

    EditingWindows& windows_;
};

}  // namespace orlo
