// The program image: byte layout, stored lines, and reading damaged images.
#include <gtest/gtest.h>

#include <random>

#include "expr/names.h"
#include "model/crc16.h"
#include "model/image.h"
#include "platform/strings.h"

namespace orlo {
namespace {

// Condition kind 1 ("外部输入") is 5 bytes long, condition kind 3 ("定时器")
// 9; result kind 10 ("发送字符串") is 6 plus its count byte (param3 byte 0).
ProgramLine condition(int kind, int p1 = 0, int p2 = 0)
{
    ProgramLine l;
    l.instruction[0] = static_cast<std::uint8_t>(kind);
    l.instruction[1] = static_cast<std::uint8_t>(p1);
    l.instruction[2] = static_cast<std::uint8_t>(p2);
    return l;
}

ProgramLine result(int kind)
{
    ProgramLine l = condition(kind);
    l.isResult = 1;
    return l;
}

std::string bytesOf(std::initializer_list<int> v)
{
    std::string s;
    for (int b : v)
        s += static_cast<char>(b);
    return s;
}

class ImageTest : public ::testing::Test {
protected:
    Program prog;
    NameTable table;
};

TEST_F(ImageTest, EmptyProgramIsTheBareHeader)
{
    std::string image = buildImage(prog, table);
    ASSERT_EQ(image.size(), 16u);
    EXPECT_EQ(image.substr(2), bytesOf({0, 0, 0, 0x10, 0, 0x17, 0, 0x0A, 0, 0, 0, 0, 0, 0}));
    Crc16 c = crc16(image.substr(2));
    EXPECT_EQ(static_cast<std::uint8_t>(image[0]), c.hi);
    EXPECT_EQ(static_cast<std::uint8_t>(image[1]), c.lo);
    EXPECT_EQ(imageSize(prog, table), 0u);
    EXPECT_TRUE(checkImage(image));
}

TEST_F(ImageTest, OnlyLineInThreadSevenGivesBlock507)
{
    prog.threads[6].lines.push_back(condition(1, 2, 1));
    std::string image = buildImage(prog, table);
    ASSERT_EQ(image.size(), 16u + 6 + 5);
    EXPECT_EQ(hexText(image.substr(16)), "00 00 00 0B 01 FB 05 00 01 02 01");
    EXPECT_EQ(prog.threads[6].id, 507);
    EXPECT_EQ(imageSize(prog, table), 11u);
    EXPECT_EQ(image.size(), imageSize(prog, table) + 16);
}

TEST_F(ImageTest, BlocksComeInSectionOrderThenNames)
{
    prog.threads[0].lines.push_back(condition(1));
    prog.functions[99].lines.push_back(condition(1));
    prog.functions[0].lines.push_back(condition(1));
    prog.main.lines.push_back(condition(1));
    table.rename("整数5", "温度");
    std::string image = buildImage(prog, table);
    std::vector<unsigned> ids;
    for (std::size_t at = 16; at + 6 <= image.size();) {
        std::uint32_t len = static_cast<std::uint8_t>(image[at + 2]) << 8 | static_cast<std::uint8_t>(image[at + 3]);
        ids.push_back(static_cast<std::uint8_t>(image[at + 4]) << 8 | static_cast<std::uint8_t>(image[at + 5]));
        at += len;
    }
    EXPECT_EQ(ids, (std::vector<unsigned>{0, 1, 100, 501, 1002}));
    EXPECT_EQ(image.substr(image.size() - table.exportText().size()), table.exportText());
    EXPECT_TRUE(checkImage(image));
}

TEST_F(ImageTest, StoredLineFlagsAndRemarks)
{
    struct Case {
        const char* what;
        bool isResult;
        int orElse;
        std::string remark;
        int storedLength;
        int flags;
    };
    const std::string chinese70(70, '\xB0');  // 35 double-byte characters
    const Case cases[] = {
        {"AND condition, 2-byte remark", false, 0, "ab", 11, 0x02},
        {"OR condition", false, 1, "ab", 11, 0x42},
        {"result", true, 0, "ab", 11, 0x82},
        {"result when not met", true, 1, "ab", 11, 0xC2},
        {"orElse keeps bit 0 only", false, 3, "", 9, 0x40},
        {"70-byte remark cut to 63", false, 0, std::string(70, 'r'), 9 + 63, 63},
        {"never cut inside a character", false, 0, chinese70, 9 + 62, 62},
    };
    for (const Case& c : cases) {
        // Condition kind 3 and result kind 2 are both 9 bytes long.
        ProgramLine l = c.isResult ? result(2) : condition(3);
        l.orElse = static_cast<std::uint8_t>(c.orElse);
        l.remark = c.remark;
        std::string out;
        writeLine(l, out);
        ASSERT_EQ(out.size(), static_cast<std::size_t>(c.storedLength)) << c.what;
        EXPECT_EQ(static_cast<std::uint8_t>(out[0]), c.storedLength) << c.what;
        EXPECT_EQ(static_cast<std::uint8_t>(out[1]), c.flags) << c.what;
        EXPECT_EQ(storedLineLength(l), static_cast<unsigned>(c.storedLength)) << c.what;
    }
}

TEST_F(ImageTest, RemarkLeftOutWhenTheLineWouldReach255)
{
    // Result kind 10 is 6 + count bytes: count 194 makes 200.
    ProgramLine l = result(10);
    l.instruction[3] = 194;
    l.remark = std::string(63, 'r');
    ASSERT_EQ(encodedLength(l), 200u);
    std::string out;
    writeLine(l, out);
    EXPECT_EQ(out.size(), 200u);
    EXPECT_EQ(static_cast<std::uint8_t>(out[1]) & 0x3F, 0);

    l.instruction[3] = 187;  // 193 + 61 = 254 still has room
    l.remark = std::string(61, 'r');
    EXPECT_EQ(storedLineLength(l), 254u);
}

TEST_F(ImageTest, LinesWithoutAStoredFormAreLeftOutAndNotCounted)
{
    prog.main.lines.push_back(condition(1));
    prog.main.lines.push_back(condition(0));    // no kind chosen
    prog.main.lines.push_back(condition(200));  // not in the catalogue
    prog.main.lines.push_back(condition(3));
    std::string image = buildImage(prog, table);
    EXPECT_EQ(imageSize(prog, table), 6u + 5 + 9);
    EXPECT_EQ(image.size(), imageSize(prog, table) + 16);
    Program back;
    NameTable backNames;
    parseImage(back, backNames, image);
    ASSERT_EQ(back.main.count(), 2u);
    EXPECT_EQ(back.main.lines[1].kind(), 3);
}

TEST_F(ImageTest, ParseAndBuildAgainGivesTheSameBlocks)
{
    std::mt19937 rng(7);
    const int conditionKinds[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (int round = 0; round < 20; ++round) {
        Program p;
        NameTable n;
        for (int i = 0; i < 30; ++i) {
            ProgramSection& s = i % 3 == 0 ? p.main : i % 3 == 1 ? p.functions[rng() % 100] : p.threads[rng() % 100];
            ProgramLine l = rng() % 2 ? condition(conditionKinds[rng() % 9]) : result(1 + rng() % 8);
            for (int b = 1; b < 8; ++b)
                l.instruction[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(rng());
            l.orElse = rng() % 2;
            l.remark = std::string(rng() % 80, static_cast<char>('a' + rng() % 26));
            s.lines.push_back(l);
        }
        n.rename(format("整数%d", round + 1), format("别名%d", round));
        std::string image = buildImage(p, n);
        Program back;
        NameTable backNames;
        parseImage(back, backNames, image);
        EXPECT_EQ(buildImage(back, backNames), image) << "round " << round;
        EXPECT_EQ(backNames.exportText(), n.exportText());
    }
}

TEST_F(ImageTest, LaterBlockWithTheSameIdWins)
{
    ProgramSection a, b;
    a.lines.push_back(condition(1, 1));
    b.lines.push_back(condition(1, 2));
    b.lines.push_back(condition(1, 3));
    a.id = b.id = 3;
    std::string image(16, '\0');
    writeBlock(a, image);
    writeBlock(b, image);
    image[5] = static_cast<char>(image.size());
    parseImage(prog, table, image);
    ASSERT_EQ(prog.functions[2].count(), 2u);
    EXPECT_EQ(prog.functions[2].lines[0].param1(), 2);
    EXPECT_EQ(prog.functions[2].id, 3);
}

TEST_F(ImageTest, WorkingLineCarriesBytesBeyondTheStoredOnes)
{
    // A 9-byte line, then a 5-byte one: bytes 3 to 6 of the second keep the
    // values of the first, as the controller reads them.
    std::string block = bytesOf({0, 0, 0, 6 + 9 + 5, 0, 0});
    block += bytesOf({9, 0, 3, 1, 1, 7, 7, 7, 7});
    block += bytesOf({5, 0, 1, 2, 2});
    ProgramSection s;
    s.id = 9;
    parseBlock(s, block);
    ASSERT_EQ(s.count(), 2u);
    EXPECT_EQ(s.id, 0);
    EXPECT_EQ(s.lines[1].kind(), 1);
    EXPECT_EQ(s.lines[1].instruction[3], 7);
}

TEST_F(ImageTest, DamagedBlocksNeverLoopOrReadOutside)
{
    struct Case {
        const char* what;
        std::string block;
        unsigned lines;
    };
    const Case cases[] = {
        {"zero line length", bytesOf({0, 0, 0, 16, 0, 0, 5, 0, 1, 0, 0, 0, 0, 0, 0, 0}), 1},
        {"line runs past the block", bytesOf({0, 0, 0, 12, 0, 0, 5, 0, 1, 0, 0, 9}), 1},
        {"block longer than the data", bytesOf({0, 0, 0, 60, 0, 0, 5, 0, 1, 0, 0, 5, 0, 1}), 1},
        {"line length one", bytesOf({0, 0, 0, 8, 0, 0, 1, 0}), 0},
        {"block length 6", bytesOf({0, 0, 0, 6, 0, 0}), 0},
        {"block length above 200000", bytesOf({0, 3, 0x0D, 0x41, 0, 0, 5, 0, 1, 0, 0}), 0},
        {"remark length not below line length", bytesOf({0, 0, 0, 11, 0, 0, 5, 0x3F, 1, 0, 0}), 1},
        {"truncated header", bytesOf({0, 0}), 0},
    };
    for (const Case& c : cases) {
        ProgramSection s;
        parseBlock(s, c.block);
        EXPECT_EQ(s.count(), c.lines) << c.what;
    }
}

TEST_F(ImageTest, DamagedImagesStopTheWalk)
{
    prog.main.lines.push_back(condition(1));
    prog.functions[4].lines.push_back(condition(1));
    const std::string good = buildImage(prog, table);

    // Truncation at every offset: whatever is read, nothing crashes and the
    // acceptance test fails.
    for (std::size_t n = 0; n < good.size(); ++n) {
        Program p;
        NameTable t;
        parseImage(p, t, std::string_view(good).substr(0, n));
        EXPECT_FALSE(checkImage(good.substr(0, n))) << n;
    }

    // A block length below 6 ends the walk instead of looping.
    std::string zero = good;
    zero[16 + 3] = 0;
    Program p;
    NameTable t;
    parseImage(p, t, zero);
    EXPECT_TRUE(p.main.empty());
    EXPECT_TRUE(p.functions[4].empty());

    // Unknown ids are skipped by their length.
    std::string unknown = good;
    unknown[16 + 5] = static_cast<char>(200);
    parseImage(p, t, unknown);
    EXPECT_TRUE(p.main.empty());
    EXPECT_EQ(p.functions[4].count(), 1u);

    // Random bytes after a valid header.
    std::mt19937 rng(11);
    for (int round = 0; round < 500; ++round) {
        std::string junk = good.substr(0, 16);
        junk.resize(16 + rng() % 64);
        for (std::size_t i = 16; i < junk.size(); ++i)
            junk[i] = static_cast<char>(rng() % 3 ? rng() % 16 : rng());
        junk[5] = static_cast<char>(junk.size() + rng() % 8);
        parseImage(p, t, junk);
    }
}

TEST_F(ImageTest, CheckImageAcceptanceRules)
{
    prog.main.lines.push_back(condition(1));
    const std::string good = buildImage(prog, table);
    EXPECT_TRUE(checkImage(good));
    EXPECT_TRUE(checkImage(good + "extra"));  // bytes after the image are not part of it

    std::string badCheck = good;
    badCheck[0] = static_cast<char>(badCheck[0] ^ 1);
    EXPECT_FALSE(checkImage(badCheck));

    std::string badMarks = good;
    badMarks[7] = 0x18;
    // Recompute the check so only the marks are wrong.
    Crc16 c = crc16(badMarks.substr(2));
    badMarks[0] = static_cast<char>(c.hi);
    badMarks[1] = static_cast<char>(c.lo);
    EXPECT_FALSE(checkImage(badMarks));
}

TEST_F(ImageTest, NameBlockReplacesTheAliases)
{
    table.rename("整数5", "温度");
    std::string image = buildImage(prog, table);
    EXPECT_EQ(imageSize(prog, table), table.exportText().size() + 6);
    NameTable other;
    other.rename("整数6", "湿度");
    parseImage(prog, other, image);
    EXPECT_EQ(other.exportText(), table.exportText());
}

}  // namespace
}  // namespace orlo
