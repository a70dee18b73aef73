// The main window's relay tools and about box: the "工具" menu's command
// wizard, debug terminal and relay test panel, the received bytes and replies
// they take, and the system menu's about box (see tarn_dlg.h).
#include "app/about_dlg.h"
#include "app/tarn_dlg.h"

namespace orlo {

void CTarnDlg::routeToolBytes()
{
    // Bytes nobody assembles go to the terminal once it exists; the sum
    // replies of RelayTest to the panel.
    terminalByte = [this](std::uint8_t byte) {
        if (terminal_)
            terminal_->receiveByte(byte);
    };
    toolReply = [this](PendingOperation op, std::string_view frame) {
        if (op == PendingOperation::RelayTest && relayPanel_)
            relayPanel_->onReply(frame);
    };
}

void CTarnDlg::createRelayTestPanel()
{
    if (relayPanel_ || !services_.host)
        return;
    relayPanel_ = std::make_unique<C_test_tool_dlg>(toolLink_);
    if (!services_.host->createModeless(*relayPanel_, this))
        relayPanel_.reset();
}

void CTarnDlg::openCommandWizard()
{
    if (!services_.host)
        return;
    Czhilingshengchengqi wizard(toolLink_);
    services_.host->runModal(wizard, this);
}

void CTarnDlg::openDebugTerminal()
{
    if (!terminal_) {
        if (!services_.host)
            return;
        auto terminal = std::make_unique<Ctiaoshi_helper_dlg>(toolLink_);
        if (!services_.host->createModeless(*terminal, this))
            return;
        terminal_ = std::move(terminal);
    }
    terminal_->open();
}

void CTarnDlg::showRelayTestPanel()
{
    if (relayPanel_)
        relayPanel_->show();
}

void CTarnDlg::showAbout()
{
    if (!services_.host)
        return;
    CAboutDlg about;
    services_.host->runModal(about, this);
}

}  // namespace orlo
