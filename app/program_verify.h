// ProgramVerifier: the main window's "校验". It reads the controller's program
// the way "读取全部" does, but into a program of its own, so the program in
// the window is never touched, and tells the window the outcome as the text
// of the information window: identical, the first differences, or why the
// program could not be read.
//
// It has its own DeviceSession over the main window's send path. While it
// waits, the main window hands it the received bytes (takeByte); it gives up
// as soon as the window's own session starts something else, so it never
// holds bytes another operation waits for. The protocol has no time-outs:
// a controller that never answers leaves it waiting until then.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/device_session.h"
#include "expr/names.h"
#include "model/program.h"
#include "ui/program_diff.h"

namespace orlo {

// The information window's text for a comparison of the window's program
// (-) with the controller's (+); lines end in CR LF.
std::string verifyReportText(const ProgramDifferences& differences);

class ProgramVerifier final : private DeviceEvents {
public:
    using Report = std::function<void(const std::string& text)>;

    // sender is not owned and must outlive the verifier.
    explicit ProgramVerifier(DeviceSender& sender);

    // Asks the controller at address for its program; report gets the
    // outcome (once), compared with the process-wide program and names.
    void start(std::uint8_t address, Report report);
    bool waiting() const { return waiting_; }

    // A received byte: taken (true) while a check waits and the window's own
    // session is idle; otherwise the byte is the session's (false), and a
    // check that waits is given up.
    bool takeByte(std::uint8_t byte, PendingOperation windowPending);

private:
    bool ask(const std::string&, const std::string&) override { return true; }
    void showMessage(const std::string& text, const std::string& caption) override;
    void progressRange(unsigned) override {}
    void progressPosition(unsigned) override {}
    void programLoaded(std::string_view) override {}
    void showHardwareInfo(int, const std::string&) override {}
    void operationEnded(PendingOperation, bool succeeded) override;

    std::unique_ptr<Program> controllerProgram_ = std::make_unique<Program>();
    NameTable controllerNames_;
    DeviceSession session_;
    Report report_;
    std::string messages_;
    bool waiting_ = false;
};

}  // namespace orlo
