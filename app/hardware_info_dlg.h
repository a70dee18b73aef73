// The information window Cyingjianxinxi (dialog 141, "信息"): a read-only
// text filling the window above two buttons that both close it. Modes 1 and 3
// show the controller's hardware information, built from its reply by the
// device session; the window itself only shows the text it is given. Mode 2
// ("重命名") shows the name table as text for editing and keeps what the
// user left in it when "确定" closes the window.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/layout.h"
#include "platform/window.h"

namespace orlo {

class Cyingjianxinxi : public Window {
public:
    // text: the whole text, lines ended by CR LF.
    Cyingjianxinxi(int mode, std::string text) : mode_(mode), text_(std::move(text)) {}

    // The edit box fills the client area but for the bottom 40 pixels, where
    // the two buttons sit at x = 0 and x = 200, 100 × 40 each.
    static const std::vector<Placement>& layoutTable();

    int templateId() const override;
    void onInit() override;
    void onSize(int width, int height) override;
    void onCommand(int id, Notify code) override;

    static constexpr int kRenameMode = 2;

    int mode() const { return mode_; }
    // The text shown; in mode 2, after "确定", the text as the user left it.
    const std::string& text() const { return text_; }

private:
    void layout(Size client);

    int mode_;
    std::string text_;
};

}  // namespace orlo
