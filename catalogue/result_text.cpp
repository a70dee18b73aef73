// The result texts (see result_text.h) as tables of forms: the param3 texts,
// the line texts, the local integer and local array forms that serve both,
// and the two halves of the decimal variable texts.
#include "catalogue/result_text.h"

#include <algorithm>
#include <iterator>

#include "catalogue/result_forms.h"
#include "catalogue/software_resource_text.h"
#include "expr/fullwidth.h"

namespace orlo {
namespace {

using namespace form;

constexpr ByteRange kAny = kAnyValue;
constexpr When kAlways = When::Always;

// ---- Param3 texts ------------------------------------------------------------

// Kinds 26, 27 and 29 have their own tables below.
const Row kParam3Texts[] = {
    // Output operations and bit variables.
    {only(1), only(4), kAny, kAlways, "%u", {V}},
    {only(1), span(11, 17), kAny, kAlways, "%u", {V}},
    {only(3), only(4), kAny, kAlways, "%u", {V}},
    {only(3), span(11, 17), kAny, kAlways, "%u", {V}},
    {only(1), span(5, 7), kAny, kAlways, "%s", {MaskV}},
    {only(3), span(5, 7), kAny, kAlways, "%s", {MaskV}},
    {only(1), only(18), kAny, kAlways, "=联机开量 地址%u第%u路", {P2, P3}},
    {only(3), only(18), kAny, kAlways, "=联机开量 地址%u第%u路", {P2, P3}},
    {only(1), only(19), kAny, kAlways, "=输出%u", {P3}},
    {only(3), only(19), kAny, kAlways, "=输出%u", {P3}},
    {only(1), only(20), kAny, kAlways, "=输入%u", {P3}},
    {only(3), only(20), kAny, kAlways, "=输入%u", {P3}},
    {only(1), only(21), kAny, kAlways, "=位变量%u", {P3}},
    {only(3), only(21), kAny, kAlways, "=位变量%u", {P3}},
    // Code 23 is not offered for outputs but is stored and encoded like 22.
    {only(1), span(22, 23), kAny, kAlways, "第%u路 到 第%u路 间隔%u毫秒", {P0, P1, P23}},
    {only(3), only(22), kAny, kAlways, "=全局整数%u BIT%u", {P2, P3}},
    {only(3), only(23), kAny, kAlways, "=整数%u BIT%u", {P2, P3}},

    // Global integers, by operation (param2).
    {only(4), kAny, span(0, 41), kAlways, "%d", {V}},
    {only(4), kAny, only(42), kAlways, "BIT%u = 全局整数%u BIT%u", {P1, P2, P3}},
    {only(4), kAny, only(43), kAlways, "BIT%u = 整数%u BIT%u", {P1, P2, P3}},
    {only(4), kAny, only(44), kAlways, "BIT%u = 联机开关量地址%u第%u路", {P1, P2, P3}},
    {only(4), kAny, only(45), kAlways, "BIT%u = 输入%u", {P2, P3}},
    {only(4), kAny, only(46), kAlways, "BIT%u = 输出%u", {P2, P3}},
    {only(4), kAny, only(47), kAlways, "BIT%u = 位变量%u", {P2, P3}},
    {only(4), kAny, only(48), kAlways, "= 整数%u", {P3}},
    {only(4), kAny, only(49), kAlways, "= 全局数组%u 第%u个字节", {P2, P3}},
    {only(4), kAny, span(50, 51), kAlways, "= 全局数组%u 起始%u 数量%u", {P1, P2, P3}},
    {only(4), kAny, span(65, 255), kAlways, "= 全局数组%u 起始%u 数量%u", {P1, P2, P3}},
    {only(4), kAny, only(52), kAlways, "= 全局数组%u 第%u组数字", {P2, P3}},
    {only(4), kAny, only(53), kAlways, "= 局部数组%u 第%u个字节", {P2, P3}},
    {only(4), kAny, span(54, 55), kAlways, "= 局部数组%u 起始%u 数量%u", {P1, P2, P3}},
    {only(4), kAny, only(56), kAlways, "= 局部数组%u 第%u组数字", {P2, P3}},
    {only(4), kAny, only(57), kAlways, "= 临时数据包 第%u个字节", {P3}},
    {only(4), kAny, span(58, 59), kAlways, "= 临时数据包 起始%u 数量%u", {P2, P3}},
    {only(4), kAny, only(60), kAlways, "= 临时数据包 第%u组数字", {P3}},
    {only(4), kAny, only(61), kAlways, "通过数据口%u 16进制发送", {P3}},
    {only(4), kAny, only(62), kAlways, "通过数据口%u 字符串发送", {P3}},
    {only(4), kAny, only(63), kAlways, "= 全局小数%d", {P3}},
    {only(4), kAny, only(64), kAlways, "= 局部小数%d", {P3}},

    // One 32-bit number.
    {only(0), kAny, kAny, kAlways, "%d", {V}},
    {span(5, 6), kAny, kAny, kAlways, "%d", {V}},
    {only(12), kAny, kAny, kAlways, "%d", {V}},
    {only(18), kAny, kAny, kAlways, "%d", {V}},
    // Every choice of kind 8 stores the number, "清零" (1) included.
    {only(8), kAny, only(3), kAlways, "%u", {V}},
    {only(8), kAny, kAny, kAlways, "%d", {V}},
    {only(2), kAny, kAny, kAlways, "%u", {V}},
    {only(7), kAny, kAny, kAlways, "%u", {V}},
    {only(15), kAny, kAny, kAlways, "%u", {V}},
    {only(17), kAny, kAny, kAlways, "%u", {V}},
    {span(22, 24), kAny, kAny, kAlways, "%u", {V}},
    {only(13), kAny, span(2, 5), kAlways, "%u", {V}},
    {only(13), kAny, span(6, 8), kAlways, "%s", {MaskV}},
    {only(14), kAny, only(1), kAlways, "%u", {V}},

    // Byte lists, strings and picked suggestions.
    {only(9), only(1), kAny, kAlways, "%s", {HexP1}},
    {only(9), only(2), kAny, kAlways, "%s", {ChoiceP1}},
    {only(10), kAny, kAny, kAlways, "%s", {StrP1}},
    {only(11), kAny, kAny, kAlways, "%s", {HexP1}},
    {only(16), only(1), only(1), kAlways, "%s", {StrP1}},
    {only(16), span(1, 2), kAny, kAlways, "%u", {P1}},
    {only(19), kAny, kAny, kAlways, "%s", {ChoiceP0}},
    {only(21), kAny, only(1), kAlways, "%s", {HexP1}},
    {only(21), kAny, only(3), kAlways, "%s", {HexP1}},
    {only(21), kAny, only(5), kAlways, "%s", {HexP1}},
    {only(21), kAny, only(2), kAlways, "%s", {StrP1}},
    {only(21), kAny, only(4), kAlways, "%s", {StrP1}},
    {only(21), kAny, span(6, 7), kAlways, "%s", {StrP1}},

    // Global arrays, by operation (param2).
    {only(20), kAny, only(1), kAlways, "将全局整数%u位置的字节赋值给全局整数%u", {P0, P1}},
    {only(20), kAny, only(2), kAlways, "将全局整数%u赋值给全局整数%u位置的字节", {P0, P1}},
    {only(20), kAny, only(3), kAlways, "将全局整数%u插入到全局整数%u位置的字节之前", {P0, P1}},
    {only(20), kAny, only(4), kAlways, "将全局整数%u插入到全局整数%u位置的字节之后", {P0, P1}},
    {only(20), kAny, only(5), kAlways, "全局数组%u = 从第%u个字节开始的%u个字节", {P0, P1, P2}},
    {only(20), kAny, only(6), kAlways, "全局数组[全局整数%u] = 全局整数%u开始的全局整数%u个字节",
     {P0, P1, P2}},
    {only(20), kAny, only(7), kAlways, "在第%u个字节之前插入字节%u", {P0, P1}},
    {only(20), kAny, only(8), kAlways, "在第%u个字节之后插入字节%u", {P0, P1}},
    {only(20), kAny, only(9), kAlways, "全局整数%u = 第%u个开始的%u个字节", {P0, P1, P2}},
    {only(20), kAny, only(10), kAlways, "全局整数%u = 第%u个开始的%u个字符", {P0, P1, P2}},
    {only(20), kAny, only(11), kAlways, "保存到ROM 扇区%u 位置%u", {P0, P1}},
    {only(20), kAny, only(12), kAlways, "从ROM读取 扇区%u 位置%u", {P0, P1}},
    {only(20), kAny, only(13), kAlways, "全局整数%u =  第%u组数字", {P0, P1}},
    {only(20), kAny, only(14), kAlways, "全局数组%u = 本数组倒数第%u个字节开始的%u个字节(1开始)",
     {P0, P1, P2}},
    {only(20), kAny, only(15), kAlways, "= 局部数组%u", {P0}},

    // Display.
    {only(25), only(1), span(1, 2), kAlways, "%u", {V}},
    {only(25), only(1), only(3), kAlways, "%s", {ChoiceP0}},
    {only(25), only(2), only(1), kAlways, "清屏", {}},
    {only(25), only(2), only(2), kAlways, "坐标:X=%uY=%u;文本=数组%u", {P0, P1, P2}},
    {only(25), only(2), only(3), kAlways, "坐标: X=%u Y=%u", {P0, P1}},
    {only(25), only(2), only(4), kAlways, "起点坐标: X=%u Y=%u 终点坐标: X=%u Y=%u", {P0, P1, P2, P3}},
    {only(25), only(2), only(5), kAlways, "圆心坐标: X=%u Y=%u  半径=%u", {P0, P1, P2}},
    {only(25), only(2), span(6, 8), kAlways, "对角坐标1: X=%u Y=%u 对角坐标2: X=%u Y=%u",
     {P0, P1, P2, P3}},
    {only(25), only(3), only(1), kAlways, "坐标: X=全局整数%u Y=全局整数%u; 文本=数组%u", {P0, P1, P2}},
    {only(25), only(3), only(2), kAlways, "坐标: X=全局整数%u Y=全局整数%u; 文本=数组[全局整数%u]",
     {P0, P1, P2}},
    {only(25), only(3), only(3), kAlways, "坐标: X=全局整数%u Y=全局整数%u", {P0, P1}},
    {only(25), only(3), only(5), kAlways, "圆心坐标: X=全局整数%u Y=全局整数%u  半径=全局整数%u",
     {P0, P1, P2}},
    {only(25), only(3), only(4), kAlways,
     "起点坐标: X=全局整数%u Y=全局整数%u 终点坐标: X=全局整数%u Y=全局整数%u", {P0, P1, P2, P3}},
    {only(25), only(3), span(6, 8), kAlways,
     "起点坐标: X=全局整数%u Y=全局整数%u 终点坐标: X=全局整数%u Y=全局整数%u", {P0, P1, P2, P3}},

    // Formulas and user functions.
    {only(30), only(1), kAny, kAlways, "%s", {StatementsBySemicolon}},
    {only(30), only(2), span(1, 100), kAlways, "%s", {CallTestBlankName}},
    {only(30), only(2), kAny, kAlways, "", {}},
    {only(30), only(3), only(1), kAlways, "%s", {ExprP1}},
    {only(30), only(3), only(4), kAlways, "%s", {CallAssignNoName}},
    {only(30), only(3), kAny, kAlways, "", {}},
    {only(30), span(4, 8), kAny, kAlways, "%s", {ExprP1}},
    {only(30), kAny, kAny, kAlways, "%s", {ListP1}},

    // Data ports and arrays of the 118 firmware, and the later kinds.
    {only(32), kAny, only(1), kAlways, "%s", {HexP1}},
    {only(32), kAny, only(2), kAlways, "%s", {StrP1}},
    {only(32), kAny, only(3), kAlways, "%s", {ExprP1}},
    {only(32), kAny, only(5), kAlways, "%s", {ExprP1}},
    {only(32), kAny, only(4), kAlways, "%s", {ListP1}},
    {span(33, 34), kAny, only(1), kAlways, "%s", {HexP1}},
    {span(33, 34), kAny, only(2), kAlways, "%s", {StrP1}},
    {span(33, 34), kAny, only(3), kAlways, "%s", {ExprP1}},
    {span(33, 34), kAny, only(4), kAlways, "%s", {ListP1}},
    {only(31), kAny, kAny, kAlways, "%s", {ListP1}},
    {span(35, 255), kAny, kAny, kAlways, "%s", {ListP1}},
};

// ---- Local integers (kind 26) ---------------------------------------------------

// The line text of each form; the param3 text is the same format with every
// "局部整数" written "整数". a = P[0], b = P[1], w = P[2..5], e = P[4], f = P[5].
const Row kLocalIntegerForms[] = {
    {only(26), only(1), only(1), kAlways, "局部整数%u = %d", {P0, W}},
    {only(26), only(1), only(2), kAlways, "局部整数%u = 局部整数%u + %d", {P0, P1, W}},
    {only(26), only(1), only(3), kAlways, "局部整数%u = 局部整数%u - %d", {P0, P1, W}},
    {only(26), only(1), only(4), kAlways, "局部整数%u = 局部整数%u * %d", {P0, P1, W}},
    {only(26), only(1), only(5), kAlways, "局部整数%u = 局部整数%u / %d", {P0, P1, W}},
    {only(26), only(1), only(6), kAlways, "局部整数%u = 局部整数%u", {P0, P1}},
    {only(26), only(1), only(7), kAlways, "局部整数%u = 局部整数%u + 局部整数%u", {P0, P1, W}},
    {only(26), only(1), only(8), kAlways, "局部整数%u = 局部整数%u - 局部整数%u", {P0, P1, W}},
    {only(26), only(1), only(9), kAlways, "局部整数%u = 局部整数%u * 局部整数%u", {P0, P1, W}},
    {only(26), only(1), only(10), kAlways, "局部整数%u = 局部整数%u / 局部整数%u", {P0, P1, W}},
    {only(26), only(1), only(11), kAlways, "局部整数%u = 全局整数%u", {P0, P1}},
    {only(26), only(1), only(12), kAlways, "局部整数%u = 局部整数%u + 全局整数%u", {P0, P1, W}},
    {only(26), only(1), only(13), kAlways, "局部整数%u = 局部整数%u - 全局整数%u", {P0, P1, W}},
    {only(26), only(1), only(14), kAlways, "局部整数%u = 局部整数%u * 全局整数%u", {P0, P1, W}},
    {only(26), only(1), only(15), kAlways, "局部整数%u = 局部整数%u / 全局整数%u", {P0, P1, W}},
    {only(26), only(1), only(16), kAlways, "局部整数%u = 位变量%u", {P0, P1}},
    {only(26), only(1), only(17), kAlways, "局部整数%u = 全局小数%u", {P0, P1}},
    {only(26), only(1), only(18), kAlways, "局部整数%u = 局部小数%u", {P0, P1}},
    {only(26), only(2), only(1), kAlways, "局部整数%u = 局部整数%u 左移 %u位", {P0, P1, W}},
    {only(26), only(2), only(2), kAlways, "局部整数%u = 局部整数%u 右移 %u位", {P0, P1, W}},
    {only(26), only(2), only(3), kAlways, "局部整数%u = 局部整数%u 与运算 %u", {P0, P1, W}},
    {only(26), only(2), only(4), kAlways, "局部整数%u = 局部整数%u 或运算 %u", {P0, P1, W}},
    {only(26), only(2), only(5), kAlways, "局部整数%u = 局部整数%u 异或运算 %u", {P0, P1, W}},
    {only(26), only(2), only(6), kAlways, "局部整数%u = 局部整数%u 与运算 局部整数%u", {P0, P1, W}},
    {only(26), only(2), only(7), kAlways, "局部整数%u = 局部整数%u 或运算 局部整数%u", {P0, P1, W}},
    {only(26), only(2), only(8), kAlways, "局部整数%u = 局部整数%u 异或运算 局部整数%u", {P0, P1, W}},
    {only(26), only(2), only(9), kAlways, "局部整数%u = 局部整数%u 与运算 全局整数%u", {P0, P1, W}},
    {only(26), only(2), only(10), kAlways, "局部整数%u = 局部整数%u 或运算 全局整数%u", {P0, P1, W}},
    {only(26), only(2), only(11), kAlways, "局部整数%u = 局部整数%u 异或运算 全局整数%u", {P0, P1, W}},
    {only(26), only(2), only(12), kAlways, "局部整数%u = 局部整数%u 取反", {P0, P1}},
    {only(26), only(2), only(13), kAlways, "局部整数%u BIT%u = %u", {P0, P1, W}},
    {only(26), only(2), only(14), kAlways, "局部整数%u BIT%u 翻转", {P0, P1}},
    {only(26), only(2), only(15), kAlways, "局部整数%u BIT(局部整数%u) = %u", {P0, P1, W}},
    {only(26), only(2), only(16), kAlways, "局部整数%u BIT(局部整数%u) 翻转", {P0, P1}},
    {only(26), only(2), only(17), kAlways, "局部整数%u BIT(全局整数%u) = %u", {P0, P1, W}},
    {only(26), only(2), only(18), kAlways, "局部整数%u BIT(全局整数%u) 翻转", {P0, P1}},
    {only(26), only(2), only(19), kAlways, "局部整数%u BIT%u = 全局整数%u BIT%u", {P0, P1, P4, P5}},
    {only(26), only(2), only(20), kAlways, "局部整数%u BIT%u = 局部整数%u BIT%u", {P0, P1, P4, P5}},
    {only(26), only(2), only(21), kAlways, "局部整数%u BIT%u = 联机开关量地址%u 第%u路",
     {P0, P1, P4, P5}},
    {only(26), only(2), only(22), kAlways, "局部整数%u BIT%u = 输入%u", {P0, P1, P5}},
    {only(26), only(2), only(23), kAlways, "局部整数%u BIT%u = 输出%u", {P0, P1, P5}},
    {only(26), only(2), only(24), kAlways, "局部整数%u BIT%u = 位变量%u", {P0, P1, P5}},
    {only(26), only(3), only(1), kAlways, "局部整数%u = 本机地址", {P0}},
    {only(26), only(3), only(2), kAlways, "局部整数%u = 定时器%u", {P0, P1}},
    {only(26), only(3), only(3), kAlways, "局部整数%u = 模拟量输入%u", {P0, P1}},
    {only(26), only(3), only(4), kAlways, "局部整数%u 保存到RAM 位置%u", {P0, P1}},
    {only(26), only(3), only(5), kAlways, "局部整数%u 从RAM读取 位置%u", {P0, P1}},
    {only(26), only(4), only(1), kAlways, "局部整数%u = 当前时间值", {P0}},
    {only(26), only(4), only(2), kAlways, "局部整数%u = 当前年的值", {P0}},
    {only(26), only(4), only(3), kAlways, "局部整数%u = 当前月的值", {P0}},
    {only(26), only(4), only(4), kAlways, "局部整数%u = 当前日的值", {P0}},
    {only(26), only(4), only(5), kAlways, "局部整数%u = 当前星期的值", {P0}},
    {only(26), only(4), only(6), kAlways, "局部整数%u = 当前时的值", {P0}},
    {only(26), only(4), only(7), kAlways, "局部整数%u = 当前分的值", {P0}},
    {only(26), only(4), only(8), kAlways, "局部整数%u = 当前秒的值", {P0}},
    {only(26), only(5), only(1), kAlways, "局部整数%u = 本机开关量输入", {P0}},
    {only(26), only(5), only(2), kAlways, "局部整数%u = 本机开关量输出", {P0}},
    {only(26), only(5), only(3), kAlways, "局部整数%u = 联机开关量 地址%u", {P0, P1}},
    {only(26), only(6), only(1), kAlways, "局部整数%u 保存到ROM 扇区%u 位置%u", {P0, P1, P5}},
    {only(26), only(6), only(2), kAlways, "局部整数%u 从ROM读取 扇区%u 位置%u", {P0, P1, P5}},
    {only(26), only(7), only(1), kAlways, "局部整数%u = 全局数组%u的第%u个字节", {P0, P1, P5}},
    {only(26), only(7), span(2, 3), kAlways, "局部整数%u = 全局数组%u 起始%u 数量%u", {P0, P1, P4, P5}},
    {only(26), only(7), only(4), kAlways, "局部整数%u = 全局数组%u的第%u个数字", {P0, P1, P5}},
    {only(26), only(7), only(5), kAlways, "局部整数%u = 局部数组%u的第%u个字节", {P0, P1, P5}},
    {only(26), only(7), span(6, 7), kAlways, "局部整数%u = 局部数组%u 起始%u 数量%u", {P0, P1, P4, P5}},
    {only(26), only(7), only(8), kAlways, "局部整数%u = 局部数组%u的第%u个数字", {P0, P1, P5}},
    {only(26), only(7), only(9), kAlways, "局部整数%u = 临时数据包的第%u个字节", {P0, P1}},
    {only(26), only(7), span(10, 11), kAlways, "局部整数%u = 临时数据包 起始%u 数量%u", {P0, P1, P5}},
    {only(26), only(7), only(12), kAlways, "局部整数%u = 临时数据包的第%u个数字", {P0, P1}},
    {only(26), only(8), only(1), kAlways, "局部整数%u 通过数据口%u发送(16进制 高位在前)", {P0, P1}},
    {only(26), only(8), only(2), kAlways, "局部整数%u 通过数据口%u发送(10进制字符串)", {P0, P1}},
};

constexpr char kLocalIntegerWord[] = "局部整数";
constexpr char kIntegerWord[] = "整数";

// The format with every whole-character "局部整数" written "整数".
std::string param3Format(const char* lineFormat)
{
    const std::string in = lineFormat;
    const std::string word = kLocalIntegerWord;
    std::string out;
    for (std::size_t i = 0; i < in.size();) {
        if (in.compare(i, word.size(), word) == 0) {
            out += kIntegerWord;
            i += word.size();
            continue;
        }
        const std::size_t n = gbkCharLength(in, i);
        out.append(in, i, n);
        i += n;
    }
    return out;
}

// ---- Local arrays (kind 27) -------------------------------------------------------

// a = P[0], b = P[1], c = P[2]; the data of param1 2 is counted in P[4] and
// starts at P[5].
const Row kLocalArrayParam3Texts[] = {
    {only(27), only(1), only(1), kAlways, "局部数组%u 清空", {P0}},
    {only(27), only(1), only(2), kAlways, "局部数组%u 字节倒序", {P0}},
    {only(27), only(1), only(3), kAlways, "局部数组%u 每个字节的前后四位互换", {P0}},
    {only(27), only(1), only(4), kAlways, "局部数组%u 字符串全部转化为小写", {P0}},
    {only(27), only(1), only(5), kAlways, "局部数组%u 字符串全部转化为大写", {P0}},
    {only(27), only(1), only(6), kAlways, "局部数组%u 尾部添加和校验字节", {P0}},
    {only(27), only(1), only(7), kAlways, "局部数组%u 尾部添加CRC16校验字节", {P0}},
    {only(27), only(1), only(8), kAlways, "局部数组%u 每个字节的位倒序", {P0}},
    {only(27), only(2), only(1), kAlways, "局部数组%u 内容:%s", {P0, HexP5}},
    {only(27), only(2), only(3), kAlways, "局部数组%u 内容:%s", {P0, HexP5}},
    {only(27), only(2), only(5), kAlways, "局部数组%u 内容:%s", {P0, HexP5}},
    {only(27), only(2), only(2), kAlways, "局部数组%u 内容:%s", {P0, StrP5}},
    {only(27), only(2), only(4), kAlways, "局部数组%u 内容:%s", {P0, StrP5}},
    {only(27), only(2), only(6), kAlways, "局部数组%u 内容:%s", {P0, StrP5}},
    {only(27), only(2), only(7), kAlways, "局部数组%u 位置%u 内容:%s", {P0, P1, HexP5}},
    {only(27), only(2), only(8), kAlways, "局部数组%u 位置%u 内容:%s", {P0, P1, StrP5}},
    {only(27), only(3), only(1), kAlways, "局部数组%u 删除首字节", {P0}},
    {only(27), only(3), only(2), kAlways, "局部数组%u 删除尾字节", {P0}},
    {only(27), only(3), only(3), kAlways, "局部数组%u 删除头部%u个字节", {P0, P1}},
    {only(27), only(3), only(4), kAlways, "局部数组%u 删除尾部%u个字节", {P0, P1}},
    {only(27), only(3), only(5), kAlways, "局部数组%u 删除多字节 起始%u 数量%u", {P0, P1, P2}},
    {only(27), only(3), only(6), kAlways, "局部数组%u 整数%u 整数%u", {P0, P1, P2}},
    {only(27), only(4), only(1), kAlways, "局部数组%u = 局部数组%u", {P0, P1}},
    {only(27), only(4), only(2), kAlways, "局部数组%u = 局部数组%u + 局部数组%u", {P0, P1, P2}},
    {only(27), only(4), only(3), kAlways, "局部数组%u = 全局数组%u", {P0, P1}},
    {only(27), only(4), only(4), kAlways, "局部数组%u = 局部数组%u + 全局数组%u", {P0, P1, P2}},
    {only(27), only(4), only(5), kAlways, "局部数组%u = 全局数组%u + 局部数组%u", {P0, P1, P2}},
    {only(27), only(4), only(6), kAlways, "局部数组%u = 临时数据包", {P0}},
    {only(27), only(4), only(7), kAlways, "局部数组%u = 局部数组%u + 临时数据包", {P0, P2}},
    {only(27), only(4), only(8), kAlways, "局部数组%u = 临时数据包 + 局部数组%u", {P0, P2}},
    {only(27), only(5), only(1), kAlways, "局部数组%u = 整数%u(字符串)", {P0, P1}},
    {only(27), only(5), only(2), kAlways, "局部数组%u = 整数%u(字节)", {P0, P1}},
    {only(27), only(5), only(3), kAlways, "局部数组%u 起始%u 数量%u = 整数%u(字符串)", {P0, P1, P2, P3}},
    {only(27), only(5), only(4), kAlways, "局部数组%u 起始%u 数量%u = 整数%u(字节)", {P0, P1, P2, P3}},
    {only(27), only(6), only(1), kAlways, "局部数组%u = 全局整数%u(字符串)", {P0, P1}},
    {only(27), only(6), only(2), kAlways, "局部数组%u = 全局整数%u(字节)", {P0, P1}},
    {only(27), only(6), only(3), kAlways, "局部数组%u 起始%u 数量%u = 全局整数%u(字符串)",
     {P0, P1, P2, P3}},
    {only(27), only(6), only(4), kAlways, "局部数组%u 起始%u 数量%u = 全局整数%u(字节)",
     {P0, P1, P2, P3}},
    {only(27), only(7), only(1), kAlways, "局部数组%u 存储到内部扇区%u 位置%u", {P0, P1, P2}},
    {only(27), only(7), only(2), kAlways, "局部数组%u 从内部扇区%u 位置%u读取", {P0, P1, P2}},
    {only(27), only(7), only(3), kAlways, "局部数组%u 存储到外部非易失RAM 位置%u", {P0, P1}},
    {only(27), only(7), only(4), kAlways, "局部数组%u 从外部非易失RAM 位置%u读取", {P0, P1}},
    {only(27), only(8), only(1), kAlways, "局部数组%u 通过数据口%u发送出去", {P0, P1}},
};

// The line texts that differ from the param3 texts.
const Row kLocalArrayLineTexts[] = {
    {only(27), only(2), only(1), kAlways, "局部数组%u = %s", {P0, HexP5}},
    {only(27), only(2), only(3), kAlways, "局部数组%u 头部增加:%s", {P0, HexP5}},
    {only(27), only(2), only(5), kAlways, "局部数组%u 尾部增加:%s", {P0, HexP5}},
    {only(27), only(2), only(7), kAlways, "局部数组%u 位置%u 插入:%s", {P0, P1, HexP5}},
    {only(27), only(2), only(2), kAlways, "局部数组%u = \"%s\"", {P0, StrP5}},
    {only(27), only(2), only(4), kAlways, "局部数组%u 头部增加:\"%s\"", {P0, StrP5}},
    {only(27), only(2), only(6), kAlways, "局部数组%u 尾部增加:\"%s\"", {P0, StrP5}},
    {only(27), only(2), only(8), kAlways, "局部数组%u 位置%u 插入:\"%s\"", {P0, P1, StrP5}},
    {only(27), only(3), only(6), kAlways, "局部数组%u 删除多字节 起始:局部整数%u 数量:局部整数%u",
     {P0, P1, P2}},
    {only(27), only(5), only(1), kAlways, "局部数组%u = 局部整数%u(字符串)", {P0, P1}},
    {only(27), only(5), only(2), kAlways, "局部数组%u = 局部整数%u(字节)", {P0, P1}},
    {only(27), only(5), only(3), kAlways, "局部数组%u 起始%u 数量%u = 局部整数%u(字符串)",
     {P0, P1, P2, P3}},
    {only(27), only(5), only(4), kAlways, "局部数组%u 起始%u 数量%u = 局部整数%u(字节)",
     {P0, P1, P2, P3}},
};

// ---- Decimal and format variables (kind 29) ------------------------------------------

// The text is a left part followed directly by a right part; without a left
// part it is empty.
const Row kDecimalLeftParts[] = {
    {only(29), only(1), kAny, kAlways, "全局小数%d", {P0}},
    {only(29), only(4), kAny, kAlways, "局部小数%d", {P0}},
    {only(29), only(7), kAny, kAlways, "格式化变量%d", {P0}},
    {only(29), only(2), kAny, kAlways, "全局小数%d = 全局小数%d %s", {P0, P1, OperatorP2}},
    {only(29), only(5), kAny, kAlways, "局部小数%d = 局部小数%d %s", {P0, P1, OperatorP2}},
    {only(29), only(3), kAny, kAlways, "全局小数%d", {P0}},
    {only(29), only(6), kAny, kAlways, "局部小数%d", {P0}},
};

const Row kDecimalRightParts[] = {
    // Assignments (param1 1, 4, 7), written for each param1 below.
    {only(29), only(1), only(1), kAlways, " = %lf", {RealP1}},
    {only(29), only(1), only(2), kAlways, " = 全局小数%d", {P1}},
    {only(29), only(1), only(3), kAlways, " = 局部小数%d", {P1}},
    {only(29), only(1), only(4), kAlways, " = 全局变量%d", {P1}},
    {only(29), only(1), only(5), kAlways, " = 整数%d", {P1}},
    {only(29), only(1), only(6), kAlways, " = 局部数组%d第%d个数字", {P1, P2}},
    {only(29), only(1), only(7), kAlways, " = 局部数组%d单精度4字节", {P1}},
    {only(29), only(1), only(8), kAlways, " = 局部数组%d双精度8字节", {P1}},
    {only(29), only(1), only(9), kAlways, " = 全局数组%d第%d个数字", {P1, P2}},
    {only(29), only(1), only(10), kAlways, " = 临时数据包字符串第%d个数字", {P1}},
    // Arithmetic (param1 2, 5).
    {only(29), only(2), only(1), kAlways, " %lf", {RealP3}},
    {only(29), only(2), only(2), kAlways, " 全局小数%d", {P3}},
    {only(29), only(2), only(3), kAlways, " 局部小数%d", {P3}},
    {only(29), only(2), only(4), kAlways, " 全局变量%d", {P3}},
    {only(29), only(2), only(5), kAlways, " 整数%d", {P3}},
    {only(29), only(2), only(6), kAlways, " 局部数组%d第%d个数字", {P3, P4}},
    {only(29), only(2), only(7), kAlways, " 局部数组%d单精度4字节", {P3}},
    {only(29), only(2), only(8), kAlways, " 局部数组%d双精度8字节", {P3}},
    {only(29), only(2), only(9), kAlways, " 全局数组%d第%d个数字", {P3, P4}},
    {only(29), only(2), only(10), kAlways, " 临时数据包字符串第%d个数字", {P3}},
    // Conversions (param1 3, 6).
    {only(29), only(3), only(1), kAlways, "转化为局部数组%d字符串", {P1}},
    {only(29), only(3), only(2), kAlways, "转化为局部数组%d 单精度4字节", {P1}},
    {only(29), only(3), only(3), kAlways, "转化为局部数组%d 双精度8字节", {P1}},
    {only(29), only(3), only(4), kAlways, "转化为全局数组%d字符串", {P1}},
    {only(29), only(3), only(5), kAlways, "转化为全局数组%d 单精度4字节", {P1}},
    {only(29), only(3), only(6), kAlways, "转化为全局数组%d 双精度8字节", {P1}},
    {only(29), only(3), only(7), kAlways, "通过数据口%d发送字符串", {P1}},
    {only(29), only(3), only(8), kAlways, "通过数据口%d发送 单精度4字节", {P1}},
    {only(29), only(3), only(9), kAlways, "通过数据口%d发送 双精度8字节", {P1}},
};

// The param1 whose right parts a decimal line uses: 4 and 7 read those of
// 1, 5 those of 2, 6 those of 3.
int rightPartGroup(int param1)
{
    static const int kGroup[] = {0, 1, 2, 3, 1, 2, 3, 1};
    return param1 >= 1 && param1 <= 7 ? kGroup[param1] : 0;
}

std::string decimalVariableText(const std::uint8_t* instruction)
{
    Line line(instruction);
    const Row* left = findRow(kDecimalLeftParts, std::size(kDecimalLeftParts), line);
    if (!left)
        return std::string();
    std::string text = line.fill(left->format, left->values);
    // The right parts are listed once per group; read them through a copy
    // whose param1 names the group.
    std::uint8_t grouped[256];
    std::copy(instruction, instruction + 256, grouped);
    grouped[1] = static_cast<std::uint8_t>(rightPartGroup(instruction[1]));
    Line groupLine(grouped);
    return text + rowText(kDecimalRightParts, std::size(kDecimalRightParts), groupLine);
}

// ---- Line texts ----------------------------------------------------------------

const Row kLineTexts[] = {
    // 1 输出操作: the kind name, two blanks, the operation.
    {only(1), only(1), kAny, kAlways, "%s  断开 %s", {K, OutH}},
    {only(1), only(2), kAny, kAlways, "%s  闭合 %s", {K, OutH}},
    {only(1), only(3), kAny, kAlways, "%s  翻转 %s", {K, OutH}},
    {only(1), only(4), kAny, kAlways, "%s  点动 %s %ums", {K, OutH, V}},
    {only(1), only(5), kAny, kAlways, "%s  断开第%s路", {K, MaskV}},
    {only(1), only(6), kAny, kAlways, "%s  闭合第%s路", {K, MaskV}},
    {only(1), only(7), kAny, kAlways, "%s  翻转第%s路", {K, MaskV}},
    {only(1), only(8), kAny, kAlways, "%s  全部断开", {K}},
    {only(1), only(9), kAny, kAlways, "%s  全部闭合", {K}},
    {only(1), only(10), kAny, kAlways, "%s  全部翻转", {K}},
    {only(1), only(11), kAny, kAlways, "%s  断开%s %ums后自动闭合", {K, OutH, V}},
    {only(1), only(12), kAny, kAlways, "%s  赋值为固定值%u", {K, V}},
    {only(1), only(13), kAny, kAlways, "%s  赋值为%s的值", {K, GIntV}},
    {only(1), only(14), kAny, kAlways, "%s  断开%s路", {K, GIntV}},
    {only(1), only(15), kAny, kAlways, "%s  闭合%s路", {K, GIntV}},
    {only(1), only(16), kAny, kAlways, "%s  翻转%s路", {K, GIntV}},
    {only(1), only(17), kAny, kAlways, "%s  点动%s路", {K, GIntV}},
    {only(1), only(18), kAny, kAlways, "%s  %s = 联机开关量 地址%u第%u路", {K, OutH, P2, P3}},
    {only(1), only(19), kAny, kAlways, "%s  %s = 输出%u", {K, OutH, P3}},
    {only(1), only(20), kAny, kAlways, "%s  %s = 输入%u", {K, OutH, P3}},
    {only(1), only(21), kAny, kAlways, "%s  %s = 位变量%u", {K, OutH, P3}},
    {only(1), only(22), kAny, kAlways, "%s  %s %s", {K, R, Q}},

    // 2 定时器
    {only(2), kAny, only(1), kAlways, "%s  %s %u", {S, R, V}},
    {only(2), kAny, only(5), kAlways, "%s = %s", {S, GIntV}},
    {only(2), kAny, only(6), kAlways, "%s = 局部整数%u", {S, V}},
    {only(2), kAny, kAny, kAlways, "%s  %s", {S, R}},

    // 3 位变量
    {only(3), only(1), kAny, kAlways, "%s = 0", {BitH}},
    {only(3), only(2), kAny, kAlways, "%s = 1", {BitH}},
    {only(3), only(3), kAny, kAlways, "%s 翻转", {BitH}},
    {only(3), only(4), kAny, kAlways, "点动 %s %ums", {BitH, V}},
    {only(3), only(5), kAny, kAlways, "置0位变量%s", {MaskV}},
    {only(3), only(6), kAny, kAlways, "置1位变量%s", {MaskV}},
    {only(3), only(7), kAny, kAlways, "翻转位变量%s", {MaskV}},
    {only(3), only(8), kAny, kAlways, "全部位变量=0", {}},
    {only(3), only(9), kAny, kAlways, "全部位变量=1", {}},
    {only(3), only(10), kAny, kAlways, "全部位变量翻转", {}},
    {only(3), only(11), kAny, kAlways, "置0 %s %ums后自动置1", {BitH, V}},
    {only(3), only(12), kAny, kAlways, "赋值为固定值%u", {V}},
    {only(3), only(13), kAny, kAlways, "赋值为全局整数%u的值", {V}},
    {only(3), only(14), kAny, kAlways, "置0全局整数%u位", {V}},
    {only(3), only(15), kAny, kAlways, "置1全局整数%u位", {V}},
    {only(3), only(16), kAny, kAlways, "翻转全局整数%u位", {V}},
    {only(3), only(17), kAny, kAlways, "点动全局整数%u位", {V}},
    {only(3), only(18), kAny, kAlways, "%s = 联机开关量 地址%u第%u路", {BitH, P2, P3}},
    {only(3), only(19), kAny, kAlways, "%s = 输出%u", {BitH, P3}},
    {only(3), only(20), kAny, kAlways, "%s = 输入%u", {BitH, P3}},
    {only(3), only(21), kAny, kAlways, "%s = 位变量%u", {BitH, P3}},
    {only(3), only(22), kAny, kAlways, "%s = 全局整数%u BIT%u", {BitH, P2, P3}},
    {only(3), only(23), kAny, kAlways, "%s = 局部整数%u BIT%u", {BitH, P2, P3}},

    // 4 全局整数: g is the integer of param1.
    {only(4), kAny, only(1), kAlways, "%s = %d", {GIntA, V}},
    {only(4), kAny, only(2), kAlways, "%s = %s + %d", {GIntA, GIntA, V}},
    {only(4), kAny, only(3), kAlways, "%s = %s - %d", {GIntA, GIntA, V}},
    {only(4), kAny, only(4), kAlways, "%s = %s × %d", {GIntA, GIntA, V}},
    {only(4), kAny, only(5), kAlways, "%s = %s ÷ %d", {GIntA, GIntA, V}},
    {only(4), kAny, only(6), kAlways, "%s = %s << %u", {GIntA, GIntA, V}},
    {only(4), kAny, only(7), kAlways, "%s = %s >> %u", {GIntA, GIntA, V}},
    {only(4), kAny, only(8), kAlways, "%s = %s & %u", {GIntA, GIntA, V}},
    {only(4), kAny, only(9), kAlways, "%s = %s | %u", {GIntA, GIntA, V}},
    {only(4), kAny, only(10), kAlways, "%s = %s ^ %u", {GIntA, GIntA, V}},
    {only(4), kAny, only(11), kAlways, "%s = %s", {GIntA, TmrV}},
    {only(4), kAny, only(12), kAlways, "%s = %s", {GIntA, GIntV}},
    {only(4), kAny, only(14), kAlways, "%s = %s", {GIntA, AInV}},
    {only(4), kAny, only(13), kAlways, "%s = 公共数据量%u", {GIntA, V}},
    {only(4), kAny, only(15), kAlways, "%s = 显示变量%u", {GIntA, V}},
    {only(4), kAny, only(27), kAlways, "%s = 联机开关量%u", {GIntA, V}},
    {only(4), kAny, only(16), kAlways, "%s = 本机地址", {GIntA}},
    {only(4), kAny, only(17), kAlways, "%s = 当前时间", {GIntA}},
    {only(4), kAny, only(18), kAlways, "%s = 当前年值", {GIntA}},
    {only(4), kAny, only(19), kAlways, "%s = 当前月值", {GIntA}},
    {only(4), kAny, only(20), kAlways, "%s = 当前日值", {GIntA}},
    {only(4), kAny, only(21), kAlways, "%s = 当前星期值", {GIntA}},
    {only(4), kAny, only(22), kAlways, "%s = 当前小时值", {GIntA}},
    {only(4), kAny, only(23), kAlways, "%s = 当前分值", {GIntA}},
    {only(4), kAny, only(24), kAlways, "%s = 当前秒值", {GIntA}},
    {only(4), kAny, only(25), kAlways, "%s = 本机开关量输入", {GIntA}},
    {only(4), kAny, only(26), kAlways, "%s = 本机开关量输出", {GIntA}},
    {only(4), kAny, only(28), kAlways, "%s = %s + %s", {GIntA, GIntA, GIntV}},
    {only(4), kAny, only(29), kAlways, "%s = %s - %s", {GIntA, GIntA, GIntV}},
    {only(4), kAny, only(30), kAlways, "%s = %s × %s", {GIntA, GIntA, GIntV}},
    {only(4), kAny, only(31), kAlways, "%s = %s ÷ %s", {GIntA, GIntA, GIntV}},
    {only(4), kAny, only(32), kAlways, "%s保存值到扇区0位置%u", {GIntA, V}},
    {only(4), kAny, only(33), kAlways, "%s读取值，从扇区0位置%u", {GIntA, V}},
    {only(4), kAny, only(34), kAlways, "%s   BIT%u=1", {GIntA, V}},
    {only(4), kAny, only(35), kAlways, "%s   BIT%u=0", {GIntA, V}},
    {only(4), kAny, only(36), kAlways, "%s   BIT%u翻转", {GIntA, V}},
    {only(4), kAny, only(37), kAlways, "%s 保存值到RAM%u", {GIntA, V}},
    {only(4), kAny, only(38), kAlways, "%s 读取值，从RAM%u", {GIntA, V}},
    {only(4), kAny, only(39), kAlways, "设置全局整数读写ROM扇区%u", {V}},
    {only(4), kAny, only(40), kAlways, "%s 保存值到ROM位置%u", {GIntA, V}},
    {only(4), kAny, only(41), kAlways, "%s 读取值，从ROM位置%u", {GIntA, V}},
    {only(4), kAny, only(42), kAlways, "%s BIT%u = %s BIT%u", {GIntA, P1, GIntP2, P3}},
    {only(4), kAny, only(43), kAlways, "%s BIT%u = 局部整数%u BIT%u", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(44), kAlways, "%s BIT%u = 联机开关量地址%u 第%u路", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(45), kAlways, "%s BIT%u = %s", {GIntA, P2, InP3}},
    {only(4), kAny, only(46), kAlways, "%s BIT%u = %s", {GIntA, P2, OutP3}},
    {only(4), kAny, only(47), kAlways, "%s BIT%u = %s", {GIntA, P2, BitP3}},
    {only(4), kAny, only(48), kAlways, "%s = 局部整数%u", {GIntA, P3}},
    {only(4), kAny, only(49), kAlways, "%s = 全局数组%u 第%u个字节", {GIntA, P2, P3}},
    {only(4), kAny, only(52), kAlways, "%s = 全局数组%u 第%u组数字", {GIntA, P2, P3}},
    {only(4), kAny, only(50), kAlways, "%s = 全局数组%u 字节 起始%u 数量%u", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(51), kAlways, "%s = 全局数组%u 字符 起始%u 数量%u", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(53), kAlways, "%s = 局部数组%u 第%u个字节", {GIntA, P2, P3}},
    {only(4), kAny, only(56), kAlways, "%s = 局部数组%u 第%u组数字", {GIntA, P2, P3}},
    {only(4), kAny, only(54), kAlways, "%s = 局部数组%u 字节 起始%u 数量%u", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(55), kAlways, "%s = 局部数组%u 字符 起始%u 数量%u", {GIntA, P1, P2, P3}},
    {only(4), kAny, only(57), kAlways, "%s = 临时数据包 第%u个字节", {GIntA, P3}},
    {only(4), kAny, only(60), kAlways, "%s = 临时数据包 第%u组数字", {GIntA, P3}},
    {only(4), kAny, only(58), kAlways, "%s = 临时数据包 字节 起始%u 数量%u", {GIntA, P2, P3}},
    {only(4), kAny, only(59), kAlways, "%s = 临时数据包 字符 起始%u 数量%u", {GIntA, P2, P3}},
    {only(4), kAny, only(61), kAlways, "%s 通过%s 16进制发送", {GIntA, PortP3}},
    {only(4), kAny, only(62), kAlways, "%s 通过%s 字符串发送", {GIntA, PortP3}},
    {only(4), kAny, only(63), kAlways, "%s = 全局小数%d", {GIntA, P3}},
    {only(4), kAny, only(64), kAlways, "%s = 局部小数%d", {GIntA, P3}},

    // 5 系统简单设置: H is param2; sectors 0 to 99 and 0 to 9 decimals only.
    {only(5), only(1), kAny, kAlways, "系统简单设置:操作联机继电器使用%s", {PortH}},
    {only(5), only(2), only(1), kAlways, "系统简单设置:操作联机继电器使用无回码命令", {}},
    {only(5), only(2), only(2), kAlways, "系统简单设置:操作联机继电器使用有回码命令", {}},
    {only(5), only(3), span(1, 100), kAlways, "系统简单设置:擦除全局整数ROM扇区%u", {HMinus1}},
    {only(5), only(4), span(1, 100), kAlways, "系统简单设置:擦除数组ROM扇区%u", {HMinus1}},
    {only(5), only(5), only(1), kAlways, "表达式默认转换：字节转换", {}},
    {only(5), only(5), only(2), kAlways, "表达式默认转换：字符串转换", {}},
    {only(5), only(6), span(1, 10), kAlways, "小数转字符串默认%u位小数", {HMinus1}},
    {only(5), only(7), span(1, 255), kAlways, "设置485地址%u", {HMinus1}},

    // 6 系统特殊设置
    {only(6), span(0, 1), kAny, kAlways, "系统特殊设置:点动操作联机继电器时间为%ums", {V}},
    {only(6), only(2), span(1, 3), kAlways, "已淘汰", {}},
    {only(6), only(2), kAny, kAlways, "", {}},
    {only(6), only(3), kAny, kAlways, "系统特殊设置:设置%s接收临时数据包的间隔时间为%ums", {R, V}},
    {only(6), only(4), kAny, kAlways, "系统特殊设置: %s连击和长按的时间常数为%ums", {R, V}},
    {only(6), only(5), kAny, kAlways, "系统特殊设置: 程序每%ums运行一次", {V}},
    {only(6), kAny, kAny, kAlways, "系统特殊设置: %s", {R}},

    // 7 通讯参数设置: S is the data port.
    {only(7), kAny, only(1), kAlways, "配置参数:%s  UART波特率为 %u", {S, V}},
    {only(7), kAny, only(2), kAlways, "配置参数:%s  奇偶校验设置为 %u", {S, V}},
    {only(7), kAny, only(3), kAlways, "配置参数:%s  数据位个数 %u", {S, V}},
    {only(7), kAny, only(4), kAlways, "配置参数:%s  停止位设置为 %u", {S, V}},
    {only(7), kAny, only(5), kAlways, "%s 发送数据延迟等待 %u ms", {S, V}},

    // 8 批量操作内部资源
    {only(8), only(1), kAny, kAlways, "%s%s%s%d", {K, S, R, V}},
    {only(8), only(2), kAny, kAlways, "%s%s%s%u", {K, S, R, V}},

    // 9 红外发射: H is the channel.
    {only(9), only(1), kAny, kAlways, "红外通道%u发送：%s", {H, HexP1}},
    {only(9), only(2), kAny, kAlways, "红外通道%u发送全局数组%u代表的红外码", {H, P1}},
    {only(9), only(3), kAny, kAlways, "红外发射模块进入对码状态", {}},
    {only(9), only(4), kAny, kAlways, "将接收到的红外码赋值给全局数组%u", {H}},
    {only(9), only(5), kAny, kAlways, "%s", {R}},

    // 10 发送字符串, 11 发送16进制数据
    {only(10), span(1, 6), only(1), kAlways, "%s 发送字符串：%s", {S, StrP1}},
    {only(10), only(7), span(1, 2), kAlways, "%s 发送%s：%s", {S, R, StrP1}},
    {only(10), only(7), span(3, 4), kAlways, "%s 发送%s", {S, R}},
    {only(10), only(8), span(1, 6), kAlways, "%s 发送格式化字符串printf：%s", {R, StrP1}},
    {only(11), span(1, 6), kAny, kAlways, "%s发送16进制数据：%s", {S, HexP1}},
    {only(11), only(7), span(1, 2), kAlways, "%s 发送%s：%s", {S, R, HexP1}},
    {only(11), only(7), span(3, 4), kAlways, "%s 发送%s", {S, R}},

    // 12 调用函数
    {only(12), only(1), kAny, kAlways, "调用函数 %s( )", {R}},
    {only(12), only(2), kAny, kAlways, "函数跳转到开头重新执行本函数", {}},
    {only(12), only(3), kAny, kAlways, "函数返回", {}},
    {only(12), only(4), kAny, kAlways, "调用函数，函数号为全局变量%u", {H}},
    {only(12), only(5), span(1, 255), kAlways, "调用函数，函数号为局部整数%u", {HMinus1}},
    {only(12), only(5), kAny, kAlways, "", {}},
    {only(12), kAny, kAny, kAlways, "%s", {S}},

    // 13 操作联机继电器模块(发送命令): the address is param1 - 1.
    {only(13), span(1, 255), only(1), kAlways, "查询地址%u", {AMinus1}},
    {only(13), span(1, 255), only(2), kAlways, "断开地址%u第%u路", {AMinus1, V}},
    {only(13), span(1, 255), only(3), kAlways, "闭合地址%u第%u路", {AMinus1, V}},
    {only(13), span(1, 255), only(4), kAlways, "翻转地址%u第%u路", {AMinus1, V}},
    {only(13), span(1, 255), only(5), kAlways, "点动地址%u第%u路", {AMinus1, V}},
    {only(13), span(1, 255), only(6), kAlways, "断开地址%u第%s路", {AMinus1, MaskV}},
    {only(13), span(1, 255), only(7), kAlways, "闭合地址%u第%s路", {AMinus1, MaskV}},
    {only(13), span(1, 255), only(8), kAlways, "翻转地址%u第%s路", {AMinus1, MaskV}},
    {only(13), span(1, 255), only(9), kAlways, "断开地址%u全部输出", {AMinus1}},
    {only(13), span(1, 255), only(10), kAlways, "闭合地址%u全部输出", {AMinus1}},
    {only(13), span(1, 255), only(11), kAlways, "翻转地址%u全部输出", {AMinus1}},

    // 14 发送本机状态
    {only(14), kAny, only(1), kAlways, "%s  %s  公共数据量%u(可被联机模块识别)", {K, S, V}},
    {only(14), kAny, kAny, kAlways, "%s  %s  %s", {K, S, R}},

    // 15 显示变量: S, then what is shown.
    {only(15), kAny, only(1), kAlways, "%s显示%u", {S, V}},
    {only(15), kAny, only(2), kAlways, "%s显示全局整数%u", {S, V}},
    {only(15), kAny, only(3), kAlways, "%s显示系统时间的值", {S}},
    {only(15), kAny, only(4), kAlways, "%s显示定时器%u", {S, V}},
    {only(15), kAny, only(5), kAlways, "%s显示公共数据量%u", {S, V}},
    {only(15), kAny, only(6), kAlways, "%s显示输入模拟量%u", {S, V}},
    {only(15), kAny, only(7), kAlways, "%s显示本机地址", {S}},
    {only(15), kAny, only(8), When::VZero, "%s显示数字", {S}},
    {only(15), kAny, only(8), When::VOne, "%s显示时间", {S}},
    {only(15), kAny, only(9), kAlways, "%s小数点位数%u", {S, V}},
    {only(15), kAny, only(10), When::VZero, "%s高位不补0", {S}},
    {only(15), kAny, only(10), When::VOne, "%s高位补0", {S}},
    {only(15), kAny, only(11), kAlways, "%s闪烁周期为%u", {S, V}},
    {only(15), kAny, only(12), kAlways, "%s闪烁占比为%u", {S, V}},
    {only(15), kAny, kAny, kAlways, "%s", {S}},

    // 16 语音输出
    {only(16), only(1), only(1), kAlways, "语音合成：%s", {StrP1}},
    {only(16), only(1), only(2), kAlways, "%s 说出全局整数%u的值", {S, P1}},
    {only(16), only(1), only(3), kAlways, "%s 普通提示音%u", {S, P1}},
    {only(16), only(1), only(4), kAlways, "%s 和铉提示音%u", {S, P1}},
    {only(16), only(1), only(5), kAlways, "%s 和铉铃声%u", {S, P1}},
    {only(16), only(1), only(6), kAlways, "%s 前景播放音量设置为%u", {S, P1}},
    {only(16), only(1), only(7), kAlways, "%s 背景音乐设置为%u", {S, P1}},
    {only(16), only(1), only(8), kAlways, "%s 背景音乐音量为%u", {S, P1}},
    {only(16), only(1), only(9), kAlways, "%s 语速设置为%u", {S, P1}},
    {only(16), only(1), only(10), kAlways, "%s 说出数组%u的内容", {S, P1}},
    {only(16), only(2), only(1), kAlways, "播放曲目%u", {P1}},
    {only(16), only(2), only(2), kAlways, "设定音量%u", {P1}},
    {only(16), only(3), only(1), kAlways, "播放", {}},
    {only(16), only(3), only(2), kAlways, "暂停", {}},
    {only(16), only(3), only(3), kAlways, "播放 上一曲", {}},
    {only(16), only(3), only(4), kAlways, "播放 下一曲", {}},
    {only(16), only(3), only(5), kAlways, "播放 音量增加", {}},
    {only(16), only(3), only(6), kAlways, "播放 音量减少", {}},
    {only(16), only(3), only(7), kAlways, "播放 快进", {}},
    {only(16), only(3), only(8), kAlways, "播放 快退", {}},
    {only(16), only(3), only(9), kAlways, "播放 停止", {}},

    // 17 程序延迟, 18 临时数据包处理
    {only(17), only(1), only(1), kAlways, "延迟%ums", {V}},
    {only(18), only(1), kAny, kAlways, "%s = 临时数据包", {GArrH}},
    {only(18), only(2), kAny, kAlways, "临时数据通过%s发送出去", {PortChoiceH}},
    {only(18), only(3), kAny, kAlways, "局部数组%u = 临时数据包", {H}},

    // 19 全局数组简单处理: S is the array, Q the picked suggestion, P[0] its position.
    {only(19), kAny, only(1), kAlways, "%s%s", {S, Q}},
    {only(19), kAny, only(2), kAlways, "%s=%s+%s", {S, S, Q}},
    {only(19), kAny, only(3), kAlways, "%s=%s", {S, Q}},
    {only(19), kAny, only(4), kAlways, "删除%s的首个字节", {S}},
    {only(19), kAny, only(5), kAlways, "删除%s的最后一个字节", {S}},
    {only(19), kAny, only(6), kAlways, "删除%s的第%u个字节", {S, P0}},
    {only(19), kAny, only(7), kAlways, "删除%s的%s位置的字节", {S, Q}},
    {only(19), kAny, only(8), kAlways, "在%s最前面添加一个字节,字节的值为%s", {S, Q}},
    {only(19), kAny, only(9), kAlways, "在%s最后面添加一个字节,字节的值为%s", {S, Q}},
    {only(19), kAny, only(10), kAlways, "求%s累加和并赋值给%s", {S, Q}},
    {only(19), kAny, only(11), kAlways, "求%s异或和并赋值给%s", {S, Q}},
    {only(19), kAny, only(12), kAlways, "求%sCRC16运算并赋值给%s", {S, Q}},
    {only(19), kAny, only(13), kAlways, "把%s的长度赋值给%s", {S, Q}},
    {only(19), kAny, only(14), kAlways, "通过%s发送%s", {Q, S}},
    {only(19), kAny, only(15), kAlways, "设置字符串类型转换为%s转换", {Q}},
    {only(19), kAny, only(16), kAlways, "设置数组类型转换 %s", {Q}},
    {only(19), kAny, only(17), kAlways, "设置类型转换时字节的数量为:%s", {Q}},
    {only(19), kAny, only(18), kAlways, "%s转换为%s字符串", {Q, S}},
    {only(19), kAny, only(19), kAlways, "%s字符串转换为%s", {S, Q}},
    {only(19), kAny, only(20), kAlways, "%s转换为%s数组", {Q, S}},
    {only(19), kAny, only(21), kAlways, "%s数组转换为%s", {S, Q}},
    {only(19), kAny, only(22), kAlways, "%s保存到存储区扇区0%s", {S, Q}},
    {only(19), kAny, only(23), kAlways, "从存储区扇区0%s读取%s", {Q, S}},
    {only(19), kAny, only(24), kAlways, "删除%s头部的%u个字节", {S, P0}},
    {only(19), kAny, only(25), kAlways, "删除%s尾部的%u个字节", {S, P0}},

    // 20 全局数组复杂处理: S is the array.
    {only(20), kAny, only(5), kAlways, "全局数组%u = %s的一部分 第%u个开始%u个字节", {P0, S, P1, P2}},
    {only(20), kAny, only(6), kAlways,
     "全局数组[全局整数%u] = %s的一部分 起始位置=全局整数%u 数量=全局整数%u", {P0, S, P1, P2}},
    {only(20), kAny, only(9), kAlways, "全局整数%u = %s 第%u个开始%u个字节", {P0, S, P1, P2}},
    {only(20), kAny, only(10), kAlways, "全局整数%u = %s 第%u个开始%u个字符", {P0, S, P1, P2}},
    {only(20), kAny, only(13), kAlways, "全局整数%u = %s字符串的第%u个数字", {P0, S, P1}},
    {only(20), kAny, only(14), kAlways, "全局数组%u = %s 倒数第%u个开始的%u个字节", {P0, S, P1, P2}},
    {only(20), kAny, only(15), kAlways, "%s = 局部数组%u", {S, P0}},
    {only(20), kAny, kAny, kAlways, "%s %s", {S, Q}},

    // 21 全局数组综合处理: the array is param1.
    {only(21), kAny, only(1), kAlways, "全局数组%u赋值为(16进制):%s", {A, HexP1}},
    {only(21), kAny, only(2), kAlways, "全局数组%u赋值为字符串:%s", {A, StrP1}},
    {only(21), kAny, only(3), kAlways, "全局数组%u末尾添加(16进制):%s", {A, HexP1}},
    {only(21), kAny, only(4), kAlways, "全局数组%u末尾添加字符串:%s", {A, StrP1}},
    {only(21), kAny, only(5), kAlways, "全局数组%u起始插入(16进制):%s", {A, HexP1}},
    {only(21), kAny, only(6), kAlways, "全局数组%u起始插入字符串:%s", {A, StrP1}},
    {only(21), kAny, only(7), kAlways, "全局数组%u赋值为格式化字符串:%s", {A, StrP1}},

    // 22 临时数据包设置: the data port is param1.
    {only(22), kAny, only(1), kAlways, "数据口%u临时数据包首字节值为%u", {A, V}},
    {only(22), kAny, only(2), kAlways, "数据口%u临时数据包最后字节值为%u", {A, V}},
    {only(22), kAny, only(3), kAlways, "数据口%u临时数据包长度为%u个字节", {A, V}},
    {only(22), kAny, only(4), kAlways, "数据口%u临时数据包接收间隔时间为%u毫秒", {A, V}},
    {only(22), kAny, only(5), When::VNonZero, "数据口%u 使能临时数据包连续接收", {A}},
    {only(22), kAny, only(5), kAlways, "数据口%u 不使能临时数据包连续接收", {A}},

    // 23 环境监测, 24 脉冲调制输出 (the output is param1)
    {only(23), kAny, only(1), kAlways, "%s%s%u", {S, R, V}},
    {only(24), kAny, only(1), kAlways, "脉冲输出%u 占空比 = %u%%", {A, V}},
    {only(24), kAny, only(2), kAlways, "脉冲输出%u 频率 = %u赫兹", {A, V}},
    {only(24), kAny, only(3), kAlways, "脉冲输出%u 周期 = %u毫秒", {A, V}},
    {only(24), kAny, only(4), kAlways, "脉冲输出%u 占空比 = 全局整数%u", {A, V}},
    {only(24), kAny, only(5), kAlways, "脉冲输出%u 频率 = 全局整数%u", {A, V}},
    {only(24), kAny, only(6), kAlways, "脉冲输出%u 周期 = 全局整数%u", {A, V}},
    {only(24), kAny, only(7), kAlways, "脉冲输出%u 占空千分比 = %u", {A, V}},
    {only(24), kAny, only(8), kAlways, "脉冲输出%u 占空千分比 = 全局整数%u", {A, V}},

    // 25 显示操作
    {only(25), only(1), only(1), kAlways, "设置led显示屏横向点数 %u", {V}},
    {only(25), only(1), only(2), kAlways, "设置led显示屏纵向点数 %u", {V}},
    {only(25), only(1), only(3), kAlways, "设置字母和数字的字体为 %s", {ChoiceP0}},
    {only(25), only(2), only(1), kAlways, "%s", {Q}},
    {only(25), only(2), only(2), kAlways, "输出文本：%s", {Q}},
    {only(25), only(3), span(1, 2), kAlways, "输出文本：%s", {Q}},
    {only(25), span(2, 3), only(3), kAlways, "画点：%s", {Q}},
    {only(25), span(2, 3), only(4), kAlways, "画线：%s", {Q}},
    {only(25), span(2, 3), only(5), kAlways, "画圆：%s", {Q}},
    {only(25), span(2, 3), only(6), kAlways, "画矩形：%s", {Q}},
    {only(25), span(2, 3), only(7), kAlways, "画实心矩形：%s", {Q}},
    {only(25), span(2, 3), only(8), kAlways, "反显矩形区域：%s", {Q}},

    // 28 调用函数(含参数), 29 小数变量/格式化变量: the param3 text.
    {span(28, 29), kAny, kAny, kAlways, "%s", {Q}},

    // 30 表达式/用户函数(118)
    {only(30), only(1), only(1), kAlways, "%s: %s", {R, Q}},
    {only(30), only(1), only(2), kAlways, "线程等待表达式成立：%s", {StatementsByAnd}},
    {only(30), only(1), only(3), kAlways, "线程等待表达式成立：%s", {StatementsByOr}},
    {only(30), only(1), kAny, kAlways, "", {}},
    {only(30), only(2), span(1, 100), kAlways, "%s: %s", {S, CallTestR}},
    {only(30), only(2), kAny, kAlways, "", {}},
    {only(30), only(3), only(1), kAlways, "函数返回：%s", {Q}},
    {only(30), only(3), only(2), kAlways, "函数返回空", {}},
    {only(30), only(3), only(3), kAlways, "跳转到函数开始", {}},
    {only(30), only(3), only(4), kAlways, "%s", {CallAssignFunctionName}},
    {only(30), only(3), kAny, kAlways, "", {}},
    {only(30), kAny, kAny, kAlways, "%s  %s: %s", {S, R, Q}},

    // Every other kind, and codes without a name.
    {only(0), kAny, kAny, kAlways, "%s  %s: %s", {S, R, Q}},
    {span(31, 35), kAny, kAny, kAlways, "%s  %s: %s", {S, R, Q}},
    {span(37, 255), kAny, kAny, kAlways, "%s  %s: %s", {S, R, Q}},
};

std::string localIntegerText(const std::uint8_t* instruction, bool lineText)
{
    Line line(instruction);
    const Row* row = findRow(kLocalIntegerForms, std::size(kLocalIntegerForms), line);
    if (!row)
        return std::string();
    return line.fill(lineText ? std::string(row->format) : param3Format(row->format), row->values);
}

std::string localArrayLineText(const std::uint8_t* instruction)
{
    Line line(instruction);
    if (const Row* row = findRow(kLocalArrayLineTexts, std::size(kLocalArrayLineTexts), line))
        return line.fill(row->format, row->values);
    return rowText(kLocalArrayParam3Texts, std::size(kLocalArrayParam3Texts), line);
}

}  // namespace

std::string resultParam3Text(const std::uint8_t* instruction)
{
    switch (instruction[0]) {
    case 26:
        return localIntegerText(instruction, false);
    case 27: {
        Line line(instruction);
        return rowText(kLocalArrayParam3Texts, std::size(kLocalArrayParam3Texts), line);
    }
    case 29:
        return decimalVariableText(instruction);
    default: {
        Line line(instruction);
        return rowText(kParam3Texts, std::size(kParam3Texts), line);
    }
    }
}

std::string resultLineText(const std::uint8_t* instruction)
{
    switch (instruction[0]) {
    case 26:
        return localIntegerText(instruction, true);
    case 27:
        return localArrayLineText(instruction);
    case 36:
        return softwareResourceLineText(instruction);
    default: {
        Line line(instruction);
        return rowText(kLineTexts, std::size(kLineTexts), line);
    }
    }
}

}  // namespace orlo
