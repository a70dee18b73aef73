// The view: the only way a portable window class reaches its controls.
// Every call is keyed by the control id of the window's dialog template; id 0
// never names a control. All text is GBK. Calls on an id the window does not
// have are ignored (setters) or return an empty value (getters), so logic code
// never needs to guard against a missing control.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orlo {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct Size {
    int width = 0, height = 0;
};

// Colour as 0x00BBGGRR, the layout of a Windows COLORREF.
using Colour = std::uint32_t;

// A font request, in the terms of CreateFont. Heights are in logical units.
struct FontRequest {
    std::string face;
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false, underline = false, strikeOut = false;
    int charSet = 0;
    int pitchAndFamily = 0;
};

class View {
public:
    virtual ~View() = default;

    // Caption of a control (button, static, edit box).
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) const = 0;

    // Items of list boxes and combo boxes. Indexes are 0-based; -1 means none.
    virtual void clearItems(int id) = 0;
    virtual int addItem(int id, const std::string& text) = 0;      // returns the new index
    virtual void insertItem(int id, int index, const std::string& text) = 0;
    virtual void deleteItem(int id, int index) = 0;
    virtual int itemCount(int id) const = 0;
    virtual std::string itemText(int id, int index) const = 0;

    // Single selection of a combo box or single-selection list box.
    virtual int currentIndex(int id) const = 0;
    virtual void setCurrentIndex(int id, int index) = 0;

    // Multiple selection of a list box. index -1 applies to every row.
    virtual void setSelected(int id, int index, bool selected) = 0;
    virtual bool isSelected(int id, int index) const = 0;
    virtual std::vector<int> selectedIndexes(int id) const = 0;  // ascending
    virtual int topIndex(int id) const = 0;
    virtual void setTopIndex(int id, int index) = 0;
    // Switch drawing of a control off while it is filled and on again after.
    virtual void setRedraw(int id, bool on) = 0;

    // Check boxes and radio buttons: 0 unchecked, 1 checked.
    virtual int checkState(int id) const = 0;
    virtual void setCheckState(int id, int state) = 0;

    virtual void showControl(int id, bool shown) = 0;
    virtual bool isControlShown(int id) const = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual bool isControlEnabled(int id) const = 0;
    // Whether the user may type into an edit box (its template decides at
    // first). Views without edit boxes need not implement it.
    virtual void setReadOnly(int id, bool readOnly) { (void)id; (void)readOnly; }
    virtual void moveControl(int id, const Rect& r) = 0;   // client coordinates
    virtual Rect controlRect(int id) const = 0;
    virtual void setFocus(int id) = 0;
    virtual int focusedControl() const = 0;                // 0 when none of ours

    virtual void setProgressRange(int id, int low, int high) = 0;
    virtual void setProgressPos(int id, int pos) = 0;
    virtual int progressPos(int id) const = 0;

    virtual void setFaceColour(int id, Colour c) = 0;
    virtual void setFont(int id, const FontRequest& font) = 0;
    // Width in pixels of text drawn in the control's current font.
    virtual int textWidth(int id, const std::string& text) const = 0;

    // The window itself.
    virtual void setTitle(const std::string& title) = 0;
    virtual std::string title() const = 0;
    virtual Size clientSize() const = 0;
    virtual void showWindow(bool shown) = 0;
    virtual bool isWindowShown() const = 0;
    virtual void raiseWindow() = 0;
    // Appends an entry (after a separator) to the window's system menu;
    // choosing it reaches the window as onCommand(command, Notify::Clicked).
    // command is a multiple of 16 below 0xF000 (the system's own entries
    // use the low four bits and the range above).
    virtual void addSystemMenuEntry(int command, const std::string& text) = 0;
    // Replaces the window's menu bar with the menu template menuId; its
    // entries reach the window as onCommand(command, Notify::Clicked). The
    // template's own menu bar stays when menuId cannot be loaded. Views of
    // windows without a menu bar need not implement it.
    virtual void setMenu(int menuId) { (void)menuId; }
    // Ends a modal window (or hides a modeless one) with the given result.
    virtual void endDialog(int result) = 0;
};

}  // namespace orlo
