// Condition param3 encoding: the bytes every layout writes (position, width,
// byte order, and the bytes it must leave alone), the combinations that
// store nothing, strings and their limits, the hex check and its messages,
// the float comparison codes, the editor's picks and its text preparation.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/condition_encoding.h"
#include "catalogue/hex_check.h"
#include "catalogue/param_text_prep.h"
#include "platform/fake/fake_shell.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using Record = std::array<std::uint8_t, 256>;

constexpr std::uint8_t kFill = 0xA5;

// A record of the kind and parameters whose other bytes are all kFill, so
// that every byte the encoder writes, and every byte it must not, shows.
Record filled(int kind, int param1, int param2)
{
    Record r;
    r.fill(kFill);
    r[0] = static_cast<std::uint8_t>(kind);
    r[1] = static_cast<std::uint8_t>(param1);
    r[2] = static_cast<std::uint8_t>(param2);
    return r;
}

Record encoded(int kind, int param1, int param2, const std::string& text)
{
    Record r = filled(kind, param1, param2);
    encodeConditionParam3(text, r.data());
    return r;
}

// The record's bytes from offset 3 up to the last one that differs from kFill.
std::string writtenBytes(const Record& r)
{
    std::size_t end = r.size();
    while (end > 3 && r[end - 1] == kFill)
        --end;
    return hexText(r.data() + 3, end - 3);
}

struct KnownAnswer {
    int kind, param1, param2;
    const char* text;
    const char* bytes;  // from offset 3; "A5" marks a byte left as it was
};

TEST(ConditionEncoding, WritesEachLayoutAtItsPlace)
{
    const KnownAnswer cases[] = {
        // Numbers: 32-bit big-endian from the text's leading number.
        {3, 1, 1, "1500", "00 00 05 DC"},
        {5, 1, 1, "-2", "FF FF FF FE"},
        {13, 0, 1, "  +42 ms", "00 00 00 2A"},
        {14, 1, 1, "4294967295", "FF FF FF FF"},
        {18, 0, 1, "99999999999", "FF FF FF FF"},
        {5, 1, 1, "-99999999999", "80 00 00 00"},
        {3, 1, 1, "abc 5", "00 00 00 00"},
        // Radio codes: two 32-bit big-endian numbers.
        {7, 1, 1, "无线参数:305419896 无线数据:4", "12 34 56 78 00 00 00 04"},
        {7, 1, 1, "1  2", "00 00 00 01 00 00 00 02"},
        // Time: byte 3 untouched, then hh mm ss.
        {8, 1, 1, "12:30:05", "A5 0C 1E 05"},
        {8, 4, 1, "235959", "A5 17 3B 3B"},
        {8, 1, 2, "全局整数7", "07"},
        // Strings and hex lists: count, then the data.
        {10, 1, 1, "hello", "05 68 65 6C 6C 6F"},
        {10, 1, 1, "a\\n\"", "04 61 5C 6E 22"},
        {11, 1, 1, "01 2 FF", "03 01 02 FF"},
        {16, 1, 3, "0a", "01 0A"},
        {16, 2, 3, "ab", "02 61 62"},
        {16, 3, 0, "10 20", "02 10 20"},
        {16, 4, 0, "0a", "02 30 61"},
        {16, 5, 1, "07 FF", "02 07 FF"},
        {19, 1, 1, "0a", "01 0A"},
        {19, 1, 2, "0a", "02 30 61"},
        {19, 1, 3, "0a", "01 0A"},
        {19, 1, 4, "0a", "02 30 61"},
        // Kind 25's hex list is not checked: a group of four digits keeps its low byte.
        {25, 1, 2, "0102 3", "02 02 03"},
        {25, 1, 3, "ok", "02 6F 6B"},
        // Local arrays.
        {20, 1, 1, "局部数组3 字节数=10", "03 0A"},
        {20, 1, 2, "5 9", "05"},
        {20, 1, 3, "6", "06"},
        {20, 1, 7, "局部数组3 包含 全局数组300", "03 2C"},
        {20, 2, 1, "4:01 02 0a", "04 A5 A5 A5 03 01 02 0A"},
        {20, 2, 2, "3:abc", "03 A5 A5 A5 03 61 62 63"},
        {20, 2, 3, "12:FF", "0C A5 A5 A5 01 FF"},
        {20, 2, 4, "3:a:b", "03 A5 A5 A5 03 61 3A 62"},
        // Local integers: byte 4 stays when the value takes bytes 5 to 8.
        {21, 1, 2, "整数2 = 300", "02 A5 00 00 01 2C"},
        {21, 1, 1, "整数2 = -1", "02 A5 FF FF FF FF"},
        {21, 2, 1, "整数2 = 整数9", "02 09"},
        {21, 3, 3, "整数2 < 全局整数300", "02 2C"},
        {21, 4, 1, "整数1 BIT3 = 1", "01 03 01"},
        {21, 4, 4, "整数1 BIT3 = 输出7", "01 03 07"},
        {21, 4, 5, "整数1 BIT2 = 整数3 BIT4", "01 02 03 04"},
        {21, 4, 6, "整数1 BIT2 = 全局整数3 BIT4", "01 02 03 04"},
        // Floats: variable, comparison code, double least significant byte first.
        {23, 1, 1, "全局小数1 >= 2.5", "01 03 00 00 00 00 00 00 04 40"},
        {23, 2, 1, "局部小数2 = -0.1", "02 00 9A 99 99 99 99 99 B9 BF"},
        {23, 2, 3, "局部小数4 <> 局部小数6", "04 05 06"},
        {23, 1, 5, "全局小数4 < 整数6", "04 02 06"},
        // Formulas: length, then the byte code.
        {24, 1, 1, "整数1 >= 10", "0E 0E 04 03 02 01 02 04 07 06 01 00 00 00 0A"},
        {24, 1, 1, "整数1 > 1 并且 整数2 < 2",
         "1E 0E 04 03 02 01 02 02 07 06 01 00 00 00 01 02 01 "
         "0E 04 03 02 02 02 03 07 06 01 00 00 00 02"},
        {24, 2, 5, "整数1 = 函数5(整数2, 3)",
         "13 13 04 03 02 01 02 01 0C 04 03 02 02 07 06 01 00 00 00 03"},
        {25, 1, 4, "整数1 + 5", "0D 0D 03 02 01 03 64 2B 06 01 00 00 00 05"},
        {25, 9, 6, "全局整数300", "06 06 05 41 03 2C 01"},
        {25, 1, 7, "整数1, 5", "0C 0C 04 03 02 01 07 06 01 00 00 00 05"},
    };
    FakeShell fake;
    ShellScope scope(fake);
    for (const KnownAnswer& c : cases) {
        const Record r = encoded(c.kind, c.param1, c.param2, c.text);
        EXPECT_EQ(writtenBytes(r), c.bytes)
            << "kind " << c.kind << " " << c.param1 << " " << c.param2 << " text " << c.text;
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST(ConditionEncoding, CombinationsWithoutATypedParam3StoreNothing)
{
    const int combinations[][3] = {
        {1, 3, 3},  {2, 1, 1},  {4, 1, 1},   {6, 1, 1},   {9, 4, 3},  {12, 1, 2},
        {15, 2, 0}, {17, 1, 1}, {17, 1, 3},  {22, 0, 0},  {7, 2, 1},  {7, 0, 1},
        {8, 1, 3},  {20, 1, 8}, {20, 2, 5},  {20, 3, 1},  {21, 1, 4}, {21, 4, 7},
        {21, 0, 1}, {23, 3, 1}, {23, 1, 6},  {24, 2, 101}, {24, 2, 0}, {24, 3, 1},
        {25, 1, 1}, {25, 1, 8}, {25, 1, 9},  {25, 1, 0},  {0, 0, 0},  {26, 1, 1},
        {200, 1, 1},
    };
    FakeShell fake;
    ShellScope scope(fake);
    for (const auto& k : combinations) {
        const Record before = filled(k[0], k[1], k[2]);
        const Record after = encoded(k[0], k[1], k[2], "12 34 整数1 = 5 : 0x10 \"s\"");
        EXPECT_EQ(after, before) << "kind " << k[0] << " " << k[1] << " " << k[2];
    }
    EXPECT_TRUE(fake.messages.empty());
}

TEST(ConditionEncoding, UnusableTextsLeaveTheRecord)
{
    const KnownAnswer cases[] = {
        {8, 1, 1, "12:30", ""},          // five digits
        {8, 1, 1, "12:30:05:1", ""},     // seven
        {7, 1, 1, "12345", ""},          // one radio code, no blank
        {7, 1, 1, "无线参数:5", ""},
        {10, 1, 1, "", ""},              // the empty string
        {19, 1, 4, "", ""},
        {25, 1, 3, "", ""},
        {20, 2, 2, "3 abc", ""},         // no ":" to split at
        {20, 2, 1, "3 01 02", ""},
    };
    for (const KnownAnswer& c : cases) {
        EXPECT_EQ(encoded(c.kind, c.param1, c.param2, c.text), filled(c.kind, c.param1, c.param2))
            << "kind " << c.kind << " text " << c.text;
    }
    // "N:" with an empty string stores N and leaves the string as it was.
    EXPECT_EQ(writtenBytes(encoded(20, 2, 4, "7:")), "07");
    // An empty hex list after "N:" is a count of 0.
    EXPECT_EQ(writtenBytes(encoded(20, 2, 3, "7:")), "07 A5 A5 A5 00");
}

TEST(ConditionEncoding, MissingNumbersAreZero)
{
    EXPECT_EQ(writtenBytes(encoded(21, 1, 1, "整数")), "00 A5 00 00 00 00");
    EXPECT_EQ(writtenBytes(encoded(21, 4, 6, "整数1 BIT2")), "01 02 00 00");
    EXPECT_EQ(writtenBytes(encoded(23, 1, 1, "")), "00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(writtenBytes(encoded(3, 1, 1, "")), "00 00 00 00");
    // Only the low byte of a resource number fits.
    EXPECT_EQ(writtenBytes(encoded(20, 1, 1, "-1 257")), "FF 01");
}

TEST(ConditionEncoding, StringsKeepAtMost200Bytes)
{
    const std::string longText(250, 'x');
    for (const KnownAnswer& k : {KnownAnswer{10, 1, 1, "", ""}, KnownAnswer{25, 1, 3, "", ""}}) {
        const Record r = encoded(k.kind, k.param1, k.param2, longText);
        EXPECT_EQ(r[3], 200);
        EXPECT_EQ(r[203], 'x');
        EXPECT_EQ(r[204], kFill);
    }
    const Record local = encoded(20, 2, 2, "1:" + longText);
    EXPECT_EQ(local[7], 200);
    EXPECT_EQ(local[207], 'x');
    EXPECT_EQ(local[208], kFill);

    // A formula whose byte code would pass 200 bytes is stored as length 0.
    std::string formula = "整数1 > 1";
    for (int i = 0; i < 30; ++i)
        formula += " 并且 整数2 < 2";
    EXPECT_EQ(encoded(24, 1, 1, formula)[3], 0);
}

// Hex lists of 167 to 200 bytes show as 500 to 599 characters; strings are
// cut at 200 bytes without splitting a double-byte character.
TEST(ConditionEncoding, LongDataKeepsEveryByteAndWholeCharacters)
{
    struct DataCase {
        int kind, param1, param2;
        const char* prefix;  // the text before the data
        std::size_t count;   // record offset of the count byte
    };
    const DataCase hexCases[] = {
        {11, 1, 1, "", 3}, {16, 1, 1, "", 3}, {16, 3, 1, "", 3}, {16, 5, 2, "", 3},
        {19, 1, 1, "", 3}, {19, 1, 3, "", 3}, {20, 2, 1, "9:", 7}, {20, 2, 3, "9:", 7},
        {25, 1, 2, "", 3},
    };
    const DataCase stringCases[] = {
        {10, 1, 1, "", 3}, {16, 2, 1, "", 3}, {19, 1, 4, "", 3}, {20, 2, 2, "9:", 7},
        {25, 1, 3, "", 3},
    };
    FakeShell fake;
    ShellScope scope(fake);
    for (const std::size_t n : {std::size_t{166}, std::size_t{167}, std::size_t{200}}) {
        std::string list;
        for (std::size_t i = 0; i < n; ++i)
            list += format(i ? " %02X" : "%02X", static_cast<unsigned>((i * 37) & 0xFF));
        for (const DataCase& c : hexCases) {
            const Record r = encoded(c.kind, c.param1, c.param2, c.prefix + list);
            EXPECT_EQ(r[c.count], n) << "kind " << c.kind << " " << c.param1 << " " << c.param2;
            EXPECT_EQ(hexText(r.data() + c.count + 1, n), list) << "kind " << c.kind;
        }
    }
    // 199 single bytes, then 啊 (B0 A1) across the 200th byte.
    const std::string text = std::string(199, 'x') + "啊";
    for (const DataCase& c : stringCases) {
        const Record r = encoded(c.kind, c.param1, c.param2, c.prefix + text);
        EXPECT_EQ(r[c.count], 199) << "kind " << c.kind << " " << c.param1 << " " << c.param2;
        EXPECT_EQ(r[c.count + 200], kFill) << "kind " << c.kind;
    }
    EXPECT_TRUE(fake.messages.empty()) << fake.lastMessage();
}

struct HexCase {
    const char* text;
    const char* message;  // "" for none
    bool valid;
};

TEST(CheckHexText, MessagesAndVerdicts)
{
    const HexCase cases[] = {
        {"01 2 FF", "", true},
        {"ab CD ef", "", true},
        {"   ", "", true},
        {"", "", false},
        {"0102", "格式为：11 22 33 … AA BB CC … FF, 中间要有空格", false},
        {"01 0102", "格式为：11 22 33 … AA BB CC … FF, 中间要有空格", false},
        {"012 34", "格式为：11 22 33 … AA BB CC … FF", false},
        {"01 0G", "字符范围0-9或A-F不能有特殊字符", false},
        {"01\t02", "字符范围0-9或A-F不能有特殊字符", false},
        {"0x01", "字符范围0-9或A-F不能有特殊字符", false},
    };
    for (const HexCase& c : cases) {
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(checkHexText(c.text), c.valid) << c.text;
        if (*c.message == '\0') {
            EXPECT_TRUE(fake.messages.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(fake.messages.size(), 1u) << c.text;
        EXPECT_EQ(fake.messages[0].text, c.message);
        EXPECT_EQ(fake.messages[0].caption, "警告：");
        EXPECT_EQ(fake.messages[0].buttons, Buttons::Ok);
    }
}

TEST(ConditionEncoding, CheckedHexListsStoreNothingOnAMessage)
{
    for (const int k : {11, 16, 19}) {
        const int param1 = k == 16 ? 3 : 1;
        const int param2 = k == 19 ? 3 : 1;
        FakeShell fake;
        ShellScope scope(fake);
        EXPECT_EQ(encoded(k, param1, param2, "0102"), filled(k, param1, param2)) << k;
        EXPECT_EQ(encoded(k, param1, param2, "01 0G"), filled(k, param1, param2)) << k;
        EXPECT_EQ(fake.messages.size(), 2u) << k;
        // Blanks alone pass the check and store an empty list.
        EXPECT_EQ(writtenBytes(encoded(k, param1, param2, "  ")), "00") << k;
    }
    // Lists without the check never show a message.
    FakeShell fake;
    ShellScope scope(fake);
    EXPECT_EQ(writtenBytes(encoded(25, 1, 2, "0G")), "01 00");
    EXPECT_EQ(writtenBytes(encoded(20, 2, 1, "2:0G")), "02 A5 A5 A5 01 00");
    EXPECT_TRUE(fake.messages.empty());
}

TEST(ConditionEncoding, FloatComparisonCodes)
{
    const std::pair<const char*, int> cases[] = {
        {"全局小数1 >= 2", 3}, {"全局小数1 <= 2", 4}, {"全局小数1 <> 2", 5},
        {"全局小数1 > 2", 1},  {"全局小数1 < 2", 2},  {"全局小数1 = 2", 0},
        {"全局小数1 2", 0},    {"a => b", 0},         {"a > = b", 0},
        {"a >< b", 1},         {"a <>= b", 3},        {"a < b >= c", 3},
        {"a <= b <> c", 4},    {"a < b = c", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(floatComparisonCode(c.first), c.second) << c.first;
}

TEST(ConditionEncoding, PicksGoWhereTheEditorPutsThem)
{
    struct PickCase {
        int kind;
        const char* bytes;
    };
    const PickCase cases[] = {
        {9, "07"}, {12, "07"}, {17, "07"}, {20, "01 07"}, {21, ""}, {10, ""}, {3, ""},
    };
    for (const PickCase& c : cases) {
        Record r = filled(c.kind, 1, 1);
        pickConditionParam3(r.data(), 7);
        EXPECT_EQ(writtenBytes(r), c.bytes) << c.kind;
    }
}

TEST(ParamTextPrep, TrimsAndTurnsTypographicQuotes)
{
    const struct {
        const char* in;
        bool formula;
        const char* out;
    } cases[] = {
        {"  整数1 = 5 \t\r\n", false, "整数1 = 5"},
        {"“abc”", false, "\"abc\""},
        {"\"a“b”\"", false, "\"a“b”\""},  // an ASCII quote keeps the others
        {"（整数1）", false, "（整数1）"},
        {"（整数1）", true, "(整数1)"},
        {"“（a）”，（b）", true, "\"（a）\",(b)"},
        // 啊 is B0 A1: two of them hold A1 B0 (“) across the characters.
        {"啊啊", false, "啊啊"},
        {"", true, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prepareParam3Text(c.in, c.formula), c.out) << c.in;
    EXPECT_TRUE(conditionParam3IsFormula(24));
    EXPECT_FALSE(conditionParam3IsFormula(25));
}

}  // namespace
}  // namespace orlo
