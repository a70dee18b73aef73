// Program and function files on disk: formats, extension rules, damaged
// files that must load nothing, and saves that never lose the old file.
#ifndef _WIN32  // the POSIX file back end; Windows paths are checked under Wine

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "expr/names.h"
#include "model/crc16.h"
#include "model/files.h"
#include "model/image.h"
#include "platform/fake/fake_shell.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace orlo {
namespace {

ProgramLine condition(int kind, int p1 = 0)
{
    ProgramLine l;
    l.instruction[0] = static_cast<std::uint8_t>(kind);
    l.instruction[1] = static_cast<std::uint8_t>(p1);
    return l;
}

std::vector<int> param1s(const ProgramSection& s)
{
    std::vector<int> out;
    for (const ProgramLine& l : s.lines)
        out.push_back(l.param1());
    return out;
}

class FilesTest : public ::testing::Test {
protected:
    FakeShell fake;
    ShellScope scope{fake};
    std::string dir;

    void SetUp() override
    {
        char pattern[] = "/tmp/orlo-files-XXXXXX";
        dir = mkdtemp(pattern);
        clearProgram();
        program().clipboard.clear();
    }
    void TearDown() override
    {
        clearProgram();
        std::string cmd = "rm -rf '" + dir + "'";
        (void)std::system(cmd.c_str());
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    void writeRaw(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readRaw(const std::string& name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(FilesTest, ProgramFileRoundTrip)
{
    program().main.lines.push_back(condition(1, 4));
    program().functions[2].lines.push_back(condition(3, 5));
    names().rename("整数5", "温度");
    const std::string image = buildImage();

    ASSERT_EQ(saveProgramFile(path("p.qv3")), path("p.qv3"));
    EXPECT_EQ(readRaw("p.qv3"), image);

    clearProgram();
    ASSERT_TRUE(openProgramFile(path("p.qv3")));
    EXPECT_EQ(param1s(program().main), (std::vector<int>{4}));
    EXPECT_EQ(param1s(program().functions[2]), (std::vector<int>{5}));
    EXPECT_EQ(displayName("整数", 5), "温度");
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(FilesTest, SaveAppendsTheExtensionOnlyWhenMissing)
{
    EXPECT_EQ(saveProgramFile(path("prog")), path("prog.qv3"));
    EXPECT_EQ(saveProgramFile(path("prog.QV3")), path("prog.QV3.qv3"));  // case counts
    EXPECT_EQ(saveFunctionFile(program().main, path("f")), path("f.hanshu"));
    EXPECT_EQ(readRaw("f.hanshu"), std::string("\0\0", 2));  // empty section: check only
}

TEST_F(FilesTest, WrongExtensionsAreToldWithTheirOwnMessages)
{
    writeRaw("p.QV3", buildImage());
    EXPECT_FALSE(openProgramFile(path("p.QV3")));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "文件扩展名字出错！！！");
    EXPECT_EQ(fake.messages[0].caption, "提示");

    ProgramSection s;
    EXPECT_FALSE(loadFunctionFile(s, path("f.txt")));
    EXPECT_EQ(fake.messages.back().text, "文件扩展名出错");
    EXPECT_EQ(fake.messages.back().caption, "提示：");

    EXPECT_FALSE(importFile(path("f.txt"), 0));
    EXPECT_EQ(fake.messages.back().text, "文件类型不对");
    EXPECT_EQ(fake.messages.back().caption, "注意");

    const std::size_t before = fake.messages.size();
    EXPECT_FALSE(loadMainPart(s, path("p.QV3")));  // silent
    EXPECT_EQ(fake.messages.size(), before);
}

TEST_F(FilesTest, DamagedProgramFilesLoadNothingAndTellTheUser)
{
    program().main.lines.push_back(condition(1, 4));
    const std::string good = buildImage();
    program().main.lines[0].instruction[1] = 9;  // what is in memory must survive

    std::string badCheck = good;
    badCheck[good.size() - 1] ^= 0x20;
    writeRaw("bad.qv3", badCheck);
    writeRaw("short.qv3", good.substr(0, good.size() - 1));

    for (const char* name : {"bad.qv3", "short.qv3"}) {
        fake.messages.clear();
        EXPECT_FALSE(openProgramFile(path(name))) << name;
        EXPECT_EQ(param1s(program().main), (std::vector<int>{9})) << name;
        ASSERT_EQ(fake.messages.size(), 1u) << name;
        EXPECT_EQ(fake.messages[0].caption, "提示");
    }

    // Length fields the tool refuses silently.
    std::string huge = good;
    huge[2] = 0x7F;
    writeRaw("huge.qv3", huge);
    std::string tiny = good;
    tiny[5] = 15;
    writeRaw("tiny.qv3", tiny);
    fake.messages.clear();
    EXPECT_FALSE(openProgramFile(path("huge.qv3")));
    EXPECT_FALSE(openProgramFile(path("tiny.qv3")));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(param1s(program().main), (std::vector<int>{9}));

    // A missing file reports the system's error.
    EXPECT_FALSE(openProgramFile(path("missing.qv3")));
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("missing.qv3"), std::string::npos);
}

TEST_F(FilesTest, FunctionFileFormatAndCheck)
{
    ProgramSection s;
    s.id = 7;
    s.lines.push_back(condition(1, 2));
    const std::string bytes = functionFileBytes(s);
    std::string block;
    writeBlock(s, block);
    ASSERT_EQ(bytes.size(), block.size() + 2);
    EXPECT_EQ(bytes.substr(2), block);
    Crc16 c = crc16(block);
    const unsigned check = (c.hi * 256u + c.lo + 1u) & 0xFFFFu;
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), check >> 8);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[1]), check & 0xFF);

    ProgramSection back;
    back.id = 3;
    EXPECT_EQ(parseFunctionFile(back, bytes), "");
    EXPECT_EQ(param1s(back), (std::vector<int>{2}));
    EXPECT_EQ(back.id, 0);

    // A wrong check, a short file, and the two-byte file of an empty section
    // load nothing.
    ProgramSection keep;
    keep.lines.push_back(condition(1, 8));
    std::string bad = bytes;
    bad[1] ^= 1;
    EXPECT_NE(parseFunctionFile(keep, bad), "");
    EXPECT_NE(parseFunctionFile(keep, bytes.substr(0, bytes.size() - 1)), "");
    EXPECT_NE(parseFunctionFile(keep, std::string("\0\0", 2)), "");
    EXPECT_EQ(param1s(keep), (std::vector<int>{8}));
}

// A program image of total bytes: the header, then one block of an id that
// readers skip, filling the rest; check value right unless told.
std::string imageOfSize(std::uint32_t total, const char marks[4] = "\x00\x17\x00\x0A")
{
    std::string image(total, '\0');
    const std::uint32_t block = total - 16;
    const std::uint8_t head[] = {0, 0, std::uint8_t(total >> 24), std::uint8_t(total >> 16),
                                 std::uint8_t(total >> 8), std::uint8_t(total),
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 std::uint8_t(block >> 24), std::uint8_t(block >> 16),
                                 std::uint8_t(block >> 8), std::uint8_t(block), 0x03, 0xE7};
    std::copy(std::begin(head), std::end(head), image.begin());
    std::copy(marks, marks + 4, image.begin() + 6);
    const Crc16 c = crc16(reinterpret_cast<const std::uint8_t*>(image.data()) + 2, total - 2);
    image[0] = static_cast<char>(c.hi);
    image[1] = static_cast<char>(c.lo);
    return image;
}

// One decision for every reader: what Open, Import and the tarn commands
// are told about each file.
TEST_F(FilesTest, ProgramFileVerdicts)
{
    std::string badCheck = imageOfSize(40);
    badCheck[39] = 1;
    std::string tiny = imageOfSize(40);
    tiny[5] = 15;
    const struct {
        const char* name;
        std::string bytes;
        std::uint32_t limit;
        FileVerdict verdict;
    } cases[] = {
        {"good.qv3", imageOfSize(40), kMaxImageBytes, FileVerdict::Loaded},
        {"marks.qv3", imageOfSize(40, "\x01\x02\x03\x04"), kMaxImageBytes, FileVerdict::Loaded},
        {"large.qv3", imageOfSize(270000), kMaxImageBytes, FileVerdict::TooLarge},
        {"large-part.qv3", imageOfSize(270000), kMaxMainPartFileBytes, FileVerdict::Loaded},
        {"check.qv3", badCheck, kMaxImageBytes, FileVerdict::CheckWrong},
        {"short.qv3", imageOfSize(40).substr(0, 39), kMaxImageBytes, FileVerdict::Truncated},
        {"tiny.qv3", tiny, kMaxImageBytes, FileVerdict::LengthTooSmall},
        {"head.qv3", "\x01\x02\x00", kMaxImageBytes, FileVerdict::NoLength},
        {"good.QV3", imageOfSize(40), kMaxImageBytes, FileVerdict::WrongExtension},
    };
    for (const auto& c : cases) {
        writeRaw(c.name, c.bytes);
        const FileReading r = readProgramFile(path(c.name), c.limit);
        EXPECT_EQ(r.verdict, c.verdict) << c.name;
        EXPECT_EQ(verdictText(r).empty(), c.verdict == FileVerdict::Loaded) << c.name;
        if (c.verdict == FileVerdict::Loaded) {
            EXPECT_EQ(r.bytes, c.bytes) << c.name;
        }
    }
    EXPECT_EQ(readProgramFile(path("missing.qv3")).verdict, FileVerdict::CannotRead);
    EXPECT_TRUE(openProgramFile(path("marks.qv3")));
}

TEST_F(FilesTest, FunctionFileVerdicts)
{
    ProgramSection s;
    s.lines.push_back(condition(1, 2));
    const std::string good = functionFileBytes(s);
    // A block one byte over the limit, its check right.
    std::string over(200001 + 2, '\0');
    over[3] = 0x03, over[4] = 0x0D, over[5] = 0x41;
    const std::uint16_t check = functionFileCheck(crc16(over.substr(2)));
    over[0] = static_cast<char>(check >> 8), over[1] = static_cast<char>(check & 0xFF);
    std::string badCheck = good;
    badCheck[1] ^= 1;
    const struct {
        std::string bytes;
        FileVerdict verdict;
    } cases[] = {
        {good, FileVerdict::Loaded},
        {std::string("\0\0", 2), FileVerdict::EmptySection},
        {std::string("\0\0\0\0", 4), FileVerdict::NoLength},
        {std::string("\0\0\0\0\0\5\0", 7), FileVerdict::LengthTooSmall},
        {over, FileVerdict::TooLarge},
        {good.substr(0, good.size() - 1), FileVerdict::Truncated},
        {badCheck, FileVerdict::CheckWrong},
    };
    for (const auto& c : cases) {
        writeRaw("f.hanshu", c.bytes);
        const FileReading r = readFunctionFile(path("f.hanshu"));
        EXPECT_EQ(r.verdict, c.verdict) << c.bytes.size();
        EXPECT_EQ(judgeFunctionFile(c.bytes), c.verdict) << c.bytes.size();
        EXPECT_EQ(verdictText(r).empty(), c.verdict == FileVerdict::Loaded) << c.bytes.size();
    }
}

TEST_F(FilesTest, ImportInsertsOnlyTheMainProgramAtThePosition)
{
    // The file: main program 1, 2; function 4 and an alias that must not come in.
    program().main.lines = {condition(1, 1), condition(1, 2)};
    program().functions[3].lines.push_back(condition(1, 50));
    names().rename("整数5", "温度");
    ASSERT_FALSE(saveProgramFile(path("src.qv3")).empty());
    ProgramSection f;
    f.lines = {condition(1, 7)};
    ASSERT_FALSE(saveFunctionFile(f, path("f.hanshu")).empty());

    clearProgram();
    program().main.lines = {condition(1, 10), condition(1, 11), condition(1, 12)};
    ASSERT_TRUE(importFile(path("src.qv3"), 2));
    EXPECT_EQ(param1s(program().main), (std::vector<int>{10, 11, 1, 2, 12}));
    EXPECT_TRUE(program().functions[3].empty());
    EXPECT_EQ(names().usedCount(), 0);

    ASSERT_TRUE(importFile(path("f.hanshu"), 999));  // capped at the end
    EXPECT_EQ(param1s(program().main), (std::vector<int>{10, 11, 1, 2, 12, 7}));
}

TEST_F(FilesTest, FailedSaveKeepsTheOldFileAndSaysWhy)
{
    program().main.lines.push_back(condition(1, 1));
    ASSERT_FALSE(saveProgramFile(path("keep.qv3")).empty());
    const std::string old = readRaw("keep.qv3");

    // The folder does not exist: nothing is written, the system's text is shown.
    EXPECT_EQ(saveProgramFile(path("no-such-folder/x.qv3")), "");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].text.find("x.qv3"), std::string::npos);

    // A target that cannot be replaced (a folder of that name) stays as it was.
    ASSERT_EQ(mkdir(path("dir.qv3").c_str(), 0755), 0);
    writeRaw("dir.qv3/inside", "x");
    EXPECT_EQ(saveProgramFile(path("dir.qv3")), "");
    EXPECT_EQ(readRaw("dir.qv3/inside"), "x");
    EXPECT_EQ(readRaw("keep.qv3"), old);

    // No temporary files are left behind.
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    while (dirent* e = readdir(d))
        EXPECT_EQ(std::string(e->d_name).find(".tmp"), std::string::npos) << e->d_name;
    closedir(d);
}

}  // namespace
}  // namespace orlo

#endif  // _WIN32
