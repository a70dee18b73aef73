// The condition catalogue's tables and their readers (see conditions.h).
#include "catalogue/conditions.h"

#include <iterator>

#include "catalogue/resource_names.h"

namespace orlo {
namespace {

constexpr KindRow kKinds[] = {
    {1, "外部输入", 5, 0},
    {2, "输出状态变化", 5, 0},
    {3, "定时器", 9, 0},
    {4, "位变量", 5, 0},
    {5, "全局整数（全局整数/全局变量）", 9, 0},
    {6, "固定输入", 4, 0},
    {7, "无线遥控器", 13, 0},
    {8, "时间设定", 9, 0},
    {9, "日期设定", 6, 0},
    {10, "接收到字符串", 6, 3},
    {11, "接收到16进制数据", 6, 3},
    {12, "联机开关量", 6, 0},
    {13, "公共数据量", 9, 0},
    {14, "模拟量输入", 9, 0},
    {15, "临时数据包简单判断", 5, 0},
    {16, "临时数据包高级判断", 6, 3},
    {17, "全局数组简单判断", 6, 0},
    {18, "环境监测", 9, 0},
    {19, "全局数组高级判断", 6, 3},
    {20, "局部数组", 10, 7},
    {21, "局部整数", 11, 0},
    {22, "函数判断", 12, 9},
    {23, "小数变量", 20, 0},
    {24, "表达式/函数判断(118)", 6, 3},
    {25, "数据口接收到数据(118)", 6, 3},
};

// ---- Choice texts --------------------------------------------------------

constexpr const char* kFixedInputs[] = {
    "上电初始化",
    "本条件恒定成立",
    "本条件恒定不成立",
};

constexpr const char* kRemoteSources[] = {
    "无线接收模块315M",
    "接收到万能红外发射对码信号",
};

constexpr const char* kMomentComparisons[] = {
    "进入时刻",
    "大于",
    "小于",
    "等于",
};

constexpr const char* kDateFields[] = {
    "年设定 参数3格式 2001-2099",
    "月设定 参数3格式 1-12",
    "日设定 参数3格式 1-31",
    "星期设定 参数3格式 1-7",
};

constexpr const char* kPacketTests[] = {
    "接收到临时数据包",
    "数据口判断",
    "字节数判断",
    "校验判断",
    "等于数组的内容",
    "包含数组的内容",
    "CAN报文参数判断",
};

constexpr const char* kPacketPatterns[] = {
    "判断某几个16进制数据",
    "判断某几个字符",
    "包含某几个16进制数据",
    "包含某几个字符",
    "CAN ID 判断",
};

constexpr const char* kLocalArrayKinds[] = {
    "局部数组参数判断",
    "局部数组内容判断",
};

constexpr const char* kLocalIntegerKinds[] = {
    "与固定值比较",
    "与其他局部整数比较",
    "与全局整数比较",
    "位判断",
};

constexpr const char* kFormulaKinds[] = {
    "表达式",
    "用户函数",
};

constexpr const char* kInputStates[] = {
    "断开",  // 1
    "闭合",  // 2
    "断开到闭合",  // 3
    "闭合到断开",  // 4
    "状态翻转",  // 5
    "单击",  // 6
    "双击",  // 7
    "长按",  // 8
    "连续按下多次 全局整数1代表次数",  // 9
};

constexpr const char* kTimerComparisons[] = {
    "大于",  // 1
    "小于",  // 2
    "等于",  // 3
    "大于全局整数",  // 4
    "小于全局整数",  // 5
    "等于全局整数",  // 6
    "大于整数",  // 7
    "小于整数",  // 8
    "等于整数",  // 9
    "减到0",  // 10
};

constexpr const char* kBitStates[] = {
    "=0",
    "=1",
    "0到1跳变",
    "1到0跳变",
    "状态翻转",
};

constexpr const char* kIntegerComparisons[] = {
    "大于 参数3 的值",
    "小于 参数3 的值",
    "等于 参数3 的值",
    "大于全局整数的值",
    "小于全局整数的值",
    "等于全局整数的值",
    "位判断",
};

constexpr const char* kNoOtherParameter[] = {
    "无其他参数",
};

constexpr const char* kNothing[] = {
    "无",
};

constexpr const char* kTimeFormats[] = {
    "固定格式 XX时XX分XX秒",
};

constexpr const char* kReceivedContent[] = {
    "参数3输入数据的内容",
};

constexpr const char* kGlobalArrayTests[] = {
    "字节数判断",
    "校验判断",
    "等于其他全局数组的内容",
    "查找其他全局数组的内容",
};

constexpr const char* kArrayPatterns[] = {
    "等于某几个16进制数据",
    "等于某几个字符",
    "包含某几个16进制数据",
    "包含某几个字符",
};

constexpr const char* kLocalArrayTests[] = {
    "字节数判断",
    "和校验判断",
    "crc16校验判断",
    "等于其他局部数组的内容",
    "包含其他局部数组的内容",
    "等于其他全局数组的内容",
    "包含其他全局数组的内容",
};

constexpr const char* kCompareWithValue[] = {
    "等于某值",
    "大于某值",
    "小于某值",
};

constexpr const char* kCompareWithLocal[] = {
    "等于整数的值",
    "大于整数的值",
    "小于整数的值",
};

constexpr const char* kCompareWithGlobal[] = {
    "等于全局整数的值",
    "大于全局整数的值",
    "小于全局整数的值",
};

constexpr const char* kBitTests[] = {
    "判断某一位 =1/0",
    "判断某一位 =位变量",
    "判断某一位 =输入",
    "判断某一位 =输出",
    "判断某一位 =整数的某一位",
    "判断某一位 =全局整数的某一位",
};

constexpr const char* kExpressionForms[] = {
    "一般计算表达式",
};

constexpr const char* kPortTests[] = {
    "有无判断",  // 1
    "等于16进制数据",  // 2
    "等于字符串",  // 3
    "等于表达式",  // 4
    "字节数等于",  // 5
    "包含",  // 6
    "位置等于",  // 7
    "和校验判断（V126）",  // 8
    "CRC16校验判断（V126）",  // 9
};

constexpr const char* kChecksums[] = {
    "和校验",
    "CRC16校验",
};

constexpr const char* kSunday[] = {"星期日"};

// ---- Which list each parameter offers -------------------------------------

constexpr ChoiceRule kParam1Lists[] = {
    {1, kAnyValue, kAnyValue, {aliases(kInputWord, 200)}},
    {2, kAnyValue, kAnyValue, {aliases(kOutputWord, 200)}},
    {3, kAnyValue, kAnyValue, {aliases(kTimerWord, 200)}},
    {4, kAnyValue, kAnyValue, {aliases(kBitVariableWord, 200)}},
    {5, kAnyValue, kAnyValue, {aliases(kGlobalIntegerWord, 200)}},
    {6, kAnyValue, kAnyValue, {texts(kFixedInputs)}},
    {7, kAnyValue, kAnyValue, {texts(kRemoteSources)}},
    {8, kAnyValue, kAnyValue, {texts(kMomentComparisons)}},
    {9, kAnyValue, kAnyValue, {texts(kDateFields)}},
    {10, kAnyValue, kAnyValue, {aliases(kDataPortWord, 32)}},
    {11, kAnyValue, kAnyValue, {aliases(kDataPortWord, 32)}},
    // Linked relay modules by address: value 1 is address 0.
    {12, kAnyValue, kAnyValue, {numbered("地址%u", 255, -1)}},
    {14, kAnyValue, kAnyValue, {numbered("模拟量输入%d", 200)}},
    {15, kAnyValue, kAnyValue, {texts(kPacketTests)}},
    {16, kAnyValue, kAnyValue, {texts(kPacketPatterns)}},
    {17, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 100)}},
    {19, kAnyValue, kAnyValue, {aliases(kGlobalArrayWord, 100)}},
    {20, kAnyValue, kAnyValue, {texts(kLocalArrayKinds)}},
    {21, kAnyValue, kAnyValue, {texts(kLocalIntegerKinds)}},
    {24, kAnyValue, kAnyValue, {texts(kFormulaKinds)}},
    {25, kAnyValue, kAnyValue, {aliases(kDataPortWord, 10)}},
};

// Keyed by kind and, for kinds 20, 21 and 24, by param1.
constexpr ChoiceRule kParam2Lists[] = {
    {1, kAnyValue, kAnyValue, {texts(kInputStates)}},
    {2, kAnyValue, kAnyValue, {texts(kInputStates, 5)}},
    {3, kAnyValue, kAnyValue, {texts(kTimerComparisons)}},
    {4, kAnyValue, kAnyValue, {texts(kBitStates)}},
    {5, kAnyValue, kAnyValue, {texts(kIntegerComparisons)}},
    {6, kAnyValue, kAnyValue, {texts(kNoOtherParameter)}},
    {7, kAnyValue, kAnyValue, {texts(kNothing)}},
    // Value 2 (the time held in a global integer) has no text.
    {8, kAnyValue, kAnyValue, {texts(kTimeFormats)}},
    {9, kAnyValue, kAnyValue, {texts(kMomentComparisons)}},
    {10, kAnyValue, kAnyValue, {texts(kReceivedContent)}},
    {11, kAnyValue, kAnyValue, {texts(kReceivedContent)}},
    {12, kAnyValue, kAnyValue, {numbered("第%u路", 32)}},
    // The comparisons of kind 5 without the bit test.
    {13, kAnyValue, kAnyValue, {texts(kIntegerComparisons, 6)}},
    {14, kAnyValue, kAnyValue, {texts(kIntegerComparisons, 6)}},
    {17, kAnyValue, kAnyValue, {texts(kGlobalArrayTests)}},
    // The comparisons of kind 3 with constants and global integers.
    {18, kAnyValue, kAnyValue, {texts(kTimerComparisons, 6)}},
    {19, kAnyValue, kAnyValue, {texts(kArrayPatterns)}},
    {20, only(1), kAnyValue, {texts(kLocalArrayTests)}},
    {20, only(2), kAnyValue, {texts(kArrayPatterns)}},
    {21, only(1), kAnyValue, {texts(kCompareWithValue)}},
    {21, only(2), kAnyValue, {texts(kCompareWithLocal)}},
    {21, only(3), kAnyValue, {texts(kCompareWithGlobal)}},
    {21, only(4), kAnyValue, {texts(kBitTests)}},
    // Value 2 (a thread's wait condition) has no text.
    {24, only(1), kAnyValue, {texts(kExpressionForms)}},
    // The number of the user function called.
    {24, only(2), kAnyValue, {numbered("函数%u", 100)}},
    {25, kAnyValue, kAnyValue, {texts(kPortTests)}},
};

// The kinds whose param3 is chosen from a list; the choice goes to byte 3.
constexpr ChoiceRule kParam3Lists[] = {
    {9, only(1), kAnyValue, {numbered("%u年", 99, 2000)}},
    {9, only(2), kAnyValue, {numbered("%u月", 12)}},
    {9, only(3), kAnyValue, {numbered("%u日", 31)}},
    {9, only(4), kAnyValue, {numbered("星期%u", 6), texts(kSunday)}},
    {12, kAnyValue, kAnyValue, {texts(kInputStates, 5)}},
    {17, kAnyValue, only(1), {numbered("%u个字节", 200, -1)}},
    {17, kAnyValue, only(2), {texts(kChecksums)}},
    {17, kAnyValue, span(3, 4), {aliases(kGlobalArrayWord, 200)}},
};

template <std::size_t N>
std::string ruleText(const ChoiceRule (&rules)[N], const std::uint8_t* record, int value)
{
    const ChoiceList* list = findRule(rules, N, record[0], record[1], record[2]);
    return list ? choiceText(*list, value) : std::string();
}

}  // namespace

KindInfo conditionKindInfo(const std::uint8_t* record)
{
    return kindInfoFrom(kKinds, std::size(kKinds), record);
}

std::string conditionKindName(int code)
{
    for (const KindRow& row : kKinds) {
        if (row.code == code)
            return row.name;
    }
    return std::string();
}

std::string conditionParam1Text(const std::uint8_t* record, int value)
{
    return ruleText(kParam1Lists, record, value);
}

std::string conditionParam2Text(const std::uint8_t* record, int value)
{
    return ruleText(kParam2Lists, record, value);
}

std::string conditionParam3Text(const std::uint8_t* record, int value)
{
    return ruleText(kParam3Lists, record, value);
}

std::vector<int> offeredConditionKinds()
{
    std::vector<int> codes;
    for (std::uint8_t code : kConditionKindMenu) {
        if (conditionKindName(code).empty())
            break;
        codes.push_back(code);
    }
    return codes;
}

}  // namespace orlo
