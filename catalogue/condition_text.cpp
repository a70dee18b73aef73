// The condition line texts and param3 texts (see condition_text.h). Each text
// is a pattern whose "%s" marks are filled, in order, with fields read from
// the record; the two tables below say which pattern and fields a kind and
// its parameters use. The first row that matches decides.
#include "catalogue/condition_text.h"

#include <array>
#include <cstring>
#include <string_view>

#include "catalogue/byte_text.h"
#include "catalogue/conditions.h"
#include "catalogue/resource_names.h"
#include "catalogue/table.h"
#include "expr/decoder.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace {

// What fills one "%s" of a pattern.
enum class Field : std::uint8_t {
    None,
    KindName,         // the kind's name
    Param1,           // the param1 choice text
    Param2,           // the param2 choice text
    Param3,           // conditionParam3Source
    Param3Choice,     // the param3 choice text of byte 3
    LineText,         // conditionText (param3 texts that repeat the line)
    Param2Number,     // byte 2, "%u"
    Byte3,            // "%u" of the byte
    Byte4,
    Byte5,
    Byte6,
    Byte3Less1,       // byte 3 - 1, "%d"
    Unsigned32At3,    // bytes 3-6, big-endian, "%u"
    Signed32At3,      // bytes 3-6, big-endian, "%d"
    Unsigned32At7,    // bytes 7-10, big-endian, "%u"
    Signed32At5,      // bytes 5-8, big-endian, "%d"
    TwoDigits4,       // "%02u" of the byte
    TwoDigits5,
    TwoDigits6,
    GlobalIntegerAt3, // displayName("全局整数", byte)
    GlobalIntegerAt4,
    GlobalIntegerAt5,
    GlobalArrayOfParam1,  // displayName("全局数组", param1)
    GlobalArrayAt3,       // displayName("全局数组", byte 3)
    DataPort,             // "数据口%d" of param1, no alias
    DataPortName,         // displayName("数据口", param1)
    HexAt4,           // count byte 3, the bytes from 4 as a hex list
    StringAt4,        // count byte 3, the bytes from 4 as a string
    HexAt8,           // count byte 7, the bytes from 8
    StringAt8,
    IntegerOperator,  // by param2 (kinds 5, 13, 14, 18)
    LocalOperator,    // by param2 (kind 21)
    CanIdOperator,    // by param2 (kind 16)
    ChecksumPassed,   // by byte 3 (kind 17)
    FloatWord,        // by param1 (kind 23)
    FloatOperator,    // by byte 4 (kind 23)
    DoubleAt5,        // bytes 5-12, least significant first, "%f"
    ExactDoubleAt5,   // the same, with as many decimals as reading it back needs
    Compound,         // CompoundCondition, count byte 3, code from byte 4
    CallWithParam2,   // FunctionCallTest from byte 4, named by the param2 text
    CallWithBlank,    // FunctionCallTest from byte 4, named " "
    ExpressionAt4,    // Expression from byte 4
    ListAt4,          // ExpressionList from byte 4
    ListItem1,        // its first expression
    ListItem2,        // its second expression
};

using F = Field;

struct TextRow {
    std::uint8_t kind;
    ByteRange param1;
    ByteRange param2;
    const char* pattern;
    std::array<Field, 4> fields;
};

// ---- Words chosen by a parameter ------------------------------------------

// Kinds 5, 13, 14 and 18 by param2 (kind 14 stops at 6).
constexpr const char* kIntegerOperators[] = {
    " > ", " < ", " = ", " > 全局整数", " < 全局整数", " = 全局整数", " 位判断 位",
};
// Kind 21 by param2.
constexpr const char* kLocalOperators[] = {"=", ">", "<"};
// Kind 16 with param1 5, by param2.
constexpr const char* kCanIdOperators[] = {" = 0x", " > 0x", " < 0x"};
// Kind 17 with param2 2, by byte 3.
constexpr const char* kChecksumsPassed[] = {" 和校验成功", " CRC16校验成功"};
// Kind 23 by param1.
constexpr const char* kFloatWords[] = {"全局小数", "局部小数"};
// Kind 23 by byte 4, from 0.
constexpr const char* kFloatOperators[] = {"=", ">", "<", ">=", "<=", "<>"};

template <std::size_t N>
std::string wordAt(const char* const (&words)[N], int value)
{
    return value >= 1 && value <= static_cast<int>(N) ? words[value - 1] : std::string();
}

// ---- The line texts --------------------------------------------------------

// Kinds without a row show "name  P1  P2  P3".
constexpr TextRow kDefaultLine{0, kAnyValue, kAnyValue, "%s  %s  %s  %s",
                               {F::KindName, F::Param1, F::Param2, F::Param3}};

constexpr TextRow kLineTexts[] = {
    {1, kAnyValue, kAnyValue, "%s  %s", {F::Param1, F::Param2}},
    {2, kAnyValue, kAnyValue, "%s  %s", {F::Param1, F::Param2}},
    {4, kAnyValue, kAnyValue, "%s  %s", {F::Param1, F::Param2}},
    // "减到0" (10) has no value.
    {3, kAnyValue, span(0, 9), "%s  %s%s", {F::Param1, F::Param2, F::Unsigned32At3}},
    {3, kAnyValue, kAnyValue, "%s  %s", {F::Param1, F::Param2}},
    {5, kAnyValue, span(1, 7), "%s %s%s", {F::Param1, F::IntegerOperator, F::Signed32At3}},
    {5, kAnyValue, kAnyValue, "%s %s", {F::Param1, F::Signed32At3}},
    {13, kAnyValue, span(1, 7), "%s %s%s", {F::Param1, F::IntegerOperator, F::Signed32At3}},
    {13, kAnyValue, kAnyValue, "%s %s", {F::Param1, F::Signed32At3}},
    {18, kAnyValue, span(1, 7), "%s %s%s", {F::Param1, F::IntegerOperator, F::Signed32At3}},
    {18, kAnyValue, kAnyValue, "%s %s", {F::Param1, F::Signed32At3}},
    {14, kAnyValue, span(1, 6), "%s %s%s", {F::Param1, F::IntegerOperator, F::Unsigned32At3}},
    {14, kAnyValue, kAnyValue, "%s %s", {F::Param1, F::Unsigned32At3}},
    {6, kAnyValue, kAnyValue, "%s", {F::Param1}},
    {7, only(1), kAnyValue, "接收到无线遥控器信号  无线参数:%s 无线数据:%s",
     {F::Unsigned32At3, F::Unsigned32At7}},
    {7, only(2), kAnyValue, "无线遥控 接收到万能红外发射对码信号", {}},
    {8, kAnyValue, only(1), "时间设定：%s %s时 %s分 %s秒 ",
     {F::Param1, F::TwoDigits4, F::TwoDigits5, F::TwoDigits6}},
    {8, kAnyValue, only(2), "时间设定：%s %s 所代表的距离零点的秒数",
     {F::Param1, F::GlobalIntegerAt3}},
    {8, kAnyValue, kAnyValue, "时间设定：%s ", {F::Param1}},
    {9, kAnyValue, kAnyValue, "日期设定: %s  %s", {F::Param2, F::Param3}},
    {10, kAnyValue, kAnyValue, "%s 接收到字符串：%s", {F::Param1, F::StringAt4}},
    {11, kAnyValue, kAnyValue, "%s 接收到16进制数据：%s", {F::Param1, F::HexAt4}},
    // The state of byte 3 is its param3 choice text.
    {12, kAnyValue, kAnyValue, "%s  %s  %s  %s",
     {F::KindName, F::Param1, F::Param2, F::Param3Choice}},
    {15, only(1), kAnyValue, "接收到临时数据包 ", {}},
    {15, only(2), kAnyValue, "临时数据包来自 %s", {F::Param2}},
    {15, only(3), kAnyValue, "临时数据包共 %s", {F::Param2}},
    {15, only(4), kAnyValue, "临时数据包%s成功 ", {F::Param2}},
    {15, only(5), kAnyValue, "临时数据包等于%s", {F::Param2}},
    {15, only(6), kAnyValue, "临时数据包中包含%s的内容", {F::Param2}},
    {15, only(7), kAnyValue, "临时CAN报文 类型 = %s", {F::Param2}},
    {16, only(1), kAnyValue, "临时数据包从第%s个字节为:%s", {F::Param2Number, F::HexAt4}},
    {16, only(2), kAnyValue, "临时字符串从第%s个字符为:%s", {F::Param2Number, F::StringAt4}},
    {16, only(3), kAnyValue, "临时数据包中包含十六进制数据:%s", {F::HexAt4}},
    {16, only(4), kAnyValue, "临时数据包中包含字符串:%s", {F::StringAt4}},
    {16, only(5), kAnyValue, "临时CAN报文 CAN ID%s%s", {F::CanIdOperator, F::HexAt4}},
    {17, kAnyValue, only(1), "%s的字节数为%s", {F::GlobalArrayOfParam1, F::Byte3Less1}},
    {17, kAnyValue, only(2), "%s%s", {F::GlobalArrayOfParam1, F::ChecksumPassed}},
    {17, kAnyValue, only(3), "%s = %s", {F::GlobalArrayOfParam1, F::GlobalArrayAt3}},
    {17, kAnyValue, only(4), "%s 包含 %s", {F::GlobalArrayOfParam1, F::GlobalArrayAt3}},
    {19, kAnyValue, only(1), "%s = 16进制数据： %s", {F::GlobalArrayOfParam1, F::HexAt4}},
    {19, kAnyValue, only(2), "%s = 字符串： %s", {F::GlobalArrayOfParam1, F::StringAt4}},
    {19, kAnyValue, only(3), "%s 包含16进制数据： %s", {F::GlobalArrayOfParam1, F::HexAt4}},
    {19, kAnyValue, only(4), "%s 包含字符串： %s", {F::GlobalArrayOfParam1, F::StringAt4}},
    {20, only(1), only(1), "局部数组%s 字节数=%s", {F::Byte3, F::Byte4}},
    {20, only(1), only(2), "局部数组%s 和校验成功", {F::Byte3}},
    {20, only(1), only(3), "局部数组%s CRC16校验成功", {F::Byte3}},
    {20, only(1), only(4), "局部数组%s = 局部数组%s", {F::Byte3, F::Byte4}},
    {20, only(1), only(5), "局部数组%s 包含 局部数组%s", {F::Byte3, F::Byte4}},
    {20, only(1), only(6), "局部数组%s = 全局数组%s", {F::Byte3, F::Byte4}},
    {20, only(1), only(7), "局部数组%s 包含 全局数组%s", {F::Byte3, F::Byte4}},
    {20, only(2), only(1), "局部数组%s =16进制:%s", {F::Byte3, F::HexAt8}},
    {20, only(2), only(2), "局部数组%s =字符串:%s", {F::Byte3, F::StringAt8}},
    {20, only(2), only(3), "局部数组%s 包含16进制:%s", {F::Byte3, F::HexAt8}},
    {20, only(2), only(4), "局部数组%s 包含字符串:%s", {F::Byte3, F::StringAt8}},
    // Kinds 20, 21 and 23 repeat their line as param3 text, so they never
    // fall back to the default line (which shows param3).
    {20, kAnyValue, kAnyValue, "", {}},
    {21, only(1), span(1, 3), "整数%s %s %s", {F::Byte3, F::LocalOperator, F::Signed32At5}},
    {21, only(2), span(1, 3), "整数%s %s 整数%s", {F::Byte3, F::LocalOperator, F::Byte4}},
    {21, only(3), span(1, 3), "整数%s %s %s", {F::Byte3, F::LocalOperator, F::GlobalIntegerAt4}},
    {21, only(4), only(1), "整数%s BIT%s = %s", {F::Byte3, F::Byte4, F::Byte5}},
    {21, only(4), only(2), "整数%s BIT%s = 位变量%s", {F::Byte3, F::Byte4, F::Byte5}},
    {21, only(4), only(3), "整数%s BIT%s = 输入%s", {F::Byte3, F::Byte4, F::Byte5}},
    {21, only(4), only(4), "整数%s BIT%s = 输出%s", {F::Byte3, F::Byte4, F::Byte5}},
    {21, only(4), only(5), "整数%s BIT%s = 整数%s BIT%s", {F::Byte3, F::Byte4, F::Byte5, F::Byte6}},
    {21, only(4), only(6), "整数%s BIT%s = %s BIT%s",
     {F::Byte3, F::Byte4, F::GlobalIntegerAt5, F::Byte6}},
    {21, kAnyValue, kAnyValue, "", {}},
    {22, kAnyValue, kAnyValue, "%s", {F::Param3}},
    {23, span(1, 2), only(1), "%s%s %s %s", {F::FloatWord, F::Byte3, F::FloatOperator, F::DoubleAt5}},
    {23, span(1, 2), only(2), "%s%s %s 全局小数%s",
     {F::FloatWord, F::Byte3, F::FloatOperator, F::Byte5}},
    {23, span(1, 2), only(3), "%s%s %s 局部小数%s",
     {F::FloatWord, F::Byte3, F::FloatOperator, F::Byte5}},
    {23, span(1, 2), only(4), "%s%s %s 全局变量%s",
     {F::FloatWord, F::Byte3, F::FloatOperator, F::Byte5}},
    {23, span(1, 2), only(5), "%s%s %s 整数%s", {F::FloatWord, F::Byte3, F::FloatOperator, F::Byte5}},
    {23, kAnyValue, kAnyValue, "", {}},
    {24, only(1), only(2), "线程等待条件成立：%s", {F::Param3}},
    {24, only(1), kAnyValue, "%s", {F::Param3}},
    {24, only(2), span(1, 100), "%s", {F::CallWithParam2}},
    // The port shows its alias only for param2 6 to 9.
    {25, kAnyValue, only(1), "%s 接收到数据", {F::DataPort}},
    {25, kAnyValue, only(2), "%s = 16进制 %s", {F::DataPort, F::Param3}},
    {25, kAnyValue, only(3), "%s = 字符串 %s", {F::DataPort, F::Param3}},
    {25, kAnyValue, only(4), "%s = %s", {F::DataPort, F::Param3}},
    {25, kAnyValue, only(5), "%s 字节数: %s", {F::DataPort, F::Param3}},
    {25, kAnyValue, only(6), "%s 数据包含: %s", {F::DataPortName, F::Param3}},
    {25, kAnyValue, only(7), "%s 位置%s 等于%s", {F::DataPortName, F::ListItem1, F::ListItem2}},
    {25, kAnyValue, only(8), "%s 接收到的数据包 和校验成功", {F::DataPortName}},
    {25, kAnyValue, only(9), "%s 接收到的数据包 CRC16校验成功", {F::DataPortName}},
};

// ---- The param3 texts ------------------------------------------------------

// Kinds without a row have no param3 text.
constexpr TextRow kNoSource{0, kAnyValue, kAnyValue, "", {}};

constexpr TextRow kSourceTexts[] = {
    {3, kAnyValue, kAnyValue, "%s", {F::Unsigned32At3}},
    {14, kAnyValue, kAnyValue, "%s", {F::Unsigned32At3}},
    {5, kAnyValue, kAnyValue, "%s", {F::Signed32At3}},
    {13, kAnyValue, kAnyValue, "%s", {F::Signed32At3}},
    {18, kAnyValue, kAnyValue, "%s", {F::Signed32At3}},
    {7, only(1), kAnyValue, "无线参数:%s 无线数据:%s", {F::Unsigned32At3, F::Unsigned32At7}},
    {8, kAnyValue, only(1), "%s时%s分%s秒", {F::TwoDigits4, F::TwoDigits5, F::TwoDigits6}},
    {8, kAnyValue, only(2), "全局整数%s所表示距离零点的秒数", {F::Byte3}},
    {9, kAnyValue, kAnyValue, "%s", {F::Param3Choice}},
    {12, kAnyValue, kAnyValue, "%s", {F::Param3Choice}},
    {17, kAnyValue, kAnyValue, "%s", {F::Param3Choice}},
    {10, kAnyValue, kAnyValue, "%s", {F::StringAt4}},
    {11, kAnyValue, kAnyValue, "%s", {F::HexAt4}},
    {16, only(1), kAnyValue, "%s", {F::HexAt4}},
    {16, only(2), kAnyValue, "%s", {F::StringAt4}},
    {16, only(3), kAnyValue, "%s", {F::HexAt4}},
    {16, only(4), kAnyValue, "%s", {F::StringAt4}},
    {16, only(5), kAnyValue, "%s", {F::HexAt4}},
    {19, kAnyValue, only(1), "%s", {F::HexAt4}},
    {19, kAnyValue, only(2), "%s", {F::StringAt4}},
    {19, kAnyValue, only(3), "%s", {F::HexAt4}},
    {19, kAnyValue, only(4), "%s", {F::StringAt4}},
    {20, kAnyValue, kAnyValue, "%s", {F::LineText}},
    // The line shows the global integer through its alias; the editor shows
    // the system name, whose number reads back.
    {21, only(3), span(1, 3), "整数%s %s 全局整数%s", {F::Byte3, F::LocalOperator, F::Byte4}},
    {21, only(4), only(6), "整数%s BIT%s = 全局整数%s BIT%s",
     {F::Byte3, F::Byte4, F::Byte5, F::Byte6}},
    {21, kAnyValue, kAnyValue, "%s", {F::LineText}},
    // The line's "%f" keeps six decimals; the editor needs the whole value,
    // or confirming the line would change it.
    {23, span(1, 2), only(1), "%s%s %s %s",
     {F::FloatWord, F::Byte3, F::FloatOperator, F::ExactDoubleAt5}},
    {23, kAnyValue, kAnyValue, "%s", {F::LineText}},
    {24, only(1), kAnyValue, "%s", {F::Compound}},
    {24, only(2), span(1, 100), "%s", {F::CallWithBlank}},
    {25, kAnyValue, only(2), "%s", {F::HexAt4}},
    {25, kAnyValue, only(3), "%s", {F::StringAt4}},
    {25, kAnyValue, span(4, 6), "%s", {F::ExpressionAt4}},
    {25, kAnyValue, only(7), "%s", {F::ListAt4}},
};

template <std::size_t N>
const TextRow& findRow(const TextRow (&rows)[N], const std::uint8_t* record, const TextRow& fallback)
{
    for (const TextRow& row : rows) {
        if (row.kind == record[0] && row.param1.contains(record[1]) &&
            row.param2.contains(record[2]))
            return row;
    }
    return fallback;
}

// ---- Reading the record ----------------------------------------------------

std::string unsignedText(unsigned v) { return format("%u", v); }

std::int32_t signed32(std::uint32_t v)
{
    return static_cast<std::int32_t>(v);  // two's complement
}

double doubleAt(const std::uint8_t* record, std::size_t offset)
{
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i)
        bits |= std::uint64_t(record[offset + i]) << (8 * i);
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The data of a count byte and the bytes after it, bounded by the record.
std::string_view dataAt(const std::uint8_t* record, std::size_t countOffset)
{
    const std::size_t n = fitInInstruction(countOffset + 1, record[countOffset]);
    return std::string_view(reinterpret_cast<const char*>(record + countOffset + 1), n);
}

std::string hexAt(const std::uint8_t* record, std::size_t countOffset)
{
    const std::string_view data = dataAt(record, countOffset);
    return hexBytesText(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

std::string stringAt(const std::uint8_t* record, std::size_t countOffset)
{
    const std::string_view data = dataAt(record, countOffset);
    return bytesText(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

std::string listItem(const std::uint8_t* record, std::size_t i)
{
    const ExpressionList list = decodeExpressionList(dataAt(record, 3));
    return i < list.expressions.size() ? renderExpression(list.expressions[i]) : std::string();
}

std::string fieldText(Field field, const std::uint8_t* record)
{
    switch (field) {
    case F::None:
        return std::string();
    case F::KindName:
        return conditionKindInfo(record).name;
    case F::Param1:
        return conditionParam1Text(record, record[1]);
    case F::Param2:
        return conditionParam2Text(record, record[2]);
    case F::Param3:
        return conditionParam3Source(record);
    case F::Param3Choice:
        return conditionParam3Text(record, record[3]);
    case F::LineText:
        return conditionText(record);
    case F::Param2Number:
        return unsignedText(record[2]);
    case F::Byte3:
        return unsignedText(record[3]);
    case F::Byte4:
        return unsignedText(record[4]);
    case F::Byte5:
        return unsignedText(record[5]);
    case F::Byte6:
        return unsignedText(record[6]);
    case F::Byte3Less1:
        return format("%d", record[3] - 1);
    case F::Unsigned32At3:
        return unsignedText(bigEndian32(record + 3));
    case F::Signed32At3:
        return format("%d", signed32(bigEndian32(record + 3)));
    case F::Unsigned32At7:
        return unsignedText(bigEndian32(record + 7));
    case F::Signed32At5:
        return format("%d", signed32(bigEndian32(record + 5)));
    case F::TwoDigits4:
        return format("%02u", static_cast<unsigned>(record[4]));
    case F::TwoDigits5:
        return format("%02u", static_cast<unsigned>(record[5]));
    case F::TwoDigits6:
        return format("%02u", static_cast<unsigned>(record[6]));
    case F::GlobalIntegerAt3:
        return globalIntegerName(record[3]);
    case F::GlobalIntegerAt4:
        return globalIntegerName(record[4]);
    case F::GlobalIntegerAt5:
        return globalIntegerName(record[5]);
    case F::GlobalArrayOfParam1:
        return displayName(kGlobalArrayWord, record[1]);
    case F::GlobalArrayAt3:
        return displayName(kGlobalArrayWord, record[3]);
    case F::DataPort:
        return format("%s%d", kDataPortWord, record[1]);
    case F::DataPortName:
        return dataPortName(record[1]);
    case F::HexAt4:
        return hexAt(record, 3);
    case F::StringAt4:
        return stringAt(record, 3);
    case F::HexAt8:
        return hexAt(record, 7);
    case F::StringAt8:
        return stringAt(record, 7);
    case F::IntegerOperator:
        return wordAt(kIntegerOperators, record[2]);
    case F::LocalOperator:
        return wordAt(kLocalOperators, record[2]);
    case F::CanIdOperator:
        return wordAt(kCanIdOperators, record[2]);
    case F::ChecksumPassed:
        return wordAt(kChecksumsPassed, record[3]);
    case F::FloatWord:
        return wordAt(kFloatWords, record[1]);
    case F::FloatOperator:
        return wordAt(kFloatOperators, record[4] + 1);
    case F::DoubleAt5:
        return format("%f", doubleAt(record, 5));
    case F::ExactDoubleAt5:
        return exactDecimalText(doubleAt(record, 5));
    case F::Compound: {
        const std::string_view data = dataAt(record, 3);
        return renderCompoundCondition(decodeCompoundCondition(data, data.size()));
    }
    case F::CallWithParam2:
        return renderFunctionCallTest(decodeFunctionCallTest(dataAt(record, 3)),
                                      conditionParam2Text(record, record[2]));
    case F::CallWithBlank:
        return renderFunctionCallTest(decodeFunctionCallTest(dataAt(record, 3)), " ");
    case F::ExpressionAt4:
        return renderExpression(decodeExpression(dataAt(record, 3)));
    case F::ListAt4:
        return renderExpressionList(decodeExpressionList(dataAt(record, 3)));
    case F::ListItem1:
        return listItem(record, 0);
    case F::ListItem2:
        return listItem(record, 1);
    }
    return std::string();
}

// The pattern with each "%s" replaced by the text of the next field. ("%"
// never occurs inside a GBK character, so the search cannot split one.)
std::string fill(const TextRow& row, const std::uint8_t* record)
{
    std::string out;
    std::size_t next = 0;
    for (const char* p = row.pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next < row.fields.size())
                out += fieldText(row.fields[next++], record);
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace

std::string conditionText(const std::uint8_t* record)
{
    return fill(findRow(kLineTexts, record, kDefaultLine), record);
}

std::string conditionParam3Source(const std::uint8_t* record)
{
    return fill(findRow(kSourceTexts, record, kNoSource), record);
}

}  // namespace orlo
