// Reading res/resource.h and res/tarn.rc for the template tests (see rc_script.h).
#include "tests/app/rc_script.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace orlo {

namespace {

std::string trimmed(const std::string& s)
{
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    std::size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// The first word of a line and the comma-separated arguments after it;
// quoted strings stay whole, quotes included.
void splitStatement(const std::string& line, std::string& keyword, std::vector<std::string>& args)
{
    std::string t = trimmed(line);
    std::size_t sp = t.find_first_of(" \t");
    keyword = t.substr(0, sp);
    args.clear();
    if (sp == std::string::npos)
        return;
    std::string cur;
    bool quoted = false;
    for (char c : t.substr(sp)) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            args.push_back(trimmed(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    args.push_back(trimmed(cur));
}

bool readLines(const std::string& path, std::vector<std::string>& lines)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return true;
}

const std::set<std::string> controlKeywords = {
    "PUSHBUTTON", "DEFPUSHBUTTON", "LTEXT",       "RTEXT",    "CTEXT",          "EDITTEXT",
    "LISTBOX",    "COMBOBOX",      "CONTROL",     "GROUPBOX", "CHECKBOX",       "AUTOCHECKBOX",
    "RADIOBUTTON", "AUTORADIOBUTTON", "STATE3",   "AUTO3STATE", "SCROLLBAR",    "ICON",
};

}  // namespace

bool RcScript::load(const std::string& headerPath, const std::string& scriptPath)
{
    std::vector<std::string> header;
    if (!readLines(headerPath, header) || !readLines(scriptPath, lines))
        return false;
    for (const std::string& l : header) {
        std::istringstream in(l);
        std::string directive, name, value;
        if (in >> directive >> name >> value && directive == "#define") {
            char* end = nullptr;
            long v = std::strtol(value.c_str(), &end, 0);
            if (end && *end == '\0')
                defines[name] = v;
        }
    }
    return true;
}

bool RcScript::resolve(const std::string& token, long& value) const
{
    if (token == "IDC_STATIC" || token == "-1") {
        value = -1;
        return true;
    }
    // The two command ids the scripts take from <windows.h>.
    if (token == "IDOK" || token == "IDCANCEL") {
        value = token == "IDOK" ? 1 : 2;
        return true;
    }
    char* end = nullptr;
    long v = std::strtol(token.c_str(), &end, 0);
    if (!token.empty() && end && *end == '\0') {
        value = v;
        return true;
    }
    auto it = defines.find(token);
    if (it == defines.end())
        return false;
    value = it->second;
    return true;
}

bool RcScript::findBlock(long id, const std::string& type, std::size_t& begin) const
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream in(lines[i]);
        std::string name, kind;
        long v;
        if (!(in >> name >> kind) || kind != type || !resolve(name, v) || v != id)
            continue;
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (trimmed(lines[j]) == "BEGIN") {
                begin = j;
                return true;
            }
        }
    }
    return false;
}

bool RcScript::dialogControlIds(long dialogId, std::vector<long>& ids) const
{
    ids.clear();
    std::size_t begin;
    if (!findBlock(dialogId, "DIALOGEX", begin) && !findBlock(dialogId, "DIALOG", begin))
        return false;
    for (std::size_t i = begin + 1; i < lines.size(); ++i) {
        std::string keyword;
        std::vector<std::string> args;
        splitStatement(lines[i], keyword, args);
        if (keyword == "END")
            return true;
        if (!controlKeywords.count(keyword) || args.empty())
            continue;  // a continuation line of the statement before
        const std::string& idToken = args[0].rfind('"', 0) == 0 ? (args.size() > 1 ? args[1] : "") : args[0];
        long id;
        if (!resolve(idToken, id))
            return false;
        ids.push_back(id);
    }
    return false;
}

bool RcScript::menuPopups(long menuId, std::vector<std::string>& names) const
{
    names.clear();
    std::size_t begin;
    if (!findBlock(menuId, "MENU", begin))
        return false;
    int depth = 1;
    for (std::size_t i = begin + 1; i < lines.size() && depth > 0; ++i) {
        std::string keyword;
        std::vector<std::string> args;
        splitStatement(lines[i], keyword, args);
        if (keyword == "BEGIN")
            ++depth;
        else if (keyword == "END")
            --depth;
        else if (keyword == "POPUP" && depth == 1 && !args.empty() && args[0].size() >= 2)
            names.push_back(args[0].substr(1, args[0].size() - 2));
    }
    return depth == 0;
}

bool RcScript::menuItems(long menuId, std::vector<MenuItem>& items) const
{
    items.clear();
    std::size_t begin;
    if (!findBlock(menuId, "MENU", begin))
        return false;
    int depth = 1;
    for (std::size_t i = begin + 1; i < lines.size() && depth > 0; ++i) {
        std::string keyword;
        std::vector<std::string> args;
        splitStatement(lines[i], keyword, args);
        if (keyword == "BEGIN") {
            ++depth;
        } else if (keyword == "END") {
            --depth;
        } else if (keyword == "MENUITEM" && args.size() >= 2 && args[0].size() >= 2) {
            long id;
            if (!resolve(args[1], id))
                return false;
            items.push_back({args[0].substr(1, args[0].size() - 2), id});
        }
    }
    return depth == 0;
}

}  // namespace orlo
