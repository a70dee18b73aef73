// The main window's editing companions: the line editor (created hidden at
// start-up), the function list and the thread list (created on first use)
// and the find window (created on first use). They are created once and
// then only shown and hidden; this object owns them, lets them find each
// other, and carries out the main list's editing notifications.
#pragma once

#include <memory>
#include <vector>

#include "platform/window.h"
#include "ui/editor_host.h"

namespace orlo {

class Cadd_in;
class Cfind_dlg;
class Chanshu_dlg;
class Cshuoming_dlg;

enum class ListKind { Functions, Threads };

class EditingWindows {
public:
    explicit EditingWindows(EditorHost& host);
    ~EditingWindows();
    EditingWindows(const EditingWindows&) = delete;
    EditingWindows& operator=(const EditingWindows&) = delete;

    EditorHost& host() { return host_; }

    // Creates the hidden line editor (main-window start-up). False when its
    // window could not be created; the editor then stays unusable.
    bool createLineEditor();
    Cadd_in& lineEditor() { return *editor_; }

    // The function or thread list; with create, made (hidden) on first use.
    // nullptr when it does not exist.
    Chanshu_dlg* sectionList(ListKind kind, bool create);
    // The list window that shows section id (1..100 functions, 501..600
    // threads) when it exists, else nullptr.
    Chanshu_dlg* listOfSection(int sectionId);
    // The menu entries "函数列表" and "线程列表".
    void showSectionList(ListKind kind);

    // The find window; with create, made on first use.
    Cfind_dlg* findWindow(bool create);
    // The menu entry "查找": creates the find window on first use and shows it.
    void showFindWindow();

    // The main list (1005): a selection change shows the newly selected line
    // in an open editor, a double click opens the editor on it.
    void mainListNotify(Notify code);
    // "添加指令": opens the editor to add a line after the main list's selection.
    void addMainLine();
    // "在前面插入" and "在后面插入": opens the editor on a new line that goes
    // before the main list's selection or after it.
    void insertMainLine(bool before);

    // The usage extras of Orlo.exe, off until the main window turns them on
    // (before it creates the line editor): the line editor's "说明" button
    // and F1, and the "没有找到！" notice after a search that finds nothing.
    void enableUsageExtras() { usageExtras_ = true; }
    bool usageExtras() const { return usageExtras_; }
    // The help window on the condition and result kinds; with create, made
    // on first use. nullptr when it does not exist.
    Cshuoming_dlg* kindHelp(bool create);
    // "指令说明": shows the help window, made on first use.
    void showKindHelp();
    // Shows the help window on a kind of one side (kind 0: the side's list
    // with nothing chosen).
    void showKindHelp(bool isResult, int kind);
    // A search found nothing: "没有找到！" (caption "提示") with the usage
    // extras, else nothing.
    void nothingFound();

    // An undo or redo put a state back, sectionIds the sections whose lines
    // it changed: an open function or thread list shows the first of its
    // sections among them and is redrawn (aliases too); an open editor on an
    // existing line shows the line its list now selects, and hides when that
    // list selects none.
    void programRestored(const std::vector<int>& sectionIds);

private:
    EditorHost& host_;
    std::unique_ptr<Cadd_in> editor_;
    std::unique_ptr<Chanshu_dlg> lists_[2];
    std::unique_ptr<Cfind_dlg> find_;
    std::unique_ptr<Cshuoming_dlg> help_;
    bool usageExtras_ = false;
};

}  // namespace orlo
