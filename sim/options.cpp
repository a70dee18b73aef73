// Parsing tarn-sim's command line (see options.h).
#include "sim/options.h"

#include "device/firmware_update.h"
#include "device/frames.h"
#include "platform/strings.h"

namespace orlo::sim {

const char* const kSimUsage =
    "usage: tarn-sim [--tcp [HOST:]PORT] [--pty PATH] [OPTIONS]\n\n"
    "A simulated controller: the device side of the protocol, a 32-channel relay\n"
    "board on the 0x55 frames, over TCP (one client at a time, up to 4 more\n"
    "waiting their turn, as on a serial-to-network bridge) and/or over a\n"
    "pseudo-terminal. Prints where it listens; stops on SIGINT or SIGTERM;\n"
    "SIGUSR1 is a power cycle (the power-up window opens again).\n\n"
    "  --tcp [HOST:]PORT     listen on HOST (default 127.0.0.1), PORT; 0 picks a\n"
    "                        free port (printed as \"tarn-sim: tcp HOST:PORT\")\n"
    "  --pty PATH            create a pseudo-terminal and link its name at PATH\n"
    "  --address A           the bus address, 0 to 255 (default 1)\n"
    "  --program FILE.qv3    the program it starts with (default: an empty one)\n"
    "  --info2-length L      data length of the hardware information 2 reply,\n"
    "                        0 to 250 (default 50: layout A; 46 B, 40 C, 34 D, 24 E)\n"
    "  --radio-code P:C      what learning a radio remote reports (default 1:10101010)\n"
    "  --ir-code P:C         the same for an infrared remote (default 2:20202020)\n"
    "  --universal-code HEX  the universal infrared code, 1 to 250 bytes\n"
    "  --loader-signature S  the firmware loader's 13-character entry signature\n"
    "                        (without it the loader never starts)\n"
    "  --chip NAME           the chip the loader reports (default stm32g0b0; a\n"
    "                        name the host does not know makes it refuse)\n"
    "  --loader-silent-after N  the loader answers the header and image blocks\n"
    "                        1 to N, then nothing more\n"
    "  --firmware-out FILE   write each firmware image received whole to FILE\n"
    "  --baud B              run both lines at B baud (10 bits a byte): a request\n"
    "                        counts once its bytes could have arrived, replies\n"
    "                        leave no faster; follows the firmware loader's\n"
    "                        switch (default: as fast as the line goes)\n"
    "  --reply-delay MS      time to work out each reply, 0 to 10000 (default 2)\n"
    "  --power-up-window S   take address writes only in the first S seconds\n"
    "                        after start or SIGUSR1 (default: at any time)\n"
    "  --stats               print frames and bytes each way and faults at exit\n"
    "  --drop-every N        drop every Nth reply\n"
    "  --corrupt-every N     change a data byte of every Nth reply, check recomputed\n"
    "  --garble-every N      change the check of every Nth reply\n"
    "  --misanswer-every N   answer every Nth request with a setting acknowledgement\n"
    "  --wrong-block-every N every Nth block reply names the next block\n"
    "  --close-after N       close the line at the request after N replies (TCP:\n"
    "                        that connection; a pseudo-terminal hangs up for good)\n"
    "  --pace MS             send replies one byte at a time, MS ms apart (a slow line)\n"
    "  --hang-up             close every TCP connection as soon as it is accepted\n"
    "  --verbose             print every request and reply as hex\n"
    "  --version             print the version and the commit, and exit\n";

namespace {

bool number(const std::string& text, unsigned long largest, unsigned long& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    unsigned long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > largest)
        return false;
    value = static_cast<unsigned long>(v);
    return true;
}

bool codePair(const std::string& text, std::uint32_t& parameter, std::uint32_t& code)
{
    const std::size_t colon = text.find(':');
    unsigned long p = 0, c = 0;
    if (colon == std::string::npos || !number(text.substr(0, colon), 0xFFFFFFFFul, p) ||
        !number(text.substr(colon + 1), 0xFFFFFFFFul, c))
        return false;
    parameter = static_cast<std::uint32_t>(p);
    code = static_cast<std::uint32_t>(c);
    return true;
}

}  // namespace

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& o, std::string& error)
{
    o = SimOptions{};
    o.controller.info1 = defaultHardwareInfo1();
    o.controller.info2 = defaultHardwareInfo2();
    o.controller.universalCode = defaultUniversalCode();

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            o.help = true;
            return true;
        }
        if (name == "--verbose") {
            o.verbose = true;
            continue;
        }
        if (name == "--stats") {
            o.stats = true;
            continue;
        }
        if (name == "--hang-up") {
            o.line.hangUp = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = name.compare(0, 2, "--") == 0 ? name + " needs a value"
                                                  : "unexpected argument " + name;
            return false;
        }
        const std::string& value = args[++i];
        unsigned long n = 0;
        if (name == "--tcp") {
            const std::size_t colon = value.rfind(':');
            if (colon != std::string::npos)
                o.tcpHost = value.substr(0, colon);
            if (o.tcpHost.empty() ||
                !number(colon == std::string::npos ? value : value.substr(colon + 1), 65535, n)) {
                error = "--tcp takes PORT or HOST:PORT, e.g. 6000 or 127.0.0.1:0";
                return false;
            }
            o.tcp = true;
            o.tcpPort = static_cast<std::uint16_t>(n);
        } else if (name == "--pty") {
            if (value.empty()) {
                error = "--pty takes the path at which to link the terminal";
                return false;
            }
            o.ptyLink = value;
        } else if (name == "--address") {
            if (!number(value, 255, n)) {
                error = "--address takes 0 to 255";
                return false;
            }
            o.controller.address = static_cast<std::uint8_t>(n);
        } else if (name == "--program") {
            o.programFile = value;
        } else if (name == "--info2-length") {
            if (!number(value, 250, n)) {
                error = "--info2-length takes 0 to 250";
                return false;
            }
            o.controller.info2Length = static_cast<unsigned>(n);
        } else if (name == "--radio-code") {
            if (!codePair(value, o.controller.radioParameter, o.controller.radioCode)) {
                error = "--radio-code takes PARAMETER:CODE, two decimal numbers";
                return false;
            }
        } else if (name == "--ir-code") {
            if (!codePair(value, o.controller.infraredParameter, o.controller.infraredCode)) {
                error = "--ir-code takes PARAMETER:CODE, two decimal numbers";
                return false;
            }
        } else if (name == "--universal-code") {
            std::string bytes;
            if (!parseHexText(value, bytes) || bytes.empty() || bytes.size() > 250) {
                error = "--universal-code takes 1 to 250 bytes as hex, e.g. \"26 00 1A\"";
                return false;
            }
            o.controller.universalCode = bytes;
        } else if (name == "--loader-signature") {
            if (!validLoaderSignature(value)) {
                error = "--loader-signature takes 13 printable ASCII characters";
                return false;
            }
            o.controller.loader.signature = value;
        } else if (name == "--chip") {
            if (value.empty() || value.size() > kMaxReplyData) {
                error = "--chip takes a name of 1 to 250 characters";
                return false;
            }
            o.controller.loader.chip = value;
        } else if (name == "--loader-silent-after") {
            if (!number(value, 65535, n)) {
                error = "--loader-silent-after takes a block count from 0";
                return false;
            }
            o.controller.loader.silentAfterBlock = static_cast<long>(n);
        } else if (name == "--firmware-out") {
            o.controller.loader.imageFile = value;
        } else if (name == "--baud") {
            if (!number(value, 4000000, n) || n < 50) {
                error = "--baud takes a rate from 50 to 4000000";
                return false;
            }
            o.timing.baud = static_cast<unsigned>(n);
        } else if (name == "--reply-delay") {
            if (!number(value, 10000, n)) {
                error = "--reply-delay takes milliseconds from 0 to 10000";
                return false;
            }
            o.timing.replyDelayMs = static_cast<unsigned>(n);
        } else if (name == "--power-up-window") {
            if (!number(value, 86400, n) || n == 0) {
                error = "--power-up-window takes seconds from 1 to 86400";
                return false;
            }
            o.controller.powerUpWindowMs = n * 1000ull;
        } else if (name == "--pace") {
            if (!number(value, 10000, n)) {
                error = "--pace takes milliseconds from 0 to 10000";
                return false;
            }
            o.line.paceMs = static_cast<unsigned>(n);
        } else if (name == "--close-after") {
            if (!number(value, 1000000, n)) {
                error = "--close-after takes a count of replies from 0";
                return false;
            }
            o.line.closeLine = true;
            o.line.closeAfterReplies = static_cast<unsigned>(n);
        } else if (name == "--drop-every" || name == "--corrupt-every" ||
                   name == "--garble-every" || name == "--misanswer-every" ||
                   name == "--wrong-block-every") {
            if (!number(value, 1000000, n) || n == 0) {
                error = name + " takes a count from 1";
                return false;
            }
            unsigned& every = name == "--drop-every"      ? o.faults.dropEvery
                              : name == "--corrupt-every" ? o.faults.corruptEvery
                              : name == "--garble-every"  ? o.faults.garbleEvery
                              : name == "--misanswer-every" ? o.faults.misanswerEvery
                                                            : o.faults.wrongBlockEvery;
            every = static_cast<unsigned>(n);
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (!o.tcp && o.ptyLink.empty()) {
        error = "give --tcp PORT and/or --pty PATH";
        return false;
    }
    return true;
}

}  // namespace orlo::sim
