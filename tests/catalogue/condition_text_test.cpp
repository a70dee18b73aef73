// Condition text: the line text and the param3 text of records of every kind
// family, with and without aliases, and records with damaged counts or
// arbitrary bytes, which must render without reading outside the record.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "catalogue/condition_text.h"
#include "expr/names.h"
#include "platform/strings.h"

namespace orlo {
namespace {

using Record = std::array<std::uint8_t, 256>;

// The record whose first bytes are the hex text; the rest are 0.
Record recordOf(const std::string& hex)
{
    std::string bytes;
    EXPECT_TRUE(parseHexText(hex, bytes)) << hex;
    Record r{};
    for (std::size_t i = 0; i < bytes.size() && i < r.size(); ++i)
        r[i] = static_cast<std::uint8_t>(bytes[i]);
    return r;
}

struct TextCase {
    const char* record;
    const char* text;
    const char* param3;
};

void expectTexts(const TextCase& c)
{
    const Record r = recordOf(c.record);
    EXPECT_EQ(conditionText(r.data()), c.text) << c.record;
    EXPECT_EQ(conditionParam3Source(r.data()), c.param3) << c.record;
}

TEST(ConditionText, InputsTimersAndNumbers)
{
    const TextCase cases[] = {
        {"01 03 03", "输入3  断开到闭合", ""},
        {"06 01 01", "上电初始化", ""},
        {"03 01 01 00 00 00 64", "定时器1  大于100", "100"},
        {"03 01 0A 00 00 00 64", "定时器1  减到0", "100"},
        {"03 02 01 FF FF FF FF", "定时器2  大于4294967295", "4294967295"},
        {"05 02 01 00 00 00 64", "全局整数2  > 100", "100"},
        {"05 02 04 FF FF FF FE", "全局整数2  > 全局整数-2", "-2"},
        {"05 02 07 00 00 00 03", "全局整数2  位判断 位3", "3"},
        {"05 02 08 00 00 00 05", "全局整数2 5", "5"},
        {"0D 00 03 00 00 00 07", "  = 7", "7"},
        {"12 00 06 80 00 00 00", "  = 全局整数-2147483648", "-2147483648"},
        {"0E 03 02 FF FF FF FF", "模拟量输入3  < 4294967295", "4294967295"},
        {"0E 03 07 00 00 00 01", "模拟量输入3 1", "1"},
        {"07 01 01 12 34 56 78 00 00 00 04",
         "接收到无线遥控器信号  无线参数:305419896 无线数据:4", "无线参数:305419896 无线数据:4"},
        {"07 02 01", "无线遥控 接收到万能红外发射对码信号", ""},
        {"08 01 01 00 08 1E 05", "时间设定：进入时刻 08时 30分 05秒 ", "08时30分05秒"},
        {"08 02 02 07", "时间设定：大于 全局整数7 所代表的距离零点的秒数",
         "全局整数7所表示距离零点的秒数"},
        {"09 04 03 07", "日期设定: 小于  星期日", "星期日"},
        {"09 01 04 18", "日期设定: 等于  2024年", "2024年"},
        {"0C 01 03 02", "联机开关量  地址0  第3路  闭合", "闭合"},
    };
    for (const TextCase& c : cases)
        expectTexts(c);
}

TEST(ConditionText, DataPacketsAndArrays)
{
    const TextCase cases[] = {
        {"0A 02 01 03 61 62 63", "数据口2 接收到字符串：abc", "abc"},
        {"0B 02 01 02 0A FF", "数据口2 接收到16进制数据：0A FF", "0A FF"},
        {"0B 02 01 00 0A FF", "数据口2 接收到16进制数据：", ""},
        {"0F 01", "接收到临时数据包 ", ""},
        {"0F 04 01", "临时数据包成功 ", ""},
        {"10 01 05 02 01 02", "临时数据包从第5个字节为:01 02", "01 02"},
        {"10 02 03 02 68 69", "临时字符串从第3个字符为:hi", "hi"},
        {"10 05 02 02 07 FF", "临时CAN报文 CAN ID > 0x07 FF", "07 FF"},
        {"11 03 01 05", "全局数组3的字节数为4", "4个字节"},
        {"11 03 01 00", "全局数组3的字节数为-1", ""},
        {"11 03 02 01", "全局数组3 和校验成功", "和校验"},
        {"11 03 02 02", "全局数组3 CRC16校验成功", "CRC16校验"},
        {"11 03 02 03", "全局数组3", ""},
        {"11 03 03 07", "全局数组3 = 全局数组7", "全局数组7"},
        {"13 01 01 02 AA BB", "全局数组1 = 16进制数据： AA BB", "AA BB"},
        {"13 01 04 01 78", "全局数组1 包含字符串： x", "x"},
        {"14 01 01 03 0A", "局部数组3 字节数=10", "局部数组3 字节数=10"},
        {"14 01 03 03", "局部数组3 CRC16校验成功", "局部数组3 CRC16校验成功"},
        {"14 01 07 03 05", "局部数组3 包含 全局数组5", "局部数组3 包含 全局数组5"},
        {"14 02 01 03 00 00 00 02 01 02", "局部数组3 =16进制:01 02", "局部数组3 =16进制:01 02"},
        {"14 02 04 03 00 00 00 01 7A", "局部数组3 包含字符串:z", "局部数组3 包含字符串:z"},
        {"14 01 08 03", "", ""},
        {"14 03 01 03", "", ""},
    };
    for (const TextCase& c : cases)
        expectTexts(c);
}

TEST(ConditionText, IntegersAndFloats)
{
    const TextCase cases[] = {
        {"15 01 02 02 00 00 00 01 2C", "整数2 > 300", "整数2 > 300"},
        {"15 01 01 02 00 FF FF FF FF", "整数2 = -1", "整数2 = -1"},
        {"15 02 03 02 09", "整数2 < 整数9", "整数2 < 整数9"},
        {"15 03 01 02 05", "整数2 = 全局整数5", "整数2 = 全局整数5"},
        {"15 04 01 01 03 01", "整数1 BIT3 = 1", "整数1 BIT3 = 1"},
        {"15 04 04 01 03 02", "整数1 BIT3 = 输出2", "整数1 BIT3 = 输出2"},
        {"15 04 05 01 02 03 04", "整数1 BIT2 = 整数3 BIT4", "整数1 BIT2 = 整数3 BIT4"},
        {"15 04 06 01 02 03 04", "整数1 BIT2 = 全局整数3 BIT4", "整数1 BIT2 = 全局整数3 BIT4"},
        {"15 01 04 02", "", ""},
        {"15 05 01 02", "", ""},
        {"16 01 01", "", ""},
        {"17 01 01 01 03 00 00 00 00 00 00 04 40", "全局小数1 >= 2.500000", "全局小数1 >= 2.500000"},
        {"17 02 01 02 00 9A 99 99 99 99 99 B9 BF", "局部小数2 = -0.100000", "局部小数2 = -0.100000"},
        // The line keeps six decimals; the param3 text keeps the whole value.
        {"17 01 01 01 01 95 D6 26 E8 0B 2E 11 3E", "全局小数1 > 0.000000", "全局小数1 > 0.000000001"},
        {"17 01 01 01 02 34 33 33 33 33 33 D3 3F", "全局小数1 < 0.300000",
         "全局小数1 < 0.30000000000000004"},
        {"17 01 01 01 09 00 00 00 00 00 00 04 40", "全局小数1  2.500000", "全局小数1  2.500000"},
        {"17 02 02 04 05 06", "局部小数4 <> 全局小数6", "局部小数4 <> 全局小数6"},
        {"17 02 05 04 05 06", "局部小数4 <> 整数6", "局部小数4 <> 整数6"},
        {"17 03 01 01", "", ""},
        {"17 01 06 01", "", ""},
    };
    for (const TextCase& c : cases)
        expectTexts(c);
}

TEST(ConditionText, Formulas)
{
    const TextCase cases[] = {
        {"18 01 01 00", "", ""},
        {"18 01 01 0E 0E 04 03 02 01 02 04 07 06 01 00 00 00 0A", "整数1>=10", "整数1>=10"},
        {"18 01 02 0E 0E 04 03 02 01 02 04 07 06 01 00 00 00 0A", "线程等待条件成立：整数1>=10",
         "整数1>=10"},
        {"18 01 01 1E 0E 04 03 02 01 02 02 07 06 01 00 00 00 01 02 01 "
         "0E 04 03 02 02 02 03 07 06 01 00 00 00 02",
         "整数1>1 并且 整数2<2", "整数1>1 并且 整数2<2"},
        {"18 02 05 13 13 04 03 02 01 02 01 0C 04 03 02 02 07 06 01 00 00 00 03",
         "整数1 = 函数5(整数2, 3)", "整数1 =  (整数2, 3)"},
        {"18 02 07 05 05 01 02 00 01", "函数7( )", " ( )"},
        {"18 02 65 00", "表达式/函数判断(118)  用户函数    ", ""},
        // A count shorter than the code it holds: the code does not decode.
        {"18 01 01 0D 0E 04 03 02 01 02 04 07 06 01 00 00 00 0A", "", ""},
        {"19 03 01", "数据口3 接收到数据", ""},
        {"19 03 02 02 01 02", "数据口3 = 16进制 01 02", "01 02"},
        {"19 03 03 02 6F 6B", "数据口3 = 字符串 ok", "ok"},
        {"19 03 04 0D 0D 03 02 01 03 64 2B 06 01 00 00 00 05", "数据口3 = 整数1 + 5", "整数1 + 5"},
        {"19 03 06 0D 0D 03 02 01 03 64 2B 06 01 00 00 00 05", "数据口3 数据包含: 整数1 + 5",
         "整数1 + 5"},
        {"19 03 07 0C 0C 04 03 02 01 07 06 01 00 00 00 05", "数据口3 位置整数1 等于5", "整数1, 5"},
        {"19 03 07 05 05 04 03 02 01", "数据口3 位置整数1 等于", "整数1"},
        {"19 03 08", "数据口3 接收到的数据包 和校验成功", ""},
        {"19 03 0A", "数据口接收到数据(118)  数据口3    ", ""},
    };
    for (const TextCase& c : cases)
        expectTexts(c);
}

TEST(ConditionText, UnknownKindsShowTheirEmptyNames)
{
    expectTexts({"00", "      ", ""});
    expectTexts({"1A 01 02 03", "      ", ""});
}

class ConditionTextAliases : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* const aliases[][2] = {
            {"输入3", "门磁"},   {"全局整数5", "限值"}, {"全局数组3", "缓冲"},
            {"数据口3", "串口"}, {"整数1", "温度"},     {"定时器1", "延时"},
        };
        for (const auto& a : aliases)
            ASSERT_EQ(names().rename(a[0], a[1]), "");
    }
    void TearDown() override { names().clear(); }
};

TEST_F(ConditionTextAliases, ShowWhereTheLineNamesAResource)
{
    const TextCase cases[] = {
        {"01 03 03", "门磁  断开到闭合", ""},
        {"03 01 01 00 00 00 64", "延时  大于100", "100"},
        {"15 03 01 02 05", "整数2 = 限值", "整数2 = 全局整数5"},
        {"15 04 06 01 02 05 04", "整数1 BIT2 = 限值 BIT4", "整数1 BIT2 = 全局整数5 BIT4"},
        // Local integers in the line's own words are not resources of the table.
        {"15 02 01 01 01", "整数1 = 整数1", "整数1 = 整数1"},
        {"08 02 02 05", "时间设定：大于 限值 所代表的距离零点的秒数", "全局整数5所表示距离零点的秒数"},
        {"11 03 03 03", "缓冲 = 缓冲", "缓冲"},
        {"13 03 02 01 78", "缓冲 = 字符串： x", "x"},
        {"0A 03 01 01 61", "串口 接收到字符串：a", "a"},
        // The port of kind 25 shows its alias only for param2 6 to 9.
        {"19 03 01", "数据口3 接收到数据", ""},
        {"19 03 08", "串口 接收到的数据包 和校验成功", ""},
        {"18 01 01 0E 0E 04 03 02 01 02 04 07 06 01 00 00 00 0A", "温度>=10", "温度>=10"},
        {"19 03 04 0D 0D 03 02 01 03 64 2B 06 01 00 00 00 05", "数据口3 = 温度 + 5", "温度 + 5"},
    };
    for (const TextCase& c : cases)
        expectTexts(c);
}

// Counts that claim more than the record holds, and arbitrary bytes, for
// every kind and many parameter pairs: each text is built from the 256
// bytes alone (AddressSanitizer watches the reads) and the two texts that
// repeat each other do not call each other forever.
TEST(ConditionText, AnyBytesRender)
{
    for (int kind = 0; kind < 256; ++kind) {
        for (int p1 : {0, 1, 2, 3, 4, 5, 7, 255}) {
            for (int p2 : {0, 1, 2, 3, 4, 5, 6, 7, 8, 100, 255}) {
                for (std::uint8_t fill : {0x00, 0xFF, 0x05}) {
                    Record r;
                    r.fill(fill);
                    r[0] = static_cast<std::uint8_t>(kind);
                    r[1] = static_cast<std::uint8_t>(p1);
                    r[2] = static_cast<std::uint8_t>(p2);
                    const std::string text = conditionText(r.data());
                    const std::string param3 = conditionParam3Source(r.data());
                    EXPECT_LT(text.size() + param3.size(), 4096u);
                }
            }
        }
    }
    // A full-length string reads up to the record's end and no further.
    Record r;
    r.fill('z');
    r[0] = 10;
    r[1] = 1;
    r[3] = 255;
    EXPECT_EQ(conditionParam3Source(r.data()), std::string(252, 'z'));
    r[0] = 20;
    r[1] = 2;
    r[2] = 2;
    r[3] = 1;
    r[7] = 255;
    EXPECT_EQ(conditionText(r.data()), "局部数组1 =字符串:" + std::string(248, 'z'));
}

}  // namespace
}  // namespace orlo
