// The hardware information texts: the first layout, the five layouts of the
// second chosen by the data length, the values built from byte pairs, the
// conditional lines, and replies shorter than their layout.
#include <gtest/gtest.h>

#include <vector>

#include "device/frames.h"
#include "device/hardware_info.h"

namespace orlo {
namespace {

// A reply frame whose data byte i is d[i], L = length.
std::string frameWith(const std::vector<unsigned>& d, unsigned length)
{
    std::string data(length, '\0');
    for (std::size_t i = 0; i < d.size() && i < length; ++i)
        data[i] = static_cast<char>(d[i]);
    return dataReply(1, kQueryCommand, data);
}

// Data where byte i holds i + 1 (so every value names its source), with the
// pairs that would otherwise be confusing set apart.
std::vector<unsigned> countingData()
{
    std::vector<unsigned> d(60);
    for (unsigned i = 0; i < d.size(); ++i)
        d[i] = i + 1;
    return d;
}

bool contains(const std::string& text, const std::string& line)
{
    return text.find(line + "\r\n") != std::string::npos;
}

TEST(HardwareLayout, ChosenByDataLength)
{
    const struct {
        unsigned length;
        HardwareLayout layout;
    } cases[] = {
        {0, HardwareLayout::None},  {23, HardwareLayout::None}, {24, HardwareLayout::E},
        {33, HardwareLayout::E},    {34, HardwareLayout::D},    {39, HardwareLayout::D},
        {40, HardwareLayout::C},    {45, HardwareLayout::C},    {46, HardwareLayout::B},
        {49, HardwareLayout::B},    {50, HardwareLayout::A},    {250, HardwareLayout::A},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hardwareLayout(c.length), c.layout) << c.length;
}

TEST(HardwareInfoText, FirstLayoutWholeText)
{
    std::vector<unsigned> d = {3, 2, 6, 0x00, 0x03, 0x0D, 0x40, 16, 32, 100, 0, 4, 200,
                               0, 14, 10, 64, 8, 100, 4, 10};
    const std::string expected =
        "读取硬件信息成功：\r\n\r\n"
        "硬件内核：3.0内核\r\n"
        "内核固件版本号：2.6\r\n"
        "程序空间：200000字节\r\n"
        "输入个数：16\r\n"
        "输出个数：32\r\n"
        "定时器数量：100\r\n"
        "定时器取值范围：0-4294967295\r\n"
        "全局变量数量：200\r\n"
        "全局变量取值范围：-2147483648-2147483647\r\n"
        "数组个数：10\r\n"
        "数组大小：64字节\r\n"
        "变量掉电存储扇区数：8\r\n"
        "每个掉电存储扇区可存储的变量数：100\r\n"
        "数组掉电存储扇区数：4\r\n"
        "每个掉电存储扇区可存储的数组数：10\r\n";
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode1, frameWith(d, 21)), expected);

    d[11] = 3;
    d[14] = 13;
    const std::string text = hardwareInfoText(kHardwareInfoMode1, frameWith(d, 21));
    EXPECT_TRUE(contains(text, "定时器取值范围：未知参数"));
    EXPECT_TRUE(contains(text, "全局变量取值范围：未知参数"));
}

TEST(HardwareInfoText, FirstLayoutFromAShortReplyReadsZeros)
{
    const std::string text = hardwareInfoText(kHardwareInfoMode1, frameWith({3}, 1));
    EXPECT_TRUE(contains(text, "硬件内核：3.0内核"));
    EXPECT_TRUE(contains(text, "程序空间：0字节"));
    EXPECT_TRUE(contains(text, "每个掉电存储扇区可存储的数组数：0"));
}

TEST(HardwareInfoText, LayoutAWholeText)
{
    std::vector<unsigned> d = countingData();
    d[24] = 0x00, d[25] = 0x40;  // 64 units ...
    d[26] = 0x04, d[27] = 0x00;  // ... of 1024 bytes
    d[28] = 0x00, d[29] = 0x10;  // 16 in use
    d[30] = 0x00, d[31] = 0x20;  // peak 32
    d[34] = 25, d[35] = 5, d[36] = 50, d[37] = 250;
    d[40] = 0x00, d[41] = 0x05, d[42] = 0x00, d[43] = 0x03;  // integers 5 to 7
    d[44] = 0x80, d[45] = 0x48;                              // external, 72 MHz
    d[46] = 1, d[1] = 44;                                    // 300 inputs
    const std::string expected =
        "读取硬件信息成功：\r\n\r\n"
        "输入数量：300\r\n"
        "输出数量：12291\r\n"  // d[47] = 48, d[2] = 3
        "整数数量：4\r\n"
        "全局整数数量：12549\r\n"  // d[48] = 49, d[4] = 5
        "浮点数数量：6\r\n"
        "全局浮点数数量：7\r\n"
        "数组（局部数组）数量：8\r\n"
        "全局数组数量：12\r\n"
        "定时器数量：16\r\n"
        "位变量数量：17\r\n"
        "最大处理字节数：12818\r\n"  // d[49] = 50, d[17] = 18
        "存储扇区个数：19\r\n"
        "存储扇区大小：5141\r\n"  // d[19] = 20, d[20] = 21
        "函数调用层叠数：22\r\n"
        "缓冲区数量：23\r\n"
        "缓冲区占用：24\r\n"
        "动态内存总量：65536 字节\r\n"
        "动态内存当前占用：16384 字节   25.000%\r\n"
        "动态内存历史峰值占用：32768 字节   50.000%\r\n"
        "动态内存申请出错次数：33\r\n"
        "动态内存释放出错次数：34\r\n"
        "高频频率：39 khz\r\n"
        "高频中断cpu占用：10.0%\r\n"
        "毫秒中断cpu占用：2.0%\r\n"
        "内核运行间隔：40 ms\r\n"
        "当前内核运行cpu占用：20.0%\r\n"
        "内核运行cpu占用峰值：100.0%\r\n"
        "全局整数支持掉电存储：全局整数5 - 全局整数7\r\n"
        "晶振采用：外部晶振\r\n"
        "系统主频：72 MHz\r\n";
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode3, frameWith(d, 50)), expected);
}

TEST(HardwareInfoText, LayoutsBToDDifferFromA)
{
    std::vector<unsigned> d = countingData();
    d[46] = 1, d[1] = 44;
    d[42] = 0, d[43] = 0;  // no power-down storage
    d[44] = 0x00, d[45] = 0x48;
    const std::string a = hardwareInfoText(kHardwareInfoMode3, frameWith(d, 50));
    const std::string b = hardwareInfoText(kHardwareInfoMode3, frameWith(d, 49));
    const std::string c = hardwareInfoText(kHardwareInfoMode3, frameWith(d, 45));
    const std::string dd = hardwareInfoText(kHardwareInfoMode3, frameWith(d, 34));

    EXPECT_TRUE(contains(a, "输入数量：300"));
    EXPECT_TRUE(contains(b, "输入数量：44"));
    EXPECT_TRUE(contains(b, "最大处理字节数：18"));
    for (const std::string* t : {&b, &c, &dd}) {
        EXPECT_TRUE(contains(*t, "数组（局部数组）默认长度：9"));
        EXPECT_TRUE(contains(*t, "全局数组默认长度：13"));
    }
    EXPECT_EQ(a.find("默认长度"), std::string::npos);

    for (const std::string* t : {&a, &b}) {
        EXPECT_TRUE(contains(*t, "全局整数支持掉电存储：无"));
        EXPECT_TRUE(contains(*t, "晶振采用：内部晶振"));
    }
    // C ends after the processor load, D after the memory errors.
    EXPECT_TRUE(contains(c, "内核运行cpu占用峰值：15.2%"));  // d[37] = 38
    EXPECT_EQ(c.find("掉电存储"), std::string::npos);
    EXPECT_EQ(c.find("系统主频"), std::string::npos);
    EXPECT_TRUE(contains(dd, "动态内存释放出错次数：34"));
    EXPECT_EQ(dd.find("高频频率"), std::string::npos);
    const std::string last = "动态内存释放出错次数：34\r\n";
    EXPECT_EQ(dd.substr(dd.size() - last.size()), last);
}

TEST(HardwareInfoText, LayoutEHasItsOwnTexts)
{
    const std::vector<unsigned> d = countingData();
    const std::string expected =
        "读取硬件信息成功：\r\n\r\n"
        "输入数量：2\r\n"
        "输出数量：3\r\n"
        "整数数量：4\r\n"
        "全局整数数量：5\r\n"
        "浮点数数量：6\r\n"
        "全局浮点数数量：7\r\n"
        "数组（局部数组）数量：8\r\n"
        "数组（局部数组）长度：9\r\n"
        "数组（局部数组）空间：2571\r\n"  // d[9] = 10, d[10] = 11
        "全局数组数量：12\r\n"
        "全局数组长度：13\r\n"
        "全局数组空间：3599\r\n"  // d[13] = 14, d[14] = 15
        "定时器数量：16\r\n"
        "位变量数量：17\r\n"
        "最大处理字节数：18\r\n"
        "存储扇区个数：19\r\n"
        "存储扇区大小：5141\r\n"
        "函数调用层叠数：22\r\n"
        "缓冲区数量：23\r\n"
        "缓冲区占用：24\r\n";
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode3, frameWith(d, 33)), expected);
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode3, frameWith(d, 24)), expected);
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode3, frameWith(d, 23)), "");
    EXPECT_EQ(hardwareInfoText(kHardwareInfoMode3, frameWith(d, 0)), "");
}

TEST(HardwareInfoText, NoMemoryReportedGivesZeroShares)
{
    std::vector<unsigned> d(50, 0);
    d[29] = 5;  // in use without a total
    const std::string text = hardwareInfoText(kHardwareInfoMode3, frameWith(d, 50));
    EXPECT_TRUE(contains(text, "动态内存总量：0 字节"));
    EXPECT_TRUE(contains(text, "动态内存当前占用：0 字节   0.000%"));
}

TEST(HardwareInfoText, LengthByteLargerThanTheFrame)
{
    // An 8-byte frame whose byte 2 claims 60 data bytes (the operations do
    // not check the command byte): layout A, values that are not there are 0.
    std::string f("\x01\x6A\x3C\x05\x00\x01", 6);
    appendCrc(f);
    const std::string text = hardwareInfoText(kHardwareInfoMode3, f);
    EXPECT_TRUE(contains(text, "输入数量：0"));
    EXPECT_TRUE(contains(text, "系统主频：0 MHz"));
    EXPECT_EQ(hardwareInfoText(2, f), "");
}

}  // namespace
}  // namespace orlo
