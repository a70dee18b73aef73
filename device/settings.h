// The communication settings: the transport choice and its parameters,
// kept between runs in the settings file "qv_pV2.ini" (section "canshu_v2")
// in the working folder, with the rules of Windows' private profile files
// (device/profile.h). Read once at start-up; written by the settings dialog
// and by "tarn settings set".
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orlo {

extern const char* const kSettingsFileName;  // "qv_pV2.ini"
extern const char* const kSettingsSection;   // "canshu_v2"

// The defaults, used when the file or a key is missing.
constexpr unsigned kDefaultComOrTcp = 0;
constexpr unsigned kDefaultComIndex = 0;
constexpr unsigned kDefaultBaudIndex = 5;  // 9600 baud
constexpr unsigned kDefaultServerPort = 6000;
extern const char* const kDefaultServerAddress;  // "192.168.1.110"

// The values in effect.
struct LinkSettings {
    bool useTcp = kDefaultComOrTcp != 0;     // com_or_tcp: 0 serial, any other value TCP
    unsigned comIndex = kDefaultComIndex;    // com_num: the port is COM(comIndex + 1)
    unsigned baudIndex = kDefaultBaudIndex;  // btl_num: index into the baud table
    std::uint16_t serverPort = kDefaultServerPort;  // socket_port: its low 16 bits
    std::string serverAddress = kDefaultServerAddress;  // ip: dotted IPv4

    bool operator==(const LinkSettings& o) const
    {
        return useTcp == o.useTcp && comIndex == o.comIndex && baudIndex == o.baudIndex &&
               serverPort == o.serverPort && serverAddress == o.serverAddress;
    }
    bool operator!=(const LinkSettings& o) const { return !(*this == o); }
};

// The five keys, in the order the file and "tarn settings" list them.
struct SettingKey {
    const char* name;
    bool isText;            // "ip"; the others are unsigned integers
    unsigned largestValue;  // the largest value the settings dialog can give (integers)
};
const std::vector<SettingKey>& settingKeys();
// The key called name (letter case ignored, as in the file), or nullptr.
const SettingKey* findSettingKey(const std::string& name);

// The path of the settings file: the current directory when first asked,
// plus the file name. The same for the rest of the run.
const std::string& settingsPath();

// Reads the five keys; missing ones (and an empty "ip") give the defaults.
LinkSettings loadSettings(const std::string& path);

// Writes the five keys as the settings dialog does: integers as unsigned
// decimal text, an empty address as the default one. False when the file
// cannot be written.
bool saveSettings(const std::string& path, const LinkSettings& settings);

// Checks a value typed for key and gives the text the settings dialog
// would store: an unsigned decimal number no larger than key.largestValue,
// written back as "%u"; for "ip" any text on one line, the default address
// when it is empty. False when the dialog could not have given the value.
bool storedSettingText(const SettingKey& key, const std::string& typed, std::string& stored);

// Writes one key with text in its stored form.
bool writeSetting(const std::string& path, const SettingKey& key, const std::string& stored);

// The default address for an empty one.
std::string addressText(const std::string& address);

// The values in effect as (key, text) pairs in the order of settingKeys().
std::vector<std::pair<std::string, std::string>> settingValues(const LinkSettings& settings);

}  // namespace orlo
