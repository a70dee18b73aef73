// The shell: application-wide services that are not one window's controls.
// One process-wide instance (setShell); Tarn.exe installs the Win32 shell,
// tests install the fake shell, the command-line tool a console shell.
// All text is GBK.
#pragma once

#include <string>
#include <vector>

namespace orlo {

class Window;

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class Icon { None, Information, Warning, Error, Question };

// One entry of a file dialog's filter: "程序文件 (*.qv3)" and "*.qv3".
struct FileFilter {
    std::string label;
    std::string pattern;
};

struct FileDialogRequest {
    std::vector<FileFilter> filters;
    std::string initialFolder;   // a path (platform/text.h); empty: the system's choice
    std::string defaultExtension;  // without the dot, empty for none
    std::string fileName;          // proposed name (a path), may be empty
};

class Shell {
public:
    virtual ~Shell() = default;

    // A modal message box over the foreground window. Returns the button pressed.
    virtual Answer messageBox(const std::string& text, const std::string& caption,
                              Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    // Common Open and Save dialogs. Return the chosen path (in the system's
    // form, see pathToText in platform/text.h), or empty on cancel.
    virtual std::string openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::string saveFileDialog(const FileDialogRequest& request) = 0;

    // Shows popup subMenu (0-based) of menu resource menuId at screen point
    // (x, y) for owner and returns the chosen command id, 0 when none.
    virtual int popupMenu(Window* owner, int menuId, int subMenu, int x, int y) = 0;

    // Periodic timers of a window: onTimer(timerId) every intervalMs.
    virtual void setTimer(Window* owner, int timerId, unsigned intervalMs) = 0;
    virtual void killTimer(Window* owner, int timerId) = 0;

    // Diagnostics lines (standard error) and progress notes (standard output).
    virtual void diagnostic(const std::string& line) = 0;
    virtual void note(const std::string& line) = 0;
};

// The process-wide shell. Never null: until one is installed, a shell that
// prints messages to standard error and answers every question with Cancel/No.
Shell& shell();
// Installs s (not owned) and returns the previous one; nullptr restores the default.
Shell* setShell(Shell* s);

}  // namespace orlo
