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
