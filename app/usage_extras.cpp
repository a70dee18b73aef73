// Orlo.exe's usage extras on the main window: the "帮助" menu (the help
// window on the condition and result kinds, F1, the about box), the commands
// that insert a new line before or after the selection, the import at the
// selected line, and the "没有找到！" notice of the searches (see tarn_dlg.h).
#include "app/tarn_dlg.h"

#include "res/resource.h"

namespace orlo {

void CTarnDlg::installUsageExtras()
{
    editing_.enableUsageExtras();
    const struct {
        int id;
        std::function<void()> action;
    } commands[] = {
        {ID_EDIT_INSERT_BEFORE, [this] { editing_.insertMainLine(true); }},
        {ID_EDIT_INSERT_AFTER, [this] { editing_.insertMainLine(false); }},
        {ID_FILE_IMPORT_AT_SELECTION, [this] { importAtSelection(); }},
        {ID_HELP_KINDS, [this] { editing_.showKindHelp(); }},
        {ID_HELP_ABOUT, [this] { showAbout(); }},
    };
    for (const auto& c : commands) {
        setCommandHandler(c.id, [action = c.action](Notify n) {
            if (n == Notify::Clicked)
                action();
        });
    }
    keyCommands_.push_back({KeyF1, ID_HELP_KINDS});
}

}  // namespace orlo
