// The main window's "校验" (see program_verify.h).
#include "app/program_verify.h"

#include "app/hardware_info_dlg.h"
#include "app/tarn_dlg.h"
#include "platform/strings.h"

namespace orlo {

namespace {

constexpr std::size_t kShownDifferences = 20;

const char* const kIdentical = "校验结果：相同\r\n控制器中的程序与当前界面的程序一致。";
const char* const kDifferent = "校验结果：不同，共 %zu 处\r\n- 当前界面    + 控制器\r\n";
const char* const kNamesDiffer = "校验结果：不同，名称表不同\r\n- 当前界面    + 控制器\r\n";
const char* const kReadFailed = "校验失败：未能读取控制器中的程序，未作比较。\r\n";
const char* const kPortClosed = "请先打开串口";
const char* const kNoticeCaption = "提示";

}  // namespace

std::string verifyReportText(const ProgramDifferences& differences)
{
    if (differences.identical())
        return kIdentical;
    std::string text = differences.lines.empty() ? std::string(kNamesDiffer)
                                                 : format(kDifferent, differences.lines.size());
    for (const std::string& line : differenceReport(differences, kShownDifferences))
        text += line + "\r\n";
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
