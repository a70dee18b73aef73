// "撤销" and "重做" in the main window: every kind of change to the program and
// the name table, made as the user makes it, undone to the very bytes it
// started from and redone to the bytes it made, with the lists, the line
// editor and the naming window following; the modified flag across a save;
// a fresh history after New; and Ctrl+Z where the focus is.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "model/files.h"
#include "tests/app/main_window_fixture.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo {
namespace {

using test::sampleLine;
using test::sampleLines;

class MainWindowUndo : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        names().clear();
        // Files the changes import, made before any window exists.
        program().main.lines = sampleLines(2, 90);
        functionFile = folder.file("f.hanshu");
        ASSERT_FALSE(saveFunctionFile(program().main, functionFile).empty());
        program().main.lines = sampleLines(3, 70);
        ASSERT_EQ(names().rename("输出5", "泵"), "");
        controllerImage = buildImage();
        otherFile = programFile("other.qv3");
        namesFile = folder.file("names.txt");
        test::putFile(namesFile, "阀\t=\t输出7\r\n");
    }
    void TearDown() override
    {
        names().clear();
        MainWindowFixture::TearDown();
    }

    // A window started afresh on the opened program: six lines of the main
    // program, two of function 1, one of thread 2, an alias, a clipboard line.
    void restart()
    {
        dlg.reset();
        clearProgram();
        host = test::ScriptedHost();
        shell.messages.clear();
        shell.answers.clear();
        device = std::make_shared<test::FakeSerialDevice>();
        controller = test::ScriptedController(device);
        controller.image = controllerImage;
        view = FakeView();
        view.client = Size{1300, 700};
        start();
        program().main.lines = sampleLines(6);
        program().main.lines[2].remark = "甲";
        program().functions[0].lines = sampleLines(2, 20);
        program().threads[1].lines = sampleLines(1, 30);
        program().clipboard.lines = {sampleLine(false, 9), sampleLine(true, 10)};
        ASSERT_EQ(names().rename("全局整数3", "温度"), "");
        dlg->refreshMainList();
        dlg->startHistory();
    }

    void selectMain(const std::vector<int>& rows, Notify n = Notify::SelChanged)
    {
        view.setSelected(IDC_PROGRAM_LIST, -1, false);
        for (int r : rows)
            view.setSelected(IDC_PROGRAM_LIST, r, true);
        dlg->onCommand(IDC_PROGRAM_LIST, n);
    }
    void key(int k, int focus = IDC_PROGRAM_LIST) { dlg->onKeyDown(k, true, focus); }
    void yes() { shell.answers.push_back(Answer::Yes); }

    Cadd_in& editor() { return dlg->editing().lineEditor(); }
    FakeView& viewOf(const Window& w) { return *host.modelessView(w); }
    void choose(Window& w, int id, int index)
    {
        viewOf(w).setCurrentIndex(id, index);
        w.onCommand(id, Notify::SelChanged);
    }
    void confirmEditor() { editor().onCommand(1, Notify::Clicked); }

    Cmming_dlg& naming()
    {
        click(ID_SETTINGS_RENAME);
        return *dlg->namingWindow();
    }
    Chanshu_dlg& list(ListKind kind)
    {
        click(kind == ListKind::Functions ? ID_SETTINGS_FUNCTIONS : ID_SETTINGS_THREADS);
        return *dlg->editing().sectionList(kind, false);
    }
    void selectLine(Chanshu_dlg& l, int row, Notify n = Notify::SelChanged)
    {
        viewOf(l).setSelected(IDC_SECTIONS_LINES, -1, false);
        viewOf(l).setSelected(IDC_SECTIONS_LINES, row, true);
        l.onCommand(IDC_SECTIONS_LINES, n);
    }

    // What the user sees agrees with the program: the main list, the open
    // function and thread lists, the aliases in an open naming window.
    void expectWindowsShowTheProgram()
    {
        EXPECT_EQ(view.control(IDC_PROGRAM_LIST).items, sectionRows(program().main));
        EXPECT_EQ(view.text(IDC_PROGRAM_SIZE), CTarnDlg::sizeText(imageSize()));
        for (ListKind kind : {ListKind::Functions, ListKind::Threads}) {
            Chanshu_dlg* l = dlg->editing().sectionList(kind, false);
            if (l && l->isShown()) {
                EXPECT_EQ(viewOf(*l).control(IDC_SECTIONS_LINES).items,
                          sectionRows(l->section(l->chosenSection)));
            }
        }
        if (Cmming_dlg* n = dlg->namingWindow(); n && viewOf(*n).isWindowShown()) {
            for (const std::string& row : viewOf(*n).control(IDC_NAMING_ITEMS).items) {
                const std::string system = row.substr(0, row.find('='));
                const std::string alias = names().systemToAlias(system);
                EXPECT_EQ(row, system + "=" + (alias == system ? "" : alias));
            }
        }
    }

    std::string functionFile, otherFile, namesFile, controllerImage;
};

TEST_F(MainWindowUndo, EveryKindOfChangeIsUndoneAndRedoneByteForByte)
{
    struct Change {
        const char* name;
        std::vector<int> selected;  // main-list rows chosen before the change
        int steps;                  // undo steps the change makes
        std::function<void()> act;
        const Edition* in = &tarnEdition();  // the window's edition
    };
    const Change changes[] = {
        {"line added in the editor", {1}, 1,
         [&] {
             click(IDC_ADD_LINE);
             choose(editor(), IDC_LINE_SIDE, 1);
             choose(editor(), IDC_LINE_KIND, 1);  // 输出操作
             confirmEditor();
         }},
        {"line edited in the editor: a choice, a text, a remark, confirmed", {2}, 1,
         [&] {
             selectMain({2}, Notify::DoubleClicked);
             choose(editor(), IDC_LINE_PARAM1, 5);
             viewOf(editor()).setText(IDC_LINE_REMARK, "乙");
             editor().onCommand(IDC_LINE_REMARK, Notify::Changed);
             confirmEditor();
         }},
        {"lines deleted", {1, 2}, 1, [&] { yes(), click(IDC_DELETE); }},
        {"line cut with Ctrl+X", {3}, 1, [&] { key(KeyX); }},
        {"clipboard pasted", {0}, 1, [&] { click(ID_EDIT_PASTE); }},
        {"line moved: cut, then pasted lower", {0}, 2,
         [&] { key(KeyX), selectMain({2}), key(KeyV); }},
        {"Delete-all", {4}, 1, [&] { yes(), click(ID_EDIT_DELETE_ALL); }},
        {"function file imported", {2}, 1,
         [&] { shell.paths = {functionFile}, click(ID_FILE_IMPORT); }},
        {"main part of a program file imported", {}, 1,
         [&] { shell.paths = {otherFile}, click(ID_FILE_IMPORT_MAIN); }},
        {"example inserted", {1}, 1, [&] { click(ID_EXAMPLE_JOG); }},
        {"program read from the controller", {5}, 1,
         [&] { openSerial(), yes(), click(IDC_READ_ALL), controller.serve(*dlg); }},
        {"alias given in the naming window", {}, 1,
         [&] {
             Cmming_dlg& n = naming();
             choose(n, IDC_NAMING_ITEMS, 4);
             viewOf(n).setText(IDC_NAMING_NAME, "压力");
             n.onCommand(IDC_NAMING_APPLY, Notify::Clicked);
         }},
        {"name table imported", {}, 1,
         [&] {
             Cmming_dlg& n = naming();
             shell.paths = {namesFile};
             n.onCommand(IDC_NAMING_IMPORT, Notify::Clicked);
         }},
        {"name table reset", {}, 1,
         [&] { naming().onCommand(IDC_NAMING_RESET_ALL, Notify::Clicked); }},
        {"function line deleted in the function list", {}, 1,
         [&] {
             Chanshu_dlg& l = list(ListKind::Functions);
             selectLine(l, 0), yes(), l.onCommand(IDC_SECTIONS_DELETE, Notify::Clicked);
         }},
        {"function file imported into a function", {}, 1,
         [&] {
             Chanshu_dlg& l = list(ListKind::Functions);
             shell.paths = {functionFile};
             viewOf(l).setCurrentIndex(IDC_SECTIONS_LIST, 4);
             l.onCommand(IDC_SECTIONS_LIST, Notify::SelChanged);
             l.onCommand(IDC_SECTIONS_IMPORT, Notify::Clicked);
         }},
        {"thread emptied in the thread list", {}, 1,
         [&] {
             yes();
             list(ListKind::Threads).onCommand(IDC_SECTIONS_DELETE_ALL, Notify::Clicked);
         }},
        {"function line edited in the editor", {}, 1,
         [&] {
             Chanshu_dlg& l = list(ListKind::Functions);
             selectLine(l, 1, Notify::DoubleClicked);
             choose(editor(), IDC_LINE_PARAM1, 2);
             choose(editor(), IDC_LINE_PARAM1, 3);
         }},
        {"function line added in the editor", {}, 1,
         [&] {
             Chanshu_dlg& l = list(ListKind::Functions);
             selectLine(l, 0), l.onCommand(IDC_SECTIONS_ADD, Notify::Clicked);
             choose(editor(), IDC_LINE_SIDE, 1);
             choose(editor(), IDC_LINE_KIND, 1);
             confirmEditor();
         }},
        {"clipboard pasted into a function with Ctrl+V", {}, 1,
         [&] {
             Chanshu_dlg& l = list(ListKind::Functions);
             selectLine(l, 1), l.onKeyDown(KeyV, true, IDC_SECTIONS_LINES);
         }},
        {"line inserted before the selection", {3}, 1,
         [&] {
             click(ID_EDIT_INSERT_BEFORE);
             choose(editor(), IDC_LINE_SIDE, 1);
             choose(editor(), IDC_LINE_KIND, 1);
             confirmEditor();
         },
         &orloEdition()},
        {"function file imported at the selected line", {2}, 1,
         [&] { shell.paths = {functionFile}, click(ID_FILE_IMPORT_AT_SELECTION); }, &orloEdition()},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        edition = c.in;
        restart();
        selectMain(c.selected);
        const std::string before = buildImage(), namesBefore = names().exportText();
        c.act();
        const std::string after = buildImage(), namesAfter = names().exportText();
        const std::vector<int> selectedAfter = view.selectedIndexes(IDC_PROGRAM_LIST);
        ASSERT_NE(after, before);
        EXPECT_TRUE(dlg->modified);
        EXPECT_EQ(dlg->history().undoSteps(), static_cast<std::size_t>(c.steps));

        for (int i = 0; i < c.steps; ++i)
            click(ID_EDIT_UNDO);
        EXPECT_EQ(buildImage(), before);
        EXPECT_EQ(names().exportText(), namesBefore);
        EXPECT_EQ(view.selectedIndexes(IDC_PROGRAM_LIST), c.selected);
        EXPECT_FALSE(dlg->modified);
        expectWindowsShowTheProgram();

        for (int i = 0; i < c.steps; ++i)
            click(ID_EDIT_REDO);
        EXPECT_EQ(buildImage(), after);
        EXPECT_EQ(names().exportText(), namesAfter);
        EXPECT_EQ(view.selectedIndexes(IDC_PROGRAM_LIST), selectedAfter);
        EXPECT_TRUE(dlg->modified);
        expectWindowsShowTheProgram();
    }
}

TEST_F(MainWindowUndo, ModifiedFollowsTheSavedStateAndNewStartsAfresh)
{
    restart();
    const std::string path = folder.file("saved.qv3");
    selectMain({0});
    key(KeyX);
    shell.paths = {path};
    click(IDC_SAVE);
    ASSERT_FALSE(dlg->modified);
    const std::string saved = buildImage();
    selectMain({0});
    key(KeyX);

    struct Step {
        int command;
        bool modified;
        bool atSaved;
    };
    const Step steps[] = {
        {ID_EDIT_UNDO, false, true},  // back to what the file holds
        {ID_EDIT_UNDO, true, false},  // past the save
        {ID_EDIT_REDO, false, true},  // back to it
        {ID_EDIT_REDO, true, false},
    };
    for (const Step& s : steps) {
        click(s.command);
        EXPECT_EQ(dlg->modified, s.modified) << s.command;
        EXPECT_EQ(buildImage() == saved, s.atSaved) << s.command;
    }

    // New: nothing left to undo, and the first change after it is undone to
    // the empty program.
    shell.answers = {Answer::No};
    click(ID_FILE_NEW);
    EXPECT_EQ(dlg->history().undoSteps(), 0u);
    const std::string empty = buildImage();
    click(ID_EDIT_UNDO);
    EXPECT_EQ(buildImage(), empty);
    click(ID_EDIT_PASTE);
    click(ID_EDIT_UNDO);
    EXPECT_EQ(buildImage(), empty);
    EXPECT_FALSE(dlg->modified);
}

TEST_F(MainWindowUndo, AnOpenEditorFollowsTheUndoneProgram)
{
    restart();
    // Editing line 4, then undoing: the editor shows the line as it was
    // again, and a further change still goes to line 4.
    selectMain({4}, Notify::DoubleClicked);
    const ProgramLine original = program().main.lines[4];
    choose(editor(), IDC_LINE_PARAM1, 5);
    key(KeyZ);
    ASSERT_TRUE(viewOf(editor()).isWindowShown());
    EXPECT_EQ(editor().editLine().instruction, original.instruction);
    choose(editor(), IDC_LINE_PARAM1, 2);
    EXPECT_EQ(program().main.lines[4].param1(), 3);
    EXPECT_EQ(program().main.count(), 6u);

    // Lines pasted after row 5 and the editor on the last of them: undoing
    // the paste selects row 5 again, and the editor shows it.
    selectMain({5});
    click(ID_EDIT_PASTE);
    selectMain({7}, Notify::DoubleClicked);
    key(KeyZ);
    ASSERT_EQ(program().main.count(), 6u);
    ASSERT_TRUE(viewOf(editor()).isWindowShown());
    EXPECT_EQ(editor().editLine().instruction, program().main.lines[5].instruction);

    // Pasted with nothing selected, the editor on a pasted line: after the
    // undo no row is selected and the editor is gone.
    selectMain({});
    click(ID_EDIT_PASTE);
    selectMain({1}, Notify::DoubleClicked);
    click(ID_EDIT_UNDO);
    EXPECT_FALSE(viewOf(editor()).isWindowShown());
}

TEST_F(MainWindowUndo, CtrlZUndoesUnlessTheSearchBoxHasTheFocus)
{
    restart();
    selectMain({0});
    key(KeyX);
    const std::string cut = buildImage();
    // The search box keeps its own undo.
    EXPECT_FALSE(dlg->onKeyDown(KeyZ, true, IDC_FIND_TEXT));
    EXPECT_EQ(buildImage(), cut);
    // After a button was pressed the focus is on the button.
    EXPECT_TRUE(dlg->onKeyDown(KeyZ, true, IDC_DELETE));
    EXPECT_NE(buildImage(), cut);
    EXPECT_TRUE(dlg->onKeyDown(KeyY, true, IDC_DELETE));
    EXPECT_EQ(buildImage(), cut);
    // In the function list's lines, too.
    Chanshu_dlg& l = list(ListKind::Functions);
    EXPECT_TRUE(l.onKeyDown(KeyZ, true, IDC_SECTIONS_LINES));
    EXPECT_NE(buildImage(), cut);
}

}  // namespace
}  // namespace orlo
