// The user alias table: lookups both ways, renaming with its checks, and the
// text form used by name table files and the image's name block.
#include "expr/names.h"

#include "expr/fullwidth.h"
#include "platform/strings.h"

namespace orlo {

namespace {

const char kReset[] = "已复位";
const char kEmptySystemName[] = "空字符不行";
const char kReservedWord[] = "与系统名称重复：";
const char kBadAlias[] = "新名称不合法（应该由字符数字下划线组成）";
const char kDuplicate[] = "重复: ";
const char kTableFull[] = "别名已满1000个，不能再增加";
const char kLastLine[] = "最后一行";

bool isAliasByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Letters, digits, underlines and double-byte characters. A character is
// taken whole, so one whose second byte is below 0x80 (誠 is D5 5C) counts as
// Chinese, not as a backslash; a lone byte of 0x80 or above still passes, as
// it always has.
bool isValidAlias(const std::string& alias)
{
    for (std::size_t i = 0; i < alias.size();) {
        const std::size_t n = gbkCharLength(alias, i);
        if (n == 1 && !isAliasByte(alias[i]) && static_cast<unsigned char>(alias[i]) < 0x80)
            return false;
        i += n;
    }
    return true;
}

}  // namespace

const NamingCategory kNamingCategories[kNamingCategoryCount] = {
    {"全局整数", 0}, {"全局数组", 0}, {"全局浮点数", 0}, {"定时器", 0}, {"位变量", 0},
    {"函数", 1},     {"输入", 1},     {"输出", 1},       {"数据口", 1}, {"线程", 1},
};

NameTable::NameTable()
{
    for (const NamingCategory& c : kNamingCategories)
        reserved_.emplace_back(c.word);
}

int NameTable::findSystem(const std::string& systemName) const
{
    if (systemName.empty())
        return -1;
    for (int i = 0; i < used_; ++i) {
        if (slots_[i].systemName == systemName)
            return i;
    }
    return -1;
}

std::string NameTable::aliasToSystem(const std::string& text) const
{
    if (text.empty())
        return text;
    for (int i = 0; i < used_; ++i) {
        if (!slots_[i].systemName.empty() && slots_[i].alias == text)
            return slots_[i].systemName;
    }
    return text;
}

std::string NameTable::systemToAlias(const std::string& text) const
{
    const int i = findSystem(text);
    return i < 0 ? text : slots_[i].alias;
}

std::string NameTable::displayName(const std::string& word, int n) const
{
    return systemToAlias(word + format("%d", n));
}

void NameTable::clearAlias(const std::string& systemName)
{
    if (systemName.empty())
        return;
    for (int i = 0; i < used_; ++i) {
        if (slots_[i].systemName == systemName)
            slots_[i] = Slot();
    }
}

std::string NameTable::rename(const std::string& systemName, const std::string& alias)
{
    if (alias.empty()) {
        clearAlias(systemName);
        return kReset;
    }
    if (systemName.empty())
        return kEmptySystemName;
    for (const std::string& word : reserved_) {
        if (matchesWord(alias, word))
            return kReservedWord + systemName + " = " + alias;
    }
    if (alias == systemName) {
        clearAlias(systemName);
        return kReset;
    }

    // Stored names are canonical, so that «变量5» and «整数5» share one alias.
    // A name whose canonical text is not its own canonical text again (a
    // quote, which reads as a string) is no resource: it is kept as typed, so
    // that exporting and importing the table gives the same table.
    std::string canonical = canonicalText(classifyOperand(systemName, *this));
    if (canonical.empty() || canonicalText(classifyOperand(canonical, *this)) != canonical)
        canonical = systemName;
    // An alias that is the resource's own name once written canonically
    // (整数5 for 变量5) is no alias either. Stored, it would export as a line
    // that an import takes for a reset, ending the import there.
    if (alias == canonical) {
        clearAlias(systemName);
        clearAlias(canonical);
        return kReset;
    }

    if (!isValidAlias(alias))
        return kBadAlias;
    // The resource's own old alias is no obstacle: it is replaced below. The
    // old alias is only cleared once the new one has passed every check, so a
    // refused rename leaves the table as it was.
    const std::string owner = aliasToSystem(alias);
    if (owner != alias && owner != systemName && owner != canonical)
        return kDuplicate + owner;
    // Nor may it be the name another entry is stored under: exported, the
    // line naming that entry would, read back, reach this resource through
    // the alias instead, and the table would not import as it exported.
    const int named = findSystem(alias);
    if (named >= 0 && slots_[named].systemName != canonical)
        return kDuplicate + slots_[named].systemName;

    clearAlias(systemName);
    clearAlias(canonical);
    Slot entry{canonical, alias};
    for (int i = 0; i < used_; ++i) {
        if (slots_[i].systemName.empty()) {
            slots_[i] = std::move(entry);
            return std::string();
        }
    }
    if (used_ < kSlots) {
        slots_[used_++] = std::move(entry);
        return std::string();
    }
    return kTableFull;
}

std::string NameTable::exportText() const
{
    std::string out;
    for (int i = 0; i < used_; ++i) {
        if (!slots_[i].systemName.empty())
            out += slots_[i].alias + "\t=\t" + slots_[i].systemName + "\r\n";
    }
    return out;
}

std::string NameTable::importText(const std::string& text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\r' || text[pos] == '\n') {
            ++pos;
            continue;
        }
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(pos, end - pos);
        std::string alias, systemName;
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            alias = trim(line.substr(0, eq));
            systemName = trim(line.substr(eq + 1));
        }
        const std::string message = rename(systemName, alias);
        if (!message.empty())
            return end == text.size() ? kLastLine + message : message;
        pos = end;
    }
    return std::string();
}

void NameTable::clear()
{
    for (Slot& s : slots_)
        s = Slot();
    used_ = 0;
}

NameTable& names()
{
    static NameTable table;
    return table;
}

std::string aliasToSystem(const std::string& text)
{
    return names().aliasToSystem(text);
}

std::string systemToAlias(const std::string& text)
{
    return names().systemToAlias(text);
}

std::string displayName(const std::string& word, int n)
{
    return names().displayName(word, n);
}

}  // namespace orlo
