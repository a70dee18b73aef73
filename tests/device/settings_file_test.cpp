// The settings file "qv_pV2.ini": defaults, the values in effect, what the
// settings dialog writes. Runs natively and, in the Windows build, under
// Wine against the system's profile functions.
#include <gtest/gtest.h>

#include "device/link.h"
#include "device/settings.h"
#include "tests/device/temp_folder.h"

namespace orlo {
namespace {

using test::fileBytes;
using test::putFile;
using test::TempFolder;

TEST(SettingsFile, NoFileMeansSerialCom1At9600WithTcpPrepared)
{
    TempFolder folder;
    LinkSettings s = loadSettings(folder.file(kSettingsFileName));
    EXPECT_FALSE(s.useTcp);
    EXPECT_EQ(s.comIndex, 0u);  // COM1
    EXPECT_EQ(baudFromIndex(s.baudIndex), 9600u);
    EXPECT_EQ(s.serverAddress, "192.168.1.110");
    EXPECT_EQ(s.serverPort, 6000);
    EXPECT_EQ(s, LinkSettings{});
}

TEST(SettingsFile, ReadsEveryKey)
{
    TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    putFile(path,
            "[canshu_v2]\r\ncom_or_tcp=1\r\ncom_num=11\r\nbtl_num=9\r\nsocket_port=502\r\n"
            "ip=10.0.0.7\r\n");
    LinkSettings s = loadSettings(path);
    EXPECT_TRUE(s.useTcp);
    EXPECT_EQ(s.comIndex, 11u);
    EXPECT_EQ(s.baudIndex, 9u);
    EXPECT_EQ(s.serverPort, 502);
    EXPECT_EQ(s.serverAddress, "10.0.0.7");
}

TEST(SettingsFile, ValuesInEffect)
{
    TempFolder folder;
    struct Case {
        const char* what;
        const char* lines;
        LinkSettings expected;
    };
    auto with = [](auto change) {
        LinkSettings s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"empty address gives the default", "ip=\r\n", LinkSettings{}},
        {"blank address gives the default", "ip=   \r\n", LinkSettings{}},
        {"port keeps its low 16 bits", "socket_port=70000\r\n",
         with([](LinkSettings& s) { s.serverPort = 4464; })},
        {"any other transport number means TCP", "com_or_tcp=2\r\n",
         with([](LinkSettings& s) { s.useTcp = true; })},
        {"a baud index off the table is kept", "btl_num=12\r\n",
         with([](LinkSettings& s) { s.baudIndex = 12; })},
        {"keys in upper case", "COM_NUM=4\r\nIP=1.1.1.1\r\n", with([](LinkSettings& s) {
             s.comIndex = 4;
             s.serverAddress = "1.1.1.1";
         })},
        {"negative port index wraps", "com_num=-1\r\n",
         with([](LinkSettings& s) { s.comIndex = 4294967295u; })},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string path = folder.file("effect" + std::to_string(++n) + ".ini");
        putFile(path, std::string("[canshu_v2]\r\n") + c.lines);
        EXPECT_EQ(loadSettings(path), c.expected) << c.what;
    }
}

TEST(SettingsFile, OtherSectionsDoNotCount)
{
    TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    putFile(path, "[canshu]\r\ncom_num=3\r\n[canshu_v2]\r\nbtl_num=7\r\n[x]\r\nip=1.2.3.4\r\n");
    LinkSettings s = loadSettings(path);
    EXPECT_EQ(s.comIndex, 0u);
    EXPECT_EQ(s.baudIndex, 7u);
    EXPECT_EQ(s.serverAddress, "192.168.1.110");
}

TEST(SettingsFile, SaveWritesTheFiveKeysAsTheDialogDoes)
{
    TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    LinkSettings s;
    s.useTcp = true;
    s.comIndex = 3;
    s.baudIndex = 9;
    s.serverPort = 502;
    s.serverAddress = "10.0.0.7";
    ASSERT_TRUE(saveSettings(path, s));
    EXPECT_EQ(fileBytes(path),
              "[canshu_v2]\r\ncom_or_tcp=1\r\ncom_num=3\r\nbtl_num=9\r\nsocket_port=502\r\n"
              "ip=10.0.0.7\r\n");
    EXPECT_EQ(loadSettings(path), s);
}

TEST(SettingsFile, SavingAnEmptyAddressWritesTheDefault)
{
    TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    LinkSettings s;
    s.serverAddress.clear();
    ASSERT_TRUE(saveSettings(path, s));
    EXPECT_EQ(fileBytes(path),
              "[canshu_v2]\r\ncom_or_tcp=0\r\ncom_num=0\r\nbtl_num=5\r\nsocket_port=6000\r\n"
              "ip=192.168.1.110\r\n");
}

TEST(SettingsFile, SaveKeepsOtherSections)
{
    TempFolder folder;
    std::string path = folder.file(kSettingsFileName);
    putFile(path, "[mine]\r\nx=1\r\n[canshu_v2]\r\nbtl_num=2\r\n");
    ASSERT_TRUE(saveSettings(path, LinkSettings{}));
    EXPECT_EQ(fileBytes(path),
              "[mine]\r\nx=1\r\n[canshu_v2]\r\nbtl_num=5\r\ncom_or_tcp=0\r\ncom_num=0\r\n"
              "socket_port=6000\r\nip=192.168.1.110\r\n");
}

TEST(SettingsFile, TypedValuesTakeTheDialogsForm)
{
    struct Case {
        const char* key;
        const char* typed;
        bool accepted;
        const char* stored;
    };
    const Case cases[] = {
        {"com_or_tcp", "1", true, "1"},
        {"com_or_tcp", "2", false, ""},
        {"com_num", "254", true, "254"},
        {"com_num", "255", false, ""},
        {"com_num", "007", true, "7"},
        {"btl_num", "9", true, "9"},
        {"btl_num", "10", false, ""},
        {"socket_port", "65535", true, "65535"},
        {"socket_port", "65536", false, ""},
        {"socket_port", "99999999999", false, ""},
        {"socket_port", "-1", false, ""},
        {"socket_port", "0x10", false, ""},
        {"socket_port", "", false, ""},
        {"socket_port", " 5", false, ""},
        {"ip", "10.1.2.3", true, "10.1.2.3"},
        {"ip", "", true, "192.168.1.110"},
        {"ip", "a\r\nb=c", false, ""},
        {"IP", "1.2.3.4", true, "1.2.3.4"},
    };
    for (const Case& c : cases) {
        const SettingKey* key = findSettingKey(c.key);
        ASSERT_NE(key, nullptr) << c.key;
        std::string stored;
        EXPECT_EQ(storedSettingText(*key, c.typed, stored), c.accepted) << c.key << "=" << c.typed;
        if (c.accepted) {
            EXPECT_EQ(stored, c.stored) << c.key << "=" << c.typed;
        }
    }
    EXPECT_EQ(findSettingKey("baud"), nullptr);
}

TEST(SettingsFile, ValuesListedInFileOrder)
{
    LinkSettings s;
    s.serverAddress = "";
    auto values = settingValues(s);
    std::vector<std::pair<std::string, std::string>> expected = {
        {"com_or_tcp", "0"}, {"com_num", "0"},  {"btl_num", "5"},
        {"socket_port", "6000"}, {"ip", "192.168.1.110"},
    };
    EXPECT_EQ(values, expected);
}

TEST(SettingsFile, PathIsInTheCurrentFolder)
{
    const std::string& path = settingsPath();
    const std::string name = "qv_pV2.ini";
    ASSERT_GT(path.size(), name.size() + 1);
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    char separator = path[path.size() - name.size() - 1];
    EXPECT_TRUE(separator == '/' || separator == '\\') << path;
    EXPECT_EQ(&settingsPath(), &path);  // taken once per run
}

}  // namespace
}  // namespace orlo
