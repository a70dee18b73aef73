// The firmware update sequence (see firmware_update.h).
#include "device/firmware_update.h"

#include <algorithm>

#include "device/format_text.h"
#include "device/frames.h"
#include "expr/byte_io.h"
#include "model/crc16.h"

namespace orlo {

const FirmwareChip kFirmwareChips[2] = {
    {"at32f403avgt7", 164},
    {"stm32g0b0", 165},
};
const char* const kFirmwareResourceType = "BINARY";
const char* const kLoaderSignatureResourceType = "LOADERSIG";

namespace {

const char* const kCaptionWarning = "警告";
const char* const kCaptionNotice = "提示";
const char* const kDefaultCaption = "";

const char* const kConfirmUpdate = "确认要升级处理器固件为当前适配版本吗？";
const char* const kNoResource = "找不到资源 ";
const char* const kCannotLoad = "无法加载资源!";
const char* const kUpdated = "固件已更新为当前适用版本！";
const char* const kNoSignature =
    "未配置固件加载程序的识别码（13个字符），无法更新固件！";
const char* const kTooLarge = "固件过大（%u字节），无法写入！";
const char* const kNoAnswer = "固件更新失败：控制器没有应答，波特率已恢复。";

const std::uint8_t kEntryStart[] = {0xFF, 0x00, 0xFF, 0x00, 0xAA, 0x55};
constexpr std::size_t kPrepareBytes = 10;

}  // namespace

int firmwareResourceId(std::string_view chipName)
{
    for (const FirmwareChip& chip : kFirmwareChips)
        if (chipName == chip.name)
            return chip.resourceId;
    return 0;
}

bool validLoaderSignature(std::string_view text)
{
    return text.size() == kLoaderSignatureChars &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string loaderEntryFrame(std::string_view signature)
{
    std::string frame(reinterpret_cast<const char*>(kEntryStart), sizeof kEntryStart);
    frame.append(signature.substr(0, kLoaderSignatureChars));
    frame.resize(sizeof kEntryStart + kLoaderSignatureChars, '\0');
    frame += '\0';
    return frame;
}

std::string firmwareHeader(std::string_view image)
{
    std::uint8_t sum = 0, x = 0;
    for (char c : image) {
        sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
        x = static_cast<std::uint8_t>(x ^ static_cast<std::uint8_t>(c));
    }
    const Crc16 crc = crc16(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    ByteWriter w;
    w.u32be(kFirmwareLoadAddress);
    w.u32be(static_cast<std::uint32_t>(image.size()));
    w.u16be(0);
    w.u8(crc.hi);
    w.u8(crc.lo);
    w.u8(sum);
    w.u8(x);
    w.u16be(0);
    return w.data();
}

FirmwareUpdate::FirmwareUpdate(DeviceSession& session, DeviceSender& sender,
                               DeviceEvents& events, FirmwareLine& line, Countdown& watchdog,
                               Countdown& startDelay, Clock& clock)
    : session_(session), sender_(sender), events_(events), line_(line), watchdog_(watchdog),
      startDelay_(startDelay), clock_(clock)
{
    watchdog_.onExpired = [this] { watchdogExpired(); };
    startDelay_.onExpired = [this] { begin(); };
}

void FirmwareUpdate::start(std::uint16_t updateBaud)
{
    if (!validLoaderSignature(signature_)) {
        events_.showMessage(kNoSignature, kCaptionWarning);
        events_.operationEnded(PendingOperation::FirmwareUpdate, false);
        return;
    }
    if (!events_.ask(kConfirmUpdate, kCaptionWarning)) {
        events_.operationEnded(PendingOperation::FirmwareUpdate, false);
        return;
    }
    updateBaud_ = updateBaud;
    line_.restoreBaudRate();
    const std::string entry = loaderEntryFrame(signature_);
    sender_.sendToDevice(reinterpret_cast<const std::uint8_t*>(entry.data()), entry.size());
    startDelay_.ticks = static_cast<int>(kFirmwareStartDelayTicks);
}

void FirmwareUpdate::begin()
{
    watchdog_.ticks = static_cast<int>(kFirmwareWatchdogTicks);
    step_ = 0;
    session_.setPending(PendingOperation::FirmwareUpdate);
    runStep(0);
}

void FirmwareUpdate::watchdogExpired()
{
    if (session_.pending() == PendingOperation::FirmwareUpdate)
        end(false, kNoAnswer, kCaptionWarning);
    else
        line_.restoreBaudRate();
}

// The reply each step waits for: the chip name (0x69), the preparation's
// answer (0x6C), then the echo of the header and of each block in turn.
bool FirmwareUpdate::fits(std::string_view frame) const
{
    const ReplyFrame r(frame);
    switch (step_) {
    case 0:
        return r.command() == kQueryCommand;
    case 1:
        return r.command() == kSettingCommand;
    default:
        return r.command() == kDataBlockCommand && r.fieldA() == step_ + kFirmwareHeaderBlock - 2 &&
               r.fieldB() == blockCount_;
    }
}

void FirmwareUpdate::onReply(std::string_view frame)
{
    if (session_.pending() != PendingOperation::FirmwareUpdate || !fits(frame))
        return;
    ++step_;
    events_.progressPosition(step_);
    if (watchdog_.ticks > 0)
        watchdog_.ticks = static_cast<int>(kFirmwareWatchdogTicks);
    if (step_ == 1) {
        onChipName(ReplyFrame(frame).data());
        return;
    }
    if (step_ == blockCount_ + 3) {
        end(true, kUpdated, kCaptionNotice);
        return;
    }
    runStep(step_);
}

void FirmwareUpdate::onChipName(std::string_view name)
{
    chipName_ = std::string(name);
    const int id = firmwareResourceId(chipName_);
    std::string image;
    const ResourceLoad load = id == 0 || !source_ ? ResourceLoad::Missing : source_(id, image);
    if (load == ResourceLoad::Missing) {
        end(false, kNoResource, kDefaultCaption);
        return;
    }
    if (load == ResourceLoad::Unloadable || image.empty()) {
        end(false, kCannotLoad, kDefaultCaption);
        return;
    }
    const std::size_t blocks = (image.size() + kBlockBytes - 1) / kBlockBytes;
    if (blocks > kMaxFirmwareBlocks) {
        const std::string text = formatText(kTooLarge, static_cast<unsigned>(image.size()));
        end(false, text.c_str(), kCaptionNotice);
        return;
    }
    image_ = std::move(image);
    runStep(1);
}

void FirmwareUpdate::runStep(unsigned n)
{
    if (n == 0) {
        chipName_.clear();
        session_.sendRequest(kQueryFirmwareLoader, updateBaud_);
        clock_.sleepMs(kBaudSwitchWaitMs);
        if (updateBaud_ != kKeepBaud)
            line_.setBaudRate(updateBaud_ * 100u);
        return;
    }
    if (n == 1) {
        blockCount_ = static_cast<unsigned>((image_.size() + kBlockBytes - 1) / kBlockBytes);
        events_.progressRange(blockCount_ + 3);
        session_.sendSetting(kQueryFirmwareLoader, std::string(kPrepareBytes, '\0'));
        return;
    }
    if (n == 2) {
        session_.sendBlock(kFirmwareHeaderBlock, static_cast<std::uint16_t>(blockCount_),
                           firmwareHeader(image_));
        return;
    }
    const std::size_t offset = kBlockBytes * (n - 3);
    if (n > blockCount_ + 2 || offset >= image_.size())
        return;
    session_.sendBlock(static_cast<std::uint16_t>(n + kFirmwareHeaderBlock - 2),
                       static_cast<std::uint16_t>(blockCount_),
                       std::string_view(image_).substr(offset, kBlockBytes));
}

// The state is cleared before the message: a message box runs the message
// loop, and the timers keep ticking while it is open.
void FirmwareUpdate::end(bool succeeded, const char* message, const char* caption)
{
    session_.setPending(PendingOperation::Idle);
    watchdog_.ticks = 0;
    step_ = 0;
    blockCount_ = 0;
    line_.restoreBaudRate();
    events_.progressPosition(0);
    events_.showMessage(message, caption);
    events_.operationEnded(PendingOperation::FirmwareUpdate, succeeded);
}

}  // namespace orlo
