// The alias table: rename rules and their messages, slot reuse and the slot
// limit, and the text form (export, import, the last-line rule).
#include <gtest/gtest.h>

#include <memory>

#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace {

class Names : public ::testing::Test {
protected:
    // Heap-allocated: the table holds 1000 slots.
    std::unique_ptr<NameTable> table = std::make_unique<NameTable>();
    NameTable& t = *table;
};

struct RenameCase {
    const char* title;
    std::vector<std::string> reserved;
    const char* systemName;
    const char* alias;
    const char* message;
};

// Each rename runs on a table where 整数1 is already called "t".
const RenameCase kRenameCases[] = {
    {"empty alias resets first", {}, "", "", "已复位"},
    {"empty system name", {}, "", "a-b", "空字符不行"},
    {"reserved word before everything else", {"整数"}, "整数5", "整数5", "与系统名称重复：整数5 = 整数5"},
    {"reserved word", {"整数", "输出"}, "整数5", "输出9", "与系统名称重复：整数5 = 输出9"},
    {"reserved word needs a number after it", {"整数"}, "整数5", "整数x", ""},
    {"alias equal to the system name", {}, "整数5", "整数5", "已复位"},
    {"alias equal to the canonical system name", {}, "变量5", "整数5", "已复位"},
    {"alias equal to the canonical number", {}, "02", "2", "已复位"},
    {"minus is not allowed", {}, "整数5", "a-b", "新名称不合法（应该由字符数字下划线组成）"},
    {"blank is not allowed", {}, "整数5", "a b", "新名称不合法（应该由字符数字下划线组成）"},
    {"alias in use", {}, "整数2", "t", "重复: 整数1"},
    {"alias that names another entry", {}, "整数2", "整数1", "重复: 整数1"},
    {"letters, digits, underline, Chinese", {}, "整数5", "_温度a1", ""},
    {"Chinese whose second byte is a backslash or bracket", {}, "整数5", "誠淺籠禱", ""},
};

TEST_F(Names, RenameMessagesInOrderOfPrecedence)
{
    for (const RenameCase& c : kRenameCases) {
        SCOPED_TRACE(c.title);
        t.clear();
        ASSERT_EQ(t.rename("整数1", "t"), "");
        t.reservedWords() = c.reserved;
        EXPECT_EQ(t.rename(c.systemName, c.alias), c.message);
    }
}

TEST_F(Names, RenameStoresTheCanonicalSystemName)
{
    EXPECT_EQ(t.rename("变量5", "温度"), "");
    EXPECT_EQ(t.slot(0).systemName, "整数5");
    EXPECT_EQ(t.displayName("整数", 5), "温度");
    EXPECT_EQ(t.aliasToSystem("温度"), "整数5");
    EXPECT_EQ(renderOperand(classifyOperand("温度", t), t), "温度");
    const OperandToken k = classifyOperand("温度", t);
    EXPECT_EQ(k.kind, 2);
    EXPECT_EQ(k.index, 5);
    // Giving the same alias again, by either name, is not a duplicate.
    EXPECT_EQ(t.rename("整数5", "温度"), "");
    EXPECT_EQ(t.rename("局部变量5", "温度"), "");
    EXPECT_EQ(t.usedCount(), 1);
    // Unrecognised names are kept as they are.
    EXPECT_EQ(t.rename("某物", "x"), "");
    EXPECT_EQ(t.aliasToSystem("x"), "某物");
}

TEST_F(Names, RefusedRenameKeepsTheOldAlias)
{
    ASSERT_EQ(t.rename("整数5", "温度"), "");
    ASSERT_EQ(t.rename("整数6", "湿度"), "");
    EXPECT_NE(t.rename("整数5", "a-b"), "");
    EXPECT_NE(t.rename("整数5", "湿度"), "");
    EXPECT_EQ(t.systemToAlias("整数5"), "温度");
    EXPECT_EQ(t.systemToAlias("整数6"), "湿度");
}

TEST_F(Names, NewAliasReplacesTheOldOneAndClearingFreesTheSlot)
{
    ASSERT_EQ(t.rename("整数5", "a"), "");
    ASSERT_EQ(t.rename("整数5", "b"), "");
    EXPECT_EQ(t.aliasToSystem("a"), "a");
    EXPECT_EQ(t.systemToAlias("整数5"), "b");
    EXPECT_EQ(t.usedCount(), 1);
    EXPECT_EQ(t.rename("整数5", ""), "已复位");
    EXPECT_EQ(t.systemToAlias("整数5"), "整数5");
    EXPECT_EQ(t.usedCount(), 1);  // the count never shrinks
}

TEST_F(Names, FreedSlotsAreReusedBeforeTheCountGrows)
{
    ASSERT_EQ(t.rename("整数1", "a"), "");
    ASSERT_EQ(t.rename("整数2", "b"), "");
    ASSERT_EQ(t.rename("整数3", "c"), "");
    t.clearAlias("整数2");
    EXPECT_EQ(t.usedCount(), 3);
    EXPECT_EQ(t.aliasToSystem("b"), "b");
    ASSERT_EQ(t.rename("输出4", "d"), "");
    EXPECT_EQ(t.slot(1).systemName, "输出4");
    EXPECT_EQ(t.usedCount(), 3);
}

TEST_F(Names, ThousandSlotsThenRefusedWithAMessage)
{
    for (int i = 0; i < NameTable::kSlots; ++i)
        ASSERT_EQ(t.rename(format("整数%d", i), format("a%d", i)), "") << i;
    EXPECT_EQ(t.usedCount(), 1000);
    const std::string refused = t.rename("输出1", "new");
    EXPECT_NE(refused, "");
    EXPECT_EQ(t.aliasToSystem("new"), "new");
    EXPECT_EQ(t.usedCount(), 1000);
    // A resource that already has a slot can still be renamed.
    EXPECT_EQ(t.rename("整数7", "seven"), "");
    EXPECT_EQ(t.displayName("整数", 7), "seven");
    // Importing past the limit stops with the same message.
    EXPECT_EQ(t.importText("new\t=\t输出1\r\n"), refused);
    t.clearAlias("整数9");
    EXPECT_EQ(t.rename("输出1", "new"), "");
}

TEST_F(Names, ExportImportRoundTrip)
{
    EXPECT_EQ(t.exportText(), "");
    ASSERT_EQ(t.rename("整数1", "x"), "");
    ASSERT_EQ(t.rename("全局变量300", "总数"), "");
    ASSERT_EQ(t.rename("数组3_4_1", "头"), "");
    ASSERT_EQ(t.rename("整数2", "gone"), "");
    t.clearAlias("整数2");
    const std::string text = t.exportText();
    EXPECT_EQ(text, "x\t=\t整数1\r\n总数\t=\t全局整数300\r\n头\t=\t数组3_4_1\r\n");

    auto other = std::make_unique<NameTable>();
    EXPECT_EQ(other->importText(text), "");
    EXPECT_EQ(other->exportText(), text);
}

// Whatever system name a table holds, exporting and importing it again gives
// the same table (a lone quote once grew by one quote each time).
TEST_F(Names, OddSystemNamesSurviveExportAndImport)
{
    for (const char* name : {"'", "''", "\"", "5", "某物"}) {
        NameTable first;
        ASSERT_EQ(first.rename(name, "ab"), "") << name;
        const std::string text = first.exportText();
        auto second = std::make_unique<NameTable>();
        EXPECT_EQ(second->importText(text), "") << name;
        EXPECT_EQ(second->exportText(), text) << name;
    }
}

// Imported tables export to text that imports to the same table, also when
// one line's alias is another line's system name (found by fuzzing: the
// alias then took the other line's resource on the second import).
TEST_F(Names, ImportedTablesImportAgainUnchanged)
{
    const char* const texts[] = {
        "\x09" "\xCA" "\xEB" "\xFF" "\xC8" "\xB5" "\x09" "=9\x0A" "\x09" "\xB5" "\x09" "=9\x0D" "\x0A" "\x09" "TCP\xC8" "\xCC" "9\xAD" "=\x09" "\xB1" "\x0A" "\x09" "\xB1" "\x09" "=9\x0D" "\x0A" "\x09" "\x0D" "\x0A" "\x09" "\xCA" "\xEB" "\xB1" "\x09" "=9\x0D" "\x0A" "9\x0D" "\x0A" "\x09" "\xB1" "=9\xB1" "\x0D" "\x0A" "\x09" "\xB1" "=9\x0D" "\x0A",
    };
    for (const char* text : texts) {
        NameTable first;
        first.importText(text);
        const std::string exported = first.exportText();
        NameTable second;
        second.importText(exported);
        EXPECT_EQ(second.exportText(), exported) << text;
    }
}

TEST_F(Names, ImportLines)
{
    EXPECT_EQ(t.importText("x\t=\t整数1\r\ny\t=\t整数2"), "");
    EXPECT_EQ(t.displayName("整数", 1), "x");
    EXPECT_EQ(t.displayName("整数", 2), "y");
    // Runs of line ends are one separator; the table is not cleared.
    EXPECT_EQ(t.importText("\r\n\r\n z = 输出3 \n\n"), "");
    EXPECT_EQ(t.displayName("输出", 3), "z");
    EXPECT_EQ(t.displayName("整数", 1), "x");
}

TEST_F(Names, ImportStopsAtTheFirstRefusedLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"x=整数1\r\n=整数2", "最后一行已复位"},
        {"x=整数1\r\n=整数2\r\n", "已复位"},
        {"x=整数1\nno equals sign\ny=整数3", "已复位"},
        {"a-b=整数1", "最后一行新名称不合法（应该由字符数字下划线组成）"},
        {"x=整数1\ny=", "最后一行空字符不行"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        t.clear();
        EXPECT_EQ(t.importText(c.text), c.message);
        EXPECT_EQ(t.aliasToSystem("y"), "y");
    }
}

TEST(NamesProcessWide, FreeFunctionsUseTheSharedTable)
{
    names().clear();
    ASSERT_EQ(names().rename("整数5", "温度"), "");
    EXPECT_EQ(aliasToSystem("温度"), "整数5");
    EXPECT_EQ(systemToAlias("整数5"), "温度");
    EXPECT_EQ(displayName("整数", 5), "温度");
    EXPECT_EQ(displayName("整数", 6), "整数6");
    EXPECT_EQ(aliasToSystem(""), "");
    names().clear();
    EXPECT_EQ(displayName("整数", 5), "整数5");
}

}  // namespace
}  // namespace orlo
