// The kind 36 line forms (see software_resource_text.h), by group (param1),
// operation (param2) and expression count. e0, e1 ... are the rendered
// expressions; "e1 on" joins the expressions from the second on with ", ".
#include "catalogue/software_resource_text.h"

#include <iterator>

#include "catalogue/result_forms.h"

namespace orlo {
namespace {

using namespace form;

constexpr ByteRange kKind = only(36);
constexpr When kAny = When::Always;

const Row kForms[] = {
    // 1 系统运行
    {kKind, only(1), only(1), kAny, "设定系统运行间隔 %s 毫秒", {E0}},
    {kKind, only(1), only(2), kAny, "线程阻塞延迟 %s 毫秒", {E0}},
    {kKind, only(1), only(3), kAny, "系统阻塞延迟 %s 毫秒", {E0}},
    {kKind, only(1), only(4), kAny, "获取唯一识别码并赋值给 %s", {E0}},
    {kKind, only(1), span(5, 6), kAny, "%s %s", {R, Q}},
    {kKind, only(1), only(7), When::Count1, "启动线程 %s", {E0}},
    {kKind, only(1), only(7), When::Count2OrMore, "启动线程 %s 线程参数 %s", {E0, E1On}},
    {kKind, only(1), only(8), When::Count0, "暂停本线程", {}},
    {kKind, only(1), only(8), When::Count1, "暂停线程 %s", {E0}},
    {kKind, only(1), only(9), When::Count0, "停止本线程", {}},
    {kKind, only(1), only(9), When::Count1, "停止线程 %s", {E0}},

    // 2 数组相关运算
    {kKind, only(2), only(1), When::Count3, "提取 %s 的内容，位置 %s ，字节数 %s", {E0, E1, E2}},
    {kKind, only(2), only(1), When::Count4, "提取 %s 的内容，位置 %s ，字节数 %s，结果赋值给 %s",
     {E0, E1, E2, E3}},
    {kKind, only(2), only(2), When::Count3, "提取 %s 的内容 从尾部开始数(0始) 位置 %s ，字节数 %s",
     {E0, E1, E2}},
    {kKind, only(2), only(2), When::Count4,
     "提取 %s 的内容 从尾部开始数(0始) 位置 %s ，字节数 %s，结果赋值给 %s", {E0, E1, E2, E3}},
    {kKind, only(2), only(3), When::Count2, "提取 %s 的长度 赋值给 %s", {E0, E1}},
    {kKind, only(2), only(4), When::Count3OrMore, " %s = 提取 %s 的第 %s 字节", {E0, E1, E2On}},
    {kKind, only(2), only(5), When::Count3, "在 %s 的第 %s 字节处 插入 %s", {E0, E1, E2}},
    {kKind, only(2), only(5), When::Count4, "在 %s 的第 %s 字节处 插入 %s 然后赋值给%s",
     {E0, E1, E2, E3}},
    {kKind, only(2), only(6), When::Count3, "从 %s 的第 %s 字节开始，删除 %s 个字节", {E0, E1, E2}},
    {kKind, only(2), only(6), When::Count4, "从 %s 的第 %s 字节开始，删除 %s 个字节 然后赋值给%s",
     {E0, E1, E2, E3}},
    {kKind, only(2), only(7), kAny, "%s = 把 %s 删除第 %s 字节", {E0, E1, E2On}},
    {kKind, only(2), only(8), When::Count2, "删除 %s 的尾部 %s 个字节", {E0, E1}},
    {kKind, only(2), only(8), When::Count3, "删除 %s 的尾部 %s 个字节，赋值给 %s", {E0, E1, E2}},
    {kKind, only(2), only(9), When::Count1, "%s 尾部添加累加和校验字节", {E0}},
    {kKind, only(2), only(9), When::Count2, "%s 尾部添加累加和校验字节,然后赋值给 %s", {E0, E1}},
    {kKind, only(2), only(10), When::Count1, "%s 尾部添加异或和校验字节", {E0}},
    {kKind, only(2), only(10), When::Count2, "%s 尾部添加异或和校验字节,然后赋值给 %s", {E0, E1}},
    {kKind, only(2), only(11), When::Count1, "%s 尾部添加crc16校验字节", {E0}},
    {kKind, only(2), only(11), When::Count2, "%s 尾部添加crc16校验字节,然后赋值给 %s", {E0, E1}},
    {kKind, only(2), only(12), When::Count1, "%s 尾部添加crc8校验字节", {E0}},
    {kKind, only(2), only(12), When::Count2, "%s 尾部添加crc8校验字节,然后赋值给 %s", {E0, E1}},
    {kKind, only(2), only(13), When::Count1, "%s 字节倒序", {E0}},
    {kKind, only(2), only(13), When::Count2, "%s 字节倒序 赋值给 %s ", {E0, E1}},
    {kKind, only(2), only(14), When::Count1, "%s 每个字节前后四位互换", {E0}},
    {kKind, only(2), only(14), When::Count2, "%s 每个字节前后四位互换 赋值给 %s ", {E0, E1}},
    {kKind, only(2), only(15), When::Count1, "%s 每个字节的位倒序", {E0}},
    {kKind, only(2), only(15), When::Count2, "%s 每个字节的位倒序 赋值给 %s ", {E0, E1}},
    {kKind, only(2), only(16), When::Count1, "%s 字节转化为16进制编辑字符串", {E0}},
    {kKind, only(2), only(16), When::Count2, "%s 字节转化为16进制编辑字符串 赋值给 %s ", {E0, E1}},
    {kKind, only(2), only(17), When::Count2, "%s 固定长度%s,不足补0 多余删除  ", {E0, E1}},
    {kKind, only(2), only(17), When::Count3, "%s 固定长度%s,不足补%s 多余删除", {E0, E1, E2}},
    {kKind, only(2), only(17), When::Count4, "%s 固定长度%s,不足补%s，多余删除 结果赋值给 %s ",
     {E0, E1, E2, E3}},

    // 3 字符串相关运算
    {kKind, only(3), only(1), kAny, "%s = 格式化字符串（ %s ）", {E0, E1On}},
    {kKind, only(3), only(2), When::Count1, "把字符串 %s 转化为小写", {E0}},
    {kKind, only(3), only(2), When::Count2, "把字符串 %s 转化为小写，然后赋值给 %s", {E0, E1}},
    {kKind, only(3), only(3), When::Count1, "把字符串 %s 转化为大写", {E0}},
    {kKind, only(3), only(3), When::Count2, "把字符串 %s 转化为大写，然后赋值给 %s", {E0, E1}},
    {kKind, only(3), only(4), When::Count3, "提取字符串 %s 中的第 %s 个整数，然后赋值给 %s",
     {E0, E1, E2}},
    {kKind, only(3), only(5), When::Count3, "提取字符串 %s 中的第 %s 个浮点数，然后赋值给 %s",
     {E0, E1, E2}},

    // 4 整数相关运算
    {kKind, only(4), only(1), kAny, "%s = %s ", {E0, E1}},
    {kKind, only(4), only(2), When::Count2, "把 %s 左移 %s 位", {E0, E1}},
    {kKind, only(4), only(2), When::Count3, "把 %s 左移 %s 位，然后赋值给 %s ", {E0, E1, E2}},
    {kKind, only(4), only(3), When::Count2, "把 %s 右移 %s 位", {E0, E1}},
    {kKind, only(4), only(3), When::Count3, "把 %s 右移 %s 位，然后赋值给 %s ", {E0, E1, E2}},
    {kKind, only(4), only(4), kAny, " %s = %s 与 %s ", {E0, E1, E2}},
    {kKind, only(4), only(5), kAny, " %s = %s 或 %s ", {E0, E1, E2}},
    {kKind, only(4), only(6), kAny, " %s = %s 异或 %s ", {E0, E1, E2}},
    {kKind, only(4), only(7), When::Count1, " %s 取反 ", {E0}},
    {kKind, only(4), only(7), When::Count2, " %s 取反 然后赋值给 %s  ", {E0, E1}},
    {kKind, only(4), only(8), When::Count2, "把 %s 的第 %s 位取反", {E0, E1}},
    {kKind, only(4), only(8), When::Count3, "把 %s 的第 %s 位取反 然后赋值给 %s", {E0, E1, E2}},
    {kKind, only(4), only(9), When::Count3, "%s 的第 %s 位 设置为 %s", {E0, E1, E2}},
    {kKind, only(4), only(9), When::Count4, "%s 的第 %s 位 设置为 %s 然后结果赋值给 %s",
     {E0, E1, E2, E3}},
    {kKind, only(4), only(10), kAny, "%s = %s 的第 %s 位", {E0, E1, E2}},

    // 5 通讯协议命令(Quorn55协议)
    {kKind, only(5), only(1), kAny, "使能本机数据口 %s 检测55协议", {EAll}},
    {kKind, only(5), only(2), kAny, "失能本机数据口 %s 检测55协议", {EAll}},
    {kKind, only(5), only(3), kAny, "操作联机继电器使用无回码命令", {}},
    {kKind, only(5), only(4), kAny, "操作联机继电器使用有回码命令", {}},
    {kKind, only(5), only(5), kAny, "数据口%s 发送本机状态", {E0}},
    {kKind, only(5), only(6), kAny, "数据口%s 查询联机地址 %s 的状态", {E0, E1}},
    {kKind, only(5), only(7), kAny, "数据口%s 操作联机 断开 地址 %s 第 %s 路", {E0, E1, E2On}},
    {kKind, only(5), only(8), kAny, "数据口%s 操作联机 闭合 地址 %s 第 %s 路", {E0, E1, E2On}},
    {kKind, only(5), only(9), kAny, "数据口%s 操作联机 翻转 地址 %s 第 %s 路", {E0, E1, E2On}},
    {kKind, only(5), only(10), kAny, "数据口%s 操作联机 点动 地址 %s 第 %s 路  %s 毫秒",
     {E0, E1, E2, E3}},
    {kKind, only(5), only(11), kAny, "数据口%s 操作联机 顺序断开 地址 %s 的第 %s - %s 路 间隔 %s 毫秒",
     {E0, E1, E2, E3, E4}},
    {kKind, only(5), only(12), kAny, "数据口%s 操作联机 顺序闭合 地址 %s 的第 %s - %s 路 间隔 %s 毫秒",
     {E0, E1, E2, E3, E4}},

    // 6 芯片内部存储器
    {kKind, only(6), only(1), When::Count1, "读扇区 %s 到缓冲区", {E0}},
    {kKind, only(6), only(2), When::Count0, "清零缓冲区", {}},
    {kKind, only(6), only(2), When::Count1, "设定缓冲区 字节值 = %s", {E0}},
    {kKind, only(6), only(3), When::Count1, "写缓冲区 到扇区 %s", {E0}},
    {kKind, only(6), only(4), When::Count2, "写缓冲区数组 %s 到缓冲区内部地址 %s", {E0, E1}},
    {kKind, only(6), only(5), When::Count2, "%s = 读缓冲区内部地址%s", {E0, E1}},

    // 7 modbus通讯协议
    {kKind, only(7), only(1), kAny,
     "读modbus从机寄存器 数据口:%s  模块地址:%s 寄存器地址:%s 寄存器数量:%s", {E0, E1, E2, E3}},
    {kKind, only(7), only(2), kAny,
     "写单个modbus从机寄存器 数据口:%s  模块地址:%s 寄存器地址:%s 寄存器值:%s", {E0, E1, E2, E3}},
    {kKind, only(7), only(3), kAny,
     "写多个modbus从机寄存器 数据口:%s  模块地址:%s 寄存器地址:%s 寄存器数量:%s 寄存器值(数组):%s",
     {E0, E1, E2, E3, E4}},
    {kKind, only(7), only(4), When::Count4,
     "提取本机接收到的modbus从机寄存器的值 数据口:%s  模块地址:%s 寄存器地址:%s 的值 赋值给%s ",
     {E0, E1, E2, E3}},
    {kKind, only(7), only(4), When::Count5,
     "批量提取本机接收到的modbus从机寄存器的值 数据口:%s  模块地址:%s 寄存器地址:%s 的值 赋值给%s "
     "依次顺延数量%s",
     {E0, E1, E2, E3, E4}},

    // 8 脉冲输出控制
    {kKind, only(8), only(1), kAny, "脉冲输出 第%s路  频率：%s", {E0, E1}},
    {kKind, only(8), only(2), kAny, "脉冲输出 第%s路  占空比：%s", {E0, E1}},
};

}  // namespace

std::string softwareResourceLineText(const std::uint8_t* instruction)
{
    Line line(instruction);
    return rowText(kForms, std::size(kForms), line);
}

}  // namespace orlo
