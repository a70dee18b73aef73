// The JSON form of programs (see program_json.h). Text inside the program is
// GBK; JSON is UTF-8. A text whose GBK bytes do not survive the trip to UTF-8
// and back (a damaged remark, say) is written as hex under a "...Hex" key
// instead, so the bytes always come back exactly.
#include "cli/json/program_json.h"

#include <nlohmann/json.hpp>

#include "catalogue/line_sides.h"
#include "expr/names.h"
#include "model/image.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormatName = "orlo-program";
constexpr int kFormatVersion = 1;

void putText(Json& j, const std::string& key, const std::string& gbk)
{
    const std::string utf8 = gbkToUtf8(gbk);
    if (utf8ToGbk(utf8) == gbk)
        j[key] = utf8;
    else
        j[key + "Hex"] = hexText(gbk);
}

// A failed read of the JSON: the message travels up as an exception inside
// this file only.
struct JsonError {
    std::string message;
    bool textRefused = false;
};

[[noreturn]] void fail(const std::string& message, bool textRefused = false)
{
    throw JsonError{message, textRefused};
}

bool getText(const Json& j, const std::string& key, std::string& gbk)
{
    if (j.contains(key)) {
        if (!j[key].is_string())
            fail("\"" + key + "\" must be a string");
        const std::string text = j[key].get<std::string>();
        std::size_t bad = 0;
        if (!utf8ToGbkExact(text, gbk, bad))
            fail("\"" + key + "\": " + describeRefusedText(text, bad), true);
        return true;
    }
    if (j.contains(key + "Hex")) {
        if (!j[key + "Hex"].is_string() || !parseHexText(j[key + "Hex"].get<std::string>(), gbk))
            fail("\"" + key + "Hex\" must be hex bytes");
        return true;
    }
    return false;
}

int getInt(const Json& j, const std::string& key, int low, int high, int fallback)
{
    if (!j.contains(key))
        return fallback;
    if (!j[key].is_number_integer())
        fail("\"" + key + "\" must be a whole number");
    const long long v = j[key].get<long long>();
    if (v < low || v > high)
        fail(format("\"%s\" must be from %d to %d", key.c_str(), low, high));
    return static_cast<int>(v);
}

Json lineToJson(const ProgramLine& line)
{
    Json j;
    j["type"] = line.isResult ? "result" : "condition";
    j["orElse"] = line.orElse & 1;
    j["kind"] = line.kind();
    j["param1"] = line.param1();
    j["param2"] = line.param2();
    const unsigned e = encodedLength(line);
    const std::size_t stored = e >= 2 ? e - 2 : 3;
    j["bytes"] = hexText(line.instruction.data(), stored);
    putText(j, "remark", line.remark);
    putText(j, "text", instructionText(line));
    return j;
}

// A line from its JSON: the bytes when given, else kind, parameters and the
// third parameter's text encoded as the line editor does.
ProgramLine lineFromJson(const Json& j)
{
    if (!j.is_object())
        fail("a line must be an object");
    ProgramLine line;
    const std::string type = j.value("type", std::string());
    if (type != "condition" && type != "result")
        fail("a line's \"type\" must be \"condition\" or \"result\"");
    line.isResult = type == "result";
    line.orElse = static_cast<std::uint8_t>(getInt(j, "orElse", 0, 1, 0));
    getText(j, "remark", line.remark);

    if (j.contains("bytes")) {
        std::string bytes;
        if (!j["bytes"].is_string() || !parseHexText(j["bytes"].get<std::string>(), bytes) ||
            bytes.empty() || bytes.size() > line.instruction.size())
            fail("\"bytes\" must be 1 to 256 hex bytes");
        std::copy(bytes.begin(), bytes.end(), line.instruction.begin());
        return line;
    }

    const int kind = getInt(j, "kind", 1, 255, -1);
    if (kind < 0)
        fail("a line needs \"bytes\" or a \"kind\"");
    std::string param3;
    getText(j, "param3", param3);
    composeLine(lineSide(line.isResult), line.instruction.data(), kind,
                getInt(j, "param1", 0, 255, 1), getInt(j, "param2", 0, 255, 1),
                getInt(j, "pick", 1, 255, 0), param3);
    return line;
}

Json sectionLines(ProgramSection& section)
{
    Json lines = Json::array();
    for (const ProgramLine& l : section.lines)
        lines.push_back(lineToJson(l));
    return lines;
}

void readLines(const Json& s, ProgramSection& section)
{
    if (!s.contains("lines") || !s["lines"].is_array())
        fail("a section needs a \"lines\" list");
    section.clear();
    for (const Json& l : s["lines"])
        section.lines.push_back(lineFromJson(l));
}

Json header()
{
    Json j;
    j["format"] = kFormatName;
    j["version"] = kFormatVersion;
    return j;
}

void checkHeader(const Json& j)
{
    if (!j.is_object() || j.value("format", std::string()) != kFormatName)
        fail(std::string("not an Orlo program (\"format\" must be \"") + kFormatName + "\")");
    if (getInt(j, "version", 1, 1000, kFormatVersion) > kFormatVersion)
        fail("written by a newer version of this tool");
}

Json parse(const std::string& text)
{
    try {
        return Json::parse(text);
    } catch (const Json::exception& e) {
        fail(std::string("not valid JSON: ") + e.what());
    }
}

}  // namespace

std::string programToJson(Program& program, const NameTable& names)
{
    Json j = header();
    Json sections = Json::array();
    {
        Json s;
        s["section"] = "main";
        s["lines"] = sectionLines(program.main);
        sections.push_back(s);
    }
    for (int n = 1; n <= kFunctionCount; ++n) {
        ProgramSection& f = program.functions[static_cast<std::size_t>(n - 1)];
        if (f.empty())
            continue;
        Json s;
        s["section"] = "function";
        s["number"] = n;
        putText(s, "name", names.displayName("函数", n));
        s["lines"] = sectionLines(f);
        sections.push_back(s);
    }
    for (int n = 1; n <= kThreadCount; ++n) {
        ProgramSection& t = program.threads[static_cast<std::size_t>(n - 1)];
        if (t.empty())
            continue;
        Json s;
        s["section"] = "thread";
        s["number"] = n;
        putText(s, "name", names.displayName("线程", n));
        s["lines"] = sectionLines(t);
        sections.push_back(s);
    }
    j["sections"] = sections;
    Json aliases = Json::array();
    for (int i = 0; i < names.usedCount(); ++i) {
        const NameTable::Slot& slot = names.slot(i);
        if (slot.systemName.empty())
            continue;
        Json a;
        putText(a, "alias", slot.alias);
        putText(a, "system", slot.systemName);
        aliases.push_back(a);
    }
    j["names"] = aliases;
    return j.dump(2) + "\n";
}

std::string sectionToJson(ProgramSection& section)
{
    Json j = header();
    Json s;
    s["section"] = "block";
    s["id"] = section.id;
    s["lines"] = sectionLines(section);
    j["sections"] = Json::array({s});
    return j.dump(2) + "\n";
}

std::string programFromJson(const std::string& text, Program& program, NameTable& names,
                            bool* textRefused)
{
    try {
        const Json j = parse(text);
        checkHeader(j);
        Program built;
        NameTable table;
        if (!j.contains("sections") || !j["sections"].is_array())
            fail("\"sections\" must be a list");
        for (const Json& s : j["sections"]) {
            const std::string kind = s.value("section", std::string());
            ProgramSection* target = nullptr;
            if (kind == "main") {
                target = &built.main;
            } else if (kind == "function" || kind == "thread") {
                const int n = getInt(s, "number", 1, 100, 0);
                if (n == 0)
                    fail("a " + kind + " needs a \"number\" from 1 to 100");
                target = kind == "function" ? &built.functions[static_cast<std::size_t>(n - 1)]
                                            : &built.threads[static_cast<std::size_t>(n - 1)];
            } else {
                fail("a section must be \"main\", \"function\" or \"thread\"");
            }
            readLines(s, *target);
        }
        if (j.contains("names")) {
            if (!j["names"].is_array())
                fail("\"names\" must be a list");
            for (const Json& a : j["names"]) {
                std::string alias, system;
                if (!a.is_object() || !getText(a, "alias", alias) || !getText(a, "system", system))
                    fail("each name needs an \"alias\" and a \"system\" name");
                const std::string message = table.rename(system, alias);
                if (!message.empty())
                    fail(gbkToUtf8(system + " = " + alias + ": " + message));
            }
        }
        for (std::size_t i = 0; i < built.functions.size(); ++i)
            program.functions[i].lines = std::move(built.functions[i].lines);
        for (std::size_t i = 0; i < built.threads.size(); ++i)
            program.threads[i].lines = std::move(built.threads[i].lines);
        program.main.lines = std::move(built.main.lines);
        names.clear();
        names.importText(table.exportText());
        return {};
    } catch (const JsonError& e) {
        if (textRefused)
            *textRefused = e.textRefused;
        return e.message;
    } catch (const Json::exception& e) {
        return std::string("unexpected JSON content: ") + e.what();
    }
}

std::string sectionFromJson(const std::string& text, ProgramSection& section, bool* textRefused)
{
    try {
        const Json j = parse(text);
        checkHeader(j);
        if (!j.contains("sections") || !j["sections"].is_array() || j["sections"].size() != 1)
            fail("a function file holds exactly one section");
        const Json& s = j["sections"][0];
        ProgramSection built;
        readLines(s, built);
        const std::string kind = s.value("section", std::string());
        if (kind == "block")
            built.id = getInt(s, "id", 0, 65535, 0);
        else if (kind == "function")
            built.id = getInt(s, "number", 1, 100, 1);
        else if (kind == "thread")
            built.id = kThreadIdBase + getInt(s, "number", 1, 100, 1);
        section.lines = std::move(built.lines);
        section.id = built.id;
        return {};
    } catch (const JsonError& e) {
        if (textRefused)
            *textRefused = e.textRefused;
        return e.message;
    } catch (const Json::exception& e) {
        return std::string("unexpected JSON content: ") + e.what();
    }
}

}  // namespace orlo
