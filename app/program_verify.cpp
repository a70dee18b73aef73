// The main window's "校验" (see program_verify.h).
#include "app/program_verify.h"

#include "app/hardware_info_dlg.h"
#include "app/tarn_dlg.h"
#include "platform/strings.h"

namespace orlo {

namespace {

constexpr std::size_t kShownDifferences = 20;

const char* const kIdentical = "校验结果：相同\r\n控制器中的程序与当前界面的程序一致。";
const char* const kDifferent = "校验结果：不同，共 %u 处";
const char* const kNamesOnly = "校验结果：不同，名称表不同";
const char* const kChanged = "%s 第%u行：不同";
const char* const kInserted = "%s 第%u行：控制器中多出此行";
const char* const kRemoved = "%s 第%u行：控制器中缺少此行";
const char* const kWindowSide = "  当前界面：";
const char* const kControllerSide = "  控制器：  ";
const char* const kBytes = "  字节 ";
const char* const kNamesDiffer = "名称表不同";
const char* const kMore = "……另有 %u 处";
const char* const kReadFailed = "校验失败：未能读取控制器中的程序，未作比较。\r\n";
const char* const kPortClosed = "请先打开串口";
const char* const kNoticeCaption = "提示";

std::string aliasLine(const std::string& line)
{
    std::string text;
    for (char c : line)
        text += c == '\t' ? std::string(" ") : std::string(1, c);
    return text;
}

}  // namespace

std::string verifyReportText(const ProgramDifferences& differences)
{
    if (differences.identical())
        return kIdentical;
    std::vector<std::string> lines{differences.lines.empty()
                                       ? std::string(kNamesOnly)
                                       : format(kDifferent, static_cast<unsigned>(differences.lines.size()))};
    for (std::size_t i = 0; i < differences.lines.size() && i < kShownDifferences; ++i) {
        const LineDifference& d = differences.lines[i];
        const std::string section = sectionLabel(d.sectionId);
        if (d.kind == LineDifference::Kind::Inserted)
            lines.push_back(format(kInserted, section.c_str(), d.lineB));
        else
            lines.push_back(format(d.kind == LineDifference::Kind::Changed ? kChanged : kRemoved,
                                   section.c_str(), d.lineA));
        if (d.lineA)
            lines.push_back(kWindowSide + d.rowA);
        if (d.lineB)
            lines.push_back(kControllerSide + d.rowB);
        if (!d.bytesA.empty()) {
            lines.push_back(kBytes + std::string(kWindowSide + 2) + d.bytesA);
            lines.push_back(kBytes + std::string(kControllerSide + 2) + d.bytesB);
        }
    }
    if (differences.lines.size() > kShownDifferences)
        lines.push_back(format(kMore, static_cast<unsigned>(differences.lines.size() - kShownDifferences)));
    if (differences.namesDiffer) {
        lines.push_back(kNamesDiffer);
        for (const std::string& l : differences.namesOnlyA)
            lines.push_back(kWindowSide + aliasLine(l));
        for (const std::string& l : differences.namesOnlyB)
            lines.push_back(kControllerSide + aliasLine(l));
    }
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    return text;
}

ProgramVerifier::ProgramVerifier(DeviceSender& sender)
    : session_(sender, *this, SessionServices{controllerProgram_.get(), &controllerNames_, {}})
{
}

void ProgramVerifier::start(std::uint8_t address, Report report)
{
    report_ = std::move(report);
    messages_.clear();
    waiting_ = true;
    session_.setDeviceAddress(address);
    session_.readAll();
}

bool ProgramVerifier::takeByte(std::uint8_t byte, PendingOperation windowPending)
{
    if (!waiting_)
        return false;
    if (windowPending != PendingOperation::Idle) {
        waiting_ = false;
        session_.setPending(PendingOperation::Idle);
        return false;
    }
    session_.onByte(byte);
    return true;
}

void ProgramVerifier::showMessage(const std::string& text, const std::string&)
{
    messages_ += text + "\r\n";
}

void ProgramVerifier::operationEnded(PendingOperation, bool succeeded)
{
    waiting_ = false;
    if (!report_)
        return;
    if (!succeeded) {
        report_(kReadFailed + messages_);
        return;
    }
    report_(verifyReportText(diffPrograms(program(), names(), *controllerProgram_, controllerNames_)));
}

// ---- The main window's command.

void CTarnDlg::verifyWithDevice()
{
    if (sender_.serialPortClosed()) {
        tell(kPortClosed, kNoticeCaption);
        return;
    }
    // Like any new operation, the check replaces one that still waits.
    session_.setPending(PendingOperation::Idle);
    verifier_.start(session_.deviceAddress(), [this](const std::string& text) {
        if (!services_.host)
            return;
        Cyingjianxinxi dialog(0, text);
        services_.host->runModal(dialog, this);
    });
}

}  // namespace orlo
