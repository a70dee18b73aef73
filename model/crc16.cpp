// CRC-16/MODBUS in the two-table form. The tables are derived from the
// polynomial at compile time: entry i of the bitwise table T, split into its
// low byte (highTable, which begins 00 C1 81 40) and its high byte (lowTable,
// which begins 00 C0 C1 01). The names follow the registers they feed.
#include "model/crc16.h"

#include <array>

namespace orlo {

namespace {

constexpr std::uint16_t kPolynomial = 0xA001;  // 0x8005 reflected

constexpr std::uint16_t bitwiseEntry(unsigned i)
{
    std::uint16_t crc = static_cast<std::uint16_t>(i);
    for (int bit = 0; bit < 8; ++bit)
        crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ kPolynomial)
                        : static_cast<std::uint16_t>(crc >> 1);
    return crc;
}

struct Tables {
    std::array<std::uint8_t, 256> high{};
    std::array<std::uint8_t, 256> low{};
};

constexpr Tables makeTables()
{
    Tables t{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t e = bitwiseEntry(i);
        t.high[i] = static_cast<std::uint8_t>(e & 0xFF);
        t.low[i] = static_cast<std::uint8_t>(e >> 8);
    }
    return t;
}

constexpr Tables kTables = makeTables();
static_assert(kTables.high[1] == 0xC1 && kTables.high[2] == 0x81 && kTables.high[3] == 0x40,
              "high table must begin 00 C1 81 40");
static_assert(kTables.low[1] == 0xC0 && kTables.low[2] == 0xC1 && kTables.low[3] == 0x01,
              "low table must begin 00 C0 C1 01");

}  // namespace

Crc16 crc16(const std::uint8_t* data, std::size_t n)
{
    Crc16 c;
    for (std::size_t k = 0; k < n; ++k) {
        std::uint8_t i = static_cast<std::uint8_t>(data[k] ^ c.hi);
        c.hi = static_cast<std::uint8_t>(c.lo ^ kTables.high[i]);
        c.lo = kTables.low[i];
    }
    return c;
}

Crc16 crc16(const std::string& bytes)
{
    return crc16(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::uint16_t functionFileCheck(const Crc16& c)
{
    return static_cast<std::uint16_t>(c.hi * 256 + c.lo + 1);
}

}  // namespace orlo
