// tarn: the command-line tool over Orlo's core. Dispatches to the registered
// subcommands; arguments arrive as UTF-8 and are handed on as GBK (one that
// has no GBK form serves only as a file name).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/command.h"
#include "platform/shell.h"
#include "platform/text.h"

using orlo::cli::Cli;
using orlo::cli::Command;

namespace {

void usage(std::FILE* f)
{
    std::fprintf(f,
                 "usage: tarn [--gbk] COMMAND [ARGS...]\n"
                 "       tarn COMMAND --help\n\n"
                 "Orlo's command-line tool: inspect and convert programs, compile and render\n"
                 "expressions, talk to a controller.\n\n"
                 "Commands:\n");
    std::vector<const Command*> sorted;
    for (const Command& c : orlo::cli::commands())
        sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(),
              [](const Command* a, const Command* b) { return std::strcmp(a->name, b->name) < 0; });
    for (const Command* c : sorted)
        std::fprintf(f, "  %-12s %s\n", c->name, orlo::gbkToUtf8(c->summary).c_str());
    std::fprintf(f,
                 "\nGlobal options:\n"
                 "  --gbk        print text as raw GBK bytes instead of UTF-8\n"
                 "  --help, -h   show help (after a command: that command's help)\n"
                 "  --version    the release version and commit (as tarn version)\n");
}

// What the tool's operations show in message boxes goes to standard error as
// "message: CAPTION: TEXT"; questions are answered No / Cancel.
class CliShell : public orlo::Shell {
public:
    explicit CliShell(const Cli& cli) : cli_(cli) {}
    orlo::Answer messageBox(const std::string& text, const std::string& caption,
                            orlo::Buttons buttons, orlo::Icon) override
    {
        // A box with the application's default caption has no caption of its own.
        cli_.error(caption.empty() ? "message: " + text : "message: " + caption + ": " + text);
        switch (buttons) {
        case orlo::Buttons::Ok:
            return orlo::Answer::Ok;
        case orlo::Buttons::YesNo:
            return orlo::Answer::No;
        default:
            return orlo::Answer::Cancel;
        }
    }
    std::string openFileDialog(const orlo::FileDialogRequest&) override { return {}; }
    std::string saveFileDialog(const orlo::FileDialogRequest&) override { return {}; }
    int popupMenu(orlo::Window*, int, int, int, int) override { return 0; }
    void setTimer(orlo::Window*, int, unsigned) override {}
    void killTimer(orlo::Window*, int) override {}
    void diagnostic(const std::string& line) override { cli_.error(line); }
    void note(const std::string& line) override { cli_.print(line); }

private:
    const Cli& cli_;
};

const Command* findCommand(const std::string& name)
{
    for (const Command& c : orlo::cli::commands())
        if (name == c.name)
            return &c;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args = orlo::utf8Arguments(argc, argv);
    if (!args.empty())
        args.erase(args.begin());

    Cli cli;
    bool help = false;
    std::vector<std::string> rest;
    bool afterDashes = false;
    for (const std::string& a : args) {
        if (!afterDashes && a == "--gbk")
            cli.rawGbk = true;
        else if (!afterDashes && (a == "--help" || a == "-h"))
            help = true;
        else if (!afterDashes && rest.empty() && a == "--version")
            rest.push_back("version");
        else {
            if (a == "--")
                afterDashes = true;
            rest.push_back(a);
        }
    }

    if (rest.empty() || rest[0] == "help") {
        if (rest.size() >= 2) {
            if (const Command* c = findCommand(rest[1])) {
                std::fputs(orlo::gbkToUtf8(c->help).c_str(), stdout);
                return 0;
            }
        }
        usage(rest.empty() && !help ? stderr : stdout);
        return rest.empty() && !help ? 2 : 0;
    }

    const Command* c = findCommand(rest[0]);
    if (!c) {
        std::fprintf(stderr, "tarn: unknown command '%s'\n\n", rest[0].c_str());
        usage(stderr);
        return 2;
    }
    if (help) {
        std::fputs(orlo::gbkToUtf8(c->help).c_str(), stdout);
        return 0;
    }
    // Every argument becomes GBK exactly: a character GBK has not would be
    // stored (or looked up) as '?'. File names keep the form they were given
    // in (Cli::path).
    for (std::size_t i = 1; i < rest.size(); ++i)
        if (!cli.addArgument(rest[i]))
            return 2;
    CliShell shell(cli);
    orlo::setShell(&shell);
    const int status = c->run(cli);
    orlo::setShell(nullptr);
    return status;
}
