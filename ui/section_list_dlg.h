// The function list and the thread list (Chanshu_dlg, dialog 146; one object
// each): the 100 sections of the kind on the left, marked "√" when they hold
// lines, and the lines of the chosen one on the right, edited through the
// line editor and the editing commands. Each window also imports and exports
// its chosen section as a function file and has a search of its own.
#pragma once

#include <string>

#include "model/program.h"
#include "platform/window.h"
#include "ui/editing_windows.h"

namespace orlo {

class SectionEditor;

class Chanshu_dlg : public Window {
public:
    Chanshu_dlg(EditingWindows& windows, ListKind kind);

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;
    void onSize(int width, int height) override;
    // Delete, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+Z and Ctrl+Y while the line list
    // has the focus.
    bool onKeyDown(int key, bool ctrl, int focusId) override;
    // "函数右键" (cut, copy, paste) over the line list.
    void onContextMenu(int id, int x, int y) override;
    // Recomputes the main window's size figure and hides the window.
    bool onClose() override;

    // The menu entry: chooses the first section that holds lines (1 when
    // none does), draws everything and shows the window on top.
    void showSectionList();
    // Fills the section list with its marks and width (the widest row with
    // its mark, and room for the scroll bar), selects the chosen
    // section, draws its lines and selects the chosen line.
    void refreshSectionList();
    // Shows line `line` of section n, as a find does.
    void showFound(int n, int line);

    // The line editor's changes, for section sectionId. Replaces the line at
    // the highest selected row and keeps the view; nothing happens unless
    // that section is shown and that row is lineIndex, the row the editor
    // loaded the line from.
    void replaceSelected(int sectionId, int lineIndex, const ProgramLine& line);
    // Inserts after the highest selected row (at the end when none is) and
    // selects the new line; a line for a section that is not shown goes to
    // the end of that section.
    void insertAfterSelected(int sectionId, const ProgramLine& line);

    // The line editor's id of section n (1..100): n for functions, 500 + n
    // for threads; and of the chosen section.
    int sectionIdOf(int n) const;
    int sectionId() const { return sectionIdOf(chosenSection); }
    // True when sectionId names one of this window's sections.
    bool holdsSection(int sectionId) const;
    // Section n (1..100) of this window's kind.
    ProgramSection& section(int n) const;
    const std::string& kindWord() const { return kindWord_; }
    bool isShown() const;

    // The editing commands of the line list.
    void deleteLines();
    void deleteAllLines();
    void cutLines();
    void copyLines();
    void pasteLines();
    void importSection();
    void exportSection();
    void findNext();
    void addLine();
    // Ctrl+Z and Ctrl+Y on the line list: the main window's "撤销" and "重做".
    void undoChange();
    void redoChange();

    // The window's state, for the find window and the tests.
    int chosenSection = 0;      // 1..100, 0 when none is chosen
    int chosenLine = 0;         // line last chosen in that section
    int searchSection = 1;      // where the window's own search goes on
    int searchPosition = -1;
    int sectionListWidth = 120; // pixels, never below 120

private:
    bool hasChosenSection() const;
    void layout(Size client);
    void lineSelectionChanged();
    void lineDoubleClicked();
    void sectionChanged();
    // The selection operations on the chosen section; null-safe callers.
    SectionEditor editor();
    void linesChanged();

    EditingWindows& windows_;
    ListKind kind_;
    std::string kindWord_;
};

}  // namespace orlo
