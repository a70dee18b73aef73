// The main window's side of the device: the "通信" menu and the "读取" and
// "写入" buttons handed to the device session, what the session and the link
// report (questions, messages, progress, a program read, hardware
// information, the connection button's text), and the communication
// settings dialog with its reconnection (see tarn_dlg.h).
#include "app/tarn_dlg.h"

#include "app/com_dlg.h"
#include "app/hardware_info_dlg.h"
#include "device/settings.h"
#include "res/resource.h"

namespace orlo {

namespace {

constexpr int kOk = 1;  // IDOK
constexpr unsigned kPortEntries = 255;

const char* const kSettingsNotWritten = "设置文件无法写入：";
const char* const kNoticeCaption = "提示";

}  // namespace

// ---- Commands.

void CTarnDlg::connectionCommand()
{
    link_.pressConnectionButton();
}

void CTarnDlg::readAllFromDevice()
{
    // Reading replaces the whole program: unsaved changes are offered for
    // saving first.
    if (!askToSaveChanges())
        return;
    session_.readAll();
}

void CTarnDlg::writeAllToDevice()
{
    session_.writeAll();
}

void CTarnDlg::setDeviceClock()
{
    session_.setClock();
}

void CTarnDlg::readDeviceClock()
{
    session_.readClock();
}

void CTarnDlg::readDeviceAddress()
{
    session_.readAddress();
}

void CTarnDlg::writeDeviceAddress()
{
    session_.writeAddress();
}

void CTarnDlg::readHardwareInfo()
{
    session_.readHardwareInfo();
}

void CTarnDlg::readHardwareInfo2()
{
    session_.readHardwareInfo2();
}

void CTarnDlg::restoreBaudRate()
{
    link_.serialPort().setBaudRate(baudFromIndex(link_.settings().baudIndex));
}

const std::string& CTarnDlg::settingsFile() const
{
    return services_.settingsPath.empty() ? settingsPath() : services_.settingsPath;
}

// ---- The settings dialog.

void CTarnDlg::editSettings()
{
    const CommDialogValues current{link_.settings(), autoOpenPort, autoOpenFile};
    CCom_Dlg dialog(current);
    if (!services_.host || services_.host->runModal(dialog, this) != kOk)
        return;
    const CommDialogValues& chosen = dialog.values();
    if (chosen != current) {
        link_.setSettings(chosen.link);
        autoOpenPort = chosen.autoOpenPort;
        autoOpenFile = chosen.autoOpenFile;
        if (!saveSettings(settingsFile(), chosen.link))
            tell(kSettingsNotWritten + settingsFile(), kNoticeCaption);
    }
    reconnect(chosen.link.useTcp);
}

// The chosen link ends up connected with the values now in effect whenever
// that is possible: a link that is up is closed first and then opened
// again, rather than toggled down. The other link is closed.
void CTarnDlg::reconnect(bool tcp)
{
    ConnectionState state;
    if (tcp) {
        if (link_.serialOpen())
            link_.toggleSerial();
        if (link_.tcpConnected())
            link_.toggleTcp();
        link_.toggleTcp();
        state = link_.tcpConnected() ? ConnectionState::TcpConnected
                                     : ConnectionState::TcpDisconnected;
    } else {
        const unsigned comIndex = link_.settings().comIndex;
        view_->setCurrentIndex(IDC_PORT, comIndex < kPortEntries ? static_cast<int>(comIndex) : -1);
        if (link_.tcpConnected())
            link_.toggleTcp();
        if (link_.serialOpen())
            link_.toggleSerial();
        link_.toggleSerial();
        state = link_.serialOpen() ? ConnectionState::SerialOpen : ConnectionState::SerialClosed;
    }
    // A failed open leaves the button as it was, which may name the other
    // transport; it shows the chosen one's state.
    view_->setText(IDC_CONNECT, connectionText(state));
    tell(connectionText(state), std::string());
}

// ---- What the link reports.

void CTarnDlg::LinkEventsAdapter::connectionTextChanged(const std::string& text)
{
    if (owner_.view_)
        owner_.view_->setText(IDC_CONNECT, text);
}

void CTarnDlg::LinkEventsAdapter::showMessage(const std::string& text)
{
    owner_.tell(text, std::string());
}

// ---- What the device session reports.

bool CTarnDlg::DeviceEventsAdapter::ask(const std::string& text, const std::string& caption)
{
    return shell().messageBox(text, caption.empty() ? kApplicationCaption : caption,
                              Buttons::YesNo, Icon::Question) == Answer::Yes;
}

void CTarnDlg::DeviceEventsAdapter::showMessage(const std::string& text, const std::string& caption)
{
    owner_.tell(text, caption);
}

void CTarnDlg::DeviceEventsAdapter::progressRange(unsigned high)
{
    if (owner_.view_)
        owner_.view_->setProgressRange(IDC_PROGRESS, 0, static_cast<int>(high));
}

void CTarnDlg::DeviceEventsAdapter::progressPosition(unsigned position)
{
    if (owner_.view_)
        owner_.view_->setProgressPos(IDC_PROGRESS, static_cast<int>(position));
}

// A program read from the controller is a change like any other: the
// question about saving comes before the next New, Open or read.
void CTarnDlg::DeviceEventsAdapter::programLoaded(std::string_view)
{
    owner_.currentLine = -1;
    owner_.findPosition = -1;
    owner_.programChanged();
}

void CTarnDlg::DeviceEventsAdapter::showHardwareInfo(int mode, const std::string& text)
{
    if (!owner_.services_.host)
        return;
    Cyingjianxinxi dialog(mode, text);
    owner_.services_.host->runModal(dialog, &owner_);
}

void CTarnDlg::DeviceEventsAdapter::terminalByte(std::uint8_t byte)
{
    if (owner_.terminalByte)
        owner_.terminalByte(byte);
}

void CTarnDlg::DeviceEventsAdapter::toolReply(PendingOperation op, std::string_view frame)
{
    if (op == PendingOperation::FirmwareUpdate) {
        owner_.firmware_.onReply(frame);
        return;
    }
    if (owner_.toolReply)
        owner_.toolReply(op, frame);
}

}  // namespace orlo
