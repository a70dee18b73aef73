// The communication settings dialog CCom_Dlg (dialog 135): serial port or
// TCP, the port and baud rate, the network bridge's address and port, and two
// "自动打开" flags that last for the run. It only edits values; the main
// window's editSettings stores them and reconnects.
#pragma once

#include "device/settings.h"
#include "platform/window.h"

namespace orlo {

// Everything the dialog edits.
struct CommDialogValues {
    LinkSettings link;
    bool autoOpenPort = false;  // "自动打开串口", not stored
    bool autoOpenFile = false;  // "自动打开文件", not stored

    bool operator==(const CommDialogValues& o) const
    {
        return link == o.link && autoOpenPort == o.autoOpenPort && autoOpenFile == o.autoOpenFile;
    }
    bool operator!=(const CommDialogValues& o) const { return !(*this == o); }
};

// Shown when the port box does not hold a TCP port number; the dialog stays open.
extern const char* const kBadTcpPortText;

class CCom_Dlg : public Window {
public:
    explicit CCom_Dlg(const CommDialogValues& values) : values_(values) {}

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;

    // The values it was opened with; once it has ended with "确定" (IDOK),
    // the confirmed ones. A list without a selection keeps the value it was
    // opened with (a baud index the list does not show stays as it was), and
    // an empty address reads as the default one.
    const CommDialogValues& values() const { return values_; }

private:
    // Serial chosen: the port and baud lists on, the address and port boxes
    // off; TCP chosen: the other way round.
    void enableFor(bool tcp);
    bool takeValues();

    CommDialogValues values_;
};

}  // namespace orlo
