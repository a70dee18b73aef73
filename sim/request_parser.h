// The simulated controller's side of the line: assembles the host's requests
// from received bytes. Bytes that cannot start a valid request are dropped
// one at a time, so the next request is found after noise.
//
// A request is a CRC frame (any address byte, then 0x67 or 0x69 in 8 bytes,
// or 0x6A or 0x6C with N data bytes in N + 9) or an 8-byte address frame
// starting with 0x55 whose last byte is the sum of the seven before, or the
// firmware loader's 20-byte entry frame (FF 00 FF 00 AA 55 ... 00). A pause
// on the line (idle) drops a partial request, as a controller's receiver does.
#pragma once

#include <string>
#include <vector>

namespace orlo::sim {

class RequestParser {
public:
    // Takes one byte; returns the requests it completed, in order (usually
    // none or one; more when noise hid a request that is now found).
    std::vector<std::string> feed(unsigned char byte);
    // The line fell silent: forget a partial request.
    void idle() { buffer_.clear(); }
    std::size_t pending() const { return buffer_.size(); }

private:
    std::string buffer_;
};

}  // namespace orlo::sim
