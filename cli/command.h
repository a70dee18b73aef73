// The tarn command line: subcommands register themselves with a name, a
// one-line summary and a help text, and receive their arguments already
// converted from UTF-8 to GBK. File names are not text: Cli::path gives an
// argument back as it was given, for the file functions. Output goes through
// Cli::print, which converts GBK back to UTF-8 (or leaves it raw with --gbk).
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace orlo {
class ProgramSection;
}

namespace orlo::cli {

class Cli {
public:
    // Arguments after the subcommand name, GBK; global options removed. One
    // that has no GBK form (an emoji, bytes that are not UTF-8) is held as
    // its GBK form with '?' for what GBK has not: usable only through path(),
    // and refused by text().
    std::vector<std::string> args;
    bool rawGbk = false;

    // Adds a command-line argument as given (UTF-8, or any bytes on POSIX).
    // False, with the reason on standard error, when two different
    // arguments would be held alike.
    bool addArgument(const std::string& given);
    // The argument (a value of args or taken from it) as it was given: the
    // path to hand to the file functions. A value that was never an argument
    // comes back unchanged.
    std::string path(const std::string& arg) const;
    // True when every value is text (has a GBK form); otherwise says which
    // is not on standard error. For the commands that take text.
    bool text(const std::vector<std::string>& values) const;

    // Writes GBK text followed by a newline to standard output / error.
    void print(const std::string& gbk) const;
    void error(const std::string& gbk) const;

    // Removes "--name VALUE" (or "--name=VALUE") from args. Returns false when
    // absent; sets ok to false when the value is missing.
    bool takeOption(const std::string& name, std::string& value, bool& ok);
    // Removes the flag "--name" from args; true when it was there.
    bool takeFlag(const std::string& name);
    // True when an argument left in args starts with "--" (an unknown option);
    // reports it on standard error.
    bool unknownOption() const;
    // The arguments left once options are taken, without a "--" separator.
    std::vector<std::string> positionals() const;

private:
    std::map<std::string, std::string> given_;  // held form -> form as given
    std::set<std::string> notText_;             // held forms of non-GBK arguments
};

struct Command {
    const char* name;
    const char* summary;   // one line; an ordinary literal (GBK), converted when printed
    const char* help;      // usage and description; an ordinary literal (GBK)
    std::function<int(Cli&)> run;  // exit status: 0 ok, 1 failure, 2 usage
};

// Registers a command at static initialisation; see the commands in cli/.
struct CommandRegistration {
    explicit CommandRegistration(Command c);
};

const std::vector<Command>& commands();

// The text with each control character (newline, NUL, ...) written as an
// escape (\n, \0, \x1B), so that one item of output stays on one line. Tabs
// stay: some of the catalogue's own texts end in one.
// GBK characters are kept whole; a lead byte without its trail byte is
// written as \xHH too.
std::string oneLine(const std::string& gbk);

// Loads a name table text file (GBK) into the process-wide table, as
// "--names FILE" does for several commands. Returns false with a message on
// standard error when the file cannot be read.
bool loadNamesOption(Cli& cli);

// Loads a program file into the process-wide program (isFunction false), or
// a function file into section, deciding as the main window's Open and
// Import do. When nothing was loaded, says why on standard error.
bool loadProgramOrFunction(const Cli& cli, const std::string& path, ProgramSection& section,
                           bool& isFunction);

}  // namespace orlo::cli
