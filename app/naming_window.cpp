// The main window's "重命名": it creates the global naming window on first
// use over the process-wide name table and program, lends it the
// information window for the table's text, and redraws the main list when
// the naming window closes, so lines show their new aliases.
#include "app/hardware_info_dlg.h"
#include "app/tarn_dlg.h"
#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "model/program.h"
#include "res/resource.h"

namespace orlo {

void CTarnDlg::showNamingWindow()
{
    if (!naming_) {
        NamingServices services;
        services.host = services_.host;
        services.editText = [this](std::string& text) {
            if (!services_.host)
                return false;
            Cyingjianxinxi view(Cyingjianxinxi::kRenameMode, text);
            if (services_.host->runModal(view, naming_.get()) != IDC_INFO_OK)
                return false;
            text = view.text();
            return true;
        };
        services.closed = [this] { refreshMainList(); };
        // Aliases are saved with the program: a change of the table is a
        // change of the program, to undo and to save.
        services.changed = [this] { recordChange(); };
        auto window = std::make_unique<Cmming_dlg>(names(), program(), std::move(services));
        if (!services_.host || !services_.host->createModeless(*window, this))
            return;
        naming_ = std::move(window);
    }
    naming_->show();
}

}  // namespace orlo
