// The command registry and the argument helpers of the tarn command.
#include <cstdio>

#include "cli/command.h"
#include "expr/fullwidth.h"
#include "expr/names.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

// As tarn names reads a name table text.
constexpr std::size_t kMaxNameTextBytes = 2000000;

std::vector<Command>& registry()
{
    static std::vector<Command> r;
    return r;
}

void write(std::FILE* f, const std::string& gbk, bool raw)
{
    std::string s = raw ? gbk : gbkToUtf8(gbk);
    s += '\n';
    std::fwrite(s.data(), 1, s.size(), f);
}

}  // namespace

CommandRegistration::CommandRegistration(Command c)
{
    registry().push_back(std::move(c));
}

const std::vector<Command>& commands()
{
    return registry();
}

std::string oneLine(const std::string& gbk)
{
    std::string out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        const std::size_t n = gbkCharLength(gbk, i);
        const unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (n == 2) {
            out.append(gbk, i, 2);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == 0) {
            out += "\\0";
        } else if ((c < 0x20 && c != '\t') || c == 0x7F || (c >= 0x81 && c <= 0xFE)) {
            // A lone lead byte would take the escape's backslash as its trail.
            out += format("\\x%02X", c);
        } else {
            out += static_cast<char>(c);
        }
        i += n;
    }
    return out;
}

bool Cli::addArgument(const std::string& given)
{
    std::string held;
    std::size_t bad = 0;
    const bool isText = utf8ToGbkExact(given, held, bad);
    if (!isText)
        held = utf8ToGbk(given);
    const auto known = given_.find(held);
    if (known != given_.end() && known->second != given) {
        // "😀x.json" and "????x.json" both held as "????x.json": never let one
        // stand for the other.
        std::fprintf(stderr, "tarn: arguments '%s' and '%s' cannot be told apart\n",
                     known->second.c_str(), given.c_str());
        return false;
    }
    given_[held] = given;
    if (!isText)
        notText_.insert(held);
    args.push_back(held);
    return true;
}

std::string Cli::path(const std::string& arg) const
{
    const auto known = given_.find(arg);
    return known == given_.end() ? arg : known->second;
}

bool Cli::text(const std::vector<std::string>& values) const
{
    for (const std::string& v : values) {
        if (notText_.count(v) == 0)
            continue;
        const std::string given = path(v);
        std::string gbk;
        std::size_t bad = 0;
        utf8ToGbkExact(given, gbk, bad);
        std::fprintf(stderr, "tarn: %s\n", describeRefusedText(given, bad).c_str());
        return false;
    }
    return true;
}

void Cli::print(const std::string& gbk) const
{
    write(stdout, gbk, rawGbk);
}

void Cli::error(const std::string& gbk) const
{
    write(stderr, gbk, rawGbk);
}

bool Cli::takeOption(const std::string& name, std::string& value, bool& ok)
{
    const std::string flag = "--" + name;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--")
            break;
        if (args[i] == flag) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tarn: option %s needs a value\n", flag.c_str());
                ok = false;
                args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
                return false;
            }
            value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return true;
        }
        if (args[i].compare(0, flag.size() + 1, flag + "=") == 0) {
            value = args[i].substr(flag.size() + 1);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

bool Cli::takeFlag(const std::string& name)
{
    const std::string flag = "--" + name;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--")
            break;
        if (args[i] == flag) {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

bool Cli::unknownOption() const
{
    for (const std::string& a : args) {
        if (a == "--")
            break;
        if (a.size() > 2 && a[0] == '-' && a[1] == '-') {
            std::fprintf(stderr, "tarn: unknown option %s (see --help)\n", gbkToUtf8(a).c_str());
            return true;
        }
    }
    return false;
}

std::vector<std::string> Cli::positionals() const
{
    std::vector<std::string> out;
    bool seenDashes = false;
    for (const std::string& a : args) {
        if (a == "--" && !seenDashes) {
            seenDashes = true;
            continue;
        }
        out.push_back(a);
    }
    return out;
}

bool loadNamesOption(Cli& cli)
{
    std::string path;
    bool ok = true;
    if (!cli.takeOption("names", path, ok))
        return ok;
    std::string text, error;
    if (!readFilePrefix(cli.path(path), kMaxNameTextBytes, text, error)) {
        cli.error("tarn: cannot read name table " + path + ": " + error);
        return false;
    }
    // A table taken only in part would make formulas name other resources
    // than the file says: refuse the command instead.
    std::string message = names().importText(text);
    if (!message.empty()) {
        cli.error("tarn: " + path + ": " + message);
        return false;
    }
    return true;
}

}  // namespace orlo::cli
