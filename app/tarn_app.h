// The application: builds the main window and runs it modally through the
// platform's window host; the process ends when the main window closes.
#pragma once

#include <utility>

#include "app/tarn_dlg.h"
#include "platform/window.h"

namespace orlo {

class CTarnApp {
public:
    // services: what the main window gets (its host is this host when the
    // services name none).
    explicit CTarnApp(WindowHost& host, MainWindowServices services = {})
        : host_(host), services_(std::move(services))
    {
    }

    // Runs the main window to its end and returns its end result (-1 when
    // it could not be created).
    int run();

    WindowHost& host() const { return host_; }

private:
    WindowHost& host_;
    MainWindowServices services_;
};

}  // namespace orlo
