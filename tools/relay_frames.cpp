// Building relay-board frames and reading the wizard's number lists and send
// text (see relay_frames.h).
#include "tools/relay_frames.h"

#include <limits>

#include "device/frames.h"
#include "platform/strings.h"

namespace orlo {

const char* const kOnlyDigitsMessage = "参数只能是数字";
const char* const kNotHexMessage = "发送内容不是16进制数据，每个字节用空格隔开，比如 55 01 10 00 00 00 00 66";
const char* const kNotHexCaption = "提示";

namespace {

const char* const kPromptCaption = "提示";
const char* const kDefaultCaption = "";

// Values the frame cannot carry are refused rather than cut to their low
// bits: a jog of 16777217 ms would otherwise last 1 ms, a new address 256
// would become 0, and a sequence from channel 260 would start at channel 4.
const char* const kJogTooLong = "点动时间不能超过16777215毫秒";
const char* const kAddressOutOfRange = "地址只能是0到255";
const char* const kSequenceChannelOutOfRange = "首路和末路只能是1到32";
constexpr std::uint64_t kLongestJogMs = 0xFFFFFF;

const RelayOperation operations[kRelayOperationCount] = {
    {"查询状态", "query", 0x10, 0x00, RelayValue::Zero, false, true, "查询状态必须要有返回码！",
     nullptr},
    {"闭合某一路", "close", 0x12, 0x32, RelayValue::Channel, false, true, nullptr, nullptr},
    {"断开某一路", "open", 0x11, 0x31, RelayValue::Channel, false, true, nullptr, nullptr},
    {"翻转某一路", "toggle", 0x20, 0x30, RelayValue::Channel, false, true, nullptr, nullptr},
    {"点动某一路", "jog", 0x21, 0x37, RelayValue::Jog, false, true, nullptr, nullptr},
    {"全部闭合", "close-all", 0x13, 0x33, RelayValue::AllOn, false, true, nullptr, nullptr},
    {"全部断开", "open-all", 0x13, 0x33, RelayValue::Zero, false, true, nullptr, nullptr},
    {"组闭合", "group-close", 0x15, 0x35, RelayValue::Mask, false, true, nullptr,
     "请输入要求闭合的路数，中间使用空格间隔，比如 1 3 5 12 16  "},
    {"组断开", "group-open", 0x14, 0x34, RelayValue::Mask, false, true, nullptr,
     "请输入要求断开的路数，中间使用空格间隔，比如 1 3 5 12 16  "},
    {"组翻转", "group-toggle", 0x16, 0x36, RelayValue::Mask, false, true, nullptr,
     "请输入要求翻转的路数，中间使用空格间隔，比如 1 3 5 12 16  "},
    {"指令执行", "execute", 0x13, 0x33, RelayValue::Mask, false, true, nullptr, nullptr},
    {"广播更改地址", "broadcast-address", 0x41, 0x41, RelayValue::NewAddress, true, false, nullptr,
     nullptr},
    {"单独更改地址", "set-address", 0x41, 0x41, RelayValue::NewAddress, false, false, nullptr,
     nullptr},
    {"顺序断开某连续几路", "sequence-open", 0x17, 0x39, RelayValue::Sequence, false, true, nullptr,
     "请输入顺序断开的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 "},
    {"顺序闭合某连续几路", "sequence-close", 0x18, 0x3A, RelayValue::Sequence, false, true,
     nullptr, "请输入顺序闭合的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 "},
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool isGbkTrail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}


// A blank-free token as a hex number of at most 9 characters; false for
// anything else.
bool hexToken(const std::string& token, std::uint8_t& byte)
{
    if (token.size() > kLongestSendHexToken)
        return false;
    std::size_t i = 0;
    if (token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X'))
        i = 2;
    if (i >= token.size())
        return false;
    std::uint64_t v = 0;
    for (; i < token.size(); ++i) {
        int d = hexDigit(token[i]);
        if (d < 0)
            return false;
        v = v * 16 + static_cast<unsigned>(d);
    }
    byte = static_cast<std::uint8_t>(v & 0xFFu);
    return true;
}

std::uint64_t numberOr(const std::vector<std::uint64_t>& numbers, std::size_t i,
                       std::uint64_t fallback)
{
    return i < numbers.size() ? numbers[i] : fallback;
}

}  // namespace

const RelayOperation* relayOperation(int index)
{
    if (index < 0 || index >= kRelayOperationCount)
        return nullptr;
    return &operations[index];
}

int findRelayOperation(const std::string& text)
{
    if (!text.empty() && text.size() <= 2) {
        bool digits = true;
        int n = 0;
        for (char c : text) {
            digits = digits && isDigit(c);
            n = n * 10 + (c - '0');
        }
        if (digits)
            return n < kRelayOperationCount ? n : -1;
    }
    for (int i = 0; i < kRelayOperationCount; ++i)
        if (text == operations[i].name || text == operations[i].alias)
            return i;
    return -1;
}

NumberList parseNumberList(const std::string& text)
{
    NumberList out;
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isDigit(c)) {
            std::uint64_t v = 0;
            for (; i < text.size() && isDigit(text[i]); ++i) {
                const unsigned d = static_cast<unsigned>(text[i] - '0');
                v = v > (most - d) / 10 ? most : v * 10 + d;
            }
            if (out.numbers.size() < kMostListNumbers)
                out.numbers.push_back(v);
            continue;
        }
        if (!isBlank(c)) {
            ++out.offending;
            // A GBK double-byte character is one character to the user.
            if (isGbkLead(static_cast<unsigned char>(c)) && i + 1 < text.size() &&
                isGbkTrail(static_cast<unsigned char>(text[i + 1])))
                ++i;
        }
        ++i;
    }
    return out;
}

std::uint32_t channelMask(const std::vector<std::uint64_t>& numbers)
{
    std::uint32_t mask = 0;
    for (std::uint64_t n : numbers)
        if (n >= 1 && n <= kRelayChannelCount)
            mask |= std::uint32_t{1} << (n - 1);
    return mask;
}

IntervalCode encodeInterval(std::uint64_t ms)
{
    unsigned digits = 0;
    for (std::uint64_t v = ms; v != 0; v /= 10)
        ++digits;
    IntervalCode code;
    if (digits < 3) {
        code.mantissa = static_cast<std::uint8_t>(ms);
        return code;
    }
    std::uint64_t mantissa = ms;
    for (unsigned k = 0; k < digits - 2; ++k)
        mantissa /= 10;
    code.mantissa = static_cast<std::uint8_t>(mantissa);
    code.exponent = static_cast<std::uint8_t>(digits - 2);
    return code;
}

RelayBuild buildRelayFrame(const RelayRequest& request)
{
    RelayBuild build;
    const RelayOperation* op = relayOperation(request.operation);
    if (!op)
        return build;
    auto refuse = [&build](const char* text, const char* caption) {
        build.messages.push_back(RelayMessage{text, caption});
        build.frame.clear();
        return build;
    };

    if (!request.withReply && op->noReplyRefusal)
        return refuse(op->noReplyRefusal, kDefaultCaption);

    const bool usesParameter = op->value == RelayValue::Jog || op->value == RelayValue::Mask ||
                               op->value == RelayValue::NewAddress ||
                               op->value == RelayValue::Sequence;
    NumberList list;
    if (usesParameter) {
        const bool empty = trim(request.parameter).empty();
        if (empty && op->emptyRefusal)
            return refuse(op->emptyRefusal, kPromptCaption);
        list = parseNumberList(request.parameter);
        for (int k = 0; k < list.offending; ++k)
            build.messages.push_back(RelayMessage{kOnlyDigitsMessage, kPromptCaption});
    }
    const std::vector<std::uint64_t>& n = list.numbers;
    const std::uint8_t channel = static_cast<std::uint8_t>(
        request.channel >= 1 && request.channel <= kRelayChannelCount ? request.channel : 1);

    std::uint32_t value = 0;
    switch (op->value) {
    case RelayValue::Zero:
        break;
    case RelayValue::AllOn:
        value = 0xFFFFFFFFu;
        break;
    case RelayValue::Channel:
        value = channel;
        break;
    case RelayValue::Jog: {
        const std::uint64_t ms = numberOr(n, 0, 0);
        if (ms > kLongestJogMs)
            return refuse(kJogTooLong, kPromptCaption);
        value = static_cast<std::uint32_t>(ms << 8) | channel;
        break;
    }
    case RelayValue::Mask:
        value = channelMask(n);
        break;
    case RelayValue::NewAddress: {
        const std::uint64_t address = numberOr(n, 0, 0);
        if (address > 0xFF)
            return refuse(kAddressOutOfRange, kPromptCaption);
        value = static_cast<std::uint32_t>(address);
        break;
    }
    case RelayValue::Sequence: {
        // Only offending characters: nothing to build from, as if empty.
        if (n.empty())
            return refuse(op->emptyRefusal, kPromptCaption);
        const std::uint64_t first = n[0];
        const std::uint64_t last = numberOr(n, 1, first);
        const std::uint64_t interval = numberOr(n, 2, kDefaultSequenceIntervalMs);
        if (first < 1 || first > kRelayChannelCount || last < 1 || last > kRelayChannelCount)
            return refuse(kSequenceChannelOutOfRange, kPromptCaption);
        const IntervalCode code = encodeInterval(interval);
        value = static_cast<std::uint32_t>(first) << 24 | std::uint32_t{code.mantissa} << 16 |
                std::uint32_t{code.exponent} << 8 | static_cast<std::uint32_t>(last);
        break;
    }
    }

    const std::uint8_t target = op->broadcast ? kRelayBroadcastAddress : request.address;
    const std::uint8_t function = request.withReply ? op->withReply : op->withoutReply;
    build.frame = addressFrame(target, function, value);
    return build;
}

std::string relayFrameText(const std::string& frame)
{
    return hexText(frame);
}

bool parseSendHex(const std::string& text, std::string& bytes)
{
    bytes.clear();
    const std::string t = trim(text);
    if (t.size() >= kMostSendHexChars)
        return false;
    std::size_t i = 0;
    while (i < t.size()) {
        if (isBlank(t[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < t.size() && !isBlank(t[end]))
            ++end;
        std::uint8_t byte = 0;
        if (!hexToken(t.substr(i, end - i), byte)) {
            bytes.clear();
            return false;
        }
        bytes += static_cast<char>(byte);
        i = end;
    }
    return true;
}

}  // namespace orlo
