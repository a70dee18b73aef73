// Result catalogue: kind names and encoded lengths, the param1 and param2
// lists and the param3 suggestions (lengths, ends, the entries that differ
// from their neighbours, blanks and tabs inside texts), alias substitution,
// the named operation lists and the editor's kind menu.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/results.h"
#include "expr/names.h"

namespace orlo {
namespace {

using Result = std::array<std::uint8_t, 256>;

Result result(int kind, int param1 = 0, int param2 = 0)
{
    Result r{};
    r[0] = static_cast<std::uint8_t>(kind);
    r[1] = static_cast<std::uint8_t>(param1);
    r[2] = static_cast<std::uint8_t>(param2);
    return r;
}

int listLength(const std::function<std::string(int)>& text)
{
    int n = 0;
    while (n < 255 && !text(n + 1).empty())
        ++n;
    return n;
}

TEST(ResultKinds, NamesAndLengths)
{
    struct Case { int code; const char* name; int length; };
    const Case cases[] = {
        {1, "输出操作", 9}, {2, "定时器", 9}, {3, "位变量", 9}, {4, "全局整数(原内部变量)", 9},
        {5, "系统简单设置", 5}, {6, "系统特殊设置", 9}, {7, "通讯参数设置", 9},
        {8, "批量操作内部资源", 9}, {9, "红外发射", 6}, {10, "发送字符串", 6},
        {11, "发送16进制数据", 6}, {12, "调用函数", 5}, {13, "操作联机继电器模块(发送命令)", 9},
        {14, "发送本机状态", 9}, {15, "显示变量", 9}, {16, "语音输出", 6}, {17, "程序延迟", 9},
        {18, "临时数据包处理", 9}, {19, "全局数组简单处理", 6}, {20, "全局数组复杂处理", 9},
        {21, "全局数组综合处理", 6}, {22, "临时数据包设置", 9}, {23, "环境监测", 9},
        {24, "脉冲调制输出", 9}, {25, "显示操作", 9}, {26, "局部整数", 11}, {27, "局部数组", 10},
        {28, "调用函数(含参数)", 11}, {29, "小数变量/格式化变量", 20},
        {30, "表达式/用户函数(118)", 6}, {31, "系统高级设置(版本118 慎用)", 6},
        {32, "数据口发送数据(118)", 6}, {33, "局部数组(118)", 6}, {34, "全局数组(118)", 6},
        {35, "系统外设 硬件资源(118)", 6}, {36, "系统软件资源(118)", 6}, {37, "系统设置(118)", 6},
        {38, "临时数据包设置(118)", 6}, {39, "涂鸦远程控制", 6},
    };
    for (const Case& c : cases) {
        Result r = result(c.code);
        KindInfo info = resultKindInfo(r.data());
        EXPECT_EQ(info.name, c.name) << "kind " << c.code;
        EXPECT_EQ(info.length, c.length) << "kind " << c.code;
        EXPECT_EQ(resultKindName(c.code), c.name);
    }
    for (int code : {0, 40, 255}) {
        Result r = result(code);
        r[3] = 20;
        EXPECT_EQ(resultKindInfo(r.data()).name, "");
        EXPECT_EQ(resultKindInfo(r.data()).length, 0);
    }
}

TEST(ResultKinds, CountBytesLengthenTheResult)
{
    // Kind, instruction byte holding the count, count, length.
    struct Case { int kind; int countByte; int count; int length; };
    const Case cases[] = {
        {9, 3, 10, 16},  {21, 3, 200, 206}, {30, 3, 1, 7},  {39, 3, 4, 10},
        {27, 7, 5, 15},  {28, 8, 5, 16},
        // Other bytes do not count.
        {27, 3, 5, 10},  {28, 3, 5, 11},    {19, 3, 9, 6},  {1, 3, 9, 9},
        // A count that would pass a stored line's 255 bytes is held there.
        {33, 3, 249, 255}, {33, 3, 250, 255}, {28, 8, 250, 255},
    };
    for (const Case& c : cases) {
        Result r = result(c.kind);
        r[c.countByte] = static_cast<std::uint8_t>(c.count);
        EXPECT_EQ(resultKindInfo(r.data()).length, c.length) << "kind " << c.kind;
    }
}

TEST(ResultKinds, EditorMenuOffersTwentyThreeKindsInOrder)
{
    const std::vector<int> expected{36, 1, 2, 3, 4, 32, 5, 6, 7, 8, 12, 13,
                                    19, 20, 24, 26, 27, 9, 30, 33, 34, 31, 38};
    EXPECT_EQ(offeredResultKinds(), expected);
}

struct ListCase {
    int kind, param1, param2;
    int length;
    const char* first;
    const char* last;
};

TEST(ResultLists, Param1LengthsAndEnds)
{
    const ListCase cases[] = {
        {1, 0, 0, 22, "断开某一路", "顺序动作"},
        {2, 0, 0, 200, "定时器1", "定时器200"},
        {3, 0, 0, 3, "=0", "翻转"},
        {4, 0, 0, 200, "全局整数1", "全局整数200"},
        {5, 0, 0, 7, "操作联机继电器数据口(默认数据口1)", "设置485通讯地址"},
        {6, 0, 0, 6, "点动操作联机继电器时间设置(单位 ms)", "使能或者失能控制指令"},
        {7, 0, 0, 32, "数据口1", "数据口32"},
        {8, 0, 0, 2, "全部定时器", "全部全局整数"},
        {9, 0, 0, 5, "万能红外发射(固定码)", "设置红外芯片参数（部分红外芯片支持）"},
        {10, 0, 0, 6, "数据口1", "数据口6"},
        {11, 0, 0, 6, "数据口1", "数据口6"},
        {12, 0, 0, 3, "调用函数", "函数返回"},
        {13, 0, 0, 255, "地址0", "地址254"},
        {14, 0, 0, 6, "数据口1", "数据口6"},
        {15, 0, 0, 0, "", ""},
        {16, 0, 0, 0, "", ""},
        {17, 0, 0, 1, "程序延迟固定周期", "程序延迟固定周期"},
        {18, 0, 0, 3, "赋值给数组", "赋值给局部数组"},
        {19, 0, 0, 100, "全局数组1", "全局数组100"},
        {20, 0, 0, 100, "全局数组1", "全局数组100"},
        {21, 0, 0, 100, "全局数组1", "全局数组100"},
        {22, 0, 0, 10, "数据口1", "数据口10"},
        {23, 0, 0, 4, "PM2.5浓度值", "湿度"},
        {24, 0, 0, 32, "脉冲输出1", "脉冲输出32"},
        {25, 0, 0, 3, "设置参数", "变量坐标绘图"},
        {26, 0, 0, 8, "赋值运算", "向外发送"},
        {27, 0, 0, 8, "无参数简单处理", "通过数据口发送"},
        {28, 0, 0, 0, "", ""},
        {29, 0, 0, 0, "", ""},
        {30, 0, 0, 8, "表达式", "浮点数转数组/字符串设置"},
        {31, 0, 0, 6, "设置上电启动参数", "上电配置PWM"},
        {32, 0, 0, 32, "数据口1", "数据口32"},
        {33, 0, 0, 200, "局部数组1", "局部数组200"},
        {34, 0, 0, 200, "全局数组1", "全局数组200"},
        {35, 0, 0, 6, "输出继电器", "无线遥控"},
        {36, 0, 0, 8, "系统运行", "脉冲输出控制"},
        {37, 0, 0, 0, "", ""},
        {38, 0, 0, 10, "数据口1", "数据口10"},
        {39, 0, 0, 1, "常规操作", "常规操作"},
        {40, 0, 0, 0, "", ""},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.kind);
        auto text = [&](int v) { return resultParam1Text(c.kind, v); };
        EXPECT_EQ(listLength(text), c.length);
        EXPECT_EQ(text(1), c.length ? c.first : "");
        EXPECT_EQ(text(c.length), c.length ? c.last : "");
        EXPECT_EQ(text(c.length + 1), "");
        EXPECT_EQ(text(0), "");
    }
    EXPECT_EQ(resultParam1Text(0, 1), "");
}

TEST(ResultLists, Param2LengthsAndEnds)
{
    const ListCase cases[] = {
        {1, 1, 0, 32, "输出1", "输出32"},
        {1, 11, 0, 32, "输出1", "输出32"},
        {1, 21, 0, 32, "输出1", "输出32"},
        {1, 7, 0, 1, "参数3代表第几路 中间使用空格间隔", "参数3代表第几路 中间使用空格间隔"},
        {1, 8, 0, 1, "全部断开", "全部断开"},
        {1, 9, 0, 1, "全部闭合", "全部闭合"},
        {1, 10, 0, 1, "全部翻转", "全部翻转"},
        {1, 12, 0, 1, "参数3输入具体数值", "参数3输入具体数值"},
        {1, 17, 0, 1, "参数3代表全局整数的编号", "参数3代表全局整数的编号"},
        {1, 22, 0, 2, "顺序断开", "顺序闭合"},
        {1, 23, 0, 0, "", ""},
        {2, 200, 0, 4, "等于", "停止定时"},
        {3, 4, 0, 200, "位变量1", "位变量200"},
        {3, 5, 0, 0, "", ""},
        {4, 1, 0, 62, "等于某值(参数3)", "通过数据口发送(10进制字符串)"},
        {5, 1, 0, 32, "数据口1", "数据口32"},
        {5, 4, 0, 100, "掉电保存ROM扇区0", "掉电保存ROM扇区99"},
        {5, 6, 0, 10, "默认0位小数", "默认9位小数"},
        {5, 7, 0, 255, "地址0", "地址254"},
        {5, 8, 0, 255, "位变量支持时间点动数量 = 0", "位变量支持时间点动数量 = 254"},
        {6, 4, 0, 33, "全部输入", "输入32"},
        {6, 6, 0, 6, "使能 操作继电器指令(55开头)", "失能 modbus指令"},
        {7, 3, 0, 5, "UART波特率设置", "发送数据延迟等待"},
        {9, 2, 0, 8, "红外发射通道1", "红外发射通道8"},
        {9, 3, 0, 0, "", ""},
        {9, 4, 0, 200, "全局数组1", "全局数组200"},
        {10, 6, 0, 1, "发送参数3内容", "发送参数3内容"},
        {11, 7, 0, 0, "", ""},
        {12, 1, 0, 100, "函数1", "函数100"},
        {12, 4, 0, 200, "全局整数1", "全局整数200"},
        {12, 5, 0, 200, "局部整数0", "局部整数199"},
        {13, 255, 0, 11, "查询状态", "全部翻转"},
        {15, 1, 0, 12, "显示参数3的值", "闪烁占比(参数3 0-100)"},
        {16, 1, 0, 10, "说出参数3的内容", "说出数组的内容"},
        {16, 3, 0, 9, "播放", "停止"},
        {18, 3, 0, 200, "局部数组1", "局部数组200"},
        {19, 100, 0, 25, "数据包无参数处理", "删除尾部的N个字节"},
        {20, 1, 0, 15, "全局整数 = 某一字节(全局整数代表序号)", "= 局部数组"},
        {26, 1, 0, 18, "等于某值\t", "= 局部小数"},
        {26, 2, 0, 24, "左移", "某一位 = 位变量"},
        {26, 7, 0, 12, "= 全局数组的某一个字节(16进制)", "= 提取临时数据包中的数字(10进制)"},
        {26, 9, 0, 0, "", ""},
        {28, 3, 0, 1, "内部资源 = 函数入口参数", "内部资源 = 函数入口参数"},
        {29, 7, 0, 10, "赋值为立即数", "赋值为临时数据包字符串中的数字"},
        {29, 5, 0, 10, "立即数", "临时数据包字符串中的数字"},
        {29, 6, 0, 9, "转化为局部数组字符串", "通过数据口发送字节双精度8字节"},
        {30, 2, 0, 100, "函数1", "函数100"},
        {31, 1, 0, 27, "清空所有参数", "设置涂鸦连续操作的间隔时间(ms)"},
        {34, 9, 0, 4, "等于16进制数据", "等于格式化字符串"},
        {36, 2, 0, 17, "提取数组内容(起始0 位置 数量)", "固定长度,不足补0，多余删除"},
        {37, 1, 0, 0, "", ""},
        {38, 3, 0, 6, "数据头设置", "数据连续接收(1使能0失能 上电默认1)"},
        {39, 2, 0, 0, "", ""},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.param1));
        auto text = [&](int v) { return resultParam2Text(c.kind, c.param1, v); };
        EXPECT_EQ(listLength(text), c.length);
        EXPECT_EQ(text(1), c.length ? c.first : "");
        EXPECT_EQ(text(c.length), c.length ? c.last : "");
        EXPECT_EQ(text(c.length + 1), "");
    }
}

TEST(ResultLists, Param2NeedsAllThreeCodes)
{
    EXPECT_EQ(resultParam2Text(2, 1, 1), "等于");
    EXPECT_EQ(resultParam2Text(2, 0, 1), "");
    EXPECT_EQ(resultParam2Text(2, 1, 0), "");
    EXPECT_EQ(resultParam2Text(0, 1, 1), "");
}

TEST(ResultLists, BlanksAndTabsArePartOfTheTexts)
{
    struct Case { int kind, param1, param2; const char* text; };
    const Case cases[] = {
        {4, 1, 1, "等于某值(参数3)"},
        {4, 1, 2, "加上某值  (参数3)"},
        {4, 1, 9, "或运算  (参数3)"},
        {4, 1, 10, "异或运算 (参数3)"},
        {4, 1, 15, "= 显示变量的值  参数3代表显示变量序号"},
        {4, 1, 16, "= 本机地址的值 "},
        {4, 1, 26, "= 本机开关量输出的值 "},
        {4, 1, 27, "= 联机开关量(参数3代表联机地址) "},
        {4, 1, 31, "除以全局整数的值  参数3序号"},
        {4, 1, 32, "保存值到ROM扇区0"},
        {4, 1, 48, "= 局部整数"},
        {4, 1, 49, "= 全局数组的某一个字节(16进制)"},
        {4, 1, 61, "通过数据口发送(16进制 高位在前)"},
        {26, 1, 5, "除以某值\t"},
        {26, 1, 6, "等于局部整数的值"},
        {26, 3, 1, "= 本机地址的值 "},
        {26, 3, 3, "= 模拟量输入的值"},
        {26, 4, 8, "= 当前秒的值 "},
        {26, 5, 2, "= 本机开关量输出的值 "},
        {26, 5, 3, "= 联机开关量"},
        {15, 1, 7, "显示本机地址的值 "},
        {15, 1, 8, "显示格式(参数3=0-数字 1-时间)"},
        {36, 4, 2, "←移"},
        {36, 4, 3, "→移"},
        {5, 6, 11, ""},
        {6, 4, 2, "输入1"},
        {6, 4, 34, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resultParam2Text(c.kind, c.param1, c.param2), c.text)
            << c.kind << "/" << c.param1 << "/" << c.param2;
}

TEST(ResultLists, Param3Suggestions)
{
    const ListCase cases[] = {
        {19, 1, 1, 8, "清空", "每个字节的位倒序"},
        {19, 0, 2, 100, "全局数组1", "全局数组100"},
        {19, 1, 3, 100, "全局数组1", "全局数组100"},
        {19, 1, 4, 0, "", ""},
        {19, 1, 6, 200, "第1个字节", "第200个字节"},
        {19, 1, 7, 100, "全局整数1", "全局整数100"},
        {19, 1, 13, 100, "全局整数1", "全局整数100"},
        {19, 1, 14, 32, "数据口1", "数据口32"},
        {19, 1, 15, 3, "10进制(默认)", "2进制"},
        {19, 1, 16, 4, "一个字节2个16进制位(默认)", "一个字节1个2进制位"},
        {19, 1, 17, 33, "根据需要", "固定32字节"},
        {19, 1, 18, 100, "全局整数1", "全局整数100"},
        {19, 1, 21, 100, "全局整数1", "全局整数100"},
        {19, 1, 22, 252, "位置0", "位置251"},
        {19, 1, 25, 200, "N=1", "N=200"},
        {19, 1, 26, 0, "", ""},
        {25, 1, 3, 4, "8×16字体（默认）", "8×16宽体"},
        {25, 2, 3, 0, "", ""},
        {9, 2, 0, 32, "全局数组1", "全局数组32"},
        {9, 2, 8, 32, "全局数组1", "全局数组32"},
        {9, 1, 1, 0, "", ""},
        {4, 1, 1, 0, "", ""},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + "/" + std::to_string(c.param1) + "/" +
                     std::to_string(c.param2));
        Result r = result(c.kind, c.param1, c.param2);
        auto text = [&](int v) { return resultParam3Choice(r.data(), v); };
        EXPECT_EQ(listLength(text), c.length);
        EXPECT_EQ(text(1), c.length ? c.first : "");
        EXPECT_EQ(text(c.length), c.length ? c.last : "");
        EXPECT_EQ(text(c.length + 1), "");
    }
    Result fixed = result(19, 1, 17);
    EXPECT_EQ(resultParam3Choice(fixed.data(), 2), "固定1字节");
}

TEST(ResultLists, EveryListIsContiguous)
{
    for (int kind = 0; kind <= 41; ++kind) {
        for (int p1 = 0; p1 <= 23; ++p1) {
            auto second = [&](int v) { return resultParam2Text(kind, p1, v); };
            int n = listLength(second);
            for (int v = n + 1; v <= 256; ++v)
                ASSERT_EQ(second(v), "") << kind << "/" << p1 << "/" << v;
        }
        auto first = [&](int v) { return resultParam1Text(kind, v); };
        int n = listLength(first);
        for (int v = n + 1; v <= 256; ++v)
            ASSERT_EQ(first(v), "") << kind << "/" << v;
    }
}

TEST(ResultLists, NamedOperationListsMatchTheChoiceLists)
{
    for (int code = 0; code <= 23; ++code)
        EXPECT_EQ(outputOperationName(code), resultParam1Text(1, code)) << code;
    for (int code = 0; code <= 12; ++code)
        EXPECT_EQ(relayBoardOperationName(code), resultParam2Text(13, 1, code)) << code;
    EXPECT_EQ(outputOperationName(14), "断开全局整数指向的某一路");
    EXPECT_EQ(outputOperationName(22), "顺序动作");
    EXPECT_EQ(outputOperationName(23), "");
    EXPECT_EQ(relayBoardOperationName(6), "断开某几路(组断开)");
    EXPECT_EQ(relayBoardOperationName(11), "全部翻转");
    EXPECT_EQ(relayBoardOperationName(12), "");
}

class ResultAliases : public ::testing::Test {
protected:
    void SetUp() override { names().clear(); }
    void TearDown() override { names().clear(); }
};

TEST_F(ResultAliases, AliasReplacesTheNameInEveryList)
{
    ASSERT_EQ(names().rename("定时器3", "延时"), "");
    ASSERT_EQ(names().rename("全局数组5", "缓存"), "");
    ASSERT_EQ(names().rename("函数2", "开门"), "");
    ASSERT_EQ(names().rename("全局整数9", "计数"), "");
    EXPECT_EQ(resultParam1Text(2, 3), "延时");
    EXPECT_EQ(resultParam1Text(2, 4), "定时器4");
    EXPECT_EQ(resultParam1Text(19, 5), "缓存");
    EXPECT_EQ(resultParam1Text(34, 5), "缓存");
    EXPECT_EQ(resultParam2Text(18, 1, 5), "缓存");
    EXPECT_EQ(resultParam2Text(12, 1, 2), "开门");
    EXPECT_EQ(resultParam2Text(30, 2, 2), "开门");
    EXPECT_EQ(resultParam2Text(12, 4, 9), "计数");
    Result r = result(19, 1, 10);
    EXPECT_EQ(resultParam3Choice(r.data(), 9), "计数");
}

TEST_F(ResultAliases, FormattedNamesIgnoreAliases)
{
    ASSERT_EQ(names().rename("全局数组5", "缓存"), "");
    ASSERT_EQ(names().rename("数据口3", "串口"), "");
    ASSERT_EQ(names().rename("局部数组4", "表"), "");
    EXPECT_EQ(resultParam2Text(9, 4, 5), "全局数组5");
    Result suggestions = result(19, 1, 2);
    EXPECT_EQ(resultParam3Choice(suggestions.data(), 5), "全局数组5");
    EXPECT_EQ(resultParam1Text(38, 3), "数据口3");
    EXPECT_EQ(resultParam1Text(32, 3), "串口");
    EXPECT_EQ(resultParam1Text(33, 4), "局部数组4");
}

}  // namespace
}  // namespace orlo
