// The relay-board frames the wizard builds: known frames, every operation's
// function code with and without reply, the number lists, the interval code,
// the refusals, and the hex text of "发送".
#include <gtest/gtest.h>

#include <limits>

#include "platform/strings.h"
#include "tools/relay_frames.h"

namespace orlo {
namespace {

RelayRequest req(int operation, const char* parameter = "", int channel = 1, bool withReply = true,
                 std::uint8_t address = 1)
{
    RelayRequest r;
    r.operation = operation;
    r.address = address;
    r.channel = channel;
    r.withReply = withReply;
    r.parameter = parameter;
    return r;
}

std::string frameHex(const RelayRequest& r)
{
    return hexText(buildRelayFrame(r).frame);
}

TEST(RelayFrames, KnownFrames)
{
    struct Case {
        const char* what;
        RelayRequest request;
        const char* frame;
    };
    const Case cases[] = {
        {"close channel 1", req(RelayCloseChannel), "55 01 12 00 00 00 01 69"},
        {"query state", req(RelayQueryState), "55 01 10 00 00 00 00 66"},
        {"jog channel 3 for 1000 ms", req(RelayJogChannel, "1000", 3), "55 01 21 00 03 E8 03 65"},
        {"group close 1 3 5 12", req(RelayGroupClose, "1 3 5 12"), "55 01 15 00 00 08 15 88"},
        {"sequence close 2 8 500", req(RelaySequenceClose, "2 8 500"), "55 01 18 02 32 01 08 AB"},
        {"broadcast address 5, address 7 chosen", req(RelayBroadcastAddress, "5", 1, true, 7),
         "55 F5 41 00 00 00 05 90"},
        {"present address 7 becomes 5", req(RelaySetAddress, "5", 1, true, 7),
         "55 07 41 00 00 00 05 A2"},
        {"close all", req(RelayCloseAll), "55 01 13 FF FF FF FF 65"},
        {"open all", req(RelayOpenAll), "55 01 13 00 00 00 00 69"},
        {"execute with nothing: all open", req(RelayExecute), "55 01 13 00 00 00 00 69"},
        {"execute 32", req(RelayExecute, "32"), "55 01 13 80 00 00 00 E9"},
        {"toggle channel 32 without reply at 255", req(RelayToggleChannel, "", 32, false, 255),
         "55 FF 30 00 00 00 20 A4"},
        {"jog of the longest time", req(RelayJogChannel, "16777215", 1), "55 01 21 FF FF FF 01 75"},
    };
    for (const Case& c : cases) {
        RelayBuild b = buildRelayFrame(c.request);
        EXPECT_TRUE(b.messages.empty()) << c.what;
        EXPECT_EQ(hexText(b.frame), c.frame) << c.what;
    }
}

TEST(RelayFrames, EveryOperationsCodeWithAndWithoutReply)
{
    struct Case {
        int operation;
        const char* parameter;
        int withReply, withoutReply;  // -1: refused
        const char* name;
    };
    const Case cases[] = {
        {0, "", 0x10, -1, "查询状态"},          {1, "", 0x12, 0x32, "闭合某一路"},
        {2, "", 0x11, 0x31, "断开某一路"},      {3, "", 0x20, 0x30, "翻转某一路"},
        {4, "10", 0x21, 0x37, "点动某一路"},    {5, "", 0x13, 0x33, "全部闭合"},
        {6, "", 0x13, 0x33, "全部断开"},        {7, "1", 0x15, 0x35, "组闭合"},
        {8, "1", 0x14, 0x34, "组断开"},         {9, "1", 0x16, 0x36, "组翻转"},
        {10, "1", 0x13, 0x33, "指令执行"},      {11, "9", 0x41, 0x41, "广播更改地址"},
        {12, "9", 0x41, 0x41, "单独更改地址"},  {13, "1 2 3", 0x17, 0x39, "顺序断开某连续几路"},
        {14, "1 2 3", 0x18, 0x3A, "顺序闭合某连续几路"},
    };
    ASSERT_EQ(sizeof cases / sizeof cases[0], static_cast<std::size_t>(kRelayOperationCount));
    for (const Case& c : cases) {
        const RelayOperation* op = relayOperation(c.operation);
        ASSERT_NE(op, nullptr);
        EXPECT_STREQ(op->name, c.name);
        for (bool withReply : {true, false}) {
            const int want = withReply ? c.withReply : c.withoutReply;
            RelayBuild b = buildRelayFrame(req(c.operation, c.parameter, 2, withReply, 3));
            if (want < 0) {
                EXPECT_TRUE(b.refused()) << c.operation;
                continue;
            }
            ASSERT_EQ(b.frame.size(), 8u) << c.operation;
            EXPECT_EQ(static_cast<std::uint8_t>(b.frame[0]), 0x55);
            EXPECT_EQ(static_cast<std::uint8_t>(b.frame[1]), c.operation == 11 ? 0xF5 : 3)
                << c.operation;
            EXPECT_EQ(static_cast<std::uint8_t>(b.frame[2]), want)
                << c.operation << (withReply ? " with reply" : " without");
            unsigned sum = 0;
            for (int i = 0; i < 7; ++i)
                sum += static_cast<std::uint8_t>(b.frame[i]);
            EXPECT_EQ(static_cast<std::uint8_t>(b.frame[7]), sum & 0xFF) << c.operation;
        }
    }
    EXPECT_EQ(relayOperation(-1), nullptr);
    EXPECT_EQ(relayOperation(15), nullptr);
}

TEST(RelayFrames, CloseAllAndOpenAllShareTheirCodeAndDifferOnlyInTheMask)
{
    for (bool withReply : {true, false}) {
        std::string on = buildRelayFrame(req(RelayCloseAll, "", 1, withReply)).frame;
        std::string off = buildRelayFrame(req(RelayOpenAll, "", 1, withReply)).frame;
        EXPECT_EQ(on.substr(0, 3), off.substr(0, 3));
        EXPECT_EQ(on.substr(3, 4), std::string(4, '\xFF'));
        EXPECT_EQ(off.substr(3, 4), std::string(4, '\0'));
    }
}

TEST(RelayFrames, ChannelListsForMasks)
{
    struct Case {
        const char* parameter;
        const char* frame;  // group close at address 1
        int offending;
    };
    const Case cases[] = {
        {"33", "55 01 15 00 00 00 00 6B", 0},            // outside 1 to 32: ignored
        {"0 1 33 64", "55 01 15 00 00 00 01 6C", 0},
        {"  3\t5  ", "55 01 15 00 00 00 14 7F", 0},      // blanks around and between
        {"1 1 1", "55 01 15 00 00 00 01 6C", 0},
        {"1 a 3", "55 01 15 00 00 00 05 70", 1},         // still built from the numbers
        {"1,3", "55 01 15 00 00 00 05 70", 1},           // the offending character separates
        {"1 三 3", "55 01 15 00 00 00 05 70", 1},        // one message per character
        {"x1y2z", "55 01 15 00 00 00 03 6E", 3},
        {"99999999999999999999999 2", "55 01 15 00 00 00 02 6D", 0},
    };
    for (const Case& c : cases) {
        RelayBuild b = buildRelayFrame(req(RelayGroupClose, c.parameter));
        EXPECT_EQ(hexText(b.frame), c.frame) << c.parameter;
        ASSERT_EQ(b.messages.size(), static_cast<std::size_t>(c.offending)) << c.parameter;
        for (const RelayMessage& m : b.messages)
            EXPECT_EQ(m, (RelayMessage{"参数只能是数字", "提示"})) << c.parameter;
    }
}

TEST(RelayFrames, NumberListTakesAtMost99Numbers)
{
    std::string text;
    for (int i = 0; i < 99; ++i)
        text += "40 ";
    NumberList full = parseNumberList(text + "1");
    EXPECT_EQ(full.numbers.size(), 99u);
    EXPECT_EQ(channelMask(full.numbers), 0u);  // the 100th number, 1, is not taken
    EXPECT_EQ(channelMask(parseNumberList("32 1").numbers), 0x80000001u);
    EXPECT_EQ(parseNumberList("18446744073709551616").numbers.at(0),
              std::numeric_limits<std::uint64_t>::max());
}

TEST(RelayFrames, IntervalMantissaAndExponent)
{
    struct Case {
        std::uint64_t ms;
        int mantissa, exponent;
    };
    const Case cases[] = {
        {0, 0, 0},       {7, 7, 0},        {99, 99, 0},     {100, 10, 1},
        {500, 50, 1},    {999, 99, 1},     {1234, 12, 2},   {60000, 60, 3},
        {4294967295u, 42, 8}, {std::numeric_limits<std::uint64_t>::max(), 18, 18},
    };
    for (const Case& c : cases) {
        IntervalCode code = encodeInterval(c.ms);
        EXPECT_EQ(code.mantissa, c.mantissa) << c.ms;
        EXPECT_EQ(code.exponent, c.exponent) << c.ms;
    }
}

TEST(RelayFrames, SequenceWithFewerThanThreeNumbers)
{
    struct Case {
        int operation;
        const char* parameter;
        const char* frame;
    };
    const Case cases[] = {
        {RelaySequenceClose, "2 8", "55 01 18 02 0A 01 08 83"},  // 100 ms
        {RelaySequenceClose, "5", "55 01 18 05 0A 01 05 83"},    // last = first, 100 ms
        {RelaySequenceOpen, "2 8 0", "55 01 17 02 00 00 08 77"},
        {RelaySequenceOpen, "2 8 1234 7", "55 01 17 02 0C 02 08 85"},  // a fourth number is unused
        {RelaySequenceOpen, "8 2 50", "55 01 17 08 32 00 02 A9"},     // downwards
    };
    for (const Case& c : cases)
        EXPECT_EQ(frameHex(req(c.operation, c.parameter)), c.frame) << c.parameter;
}

TEST(RelayFrames, Refusals)
{
    struct Case {
        RelayRequest request;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {req(RelayQueryState, "", 1, false), "查询状态必须要有返回码！", ""},
        {req(RelayGroupClose), "请输入要求闭合的路数，中间使用空格间隔，比如 1 3 5 12 16  ", "提示"},
        {req(RelayGroupOpen, "   "), "请输入要求断开的路数，中间使用空格间隔，比如 1 3 5 12 16  ",
         "提示"},
        {req(RelayGroupToggle), "请输入要求翻转的路数，中间使用空格间隔，比如 1 3 5 12 16  ", "提示"},
        {req(RelaySequenceOpen),
         "请输入顺序断开的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 ", "提示"},
        {req(RelaySequenceClose, "", 1, false),
         "请输入顺序闭合的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 ", "提示"},
        // Values the frame cannot carry are refused, not cut to their low bits.
        {req(RelayJogChannel, "16777216"), "点动时间不能超过16777215毫秒", "提示"},
        {req(RelayBroadcastAddress, "256"), "地址只能是0到255", "提示"},
        {req(RelaySetAddress, "1000"), "地址只能是0到255", "提示"},
        {req(RelaySequenceClose, "0 8 100"), "首路和末路只能是1到32", "提示"},
        {req(RelaySequenceClose, "2 33"), "首路和末路只能是1到32", "提示"},
        {req(RelaySequenceClose, "260 262"), "首路和末路只能是1到32", "提示"},
    };
    for (const Case& c : cases) {
        RelayBuild b = buildRelayFrame(c.request);
        EXPECT_TRUE(b.refused()) << c.text;
        ASSERT_FALSE(b.messages.empty()) << c.text;
        EXPECT_EQ(b.messages.back(), (RelayMessage{c.text, c.caption}));
    }

    // Only offending characters: the digit messages, then the refusal.
    RelayBuild b = buildRelayFrame(req(RelaySequenceOpen, "ab"));
    EXPECT_TRUE(b.refused());
    ASSERT_EQ(b.messages.size(), 3u);
    EXPECT_EQ(b.messages[0].text, "参数只能是数字");
    EXPECT_EQ(b.messages[2].text,
              "请输入顺序断开的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 ");
}

TEST(RelayFrames, OperationsWithoutParameterIgnoreTheParameterBox)
{
    for (int op : {RelayQueryState, RelayCloseChannel, RelayCloseAll, RelayOpenAll}) {
        RelayBuild b = buildRelayFrame(req(op, "junk!"));
        EXPECT_FALSE(b.refused()) << op;
        EXPECT_TRUE(b.messages.empty()) << op;
    }
    // Empty parameters of the jog and the address changes mean 0.
    EXPECT_EQ(frameHex(req(RelayJogChannel, "", 2)), "55 01 21 00 00 00 02 79");
    EXPECT_EQ(frameHex(req(RelayBroadcastAddress)), "55 F5 41 00 00 00 00 8B");
}

TEST(RelayFrames, FindsOperationsByIndexNameOrAlias)
{
    struct Case {
        const char* text;
        int index;
    };
    const Case cases[] = {
        {"0", 0},        {"14", 14},           {"07", 7},        {"15", -1},
        {"-1", -1},      {"", -1},             {"查询状态", 0},  {"顺序闭合某连续几路", 14},
        {"close", 1},    {"sequence-open", 13}, {"CLOSE", -1},   {"100", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findRelayOperation(c.text), c.index) << c.text;
    for (int i = 0; i < kRelayOperationCount; ++i) {
        EXPECT_EQ(findRelayOperation(relayOperation(i)->name), i);
        EXPECT_EQ(findRelayOperation(relayOperation(i)->alias), i);
    }
}

TEST(RelayFrames, SendHexText)
{
    struct Case {
        std::string text;
        bool ok;
        const char* bytes;
    };
    const Case cases[] = {
        {"1 2 ff", true, "01 02 FF"},
        {"  55 01 12 00 00 00 01 69  ", true, "55 01 12 00 00 00 01 69"},
        {"55\t01\r\n12", true, "55 01 12"},
        {"0x12 0XaB", true, "12 AB"},
        {"1FF", true, "FF"},                // the low 8 bits
        {"123456789", true, "89"},          // nine characters
        {"1234567890", false, ""},          // ten: no bytes at all
        {"01 zz", false, ""},               // not a hex number: no bytes at all
        {"0x", false, ""},
        {"-1", false, ""},
        {"", true, ""},
        {"   ", true, ""},
    };
    for (const Case& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(parseSendHex(c.text, bytes), c.ok) << c.text;
        EXPECT_EQ(hexText(bytes), c.bytes) << c.text;
    }
}

TEST(RelayFrames, SendHexLengthLimitsAndManyTokens)
{
    // 249 one-digit tokens: 497 characters, every token gives its own byte.
    std::string text;
    for (int i = 0; i < 249; ++i)
        text += i ? " f" : "f";
    ASSERT_EQ(text.size(), 497u);
    std::string bytes;
    ASSERT_TRUE(parseSendHex(" " + text + " ", bytes));
    EXPECT_EQ(bytes, std::string(249, '\x0F'));
    EXPECT_FALSE(parseSendHex(text + "f", bytes));  // 498 characters
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace orlo
