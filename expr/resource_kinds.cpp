// The resource kind table (code to name, codes 1 to 94) and the upper-casing
// used when operand words are compared.
#include <cstddef>
#include <string>

#include "expr/fullwidth.h"
#include "expr/names.h"

namespace orlo {

namespace {

// Index = code - 1. Codes 43 and 77 share their name; lookups by name find 43.
const char* const kKindNames[] = {
    "数据口", "定时器", "整数", "全局整数", "数组", "全局数组", "位变量", "输入", "输出", "红外",
    "PA", "PB", "PC", "PD", "PE", "PF", "PG", "PH", "年", "月",
    "日", "星期", "时", "分", "秒", "CAN", "过滤器", "待用1", "待用2", "待用3",
    "待用4", "待用5", "待用6", "待用7", "待用8", "模拟量输入", "IIC", "SPI", "待用9", "浮点数",
    "全局浮点数", "本机地址", "联机开关量", "UDP", "TCP", "编码器", "模拟量输出", "脉冲计数", "函数",
    "输入断开到闭合",
    "输入闭合到断开", "翻转输出", "闭合输出", "断开输出", "点动输出", "顺序闭合", "顺序断开",
    "获取数组长度", "提取数组连续字节", "格式化字符串",
    "CRC16校验", "和校验", "字符串转为大写", "字符串转为小写", "删除数组", "插入数组", "字节倒序",
    "提取字符串中的整数", "提取字符串中的浮点数", "输出断开到闭合",
    "输出闭合到断开", "芯片唯一ID", "使能MODBUS自由寄存器_已经淘汰", "失能MODBUS自由寄存器_已经淘汰",
    "MODBUS本机寄存器", "写MODBUS本机寄存器", "联机开关量", "联机断开到闭合", "联机闭合到断开",
    "顺序翻转",
    "位变量0到1跳变", "位变量1到0跳变", "涂鸦状态", "涂鸦路数", "线程启动", "线程暂停", "线程停止",
    "闭合计数", "断开计数", "断开到闭合",
    "闭合到断开", "MODBUS从机寄存器（待用）", "批量复制", "批量赋值",
};

constexpr int kKindCount = static_cast<int>(sizeof kKindNames / sizeof kKindNames[0]);
static_assert(kKindCount == 94, "resource kinds are codes 1 to 94");

}  // namespace

std::string kindName(int code)
{
    if (code < 1 || code > kKindCount)
        return std::string();
    return kKindNames[code - 1];
}

int kindCode(const std::string& text)
{
    const std::string upper = upperLatin(text);
    for (int code = 1; code <= kKindCount; ++code) {
        if (upper == kKindNames[code - 1])
            return code;
    }
    return 0;
}

std::string upperLatin(const std::string& text)
{
    std::string out = text;
    std::size_t i = 0;
    while (i < out.size()) {
        const std::size_t n = gbkCharLength(out, i);
        if (n == 1 && out[i] >= 'a' && out[i] <= 'z')
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        i += n;
    }
    return out;
}

}  // namespace orlo
