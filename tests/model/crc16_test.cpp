// The check value: known answers and the table form against a bitwise reference.
#include <gtest/gtest.h>

#include "model/crc16.h"

namespace orlo {
namespace {

// The plain bitwise CRC-16/MODBUS, written independently of the tables.
std::uint16_t referenceCrc(const std::string& bytes)
{
    std::uint16_t crc = 0xFFFF;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<std::uint16_t>(crc >> 1);
    }
    return crc;
}

TEST(Crc16, CatalogueCheckValueStoredLowByteFirst)
{
    Crc16 c = crc16(std::string("123456789"));
    EXPECT_EQ(c.value(), 0x4B37);
    EXPECT_EQ(c.hi, 0x37);  // stored first
    EXPECT_EQ(c.lo, 0x4B);
}

TEST(Crc16, EmptyInputLeavesInitialRegisters)
{
    Crc16 c = crc16(std::string());
    EXPECT_EQ(c.hi, 0xFF);
    EXPECT_EQ(c.lo, 0xFF);
}

TEST(Crc16, EverySingleByteMatchesBitwiseReference)
{
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        EXPECT_EQ(crc16(one).value(), referenceCrc(one)) << "byte " << b;
    }
}

TEST(Crc16, LongerInputsMatchBitwiseReference)
{
    std::string data;
    unsigned seed = 12345;
    for (int n = 0; n < 300; ++n) {
        seed = seed * 1103515245u + 12345u;
        data += static_cast<char>(seed >> 16);
        ASSERT_EQ(crc16(data).value(), referenceCrc(data)) << "length " << data.size();
    }
}

TEST(Crc16, DeviceFrameKnownAnswer)
{
    // A common MODBUS request: 01 03 00 00 00 0A carries C5 CD.
    Crc16 c = crc16(std::string("\x01\x03\x00\x00\x00\x0A", 6));
    EXPECT_EQ(c.hi, 0xC5);
    EXPECT_EQ(c.lo, 0xCD);
}

TEST(Crc16, FunctionFileCheckAddsOneModulo65536)
{
    Crc16 c;
    c.hi = 0x12;
    c.lo = 0x34;
    EXPECT_EQ(functionFileCheck(c), 0x1235);
    c.hi = 0xFF;
    c.lo = 0xFF;
    EXPECT_EQ(functionFileCheck(c), 0x0000);
}

}  // namespace
}  // namespace orlo
