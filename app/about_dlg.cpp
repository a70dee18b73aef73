// The about box (see about_dlg.h).
#include "app/about_dlg.h"

#include "app/product.h"
#include "platform/strings.h"
#include "res/resource.h"

namespace orlo {

namespace {
constexpr int kOk = 1;  // IDOK
}

std::string CAboutDlg::productText()
{
    return format("%s V%s", kProductName, kProductVersion);
}

std::string CAboutDlg::firmwareText()
{
    return format("固件%s", kFirmwareVersion);
}

std::string CAboutDlg::releaseText()
{
    return format("发行版本 %s (%s)", releaseVersion(), buildCommit());
}

std::string CAboutDlg::buildDateText()
{
    return "构建日期 " + buildDate();
}

std::string CAboutDlg::systemMenuText()
{
    return format("关于 %s(&A)...", kProductName);
}

int CAboutDlg::templateId() const
{
    return IDD_ABOUTBOX;
}

void CAboutDlg::onInit()
{
    view_->setTitle(format("关于 %s", kProductName));
    view_->setText(IDC_ABOUT_PRODUCT, productText());
    view_->setText(IDC_ABOUT_FIRMWARE, firmwareText());
    view_->setText(IDC_ABOUT_RELEASE, releaseText());
    view_->setText(IDC_ABOUT_BUILD_DATE, buildDateText());
}

void CAboutDlg::onCommand(int id, Notify code)
{
    if (id == kOk && code == Notify::Clicked)
        view_->endDialog(kOk);
}

}  // namespace orlo
