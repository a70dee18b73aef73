// The line editor, the function list and the find window on real controls
// from Tarn.exe's templates beside the real main window: a line built through
// the editor's real combo and edit boxes appears in the real main list, and
// the function list measures its sections in the real font. Needs a display:
// host.sh runs it under Xvfb; elsewhere the tests skip themselves.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/tarn_dlg.h"
#include "expr/names.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/tests/win32_test_support.h"
#include "platform/win32/wide.h"
#include "res/resource.h"
#include "ui/find_dlg.h"
#include "ui/line_editor.h"
#include "ui/section_list_dlg.h"

namespace orlo {
namespace {

using test::pump;
using test::tarnPath;
using test::windowText;
using test::windowsRequired;

#define START_MAIN_WINDOW()                   \
    do {                                      \
        start();                              \
        if (HasFatalFailure() || IsSkipped()) \
            return;                           \
    } while (0)

class Win32EditingWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        clearProgram();
        program().clipboard.clear();
        resources = LoadLibraryExW(tarnPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!resources) {
            if (windowsRequired())
                FAIL() << "cannot load the templates of Tarn.exe";
            GTEST_SKIP() << "Tarn.exe not built";
        }
        host = std::make_unique<Win32WindowHost>(resources, IDI_MAIN);
    }
    void TearDown() override
    {
        host.reset();
        dlg.reset();
        if (resources)
            FreeLibrary(resources);
        clearProgram();
        names().clear();
    }

    void start()
    {
        MainWindowServices services;
        services.host = host.get();
        dlg = std::make_unique<CTarnDlg>(services);
        if (!host->createModeless(*dlg, nullptr)) {
            if (windowsRequired())
                FAIL() << "the main window could not be created";
            GTEST_SKIP() << "no display to create windows on";
        }
        hwnd = windowHandle(dlg.get());
        ASSERT_NE(hwnd, nullptr);
        dlg->view()->showWindow(true);
        SetForegroundWindow(hwnd);
        pump(100, [] { return false; });
        editor = windowHandle(&dlg->editing().lineEditor());
        ASSERT_NE(editor, nullptr) << "the line editor was not created at start-up";
    }

    HWND item(HWND dialog, int id) const { return GetDlgItem(dialog, id); }
    std::wstring row(HWND list, int i) const
    {
        wchar_t buf[1024] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    int rows(HWND list) const { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }
    std::wstring comboItem(HWND combo, int i) const
    {
        wchar_t buf[1024] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    // The user picks entry i of a drop-down list: the selection changes and
    // the dialog hears CBN_SELCHANGE, as from a click in the list.
    void pick(HWND dialog, int id, int i)
    {
        HWND combo = item(dialog, id);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    // Typed characters into an edit box or a combo box's edit field: each
    // key goes through the control, which tells the dialog of the change.
    void type(HWND dialog, int id, const std::wstring& text)
    {
        HWND target = item(dialog, id);
        if (HWND edit = FindWindowExW(target, nullptr, L"Edit", nullptr))
            target = edit;
        SetFocus(target);
        for (wchar_t c : text)
            SendMessageW(target, WM_CHAR, c, 1);
    }
    void press(HWND dialog, int id) { SendMessageW(item(dialog, id), BM_CLICK, 0, 0); }
    void menu(int id) { SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void listNote(int id, WORD code)
    {
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(item(hwnd, id)));
    }
    Rect clientRectOf(HWND parent, HWND child)
    {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        return Rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    }

    FakeShell shell;
    ShellScope scope{shell};
    HMODULE resources = nullptr;
    std::unique_ptr<Win32WindowHost> host;
    std::unique_ptr<CTarnDlg> dlg;
    HWND hwnd = nullptr;
    HWND editor = nullptr;
};

TEST_F(Win32EditingWindows, ALineBuiltInTheRealEditorAppearsInTheRealMainList)
{
    START_MAIN_WINDOW();
    EXPECT_FALSE(IsWindowVisible(editor));
    press(hwnd, IDC_ADD_LINE);
    pump(100, [] { return false; });
    ASSERT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(windowText(editor), L"编辑指令");
    EXPECT_EQ(GetFocus(), item(editor, IDC_LINE_REMARK));

    pick(editor, IDC_LINE_SIDE, 1);
    EXPECT_EQ(windowText(item(editor, IDC_LINE_OR)), L"条件不满足输出");
    HWND kinds = item(editor, IDC_LINE_KIND);
    ASSERT_EQ(SendMessageW(kinds, CB_GETCOUNT, 0, 0), 23);
    EXPECT_EQ(comboItem(kinds, 0), L"系统软件资源(118)");
    EXPECT_EQ(comboItem(kinds, 1), L"输出操作");
    pick(editor, IDC_LINE_KIND, 1);
    EXPECT_EQ(comboItem(item(editor, IDC_LINE_PARAM1), 3), L"点动某一路");
    pick(editor, IDC_LINE_PARAM1, 3);
    // The choice list's text, then what the user types over it.
    SetWindowTextW(item(editor, IDC_LINE_PARAM3), L"");
    type(editor, IDC_LINE_PARAM3, L"500");
    EXPECT_EQ(windowText(item(editor, IDC_LINE_PARAM3)), L"500");
    type(editor, IDC_LINE_REMARK, L"点动");
    EXPECT_EQ(rows(item(hwnd, IDC_PROGRAM_LIST)), 0);  // nothing before confirming

    press(editor, IDOK);
    pump(100, [] { return false; });
    EXPECT_FALSE(IsWindowVisible(editor));
    HWND list = item(hwnd, IDC_PROGRAM_LIST);
    ASSERT_EQ(rows(list), 1);
    EXPECT_EQ(row(list, 0), L"1   ->  输出操作  点动 输出1 500ms       备注:点动");
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 0, 0), 1);
    EXPECT_EQ(windowText(item(hwnd, IDC_PROGRAM_SIZE)), wideFromGbk(CTarnDlg::sizeText(imageSize())));
    ASSERT_EQ(program().main.count(), 1u);
    EXPECT_EQ(program().main.lines[0].remark, "点动");
    EXPECT_TRUE(dlg->modified);
}

TEST_F(Win32EditingWindows, AnExistingLineChangesAtOnceAndAPickedSuggestionIsShown)
{
    ProgramLine line;
    line.isResult = 1;
    line.instruction[0] = 19;
    line.instruction[1] = 1;
    line.instruction[2] = 2;
    line.instruction[3] = 1;
    program().main.lines = {line};
    START_MAIN_WINDOW();
    dlg->refreshMainList();
    HWND list = item(hwnd, IDC_PROGRAM_LIST);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    listNote(IDC_PROGRAM_LIST, LBN_DBLCLK);
    pump(100, [] { return false; });
    ASSERT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(windowText(item(editor, IDC_LINE_KIND)), L"全局数组简单处理");
    EXPECT_EQ(windowText(item(editor, IDC_LINE_PARAM3)), L"全局数组1");

    pick(editor, IDC_LINE_PARAM3, 4);
    EXPECT_EQ(windowText(item(editor, IDC_LINE_PARAM3)), L"全局数组5");
    EXPECT_EQ(program().main.lines[0].param3()[0], 5);
    EXPECT_EQ(row(list, 0), L"1   ->  全局数组1=全局数组1+全局数组5");

    // Cancel hides; the change stays.
    press(editor, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(program().main.lines[0].param3()[0], 5);
}

TEST_F(Win32EditingWindows, TheFunctionListMeasuresItsSectionsInTheRealFont)
{
    for (int n : {1, 3})
        program().functions[static_cast<std::size_t>(n - 1)].lines.resize(2);
    START_MAIN_WINDOW();
    menu(ID_SETTINGS_FUNCTIONS);
    pump(100, [] { return false; });
    Chanshu_dlg* functions = dlg->editing().sectionList(ListKind::Functions, false);
    ASSERT_NE(functions, nullptr);
    HWND f = windowHandle(functions);
    ASSERT_TRUE(IsWindowVisible(f));
    EXPECT_EQ(windowText(f), L"函数列表");
    HWND sections = item(f, IDC_SECTIONS_LIST);
    ASSERT_EQ(rows(sections), 100);
    EXPECT_EQ(row(sections, 0), L"函数1  √");
    EXPECT_EQ(row(sections, 1), L"函数2  ");
    EXPECT_EQ(rows(item(f, IDC_SECTIONS_LINES)), 2);
    EXPECT_EQ(functions->sectionListWidth, 120);

    ASSERT_EQ(names().rename("函数2", "一个相当长的函数别名用来看看宽度"), "");
    functions->refreshSectionList();
    EXPECT_EQ(row(sections, 1), L"一个相当长的函数别名用来看看宽度  ");
    EXPECT_GT(functions->sectionListWidth, 120);
    RECT client{};
    GetClientRect(f, &client);
    const Rect lines = clientRectOf(f, item(f, IDC_SECTIONS_LINES));
    EXPECT_EQ(lines.x, functions->sectionListWidth);
    EXPECT_EQ(lines.x + lines.width, client.right);
    EXPECT_EQ(clientRectOf(f, sections).width, functions->sectionListWidth);
    // The long alias is seen whole beside the scroll bar.
    RECT inside{};
    GetClientRect(sections, &inside);
    HDC dc = GetDC(sections);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(sections, WM_GETFONT, 0, 0)));
    const std::wstring alias = row(sections, 1) + L"√";
    SIZE extent{};
    GetTextExtentPoint32W(dc, alias.c_str(), static_cast<int>(alias.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(sections, dc);
    EXPECT_LE(extent.cx, inside.right);

    // A double click on a line opens the editor on that function's line.
    HWND lineList = item(f, IDC_SECTIONS_LINES);
    SendMessageW(lineList, LB_SETSEL, FALSE, -1);
    SendMessageW(lineList, LB_SETSEL, TRUE, 1);
    SendMessageW(f, WM_COMMAND, MAKEWPARAM(IDC_SECTIONS_LINES, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(lineList));
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_EQ(dlg->editing().lineEditor().editSection(), 1);
}

TEST_F(Win32EditingWindows, TheFindWindowSelectsTheLineInTheMainList)
{
    ProgramLine plain, marked;
    plain.instruction[0] = marked.instruction[0] = 1;
    plain.instruction[1] = marked.instruction[1] = 1;
    marked.remark = "甲";
    program().main.lines = {plain, plain, marked};
    START_MAIN_WINDOW();
    dlg->refreshMainList();
    menu(ID_EDIT_FIND);
    pump(100, [] { return false; });
    HWND find = windowHandle(dlg->editing().findWindow(false));
    ASSERT_NE(find, nullptr);
    ASSERT_TRUE(IsWindowVisible(find));
    EXPECT_EQ(windowText(find), L"查找");
    type(find, IDC_FIND_WINDOW_TEXT, L"甲");
    press(find, IDOK);
    HWND list = item(hwnd, IDC_PROGRAM_LIST);
    EXPECT_EQ(SendMessageW(list, LB_GETSEL, 2, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    press(find, IDCANCEL);
    EXPECT_FALSE(IsWindowVisible(find));
}

}  // namespace
}  // namespace orlo
