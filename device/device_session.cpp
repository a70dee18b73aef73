// The device operations and the reply handler (see device_session.h).
#include "device/device_session.h"

#include <algorithm>
#include <ctime>

#include "device/controller_time.h"
#include "device/format_text.h"
#include "device/hardware_info.h"
#include "expr/byte_io.h"
#include "expr/names.h"
#include "model/image.h"
#include "model/program.h"

namespace orlo {

namespace {

const char* const kCaptionNotice = "提示";
const char* const kCaptionAttention = "注意";
const char* const kCaptionAddressRead = "读取成功";
const char* const kCaptionTarget = "警告 目标地址%u";
const char* const kDefaultCaption = "";

const char* const kOpenPortFirst = "请先打开串口";
const char* const kConfirmWrite = "继续进行将会擦除目标板信息并以当前界面的信息取代，继续吗？";
const char* const kConfirmRead = "继续进行将会擦除当前界面的信息并以目标板信息取代，继续吗？";
const char* const kImageTooLarge = "程序过大（%u字节），无法写入！程序映像必须小于200000字节。";
const char* const kAllWritten = "全部数据已写入！";
const char* const kReadDataError = "数据出错";
const char* const kAllRead = "全部数据已读取完毕！";
const char* const kImageWrong = "数据有误！";
const char* const kModuleAddress = "目标模块地址为 %u";
const char* const kUniversalCodeLearned = "接收到万能红外遥控信号";

struct Route {
    PendingOperation op;
    ByteRoute route;
};

// Every value not listed assembles CRC frames.
const Route kRoutes[] = {
    {PendingOperation::Idle, ByteRoute::Terminal},
    {PendingOperation::DebugTerminal, ByteRoute::Terminal},
    {PendingOperation::ReadAddress, ByteRoute::SumFrames},
    {PendingOperation::RelayTest, ByteRoute::SumFrames},
};

struct RemoteRequest {
    RemoteKind kind;
    PendingOperation op;
    std::uint16_t query;
    const char* message;  // radio and infrared: parameter and code follow
};

const RemoteRequest kRemoteRequests[] = {
    {RemoteKind::Radio, PendingOperation::LearnRadioRemote, kQueryRadioRemote,
     "接收到无线遥控信号，遥控参数:%u 遥控码:%u"},
    {RemoteKind::Infrared, PendingOperation::LearnInfraredRemote, kQueryInfraredRemote,
     "接收到红外遥控信号，遥控参数:%u 遥控码:%u"},
    {RemoteKind::UniversalInfrared, PendingOperation::LearnUniversalInfrared,
     kQueryUniversalInfrared, kUniversalCodeLearned},
};

const RemoteRequest* remoteRequest(PendingOperation op)
{
    for (const RemoteRequest& r : kRemoteRequests)
        if (r.op == op)
            return &r;
    return nullptr;
}

std::string_view bytesView(const std::vector<std::uint8_t>& buffer, std::size_t n)
{
    return std::string_view(reinterpret_cast<const char*>(buffer.data()),
                            std::min(n, buffer.size()));
}

std::uint64_t systemUtcSeconds()
{
    const std::time_t now = std::time(nullptr);
    return now < 0 ? 0 : static_cast<std::uint64_t>(now);
}

}  // namespace

ByteRoute byteRoute(PendingOperation op)
{
    for (const Route& r : kRoutes)
        if (r.op == op)
            return r.route;
    return ByteRoute::CrcFrames;
}

DeviceSession::DeviceSession(DeviceSender& sender, DeviceEvents& events, SessionServices services)
    : sender_(sender), events_(events), services_(std::move(services)),
      imageBuffer_(kImageBufferBytes, 0)
{
    if (!services_.utcSeconds)
        services_.utcSeconds = systemUtcSeconds;
}

Program& DeviceSession::program()
{
    return services_.program ? *services_.program : orlo::program();
}

NameTable& DeviceSession::names()
{
    return services_.names ? *services_.names : orlo::names();
}

// ---- Requests.

void DeviceSession::send(const std::string& frame)
{
    receive_.requestSent();
    sender_.sendToDevice(reinterpret_cast<const std::uint8_t*>(frame.data()), frame.size());
}

void DeviceSession::sendReadBlock(std::uint16_t p)
{
    send(readBlockFrame(deviceAddress_, p));
}

void DeviceSession::sendRequest(std::uint16_t a, std::uint16_t b)
{
    send(requestFrame(deviceAddress_, a, b));
}

void DeviceSession::sendBlock(std::uint16_t a, std::uint16_t b, std::string_view data)
{
    send(blockFrame(deviceAddress_, a, b, data));
}

void DeviceSession::sendSetting(std::uint16_t a, std::string_view data)
{
    send(settingFrame(deviceAddress_, a, data));
}

void DeviceSession::sendAddressFrame(std::uint8_t target, std::uint8_t function,
                                     std::uint32_t value)
{
    send(addressFrame(target, function, value));
}

// ---- Receiving.

void DeviceSession::onByte(std::uint8_t byte)
{
    // The frame is copied out of the receive buffer: a message box shown
    // while handling it may run the message loop and deliver further bytes.
    switch (byteRoute(pending_)) {
    case ByteRoute::Terminal:
        events_.terminalByte(byte);
        return;
    case ByteRoute::SumFrames:
        if (sumFrameParser_.feed(byte))
            handleResponse(std::string(sumFrameParser_.frame()));
        return;
    case ByteRoute::CrcFrames:
        if (frameParser_.feed(byte, deviceAddress_))
            handleResponse(std::string(frameParser_.frame()));
        return;
    }
}

void DeviceSession::handleResponse(std::string_view frame)
{
    ++repliesHandled_;
    const ReplyFrame r(frame);
    const PendingOperation op = pending_;
    if (op != PendingOperation::ReadAll && op != PendingOperation::WriteAll)
        ++progress_;  // transfers count only the awaited replies
    switch (op) {
    case PendingOperation::ReadAll:
        onReadReply(r);
        return;
    case PendingOperation::WriteAll:
        onWriteReply(r);
        return;
    case PendingOperation::ReadClock:
        if (r.data().size() < 4) {
            refuseReply(op, r);
            return;
        }
        pending_ = PendingOperation::Idle;
        events_.showMessage(moduleTimeText(r.dataU32(0)), kDefaultCaption);
        finish(op, true);
        return;
    case PendingOperation::LearnRadioRemote:
    case PendingOperation::LearnInfraredRemote:
    case PendingOperation::LearnUniversalInfrared:
        onLearnedCode(op, r);
        return;
    case PendingOperation::ReadAddress:
        pending_ = PendingOperation::Idle;
        events_.showMessage(formatText(kModuleAddress, static_cast<unsigned>(r.byteAt(1))),
                            kCaptionAddressRead);
        finish(op, true);
        return;
    case PendingOperation::HardwareInfo1:
    case PendingOperation::HardwareInfo2: {
        const int mode =
            op == PendingOperation::HardwareInfo1 ? kHardwareInfoMode1 : kHardwareInfoMode3;
        const std::string text = hardwareInfoText(mode, frame);
        if (text.empty() || r.data().empty()) {  // nothing to show, or a table of zeros
            refuseReply(op, r);
            return;
        }
        pending_ = PendingOperation::Idle;
        events_.showHardwareInfo(mode, text);
        finish(op, true);
        return;
    }
    case PendingOperation::RelayTest:
    case PendingOperation::FirmwareUpdate:
        events_.toolReply(op, frame);
        return;
    case PendingOperation::WizardSend:
        pending_ = PendingOperation::Idle;
        return;
    case PendingOperation::Idle:
    case PendingOperation::DebugTerminal:
        return;
    }
}

void DeviceSession::refuseReply(PendingOperation op, const ReplyFrame& r)
{
    pending_ = PendingOperation::Idle;
    events_.unexpectedReply(op, r.bytes());
    finish(op, false);
}

void DeviceSession::finish(PendingOperation op, bool succeeded)
{
    events_.operationEnded(op, succeeded);
}

void DeviceSession::endTransfer()
{
    blockCount_ = 0;
    blockIndex_ = 0;
    readReplies_ = 0;
}

// ---- Writing the whole program.

void DeviceSession::writeAll()
{
    const std::string caption = formatText(kCaptionTarget, static_cast<unsigned>(deviceAddress_));
    if (sender_.serialPortClosed()) {
        events_.showMessage(kOpenPortFirst, kCaptionNotice);
        finish(PendingOperation::WriteAll, false);
        return;
    }
    // Refused before the question: the controller could not take it anyway.
    std::string image = buildImage(program(), names());
    if (image.size() >= kMaxImageBytes) {
        pending_ = PendingOperation::Idle;
        endTransfer();
        events_.showMessage(formatText(kImageTooLarge, static_cast<unsigned>(image.size())),
                            kCaptionNotice);
        finish(PendingOperation::WriteAll, false);
        return;
    }
    if (!events_.ask(kConfirmWrite, caption)) {
        finish(PendingOperation::WriteAll, false);
        return;
    }
    blockIndex_ = 0;
    pending_ = PendingOperation::WriteAll;
    std::copy(image.begin(), image.end(), imageBuffer_.begin());
    imageLength_ = image.size();
    blockCount_ = static_cast<unsigned>((imageLength_ + kBlockBytes - 1) / kBlockBytes);
    events_.progressRange(blockCount_);
    sendWriteBlock(blockIndex_);
}

void DeviceSession::sendWriteBlock(unsigned index)
{
    if (blockCount_ == 0 || index >= blockCount_ || pending_ != PendingOperation::WriteAll)
        return;
    const std::size_t offset = kBlockBytes * index;
    if (imageLength_ > imageBuffer_.size() || offset >= imageLength_) {
        pending_ = PendingOperation::Idle;
        endTransfer();
        finish(PendingOperation::WriteAll, false);
        return;
    }
    // The last block may end exactly at the end of imageBuffer: an image of
    // 199951 to 199999 bytes still goes out whole.
    const std::size_t n = std::min(kBlockBytes, imageLength_ - offset);
    sendBlock(static_cast<std::uint16_t>(index), static_cast<std::uint16_t>(blockCount_),
              bytesView(imageBuffer_, offset + n).substr(offset));
}

void DeviceSession::onWriteReply(const ReplyFrame& r)
{
    if (r.command() != kDataBlockCommand || r.fieldA() != blockIndex_ ||
        r.fieldB() != blockCount_)
        return;  // not the acknowledgement of the block just sent
    ++progress_;
    ++blockIndex_;
    events_.progressPosition(blockIndex_);
    if (blockIndex_ < blockCount_) {
        sendWriteBlock(blockIndex_);
        return;
    }
    pending_ = PendingOperation::Idle;
    endTransfer();
    events_.showMessage(kAllWritten, kCaptionNotice);
    events_.progressPosition(0);
    finish(PendingOperation::WriteAll, true);
}

// ---- Reading the whole program.

void DeviceSession::readAll()
{
    const std::string caption = formatText(kCaptionTarget, static_cast<unsigned>(deviceAddress_));
    if (!events_.ask(kConfirmRead, caption)) {
        finish(PendingOperation::ReadAll, false);
        return;
    }
    // The program in memory stays as it is until a whole image has arrived
    // and passed its check; a stale image left in the buffer by an earlier
    // transfer must not fill the gaps of this one.
    std::fill(imageBuffer_.begin(), imageBuffer_.end(), 0);
    imageLength_ = 0;
    endTransfer();
    pending_ = PendingOperation::ReadAll;
    sendReadBlock(kReadFirstBlock);
}

void DeviceSession::onReadReply(const ReplyFrame& r)
{
    const std::string_view data = r.data();
    // No image needs more than kMaxImageBytes / kBlockBytes blocks: a
    // controller that keeps answering past that never reaches the end.
    if (data.size() <= 4 || ++readReplies_ > kMaxImageBytes / kBlockBytes) {
        pending_ = PendingOperation::Idle;
        endTransfer();
        events_.progressPosition(0);
        events_.showMessage(kReadDataError, kCaptionNotice);
        finish(PendingOperation::ReadAll, false);
        return;
    }
    const unsigned index = r.dataU16(0);
    const unsigned total = r.dataU16(2);
    if (readReplies_ == 1 || index > blockIndex_)
        ++progress_;  // a block again, or one before it, moves nothing on
    blockIndex_ = index;
    blockCount_ = total;
    events_.progressRange(total);
    events_.progressPosition(index);

    const std::string_view block = data.substr(4);
    const std::size_t offset = kBlockBytes * index;
    if (offset + block.size() <= imageBuffer_.size()) {
        std::copy(block.begin(), block.end(), imageBuffer_.begin() + static_cast<std::ptrdiff_t>(offset));
        imageLength_ = std::max(imageLength_, offset + block.size());
    }

    if (index + 1 != total && total != 0) {
        // The controller keeps its own position; the host asks for the next.
        sendReadBlock(kReadNextBlock);
        return;
    }
    finishRead();
}

void DeviceSession::finishRead()
{
    pending_ = PendingOperation::Idle;
    endTransfer();
    events_.progressPosition(0);
    // Only the bytes that arrived count: checkImage refuses an image whose
    // total length reaches past them.
    const std::string_view received = bytesView(imageBuffer_, imageLength_);
    if (!checkImage(received)) {
        events_.showMessage(kImageWrong, kCaptionNotice);
        finish(PendingOperation::ReadAll, false);
        return;
    }
    ByteReader header(received.substr(2, 4));
    const std::string_view image = received.substr(0, header.u32be());
    parseImage(program(), names(), image);
    events_.programLoaded(image);
    events_.showMessage(kAllRead, kCaptionNotice);
    finish(PendingOperation::ReadAll, true);
}

// ---- Clock, address, hardware information.

void DeviceSession::setClock()
{
    // No answer comes to a setting: with the port closed the time shown
    // would look set when nothing went out.
    if (sender_.serialPortClosed()) {
        events_.showMessage(kOpenPortFirst, kCaptionNotice);
        return;
    }
    const std::uint32_t t = controllerSeconds(services_.utcSeconds());
    ByteWriter w;
    w.u32be(t);
    sendSetting(kSettingClock, w.data());
    events_.showMessage(moduleTimeText(t), kDefaultCaption);
}

void DeviceSession::readClock()
{
    pending_ = PendingOperation::ReadClock;
    sendRequest(kQueryClock, 0);
}

void DeviceSession::readAddress()
{
    pending_ = PendingOperation::ReadAddress;
    sendAddressFrame(kBroadcastTarget, kReadAddressFunction, 0);
}

void DeviceSession::writeAddress()
{
    if (sender_.serialPortClosed()) {
        events_.showMessage(kOpenPortFirst, kCaptionNotice);
        return;
    }
    sendAddressFrame(kBroadcastTarget, kWriteAddressFunction, deviceAddress_);
}

void DeviceSession::readHardwareInfo()
{
    pending_ = PendingOperation::HardwareInfo1;
    sendRequest(kQueryHardwareInfo, 0);
}

void DeviceSession::readHardwareInfo2()
{
    pending_ = PendingOperation::HardwareInfo2;
    sendRequest(kQueryHardwareInfo2, 0);
}

// ---- Remote codes.

void DeviceSession::learnRemote(RemoteKind kind, RemoteCodeListener* target)
{
    for (const RemoteRequest& r : kRemoteRequests) {
        if (r.kind != kind)
            continue;
        remoteLearnTarget_ = target;
        pending_ = r.op;
        sendRequest(r.query, 0);
        return;
    }
}

void DeviceSession::forgetRemoteLearnTarget(const RemoteCodeListener* target)
{
    if (remoteLearnTarget_ == target)
        remoteLearnTarget_ = nullptr;
}

void DeviceSession::onLearnedCode(PendingOperation op, const ReplyFrame& r)
{
    pending_ = PendingOperation::Idle;
    const RemoteRequest* request = remoteRequest(op);
    if (op != PendingOperation::LearnUniversalInfrared) {
        if (r.data().size() < 8) {
            refuseReply(op, r);
            return;
        }
        const std::uint32_t parameter = r.dataU32(0);
        const std::uint32_t code = r.dataU32(4);
        events_.showMessage(formatText(request->message, parameter, code), kCaptionAttention);
        if (remoteLearnTarget_)
            remoteLearnTarget_->remoteCode(parameter, code);
        finish(op, true);
        return;
    }
    if (r.command() != kQueryCommand || r.data().empty()) {
        refuseReply(op, r);
        return;
    }
    const std::string_view code = r.data();
    remoteCodeBuffer_.length = static_cast<std::uint8_t>(code.size());
    std::copy(code.begin(), code.end(), remoteCodeBuffer_.bytes.begin());
    events_.showMessage(std::string(request->message) + hexBytes(code), kCaptionAttention);
    if (remoteLearnTarget_)
        remoteLearnTarget_->universalInfraredCode(remoteCodeBuffer_);
    finish(op, true);
}

}  // namespace orlo
