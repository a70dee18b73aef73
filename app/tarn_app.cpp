// The application's run (see tarn_app.h).
#include "app/tarn_app.h"

namespace orlo {

int CTarnApp::run()
{
    MainWindowServices services = services_;
    if (!services.host)
        services.host = &host_;
    CTarnDlg mainDialog(std::move(services));
    return host_.runModal(mainDialog, nullptr);
}

}  // namespace orlo
