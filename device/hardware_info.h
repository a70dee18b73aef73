// The texts of the hardware information dialog: the controller's capacities
// from the data of a 0x69 reply, in the first layout (mode 1, the reply to
// "读取硬件信息") or in one of the layouts A to E chosen by the data length L
// (mode 3, the reply to "读取硬件信息2"). The layouts are tables in
// hardware_info.cpp; a data byte the reply does not hold reads as 0.
#pragma once

#include <string>
#include <string_view>

namespace orlo {

// The modes of the information dialog that show a reply frame.
constexpr int kHardwareInfoMode1 = 1;
constexpr int kHardwareInfoMode3 = 3;

// The layouts of mode 3 by data length: A 50 and more, B 46-49, C 40-45,
// D 34-39, E 24-33; None (an empty text) below 24.
enum class HardwareLayout { A, B, C, D, E, None };
HardwareLayout hardwareLayout(unsigned dataLength);

// The text for a whole reply frame (address, command, L, L data bytes, CRC).
// Lines end with CR LF; mode 1 and mode 3 texts start with
// "读取硬件信息成功：" and two line breaks. Any other mode gives "".
std::string hardwareInfoText(int mode, std::string_view frame);

}  // namespace orlo
