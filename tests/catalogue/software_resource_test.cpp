// Kind 36 line texts: every (param1, param2) form with the expression counts
// it takes, the counts it does not take (empty text), blanks inside and at
// the ends of the forms, lists joined by ", ", aliases, and kind 36 through
// the result line text.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "catalogue/result_text.h"
#include "catalogue/software_resource_text.h"
#include "expr/expression_forms.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using Instruction = std::array<std::uint8_t, 256>;

Instruction listLine(int param1, int param2, const std::string& list)
{
    Instruction ins{};
    ins[0] = 36;
    ins[1] = static_cast<std::uint8_t>(param1);
    ins[2] = static_cast<std::uint8_t>(param2);
    const std::string code = encodeExpressionList(parseExpressionList(list));
    ins[3] = static_cast<std::uint8_t>(code.size());
    std::memcpy(ins.data() + 4, code.data(), code.size());
    return ins;
}

// "整数1, 整数2, ..., 整数n": expression i renders as 整数(i + 1).
std::string integers(int n)
{
    std::string out;
    for (int i = 1; i <= n; ++i)
        out += format(i > 1 ? ", 整数%d" : "整数%d", i);
    return out;
}

std::string textFor(int param1, int param2, int n)
{
    const Instruction ins = listLine(param1, param2, integers(n));
    return softwareResourceLineText(ins.data());
}

enum Counts { Exactly, OrMore, Any };

struct Form {
    int param1, param2;
    Counts counts;
    int n;  // the count (Exactly), the least count (OrMore), the count tried (Any)
    const char* text;
};

const Form kForms[] = {
    {1, 1, Any, 1, "设定系统运行间隔 整数1 毫秒"},
    {1, 2, Any, 1, "线程阻塞延迟 整数1 毫秒"},
    {1, 3, Any, 2, "系统阻塞延迟 整数1 毫秒"},
    {1, 4, Any, 1, "获取唯一识别码并赋值给 整数1"},
    {1, 5, Any, 2, "设置全局数组边界 整数1, 整数2"},
    {1, 6, Any, 1, "设置局部数组边界 整数1"},
    {1, 7, Exactly, 1, "启动线程 整数1"},
    {1, 7, OrMore, 2, "启动线程 整数1 线程参数 整数2"},
    {1, 8, Exactly, 0, "暂停本线程"},
    {1, 8, Exactly, 1, "暂停线程 整数1"},
    {1, 9, Exactly, 0, "停止本线程"},
    {1, 9, Exactly, 1, "停止线程 整数1"},

    {2, 1, Exactly, 3, "提取 整数1 的内容，位置 整数2 ，字节数 整数3"},
    {2, 1, Exactly, 4, "提取 整数1 的内容，位置 整数2 ，字节数 整数3，结果赋值给 整数4"},
    {2, 2, Exactly, 3, "提取 整数1 的内容 从尾部开始数(0始) 位置 整数2 ，字节数 整数3"},
    {2, 2, Exactly, 4, "提取 整数1 的内容 从尾部开始数(0始) 位置 整数2 ，字节数 整数3，结果赋值给 整数4"},
    {2, 3, Exactly, 2, "提取 整数1 的长度 赋值给 整数2"},
    {2, 4, OrMore, 3, " 整数1 = 提取 整数2 的第 整数3 字节"},
    {2, 5, Exactly, 3, "在 整数1 的第 整数2 字节处 插入 整数3"},
    {2, 5, Exactly, 4, "在 整数1 的第 整数2 字节处 插入 整数3 然后赋值给整数4"},
    {2, 6, Exactly, 3, "从 整数1 的第 整数2 字节开始，删除 整数3 个字节"},
    {2, 6, Exactly, 4, "从 整数1 的第 整数2 字节开始，删除 整数3 个字节 然后赋值给整数4"},
    {2, 7, Any, 4, "整数1 = 把 整数2 删除第 整数3, 整数4 字节"},
    {2, 8, Exactly, 2, "删除 整数1 的尾部 整数2 个字节"},
    {2, 8, Exactly, 3, "删除 整数1 的尾部 整数2 个字节，赋值给 整数3"},
    {2, 9, Exactly, 1, "整数1 尾部添加累加和校验字节"},
    {2, 9, Exactly, 2, "整数1 尾部添加累加和校验字节,然后赋值给 整数2"},
    {2, 10, Exactly, 1, "整数1 尾部添加异或和校验字节"},
    {2, 10, Exactly, 2, "整数1 尾部添加异或和校验字节,然后赋值给 整数2"},
    {2, 11, Exactly, 1, "整数1 尾部添加crc16校验字节"},
    {2, 11, Exactly, 2, "整数1 尾部添加crc16校验字节,然后赋值给 整数2"},
    {2, 12, Exactly, 1, "整数1 尾部添加crc8校验字节"},
    {2, 12, Exactly, 2, "整数1 尾部添加crc8校验字节,然后赋值给 整数2"},
    {2, 13, Exactly, 1, "整数1 字节倒序"},
    {2, 13, Exactly, 2, "整数1 字节倒序 赋值给 整数2 "},
    {2, 14, Exactly, 1, "整数1 每个字节前后四位互换"},
    {2, 14, Exactly, 2, "整数1 每个字节前后四位互换 赋值给 整数2 "},
    {2, 15, Exactly, 1, "整数1 每个字节的位倒序"},
    {2, 15, Exactly, 2, "整数1 每个字节的位倒序 赋值给 整数2 "},
    {2, 16, Exactly, 1, "整数1 字节转化为16进制编辑字符串"},
    {2, 16, Exactly, 2, "整数1 字节转化为16进制编辑字符串 赋值给 整数2 "},
    {2, 17, Exactly, 2, "整数1 固定长度整数2,不足补0 多余删除  "},
    {2, 17, Exactly, 3, "整数1 固定长度整数2,不足补整数3 多余删除"},
    {2, 17, Exactly, 4, "整数1 固定长度整数2,不足补整数3，多余删除 结果赋值给 整数4 "},

    {3, 1, Any, 3, "整数1 = 格式化字符串（ 整数2, 整数3 ）"},
    {3, 2, Exactly, 1, "把字符串 整数1 转化为小写"},
    {3, 2, Exactly, 2, "把字符串 整数1 转化为小写，然后赋值给 整数2"},
    {3, 3, Exactly, 1, "把字符串 整数1 转化为大写"},
    {3, 3, Exactly, 2, "把字符串 整数1 转化为大写，然后赋值给 整数2"},
    {3, 4, Exactly, 3, "提取字符串 整数1 中的第 整数2 个整数，然后赋值给 整数3"},
    {3, 5, Exactly, 3, "提取字符串 整数1 中的第 整数2 个浮点数，然后赋值给 整数3"},

    {4, 1, Any, 2, "整数1 = 整数2 "},
    {4, 2, Exactly, 2, "把 整数1 左移 整数2 位"},
    {4, 2, Exactly, 3, "把 整数1 左移 整数2 位，然后赋值给 整数3 "},
    {4, 3, Exactly, 2, "把 整数1 右移 整数2 位"},
    {4, 3, Exactly, 3, "把 整数1 右移 整数2 位，然后赋值给 整数3 "},
    {4, 4, Any, 3, " 整数1 = 整数2 与 整数3 "},
    {4, 5, Any, 3, " 整数1 = 整数2 或 整数3 "},
    {4, 6, Any, 2, " 整数1 = 整数2 异或  "},
    {4, 7, Exactly, 1, " 整数1 取反 "},
    {4, 7, Exactly, 2, " 整数1 取反 然后赋值给 整数2  "},
    {4, 8, Exactly, 2, "把 整数1 的第 整数2 位取反"},
    {4, 8, Exactly, 3, "把 整数1 的第 整数2 位取反 然后赋值给 整数3"},
    {4, 9, Exactly, 3, "整数1 的第 整数2 位 设置为 整数3"},
    {4, 9, Exactly, 4, "整数1 的第 整数2 位 设置为 整数3 然后结果赋值给 整数4"},
    {4, 10, Any, 3, "整数1 = 整数2 的第 整数3 位"},

    {5, 1, Any, 3, "使能本机数据口 整数1, 整数2, 整数3 检测55协议"},
    {5, 2, Any, 0, "失能本机数据口  检测55协议"},
    {5, 3, Any, 2, "操作联机继电器使用无回码命令"},
    {5, 4, Any, 0, "操作联机继电器使用有回码命令"},
    {5, 5, Any, 1, "数据口整数1 发送本机状态"},
    {5, 6, Any, 2, "数据口整数1 查询联机地址 整数2 的状态"},
    {5, 7, Any, 4, "数据口整数1 操作联机 断开 地址 整数2 第 整数3, 整数4 路"},
    {5, 8, Any, 3, "数据口整数1 操作联机 闭合 地址 整数2 第 整数3 路"},
    {5, 9, Any, 5, "数据口整数1 操作联机 翻转 地址 整数2 第 整数3, 整数4, 整数5 路"},
    {5, 10, Any, 4, "数据口整数1 操作联机 点动 地址 整数2 第 整数3 路  整数4 毫秒"},
    {5, 11, Any, 5, "数据口整数1 操作联机 顺序断开 地址 整数2 的第 整数3 - 整数4 路 间隔 整数5 毫秒"},
    {5, 12, Any, 5, "数据口整数1 操作联机 顺序闭合 地址 整数2 的第 整数3 - 整数4 路 间隔 整数5 毫秒"},

    {6, 1, Exactly, 1, "读扇区 整数1 到缓冲区"},
    {6, 2, Exactly, 0, "清零缓冲区"},
    {6, 2, Exactly, 1, "设定缓冲区 字节值 = 整数1"},
    {6, 3, Exactly, 1, "写缓冲区 到扇区 整数1"},
    {6, 4, Exactly, 2, "写缓冲区数组 整数1 到缓冲区内部地址 整数2"},
    {6, 5, Exactly, 2, "整数1 = 读缓冲区内部地址整数2"},

    {7, 1, Any, 4, "读modbus从机寄存器 数据口:整数1  模块地址:整数2 寄存器地址:整数3 寄存器数量:整数4"},
    {7, 2, Any, 4, "写单个modbus从机寄存器 数据口:整数1  模块地址:整数2 寄存器地址:整数3 寄存器值:整数4"},
    {7, 3, Any, 5,
     "写多个modbus从机寄存器 数据口:整数1  模块地址:整数2 寄存器地址:整数3 寄存器数量:整数4 寄存器值(数组):整数5"},
    {7, 4, Exactly, 4,
     "提取本机接收到的modbus从机寄存器的值 数据口:整数1  模块地址:整数2 寄存器地址:整数3 的值 赋值给整数4 "},
    {7, 4, Exactly, 5,
     "批量提取本机接收到的modbus从机寄存器的值 数据口:整数1  模块地址:整数2 寄存器地址:整数3 的值 赋值给整数4 "
     "依次顺延数量整数5"},

    {8, 1, Any, 2, "脉冲输出 第整数1路  频率：整数2"},
    {8, 2, Any, 2, "脉冲输出 第整数1路  占空比：整数2"},
};

constexpr int kMostTried = 7;

TEST(SoftwareResourceText, EveryFormWithItsCount)
{
    for (const Form& f : kForms)
        EXPECT_EQ(textFor(f.param1, f.param2, f.n), f.text) << f.param1 << "/" << f.param2 << " n " << f.n;
}

TEST(SoftwareResourceText, OtherCountsHaveNoText)
{
    // The counts each (param1, param2) takes; forms for any count are left out.
    std::map<std::pair<int, int>, std::set<int>> taken;
    for (const Form& f : kForms) {
        if (f.counts == Any)
            continue;
        for (int n = f.n; n <= (f.counts == OrMore ? kMostTried : f.n); ++n)
            taken[{f.param1, f.param2}].insert(n);
    }
    for (const auto& [choice, counts] : taken) {
        for (int n = 0; n <= kMostTried; ++n) {
            const std::string text = textFor(choice.first, choice.second, n);
            EXPECT_EQ(text.empty(), counts.count(n) == 0)
                << choice.first << "/" << choice.second << " n " << n << ": " << text;
        }
    }
    // The forms for any count take every count, filling what is missing with "".
    EXPECT_EQ(textFor(1, 1, 0), "设定系统运行间隔  毫秒");
    EXPECT_EQ(textFor(2, 7, 1), "整数1 = 把  删除第  字节");
    EXPECT_EQ(textFor(7, 3, 7), textFor(7, 3, 5));
    // Operations beyond each group's list, and groups beyond the eighth.
    const int beyond[][2] = {{1, 10}, {2, 18}, {3, 6}, {4, 11}, {5, 13}, {6, 6}, {7, 5}, {8, 3},
                             {9, 1}, {0, 1}, {1, 0}};
    for (const auto& b : beyond)
        EXPECT_EQ(textFor(b[0], b[1], 2), "") << b[0] << "/" << b[1];
}

TEST(SoftwareResourceText, ExamplesAndAliases)
{
    Instruction ins = listLine(5, 7, "1, 3, 2, 4");
    EXPECT_EQ(softwareResourceLineText(ins.data()), "数据口1 操作联机 断开 地址 3 第 2, 4 路");
    EXPECT_EQ(resultLineText(ins.data()), "数据口1 操作联机 断开 地址 3 第 2, 4 路");
    EXPECT_EQ(resultParam3Text(ins.data()), "1, 3, 2, 4");

    ins = listLine(2, 9, "全局数组1, 全局数组2");
    EXPECT_EQ(resultLineText(ins.data()), "全局数组1 尾部添加累加和校验字节,然后赋值给 全局数组2");

    names().clear();
    ASSERT_EQ(names().rename("整数1", "温度"), "");
    ins = listLine(1, 8, "整数1");
    EXPECT_EQ(resultLineText(ins.data()), "暂停线程 温度");
    names().clear();

    // Only kind 36 has these forms; a list cut short by its count holds no
    // expression.
    ins = listLine(1, 8, "整数1");
    ins[0] = 35;
    EXPECT_EQ(softwareResourceLineText(ins.data()), "");
    ins = listLine(1, 8, "整数1");
    ins[3] = 2;
    EXPECT_EQ(resultLineText(ins.data()), "暂停本线程");
}

}  // namespace
}  // namespace orlo
