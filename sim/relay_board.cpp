// The relay board's operations as a table of function codes (see relay_board.h).
#include "sim/relay_board.h"

#include <algorithm>

namespace orlo::sim {

namespace {

enum class Op { Query, Open, Close, Toggle, Jog, SetAll, GroupOpen, GroupClose, GroupToggle, RunOpen, RunClose };

struct Function {
    std::uint8_t code;
    Op op;
    bool replies;
};

const Function kFunctions[] = {
    {0x10, Op::Query, true},       {0x11, Op::Open, true},        {0x31, Op::Open, false},
    {0x12, Op::Close, true},       {0x32, Op::Close, false},      {0x20, Op::Toggle, true},
    {0x30, Op::Toggle, false},     {0x21, Op::Jog, true},         {0x37, Op::Jog, false},
    {0x13, Op::SetAll, true},      {0x33, Op::SetAll, false},     {0x14, Op::GroupOpen, true},
    {0x34, Op::GroupOpen, false},  {0x15, Op::GroupClose, true},  {0x35, Op::GroupClose, false},
    {0x16, Op::GroupToggle, true}, {0x36, Op::GroupToggle, false}, {0x17, Op::RunOpen, true},
    {0x39, Op::RunOpen, false},    {0x18, Op::RunClose, true},    {0x3A, Op::RunClose, false},
};

const Function* findFunction(std::uint8_t code)
{
    for (const Function& f : kFunctions)
        if (f.code == code)
            return &f;
    return nullptr;
}

// The bit of channel 1 to 32; 0 for any other number.
std::uint32_t channelBit(unsigned channel)
{
    return channel >= 1 && channel <= 32 ? 1u << (channel - 1) : 0;
}

// mantissa × 10^exponent milliseconds; exponents above 6 count as 6.
std::uint64_t intervalMs(unsigned mantissa, unsigned exponent)
{
    std::uint64_t ms = mantissa;
    for (unsigned i = 0; i < std::min(exponent, 6u); ++i)
        ms *= 10;
    return ms;
}

}  // namespace

bool RelayBoard::isBoardFunction(std::uint8_t function)
{
    return findFunction(function) != nullptr;
}

void RelayBoard::schedule(std::uint64_t dueMs, std::uint32_t mask, bool close)
{
    schedule_.push_back({dueMs, mask, close});
    std::stable_sort(schedule_.begin(), schedule_.end(),
                     [](const Change& a, const Change& b) { return a.dueMs < b.dueMs; });
}

void RelayBoard::advance(std::uint64_t nowMs)
{
    std::size_t done = 0;
    for (; done < schedule_.size() && schedule_[done].dueMs <= nowMs; ++done) {
        const Change& c = schedule_[done];
        state_ = c.close ? state_ | c.mask : state_ & ~c.mask;
    }
    schedule_.erase(schedule_.begin(), schedule_.begin() + static_cast<std::ptrdiff_t>(done));
}

bool RelayBoard::apply(std::uint8_t function, std::uint32_t value, std::uint64_t nowMs)
{
    const Function* f = findFunction(function);
    if (!f)
        return false;
    advance(nowMs);
    const unsigned low = value & 0xFFu;
    const std::uint32_t bit = channelBit(low);
    switch (f->op) {
    case Op::Query:
        break;
    case Op::Open:
        state_ &= ~bit;
        break;
    case Op::Close:
        state_ |= bit;
        break;
    case Op::Toggle:
        state_ ^= bit;
        break;
    case Op::Jog:  // D3..D1: the time in milliseconds, D0: the channel
        state_ |= bit;
        schedule(nowMs + (value >> 8), bit, false);
        break;
    case Op::SetAll:
        state_ = value;
        break;
    case Op::GroupOpen:
        state_ &= ~value;
        break;
    case Op::GroupClose:
        state_ |= value;
        break;
    case Op::GroupToggle:
        state_ ^= value;
        break;
    case Op::RunOpen:
    case Op::RunClose: {  // D3 first, D2 mantissa, D1 exponent, D0 last
        const unsigned first = value >> 24;
        const std::uint64_t step = intervalMs((value >> 16) & 0xFFu, (value >> 8) & 0xFFu);
        for (unsigned ch = first, k = 0; ch <= low && ch <= 32; ++ch, ++k)
            schedule(nowMs + step * k, channelBit(ch), f->op == Op::RunClose);
        advance(nowMs);
        break;
    }
    }
    return f->replies;
}

}  // namespace orlo::sim
