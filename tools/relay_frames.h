// The relay boards' 8-byte command frames ("55" frames) as the command wizard
// builds them: the fifteen operations and their function codes, the number
// lists of the parameter box, the interval code of the sequence operations,
// and the hex text of the wizard's and the terminal's "发送".
//
// Frame layout: 0x55, board address, function code, D3, D2, D1, D0, sum,
// where D3..D0 is one 32-bit value sent high byte first and sum is the low
// 8 bits of the sum of the seven bytes before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orlo {

constexpr int kRelayOperationCount = 15;
constexpr int kRelayChannelCount = 32;

// The operations by their place in the wizard's list.
enum RelayOperationIndex : int {
    RelayQueryState = 0,
    RelayCloseChannel = 1,
    RelayOpenChannel = 2,
    RelayToggleChannel = 3,
    RelayJogChannel = 4,
    RelayCloseAll = 5,
    RelayOpenAll = 6,
    RelayGroupClose = 7,
    RelayGroupOpen = 8,
    RelayGroupToggle = 9,
    RelayExecute = 10,
    RelayBroadcastAddress = 11,
    RelaySetAddress = 12,
    RelaySequenceOpen = 13,
    RelaySequenceClose = 14,
};

// How an operation fills D3..D0.
enum class RelayValue {
    Zero,        // 00 00 00 00
    AllOn,       // FF FF FF FF
    Channel,     // 00 00 00 channel (the channel list)
    Jog,         // jog time in ms (24 bits, first number), channel
    Mask,        // bit n - 1 for each channel n of the parameter's list
    NewAddress,  // 00 00 00 new address (first number)
    Sequence,    // first, interval mantissa, interval exponent, last
};

// A message box: text and caption (empty: the application's default caption).
struct RelayMessage {
    std::string text;
    std::string caption;
    bool operator==(const RelayMessage& o) const { return text == o.text && caption == o.caption; }
};

struct RelayOperation {
    const char* name;            // the wizard's list entry, "闭合某一路"
    const char* alias;           // the command line's English name, "close"
    std::uint8_t withReply;      // function code with "需要回码"
    std::uint8_t withoutReply;   // function code with "不需要回码"
    RelayValue value;
    bool broadcast;              // byte 1 is 0xF5, whatever address is chosen
    bool awaitsReply;            // the board answers the with-reply form
    const char* noReplyRefusal;  // refusal of "不需要回码" (default caption), or nullptr
    const char* emptyRefusal;    // refusal of an empty parameter ("提示"), or nullptr
};

// Operation index (0 to kRelayOperationCount - 1); nullptr outside.
const RelayOperation* relayOperation(int index);
// The index of an operation given as its index ("4"), its list entry or its
// command-line name; -1 when none.
int findRelayOperation(const std::string& text);

// The target address of operations with broadcast set.
constexpr std::uint8_t kRelayBroadcastAddress = 0xF5;
// The sequence operations' defaults for numbers left out of the parameter box.
constexpr std::uint64_t kDefaultSequenceIntervalMs = 100;

// The numbers of a parameter box: decimal numbers separated by blanks. Any
// other character counts as one offending character (a GBK double-byte
// character counts once) and separates numbers like a blank. At most
// kMostListNumbers numbers are taken; a number too large for 64 bits reads as
// the largest 64-bit value.
constexpr std::size_t kMostListNumbers = 99;
struct NumberList {
    std::vector<std::uint64_t> numbers;
    int offending = 0;  // characters other than digits and blanks
};
NumberList parseNumberList(const std::string& text);

// Bit n - 1 for each number n from 1 to 32; other numbers are ignored.
std::uint32_t channelMask(const std::vector<std::uint64_t>& numbers);

// An interval t in ms as the board takes it: a two-digit mantissa and a
// decimal exponent, waiting mantissa × 10^exponent ms. With d the number of
// decimal digits of t (0 for t = 0): below 3 digits the mantissa is t and the
// exponent 0; otherwise the two leading digits and d − 2 (500 → 50, 1;
// 1234 → 12, 2).
struct IntervalCode {
    std::uint8_t mantissa = 0;
    std::uint8_t exponent = 0;
};
IntervalCode encodeInterval(std::uint64_t ms);

// What the wizard's controls say.
struct RelayRequest {
    int operation = RelayCloseChannel;
    std::uint8_t address = 1;
    int channel = 1;  // 1 to 32
    bool withReply = true;
    std::string parameter;
};

// The outcome of "生成命令": the messages to show, in order, and the frame,
// empty when the request was refused (the last message says why).
struct RelayBuild {
    std::vector<RelayMessage> messages;
    std::string frame;
    bool refused() const { return frame.empty(); }
};

// The message of each offending character of a parameter box.
extern const char* const kOnlyDigitsMessage;  // "参数只能是数字"

RelayBuild buildRelayFrame(const RelayRequest& request);

// The frame as the output box shows it: "55 01 12 00 00 00 01 69".
std::string relayFrameText(const std::string& frame);

// The hex text of "发送" (wizard and terminal): the text is trimmed and split
// at blanks, each token is one byte, the low 8 bits of a hexadecimal number
// of at most 9 characters with an optional "0x". A trimmed text of
// kMostSendHexChars characters or more, a longer token or a token that is not
// such a number makes the whole text yield no bytes: false, bytes empty. An
// empty text gives true and no bytes.
constexpr std::size_t kMostSendHexChars = 498;
constexpr std::size_t kLongestSendHexToken = 9;
bool parseSendHex(const std::string& text, std::string& bytes);
// The refusal of hex text that parseSendHex rejects, caption "提示".
extern const char* const kNotHexMessage;
extern const char* const kNotHexCaption;

}  // namespace orlo
