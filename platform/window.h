// A portable window: state and handlers of one dialog, driven by a host
// (the Win32 dialog host in Tarn.exe, the fake host in tests) that turns the
// platform's messages into these calls. Handlers run on the user-interface
// thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/view.h"

namespace orlo {

// What happened to a control, in portable terms (BN_CLICKED, EN_CHANGE,
// LBN_SELCHANGE, CBN_SELCHANGE ... map onto these in the host).
enum class Notify {
    Clicked,     // button pressed, or menu / accelerator command (control id = command id)
    Changed,     // edit box text changed
    SelChanged,  // list or combo selection changed
    DoubleClicked,
    GotFocus,
    LostFocus,
};

// Keys the windows react to, as virtual-key codes.
enum Key : int {
    KeyBack = 0x08, KeyReturn = 0x0D, KeyEscape = 0x1B, KeyDelete = 0x2E,
    KeyC = 'C', KeyV = 'V', KeyX = 'X', KeyF = 'F', KeyF1 = 0x70,
    KeyY = 'Y', KeyZ = 'Z',
};

class Window {
public:
    virtual ~Window() = default;

    // Called by the host once the controls exist; the view stays valid until
    // the window is destroyed.
    void attach(View* view) { view_ = view; }
    View* view() const { return view_; }

    // The template id of the dialog this window is built from.
    virtual int templateId() const = 0;

    virtual void onInit() {}
    virtual void onCommand(int id, Notify code) { (void)id; (void)code; }
    // Client area size after a resize.
    virtual void onSize(int width, int height) { (void)width; (void)height; }
    virtual void onTimer(int timerId) { (void)timerId; }
    // Key-down seen before normal dispatch. focusId is the control with the
    // keyboard focus (0 when none). Return true to swallow the key.
    virtual bool onKeyDown(int key, bool ctrl, int focusId)
    {
        (void)key; (void)ctrl; (void)focusId;
        return false;
    }
    // Right button released over control id at screen point (x, y).
    virtual void onContextMenu(int id, int x, int y) { (void)id; (void)x; (void)y; }
    // Files dropped on the window (paths in the system's form, platform/text.h).
    virtual void onDropFiles(const std::vector<std::string>& paths) { (void)paths; }
    // A private window message (WM_USER and above). Return true when handled.
    virtual bool onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
    {
        (void)msg; (void)wParam; (void)lParam;
        return false;
    }
    // The close box or Esc/Cancel. Return true to let the host close the window.
    virtual bool onClose() { return true; }

protected:
    View* view_ = nullptr;
};

// Builds windows from their templates and runs them: the Win32 dialog host in
// Tarn.exe; tests drive windows through a fake view instead. The caller owns
// every Window and keeps it alive while the host shows it. User-interface
// thread only.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Creates window from its template (templateId()), attaches its view,
    // runs onInit, shows it and runs it modally over owner (nullptr: none;
    // the owner is disabled meanwhile) until the window calls endDialog or
    // is closed. Returns the endDialog result, -1 when it could not be created.
    virtual int runModal(Window& window, Window* owner) = 0;
    // Creates window hidden and modeless, owned by owner, and runs onInit. It
    // then lives until the host ends, shown and hidden through its view.
    // Returns false when it could not be created.
    virtual bool createModeless(Window& window, Window* owner) = 0;
};

}  // namespace orlo
