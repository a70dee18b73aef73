// The simulated controller's resident firmware loader. The entry frame with
// the configured signature starts it; it then reports its chip to the 0x69
// A=101 request (and takes the rate the host asks for), answers the 0x6C
// A=101 preparation, takes the 16-byte header (block 10000) and the image
// blocks (10001 on), echoing each, and after the last block checks the image
// against the header (size, crc16, sum, XOR) and logs the result. Then it
// leaves, as the controller restarts with its new firmware.
//
// On a line with a rate (the pseudo-terminal) it follows the switch: once it
// has answered a request for another rate, requests that arrive while the
// line runs at a different one are not understood and get no reply.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orlo::sim {

struct LoaderConfig {
    std::string signature;  // 13 characters; empty: there is no loader
    std::string chip = "stm32g0b0";
    // Answers no loader request after image block N (1 = the first) has
    // been acknowledged; -1: always answers.
    long silentAfterBlock = -1;
    // Where the received image is written after the last block; empty: not.
    std::string imageFile;
};

class Loader {
public:
    using Log = std::function<void(const std::string&)>;

    Loader(LoaderConfig config, Log log);

    // True for a request of the loader's forms: the entry frame, or a CRC
    // frame that passes its check: 0x69 and 0x6C with A = 101, 0x6A with
    // A >= 10000.
    static bool isLoaderRequest(std::string_view request);
    // Handles one; returns the reply, or empty when none is due. lineBaud is
    // the rate the line runs at (0: a line without one, TCP).
    std::string handle(std::string_view request, std::uint8_t address, unsigned lineBaud);

    bool active() const { return active_; }
    // The rate the loader switched to (0: it kept the line's).
    unsigned baudRate() const { return baudRate_; }

private:
    std::string onRequest(std::string_view request, std::uint8_t address);
    std::string onBlock(std::uint16_t a, std::uint16_t b, std::string_view data,
                        std::uint8_t address);
    void finishImage();
    void note(const std::string& line);

    LoaderConfig config_;
    Log log_;
    bool active_ = false;
    unsigned baudRate_ = 0;
    unsigned lastLineBaud_ = 0;
    unsigned blocksAcknowledged_ = 0;
    unsigned blockCount_ = 0;
    std::string header_;
    std::string image_;
    std::size_t received_ = 0;  // image blocks stored, in order
    std::size_t imageEnd_ = 0;  // the end of the last block stored
};

}  // namespace orlo::sim
