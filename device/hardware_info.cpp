// The hardware information texts as tables of lines (see hardware_info.h).
// Each line names its format and where its value comes from; a value is one
// data byte or a pair of them (high byte first).
#include "device/hardware_info.h"

#include <cstdint>

#include "device/format_text.h"
#include "device/frames.h"

namespace orlo {

namespace {

const char* const kHeader = "读取硬件信息成功：\r\n\r\n";
const char* const kLineEnd = "\r\n";

// A value from the data: one byte (high < 0), a pair (high, low), or none
// (low < 0: the line is absent from that layout).
struct Source {
    int high;
    int low;
};
constexpr Source one(int i) { return {-1, i}; }
constexpr Source pair(int high, int low) { return {high, low}; }
constexpr Source none{-1, -1};

class Data {
public:
    explicit Data(std::string_view frame) : frame_(frame) {}
    unsigned byte(int i) const { return frame_.dataByte(static_cast<std::size_t>(i)); }
    unsigned value(Source s) const
    {
        return s.high < 0 ? byte(s.low) : byte(s.high) << 8 | byte(s.low);
    }
    unsigned length() const { return frame_.lengthByte(); }

private:
    ReplyFrame frame_;
};

// ---- Mode 1: the first layout.

enum class Line1 { Byte, Version, Word32, TextIf, RangeIf };

struct Row1 {
    Line1 kind;
    const char* format;  // TextIf: the text when byte index holds expected
    int index;
    const char* otherwise = nullptr;  // TextIf, RangeIf: the text when it does not
    unsigned expected = 0;
};

const Row1 kLayout1[] = {
    {Line1::Byte, "硬件内核：%u.0内核", 0},
    {Line1::Version, "内核固件版本号：%u.%u", 1},
    {Line1::Word32, "程序空间：%u字节", 3},
    {Line1::Byte, "输入个数：%u", 7},
    {Line1::Byte, "输出个数：%u", 8},
    {Line1::Byte, "定时器数量：%u", 9},
    {Line1::TextIf, "定时器取值范围：0-4294967295", 11, "定时器取值范围：未知参数", 4},
    {Line1::Byte, "全局变量数量：%u", 12},
    {Line1::RangeIf, "全局变量取值范围：%d-%d", 14, "全局变量取值范围：未知参数", 14},
    {Line1::Byte, "数组个数：%u", 15},
    {Line1::Byte, "数组大小：%u字节", 16},
    {Line1::Byte, "变量掉电存储扇区数：%u", 17},
    {Line1::Byte, "每个掉电存储扇区可存储的变量数：%u", 18},
    {Line1::Byte, "数组掉电存储扇区数：%u", 19},
    {Line1::Byte, "每个掉电存储扇区可存储的数组数：%u", 20},
};

std::string line1(const Row1& r, const Data& d)
{
    switch (r.kind) {
    case Line1::Byte:
        return formatText(r.format, d.byte(r.index));
    case Line1::Version:
        return formatText(r.format, d.byte(r.index), d.byte(r.index + 1));
    case Line1::Word32:
        return formatText(r.format, d.value(pair(r.index, r.index + 1)) << 16 |
                                        d.value(pair(r.index + 2, r.index + 3)));
    case Line1::TextIf:
        return d.byte(r.index) == r.expected ? r.format : r.otherwise;
    case Line1::RangeIf:
        return d.byte(r.index) == r.expected
                   ? formatText(r.format, static_cast<int>(INT32_MIN), static_cast<int>(INT32_MAX))
                   : r.otherwise;
    }
    return std::string();
}

// ---- Mode 3: layouts A to D share one table, E has its own.

enum class Line3 { Unsigned, Signed, MemoryTotal, MemoryShare, CpuShare, PowerDown, Crystal, MainClock };

struct Row3 {
    Line3 kind;
    const char* format;
    Source a;       // where layout A takes the value
    Source others;  // where layouts B, C and D take it
    HardwareLayout last = HardwareLayout::D;  // the line is in layouts A to last
};

const Source kMemoryUnit = pair(26, 27);
const Source kMemoryTotal = pair(24, 25);
const Source kPowerDownFirst = pair(40, 41);
const Source kPowerDownCount = pair(42, 43);
const Source kClockWord = pair(44, 45);

const Row3 kLayoutsAToD[] = {
    {Line3::Unsigned, "输入数量：%u", pair(46, 1), one(1)},
    {Line3::Unsigned, "输出数量：%u", pair(47, 2), one(2)},
    {Line3::Unsigned, "整数数量：%u", one(3), one(3)},
    {Line3::Unsigned, "全局整数数量：%u", pair(48, 4), one(4)},
    {Line3::Unsigned, "浮点数数量：%u", one(5), one(5)},
    {Line3::Unsigned, "全局浮点数数量：%u", one(6), one(6)},
    {Line3::Unsigned, "数组（局部数组）数量：%u", one(7), one(7)},
    {Line3::Unsigned, "数组（局部数组）默认长度：%u", none, one(8)},
    {Line3::Unsigned, "全局数组数量：%u", one(11), one(11)},
    {Line3::Unsigned, "全局数组默认长度：%u", none, one(12)},
    {Line3::Unsigned, "定时器数量：%u", one(15), one(15)},
    {Line3::Unsigned, "位变量数量：%u", one(16), one(16)},
    {Line3::Unsigned, "最大处理字节数：%u", pair(49, 17), one(17)},
    {Line3::Unsigned, "存储扇区个数：%u", one(18), one(18)},
    {Line3::Unsigned, "存储扇区大小：%u", pair(19, 20), pair(19, 20)},
    {Line3::Unsigned, "函数调用层叠数：%u", one(21), one(21)},
    {Line3::Unsigned, "缓冲区数量：%u", one(22), one(22)},
    {Line3::Unsigned, "缓冲区占用：%u", one(23), one(23)},
    {Line3::MemoryTotal, "动态内存总量：%u 字节", kMemoryTotal, kMemoryTotal},
    {Line3::MemoryShare, "动态内存当前占用：%u 字节   %0.3f%%", pair(28, 29), pair(28, 29)},
    {Line3::MemoryShare, "动态内存历史峰值占用：%u 字节   %0.3f%%", pair(30, 31), pair(30, 31)},
    {Line3::Unsigned, "动态内存申请出错次数：%u", one(32), one(32)},
    {Line3::Unsigned, "动态内存释放出错次数：%u", one(33), one(33)},
    {Line3::Signed, "高频频率：%d khz", one(38), one(38), HardwareLayout::C},
    {Line3::CpuShare, "高频中断cpu占用：%0.1f%%", one(34), one(34), HardwareLayout::C},
    {Line3::CpuShare, "毫秒中断cpu占用：%0.1f%%", one(35), one(35), HardwareLayout::C},
    {Line3::Signed, "内核运行间隔：%d ms", one(39), one(39), HardwareLayout::C},
    {Line3::CpuShare, "当前内核运行cpu占用：%0.1f%%", one(36), one(36), HardwareLayout::C},
    {Line3::CpuShare, "内核运行cpu占用峰值：%0.1f%%", one(37), one(37), HardwareLayout::C},
    {Line3::PowerDown, nullptr, none, none, HardwareLayout::B},
    {Line3::Crystal, nullptr, none, none, HardwareLayout::B},
    {Line3::MainClock, "系统主频：%d MHz", kClockWord, kClockWord, HardwareLayout::B},
};

struct RowE {
    const char* format;
    Source source;
};

const RowE kLayoutE[] = {
    {"输入数量：%u", one(1)},
    {"输出数量：%u", one(2)},
    {"整数数量：%u", one(3)},
    {"全局整数数量：%u", one(4)},
    {"浮点数数量：%u", one(5)},
    {"全局浮点数数量：%u", one(6)},
    {"数组（局部数组）数量：%u", one(7)},
    {"数组（局部数组）长度：%u", one(8)},
    {"数组（局部数组）空间：%u", pair(9, 10)},
    {"全局数组数量：%u", one(11)},
    {"全局数组长度：%u", one(12)},
    {"全局数组空间：%u", pair(13, 14)},
    {"定时器数量：%u", one(15)},
    {"位变量数量：%u", one(16)},
    {"最大处理字节数：%u", one(17)},
    {"存储扇区个数：%u", one(18)},
    {"存储扇区大小：%u", pair(19, 20)},
    {"函数调用层叠数：%u", one(21)},
    {"缓冲区数量：%u", one(22)},
    {"缓冲区占用：%u", one(23)},
};

struct LayoutRange {
    unsigned shortest;
    HardwareLayout layout;
};

// Longest first: the first range whose shortest length is reached applies.
const LayoutRange kLayoutRanges[] = {
    {50, HardwareLayout::A}, {46, HardwareLayout::B}, {40, HardwareLayout::C},
    {34, HardwareLayout::D}, {24, HardwareLayout::E},
};

// Share of the total in per cent; 0 when the total is 0 (the controller
// reported no memory), where a division would print "nan" or "inf".
double percentOf(std::uint32_t part, std::uint32_t total)
{
    return total == 0 ? 0.0 : 100.0 * part / total;
}

std::string line3(const Row3& r, Source s, const Data& d)
{
    const std::uint32_t unit = d.value(kMemoryUnit);
    const std::uint32_t total = d.value(kMemoryTotal) * unit;
    switch (r.kind) {
    case Line3::Unsigned:
        return formatText(r.format, d.value(s));
    case Line3::Signed:
        return formatText(r.format, static_cast<int>(d.value(s)));
    case Line3::MemoryTotal:
        return formatText(r.format, total);
    case Line3::MemoryShare: {
        const std::uint32_t used = d.value(s) * unit;
        return formatText(r.format, used, percentOf(used, total));
    }
    case Line3::CpuShare:
        return formatText(r.format, 100.0 * d.value(s) / 250);
    case Line3::PowerDown: {
        const int first = static_cast<int>(d.value(kPowerDownFirst));
        const int count = static_cast<int>(d.value(kPowerDownCount));
        if (count == 0)
            return "全局整数支持掉电存储：无";
        return formatText("全局整数支持掉电存储：全局整数%d - 全局整数%d", first,
                          first + count - 1);
    }
    case Line3::Crystal:
        return (d.value(kClockWord) & 0x8000u) ? "晶振采用：外部晶振" : "晶振采用：内部晶振";
    case Line3::MainClock:
        return formatText(r.format, static_cast<int>(d.value(s) & 0x0FFFu));
    }
    return std::string();
}

std::string text1(const Data& d)
{
    std::string out = kHeader;
    for (const Row1& r : kLayout1)
        out += line1(r, d) + kLineEnd;
    return out;
}

std::string text3(const Data& d)
{
    const HardwareLayout layout = hardwareLayout(d.length());
    if (layout == HardwareLayout::None)
        return std::string();
    std::string out = kHeader;
    if (layout == HardwareLayout::E) {
        for (const RowE& r : kLayoutE)
            out += formatText(r.format, d.value(r.source)) + kLineEnd;
        return out;
    }
    for (const Row3& r : kLayoutsAToD) {
        if (layout > r.last)
            continue;
        const Source s = layout == HardwareLayout::A ? r.a : r.others;
        if (r.format && s.low < 0)
            continue;  // not in this layout
        out += line3(r, s, d) + kLineEnd;
    }
    return out;
}

}  // namespace

HardwareLayout hardwareLayout(unsigned dataLength)
{
    for (const LayoutRange& r : kLayoutRanges)
        if (dataLength >= r.shortest)
            return r.layout;
    return HardwareLayout::None;
}

std::string hardwareInfoText(int mode, std::string_view frame)
{
    const Data d(frame);
    if (mode == kHardwareInfoMode1)
        return text1(d);
    if (mode == kHardwareInfoMode3)
        return text3(d);
    return std::string();
}

}  // namespace orlo
