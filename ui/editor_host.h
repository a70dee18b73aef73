// What the line editor, the function and thread lists and the find window
// need from the main window: its program list, its modified flag and size
// figure, its current line, a way to create companion windows, the device
// session that learns remote-control codes, and its undo history. The main window
// implements it; tests implement it over fake views.
#pragma once

namespace orlo {

class DeviceSession;
class View;
class Window;

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // The main window's view, whose control 1005 is the main program's list;
    // nullptr while there is no main window.
    virtual View* mainView() = 0;
    // Some window changed the lines of a section: the program is modified.
    virtual void setModified() = 0;
    // Recomputes the main window's program size figure.
    virtual void showProgramSize() = 0;
    // The main-program line last opened in the line editor (-1: none).
    virtual int currentLine() const = 0;
    virtual void setCurrentLine(int line) = 0;
    // Creates a companion window hidden and modeless over the main window
    // and runs its onInit. False when it could not be created; the caller
    // keeps the Window object alive for as long as the host may show it.
    virtual bool createWindow(Window& window) = 0;
    // The session that asks the controller for remote codes; nullptr when
    // there is none.
    virtual DeviceSession* deviceSession() = 0;

    // The main window's undo history. The user acted in a line list: what
    // the line editor writes next is an undo step of its own, not part of
    // the one before.
    virtual void sealUndoStep() {}
    // Ctrl+Z and Ctrl+Y in a line list: "撤销" and "重做".
    virtual void undo() {}
    virtual void redo() {}
};

}  // namespace orlo
