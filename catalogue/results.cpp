// The result catalogue's kind table and first choice lists, and their
// readers (see results.h). The second choices and the param3 suggestions
// are in result_choices.cpp.
#include "catalogue/results.h"

#include <iterator>

#include "catalogue/resource_names.h"

namespace orlo {
namespace {

// The count byte of the variable kinds: instruction byte 3 is param3 byte 0.
constexpr KindRow kKinds[] = {
    {1, "输出操作", 9, 0},
    {2, "定时器", 9, 0},
    {3, "位变量", 9, 0},
    {4, "全局整数(原内部变量)", 9, 0},
    {5, "系统简单设置", 5, 0},
    {6, "系统特殊设置", 9, 0},
    {7, "通讯参数设置", 9, 0},
    {8, "批量操作内部资源", 9, 0},
    {9, "红外发射", 6, 3},
    {10, "发送字符串", 6, 3},
    {11, "发送16进制数据", 6, 3},
    {12, "调用函数", 5, 0},
    {13, "操作联机继电器模块(发送命令)", 9, 0},
    {14, "发送本机状态", 9, 0},
    {15, "显示变量", 9, 0},
    {16, "语音输出", 6, 3},
    {17, "程序延迟", 9, 0},
    {18, "临时数据包处理", 9, 0},
    {19, "全局数组简单处理", 6, 0},
    {20, "全局数组复杂处理", 9, 0},
    {21, "全局数组综合处理", 6, 3},
    {22, "临时数据包设置", 9, 0},
    {23, "环境监测", 9, 0},
    {24, "脉冲调制输出", 9, 0},
    {25, "显示操作", 9, 0},
    {26, "局部整数", 11, 0},
    {27, "局部数组", 10, 7},
    {28, "调用函数(含参数)", 11, 8},
    {29, "小数变量/格式化变量", 20, 0},
    {30, "表达式/用户函数(118)", 6, 3},
    {31, "系统高级设置(版本118 慎用)", 6, 3},
    {32, "数据口发送数据(118)", 6, 3},
    {33, "局部数组(118)", 6, 3},
    {34, "全局数组(118)", 6, 3},
    {35, "系统外设 硬件资源(118)", 6, 3},
    {36, "系统软件资源(118)", 6, 3},
    {37, "系统设置(118)", 6, 3},
    {38, "临时数据包设置(118)", 6, 3},
    {39, "涂鸦远程控制", 6, 3},
};

// ---- Choice texts --------------------------------------------------------

constexpr const char* kOutputOperations[] = {
    "断开某一路",  // 1
    "闭合某一路",  // 2
    "翻转某一路",  // 3
    "点动某一路",  // 4
    "断开某几路(组断开)",  // 5
    "闭合某几路(组闭合)",  // 6
    "翻转某几路(组翻转)",  // 7
    "全部断开",  // 8
    "全部闭合",  // 9
    "全部翻转",  // 10
    "断开某一路固定时间然后闭合",  // 11
    "赋值为参数3的值",  // 12
    "赋值为全局整数的值",  // 13
    "断开全局整数指向的某一路",  // 14
    "闭合全局整数指向的某一路",  // 15
    "翻转全局整数指向的某一路",  // 16
    "点动全局整数指向的某一路",  // 17
    "输出 = 联机开关量",  // 18
    "输出X = 输出Y",  // 19
    "输出 = 输入",  // 20
    "输出 = 位变量",  // 21
    "顺序动作",  // 22
};

constexpr const char* kBitAssignments[] = {
    "=0",
    "=1",
    "翻转",
};

constexpr const char* kSimpleSettings[] = {
    "操作联机继电器数据口(默认数据口1)",
    "操作联机继电器返回码(默认无返回码)",
    "擦除全局整数存储区ROM",
    "擦除数组存储区ROM",
    "表达式数组与变量默认转换方式",
    "小数转字符串默认小数点位数",
    "设置485通讯地址",
};

constexpr const char* kSpecialSettings[] = {
    "点动操作联机继电器时间设置(单位 ms)",
    "作为公共数据量广播的数据来源",
    "临时数据包间隔的毫秒数",
    "输入连击和长按的时间常数(ms)",
    "程序运行间隔(ms,数字越小越快)",
    "使能或者失能控制指令",
};

constexpr const char* kBatchTargets[] = {
    "全部定时器",
    "全部全局整数",
};

constexpr const char* kInfraredActions[] = {
    "万能红外发射(固定码)",
    "万能红外发射(根据全局数组的内容)",
    "万能红外发射进入对码状态",
    "将接收到的临时红外码赋值给全局数组",
    "设置红外芯片参数（部分红外芯片支持）",
};

constexpr const char* kFunctionCalls[] = {
    "调用函数",
    "返回函数开始",
    "函数返回",
};

constexpr const char* kDelays[] = {
    "程序延迟固定周期",
};

constexpr const char* kPacketActions[] = {
    "赋值给数组",
    "通过数据口发送出去",
    "赋值给局部数组",
};

constexpr const char* kEnvironmentValues[] = {
    "PM2.5浓度值",
    "PM10浓度值",
    "温度",
    "湿度",
};

constexpr const char* kDisplayActions[] = {
    "设置参数",
    "直接坐标绘图",
    "变量坐标绘图",
};

constexpr const char* kLocalIntegerActions[] = {
    "赋值运算",  // 1
    "位运算",  // 2
    "操作内部资源",  // 3
    "赋值为时间日期",  // 4
    "赋值为开关量",  // 5
    "掉电存储",  // 6
    "与数组互转",  // 7
    "向外发送",  // 8
};

constexpr const char* kLocalArrayActions[] = {
    "无参数简单处理",  // 1
    "增加字节/字符",  // 2
    "删除字节/字符",  // 3
    "与其他数组的运算",  // 4
    "赋值为局部整数",  // 5
    "赋值为全局整数",  // 6
    "掉电存储",  // 7
    "通过数据口发送",  // 8
};

constexpr const char* kFormulaActions[] = {
    "表达式",  // 1
    "用户函数",  // 2
    "其它函数动作",  // 3
    "表达式转换默认设置",  // 4
    "数组/字符串转整数设置",  // 5
    "整数转数组/字符串设置",  // 6
    "数组/字符串转浮点数设置",  // 7
    "浮点数转数组/字符串设置",  // 8
};

constexpr const char* kPowerOnSettings[] = {
    "设置上电启动参数",
    "设置本机485地址",
    "上电配置行列式键盘（上电启动参数）",
    "上电配置高频参数",
    "上电配置万能红外发射",
    "上电配置PWM",
};

constexpr const char* kPeripherals[] = {
    "输出继电器",
    "外部开关量输入",
    "脉冲调制输出",
    "铁电存储器",
    "实时时钟",
    "无线遥控",
};

constexpr const char* kSoftwareResources[] = {
    "系统运行",  // 1
    "数组相关运算",  // 2
    "字符串相关运算",  // 3
    "整数相关运算",  // 4
    "通讯协议命令(Quorn55协议)",  // 5
    "芯片内部存储器",  // 6
    "modbus通讯协议",  // 7
    "脉冲输出控制",  // 8
};

constexpr const char* kRemoteControlActions[] = {
    "常规操作",
};

// ---- Which list param1 offers ---------------------------------------------
// Kinds 15, 16, 28, 29 and 37 offer none. Kind 3 offers three, though its
// lines may hold the codes 4 to 23 as well (the bit-variable counterparts of
// the output operations); those keep their code when edited.

constexpr ChoiceRule kParam1Lists[] = {
    {1, kAnyValue, kAnyValue, {texts(kOutputOperations)}},
    {2, kAnyValue, kAnyValue, {aliases(kTimerWord, 200)}},
    {3, kAnyValue, kAnyValue, {texts(kBitAssignments)}},
    {4, kAnyValue, kAnyValue, {aliases(kGlobalIntegerWord, 200)}},
    {5, kAnyValue, kAnyValue, {texts(kSimpleSettings)}},
    {6, kAnyValue, kAnyValue, {texts(kSpecialSettings)}},
    {7, kAnyValue, kAnyValue, {aliases(kDataPortWord, 32)}},
    {8, kAnyValue, kAnyValue, {texts(kBatchTargets)}},
    {9, kAnyValue, kAnyValue, {texts(kInfraredActions)}},
    {10, kAnyValue, kAnyValue, {aliases(kDataPortWord, 6)}},
    {11, kAnyValue, kAnyValue, {aliases(kDataPortWord, 6)}},
    {12, kAnyValue, kAnyValue, {texts(kFunctionCalls)}},
    // Linked relay modules by address: param1 1 is address 0.
    {13, kAnyValue, kAnyValue, {numbered("地址%u", 255, -1)}},
    {14, kAnyValue, kAnyValue, {aliases(kDataPortWord, 6)}},
    {17, kAnyValue, kAnyValue, {texts(kDelays)}},
    {18, kAnyValue, kAnyValue, {texts(kPacketActions)}},
    {19, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 100)}},
    {20, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 100)}},
    {21, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 100)}},
    {22, kAnyValue, kAnyValue, {aliases(kDataPortWord, 10)}},
    {23, kAnyValue, kAnyValue, {texts(kEnvironmentValues)}},
    {24, kAnyValue, kAnyValue, {numbered("脉冲输出%u", 32)}},
    {25, kAnyValue, kAnyValue, {texts(kDisplayActions)}},
    {26, kAnyValue, kAnyValue, {texts(kLocalIntegerActions)}},
    {27, kAnyValue, kAnyValue, {texts(kLocalArrayActions)}},
    {30, kAnyValue, kAnyValue, {texts(kFormulaActions)}},
    {31, kAnyValue, kAnyValue, {texts(kPowerOnSettings)}},
    {32, kAnyValue, kAnyValue, {aliases(kDataPortWord, 32)}},
    {33, kAnyValue, kAnyValue, {numbered("局部数组%u", 200)}},
    {34, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 200)}},
    {35, kAnyValue, kAnyValue, {texts(kPeripherals)}},
    {36, kAnyValue, kAnyValue, {texts(kSoftwareResources)}},
    {38, kAnyValue, kAnyValue, {numbered("数据口%u", 10)}},
    {39, kAnyValue, kAnyValue, {texts(kRemoteControlActions)}},
};

}  // namespace

KindInfo resultKindInfo(const std::uint8_t* result)
{
    return kindInfoFrom(kKinds, std::size(kKinds), result);
}

std::string resultKindName(int code)
{
    for (const KindRow& row : kKinds) {
        if (row.code == code)
            return row.name;
    }
    return std::string();
}

std::string resultParam1Text(int kind, int param1)
{
    if (kind == 0 || param1 == 0)
        return std::string();
    const ChoiceList* list = findRule(kParam1Lists, std::size(kParam1Lists), kind, 0, 0);
    return list ? choiceText(*list, param1) : std::string();
}

std::string outputOperationName(int code)
{
    return choiceText({texts(kOutputOperations)}, code);
}

std::vector<int> offeredResultKinds()
{
    std::vector<int> codes;
    for (std::uint8_t code : kResultKindMenu) {
        if (resultKindName(code).empty())
            break;
        codes.push_back(code);
    }
    return codes;
}

}  // namespace orlo
