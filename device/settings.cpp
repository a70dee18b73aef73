// The settings file (see settings.h).
#include "device/settings.h"

#include <algorithm>

#include "device/profile.h"
#include "platform/strings.h"

namespace orlo {

const char* const kSettingsFileName = "qv_pV2.ini";
const char* const kSettingsSection = "canshu_v2";
const char* const kDefaultServerAddress = "192.168.1.110";

namespace {

// Texts are read with a buffer of 500 bytes: at most 499 characters.
constexpr std::size_t kTextBuffer = 500;

enum KeyIndex { ComOrTcp, ComNum, BtlNum, SocketPort, Ip };

}  // namespace

const std::vector<SettingKey>& settingKeys()
{
    // In KeyIndex order. The largest values are those of the dialog's
    // controls: two radio buttons, 255 ports, 10 rates, a 16-bit port.
    static const std::vector<SettingKey> keys = {
        {"com_or_tcp", false, 1},
        {"com_num", false, 254},
        {"btl_num", false, 9},
        {"socket_port", false, 65535},
        {"ip", true, 0},
    };
    return keys;
}

const SettingKey* findSettingKey(const std::string& name)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (const SettingKey& k : settingKeys()) {
        const std::string key = k.name;
        if (key.size() == name.size() &&
            std::equal(key.begin(), key.end(), name.begin(),
                       [&](char a, char b) { return a == lower(b); }))
            return &k;
    }
    return nullptr;
}

const std::string& settingsPath()
{
    static const std::string path = currentDirectoryFile(kSettingsFileName);
    return path;
}

LinkSettings loadSettings(const std::string& path)
{
    const std::vector<SettingKey>& keys = settingKeys();
    auto integer = [&](KeyIndex k, unsigned fallback) {
        return readProfileInt(path, kSettingsSection, keys[k].name, static_cast<int>(fallback));
    };
    LinkSettings s;
    s.useTcp = integer(ComOrTcp, kDefaultComOrTcp) != 0;
    s.comIndex = integer(ComNum, kDefaultComIndex);
    s.baudIndex = integer(BtlNum, kDefaultBaudIndex);
    s.serverPort = static_cast<std::uint16_t>(integer(SocketPort, kDefaultServerPort) & 0xFFFFu);
    s.serverAddress = addressText(
        readProfileString(path, kSettingsSection, keys[Ip].name, kDefaultServerAddress, kTextBuffer));
    return s;
}

bool storedSettingText(const SettingKey& key, const std::string& typed, std::string& stored)
{
    if (key.isText) {
        if (typed.find_first_of("\r\n") != std::string::npos)
            return false;
        stored = addressText(typed);
        return true;
    }
    if (typed.empty() || typed.size() > 10)
        return false;
    unsigned long long value = 0;
    for (char c : typed) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > key.largestValue)
        return false;
    stored = format("%u", static_cast<unsigned>(value));
    return true;
}

std::string addressText(const std::string& address)
{
    return address.empty() ? kDefaultServerAddress : address;
}

std::vector<std::pair<std::string, std::string>> settingValues(const LinkSettings& s)
{
    const std::vector<SettingKey>& keys = settingKeys();
    return {
        {keys[ComOrTcp].name, format("%u", s.useTcp ? 1u : 0u)},
        {keys[ComNum].name, format("%u", s.comIndex)},
        {keys[BtlNum].name, format("%u", s.baudIndex)},
        {keys[SocketPort].name, format("%u", static_cast<unsigned>(s.serverPort))},
        {keys[Ip].name, addressText(s.serverAddress)},
    };
}

bool writeSetting(const std::string& path, const SettingKey& key, const std::string& stored)
{
    return writeProfileString(path, kSettingsSection, key.name, stored);
}

bool saveSettings(const std::string& path, const LinkSettings& settings)
{
    bool ok = true;
    const std::vector<SettingKey>& keys = settingKeys();
    std::vector<std::pair<std::string, std::string>> values = settingValues(settings);
    for (std::size_t i = 0; i < keys.size(); ++i)
        ok = writeSetting(path, keys[i], values[i].second) && ok;
    return ok;
}

}  // namespace orlo
