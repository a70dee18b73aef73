// The product's name and versions, as the main window's title and the about
// box show them. The program's version comes from the build (ORLO_VERSION);
// the firmware version is that of the controller firmware this tool matches.
#pragma once

namespace orlo {

constexpr const char* kProductName = "Orlo";
constexpr const char* kProductVersion = ORLO_VERSION;
constexpr const char* kFirmwareVersion = "0.129";

}  // namespace orlo
