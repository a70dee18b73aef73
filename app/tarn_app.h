// The application: builds the main window and runs it modally through the
// platform's window host; the process ends when the main window closes.
#pragma once

#include "platform/window.h"

namespace orlo {

class CTarnApp {
public:
    explicit CTarnApp(WindowHost& host) : host_(host) {}

    // Runs the main window to its end and returns its end result (-1 when
    // it could not be created).
    int run();

    WindowHost& host() const { return host_; }

private:
    WindowHost& host_;
};

}  // namespace orlo
