// The product's name and versions. The main window's title and the about box
// show the window version (ORLO_VERSION, the first two parts of the release
// version in the file VERSION) and the firmware version, that of the
// controller firmware this tool matches. The release version and the commit
// the programs were built from are for --version, the about box and the
// release archives.
#pragma once

#include <string>

namespace orlo {

constexpr const char* kProductName = "Orlo";
constexpr const char* kProductVersion = ORLO_VERSION;
constexpr const char* kFirmwareVersion = "0.129";

// "1.326.0", from the file VERSION.
const char* releaseVersion();
// The commit, e.g. "d262809a1b2c" ("-dirty" appended when the checkout had
// changes), or "unknown" for a build outside git.
const char* buildCommit();
// The day this build was made, "2026-12-09". A release build takes it from
// SOURCE_DATE_EPOCH (the commit's time), so it builds byte for byte again.
std::string buildDate();
// What `PROGRAM --version` prints: "tarn 1.326.0 (commit d262809a1b2c)".
std::string versionLine(const std::string& program);

}  // namespace orlo
