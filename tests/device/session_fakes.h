// Test doubles for DeviceSession: a sender that records every frame, events
// that record what the user would see, and programs of an exact image size.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "device/device_session.h"
#include "model/image.h"
#include "model/program.h"

namespace orlo::test {

class RecordingDeviceSender final : public DeviceSender {
public:
    std::vector<std::string> sent;
    bool portClosed = false;

    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        sent.emplace_back(reinterpret_cast<const char*>(bytes), count);
    }
    bool serialPortClosed() const override { return portClosed; }
};

struct Shown {
    std::string text, caption;
    bool operator==(const Shown& o) const { return text == o.text && caption == o.caption; }
};

class RecordingDeviceEvents final : public DeviceEvents, public RemoteCodeListener {
public:
    std::deque<bool> answers;  // empty: Yes
    std::vector<Shown> questions, messages;
    std::vector<unsigned> ranges, positions;
    std::vector<std::string> loaded;
    std::vector<std::pair<int, std::string>> infos;
    std::vector<std::pair<PendingOperation, bool>> ended;
    std::string terminal;
    std::vector<std::pair<PendingOperation, std::string>> toolReplies;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> codes;
    std::vector<std::string> universalCodes;
    std::vector<std::string> unexpected;

    bool ask(const std::string& text, const std::string& caption) override
    {
        questions.push_back({text, caption});
        if (answers.empty())
            return true;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back({text, caption});
    }
    void progressRange(unsigned high) override { ranges.push_back(high); }
    void progressPosition(unsigned position) override { positions.push_back(position); }
    void programLoaded(std::string_view image) override { loaded.emplace_back(image); }
    void showHardwareInfo(int mode, const std::string& text) override
    {
        infos.emplace_back(mode, text);
    }
    void operationEnded(PendingOperation op, bool succeeded) override
    {
        ended.emplace_back(op, succeeded);
    }
    void unexpectedReply(PendingOperation, std::string_view frame) override
    {
        unexpected.emplace_back(frame);
    }
    void terminalByte(std::uint8_t b) override { terminal += static_cast<char>(b); }
    void toolReply(PendingOperation op, std::string_view frame) override
    {
        toolReplies.emplace_back(op, std::string(frame));
    }
    void remoteCode(std::uint32_t parameter, std::uint32_t code) override
    {
        codes.emplace_back(parameter, code);
    }
    void universalInfraredCode(const RemoteCodeBuffer& code) override
    {
        universalCodes.emplace_back(reinterpret_cast<const char*>(code.bytes.data()), code.length);
    }
};

// A result line of kind 1 (encoded length 9) with a remark of remarkBytes.
inline ProgramLine resultLine(unsigned remarkBytes, char fill = 'r')
{
    ProgramLine line;
    line.isResult = 1;
    const std::uint8_t instruction[] = {1, 1, 1, 0, 0, 0, 1};
    for (std::size_t i = 0; i < sizeof instruction; ++i)
        line.instruction[i] = instruction[i];
    line.remark.assign(remarkBytes, fill);
    return line;
}

// Fills the main program so that its image is exactly imageBytes long
// (at least 31: the header, one block header and one line).
inline void fillToImageSize(Program& program, std::size_t imageBytes, char fill = 'r')
{
    program.clearSections();
    std::size_t left = imageBytes - kImageHeaderBytes - kBlockHeaderBytes;
    while (left > 0) {
        // Lines are 9 to 72 bytes; never leave fewer than 9 for the last one.
        std::size_t take = left <= 72 ? left : (left - 72 >= 9 ? 72 : left - 9);
        program.main.lines.push_back(resultLine(static_cast<unsigned>(take - 9), fill));
        left -= take;
    }
}

}  // namespace orlo::test
