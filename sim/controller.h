// The simulated controller's device-side logic: what it answers to each
// request of the device protocol. No I/O: the server feeds it complete
// requests and sends what it returns.
//
// It keeps a program image (written and read in 50-byte blocks), a clock (the
// host sets it; it runs on with the wall clock), hardware information in the
// first layout and in a second layout of selectable length, remote codes to
// "learn", its bus address (read and written with address frames and sum
// replies) and a 32-channel relay board on the 0x55 frames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/loader.h"
#include "sim/relay_board.h"

namespace orlo::sim {

struct ControllerConfig {
    std::uint8_t address = 1;
    // The program image it starts with; empty: the image of an empty program.
    std::string program;
    // The data of the hardware information replies. The second is cut or
    // padded with zeros to info2Length bytes (0 to 250).
    std::string info1;
    std::string info2;
    unsigned info2Length = 50;
    // What remote-code learning reports.
    std::uint32_t radioParameter = 1, radioCode = 10101010;
    std::uint32_t infraredParameter = 2, infraredCode = 20202020;
    std::string universalCode;
    // The firmware loader (no signature: none).
    LoaderConfig loader;
    // Address writes are taken only this long after power-up (powerUp);
    // later ones are ignored, as modules do. 0: taken at any time.
    std::uint64_t powerUpWindowMs = 0;
};

// Hardware information data of a plausible controller: 21 bytes in the first
// layout, 50 in the second (layout A).
std::string defaultHardwareInfo1();
std::string defaultHardwareInfo2();
// The universal infrared code learned by default.
std::string defaultUniversalCode();

class Controller {
public:
    using Log = std::function<void(const std::string&)>;

    // log receives a line for each notable event (program written, clock
    // set, address changed, unknown request); warn the refusals the user
    // must hear of (a program image that failed its check), log when unset.
    explicit Controller(ControllerConfig config, Log log = {}, Log warn = {});

    // Power comes on (at start and at each simulated power cycle) at nowMs
    // on the clock handle is given: the address-write window opens.
    void powerUp(std::uint64_t nowMs) { poweredAtMs_ = nowMs; }

    // Handles one complete request (RequestParser's) at nowMs on a monotonic
    // clock and utcSeconds on the wall clock. Returns the reply, or an empty
    // string when none is due (another address, not answered, unknown, an
    // address write outside the power-up window, the last block of an image
    // that failed its check).
    std::string handle(std::string_view request, std::uint64_t nowMs, std::uint64_t utcSeconds);

    std::uint8_t address() const { return config_.address; }
    const std::string& programImage() const { return image_; }
    // The controller's clock (seconds since 1970 in its local time).
    std::uint32_t clockSeconds(std::uint64_t utcSeconds) const;
    const RelayBoard& relays() const { return relays_; }
    const Loader& loader() const { return loader_; }
    // The rate the line runs at, for the loader's baud switch (0: TCP).
    void setLineBaud(unsigned baudRate) { lineBaud_ = baudRate; }

private:
    std::string onCrcRequest(std::string_view request, std::uint64_t utcSeconds);
    std::string onAddressFrame(std::string_view request, std::uint64_t nowMs);
    std::string readBlock(std::uint16_t p);
    std::string query(std::uint16_t a, std::uint64_t utcSeconds);
    std::string writeBlock(std::uint16_t a, std::uint16_t b, std::string_view data);
    std::string setting(std::uint16_t a, std::string_view data, std::uint64_t utcSeconds);
    void note(const std::string& line);
    void warn(const std::string& line);

    ControllerConfig config_;
    Log log_;
    Log warn_;
    std::uint64_t poweredAtMs_ = 0;
    std::string image_;
    unsigned readPosition_ = 0;
    std::string incoming_;  // the image being written
    std::size_t incomingEnd_ = 0;
    std::int64_t clockOffset_ = 0;  // set value minus the UTC + 8 h count at the time
    RelayBoard relays_;
    Loader loader_;
    unsigned lineBaud_ = 0;
};

}  // namespace orlo::sim
