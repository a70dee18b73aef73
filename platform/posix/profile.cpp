// Private profile files on systems without Windows' profile functions: a
// small reader and writer that follows them (checked against Wine's with the
// same files).

// Lines end at CR or LF; blanks around lines, names and values
// do not count; a line "[name]" starts a section; other lines are "key=value"
// or a bare key (comments are bare keys that nobody asks for). A write reads
// the whole file, changes one value and writes the file back in the
// normalised form Wine writes: one "key=value" per line ended by CR LF,
// blank lines dropped. An unchanged value leaves the file untouched.
#include "device/profile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace orlo {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Blanks of profile files: the C whitespace bytes and Ctrl-Z (an old
// end-of-file mark some editors still write).
bool isProfileBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' ||
           c == '\x1A';
}

std::string trimmed(const std::string& s, bool front = true, bool back = true)
{
    std::size_t b = 0, e = s.size();
    while (front && b < e && isProfileBlank(s[b]))
        ++b;
    while (back && e > b && isProfileBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Names match without regard to the case of ASCII letters.
bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

struct Entry {
    std::string name;
    bool hasValue = false;
    std::string value;
};

struct Section {
    std::string name;  // empty: the lines before the first section header, or "[]"
    std::vector<Entry> entries;
    bool header = false;  // it came from a header line (even "[]"): written back
};

struct Profile {
    bool utf8Mark = false;
    std::vector<Section> sections;

    Section* findSection(const std::string& name)
    {
        const std::string wanted = trimmed(name);
        for (Section& s : sections)
            if (!s.name.empty() && sameName(s.name, wanted))
                return &s;
        return nullptr;
    }
};

Entry* findEntry(Section& section, const std::string& key)
{
    const std::string wanted = trimmed(key);
    for (Entry& e : section.entries)
        if (sameName(e.name, wanted))
            return &e;
    return nullptr;
}

Profile parse(const std::string& text)
{
    Profile p;
    std::size_t pos = 0;
    if (text.compare(0, 3, kUtf8Mark) == 0) {
        p.utf8Mark = true;
        pos = 3;
    }
    p.sections.push_back(Section{});
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = trimmed(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;

        if (line[0] == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string::npos) {
                p.sections.push_back(Section{trimmed(line.substr(1, close - 1)), {}, true});
                continue;
            }
        }

        Entry e;
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            e.name = line;
        } else {
            e.name = trimmed(line.substr(0, equals), false, true);
            e.hasValue = true;
            e.value = trimmed(line.substr(equals + 1), true, false);
        }
        // Lines with an empty name ("=x") do not repeat.
        std::vector<Entry>& entries = p.sections.back().entries;
        if (e.name.empty() && !entries.empty() && entries.back().name.empty())
            continue;
        entries.push_back(std::move(e));
    }
    return p;
}

std::string serialise(const Profile& p)
{
    std::string out = p.utf8Mark ? kUtf8Mark : "";
    for (const Section& s : p.sections) {
        if (s.header || !s.name.empty())
            out += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries) {
            out += e.name;
            if (e.hasValue)
                out += "=" + e.value;
            out += "\r\n";
        }
    }
    return out;
}

// Reads the whole file. False when it exists but cannot be read; a missing
// file reads as empty with exists false.
bool readFile(const std::string& path, std::string& text, bool& exists)
{
    text.clear();
    exists = false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return errno == ENOENT;
    exists = true;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool writeFile(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// Copies a value as Windows hands it out: one pair of matching quotes
// around it is dropped, and at most size - 1 bytes are kept. With quotes,
// a buffer that holds the value but not its closing quote loses the last
// byte as well, as Windows does.
std::string copyValue(const std::string& value, std::size_t size)
{
    if (size == 0)
        return {};
    const std::size_t limit = size - 1;
    const std::size_t n = value.size();
    if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0]) {
        const std::string inner = value.substr(1, n - 2);
        if (n - 1 <= limit)
            return inner;
        if (n - 2 == limit)
            return inner.substr(0, limit - 1);
        return inner.substr(0, limit);
    }
    return value.substr(0, limit);
}

// Integers as Windows reads them: leading control characters and blanks
// skipped, one sign, a 0x / 0o / 0b prefix choosing the base, then digits of
// that base up to the first other character, all modulo 2^32.
std::uint32_t parseProfileInteger(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
        case 'x': base = 16; break;
        case 'o': base = 8; break;
        case 'b': base = 2; break;
        default: break;
        }
        if (base != 10)
            i += 2;
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'z')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'Z')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

// Windows reads the text of an integer into a buffer of 30 characters.
constexpr std::size_t kIntegerBuffer = 30;

}  // namespace

std::string readProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t bufferSize)
{
    std::string text;
    bool exists = false;
    if (readFile(path, text, exists) && exists) {
        Profile p = parse(text);
        if (Section* s = p.findSection(section))
            if (Entry* e = findEntry(*s, key))
                if (e->hasValue)
                    return copyValue(e->value, bufferSize);
    }
    std::string fallback = trimmed(defaultValue, false, true);
    return bufferSize == 0 ? std::string() : fallback.substr(0, bufferSize - 1);
}

unsigned readProfileInt(const std::string& path, const std::string& section,
                        const std::string& key, int defaultValue)
{
    std::string text = readProfileString(path, section, key, "", kIntegerBuffer);
    if (text.empty())
        return static_cast<unsigned>(defaultValue);
    return parseProfileInteger(text);
}

bool writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value)
{
    std::string text;
    bool exists = false;
    if (!readFile(path, text, exists))
        return false;
    Profile p = parse(text);
    const std::string newValue = trimmed(value, true, false);

    Section* s = p.findSection(section);
    if (!s) {
        p.sections.push_back(Section{trimmed(section), {}});
        s = &p.sections.back();
    }
    Entry* e = findEntry(*s, key);
    if (!e) {
        s->entries.push_back(Entry{trimmed(key), false, {}});
        e = &s->entries.back();
    } else if (e->hasValue && e->value == newValue) {
        return true;
    }
    e->hasValue = true;
    e->value = newValue;
    // The normalised form of some damaged files reads back otherwise (a first
    // line that only becomes a section header once blanks before a UTF-8 mark
    // are gone): then nothing is written and the write fails.
    const std::string out = serialise(p);
    Profile back = parse(out);
    Section* bs = back.findSection(section);
    Entry* be = bs ? findEntry(*bs, key) : nullptr;
    if (!be || !be->hasValue || be->value != trimmed(newValue, false, true)) {
        errno = EINVAL;
        return false;
    }
    return writeFile(path, out);
}

std::string currentDirectoryFile(const std::string& name)
{
    std::vector<char> buffer(512);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return name;
        buffer.resize(buffer.size() * 2);
    }
    std::string dir(buffer.data());
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir + name;
}

}  // namespace orlo
