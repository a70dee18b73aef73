// The simulated firmware loader (see loader.h).
#include "sim/loader.h"

#include "device/firmware_update.h"
#include "device/format_text.h"
#include "device/frames.h"
#include "expr/byte_io.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::sim {

namespace {

constexpr std::size_t kEntryFrameBytes = 20;
constexpr std::size_t kHeaderBytes = 16;
constexpr std::size_t kImageBlockBytes = 50;

bool isEntryFrame(std::string_view request)
{
    return request.size() == kEntryFrameBytes &&
           request.substr(0, 6) == std::string_view("\xFF\x00\xFF\x00\xAA\x55", 6);
}

}  // namespace

Loader::Loader(LoaderConfig config, Log log) : config_(std::move(config)), log_(std::move(log)) {}

void Loader::note(const std::string& line)
{
    if (log_)
        log_(line);
}

bool Loader::isLoaderRequest(std::string_view request)
{
    if (isEntryFrame(request))
        return true;
    if (!crcMatches(request))
        return false;
    const ReplyFrame r(request);
    const unsigned a = static_cast<unsigned>(r.byteAt(2) << 8 | r.byteAt(3));
    switch (r.command()) {
    case kQueryCommand:
    case kSettingCommand:
        return a == kQueryFirmwareLoader;
    case kDataBlockCommand:
        return a >= kFirmwareHeaderBlock;
    default:
        return false;
    }
}

std::string Loader::handle(std::string_view request, std::uint8_t address, unsigned lineBaud)
{
    if (isEntryFrame(request)) {
        const std::string_view signature = request.substr(6, kLoaderSignatureChars);
        if (config_.signature.empty() || signature != config_.signature) {
            note("loader entry frame with signature \"" + std::string(signature) + "\" ignored" +
                 (config_.signature.empty() ? " (no --loader-signature given)" : ""));
            return std::string();
        }
        active_ = true;
        baudRate_ = 0;
        blocksAcknowledged_ = 0;
        note("loader started");
        return std::string();
    }
    if (!active_) {
        note("loader request while the loader is not running; no reply");
        return std::string();
    }
    if (lineBaud != lastLineBaud_) {
        if (lastLineBaud_ != 0)
            note(format("line now at %u baud", lineBaud));
        lastLineBaud_ = lineBaud;
    }
    if (baudRate_ != 0 && lineBaud != 0 && lineBaud != baudRate_) {
        note(format("request at %u baud while the loader runs at %u; not understood", lineBaud,
                    baudRate_));
        return std::string();
    }
    if (config_.silentAfterBlock >= 0 && !header_.empty() &&
        blocksAcknowledged_ >= static_cast<unsigned long>(config_.silentAfterBlock)) {
        note("loader silent");
        return std::string();
    }
    return onRequest(request, address);
}

std::string Loader::onRequest(std::string_view request, std::uint8_t address)
{
    ByteReader in(request.substr(1));
    const std::uint8_t command = in.u8();
    const std::uint16_t a = in.u16be();
    const std::uint16_t b = in.u16be();
    switch (command) {
    case kQueryCommand:
        baudRate_ = b * 100u;
        header_.clear();
        note("loader: chip " + config_.chip +
             (b == 0 ? std::string() : format(", switching to %u baud", baudRate_)));
        return dataReply(address, kQueryCommand, config_.chip);
    case kSettingCommand:
        note("loader: prepared");
        return shortReply(address, kSettingCommand, a, b);
    case kDataBlockCommand: {
        const std::uint8_t n = in.u8();
        return onBlock(a, b, in.take(n), address);
    }
    default:
        return std::string();
    }
}

std::string Loader::onBlock(std::uint16_t a, std::uint16_t b, std::string_view data,
                            std::uint8_t address)
{
    if (a == kFirmwareHeaderBlock) {
        if (data.size() != kHeaderBytes) {
            note(format("loader: header of %u bytes refused", static_cast<unsigned>(data.size())));
            return std::string();
        }
        header_ = std::string(data);
        blockCount_ = b;
        image_.assign(std::size_t{b} * kImageBlockBytes, '\0');
        received_ = 0;
        imageEnd_ = 0;
        blocksAcknowledged_ = 0;
        ByteReader h(data.substr(4, 4));
        note(format("loader: header for %u bytes in %u blocks", static_cast<unsigned>(h.u32be()),
                    static_cast<unsigned>(b)));
        return shortReply(address, kDataBlockCommand, a, b);
    }
    const unsigned k = a - kFirmwareHeaderBlock - 1u;
    if (header_.empty() || b != blockCount_ || k >= blockCount_ || k != received_ ||
        data.size() > kImageBlockBytes) {
        note(format("loader: block %u of %u out of order or too long; no reply",
                    static_cast<unsigned>(a), static_cast<unsigned>(b)));
        return std::string();
    }
    image_.replace(k * kImageBlockBytes, data.size(), data.data(), data.size());
    imageEnd_ = k * kImageBlockBytes + data.size();
    ++received_;
    ++blocksAcknowledged_;
    const std::string reply = shortReply(address, kDataBlockCommand, a, b);
    if (received_ == blockCount_)
        finishImage();
    return reply;
}

void Loader::finishImage()
{
    image_.resize(imageEnd_);
    const std::string computed = firmwareHeader(image_);
    const struct {
        const char* name;
        std::size_t offset, size;
    } fields[] = {{"size", 4, 4}, {"crc", 10, 2}, {"sum", 12, 1}, {"xor", 13, 1}};
    std::string wrong;
    for (const auto& f : fields)
        if (computed.compare(f.offset, f.size, header_, f.offset, f.size) != 0)
            wrong += std::string(wrong.empty() ? "" : ", ") + f.name;
    const std::string figures =
        format("%u bytes in %u blocks, crc %s, sum %s, xor %s", static_cast<unsigned>(image_.size()),
               blockCount_, hexText(computed.substr(10, 2)).c_str(),
               hexText(computed.substr(12, 1)).c_str(), hexText(computed.substr(13, 1)).c_str());
    if (wrong.empty())
        note("firmware received intact: " + figures + " for " + config_.chip);
    else
        note("firmware damaged (" + wrong + " differ from the header): " + figures);
    if (!config_.imageFile.empty()) {
        std::string error;
        if (!writeFileSafely(config_.imageFile, image_, error))
            note("cannot write " + config_.imageFile + ": " + gbkToUtf8(error));
    }
    active_ = false;
    baudRate_ = 0;
    header_.clear();
}

}  // namespace orlo::sim
