// Fuzz target: the settings file, read and then changed one key at a time;
// a change must read back as written.
#include <cstdint>
#include <string>

#include "device/settings.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = orlo::fuzz::inputFile(data, size, ".ini");
    orlo::LinkSettings before = orlo::loadSettings(path);
    orlo::settingValues(before);
    const orlo::SettingKey* key = orlo::findSettingKey("socket_port");
    std::string stored;
    if (key && orlo::storedSettingText(*key, "4321", stored) && orlo::writeSetting(path, *key, stored)) {
        orlo::LinkSettings after = orlo::loadSettings(path);
        if (after.serverPort != 4321) __builtin_trap();
    }
    return 0;
}
