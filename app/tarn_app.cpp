// The application's run (see tarn_app.h).
#include "app/tarn_app.h"

#include "app/tarn_dlg.h"

namespace orlo {

int CTarnApp::run()
{
    CTarnDlg mainDialog;
    return host_.runModal(mainDialog, nullptr);
}

}  // namespace orlo
