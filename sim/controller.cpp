// The simulated controller's answers (see controller.h).
#include "sim/controller.h"

#include <algorithm>

#include "device/controller_time.h"
#include "device/frames.h"
#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::sim {

namespace {

constexpr std::size_t kBlockBytes = 50;

std::string emptyProgramImage()
{
    Program empty;
    NameTable noNames;
    return buildImage(empty, noNames);
}

std::string u32be(std::uint32_t v)
{
    ByteWriter w;
    w.u32be(v);
    return w.data();
}

// Why an image received whole fails the controller's check; empty when it
// passes.
std::string imageFault(std::string_view image)
{
    if (checkImage(image))
        return std::string();
    if (image.size() < 16)
        return format("%u bytes arrived, fewer than a header", static_cast<unsigned>(image.size()));
    ByteReader header(image.substr(2, 4));
    const std::uint32_t length = header.u32be();
    if (length < 16 || length > image.size() || length > kMaxImageBytes)
        return format("its length field says %lu bytes and %u arrived",
                      static_cast<unsigned long>(length), static_cast<unsigned>(image.size()));
    if (!imageCheckMatches(image.substr(0, length)))
        return "its check value does not match its bytes";
    return "its header words are not those of a program image";
}

}  // namespace

std::string defaultHardwareInfo1()
{
    ByteWriter w;
    w.u8(3);  // core 3.0
    w.u8(2);  // firmware 2.6
    w.u8(6);
    w.u32be(200000);  // program space
    w.u8(16);         // inputs
    w.u8(32);         // outputs
    w.u8(100);        // timers
    w.u8(0);
    w.u8(4);  // timers count to 4294967295
    w.u8(200);  // global variables
    w.u8(0);
    w.u8(14);   // global variables are 32-bit signed
    w.u8(10);   // arrays
    w.u8(64);   // array size
    w.u8(8);    // variable power-down sectors
    w.u8(100);  // variables per sector
    w.u8(4);    // array power-down sectors
    w.u8(10);   // arrays per sector
    return w.data();
}

std::string defaultHardwareInfo2()
{
    const std::uint8_t d[50] = {
        0,                           // d0
        16, 32, 200, 100, 50, 20,    // inputs, outputs, integers, global integers, floats, global floats
        10, 64, 0x02, 0x80,          // arrays, default length, array space 640
        10, 128, 0x05, 0x00,         // global arrays, default length, space 1280
        100, 200, 255,               // timers, bit variables, largest byte count
        8, 0x08, 0x00,               // storage sectors, sector size 2048
        8, 16, 3,                    // call depth, buffers, buffers in use
        0x00, 0x40, 0x04, 0x00,      // memory: 64 units of 1024 bytes
        0x00, 0x10, 0x00, 0x20,      // in use 16 units, peak 32
        0, 0,                        // allocation and release errors
        25, 5, 50, 100,              // cpu: fast interrupt, ms interrupt, core, core peak (of 250)
        20, 10,                      // fast clock 20 kHz, core interval 10 ms
        0x00, 0x01, 0x00, 0x32,      // power-down storage: global integers 1 to 50
        0x80, 0x48,                  // external crystal, 72 MHz
        0, 0, 0, 0,                  // high bytes of inputs, outputs, global integers, byte count
    };
    return std::string(reinterpret_cast<const char*>(d), sizeof d);
}

std::string defaultUniversalCode()
{
    return std::string("\x26\x00\x1A\x2B\x3C\x4D\x5E\x6F", 8);
}

Controller::Controller(ControllerConfig config, Log log, Log warn)
    : config_(std::move(config)), log_(std::move(log)), warn_(std::move(warn)),
      loader_(config_.loader, [this](const std::string& line) { note(line); })
{
    image_ = config_.program.empty() ? emptyProgramImage() : config_.program;
}

void Controller::note(const std::string& line)
{
    if (log_)
        log_(line);
}

void Controller::warn(const std::string& line)
{
    if (warn_)
        warn_(line);
    else
        note(line);
}

std::uint32_t Controller::clockSeconds(std::uint64_t utcSeconds) const
{
    return static_cast<std::uint32_t>(controllerSeconds(utcSeconds) +
                                      static_cast<std::uint64_t>(clockOffset_));
}

std::string Controller::handle(std::string_view request, std::uint64_t nowMs,
                               std::uint64_t utcSeconds)
{
    relays_.advance(nowMs);
    const ReplyFrame r(request);
    const bool crcForm = (r.command() == kReadBlockCommand || r.command() == kQueryCommand ||
                          r.command() == kDataBlockCommand || r.command() == kSettingCommand) &&
                         crcMatches(request);
    if (crcForm && r.address() != config_.address)
        return std::string();
    if (Loader::isLoaderRequest(request))
        return loader_.handle(request, config_.address, lineBaud_);
    if (crcForm)
        return onCrcRequest(request, utcSeconds);
    if (request.size() == kSumFrameBytes && r.address() == kAddressFrameStart)
        return onAddressFrame(request, nowMs);
    return std::string();
}

std::string Controller::onCrcRequest(std::string_view request, std::uint64_t utcSeconds)
{
    ByteReader in(request.substr(1));
    const std::uint8_t command = in.u8();
    const std::uint16_t a = in.u16be();
    const std::uint16_t b = in.u16be();
    switch (command) {
    case kReadBlockCommand:
        return readBlock(a);
    case kQueryCommand:
        return query(a, utcSeconds);
    case kDataBlockCommand: {
        const std::uint8_t n = in.u8();
        return writeBlock(a, b, in.take(n));
    }
    case kSettingCommand: {
        in.u8();  // N low, again
        return setting(a, in.take(b), utcSeconds);
    }
    }
    return std::string();
}

std::string Controller::readBlock(std::uint16_t p)
{
    readPosition_ = p == kReadFirstBlock ? 0 : readPosition_ + 1;
    const std::size_t total = (image_.size() + kBlockBytes - 1) / kBlockBytes;
    ByteWriter data;
    data.u16be(readPosition_);
    data.u16be(static_cast<unsigned>(total));
    if (readPosition_ < total)
        data.bytes(std::string_view(image_).substr(readPosition_ * kBlockBytes, kBlockBytes));
    return dataReply(config_.address, kReadBlockCommand, data.data());
}

std::string Controller::query(std::uint16_t a, std::uint64_t utcSeconds)
{
    std::string data;
    switch (a) {
    case kQueryClock:
        data = u32be(clockSeconds(utcSeconds));
        break;
    case kQueryRadioRemote:
        data = u32be(config_.radioParameter) + u32be(config_.radioCode);
        break;
    case kQueryInfraredRemote:
        data = u32be(config_.infraredParameter) + u32be(config_.infraredCode);
        break;
    case kQueryUniversalInfrared:
        data = config_.universalCode;
        break;
    case kQueryHardwareInfo:
        data = config_.info1;
        break;
    case kQueryHardwareInfo2:
        data = config_.info2;
        data.resize(std::min<std::size_t>(config_.info2Length, kMaxReplyData), '\0');
        break;
    default:
        note(format("request 0x69 A=%u is not simulated; no reply", static_cast<unsigned>(a)));
        return std::string();
    }
    return dataReply(config_.address, kQueryCommand, data);
}

std::string Controller::writeBlock(std::uint16_t a, std::uint16_t b, std::string_view data)
{
    if (a == 0) {
        incoming_.assign(std::min<std::size_t>(std::size_t{b} * kBlockBytes, kMaxImageBytes), '\0');
        incomingEnd_ = 0;
    }
    const std::size_t offset = std::size_t{a} * kBlockBytes;
    if (offset + data.size() <= incoming_.size()) {
        std::copy(data.begin(), data.end(), incoming_.begin() + static_cast<std::ptrdiff_t>(offset));
        incomingEnd_ = std::max(incomingEnd_, offset + data.size());
    }
    if (a + 1u == b) {
        const std::string_view received = std::string_view(incoming_).substr(0, incomingEnd_);
        const std::string fault = imageFault(received);
        if (fault.empty()) {
            ByteReader header(received.substr(2, 4));
            image_ = std::string(received.substr(0, header.u32be()));
            note(format("program written: %u bytes", static_cast<unsigned>(image_.size())));
        }
        incoming_.clear();
        incomingEnd_ = 0;
        if (!fault.empty()) {
            // The controller keeps its program and leaves the last block
            // unacknowledged, so the host's write never ends as a success.
            warn("program refused: " + fault +
                 "; the old one stays and the last block is not acknowledged");
            return std::string();
        }
    }
    return shortReply(config_.address, kDataBlockCommand, a, b);
}

std::string Controller::setting(std::uint16_t a, std::string_view data, std::uint64_t utcSeconds)
{
    if (a != kSettingClock || data.size() != 4) {
        note(format("setting 0x6C A=%u is not simulated; no reply", static_cast<unsigned>(a)));
        return std::string();
    }
    ByteReader in(data);
    const std::uint32_t t = in.u32be();
    clockOffset_ = static_cast<std::int64_t>(t) -
                   static_cast<std::int64_t>(controllerSeconds(utcSeconds));
    note("clock set: " + gbkToUtf8(moduleTimeText(t)));
    return shortReply(config_.address, kSettingCommand, a, static_cast<std::uint16_t>(data.size()));
}

std::string Controller::onAddressFrame(std::string_view request, std::uint64_t nowMs)
{
    const ReplyFrame f(request);
    const std::uint8_t target = f.byteAt(1);
    const std::uint8_t function = f.byteAt(2);
    const std::uint32_t value = f.sumValue();
    const bool forMe = target == config_.address;
    if ((target == kBroadcastTarget || forMe) && function == kReadAddressFunction)
        return sumReply(config_.address, kReadAddressFunction, relays_.state());
    if ((target == kBroadcastTarget || forMe) && function == kWriteAddressFunction) {
        if (config_.powerUpWindowMs != 0 && nowMs >= poweredAtMs_ + config_.powerUpWindowMs) {
            note(format("address write to %u ignored: outside the power-up window",
                        static_cast<unsigned>(value & 0xFFu)));
            return std::string();
        }
        config_.address = static_cast<std::uint8_t>(value & 0xFFu);
        note(format("address set to %u", static_cast<unsigned>(config_.address)));
        return sumReply(config_.address, kWriteAddressFunction, relays_.state());
    }
    if (forMe && relays_.apply(function, value, nowMs))
        return sumReply(config_.address, function, relays_.state());
    return std::string();
}

}  // namespace orlo::sim
