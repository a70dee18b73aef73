// The shell of Tarn.exe: message boxes, the common Open and Save dialogs,
// pop-up menus from the executable's menu resources, window timers and the
// diagnostics streams, on the Win32 API. Windows are found through the
// dialog host (windowHandle). User-interface thread only, except diagnostic
// and note, which any thread may call.
#pragma once

#include <windows.h>

#include "platform/shell.h"

namespace orlo {

class Win32Shell final : public Shell {
public:
    explicit Win32Shell(HINSTANCE instance) : instance_(instance) {}

    Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    int popupMenu(Window* owner, int menuId, int subMenu, int x, int y) override;
    void setTimer(Window* owner, int timerId, unsigned intervalMs) override;
    void killTimer(Window* owner, int timerId) override;
    void diagnostic(const std::string& line) override;
    void note(const std::string& line) override;

private:
    std::string fileDialog(const FileDialogRequest& request, bool save);

    HINSTANCE instance_;
};

}  // namespace orlo
