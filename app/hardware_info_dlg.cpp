// The information window (see hardware_info_dlg.h).
#include "app/hardware_info_dlg.h"

#include "res/resource.h"

namespace orlo {

const std::vector<Placement>& Cyingjianxinxi::layoutTable()
{
    static const std::vector<Placement> table = {
        {IDC_INFO_TEXT, 0, 0, 0, -40, true, false, true},
        {IDC_INFO_OK, 0, -40, 100, 40, false, true, false},
        {IDC_INFO_CANCEL, 200, -40, 100, 40, false, true, false},
    };
    return table;
}

int Cyingjianxinxi::templateId() const
{
    return IDD_INFO;
}

void Cyingjianxinxi::onInit()
{
    if (mode_ == kRenameMode) {
        view_->setTitle("重命名");
        view_->setReadOnly(IDC_INFO_TEXT, false);
    }
    view_->setText(IDC_INFO_TEXT, text_);
    // On the button, not in the text: the dialog manager would select the
    // whole text of a focused edit box.
    view_->setFocus(IDC_INFO_OK);
    layout(view_->clientSize());
}

void Cyingjianxinxi::onSize(int width, int height)
{
    layout(Size{width, height});
}

void Cyingjianxinxi::onCommand(int id, Notify code)
{
    // Both buttons close the window; only mode 2 keeps the edited text.
    if (code != Notify::Clicked || (id != IDC_INFO_OK && id != IDC_INFO_CANCEL))
        return;
    if (id == IDC_INFO_OK && mode_ == kRenameMode)
        text_ = view_->text(IDC_INFO_TEXT);
    view_->endDialog(id);
}

void Cyingjianxinxi::layout(Size client)
{
    if (!view_)
        return;
    for (const Placement& p : layoutTable())
        view_->moveControl(p.id, placementRect(p, client));
}

}  // namespace orlo
