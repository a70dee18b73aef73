// The shared readers of the catalogue tables (see table.h).
#include "catalogue/table.h"

#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {

KindInfo kindInfoFrom(const KindRow* rows, std::size_t count, const std::uint8_t* instruction)
{
    KindInfo info;
    for (std::size_t i = 0; i < count; ++i) {
        const KindRow& row = rows[i];
        if (row.code != instruction[0])
            continue;
        info.name = row.name;
        info.countByte = row.countByte;
        // countByte is one byte, so the read stays inside the 256-byte instruction.
        int length = row.base + (row.countByte ? instruction[row.countByte] : 0);
        info.length = length > kMaxEncodedLength ? kMaxEncodedLength : length;
        break;
    }
    return info;
}

static std::string partText(const ChoicePart& part, int k)
{
    switch (part.kind) {
    case PartKind::Texts:
        return part.texts[k - 1];
    case PartKind::Alias:
        return displayName(part.pattern, k + part.offset);
    case PartKind::Format:
        return format(part.pattern, k + part.offset);
    case PartKind::None:
        break;
    }
    return std::string();
}

std::string choiceText(const ChoiceList& list, int value)
{
    if (value < 1)
        return std::string();
    if (value <= list.head.count)
        return partText(list.head, value);
    value -= list.head.count;
    if (value <= list.tail.count)
        return partText(list.tail, value);
    return std::string();
}

int choiceCount(const ChoiceList& list)
{
    return list.head.count + list.tail.count;
}

const ChoiceList* findRule(const ChoiceRule* rules, std::size_t count, int kind, int param1,
                           int param2)
{
    for (std::size_t i = 0; i < count; ++i) {
        const ChoiceRule& rule = rules[i];
        if (rule.kind == kind && rule.param1.contains(param1) && rule.param2.contains(param2))
            return &rule.list;
    }
    return nullptr;
}

}  // namespace orlo
