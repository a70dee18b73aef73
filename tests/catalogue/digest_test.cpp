// Known-answer digests of every choice list of both catalogues, per kind:
// the number of entries and an FNV-1a hash over every (param1, param2,
// value, text). Any changed, missing or extra entry or blank shows here and
// names its kind; the other tests say which entries matter and why.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "catalogue/conditions.h"
#include "catalogue/results.h"
#include "expr/names.h"

namespace orlo {
namespace {

struct Digest {
    int entries = 0;
    std::uint32_t hash = 2166136261u;

    void add(int a, int b, int value, const std::string& text)
    {
        const std::string item = std::to_string(a) + "," + std::to_string(b) + "," +
                                 std::to_string(value) + "=" + text + "\n";
        for (unsigned char c : item) {
            hash ^= c;
            hash *= 16777619u;
        }
        ++entries;
    }
};

// Walks every list of one kind at one level: param1 and param2 from 0 to
// the given bounds, values from 1 to the first empty text.
Digest digestOf(int p1Max, int p2Max, const std::function<std::string(int, int, int)>& text)
{
    Digest d;
    for (int a = 0; a <= p1Max; ++a) {
        for (int b = 0; b <= p2Max; ++b) {
            for (int v = 1; v <= 255; ++v) {
                std::string t = text(a, b, v);
                if (t.empty())
                    break;
                d.add(a, b, v, t);
            }
        }
    }
    return d;
}

std::array<std::uint8_t, 256> record(int kind, int a, int b)
{
    std::array<std::uint8_t, 256> r{};
    r[0] = static_cast<std::uint8_t>(kind);
    r[1] = static_cast<std::uint8_t>(a);
    r[2] = static_cast<std::uint8_t>(b);
    return r;
}

struct Known {
    int kind;
    int entries;
    std::uint32_t hash;
};

void check(const char* level, const Known* known, std::size_t count,
           const std::function<Digest(int)>& digest)
{
    std::size_t next = 0;
    for (int kind = 0; kind <= 41; ++kind) {
        Digest d = digest(kind);
        if (d.entries == 0)
            continue;
        const bool listed = next < count && known[next].kind == kind;
        EXPECT_TRUE(listed && known[next].entries == d.entries && known[next].hash == d.hash)
            << level << ": {" << kind << ", " << d.entries << ", 0x" << std::hex << d.hash
            << std::dec << "u},";
        if (listed)
            ++next;
    }
    EXPECT_EQ(next, count) << level << ": kinds listed here have no entries";
}

class CatalogueDigests : public ::testing::Test {
protected:
    void SetUp() override { names().clear(); }
};

TEST_F(CatalogueDigests, ConditionLists)
{
    const Known param1[] = {
        {1, 200, 0x6f48e977u}, {2, 200, 0xc6bbb63u}, {3, 200, 0xcc2fca3fu},
        {4, 200, 0xea0252d7u}, {5, 200, 0xcbdea563u}, {6, 3, 0x77691afbu},
        {7, 2, 0x2785f702u}, {8, 4, 0x8220dcb9u}, {9, 4, 0x392aee97u},
        {10, 32, 0x58e41b75u}, {11, 32, 0x58e41b75u}, {12, 255, 0x37eca2beu},
        {14, 200, 0x2fe8931bu}, {15, 7, 0x211d39d3u}, {16, 5, 0xb3c7463cu},
        {17, 100, 0x7fc63497u}, {19, 100, 0x7fc63497u}, {20, 2, 0x9bea8f92u},
        {21, 4, 0x3c276f6bu}, {24, 2, 0x18f503b4u}, {25, 10, 0x595ebcb7u},
    };
    const Known param2[] = {
        {1, 81, 0xe698a6c7u}, {2, 45, 0x2fa20ff0u}, {3, 90, 0xcc7ad62fu},
        {4, 45, 0x8b6b10au}, {5, 63, 0x2d2ea195u}, {6, 9, 0x46060bd8u},
        {7, 9, 0x2a478ac3u}, {8, 9, 0x156be466u}, {9, 36, 0x62078199u},
        {10, 9, 0x6d247b3eu}, {11, 9, 0x6d247b3eu}, {12, 288, 0xdb4f6389u},
        {13, 54, 0x5be3d3a0u}, {14, 54, 0x5be3d3a0u}, {17, 36, 0x409d0a01u},
        {18, 54, 0xd6e67d7cu}, {19, 36, 0x615b6dc1u}, {20, 11, 0x7d9234acu},
        {21, 15, 0xc7d57fffu}, {24, 101, 0xcb87edaeu}, {25, 81, 0x3bc75fe0u},
    };
    const Known param3[] = {
        {9, 1341, 0x9c9ee1c4u}, {12, 405, 0x58782200u}, {17, 5418, 0xf084a442u},
    };
    check("condition param1", param1, std::size(param1), [](int kind) {
        return digestOf(0, 0, [kind](int a, int b, int v) {
            auto r = record(kind, a, b);
            return conditionParam1Text(r.data(), v);
        });
    });
    check("condition param2", param2, std::size(param2), [](int kind) {
        return digestOf(8, 0, [kind](int a, int b, int v) {
            auto r = record(kind, a, b);
            return conditionParam2Text(r.data(), v);
        });
    });
    check("condition param3", param3, std::size(param3), [](int kind) {
        return digestOf(8, 8, [kind](int a, int b, int v) {
            auto r = record(kind, a, b);
            return conditionParam3Text(r.data(), v);
        });
    });
}

TEST_F(CatalogueDigests, ResultLists)
{
    const Known param1[] = {
        {1, 22, 0xfbbb2547u}, {2, 200, 0xcc2fca3fu}, {3, 3, 0x6a7cb5cu},
        {4, 200, 0xcbdea563u}, {5, 7, 0x33a5e713u}, {6, 6, 0xfaea5cfu},
        {7, 32, 0x58e41b75u}, {8, 2, 0xde7419c8u}, {9, 5, 0x6abf4054u},
        {10, 6, 0x92b3c221u}, {11, 6, 0x92b3c221u}, {12, 3, 0xc3579cb3u},
        {13, 255, 0x37eca2beu}, {14, 6, 0x92b3c221u}, {17, 1, 0x67229f57u},
        {18, 3, 0xc603aadeu}, {19, 100, 0x7fc63497u}, {20, 100, 0x7fc63497u},
        {21, 100, 0x7fc63497u}, {22, 10, 0x595ebcb7u}, {23, 4, 0xe1aecb3bu},
        {24, 32, 0xd6d68861u}, {25, 3, 0xb5898529u}, {26, 8, 0xceba83b7u},
        {27, 8, 0x5e1aa3f0u}, {30, 8, 0x1dff03dbu}, {31, 6, 0x9f117c7eu},
        {32, 32, 0x58e41b75u}, {33, 200, 0x2c21ac73u}, {34, 200, 0x815fa1bbu},
        {35, 6, 0xd2fecd3du}, {36, 8, 0xd6deb246u}, {38, 10, 0x595ebcb7u},
        {39, 1, 0x5a959859u},
    };
    const Known param2[] = {
        {1, 302, 0xca97be76u}, {2, 96, 0x7aa92925u}, {3, 800, 0xc4170bbdu},
        {4, 1488, 0x614df42du}, {5, 756, 0x56ddd6f9u}, {6, 74, 0x77231be0u},
        {7, 120, 0x6cc31ae9u}, {8, 72, 0x9f2bc6bbu}, {9, 218, 0xe3bf45ffu},
        {10, 6, 0x83cb7f82u}, {11, 6, 0x83cb7f82u}, {12, 500, 0x3db8a10fu},
        {13, 264, 0xcf18db87u}, {14, 72, 0xbc205e2du}, {15, 288, 0xe3cc50e1u},
        {16, 21, 0x9fa10ea0u}, {17, 1, 0x3826b7c9u}, {18, 432, 0x410aeb85u},
        {19, 600, 0xb27e17adu}, {20, 360, 0x35f337afu}, {21, 168, 0xfc9dbdb1u},
        {22, 120, 0xc5a617f9u}, {23, 24, 0x4b820e31u}, {24, 192, 0x7f20b6cfu},
        {25, 19, 0x279737e2u}, {26, 74, 0xda9e4bc0u}, {27, 43, 0x2ad24589u},
        {28, 9, 0xac898698u}, {29, 68, 0xf2cc75fbu}, {30, 139, 0xc7f1b3b9u},
        {31, 53, 0xe7f8db5cu}, {32, 120, 0x1472af89u}, {33, 96, 0x1c56fd4du},
        {34, 96, 0x1c56fd4du}, {35, 17, 0x337c84ffu}, {36, 64, 0xc0569e9bu},
        {38, 144, 0x476eb2f7u}, {39, 1, 0x8ec2e212u},
    };
    const Known param3[] = {
        {9, 896, 0x29b8ba25u}, {19, 9936, 0xf88b183du}, {25, 4, 0xb7d2148du},
    };
    check("result param1", param1, std::size(param1), [](int kind) {
        return digestOf(0, 0, [kind](int, int, int v) { return resultParam1Text(kind, v); });
    });
    check("result param2", param2, std::size(param2), [](int kind) {
        return digestOf(24, 0, [kind](int a, int, int v) { return resultParam2Text(kind, a, v); });
    });
    check("result param3", param3, std::size(param3), [](int kind) {
        return digestOf(3, 27, [kind](int a, int b, int v) {
            auto r = record(kind, a, b);
            return resultParam3Choice(r.data(), v);
        });
    });
}

}  // namespace
}  // namespace orlo
