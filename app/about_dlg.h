// The about box CAboutDlg (dialog 100), opened from the main window's system
// menu (and Orlo.exe's "帮助" menu): the product's name and version and the
// firmware version it matches, worded as in the main window's title, then the
// release version, the commit it was built from and the build date. "确定" or
// the close box ends it.
#pragma once

#include <string>

#include "platform/window.h"

namespace orlo {

class CAboutDlg : public Window {
public:
    // "Orlo V1.326" and "固件0.129".
    static std::string productText();
    static std::string firmwareText();
    // "发行版本 1.326.0 (d262809a1b2c)".
    static std::string releaseText();
    // "构建日期 2026-12-09".
    static std::string buildDateText();
    // The system menu's entry that opens it, "关于 Orlo(&A)...".
    static std::string systemMenuText();

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;
};

}  // namespace orlo
