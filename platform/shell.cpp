// The process-wide shell and the fallback used before a real one is installed.
#include "platform/shell.h"

#include <cstdio>

namespace orlo {

namespace {

// Prints what it is asked to show and refuses every question, so code that
// runs without a user (a tool, a test that forgot its fake) never blocks.
class StderrShell : public Shell {
public:
    Answer messageBox(const std::string& text, const std::string& caption, Buttons buttons,
                      Icon) override
    {
        std::fprintf(stderr, "message: %s: %s\n", caption.c_str(), text.c_str());
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        }
        return Answer::Cancel;
    }
    std::string openFileDialog(const FileDialogRequest&) override { return {}; }
    std::string saveFileDialog(const FileDialogRequest&) override { return {}; }
    int popupMenu(Window*, int, int, int, int) override { return 0; }
    void setTimer(Window*, int, unsigned) override {}
    void killTimer(Window*, int) override {}
    void diagnostic(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
    void note(const std::string& line) override { std::fprintf(stdout, "%s\n", line.c_str()); }
};

StderrShell fallbackShell;
Shell* current = &fallbackShell;

}  // namespace

Shell& shell()
{
    return *current;
}

Shell* setShell(Shell* s)
{
    Shell* previous = current == &fallbackShell ? nullptr : current;
    current = s ? s : &fallbackShell;
    return previous;
}

}  // namespace orlo
