// The scripted test shell (see fake_shell.h).
#include "platform/fake/fake_shell.h"

namespace orlo {

Answer FakeShell::messageBox(const std::string& text, const std::string& caption,
                             Buttons buttons, Icon icon)
{
    messages.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}

std::string FakeShell::openFileDialog(const FileDialogRequest& request)
{
    dialogs.push_back({false, request});
    if (paths.empty())
        return {};
    std::string p = paths.front();
    paths.pop_front();
    return p;
}

std::string FakeShell::saveFileDialog(const FileDialogRequest& request)
{
    dialogs.push_back({true, request});
    if (paths.empty())
        return {};
    std::string p = paths.front();
    paths.pop_front();
    return p;
}

int FakeShell::popupMenu(Window*, int menuId, int subMenu, int x, int y)
{
    menus.push_back({menuId, subMenu, x, y});
    if (menuChoices.empty())
        return 0;
    int c = menuChoices.front();
    menuChoices.pop_front();
    return c;
}

void FakeShell::setTimer(Window* owner, int timerId, unsigned intervalMs)
{
    timers[{owner, timerId}] = intervalMs;
}

void FakeShell::killTimer(Window* owner, int timerId)
{
    timers.erase({owner, timerId});
}

}  // namespace orlo
