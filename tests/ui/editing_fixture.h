// What the tests of the line editor, the function and thread lists and the
// find window share: a main window made of a fake view, a host that creates
// every companion window on a fake view of its own, a device session that
// records what it sends, and helpers that act as the user does.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "expr/names.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "tests/device/session_fakes.h"
#include "ui/editing_windows.h"
#include "ui/find_dlg.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo::test {

class FakeEditorHost : public EditorHost {
public:
    FakeView main;
    bool modified = false;
    int sizeFigures = 0;       // how often the size figure was recomputed
    int current = -1;
    bool withSession = true;
    bool refuseWindows = false;
    std::vector<int> createdTemplates;
    RecordingDeviceSender sender;
    RecordingDeviceEvents events;
    DeviceSession session{sender, events};

    View* mainView() override { return &main; }
    void setModified() override { modified = true; }
    void showProgramSize() override { ++sizeFigures; }
    int currentLine() const override { return current; }
    void setCurrentLine(int line) override { current = line; }
    bool createWindow(Window& window) override
    {
        if (refuseWindows)
            return false;
        auto view = std::make_unique<FakeView>();
        window.attach(view.get());
        views_[&window] = std::move(view);
        createdTemplates.push_back(window.templateId());
        window.onInit();
        return true;
    }
    DeviceSession* deviceSession() override { return withSession ? &session : nullptr; }

    FakeView& viewOf(const Window& window) { return *views_.at(&window); }

private:
    std::map<const Window*, std::unique_ptr<FakeView>> views_;
};

// A condition (kind 1, 外部输入) or result (kind 1, 输出操作) whose param1
// tells lines apart in the tests.
inline ProgramLine simpleLine(bool isResult, int param1, const std::string& remark = "")
{
    ProgramLine l;
    l.isResult = isResult ? 1 : 0;
    l.instruction[0] = 1;
    l.instruction[1] = static_cast<std::uint8_t>(param1);
    l.instruction[2] = 1;
    l.remark = remark;
    return l;
}

inline std::vector<int> param1s(const ProgramSection& s)
{
    std::vector<int> out;
    for (const ProgramLine& l : s.lines)
        out.push_back(l.param1());
    return out;
}

// "01 04 01 ..." for the first n bytes of an instruction.
inline std::string hexBytes(const ProgramLine& line, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        if (i)
            out += ' ';
        out += digits[line.instruction[i] >> 4];
        out += digits[line.instruction[i] & 15];
    }
    return out;
}

class EditingTest : public ::testing::Test {
protected:
    EditingTest()
    {
        clearProgram();
        program().clipboard.clear();
        host.main.client = Size{1200, 700};
        windows.createLineEditor();
    }
    ~EditingTest() override
    {
        clearProgram();
        program().clipboard.clear();
    }

    FakeShell shell_;
    ShellScope shellScope{shell_};
    FakeEditorHost host;
    EditingWindows windows{host};

    Cadd_in& editor() { return windows.lineEditor(); }
    FakeView& editorView() { return host.viewOf(editor()); }
    Clist_command mainList() { return Clist_command(&host.main, IDC_PROGRAM_LIST); }

    // The main window's redraw.
    void drawMain()
    {
        mainList().renderSection(program().main);
        mainList().selectOnly(host.current);
    }
    std::vector<std::string> mainRows() { return host.main.control(IDC_PROGRAM_LIST).items; }

    // The user selects rows of a list and the list tells its window.
    static void selectRows(FakeView& view, int id, std::initializer_list<int> rows)
    {
        view.setSelected(id, -1, false);
        for (int r : rows)
            view.setSelected(id, r, true);
    }
    void clickMainRows(std::initializer_list<int> rows)
    {
        selectRows(host.main, IDC_PROGRAM_LIST, rows);
        windows.mainListNotify(Notify::SelChanged);
    }
    void doubleClickMainRow(int row)
    {
        selectRows(host.main, IDC_PROGRAM_LIST, {row});
        windows.mainListNotify(Notify::DoubleClicked);
    }

    // The user chooses entry index of a drop-down list of the editor.
    void choose(int id, int index)
    {
        editorView().setCurrentIndex(id, index);
        editor().onCommand(id, Notify::SelChanged);
    }
    // ... or the entry with that text; fails the test when there is none.
    void chooseText(int id, const std::string& text)
    {
        const std::vector<std::string>& items = editorView().control(id).items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == text) {
                choose(id, static_cast<int>(i));
                return;
            }
        }
        ADD_FAILURE() << "no entry " << text << " in control " << id;
    }
    void typeParam3(const std::string& text)
    {
        editorView().setText(IDC_LINE_PARAM3, text);
        editor().onCommand(IDC_LINE_PARAM3, Notify::Changed);
    }
    void typeRemark(const std::string& text)
    {
        editorView().setText(IDC_LINE_REMARK, text);
        editor().onCommand(IDC_LINE_REMARK, Notify::Changed);
    }
    void press(Window& window, int id) { window.onCommand(id, Notify::Clicked); }
    void confirm() { press(editor(), 1); }
    void cancel() { press(editor(), 2); }
};

}  // namespace orlo::test
