// A scripted shell for tests: records every message box, dialog, menu and
// timer request, and answers from queues the test fills beforehand. An empty
// answer queue gives Ok for Ok boxes, Cancel/No for questions, an empty path
// and command 0. Install with ShellScope so the previous shell comes back.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace orlo {

class FakeShell : public Shell {
public:
    struct Message {
        std::string text, caption;
        Buttons buttons;
        Icon icon;
    };
    struct DialogCall {
        bool save;
        FileDialogRequest request;
    };
    struct MenuCall {
        int menuId, subMenu, x, y;
    };

    std::vector<Message> messages;
    std::deque<Answer> answers;
    std::vector<DialogCall> dialogs;
    std::deque<std::string> paths;
    std::vector<MenuCall> menus;
    std::deque<int> menuChoices;
    std::map<std::pair<Window*, int>, unsigned> timers;  // running timers
    std::vector<std::string> diagnostics, notes;

    Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon icon) override;
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    int popupMenu(Window* owner, int menuId, int subMenu, int x, int y) override;
    void setTimer(Window* owner, int timerId, unsigned intervalMs) override;
    void killTimer(Window* owner, int timerId) override;
    void diagnostic(const std::string& line) override { diagnostics.push_back(line); }
    void note(const std::string& line) override { notes.push_back(line); }

    // The text of the last message box, or empty.
    std::string lastMessage() const { return messages.empty() ? std::string() : messages.back().text; }
};

// Installs a shell for the lifetime of the scope.
class ShellScope {
public:
    explicit ShellScope(Shell& s) : previous_(setShell(&s)) {}
    ~ShellScope() { setShell(previous_); }
    ShellScope(const ShellScope&) = delete;
    ShellScope& operator=(const ShellScope&) = delete;

private:
    Shell* previous_;
};

}  // namespace orlo
