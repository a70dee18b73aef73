// The two editions of the program, told apart in this one place: Tarn.exe
// (64-bit, with the firmware update) and Orlo.exe (32-bit, without it, with
// the usage help and editing extras and a flat owner-drawn look). The entry
// point of each picks its edition and its serial port class; the main window
// reads the rest from here.
#pragma once

namespace orlo {

struct Edition {
    // The executable's name, for messages: "Tarn" or "Orlo".
    const char* name;
    // Appended to the main window's title ("" for Tarn.exe) so the two are
    // told apart on screen.
    const char* titleSuffix;
    // The menu bar and the context menus (resource ids).
    int menuId;
    int contextMenuId;
    // "升级固件" and "升级固件(115200)" in the 通信 menu.
    bool firmwareUpdate;
    // The help window, the 帮助 menu, insert before/after, import at the
    // selection and the "没有找到！" notice.
    bool usageExtras;
    // Buttons and menus drawn by the program in one flat style.
    bool flatLook;
};

const Edition& tarnEdition();
const Edition& orloEdition();

}  // namespace orlo
