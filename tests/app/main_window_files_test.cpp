// The main window's file commands through the fake view and shell, with their
// dialogs, questions, messages, title, currentPath and lastFolder; and the
// rules that keep the user's work: every change is offered for saving, Import
// never becomes the file a later Save writes, and a file that fails to open
// changes nothing.
#include <gtest/gtest.h>

#include "app/file_dialogs.h"
#include "model/files.h"
#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

using test::fileBytes;
using test::param1s;
using test::putFile;
using test::sampleLines;

const char* const kSaveQuestion = "文件被修改,是否保存?";

class MainWindowFiles : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
    }

    // Makes a program of lines first .. first + n - 1 and writes it to name.
    std::string makeProgramFile(const std::string& name, int n, int first)
    {
        clearProgram();
        program().main.lines = sampleLines(n, first);
        return programFile(name);
    }
    // Opens path through the Open dialog.
    bool openThroughDialog(const std::string& path)
    {
        shell.paths = {path};
        return dlg->openProgram();
    }
    // Puts lines into the main program as if they had been typed.
    void typeLines(int n, int first)
    {
        program().main.lines = sampleLines(n, first);
        dlg->programChanged();
    }

    struct Snapshot {
        std::vector<int> lines;
        std::string path, folder, title;
        bool modified;
        bool operator==(const Snapshot& o) const
        {
            return lines == o.lines && path == o.path && folder == o.folder && title == o.title &&
                   modified == o.modified;
        }
    };
    Snapshot snapshot() const
    {
        return {param1s(program().main), dlg->currentPath, dlg->lastFolder, view.title(),
                dlg->modified};
    }
};

TEST_F(MainWindowFiles, EveryDialogHasItsFilter)
{
    struct Case {
        int command;
        bool save;
        std::vector<FileFilter> filters;
    };
    const std::vector<FileFilter> program = {{"程序文件(*.qv3)", "*.qv3"}, {"所有文件(*.*)", "*.*"}};
    const Case cases[] = {
        {ID_FILE_OPEN, false, program},
        {IDC_SAVE, true, program},
        {ID_FILE_SAVE_AS, true, program},
        {ID_FILE_IMPORT, false,
         {{"函数文件(*.hanshu)", "*.hanshu"}, {"程序文件(*.qv3)", "*.qv3"}, {"所有文件(*.*)", "*.*"}}},
        {ID_FILE_IMPORT_MAIN, false,
         {{"程序文件(*.qv3)", "*.qv3"}, {"函数文件(*.hanshu)", "*.hanshu"}, {"所有文件(*.*)", "*.*"}}},
        {ID_FILE_EXPORT, true, {{"函数文件(*.hanshu)", "*.hanshu"}, {"所有文件(*.*)", "*.*"}}},
    };
    for (const Case& c : cases) {
        shell.dialogs.clear();
        click(c.command);
        ASSERT_EQ(shell.dialogs.size(), 1u) << c.command;
        EXPECT_EQ(shell.dialogs[0].save, c.save) << c.command;
        const std::vector<FileFilter>& got = shell.dialogs[0].request.filters;
        ASSERT_EQ(got.size(), c.filters.size()) << c.command;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].label, c.filters[i].label) << c.command;
            EXPECT_EQ(got[i].pattern, c.filters[i].pattern) << c.command;
        }
    }
    EXPECT_TRUE(shell.messages.empty());
}

TEST(FileDialogs, FilterStringsSplitIntoLabelsAndPatterns)
{
    EXPECT_EQ(fileFilters("").size(), 0u);
    EXPECT_EQ(fileFilters("a|*.a||ignored|*.x").size(), 1u);
    EXPECT_EQ(fileFilters("a|*.a|b").size(), 1u);  // a label without a pattern
    // A GBK character whose second byte is '|' (0x7C) stays whole.
    const std::string label = std::string("x") + "\x81\x7C" + "y";
    const std::vector<FileFilter> f = fileFilters(label + "|*.q||");
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].label, label);
    EXPECT_EQ(f[0].pattern, "*.q");
}

TEST_F(MainWindowFiles, OpenLoadsTheFileAndShowsItsPath)
{
    const std::string path = makeProgramFile("sub\\prog.qv3", 3, 10);
    clearProgram();
    dlg->refreshMainList();
    ASSERT_TRUE(openThroughDialog(path));
    EXPECT_EQ(param1s(program().main), (std::vector<int>{10, 11, 12}));
    EXPECT_EQ(view.itemCount(1005), 3);
    EXPECT_EQ(view.text(1013), CTarnDlg::sizeText(imageSize()));
    EXPECT_EQ(dlg->currentPath, path);
    EXPECT_EQ(dlg->lastFolder, path.substr(0, path.rfind('\\')));
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129) " + path);
    EXPECT_FALSE(dlg->modified);
    // The next Open dialog starts in that folder.
    click(ID_FILE_OPEN);
    EXPECT_EQ(shell.dialogs.back().request.initialFolder, dlg->lastFolder);
}

TEST_F(MainWindowFiles, OpenAndDropAskAboutUnsavedChanges)
{
    const std::string other = makeProgramFile("other.qv3", 2, 50);
    struct Case {
        bool drop;
        Answer answer;
        bool opened;
    };
    const Case cases[] = {
        {false, Answer::Cancel, false}, {false, Answer::No, true},
        {true, Answer::Cancel, false},  {true, Answer::No, true},
    };
    for (const Case& c : cases) {
        typeLines(3, 1);
        dlg->currentPath.clear();
        shell.messages.clear();
        shell.dialogs.clear();
        shell.answers = {c.answer};
        const Snapshot before = snapshot();
        if (c.drop)
            dlg->onDropFiles({other, "ignored.qv3"});
        else
            shell.paths = {other};
        if (!c.drop)
            click(ID_FILE_OPEN);
        ASSERT_FALSE(shell.messages.empty());
        EXPECT_EQ(shell.messages[0].text, kSaveQuestion);
        EXPECT_EQ(shell.messages[0].caption, "警告");
        EXPECT_EQ(shell.messages[0].buttons, Buttons::YesNoCancel);
        if (c.opened) {
            EXPECT_EQ(param1s(program().main), (std::vector<int>{50, 51}));
            EXPECT_EQ(dlg->currentPath, other);
        } else {
            // Cancel changes nothing, not even the path; no dialog opens.
            EXPECT_TRUE(snapshot() == before);
            EXPECT_TRUE(shell.dialogs.empty());
        }
        shell.paths.clear();
    }
}

TEST_F(MainWindowFiles, YesSavesBeforeOpeningAndASaveThatDoesNotHappenStops)
{
    const std::string mine = folder.file("mine.qv3");
    const std::string other = makeProgramFile("other.qv3", 2, 50);
    typeLines(3, 1);
    // No file name yet and the Save dialog cancelled: nothing is lost.
    shell.answers = {Answer::Yes};
    shell.paths = {""};
    shell.paths.push_back(other);
    const Snapshot before = snapshot();
    click(ID_FILE_OPEN);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(shell.dialogs.size(), 1u);
    EXPECT_TRUE(shell.dialogs[0].save);

    // With a name: written first, then the other file opens.
    shell.dialogs.clear();
    shell.answers = {Answer::Yes};
    shell.paths = {mine, other};
    click(ID_FILE_OPEN);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{50, 51}));
    ASSERT_TRUE(openProgramFile(mine));
    EXPECT_EQ(param1s(program().main), (std::vector<int>{1, 2, 3}));
}

TEST_F(MainWindowFiles, FailedOpenOrDropLeavesEverythingAsItWas)
{
    const std::string good = makeProgramFile("good.qv3", 2, 20);
    std::string image = buildImage();
    const std::string damaged = folder.file("damaged.qv3");
    std::string bad = image;
    bad[bad.size() - 1] ^= 0x55;
    putFile(damaged, bad);
    const std::string shortFile = folder.file("short.qv3");
    putFile(shortFile, image.substr(0, image.size() - 3));
    const std::string wrongName = folder.file("other.QV3");
    putFile(wrongName, image);
    const std::string tooLong = folder.file("long.qv3");
    std::string huge = image;
    huge[2] = 0x7F;  // total length far above 200,000
    putFile(tooLong, huge);

    struct Case {
        std::string path;
        const char* message;  // null: refused without a message
    };
    const Case cases[] = {
        {wrongName, "文件扩展名字出错！！！"},
        {folder.file("sub\\x.txt"), "文件扩展名字出错！！！"},
        {damaged, "文件已损坏（校验错误），没有载入！"},
        {shortFile, "文件不完整（长度不够），没有载入！"},
        {tooLong, nullptr},
        {folder.file("missing.qv3"), ""},  // the system's text
    };
    for (bool drop : {false, true}) {
        for (const Case& c : cases) {
            ASSERT_TRUE(openThroughDialog(good));
            typeLines(3, 7);
            ASSERT_TRUE(dlg->saveProgram());
            const Snapshot before = snapshot();
            shell.messages.clear();
            if (drop)
                dlg->onDropFiles({c.path});
            else
                EXPECT_FALSE(openThroughDialog(c.path)) << c.path;
            EXPECT_TRUE(snapshot() == before) << c.path << (drop ? " dropped" : " opened");
            if (c.message == nullptr) {
                EXPECT_TRUE(shell.messages.empty()) << c.path;
            } else {
                ASSERT_EQ(shell.messages.size(), 1u) << c.path;
                if (*c.message) {
                    EXPECT_EQ(shell.messages[0].text, c.message) << c.path;
                }
            }
            // A later Save writes where the program came from, never over
            // the file that failed.
            const std::string failedBytes = fileBytes(c.path);
            ASSERT_TRUE(dlg->saveProgram());
            EXPECT_EQ(fileBytes(c.path), failedBytes) << c.path;
            EXPECT_EQ(fileBytes(good), buildImage());
        }
    }
}

TEST_F(MainWindowFiles, DropOpensTheFirstFileAndKeepsTheFolderOfAPathWithoutOne)
{
    const std::string first = makeProgramFile("sub\\a.qv3", 1, 30);
    makeProgramFile("b.qv3", 1, 40);
    dlg->onDropFiles({first, folder.file("b.qv3")});
    EXPECT_EQ(param1s(program().main), (std::vector<int>{30}));
    EXPECT_EQ(dlg->currentPath, first);
    const std::string folderOfFirst = first.substr(0, first.rfind('\\'));
    EXPECT_EQ(dlg->lastFolder, folderOfFirst);
    EXPECT_TRUE(shell.messages.empty());

    // A path without a backslash keeps the folder (the dialog would empty it).
    const std::string plain = makeProgramFile("c.qv3", 1, 60);
    if (plain.find('\\') == std::string::npos) {
        dlg->onDropFiles({plain});
        EXPECT_EQ(dlg->currentPath, plain);
        EXPECT_EQ(dlg->lastFolder, folderOfFirst);
        ASSERT_TRUE(openThroughDialog(plain));
        EXPECT_EQ(dlg->lastFolder, "");
    }
    dlg->onDropFiles({});
    EXPECT_EQ(param1s(program().main), (std::vector<int>{60}));
}

TEST_F(MainWindowFiles, SaveWithoutANameAsksForOneAndAppendsTheExtension)
{
    typeLines(4, 1);
    const std::string base = folder.file("prog");
    shell.paths = {base};
    click(IDC_SAVE);
    ASSERT_EQ(shell.dialogs.size(), 1u);
    EXPECT_TRUE(shell.dialogs[0].save);
    EXPECT_EQ(fileBytes(base + ".qv3"), buildImage());
    EXPECT_EQ(fileBytes(base), "<missing>");
    EXPECT_EQ(dlg->currentPath, base);
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129) " + base + ".qv3");
    EXPECT_FALSE(dlg->modified);

    // The next Save writes the same file again, without a dialog.
    typeLines(2, 8);
    click(ID_FILE_SAVE);
    EXPECT_EQ(shell.dialogs.size(), 1u);
    EXPECT_EQ(fileBytes(base + ".qv3"), buildImage());
    EXPECT_FALSE(dlg->modified);
}

TEST_F(MainWindowFiles, SaveAsWritesTheChosenFileAndMakesItCurrent)
{
    typeLines(2, 1);
    const std::string first = folder.file("one.qv3");
    shell.paths = {first};
    click(IDC_SAVE_AS);
    EXPECT_EQ(fileBytes(first), buildImage());
    EXPECT_EQ(dlg->currentPath, first);
    // Cancelled: nothing changes.
    typeLines(3, 5);
    click(ID_FILE_SAVE_AS);
    EXPECT_EQ(dlg->currentPath, first);
    EXPECT_TRUE(dlg->modified);
    EXPECT_NE(fileBytes(first), buildImage());
}

TEST_F(MainWindowFiles, NewEmptiesTheProgramAfterTheQuestion)
{
    const std::string path = makeProgramFile("p.qv3", 3, 1);
    ASSERT_TRUE(openThroughDialog(path));
    program().clipboard.lines = sampleLines(1);
    // Not modified: no question.
    click(ID_FILE_NEW);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(program().main.empty());
    EXPECT_EQ(program().clipboard.count(), 1u);  // the clipboard stays
    EXPECT_EQ(view.itemCount(1005), 0);
    EXPECT_EQ(view.text(1013), "程序大小：0 字节");
    EXPECT_TRUE(dlg->currentPath.empty());
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129)");
    EXPECT_FALSE(dlg->modified);

    typeLines(2, 1);
    shell.answers = {Answer::Cancel};
    click(ID_FILE_NEW);
    EXPECT_EQ(shell.lastMessage(), kSaveQuestion);
    EXPECT_EQ(program().main.count(), 2u);
    shell.answers = {Answer::No};
    click(ID_FILE_NEW);
    EXPECT_TRUE(program().main.empty());
}

TEST_F(MainWindowFiles, ImportInsertsAfterTheSelectionAndNeverBecomesTheCurrentFile)
{
    // A function file of lines 90, 91 and a program file whose main part is
    // 70, 71 (its function 1 must not come along).
    clearProgram();
    program().main.lines = sampleLines(2, 90);
    const std::string function = folder.file("f.hanshu");
    ASSERT_FALSE(saveFunctionFile(program().main, function).empty());
    program().main.lines = sampleLines(2, 70);
    program().functions[0].lines = sampleLines(1, 99);
    const std::string other = programFile("other.qv3");

    const std::string mine = makeProgramFile("mine.qv3", 4, 1);
    ASSERT_TRUE(openThroughDialog(mine));
    const std::string mineBytes = fileBytes(mine);

    struct Case {
        int command;
        std::string path;
        std::vector<int> selected;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {ID_FILE_IMPORT, function, {0, 1, 2}, {1, 2, 3, 90, 91, 4}},
        {ID_FILE_IMPORT, function, {}, {1, 2, 3, 4, 90, 91}},
        {ID_FILE_IMPORT, other, {0}, {1, 70, 71, 2, 3, 4}},
        {ID_FILE_IMPORT_MAIN, other, {3}, {1, 2, 3, 4, 70, 71}},
        {ID_FILE_IMPORT_MAIN, function, {}, {1, 2, 3, 4, 90, 91}},
    };
    for (const Case& c : cases) {
        program().main.lines = sampleLines(4, 1);
        program().functions[0].clear();
        dlg->refreshMainList();
        dlg->modified = false;
        for (int row : c.selected)
            view.setSelected(1005, row, true);
        shell.paths = {c.path};
        click(c.command);
        EXPECT_EQ(param1s(program().main), c.expected) << c.path;
        EXPECT_TRUE(program().functions[0].empty()) << c.path;
        EXPECT_TRUE(dlg->modified) << c.path;
        EXPECT_EQ(dlg->currentPath, mine) << c.path;
        EXPECT_EQ(view.itemCount(1005), static_cast<int>(c.expected.size()));
    }
    // Save writes the program where it came from; the imported files stay.
    const std::string functionBytes = fileBytes(function), otherBytes = fileBytes(other);
    click(IDC_SAVE);
    EXPECT_EQ(fileBytes(function), functionBytes);
    EXPECT_EQ(fileBytes(other), otherBytes);
    EXPECT_NE(fileBytes(mine), mineBytes);
    EXPECT_EQ(fileBytes(mine), buildImage());
}

TEST_F(MainWindowFiles, ImportThatLoadsNothingChangesNothing)
{
    typeLines(3, 1);
    dlg->modified = false;
    const std::string text = folder.file("notes.txt");
    putFile(text, "x");
    shell.paths = {text};
    click(ID_FILE_IMPORT);
    EXPECT_EQ(shell.lastMessage(), "文件类型不对");
    EXPECT_EQ(shell.messages.back().caption, "注意");
    EXPECT_EQ(program().main.count(), 3u);
    EXPECT_FALSE(dlg->modified);
    click(ID_FILE_IMPORT);  // cancelled
    EXPECT_FALSE(dlg->modified);
}

TEST_F(MainWindowFiles, ExportWritesTheMainProgramAsAFunctionFile)
{
    const std::string path = makeProgramFile("p.qv3", 2, 1);
    ASSERT_TRUE(openThroughDialog(path));
    const std::string target = folder.file("main");
    shell.paths = {target};
    click(ID_FILE_EXPORT);
    EXPECT_EQ(fileBytes(target + ".hanshu"), functionFileBytes(program().main));
    EXPECT_EQ(dlg->currentPath, path);

    // An empty main program gives the two bytes 00 00.
    click(ID_FILE_NEW);
    shell.paths = {folder.file("empty.hanshu")};
    click(ID_FILE_EXPORT);
    EXPECT_EQ(fileBytes(folder.file("empty.hanshu")), std::string("\0\0", 2));
    EXPECT_FALSE(dlg->modified);
}

TEST_F(MainWindowFiles, EveryChangeMarksTheProgramModified)
{
    struct Case {
        const char* what;
        std::function<void()> act;
        bool changes;
    };
    const std::string function = folder.file("f.hanshu");
    {
        ProgramSection s;
        s.lines = sampleLines(1, 80);
        ASSERT_FALSE(saveFunctionFile(s, function).empty());
    }
    const Case cases[] = {
        {"delete", [&] { shell.answers = {Answer::Yes}; click(ID_EDIT_DELETE); }, true},
        {"delete refused", [&] { shell.answers = {Answer::No}; click(IDC_DELETE); }, false},
        {"delete all", [&] { shell.answers = {Answer::Yes}; click(ID_EDIT_DELETE_ALL); }, true},
        {"delete all refused", [&] { click(ID_EDIT_DELETE_ALL); }, false},
        {"cut", [&] { click(ID_EDIT_CUT); }, true},
        {"copy", [&] { click(ID_EDIT_COPY); }, false},
        {"paste", [&] { program().clipboard.lines = sampleLines(1); click(ID_EDIT_PASTE); }, true},
        {"paste nothing", [&] { program().clipboard.clear(); click(ID_EDIT_PASTE); }, false},
        {"import", [&] { shell.paths = {function}; click(ID_FILE_IMPORT); }, true},
        {"a line edited elsewhere", [&] { dlg->programChanged(); }, true},
    };
    for (const Case& c : cases) {
        program().main.lines = sampleLines(3, 1);
        dlg->refreshMainList();
        view.setSelected(1005, 1, true);
        dlg->modified = false;
        c.act();
        EXPECT_EQ(dlg->modified, c.changes) << c.what;
        // And the question follows before the program is replaced.
        shell.messages.clear();
        shell.answers = {Answer::Cancel};
        click(ID_FILE_NEW);
        EXPECT_EQ(!shell.messages.empty() && shell.messages[0].text == kSaveQuestion, c.changes)
            << c.what;
        shell.answers.clear();
    }
}

TEST_F(MainWindowFiles, ClosingAsksAboutUnsavedChanges)
{
    EXPECT_TRUE(dlg->onClose());
    EXPECT_TRUE(shell.messages.empty());
    typeLines(2, 1);
    const struct {
        Answer answer;
        std::string savePath;
        bool closes;
    } cases[] = {
        {Answer::Cancel, "", false},
        {Answer::Yes, "", false},  // the Save dialog cancelled
        {Answer::Yes, folder.file("kept.qv3"), true},
        {Answer::No, "", true},
    };
    for (const auto& c : cases) {
        dlg->modified = true;
        dlg->currentPath.clear();
        shell.answers = {c.answer};
        shell.paths = {c.savePath};
        EXPECT_EQ(dlg->onClose(), c.closes);
        EXPECT_EQ(shell.lastMessage(), kSaveQuestion);
        if (!c.savePath.empty()) {
            EXPECT_EQ(fileBytes(c.savePath), buildImage());
        }
    }
}

}  // namespace
}  // namespace orlo
