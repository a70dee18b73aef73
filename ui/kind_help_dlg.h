// The help window Cshuoming_dlg (dialog 160, "指令说明") of Orlo.exe: the
// condition or result kinds the line editor offers in a list, and for the
// chosen one its stored explanation (catalogue/kind_help.h) with an example
// line rendered as the program list shows it. Created on first use, then
// shown and hidden.
#pragma once

#include <string>

#include "platform/window.h"

namespace orlo {

class Cshuoming_dlg : public Window {
public:
    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;
    // "关闭" and the close box hide the window.
    bool onClose() override;

    // Shows the window as it was left (the first condition kind when new)
    // and brings it to the top.
    void show();
    // Shows the window on kind of one side and brings it to the top; a kind
    // the editor does not offer (0 among them) leaves the side's list with
    // nothing chosen and a hint in the text.
    void showKind(bool isResult, int kind);

    // The text shown for a kind: its name, what it tests or does, its three
    // parameters and the example row. CR LF between lines, as a multi-line
    // edit box wants them.
    static std::string helpText(bool isResult, int kind);

    bool shownSide() const { return isResult_; }

private:
    void fillKinds();
    void showChosen();

    bool isResult_ = false;
};

}  // namespace orlo
