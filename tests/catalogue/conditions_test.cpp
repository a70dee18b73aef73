// Condition catalogue: kind names and record lengths, the choice lists of
// the three parameters (lengths, ends, the entries that differ from their
// neighbours), alias substitution and the editor's kind menu.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/conditions.h"
#include "expr/names.h"

namespace orlo {
namespace {

using Record = std::array<std::uint8_t, 256>;

Record record(int kind, int param1 = 0, int param2 = 0)
{
    Record r{};
    r[0] = static_cast<std::uint8_t>(kind);
    r[1] = static_cast<std::uint8_t>(param1);
    r[2] = static_cast<std::uint8_t>(param2);
    return r;
}

using TextFn = std::string (*)(const std::uint8_t*, int);

int listLength(TextFn fn, const Record& r)
{
    int n = 0;
    while (n < 255 && !fn(r.data(), n + 1).empty())
        ++n;
    return n;
}

struct KindCase {
    int code;
    const char* name;
    int length;  // of a record whose other bytes are 0
};

TEST(ConditionKinds, NamesAndFixedLengths)
{
    const KindCase cases[] = {
        {1, "外部输入", 5},  {2, "输出状态变化", 5}, {3, "定时器", 9},
        {4, "位变量", 5},    {5, "全局整数（全局整数/全局变量）", 9},
        {6, "固定输入", 4},  {7, "无线遥控器", 13},  {8, "时间设定", 9},
        {9, "日期设定", 6},  {10, "接收到字符串", 6}, {11, "接收到16进制数据", 6},
        {12, "联机开关量", 6}, {13, "公共数据量", 9}, {14, "模拟量输入", 9},
        {15, "临时数据包简单判断", 5}, {16, "临时数据包高级判断", 6},
        {17, "全局数组简单判断", 6}, {18, "环境监测", 9}, {19, "全局数组高级判断", 6},
        {20, "局部数组", 10}, {21, "局部整数", 11}, {22, "函数判断", 12},
        {23, "小数变量", 20}, {24, "表达式/函数判断(118)", 6},
        {25, "数据口接收到数据(118)", 6},
    };
    for (const KindCase& c : cases) {
        Record r = record(c.code);
        KindInfo info = conditionKindInfo(r.data());
        EXPECT_EQ(info.name, c.name) << "kind " << c.code;
        EXPECT_EQ(info.length, c.length) << "kind " << c.code;
        EXPECT_EQ(conditionKindName(c.code), c.name);
    }
    for (int code : {0, 26, 40, 255}) {
        Record r = record(code);
        r[3] = 9;  // a count byte of an unknown kind means nothing
        KindInfo info = conditionKindInfo(r.data());
        EXPECT_EQ(info.name, "") << code;
        EXPECT_EQ(info.length, 0) << code;
    }
}

TEST(ConditionKinds, CountBytesLengthenTheRecord)
{
    struct Case { int kind; int countByte; int count; int length; };
    const Case cases[] = {
        {20, 7, 5, 15},    {10, 3, 200, 206}, {11, 3, 1, 7},  {16, 3, 4, 10},
        {19, 3, 2, 8},     {22, 9, 3, 15},    {24, 3, 17, 23}, {25, 3, 9, 15},
        // Bytes other than the count byte do not count.
        {3, 3, 200, 9},
    };
    for (const Case& c : cases) {
        Record r = record(c.kind);
        r[c.countByte] = static_cast<std::uint8_t>(c.count);
        EXPECT_EQ(conditionKindInfo(r.data()).length, c.length) << "kind " << c.kind;
    }
    Record local = record(20);
    local[3] = 200;  // byte 3 is not the count of a local array condition
    EXPECT_EQ(conditionKindInfo(local.data()).length, 10);
}

TEST(ConditionKinds, LengthNeverExceedsAStoredLine)
{
    Record r = record(22);
    r[9] = 243;
    EXPECT_EQ(conditionKindInfo(r.data()).length, 255);
    r[9] = 255;  // would claim 267 bytes
    EXPECT_EQ(conditionKindInfo(r.data()).length, 255);
    r = record(20);
    r[7] = 250;
    EXPECT_EQ(conditionKindInfo(r.data()).length, 255);
}

TEST(ConditionKinds, EditorMenuOffersSeventeenKindsInOrder)
{
    const std::vector<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 14, 17, 19, 20, 21, 24, 25};
    EXPECT_EQ(offeredConditionKinds(), expected);
    EXPECT_EQ(kConditionKindMenu.size(), 18u);
    EXPECT_EQ(kConditionKindMenu.back(), 26);
}

struct ListCase {
    const char* what;
    TextFn fn;
    int kind, param1, param2;
    int length;
    const char* first;
    const char* last;
};

TEST(ConditionLists, LengthsAndEnds)
{
    const TextFn p1 = conditionParam1Text, p2 = conditionParam2Text, p3 = conditionParam3Text;
    const ListCase cases[] = {
        {"inputs", p1, 1, 0, 0, 200, "输入1", "输入200"},
        {"outputs", p1, 2, 0, 0, 200, "输出1", "输出200"},
        {"timers", p1, 3, 0, 0, 200, "定时器1", "定时器200"},
        {"bits", p1, 4, 0, 0, 200, "位变量1", "位变量200"},
        {"globals", p1, 5, 0, 0, 200, "全局整数1", "全局整数200"},
        {"fixed", p1, 6, 0, 0, 3, "上电初始化", "本条件恒定不成立"},
        {"remote", p1, 7, 0, 0, 2, "无线接收模块315M", "接收到万能红外发射对码信号"},
        {"time", p1, 8, 0, 0, 4, "进入时刻", "等于"},
        {"date", p1, 9, 0, 0, 4, "年设定 参数3格式 2001-2099", "星期设定 参数3格式 1-7"},
        {"string port", p1, 10, 0, 0, 32, "数据口1", "数据口32"},
        {"hex port", p1, 11, 0, 0, 32, "数据口1", "数据口32"},
        {"addresses", p1, 12, 0, 0, 255, "地址0", "地址254"},
        {"shared data", p1, 13, 0, 0, 0, "", ""},
        {"analogue", p1, 14, 0, 0, 200, "模拟量输入1", "模拟量输入200"},
        {"packet", p1, 15, 0, 0, 7, "接收到临时数据包", "CAN报文参数判断"},
        {"packet adv", p1, 16, 0, 0, 5, "判断某几个16进制数据", "CAN ID 判断"},
        {"array simple", p1, 17, 0, 0, 100, "全局数组1", "全局数组100"},
        {"environment", p1, 18, 0, 0, 0, "", ""},
        {"array adv", p1, 19, 0, 0, 100, "全局数组1", "全局数组100"},
        {"local array", p1, 20, 0, 0, 2, "局部数组参数判断", "局部数组内容判断"},
        {"local int", p1, 21, 0, 0, 4, "与固定值比较", "位判断"},
        {"function", p1, 22, 0, 0, 0, "", ""},
        {"decimal", p1, 23, 0, 0, 0, "", ""},
        {"formula", p1, 24, 0, 0, 2, "表达式", "用户函数"},
        {"port data", p1, 25, 0, 0, 10, "数据口1", "数据口10"},
        {"unknown", p1, 26, 0, 0, 0, "", ""},

        {"input edges", p2, 1, 1, 0, 9, "断开", "连续按下多次 全局整数1代表次数"},
        {"output edges", p2, 2, 1, 0, 5, "断开", "状态翻转"},
        {"timer", p2, 3, 1, 0, 10, "大于", "减到0"},
        {"bit", p2, 4, 1, 0, 5, "=0", "状态翻转"},
        {"global", p2, 5, 1, 0, 7, "大于 参数3 的值", "位判断"},
        {"fixed", p2, 6, 1, 0, 1, "无其他参数", "无其他参数"},
        {"remote", p2, 7, 2, 0, 1, "无", "无"},
        {"time", p2, 8, 1, 0, 1, "固定格式 XX时XX分XX秒", "固定格式 XX时XX分XX秒"},
        {"date", p2, 9, 4, 0, 4, "进入时刻", "等于"},
        {"string", p2, 10, 3, 0, 1, "参数3输入数据的内容", "参数3输入数据的内容"},
        {"hex", p2, 11, 3, 0, 1, "参数3输入数据的内容", "参数3输入数据的内容"},
        {"channels", p2, 12, 5, 0, 32, "第1路", "第32路"},
        {"shared data", p2, 13, 1, 0, 6, "大于 参数3 的值", "等于全局整数的值"},
        {"analogue", p2, 14, 9, 0, 6, "大于 参数3 的值", "等于全局整数的值"},
        {"packet", p2, 15, 1, 0, 0, "", ""},
        {"packet adv", p2, 16, 1, 0, 0, "", ""},
        {"array simple", p2, 17, 1, 0, 4, "字节数判断", "查找其他全局数组的内容"},
        {"environment", p2, 18, 1, 0, 6, "大于", "等于全局整数"},
        {"array adv", p2, 19, 1, 0, 4, "等于某几个16进制数据", "包含某几个字符"},
        {"local array 1", p2, 20, 1, 0, 7, "字节数判断", "包含其他全局数组的内容"},
        {"local array 2", p2, 20, 2, 0, 4, "等于某几个16进制数据", "包含某几个字符"},
        {"local array 3", p2, 20, 3, 0, 0, "", ""},
        {"local int 1", p2, 21, 1, 0, 3, "等于某值", "小于某值"},
        {"local int 2", p2, 21, 2, 0, 3, "等于整数的值", "小于整数的值"},
        {"local int 3", p2, 21, 3, 0, 3, "等于全局整数的值", "小于全局整数的值"},
        {"local int 4", p2, 21, 4, 0, 6, "判断某一位 =1/0", "判断某一位 =全局整数的某一位"},
        {"local int 0", p2, 21, 0, 0, 0, "", ""},
        {"function", p2, 22, 1, 0, 0, "", ""},
        {"expression", p2, 24, 1, 0, 1, "一般计算表达式", "一般计算表达式"},
        {"user function", p2, 24, 2, 0, 100, "函数1", "函数100"},
        {"port data", p2, 25, 1, 0, 9, "有无判断", "CRC16校验判断（V126）"},

        {"years", p3, 9, 1, 0, 99, "2001年", "2099年"},
        {"months", p3, 9, 2, 0, 12, "1月", "12月"},
        {"days", p3, 9, 3, 0, 31, "1日", "31日"},
        {"weekdays", p3, 9, 4, 0, 7, "星期1", "星期日"},
        {"date 5", p3, 9, 5, 0, 0, "", ""},
        {"relay", p3, 12, 7, 3, 5, "断开", "状态翻转"},
        {"byte count", p3, 17, 1, 1, 200, "0个字节", "199个字节"},
        {"check", p3, 17, 1, 2, 2, "和校验", "CRC16校验"},
        {"other array", p3, 17, 1, 3, 200, "全局数组1", "全局数组200"},
        {"found array", p3, 17, 1, 4, 200, "全局数组1", "全局数组200"},
        {"array 5", p3, 17, 1, 5, 0, "", ""},
        {"typed", p3, 3, 1, 1, 0, "", ""},
    };
    for (const ListCase& c : cases) {
        Record r = record(c.kind, c.param1, c.param2);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(listLength(c.fn, r), c.length);
        EXPECT_EQ(c.fn(r.data(), 1), c.length ? c.first : "");
        EXPECT_EQ(c.fn(r.data(), c.length), c.length ? c.last : "");
        EXPECT_EQ(c.fn(r.data(), c.length + 1), "");
        EXPECT_EQ(c.fn(r.data(), 0), "");
    }
}

TEST(ConditionLists, EntriesThatDifferFromTheirNeighbours)
{
    struct Case { TextFn fn; int kind, param1, param2, value; const char* text; };
    const TextFn p1 = conditionParam1Text, p2 = conditionParam2Text, p3 = conditionParam3Text;
    const Case cases[] = {
        {p1, 16, 0, 0, 4, "包含某几个字符"},
        {p2, 1, 0, 0, 6, "单击"},
        {p2, 1, 0, 0, 8, "长按"},
        {p2, 3, 0, 0, 6, "等于全局整数"},
        {p2, 3, 0, 0, 7, "大于整数"},
        {p2, 4, 0, 0, 3, "0到1跳变"},
        {p2, 5, 0, 0, 4, "大于全局整数的值"},
        {p2, 17, 0, 0, 3, "等于其他全局数组的内容"},
        {p2, 20, 1, 0, 2, "和校验判断"},
        {p2, 20, 1, 0, 3, "crc16校验判断"},
        {p2, 21, 4, 0, 2, "判断某一位 =位变量"},
        {p2, 25, 0, 0, 8, "和校验判断（V126）"},
        {p3, 9, 4, 0, 6, "星期6"},
        {p3, 17, 0, 1, 2, "1个字节"},
        {p1, 12, 0, 0, 2, "地址1"},
    };
    for (const Case& c : cases) {
        Record r = record(c.kind, c.param1, c.param2);
        EXPECT_EQ(c.fn(r.data(), c.value), c.text) << c.kind << "/" << c.value;
    }
}

TEST(ConditionLists, EveryListIsContiguous)
{
    // An empty text inside a list would cut the editor's list short.
    for (TextFn fn : {conditionParam1Text, conditionParam2Text, conditionParam3Text}) {
        for (int kind = 0; kind <= 27; ++kind) {
            for (int p = 0; p <= 6; ++p) {
                Record r = record(kind, p, p);
                int n = listLength(fn, r);
                for (int v = n + 1; v <= 256; ++v)
                    ASSERT_EQ(fn(r.data(), v), "") << kind << "/" << p << "/" << v;
            }
        }
    }
}

class ConditionAliases : public ::testing::Test {
protected:
    void SetUp() override { names().clear(); }
    void TearDown() override { names().clear(); }
};

TEST_F(ConditionAliases, ResourceListsShowAliases)
{
    ASSERT_EQ(names().rename("输入3", "门磁"), "");
    ASSERT_EQ(names().rename("全局数组7", "缓存"), "");
    ASSERT_EQ(names().rename("数据口2", "串口"), "");
    Record input = record(1);
    EXPECT_EQ(conditionParam1Text(input.data(), 3), "门磁");
    EXPECT_EQ(conditionParam1Text(input.data(), 4), "输入4");
    Record array = record(17, 0, 3);
    EXPECT_EQ(conditionParam1Text(array.data(), 7), "缓存");
    EXPECT_EQ(conditionParam3Text(array.data(), 7), "缓存");
    Record port = record(25);
    EXPECT_EQ(conditionParam1Text(port.data(), 2), "串口");
}

TEST_F(ConditionAliases, FormattedListsIgnoreAliases)
{
    ASSERT_EQ(names().rename("模拟量输入3", "温度"), "");
    ASSERT_EQ(names().rename("函数4", "开门"), "");
    Record analogue = record(14);
    EXPECT_EQ(conditionParam1Text(analogue.data(), 3), "模拟量输入3");
    Record function = record(24, 2);
    EXPECT_EQ(conditionParam2Text(function.data(), 4), "函数4");
}

}  // namespace
}  // namespace orlo
