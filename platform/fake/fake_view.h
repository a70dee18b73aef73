// In-memory controls for testing window logic without a window system.
// Every control id that is touched springs into existence; tests can also
// declare controls up front and inspect any field directly.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/view.h"

namespace orlo {

struct FakeControl {
    std::string text;
    std::vector<std::string> items;
    std::vector<bool> selected;   // parallel to items
    int current = -1;             // single selection
    int top = 0;
    int check = 0;
    bool shown = true;
    bool enabled = true;
    bool readOnly = false;
    bool redraw = true;
    int redrawOffCount = 0;       // how often drawing was switched off
    Rect rect;
    int progressLow = 0, progressHigh = 100, progressPos = 0;
    Colour face = 0;
    bool hasFace = false;
    FontRequest font;
    bool hasFont = false;
};

class FakeView : public View {
public:
    // Width of one byte of text in textWidth; a double-byte character counts 2.
    int pixelsPerByte = 8;

    FakeControl& control(int id) { return controls_[id]; }
    const FakeControl* find(int id) const;
    bool has(int id) const { return find(id) != nullptr; }
    // The ids of every control that exists so far, ascending.
    std::vector<int> controlIds() const
    {
        std::vector<int> ids;
        for (const auto& c : controls_)
            ids.push_back(c.first);
        return ids;
    }

    // Simulates the window's client size (the host passes it to onSize).
    Size client{800, 600};
    // Ended with endDialog: result, or -1 while open.
    int endResult = -1;

    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void clearItems(int id) override;
    int addItem(int id, const std::string& text) override;
    void insertItem(int id, int index, const std::string& text) override;
    void deleteItem(int id, int index) override;
    int itemCount(int id) const override;
    std::string itemText(int id, int index) const override;
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
    void setReadOnly(int id, bool readOnly) override { controls_[id].readOnly = readOnly; }
    void moveControl(int id, const Rect& r) override;
    Rect controlRect(int id) const override;
    void setFocus(int id) override;
    int focusedControl() const override { return focus_; }
    void setProgressRange(int id, int low, int high) override;
    void setProgressPos(int id, int pos) override;
    int progressPos(int id) const override;
    void setFaceColour(int id, Colour c) override;
    void setFont(int id, const FontRequest& font) override;
    int textWidth(int id, const std::string& text) const override;
    void setTitle(const std::string& title) override { title_ = title; }
    std::string title() const override { return title_; }
    Size clientSize() const override { return client; }
    void showWindow(bool shown) override { windowShown_ = shown; }
    bool isWindowShown() const override { return windowShown_; }
    void raiseWindow() override { ++raised; }
    void addSystemMenuEntry(int command, const std::string& text) override
    {
        systemMenu.push_back({command, text});
    }
    void setMenu(int id) override { menuId = id; }
    void endDialog(int result) override
    {
        endResult = result;
        windowShown_ = false;
    }

    int raised = 0;
    // The menu bar set with setMenu, 0 for the template's own.
    int menuId = 0;
    // The entries added to the system menu, in order.
    struct MenuEntry {
        int command;
        std::string text;
    };
    std::vector<MenuEntry> systemMenu;

private:
    std::map<int, FakeControl> controls_;
    std::string title_;
    int focus_ = 0;
    bool windowShown_ = false;
};

}  // namespace orlo
