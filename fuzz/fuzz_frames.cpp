// Fuzz target: the receive side's frame assemblers (CRC frames and sum
// frames) fed a byte stream; every frame they hand out lies in what came.
#include <cstdint>

#include "device/frame_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    orlo::ReceiveState crcState;
    orlo::FrameParser crc(crcState);
    orlo::ReceiveState sumState;
    orlo::SumFrameParser sum(sumState);
    for (std::size_t i = 1; i < size; ++i) {
        if (crc.feed(data[i], data[0]) && crc.frame().size() > i) __builtin_trap();
        if (sum.feed(data[i]) && sum.frame().size() > i) __builtin_trap();
    }
    return 0;
}
