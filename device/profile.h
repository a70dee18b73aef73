// Private profile (ini) files with the rules of Windows' private profile
// functions, which the settings file follows. On Windows these are
// GetPrivateProfileIntA, GetPrivateProfileStringA and
// WritePrivateProfileStringA themselves (platform/win32/profile.cpp); on
// other systems a small implementation that behaves the same
// (platform/posix/profile.cpp).

// The rules: section and key names match without regard
// to letter case and to surrounding blanks, only the first section of a name
// counts, values lose their surrounding blanks and one pair of matching
// quotes, and integers are read as Windows reads them (optional sign, 0x /
// 0o / 0b prefixes, digits up to the first other character, modulo 2^32).
// All text is GBK bytes; paths are in the platform's form.
#pragma once

#include <cstddef>
#include <string>

namespace orlo {

// The integer value of key in section, or defaultValue (as unsigned) when
// the file, the section or the key is missing or the value is empty.
unsigned readProfileInt(const std::string& path, const std::string& section,
                        const std::string& key, int defaultValue);

// The text of key in section, at most bufferSize - 1 bytes; defaultValue
// (without its trailing blanks) when the file, the section or the key is
// missing. An empty value reads as empty, not as the default.
std::string readProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& defaultValue,
                              std::size_t bufferSize);

// Sets key in section to value (its leading blanks dropped), adding the key
// at the end of the section, or the section at the end of the file, when
// missing; creates the file when missing. False when the file cannot be
// written.
bool writeProfileString(const std::string& path, const std::string& section,
                        const std::string& key, const std::string& value);

// The path of a file called name in the process's current directory.
std::string currentDirectoryFile(const std::string& name);

}  // namespace orlo
