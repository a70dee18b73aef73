// The one Win32 dialog host: builds any portable Window from its dialog
// template, turns the dialog's messages into the Window's handlers, and is
// the Window's View over the real controls (SendMessageW and the W functions,
// text converted between GBK and UTF-16 at this edge).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/window.h"

namespace orlo {

// Message loop. Every dialog, modal or modeless, is created with
// CreateDialogParamW and served by one loop of ours (runModal), which gives
// each key-down to the owning Window's onKeyDown before IsDialogMessageW and
// normal dispatch, so a window can swallow Enter and Esc or act on Delete and
// Ctrl+X/C/V. DialogBoxParamW was rejected: its loop is the system's, and
// reaching keys there needs a WH_MSGFILTER hook (a thread-wide callback with
// its own install and remove order for nested dialogs); and the system loop
// calls IsDialogMessage for the modal dialog only, so the modeless companions
// of the main window would lose Tab and arrow-key navigation. Our loop serves
// every dialog of the thread, and a nested modal dialog runs a nested loop of
// the same kind with its owner disabled.
//
// Win32 quirks absorbed here: combo boxes get their drop-down height added to
// the height a layout gives them; IDCANCEL (Esc, a Cancel button, the close
// box) goes to onClose; focus set during onInit is kept (WM_NEXTDLGCTL, and
// WM_INITDIALOG returns FALSE).
class DialogHost final : public View {
public:
    // flatLook: push buttons and menus drawn in the flat look (flat_look.h).
    DialogHost(Window& window, HINSTANCE instance, HICON bigIcon, HICON smallIcon,
               bool flatLook = false);
    ~DialogHost() override;  // destroys the dialog when it still exists
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;

    // Creates the dialog hidden (modeless), owned by owner. False when the
    // template is missing or creation failed.
    bool create(HWND owner);
    // Creates, shows and runs the dialog modally; returns the endDialog
    // result, or -1 when it could not be created. A WM_QUIT seen meanwhile is
    // posted again for the outer loop.
    int runModal(HWND owner);

    HWND hwnd() const { return hwnd_; }
    Window& window() const { return window_; }

    // The host of a live dialog, by its window handle or by its Window.
    static DialogHost* fromHwnd(HWND hwnd);
    static DialogHost* fromWindow(const Window* window);
    // Pre-dispatch step of every loop: the Window's onKeyDown, then
    // IsDialogMessageW. True when the message was consumed.
    static bool preTranslate(MSG& msg);

    // View.
    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void clearItems(int id) override;
    int addItem(int id, const std::string& text) override;
    void insertItem(int id, int index, const std::string& text) override;
    void deleteItem(int id, int index) override;
    int itemCount(int id) const override;
    std::string itemText(int id, int index) const override;
    // A multiple-selection list has no single current row: currentIndex is
    // its lowest selected row, and setCurrentIndex selects that row only.
    int currentIndex(int id) const override;
    void setCurrentIndex(int id, int index) override;
    void setSelected(int id, int index, bool selected) override;
    bool isSelected(int id, int index) const override;
    std::vector<int> selectedIndexes(int id) const override;
    int topIndex(int id) const override;
    void setTopIndex(int id, int index) override;
    void setRedraw(int id, bool on) override;
    int checkState(int id) const override;
    void setCheckState(int id, int state) override;
    void showControl(int id, bool shown) override;
    bool isControlShown(int id) const override;
    void enableControl(int id, bool enabled) override;
    bool isControlEnabled(int id) const override;
    void setReadOnly(int id, bool readOnly) override;
    void moveControl(int id, const Rect& r) override;
    Rect controlRect(int id) const override;
    void setFocus(int id) override;
    int focusedControl() const override;
    void setProgressRange(int id, int low, int high) override;
    void setProgressPos(int id, int pos) override;
    int progressPos(int id) const override;
    // Owner-drawn buttons (BS_OWNERDRAW in the template) are painted by the
    // host in this colour, redrawn at once; other controls only store it.
    void setFaceColour(int id, Colour c) override;
    void setFont(int id, const FontRequest& font) override;
    int textWidth(int id, const std::string& text) const override;
    void setTitle(const std::string& title) override;
    std::string title() const override;
    Size clientSize() const override;
    void showWindow(bool shown) override;
    bool isWindowShown() const override;
    void raiseWindow() override;
    void addSystemMenuEntry(int command, const std::string& text) override;
    void setMenu(int menuId) override;
    void endDialog(int result) override;

    // The face colour last set for control id, if any.
    bool faceColour(int id, Colour& c) const;

private:
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR onInitDialog();
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onContextMenu(HWND target, LPARAM lParam);
    void onDropFiles(HDROP drop);
    // Paints an owner-drawn button: its face colour (the system's button
    // face when none was set), a raised or pressed edge, its text centred.
    void drawButton(const DRAWITEMSTRUCT& item) const;
    void close();
    HWND item(int id) const;

    // The flat look: buttons are made owner-drawn when the dialog is made,
    // the menu bar once the window has set it up (and again when it is
    // opened, for a bar set later), popups as they open.
    void flattenMenuBar();
    // The messages of the flat look; true with result when handled.
    bool handleFlatLook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Enter on a focused flat button clicks it (see flat_look.h).
    bool clickFocusedFlatButton();

    Window& window_;
    HINSTANCE instance_;
    HICON bigIcon_, smallIcon_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    int result_ = IDCANCEL;
    bool initialising_ = false;
    bool focusSetInInit_ = false;
    std::map<int, Colour> faceColours_;
    std::vector<int> systemMenuCommands_;
    bool flatLook_ = false;
    std::vector<int> flatButtons_;
};

// The WindowHost of Tarn.exe and Orlo.exe. It owns the hosts of the
// modeless windows it creates and destroys their dialogs when it ends.
class Win32WindowHost final : public WindowHost {
public:
    // iconId: the application icon given to every dialog (0: none).
    // flatLook: every dialog draws its buttons and menus flat.
    Win32WindowHost(HINSTANCE instance, int iconId, bool flatLook = false);
    ~Win32WindowHost() override;
    Win32WindowHost(const Win32WindowHost&) = delete;
    Win32WindowHost& operator=(const Win32WindowHost&) = delete;

    int runModal(Window& window, Window* owner) override;
    bool createModeless(Window& window, Window* owner) override;

private:
    HINSTANCE instance_;
    HICON bigIcon_ = nullptr, smallIcon_ = nullptr;
    bool flatLook_;
    std::vector<std::unique_ptr<DialogHost>> modeless_;
};

// The dialog window of a Window the host shows, or nullptr (for the shell's
// timers and menus, and for transports that post messages to a window).
HWND windowHandle(const Window* window);

}  // namespace orlo
