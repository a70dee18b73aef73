// The result catalogue's second choice lists (param2) and the suggestions
// offered for the free-text param3 field, with their readers (see results.h).
#include "catalogue/results.h"

#include <iterator>

#include "catalogue/resource_names.h"

namespace orlo {
namespace {

// ---- Param2 texts ----------------------------------------------------------

constexpr const char* kAllOpen[] = {"全部断开"};
constexpr const char* kAllClosed[] = {"全部闭合"};
constexpr const char* kAllToggled[] = {"全部翻转"};
constexpr const char* kAllInputs[] = {"全部输入"};

constexpr const char* kGroupChannels[] = {
    "参数3代表第几路 中间使用空格间隔",
};

constexpr const char* kValueInParam3[] = {
    "参数3输入具体数值",
};

constexpr const char* kGlobalIntegerInParam3[] = {
    "参数3代表全局整数的编号",
};

constexpr const char* kSequences[] = {
    "顺序断开",
    "顺序闭合",
};

constexpr const char* kTimerOperations[] = {
    "等于",
    "单位时间加1",
    "单位时间减1",
    "停止定时",
};

// The 62 operations on a global integer. The trailing blanks and the double
// blanks inside them are part of the texts.
constexpr const char* kIntegerOperations[] = {
    "等于某值(参数3)",  // 1
    "加上某值  (参数3)",  // 2
    "减去某值  (参数3)",  // 3
    "乘以某值  (参数3)",  // 4
    "除以某值  (参数3)",  // 5
    "左移某值  (参数3)",  // 6
    "右移某值  (参数3)",  // 7
    "与运算  (参数3)",  // 8
    "或运算  (参数3)",  // 9
    "异或运算 (参数3)",  // 10
    "= 定时器的值  参数3代表定时器序号",  // 11
    "= 全局整数的值  参数3代表全局整数序号",  // 12
    "= 公共数据量的值  参数3代表公共数据量序号",  // 13
    "= 模拟量输入的值  参数3代表模拟量输入序号",  // 14
    "= 显示变量的值  参数3代表显示变量序号",  // 15
    "= 本机地址的值 ",  // 16
    "= 当前时间的值 ",  // 17
    "= 当前年的值 ",  // 18
    "= 当前月的值 ",  // 19
    "= 当前日的值 ",  // 20
    "= 当前星期的值 ",  // 21
    "= 当前时的值 ",  // 22
    "= 当前分的值 ",  // 23
    "= 当前秒的值 ",  // 24
    "= 本机开关量输入的值 ",  // 25
    "= 本机开关量输出的值 ",  // 26
    "= 联机开关量(参数3代表联机地址) ",  // 27
    "加上全局整数的值  参数3序号",  // 28
    "减去全局整数的值  参数3序号",  // 29
    "乘以全局整数的值  参数3序号",  // 30
    "除以全局整数的值  参数3序号",  // 31
    "保存值到ROM扇区0",  // 32
    "从ROM扇区0中读取",  // 33
    "位运算 置1",  // 34
    "位运算 置0",  // 35
    "位运算 翻转",  // 36
    "保存值到RAM",  // 37
    "从RAM中读取",  // 38
    "设置随后操作ROM扇区编号",  // 39
    "保存到ROM",  // 40
    "从ROM读取",  // 41
    "某一位 = 全局整数的某一位",  // 42
    "某一位 = 局部整数的某一位",  // 43
    "某一位 = 联机开关量的某一路",  // 44
    "某一位 = 输入",  // 45
    "某一位 = 输出",  // 46
    "某一位 = 位变量",  // 47
    "= 局部整数",  // 48
    "= 全局数组的某一个字节(16进制)",  // 49
    "= 全局数组的某几个字节(16进制)",  // 50
    "= 全局数组的某几个字符(10进制)",  // 51
    "= 提取全局数组中的数字(10进制)",  // 52
    "= 局部数组的某一个字节(16进制)",  // 53
    "= 局部数组的某几个字节(16进制)",  // 54
    "= 局部数组的某几个字符(10进制)",  // 55
    "= 提取局部数组中的数字(10进制)",  // 56
    "= 临时数据包的某一个字节(16进制)",  // 57
    "= 临时数据包的某几个字节(16进制)",  // 58
    "= 临时数据包的某几个字符(10进制)",  // 59
    "= 提取临时数据包中的数字(10进制)",  // 60
    "通过数据口发送(16进制 高位在前)",  // 61
    "通过数据口发送(10进制字符串)",  // 62
};

constexpr const char* kRelayReplyModes[] = {
    "通过无回码命令实现操作",
    "通过有回码命令实现操作",
};

constexpr const char* kConversionModes[] = {
    "字节转换",
    "字符串转换",
};

constexpr const char* kMillisecondsInParam3[] = {
    "参数3输入 单位ms",
};

constexpr const char* kRetired[] = {
    "已淘汰",
};

constexpr const char* kNothing[] = {
    "无",
};

constexpr const char* kCommandSwitches[] = {
    "使能 操作继电器指令(55开头)",
    "失能 操作继电器指令(55开头)",
    "使能 读写地址指令(55开头)",
    "失能 读写地址指令(55开头)",
    "使能 modbus指令",
    "失能 modbus指令",
};

constexpr const char* kUartSettings[] = {
    "UART波特率设置",
    "UART奇偶校验位设置(0无 1奇 2偶)",
    "UART数据位设置(8或9)",
    "UART停止位设置(0代表1 1代表1.5 2代表2)",
    "发送数据延迟等待",
};

constexpr const char* kBatchOperations[] = {
    "清零",
    "赋值为参数3的值",
    "赋值为全局整数（原内部变量）",
};

constexpr const char* kInfraredChipSettings[] = {
    "设置红外芯片地址为设定参数",
    "设置红外芯片精度为设定参数",
};

constexpr const char* kSendParam3[] = {
    "发送参数3内容",
};

constexpr const char* kRelayBoardOperations[] = {
    "查询状态",  // 1
    "断开某一路",  // 2
    "闭合某一路",  // 3
    "翻转某一路",  // 4
    "点动某一路",  // 5
    "断开某几路(组断开)",  // 6
    "闭合某几路(组闭合)",  // 7
    "翻转某几路(组翻转)",  // 8
    "全部断开",  // 9
    "全部闭合",  // 10
    "全部翻转",  // 11
};

constexpr const char* kStateBroadcasts[] = {
    "公共数据量",
    "开关量状态(可被联机模块识别)",
    "广播系统时间(新产品不再支持)",
};

constexpr const char* kDisplayVariables[] = {
    "显示参数3的值",  // 1
    "显示全局整数的值 参数3代表序号",  // 2
    "显示系统时间的值",  // 3
    "显示定时器的值 参数3代表序号",  // 4
    "显示公共数据量的值 参数3代表序号",  // 5
    "显示输入模拟量的值 参数3代表序号",  // 6
    "显示本机地址的值 ",  // 7
    "显示格式(参数3=0-数字 1-时间)",  // 8
    "小数点位数(参数3)",  // 9
    "高位补0(参数3=0-不补0 1-补0)",  // 10
    "闪烁周期(参数3 0代表不闪烁 单位ms)",  // 11
    "闪烁占比(参数3 0-100)",  // 12
};

constexpr const char* kSpeechOutputs[] = {
    "说出参数3的内容",  // 1
    "说出全局整数的值",  // 2
    "普通提示音 参数3(1-25)",  // 3
    "和铉提示音 参数3(1-8)",  // 4
    "和铉铃声 参数3(1-15)",  // 5
    "前景播放音量设置 参数3(0-16)",  // 6
    "背景音乐设置 参数3(0-15)",  // 7
    "背景音量设置 参数3(0-16)",  // 8
    "语速设置 参数3(0-5)",  // 9
    "说出数组的内容",  // 10
};

constexpr const char* kTrackControls[] = {
    "播放指定曲目",
    "设置音量大小",
};

constexpr const char* kPlayerControls[] = {
    "播放",  // 1
    "暂停",  // 2
    "上一曲",  // 3
    "下一曲",  // 4
    "音量加",  // 5
    "音量减",  // 6
    "快进",  // 7
    "快退",  // 8
    "停止",  // 9
};

constexpr const char* kDelayCycles[] = {
    "参数3输入周期数（单位ms）线程阻塞",
};

constexpr const char* kGlobalArraySimple[] = {
    "数据包无参数处理",  // 1
    "加上其他全局数组",  // 2
    "赋值为其他全局数组",  // 3
    "删除首字节",  // 4
    "删除尾字节",  // 5
    "删除某字节（直接表达）",  // 6
    "删除某字节（变量表达）",  // 7
    "首部添加字节（变量表达）",  // 8
    "尾部添加字节（变量表达）",  // 9
    "全局整数 = 全局数组累加和",  // 10
    "全局整数 = 全局数组异或和",  // 11
    "全局整数 = 全局数组crc16运算",  // 12
    "全局整数 = 全局数组长度",  // 13
    "通过数据口发送出去",  // 14
    "设置字符串类型转换时的进制",  // 15
    "设置数组转换时字节代表的意义",  // 16
    "设置类型转换时字节的数量",  // 17
    "全局整数->字符串",  // 18
    "字符串->全局整数",  // 19
    "全局整数->为全局数组",  // 20
    "全局数组->全局整数",  // 21
    "全局数组保存到ROM扇区0",  // 22
    "全局数组从ROM扇区0读取",  // 23
    "删除头部的N个字节",  // 24
    "删除尾部的N个字节",  // 25
};

constexpr const char* kGlobalArrayComplex[] = {
    "全局整数 = 某一字节(全局整数代表序号)",  // 1
    "某一字节(全局整数代表序号) = 全局整数",  // 2
    "插入一个字节 前(变量表达)",  // 3
    "插入一个字节 后(变量表达)",  // 4
    "其他全局数组 = 本数组某几个字节",  // 5
    "其他全局数组 = 本数组某几个字节(变量表达)",  // 6
    "插入一个字节 前(直接表达)",  // 7
    "插入一个字节 后(直接表达)",  // 8
    "全局整数 = 全局数组的某几个字节",  // 9
    "全局整数 = 字符串的某几个字符",  // 10
    "保存到ROM",  // 11
    "从ROM读取",  // 12
    "全局整数 = 字符串的第几个数字",  // 13
    "其他全局数组 = 某几个字节(倒数)",  // 14
    "= 局部数组",  // 15
};

constexpr const char* kGlobalArrayCombined[] = {
    "全局数组赋值为(16进制输入)",
    "全局数组赋值为(字符串输入)",
    "全局数组末尾添加(16进制输入)",
    "全局数组末尾添加(字符串输入)",
    "全局数组起始插入(16进制输入)",
    "全局数组起始插入(字符串输入)",
    "全局数组赋值为格式化字符串",
};

constexpr const char* kPacketSettings[] = {
    "首字节设置(10进制,输入字节值)",
    "尾字节设置(10进制,输入字节值)",
    "字节数设置",
    "临时数据包间隔时间设置",
    "使能数据连续接收(1使能 0失能)",
};

constexpr const char* kAssignToGlobalInteger[] = {
    "赋值给全局整数",
};

constexpr const char* kPulseSettings[] = {
    "占空比设置（0-100）",  // 1
    "频率设置(会更改周期)",  // 2
    "周期设置(单位ms)(会更改频率)",  // 3
    "占空比=全局整数",  // 4
    "频率=全局整数",  // 5
    "周期=全局整数",  // 6
    "占空千分比设置（0-1000）",  // 7
    "占空千分比=全局整数",  // 8
};

constexpr const char* kDisplaySetup[] = {
    "设置led显示屏横向点数",
    "设置led显示屏纵向点数",
    "设置字体(字母和数字)",
};

constexpr const char* kDirectDrawing[] = {
    "清除屏幕",  // 1
    "输出文本",  // 2
    "画点",  // 3
    "画线",  // 4
    "画圆",  // 5
    "画矩形",  // 6
    "画实心矩形",  // 7
    "反显某一矩形区域",  // 8
};

constexpr const char* kVariableDrawing[] = {
    "输出文本",  // 1
    "输出文本(数组[变量])",  // 2
    "画点",  // 3
    "画线",  // 4
    "画圆",  // 5
    "画矩形",  // 6
    "画实心矩形",  // 7
    "反显某一矩形区域",  // 8
};

// The first five end in a tab.
constexpr const char* kLocalIntegerAssignments[] = {
    "等于某值\t",  // 1
    "加上某值\t",  // 2
    "减去某值\t",  // 3
    "乘以某值\t",  // 4
    "除以某值\t",  // 5
    "等于局部整数的值",  // 6
    "加上局部整数的值",  // 7
    "减去局部整数的值",  // 8
    "乘以局部整数的值",  // 9
    "除以局部整数的值",  // 10
    "等于全局整数的值",  // 11
    "加上全局整数的值",  // 12
    "减去全局整数的值",  // 13
    "乘以全局整数的值",  // 14
    "除以全局整数的值",  // 15
    "位变量(布尔->整数)",  // 16
    "= 全局小数",  // 17
    "= 局部小数",  // 18
};

constexpr const char* kLocalIntegerBitOperations[] = {
    "左移",  // 1
    "右移",  // 2
    "与运算",  // 3
    "或运算",  // 4
    "异或运算",  // 5
    "与其他局部整数 与运算",  // 6
    "与其他局部整数 或运算",  // 7
    "与其他局部整数 异或运算",  // 8
    "与其他全局整数 与运算",  // 9
    "与其他全局整数 或运算",  // 10
    "与其他全局整数 异或运算",  // 11
    "取反运算",  // 12
    "位运算 置1/0",  // 13
    "位运算 翻转",  // 14
    "位运算 置1/0 局部整数表达",  // 15
    "位运算 翻转 局部整数表达",  // 16
    "位运算 置1/0 全局整数表达",  // 17
    "位运算 翻转 全局整数表达",  // 18
    "某一位 = 全局整数的某一位",  // 19
    "某一位 = 局部整数的某一位",  // 20
    "某一位 = 联机开关量的某一路",  // 21
    "某一位 = 输入",  // 22
    "某一位 = 输出",  // 23
    "某一位 = 位变量",  // 24
};

constexpr const char* kLocalIntegerResources[] = {
    "= 本机地址的值 ",
    "= 定时器的值 ",
    "= 模拟量输入的值",
    "保存到RAM(位置0-99 掉电丢失)",
    "从RAM读取(位置0-99 掉电丢失)",
};

constexpr const char* kLocalIntegerDateTime[] = {
    "= 当前时间的值 ",  // 1
    "= 当前年的值 ",  // 2
    "= 当前月的值 ",  // 3
    "= 当前日的值 ",  // 4
    "= 当前星期的值 ",  // 5
    "= 当前时的值 ",  // 6
    "= 当前分的值 ",  // 7
    "= 当前秒的值 ",  // 8
};

constexpr const char* kLocalIntegerSwitches[] = {
    "= 本机开关量输入的值 ",
    "= 本机开关量输出的值 ",
    "= 联机开关量",
};

constexpr const char* kLocalIntegerStorage[] = {
    "保存到内部ROM扇区",
    "从内部ROM扇区读取",
};

constexpr const char* kLocalIntegerSending[] = {
    "通过数据口发送(16进制 高位在前)",
    "通过数据口发送(10进制字符串)",
};

constexpr const char* kLocalArraySimple[] = {
    "清空",  // 1
    "字节倒序",  // 2
    "每个字节的前后四位互换",  // 3
    "字符串全部转化为小写",  // 4
    "字符串全部转化为大写",  // 5
    "尾部添加和校验字节",  // 6
    "尾部添加CRC16校验字节",  // 7
    "每个字节的位倒序",  // 8
};

constexpr const char* kLocalArrayAdding[] = {
    "赋值为字节(16进制输入)",  // 1
    "赋值为字符串(字符串输入)",  // 2
    "头部增加字节(16进制输入)",  // 3
    "头部增加字符串(字符串输入)",  // 4
    "尾部增加字节(16进制输入)",  // 5
    "尾部增加字符串(字符串输入)",  // 6
    "给定位置插入字节(16进制输入)",  // 7
    "给定位置插入字符串(字符串输入)",  // 8
};

constexpr const char* kLocalArrayDeleting[] = {
    "删除首字节",
    "删除尾字节",
    "删除头部多个字节",
    "删除尾部多个字节",
    "删除多个字节",
    "删除多字节，局部整数表达",
};

constexpr const char* kLocalArrayCombining[] = {
    "=局部数组",  // 1
    "=局部数组+局部数组",  // 2
    "=全局数组",  // 3
    "=局部数组+全局数组",  // 4
    "=全局数组+局部数组",  // 5
    "=临时数据包",  // 6
    "=局部数组+临时数据包",  // 7
    "=临时数据包+局部数组",  // 8
};

constexpr const char* kLocalArrayFromLocalInteger[] = {
    "局部数组(字符) = 局部整数",
    "局部数组(字节) = 局部整数",
    "局部数组某几个字符 = 局部整数",
    "局部数组某几个字节 = 局部整数",
};

constexpr const char* kLocalArrayFromGlobalInteger[] = {
    "局部数组(字符) = 全局整数",
    "局部数组(字节) = 全局整数",
    "局部数组某几个字符 = 全局整数",
    "局部数组某几个字节 = 全局整数",
};

constexpr const char* kLocalArrayStorage[] = {
    "存储到内部扇区ROM",
    "从内部扇区ROM读取",
    "存储到外部非易失RAM",
    "从外部非易失RAM读取",
};

constexpr const char* kLocalArraySending[] = {
    "通过数据口发送",
};

constexpr const char* kCallArguments[] = {
    "参数 立即数字",
    "参数 立即数组",
    "参数 立即字符串",
    "参数 内部资源",
};

constexpr const char* kCallReturns[] = {
    "函数返回 立即数字",
    "函数返回 立即数组",
    "函数返回 立即字符串",
    "函数返回 内部资源",
};

constexpr const char* kCallEntry[] = {
    "内部资源 = 函数入口参数",
};

constexpr const char* kDecimalAssignments[] = {
    "赋值为立即数",  // 1
    "赋值为全局小数",  // 2
    "赋值为局部小数",  // 3
    "赋值为全局变量",  // 4
    "赋值为局部整数",  // 5
    "赋值为局部数组字符串中的数字",  // 6
    "赋值为局部数组字节单精度4字节",  // 7
    "赋值为局部数组字节双精度8字节",  // 8
    "赋值为全局数组字符串中的数字",  // 9
    "赋值为临时数据包字符串中的数字",  // 10
};

constexpr const char* kDecimalOperands[] = {
    "立即数",  // 1
    "全局小数",  // 2
    "局部小数",  // 3
    "全局变量",  // 4
    "局部整数",  // 5
    "局部数组字符串中的数字",  // 6
    "局部数组字节单精度4字节",  // 7
    "局部数组字节双精度8字节",  // 8
    "全局数组字符串中的数字",  // 9
    "临时数据包字符串中的数字",  // 10
};

constexpr const char* kDecimalConversions[] = {
    "转化为局部数组字符串",  // 1
    "转化为局部数组字节单精度4字节",  // 2
    "转化为局部数组字节双精度8字节",  // 3
    "转化为全局数组字符串",  // 4
    "转化为全局数组字节单精度4字节",  // 5
    "转化为全局数组字节双精度8字节",  // 6
    "通过数据口发送字符串",  // 7
    "通过数据口发送字节单精度4字节",  // 8
    "通过数据口发送字节双精度8字节",  // 9
};

constexpr const char* kExpressionActions[] = {
    "表达式运算",
    "线程等待等式成立，若多条则并且，用分号(;)间隔",
    "线程等待等式成立，若多条则或者，用分号(;)间隔",
};

constexpr const char* kFunctionActions[] = {
    "返回表达式",
    "返回空",
    "跳转到函数开始",
    "表达式方式调用函数",
};

constexpr const char* kArrayToVariableDefaults[] = {
    "数组转变量为默认整数",
    "数组转变量为默认浮点数",
};

constexpr const char* kArrayToInteger[] = {
    "数组转整数采用字节数组转换模式",
    "数组转整数采用字符串转换模式",
    "字节数组转整数低位字节在前",
    "字节数组转整数高位字节在前",
    "字符串转整数采用10进制(默认)",
    "字符串转整数采用16进制",
    "字符串转整数采用2进制",
};

constexpr const char* kIntegerToArray[] = {
    "整数转数组采用字节数组转换模式",  // 1
    "整数转数组采用字符串转换模式",  // 2
    "整数转字节数组低位字节在前",  // 3
    "整数转字节数组高位字节在前",  // 4
    "整数转字节数组字节数(默认0 根据需要)",  // 5
    "整数转字符串采用10进制(默认)",  // 6
    "整数转字符串采用16进制",  // 7
    "整数转字符串采用2进制",  // 8
    "整数转字符串场宽(总位数)设置",  // 9
};

constexpr const char* kArrayToFloat[] = {
    "数组转浮点数采用字节数组转换模式",
    "数组转浮点数采用字符串转换模式",
    "字节数组转浮点数 单精度4字节 低位在前",
    "字节数组转浮点数 单精度4字节 高位在前",
    "字节数组转浮点数 双精度8字节 低位在前",
    "字节数组转浮点数 双精度8字节 高位在前",
};

constexpr const char* kFloatToArray[] = {
    "浮点数转数组采用字节数组转换模式",  // 1
    "浮点数转数组采用字符串转换模式",  // 2
    "浮点数转字节数组 单精度4字节 低位在前",  // 3
    "浮点数转字节数组 单精度4字节 高位在前",  // 4
    "浮点数转字节数组 双精度8字节 低位在前",  // 5
    "浮点数转字节数组 双精度8字节 高位在前",  // 6
    "浮点数转字符串场宽(总位数)设置",  // 7
    "浮点数转字符串小数点位数设置",  // 8
};

constexpr const char* kStartupParameters[] = {
    "清空所有参数",  // 1
    "读取所有参数",  // 2
    "保存所有参数",  // 3
    "设置输入数量",  // 4
    "设置输入IO",  // 5
    "设置输出数量",  // 6
    "设置输出IO",  // 7
    "设置LED指示IO",  // 8
    "设置时钟芯片IO",  // 9
    "设置地址拨码IO",  // 10
    "使能无线遥控接收",  // 11
    "设置位变量支持时间点动数量",  // 12
    "设置铁电存储接口IO(FM25CL64 CS,SCK,DOUT,DIN)",  // 13
    "使能数据口",  // 14
    "设置数据口数据指示IO",  // 15
    "设置数据口485控制IO",  // 16
    "使能(失能)数据口55协议检测",  // 17
    "使能(失能)数据口modbus协议检测",  // 18
    "设置上电stop模式IO",  // 19
    "设置数码管显示地址系统IO(keyup down rclk sclk en dat)",  // 20
    "设置55协议回码内容",  // 21
    "设置涂鸦数据口",  // 22
    "设置涂鸦按键IO(对码按键)",  // 23
    "设置涂鸦led指示灯IO(对码闪烁)",  // 24
    "设置涂鸦产品码",  // 25
    "设置涂鸦io数量",  // 26
    "设置涂鸦连续操作的间隔时间(ms)",  // 27
};

constexpr const char* kAddressSetting[] = {
    "设置485通讯地址",
};

constexpr const char* kKeypadSettings[] = {
    "设置输入IO(有效电平+IO)",  // 1
    "设置输出IO(有效电平+IO)",  // 2
    "设置LED驱动IO(有效电平+IO)",  // 3
    "设置扫描方式（0行扫1列扫）",  // 4
    "按键重映射",  // 5
    "led亮度级数（1-101）",  // 6
    "led默认亮度（0-100）",  // 7
    "映射输入起始序号",  // 8
    "映射输出起始序号",  // 9
};

constexpr const char* kHighFrequencySettings[] = {
    "设置本机高频中断频率（khz）",
    "使能pwm",
    "使能输入高频计数",
};

constexpr const char* kInfraredSettings[] = {
    "设置红外数据口",  // 1
    "设置红外通道数量",  // 2
    "设置红外通道IO",  // 3
    "设置红外忙信号IO",  // 4
    "设置红外发送缓冲区个数",  // 5
    "设置led指示IO",  // 6
    "设置红外芯片类型代号",  // 7
    "设置红外芯片采集精度",  // 8
    "设置红外芯片地址",  // 9
    "清空红外相关上电参数",  // 10
};

constexpr const char* kPwmSettings[] = {
    "清空pwm相关上电启动参数",
    "使能pwm",
    "使能pwm驱动IO",
};

constexpr const char* kPortSending[] = {
    "发送16进制数据",
    "发送字符串",
    "发送表达式",
    "发送格式化字符串",
    "延迟等待",
};

constexpr const char* kArrayAssignments[] = {
    "等于16进制数据",
    "等于字符串",
    "等于表达式",
    "等于格式化字符串",
};

constexpr const char* kRelayOutputs[] = {
    "断开某路",  // 1
    "闭合某路",  // 2
    "翻转某路",  // 3
    "点动某路",  // 4
    "全部断开",  // 5
    "全部闭合",  // 6
    "全部翻转",  // 7
    "全部点动",  // 8
    "顺序断开",  // 9
    "顺序闭合",  // 10
    "顺序翻转",  // 11
    "顺序点动",  // 12
};

constexpr const char* kSwitchInputs[] = {
    "外部输入连击或者长按的时间常数(ms)",
    "高速运行(取消抖动延迟 默认有)",
};

constexpr const char* kPulseOutputs[] = {
    "占空比（浮点数: 0.000 - 1.000）",
    "频率",
    "周期",
};

constexpr const char* kSystemRun[] = {
    "运行间隔",  // 1
    "线程阻塞延迟",  // 2
    "系统阻塞延迟",  // 3
    "获取唯一识别码",  // 4
    "设置全局数组边界",  // 5
    "设置局部数组边界",  // 6
    "启动线程",  // 7
    "暂停线程",  // 8
    "停止线程",  // 9
};

constexpr const char* kArrayOperations[] = {
    "提取数组内容(起始0 位置 数量)",  // 1
    "提取数组尾部",  // 2
    "提取数组长度",  // 3
    "提取数组非连续字节",  // 4
    "数组中插入数组",  // 5
    "删除数组连续字节(起始0 位置 数量)",  // 6
    "删除数组非连续字节",  // 7
    "删除数组末尾字节（数量）",  // 8
    "尾部添加累加和校验",  // 9
    "尾部添加异或和校验",  // 10
    "尾部添加CRC16校验",  // 11
    "尾部添加CRC8校验",  // 12
    "字节倒序",  // 13
    "每个字节前后四位互换",  // 14
    "每个字节的位倒序",  // 15
    "字节转化为16进制编辑字符串",  // 16
    "固定长度,不足补0，多余删除",  // 17
};

constexpr const char* kStringOperations[] = {
    "格式化字符串",
    "转化为小写",
    "转化为大写",
    "提取整数",
    "提取浮点数",
};

constexpr const char* kIntegerOperators[] = {
    "等于",  // 1
    "←移",  // 2
    "→移",  // 3
    "与运算",  // 4
    "或运算",  // 5
    "异或运算",  // 6
    "取反运算",  // 7
    "位取反（bit0 - bit31）",  // 8
    "写整数位",  // 9
    "读整数位",  // 10
};

constexpr const char* kProtocolCommands[] = {
    "使能本机数据口检测55协议(0或者无代表全部)",  // 1
    "失能本机数据口检测55协议(0或者无代表全部)",  // 2
    "操作联机继电器使用无回码命令",  // 3
    "操作联机继电器使用有回码命令",  // 4
    "发送本机状态",  // 5
    "查询联机状态",  // 6
    "断开",  // 7
    "闭合",  // 8
    "翻转",  // 9
    "点动",  // 10
    "顺序断开",  // 11
    "顺序闭合",  // 12
};

constexpr const char* kChipMemory[] = {
    "从存储扇区读取缓冲区",
    "清零缓冲区 所有字节赋值为0",
    "保存缓冲区到存储扇区",
    "写缓冲区数组 占用空间数组长度+1",
    "读缓冲区 数组",
};

constexpr const char* kModbusCommands[] = {
    "读modbus从机寄存器（功能码01 02 03）",
    "写单个modbus从机寄存器（功能码05 06）",
    "写多个modbus从机寄存器（功能码15 16）",
    "提取本机接收到的modbus从机寄存器的值",
};

constexpr const char* kPulseControl[] = {
    "设置频率",
    "设置占空比(浮点数 0.0-1.0)",
};

constexpr const char* kPacketSettings118[] = {
    "数据头设置",
    "数据尾设置",
    "数据长度设置(字节数)",
    "数据间隔时间设置(ms)",
    "数据超时接收(1使能0失能 上电默认1)",
    "数据连续接收(1使能0失能 上电默认1)",
};

constexpr const char* kRemotePairing[] = {
    "涂鸦系统进入对码状态",
};

// ---- Param3 suggestion texts -------------------------------------------------

constexpr const char* kNumberBases[] = {
    "10进制(默认)",
    "16进制",
    "2进制",
};

constexpr const char* kByteMeanings[] = {
    "一个字节2个16进制位(默认)",
    "一个字节1个16进制位",
    "一个字节1个10进制位",
    "一个字节1个2进制位",
};

constexpr const char* kAsNeeded[] = {
    "根据需要",
};

constexpr const char* kFonts[] = {
    "8×16字体（默认）",
    "5×8字体",
    "8×8字体",
    "8×16宽体",
};

// ---- Which list param2 offers, by kind and param1 ------------------------------

constexpr ChoiceRule kParam2Lists[] = {
    {1, span(1, 4), kAnyValue, {aliases(kOutputWord, 32)}},
    {1, only(11), kAnyValue, {aliases(kOutputWord, 32)}},
    {1, span(18, 21), kAnyValue, {aliases(kOutputWord, 32)}},
    {1, span(5, 7), kAnyValue, {texts(kGroupChannels)}},
    {1, only(8), kAnyValue, {texts(kAllOpen)}},
    {1, only(9), kAnyValue, {texts(kAllClosed)}},
    {1, only(10), kAnyValue, {texts(kAllToggled)}},
    {1, only(12), kAnyValue, {texts(kValueInParam3)}},
    {1, span(13, 17), kAnyValue, {texts(kGlobalIntegerInParam3)}},
    {1, only(22), kAnyValue, {texts(kSequences)}},
    {2, kAnyValue, kAnyValue, {texts(kTimerOperations)}},
    {3, span(1, 4), kAnyValue, {aliases(kBitVariableWord, 200)}},
    {4, kAnyValue, kAnyValue, {texts(kIntegerOperations)}},
    {5, only(1), kAnyValue, {aliases(kDataPortWord, 32)}},
    {5, only(2), kAnyValue, {texts(kRelayReplyModes)}},
    {5, span(3, 4), kAnyValue, {numbered("掉电保存ROM扇区%u", 100, -1)}},
    {5, only(5), kAnyValue, {texts(kConversionModes)}},
    {5, only(6), kAnyValue, {numbered("默认%u位小数", 10, -1)}},
    {5, only(7), kAnyValue, {numbered("地址%u", 255, -1)}},
    {5, only(8), kAnyValue, {numbered("位变量支持时间点动数量 = %u", 255, -1)}},
    {6, only(1), kAnyValue, {texts(kMillisecondsInParam3)}},
    {6, only(2), kAnyValue, {texts(kRetired)}},
    {6, only(3), kAnyValue, {aliases(kDataPortWord, 32)}},
    {6, only(4), kAnyValue, {texts(kAllInputs), numbered("输入%u", 32)}},
    {6, only(5), kAnyValue, {texts(kNothing)}},
    {6, only(6), kAnyValue, {texts(kCommandSwitches)}},
    {7, kAnyValue, kAnyValue, {texts(kUartSettings)}},
    {8, kAnyValue, kAnyValue, {texts(kBatchOperations)}},
    {9, span(1, 2), kAnyValue, {numbered("红外发射通道%u", 8)}},
    {9, only(4), kAnyValue, {numbered("全局数组%u", 200)}},
    {9, only(5), kAnyValue, {texts(kInfraredChipSettings)}},
    {10, span(1, 6), kAnyValue, {texts(kSendParam3)}},
    {11, span(1, 6), kAnyValue, {texts(kSendParam3)}},
    {12, only(1), kAnyValue, {aliases(kFunctionWord, 100)}},
    {12, only(4), kAnyValue, {aliases(kGlobalIntegerWord, 200)}},
    {12, only(5), kAnyValue, {numbered("局部整数%d", 200, -1)}},
    {13, kAnyValue, kAnyValue, {texts(kRelayBoardOperations)}},
    {14, kAnyValue, kAnyValue, {texts(kStateBroadcasts)}},
    {15, kAnyValue, kAnyValue, {texts(kDisplayVariables)}},
    {16, only(1), kAnyValue, {texts(kSpeechOutputs)}},
    {16, only(2), kAnyValue, {texts(kTrackControls)}},
    {16, only(3), kAnyValue, {texts(kPlayerControls)}},
    {17, only(1), kAnyValue, {texts(kDelayCycles)}},
    {18, only(1), kAnyValue, {aliases(kGlobalArrayWord, 200)}},
    {18, only(2), kAnyValue, {aliases(kDataPortWord, 32)}},
    {18, only(3), kAnyValue, {numbered("局部数组%u", 200)}},
    {19, kAnyValue, kAnyValue, {texts(kGlobalArraySimple)}},
    {20, kAnyValue, kAnyValue, {texts(kGlobalArrayComplex)}},
    {21, kAnyValue, kAnyValue, {texts(kGlobalArrayCombined)}},
    {22, kAnyValue, kAnyValue, {texts(kPacketSettings)}},
    {23, kAnyValue, kAnyValue, {texts(kAssignToGlobalInteger)}},
    {24, kAnyValue, kAnyValue, {texts(kPulseSettings)}},
    {25, only(1), kAnyValue, {texts(kDisplaySetup)}},
    {25, only(2), kAnyValue, {texts(kDirectDrawing)}},
    {25, only(3), kAnyValue, {texts(kVariableDrawing)}},
    {26, only(1), kAnyValue, {texts(kLocalIntegerAssignments)}},
    {26, only(2), kAnyValue, {texts(kLocalIntegerBitOperations)}},
    {26, only(3), kAnyValue, {texts(kLocalIntegerResources)}},
    {26, only(4), kAnyValue, {texts(kLocalIntegerDateTime)}},
    {26, only(5), kAnyValue, {texts(kLocalIntegerSwitches)}},
    {26, only(6), kAnyValue, {texts(kLocalIntegerStorage)}},
    // The twelve array conversions: integer operations 49 to 60.
    {26, only(7), kAnyValue, {texts(kIntegerOperations + 48, 12)}},
    {26, only(8), kAnyValue, {texts(kLocalIntegerSending)}},
    {27, only(1), kAnyValue, {texts(kLocalArraySimple)}},
    {27, only(2), kAnyValue, {texts(kLocalArrayAdding)}},
    {27, only(3), kAnyValue, {texts(kLocalArrayDeleting)}},
    {27, only(4), kAnyValue, {texts(kLocalArrayCombining)}},
    {27, only(5), kAnyValue, {texts(kLocalArrayFromLocalInteger)}},
    {27, only(6), kAnyValue, {texts(kLocalArrayFromGlobalInteger)}},
    {27, only(7), kAnyValue, {texts(kLocalArrayStorage)}},
    {27, only(8), kAnyValue, {texts(kLocalArraySending)}},
    {28, only(1), kAnyValue, {texts(kCallArguments)}},
    {28, only(2), kAnyValue, {texts(kCallReturns)}},
    {28, only(3), kAnyValue, {texts(kCallEntry)}},
    {29, only(1), kAnyValue, {texts(kDecimalAssignments)}},
    {29, only(4), kAnyValue, {texts(kDecimalAssignments)}},
    {29, only(7), kAnyValue, {texts(kDecimalAssignments)}},
    {29, only(2), kAnyValue, {texts(kDecimalOperands)}},
    {29, only(5), kAnyValue, {texts(kDecimalOperands)}},
    {29, only(3), kAnyValue, {texts(kDecimalConversions)}},
    {29, only(6), kAnyValue, {texts(kDecimalConversions)}},
    {30, only(1), kAnyValue, {texts(kExpressionActions)}},
    {30, only(2), kAnyValue, {aliases(kFunctionWord, 100)}},
    {30, only(3), kAnyValue, {texts(kFunctionActions)}},
    {30, only(4), kAnyValue, {texts(kArrayToVariableDefaults)}},
    {30, only(5), kAnyValue, {texts(kArrayToInteger)}},
    {30, only(6), kAnyValue, {texts(kIntegerToArray)}},
    {30, only(7), kAnyValue, {texts(kArrayToFloat)}},
    {30, only(8), kAnyValue, {texts(kFloatToArray)}},
    {31, only(1), kAnyValue, {texts(kStartupParameters)}},
    {31, only(2), kAnyValue, {texts(kAddressSetting)}},
    {31, only(3), kAnyValue, {texts(kKeypadSettings)}},
    {31, only(4), kAnyValue, {texts(kHighFrequencySettings)}},
    {31, only(5), kAnyValue, {texts(kInfraredSettings)}},
    {31, only(6), kAnyValue, {texts(kPwmSettings)}},
    {32, kAnyValue, kAnyValue, {texts(kPortSending)}},
    {33, kAnyValue, kAnyValue, {texts(kArrayAssignments)}},
    {34, kAnyValue, kAnyValue, {texts(kArrayAssignments)}},
    {35, only(1), kAnyValue, {texts(kRelayOutputs)}},
    {35, only(2), kAnyValue, {texts(kSwitchInputs)}},
    {35, only(3), kAnyValue, {texts(kPulseOutputs)}},
    {36, only(1), kAnyValue, {texts(kSystemRun)}},
    {36, only(2), kAnyValue, {texts(kArrayOperations)}},
    {36, only(3), kAnyValue, {texts(kStringOperations)}},
    {36, only(4), kAnyValue, {texts(kIntegerOperators)}},
    {36, only(5), kAnyValue, {texts(kProtocolCommands)}},
    {36, only(6), kAnyValue, {texts(kChipMemory)}},
    {36, only(7), kAnyValue, {texts(kModbusCommands)}},
    {36, only(8), kAnyValue, {texts(kPulseControl)}},
    {38, kAnyValue, kAnyValue, {texts(kPacketSettings118)}},
    {39, only(1), kAnyValue, {texts(kRemotePairing)}},
};

// ---- Which suggestions the param3 field offers, by kind, param1, param2 ---------

constexpr ChoiceRule kParam3Suggestions[] = {
    // The same eight operations as a local array's simple processing.
    {19, kAnyValue, only(1), {texts(kLocalArraySimple)}},
    {19, kAnyValue, span(2, 3), {numbered("全局数组%u", 100)}},
    {19, kAnyValue, only(6), {numbered("第%u个字节", 200)}},
    {19, kAnyValue, span(7, 13), {aliases(kGlobalIntegerWord, 100)}},
    {19, kAnyValue, span(18, 21), {aliases(kGlobalIntegerWord, 100)}},
    {19, kAnyValue, only(14), {aliases(kDataPortWord, 32)}},
    {19, kAnyValue, only(15), {texts(kNumberBases)}},
    {19, kAnyValue, only(16), {texts(kByteMeanings)}},
    {19, kAnyValue, only(17), {texts(kAsNeeded), numbered("固定%u字节", 32)}},
    {19, kAnyValue, span(22, 23), {numbered("位置%u", 252, -1)}},
    {19, kAnyValue, span(24, 25), {numbered("N=%u", 200)}},
    {25, only(1), only(3), {texts(kFonts)}},
    {9, only(2), kAnyValue, {numbered("全局数组%u", 32)}},
};

}  // namespace

std::string resultParam2Text(int kind, int param1, int param2)
{
    if (kind == 0 || param1 == 0 || param2 == 0)
        return std::string();
    const ChoiceList* list = findRule(kParam2Lists, std::size(kParam2Lists), kind, param1, 0);
    return list ? choiceText(*list, param2) : std::string();
}

std::string resultParam3Choice(const std::uint8_t* result, int n)
{
    const ChoiceList* list =
        findRule(kParam3Suggestions, std::size(kParam3Suggestions), result[0], result[1], result[2]);
    return list ? choiceText(*list, n) : std::string();
}

std::string relayBoardOperationName(int code)
{
    return choiceText({texts(kRelayBoardOperations)}, code);
}

}  // namespace orlo
