// The private profile functions, as the settings file uses them. The same
// cases run natively against our implementation and, in the Windows build
// under Wine, against GetPrivateProfileIntA / GetPrivateProfileStringA /
// WritePrivateProfileStringA, so both must agree byte for byte. Every case
// uses a file of its own: Windows caches profile files by name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/profile.h"
#include "tests/device/temp_folder.h"

namespace orlo {
namespace {

using test::fileBytes;
using test::putFile;
using test::TempFolder;

const char* const kSection = "canshu_v2";

struct ReadCase {
    const char* what;
    std::string file;       // the file's bytes
    const char* text;       // readProfileString of com_num, default "DEF", buffer 500
    unsigned integer;       // readProfileInt of com_num, default 77
};

const std::string S = "[canshu_v2]\r\n";

const ReadCase readCases[] = {
    {"plain", S + "com_num=7\r\n", "7", 7},
    {"blanks around name and value", S + "  com_num  =  7  \r\n", "7", 7},
    {"tabs around name and value", S + "\tcom_num\t=\t9\t\r\n", "9", 9},
    {"letter case of section and key", "[CANSHU_V2]\r\nCOM_NUM=7\r\n", "7", 7},
    {"blanks inside the brackets", "[ canshu_v2 ]\r\ncom_num=7\r\n", "7", 7},
    {"blanks before the section", "  [canshu_v2]  \r\ncom_num=7\r\n", "7", 7},
    {"text after the bracket", "[canshu_v2]x\r\ncom_num=8\r\n", "8", 8},
    {"empty value", S + "com_num=\r\n", "", 77},
    {"key without equals sign", S + "com_num\r\n", "DEF", 77},
    {"only other sections", "[other]\r\ncom_num=1\r\n[canshu_v2]\r\nbtl_num=2\r\n", "DEF", 77},
    {"key before any section", "com_num=3\r\n[canshu_v2]\r\n", "DEF", 77},
    {"commented section", ";[canshu_v2]\r\ncom_num=8\r\n", "DEF", 77},
    {"commented key", S + ";com_num=8\r\n", "DEF", 77},
    {"section without closing bracket", "[canshu_v2\r\ncom_num=8\r\n", "DEF", 77},
    {"first of two keys", S + "com_num=1\r\ncom_num=2\r\n", "1", 1},
    {"first of two sections", S + "com_num=1\r\n" + S + "com_num=2\r\n", "1", 1},
    {"key only in the second section", S + "a=1\r\n" + S + "com_num=2\r\n", "DEF", 77},
    {"LF line ends", "[canshu_v2]\ncom_num=8\n", "8", 8},
    {"CR line ends", "[canshu_v2]\rcom_num=8\r", "8", 8},
    {"no line end at all", "[canshu_v2]\r\ncom_num=8", "8", 8},
    {"UTF-8 mark", "\xEF\xBB\xBF[canshu_v2]\r\ncom_num=8\r\n", "8", 8},
    {"line with empty name", S + "=5\r\ncom_num=6\r\n", "6", 6},
    {"value starting with equals", S + "com_num==5\r\n", "=5", 0},
    {"inner blank", S + "com_num=1 2\r\n", "1 2", 1},
    {"semicolon inside the value", S + "com_num=5 ; c\r\n", "5 ; c", 5},
    {"double quotes", S + "com_num=\"7\"\r\n", "7", 7},
    {"single quotes", S + "com_num='7'\r\n", "7", 7},
    {"quotes keep inner blanks", S + "com_num=\" 5 \"\r\n", " 5 ", 5},
    {"blank after the closing quote", S + "com_num=\"5\" \r\n", "5", 5},
    {"empty quotes", S + "com_num=\"\"\r\n", "", 77},
    {"one quote", S + "com_num=\"\r\n", "\"", 0},
    {"unmatched quotes", S + "com_num=\"5'\r\n", "\"5'", 0},
    {"negative", S + "com_num= -5\r\n", "-5", 4294967291u},
    {"plus sign", S + "com_num=+5\r\n", "+5", 5},
    {"sign twice", S + "com_num=+-5\r\n", "+-5", 0},
    {"blank after the sign", S + "com_num=- 5\r\n", "- 5", 0},
    {"leading zeros", S + "com_num=0012\r\n", "0012", 12},
    {"zero then a digit", S + "com_num=08\r\n", "08", 8},
    {"trailing letters", S + "com_num=12abc\r\n", "12abc", 12},
    {"letters only", S + "com_num=abc\r\n", "abc", 0},
    {"hexadecimal", S + "com_num=0x10\r\n", "0x10", 16},
    {"hexadecimal, large", S + "com_num=0x7fffffff\r\n", "0x7fffffff", 2147483647u},
    {"negative hexadecimal", S + "com_num=-0x10\r\n", "-0x10", 4294967280u},
    {"upper-case X is no prefix", S + "com_num=0X10\r\n", "0X10", 0},
    {"prefix without digits", S + "com_num=0x\r\n", "0x", 0},
    {"no hexadecimal digit", S + "com_num=0xg\r\n", "0xg", 0},
    {"octal", S + "com_num=0o11\r\n", "0o11", 9},
    {"binary", S + "com_num=0b11\r\n", "0b11", 3},
    {"upper-case B is no prefix", S + "com_num=0B11\r\n", "0B11", 0},
    {"zero before the prefix", S + "com_num=00x5\r\n", "00x5", 0},
    {"largest unsigned", S + "com_num=4294967295\r\n", "4294967295", 4294967295u},
    {"wraps at 2^32", S + "com_num=4294967296\r\n", "4294967296", 0},
    {"wraps modulo 2^32", S + "com_num=99999999999\r\n", "99999999999", 1215752191u},
    {"negative wraps", S + "com_num=-2147483649\r\n", "-2147483649", 2147483647u},
    {"integer read from 29 characters",
     S + "com_num=0000000000000000000000000000000000000000000123\r\n",
     "0000000000000000000000000000000000000000000123", 0},
    {"vertical tab is a blank", S + "com_num=\v5\r\n", "5", 5},
    {"form feed is a blank", S + "com_num=\f5\r\n", "5", 5},
    {"Ctrl-Z is a blank", S + "com_num=\x1A" "5\r\n", "5", 5},
};

TEST(SettingsProfile, ReadsKeysAsWindowsDoes)
{
    TempFolder folder;
    int n = 0;
    for (const ReadCase& c : readCases) {
        std::string path = folder.file("read" + std::to_string(++n) + ".ini");
        putFile(path, c.file);
        EXPECT_EQ(readProfileString(path, kSection, "com_num", "DEF", 500), c.text) << c.what;
        EXPECT_EQ(readProfileInt(path, kSection, "com_num", 77), c.integer) << c.what;
    }
}

TEST(SettingsProfile, MissingFileGivesDefaults)
{
    TempFolder folder;
    std::string path = folder.file("none.ini");
    EXPECT_EQ(readProfileInt(path, kSection, "com_num", 77), 77u);
    EXPECT_EQ(readProfileInt(path, kSection, "com_num", -1), 4294967295u);
    EXPECT_EQ(readProfileString(path, kSection, "ip", "192.168.1.110", 500), "192.168.1.110");
    EXPECT_EQ(fileBytes(path), "<missing>");  // reading creates nothing
}

TEST(SettingsProfile, DefaultLosesTrailingBlanksOnly)
{
    TempFolder folder;
    EXPECT_EQ(readProfileString(folder.file("none.ini"), kSection, "ip", "  1.2  ", 500), "  1.2");
}

TEST(SettingsProfile, TextIsCutToTheBuffer)
{
    TempFolder folder;
    struct Case {
        std::string value;
        std::size_t buffer;
        std::string text;
    };
    const Case cases[] = {
        {std::string(600, 'a'), 500, std::string(499, 'a')},
        {"abcdef", 4, "abc"},
        {"abc", 4, "abc"},
        // With quotes, a buffer that holds the value but not its closing
        // quote loses one more byte.
        {"\"abc\"", 6, "abc"},
        {"\"abc\"", 5, "abc"},
        {"\"abc\"", 4, "ab"},
        {"\"abc\"", 3, "ab"},
        {"\"abcdef\"", 4, "abc"},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = folder.file("cut" + std::to_string(++n) + ".ini");
        putFile(path, S + "ip=" + c.value + "\r\n");
        EXPECT_EQ(readProfileString(path, kSection, "ip", "D", c.buffer), c.text)
            << c.value << " in " << c.buffer;
    }
}

TEST(SettingsProfile, GbkBytesPassThrough)
{
    TempFolder folder;
    std::string path = folder.file("gbk.ini");
    const std::string gbk = "\xD6\xD0\xCE\xC4";  // 中文
    ASSERT_TRUE(writeProfileString(path, kSection, "ip", gbk));
    EXPECT_EQ(fileBytes(path), S + "ip=" + gbk + "\r\n");
    EXPECT_EQ(readProfileString(path, kSection, "ip", "D", 500), gbk);
}

struct WriteCase {
    const char* what;
    const char* file;  // nullptr: no file
    const char* key;
    const char* value;
    const char* after;  // the file's bytes afterwards
};

const WriteCase writeCases[] = {
    {"creates the file", nullptr, "ip", "1.2.3.4", "[canshu_v2]\r\nip=1.2.3.4\r\n"},
    {"fills an empty file", "", "ip", "1.2.3.4", "[canshu_v2]\r\nip=1.2.3.4\r\n"},
    {"replaces the value", "[canshu_v2]\r\nip=5\r\n", "ip", "1.2.3.4",
     "[canshu_v2]\r\nip=1.2.3.4\r\n"},
    {"keeps the key's letter case", "[canshu_v2]\r\n  IP  =  5  \r\n", "ip", "1.2.3.4",
     "[canshu_v2]\r\nIP=1.2.3.4\r\n"},
    {"keeps the section's letter case", "[CANSHU_V2]\r\nip=5\r\n", "ip", "x",
     "[CANSHU_V2]\r\nip=x\r\n"},
    {"key given in other case", "[canshu_v2]\r\nip=5\r\n", "IP", "x", "[canshu_v2]\r\nip=x\r\n"},
    {"adds a key at the end of the section", "[canshu_v2]\r\nip=5\r\n\r\n[other]\r\na=1\r\n",
     "com_num", "3", "[canshu_v2]\r\nip=5\r\ncom_num=3\r\n[other]\r\na=1\r\n"},
    {"adds a key after comments", "[canshu_v2]\r\nip=5\r\n\r\n\r\n;c\r\n[other]\r\na=1\r\n",
     "com_num", "3", "[canshu_v2]\r\nip=5\r\n;c\r\ncom_num=3\r\n[other]\r\na=1\r\n"},
    {"adds the section at the end", "[other]\r\na=1\r\n", "com_num", "3",
     "[other]\r\na=1\r\n[canshu_v2]\r\ncom_num=3\r\n"},
    {"adds the section after a last line without end", "[other]\r\na=1", "com_num", "3",
     "[other]\r\na=1\r\n[canshu_v2]\r\ncom_num=3\r\n"},
    {"keeps comments and bare keys", "[canshu_v2]\r\n;a=b\r\nname3\r\n  ; c \r\nip=5\r\n", "ip",
     "6", "[canshu_v2]\r\n;a=b\r\nname3\r\n; c\r\nip=6\r\n"},
    {"keeps lines before the first section", "x=1\r\n[canshu_v2]\r\nip=5\r\n", "x", "6",
     "x=1\r\n[canshu_v2]\r\nip=5\r\nx=6\r\n"},
    {"rewrites every line in its plain form", "[canshu_v2]\r\n  z =  1  \r\nip=5\r\n", "ip", "6",
     "[canshu_v2]\r\nz=1\r\nip=6\r\n"},
    {"writes CR LF", "[canshu_v2]\nip=5\n", "ip", "6", "[canshu_v2]\r\nip=6\r\n"},
    {"value loses leading blanks only", "[canshu_v2]\r\nip=5\r\n", "ip", "  spaced  ",
     "[canshu_v2]\r\nip=spaced  \r\n"},
    {"empty value", "[canshu_v2]\r\nip=5\r\n", "ip", "", "[canshu_v2]\r\nip=\r\n"},
    {"quotes are written as given", "[canshu_v2]\r\nip=5\r\n", "ip", "\"q\"",
     "[canshu_v2]\r\nip=\"q\"\r\n"},
    {"first of two keys", "[canshu_v2]\r\nip=5\r\nip=7\r\n", "ip", "6",
     "[canshu_v2]\r\nip=6\r\nip=7\r\n"},
    {"first of two sections", "[canshu_v2]\r\na=1\r\n[canshu_v2]\r\nip=2\r\n", "ip", "6",
     "[canshu_v2]\r\na=1\r\nip=6\r\n[canshu_v2]\r\nip=2\r\n"},
    {"bare key gets the value", "[canshu_v2]\r\nip\r\n", "ip", "6", "[canshu_v2]\r\nip=6\r\n"},
    {"section without closing bracket is a key",
     "[canshu_v2\r\nip=5\r\n", "ip", "6", "[canshu_v2\r\nip=5\r\n[canshu_v2]\r\nip=6\r\n"},
    {"empty sections stay", "[a]\r\n[canshu_v2]\r\n[b]\r\n", "ip", "6",
     "[a]\r\n[canshu_v2]\r\nip=6\r\n[b]\r\n"},
    {"keeps the UTF-8 mark", "\xEF\xBB\xBF[canshu_v2]\r\nip=5\r\n", "ip", "6",
     "\xEF\xBB\xBF[canshu_v2]\r\nip=6\r\n"},
    {"drops a Ctrl-Z at the end", "[canshu_v2]\r\nip=5\r\n\x1A", "ip", "6",
     "[canshu_v2]\r\nip=6\r\n"},
    {"same value leaves the file alone", "[canshu_v2]\n  ip = 5 \n", "ip", "5",
     "[canshu_v2]\n  ip = 5 \n"},
    {"same value after leading blanks", "[canshu_v2]\r\nip = 5 \r\n", "ip", " 5",
     "[canshu_v2]\r\nip = 5 \r\n"},
    {"trailing blank makes a new value", "[canshu_v2]\r\nip=5\r\n", "ip", "5 ",
     "[canshu_v2]\r\nip=5 \r\n"},
};

TEST(SettingsProfile, WritesKeysAsWindowsDoes)
{
    TempFolder folder;
    int n = 0;
    for (const WriteCase& c : writeCases) {
        std::string path = folder.file("write" + std::to_string(++n) + ".ini");
        if (c.file)
            putFile(path, c.file);
        EXPECT_TRUE(writeProfileString(path, kSection, c.key, c.value)) << c.what;
        EXPECT_EQ(fileBytes(path), c.after) << c.what;
    }
}

#ifndef _WIN32
// A "[]" line is a section header like any other: a write elsewhere keeps it,
// so the keys below it do not move into the section above.
TEST(SettingsProfile, WriteKeepsAnEmptySectionHeader)
{
    TempFolder folder;
    std::string path = folder.file("empty-header.ini");
    putFile(path, "[canshu_v2]\r\nip=5\r\n[]\r\nsocket_port=0\r\n");
    ASSERT_TRUE(writeProfileString(path, kSection, "ip", "6"));
    EXPECT_EQ(fileBytes(path), "[canshu_v2]\r\nip=6\r\n[]\r\nsocket_port=0\r\n");
    EXPECT_EQ(readProfileString(path, kSection, "socket_port", "DEF", 500), "DEF");
}

// A first line of a blank, a UTF-8 mark and a header is no header; written
// back without the blank it would become one, and the value written would
// not be the one read. The write fails and the file stays as it was.
TEST(SettingsProfile, AWriteThatWouldNotReadBackFailsAndKeepsTheFile)
{
    TempFolder folder;
    std::string path = folder.file("mark.ini");
    const std::string before = "\v\xEF\xBB\xBF[canshu_v2]\r\nsocket_port=7\r\n";
    putFile(path, before);
    EXPECT_FALSE(writeProfileString(path, kSection, "socket_port", "4321"));
    EXPECT_EQ(fileBytes(path), before);
}
#endif

TEST(SettingsProfile, WrittenValuesReadBack)
{
    TempFolder folder;
    std::string path = folder.file("back.ini");
    putFile(path, "; settings\r\n[other]\r\nip=9.9.9.9\r\n");
    ASSERT_TRUE(writeProfileString(path, kSection, "com_num", "12"));
    ASSERT_TRUE(writeProfileString(path, kSection, "ip", "10.0.0.2"));
    EXPECT_EQ(readProfileInt(path, kSection, "com_num", 0), 12u);
    EXPECT_EQ(readProfileString(path, kSection, "ip", "", 500), "10.0.0.2");
    EXPECT_EQ(readProfileString(path, "other", "ip", "", 500), "9.9.9.9");
}

TEST(SettingsProfile, WriteIntoMissingFolderFails)
{
    TempFolder folder;
    std::string path = folder.file("no_such_folder") + "/x.ini";
    EXPECT_FALSE(writeProfileString(path, kSection, "ip", "1.2.3.4"));
}

}  // namespace
}  // namespace orlo
