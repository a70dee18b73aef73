// The naming windows. Cmming_dlg (dialog 137, "全局命名") gives resources
// aliases in the name table: ten categories of 99 resources each, the new
// name of the chosen one, import and export of name table texts, the whole
// table as text, and resetting it. The main window creates it on first use
// and then only shows and hides it. C_mming_jubu_dlg (dialog 151, "局部命名")
// lists the sections that hold lines and changes nothing.
#pragma once

#include <functional>
#include <string>

#include "platform/window.h"

namespace orlo {

class NameTable;
class Program;

// What the global naming window needs from the program around it.
struct NamingServices {
    // Runs the local naming window modally; nullptr: "查看局部" does nothing.
    WindowHost* host = nullptr;
    // Shows text for editing (the information window in its renaming mode);
    // returns true, text holding what the user left there, when confirmed.
    // Empty: "查看文本" does nothing.
    std::function<bool(std::string& text)> editText;
    // The window was closed: the main window redraws its list and size line.
    std::function<void()> closed;
    // The name table may have changed (a rename, an import, the text edited,
    // a reset): the main window records it for undo.
    std::function<void()> changed;
};

class Cmming_dlg : public Window {
public:
    // table: the name table it edits (names() in the tool); program: what
    // the local naming window lists.
    Cmming_dlg(NameTable& table, const Program& program, NamingServices services);

    int templateId() const override;
    // Fills the categories, makes sure every category word is a reserved
    // word, and shows category 0, item 0.
    void onInit() override;
    void onCommand(int id, Notify code) override;
    // "取消" and the close box: the main window follows, the window hides.
    bool onClose() override;

    // Shows the window (again), its lists brought up to date.
    void show();
    // Counts, fills the item list of category c and selects item i.
    void refresh(int category, int item);
    // "《《": renames the selected item to the text of the name edit.
    void applyName();

    bool nameEdited() const { return nameEdited_; }

private:
    void importFile(bool replace);
    void exportFile();
    void editAsText();
    void resetAll();
    void showLocal();
    void hide();
    void tellError(const std::string& message);
    void tableChanged();

    NameTable& table_;
    const Program& program_;
    NamingServices services_;
    bool nameEdited_ = false;
    // Set while refresh writes the name edit, whose change is not the user's.
    bool filling_ = false;
};

class C_mming_jubu_dlg : public Window {
public:
    explicit C_mming_jubu_dlg(const Program& program) : program_(program) {}

    int templateId() const override;
    // "主程序", "函数N" and "线程N" for each section that holds lines.
    void onInit() override;
    void onCommand(int id, Notify code) override;

private:
    const Program& program_;
};

}  // namespace orlo
