// The main window: the program list, the tool and connection buttons, the
// address and port lists, the size figure and the progress bar. It owns the
// state the other windows read through the one process-wide main window
// pointer (mainWindow()).
#pragma once

#include <string>
#include <vector>

#include "app/layout.h"
#include "platform/window.h"

namespace orlo {

class CTarnDlg : public Window {
public:
    CTarnDlg() = default;
    ~CTarnDlg() override;
    CTarnDlg(const CTarnDlg&) = delete;
    CTarnDlg& operator=(const CTarnDlg&) = delete;

    // The main window once it has initialised, else nullptr.
    static CTarnDlg* mainWindow();

    // "Orlo V<version>(固件0.129)", the title without a file name.
    static std::string defaultTitle();
    // The size figure, "程序大小：%u 字节".
    static std::string sizeText(unsigned bytes);
    // The font of the program lists: one font for the whole run.
    // The layout of every control, applied on each resize.
    static const std::vector<Placement>& layoutTable();

    int templateId() const override;
    void onInit() override;
    void onSize(int width, int height) override;
    bool onKeyDown(int key, bool ctrl, int focusId) override;

    // Lays the controls out for a client area of the given size.
    void layout(Size client);
    // Shows the size figure of a program image of the given length.
    void showProgramSize(unsigned bytes);

    // State other windows read and change.
    int currentLine = -1;        // main-program line last opened in the line editor
    int findPosition = -1;       // line found last by the search box
    std::string currentPath;     // program file last opened, saved or imported
    std::string lastFolder;      // where the Open dialog starts
    std::string baseTitle;
    std::string programExtension;
    bool modified = false;
};

}  // namespace orlo
