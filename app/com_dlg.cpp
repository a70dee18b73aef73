// The communication settings dialog (see com_dlg.h).
#include "app/com_dlg.h"

#include "device/link.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "res/resource.h"

namespace orlo {

const char* const kBadTcpPortText = "端口必须是0到65535之间的整数！";

namespace {

constexpr unsigned kPortCount = 255;  // COM1 to COM255
constexpr int kOk = 1;            // IDOK

// The controls a transport choice switches on; the other choice's go off.
const int serialControls[] = {IDC_COMM_PORT, IDC_COMM_BAUD};
const int tcpControls[] = {IDC_COMM_ADDRESS, IDC_COMM_TCP_PORT};

struct Flag {
    int id;
    bool CommDialogValues::*field;
};
const Flag flags[] = {
    {IDC_COMM_AUTO_PORT, &CommDialogValues::autoOpenPort},
    {IDC_COMM_AUTO_FILE, &CommDialogValues::autoOpenFile},
};

}  // namespace

int CCom_Dlg::templateId() const
{
    return IDD_COMM_SETTINGS;
}

void CCom_Dlg::onInit()
{
    const LinkSettings& link = values_.link;
    view_->clearItems(IDC_COMM_PORT);
    for (unsigned n = 1; n <= kPortCount; ++n)
        view_->addItem(IDC_COMM_PORT, format("COM%d", static_cast<int>(n)));
    view_->clearItems(IDC_COMM_BAUD);
    for (unsigned rate : kBaudRates)
        view_->addItem(IDC_COMM_BAUD, format("%u", rate));
    // An index beyond a list selects nothing.
    view_->setCurrentIndex(IDC_COMM_PORT, link.comIndex < kPortCount ? static_cast<int>(link.comIndex) : -1);
    view_->setCurrentIndex(IDC_COMM_BAUD,
                           link.baudIndex < kBaudRateCount ? static_cast<int>(link.baudIndex) : -1);

    view_->setCheckState(IDC_COMM_SERIAL, link.useTcp ? 0 : 1);
    view_->setCheckState(IDC_COMM_TCP, link.useTcp ? 1 : 0);
    view_->setText(IDC_COMM_ADDRESS, link.serverAddress);
    view_->setText(IDC_COMM_TCP_PORT, format("%u", static_cast<unsigned>(link.serverPort)));
    for (const Flag& f : flags)
        view_->setCheckState(f.id, values_.*f.field ? 1 : 0);
}

void CCom_Dlg::onCommand(int id, Notify code)
{
    if (code != Notify::Clicked)
        return;
    switch (id) {
    case IDC_COMM_SERIAL:
        enableFor(false);
        break;
    case IDC_COMM_TCP:
        enableFor(true);
        break;
    case kOk:
        if (takeValues())
            view_->endDialog(kOk);
        break;
    default:
        break;
    }
}

void CCom_Dlg::enableFor(bool tcp)
{
    for (int id : serialControls)
        view_->enableControl(id, !tcp);
    for (int id : tcpControls)
        view_->enableControl(id, tcp);
}

bool CCom_Dlg::takeValues()
{
    std::string port;
    if (!storedSettingText(*findSettingKey("socket_port"), trim(view_->text(IDC_COMM_TCP_PORT)), port)) {
        shell().messageBox(kBadTcpPortText, "提示", Buttons::Ok, Icon::Warning);
        view_->setFocus(IDC_COMM_TCP_PORT);
        return false;
    }
    CommDialogValues v = values_;
    v.link.useTcp = view_->checkState(IDC_COMM_TCP) == 1;
    const int portIndex = view_->currentIndex(IDC_COMM_PORT);
    if (portIndex >= 0)
        v.link.comIndex = static_cast<unsigned>(portIndex);
    const int baudIndex = view_->currentIndex(IDC_COMM_BAUD);
    if (baudIndex >= 0)
        v.link.baudIndex = static_cast<unsigned>(baudIndex);
    v.link.serverAddress = addressText(view_->text(IDC_COMM_ADDRESS));
    v.link.serverPort = static_cast<std::uint16_t>(std::stoul(port));
    for (const Flag& f : flags)
        v.*f.field = view_->checkState(f.id) == 1;
    values_ = v;
    return true;
}

}  // namespace orlo
