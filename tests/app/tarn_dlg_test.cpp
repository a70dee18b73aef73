// The main window's start-up state, layout and keys, driven through the fake
// view, and the application's run through a fake window host.
#include <gtest/gtest.h>

#include "app/tarn_app.h"
#include "app/tarn_dlg.h"
#include "platform/fake/fake_view.h"
#include "platform/strings.h"

namespace orlo {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.client = Size{1300, 700};
        dlg.attach(&view);
        dlg.onInit();
    }

    FakeView view;
    CTarnDlg dlg;
};

TEST_F(MainWindowTest, StartsWithTitleSizeFigureAndProgressRange)
{
    EXPECT_EQ(view.title(), "Orlo V1.326(固件0.129)");
    EXPECT_EQ(dlg.baseTitle, view.title());
    EXPECT_EQ(view.text(1013), "程序大小：0 字节");
    EXPECT_EQ(view.control(1018).progressLow, 0);
    EXPECT_EQ(view.control(1018).progressHigh, 50);
    EXPECT_EQ(dlg.programExtension, ".qv3");
    EXPECT_FALSE(dlg.modified);
    EXPECT_EQ(dlg.findPosition, -1);
    EXPECT_EQ(dlg.currentLine, -1);
    EXPECT_EQ(CTarnDlg::mainWindow(), &dlg);
}

TEST_F(MainWindowTest, FillsAddressAndPortLists)
{
    struct Case {
        int id, count, index;
        const char* text;
    };
    const Case cases[] = {
        {1010, 256, 0, "地址0"}, {1010, 256, 1, "地址1"}, {1010, 256, 255, "地址255"},
        {1017, 255, 0, "COM1"},  {1017, 255, 254, "COM255"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view.itemCount(c.id), c.count) << c.id;
        EXPECT_EQ(view.itemText(c.id, c.index), c.text) << c.id << " row " << c.index;
    }
    EXPECT_EQ(view.currentIndex(1010), 1);  // address 1
    EXPECT_EQ(view.currentIndex(1017), 0);
    EXPECT_EQ(view.focusedControl(), 1010);
    // Filled with drawing switched off, and switched on again.
    EXPECT_TRUE(view.control(1010).redraw);
    EXPECT_TRUE(view.control(1017).redraw);
}

TEST_F(MainWindowTest, StartingAgainNeitherDuplicatesEntriesNorKeepsTheOldAddress)
{
    view.setCurrentIndex(1010, 7);
    dlg.onInit();
    EXPECT_EQ(view.itemCount(1010), 256);
    EXPECT_EQ(view.itemCount(1017), 255);
    EXPECT_EQ(view.currentIndex(1010), 1);
}

TEST_F(MainWindowTest, GivesTheProgramListTheListFont)
{
    const FakeControl& list = view.control(1005);
    ASSERT_TRUE(list.hasFont);
    EXPECT_EQ(list.font.face, "黑体");
    EXPECT_EQ(list.font.height, 24);
    EXPECT_EQ(list.font.width, 0);
    EXPECT_EQ(list.font.escapement, 0);
    EXPECT_EQ(list.font.orientation, 12);
    EXPECT_EQ(list.font.weight, 400);
    EXPECT_FALSE(list.font.italic || list.font.underline || list.font.strikeOut);
    EXPECT_EQ(list.font.charSet, 0);
    EXPECT_EQ(list.font.pitchAndFamily, 0x20);
}

TEST_F(MainWindowTest, LaysOutEveryControlForTheClientSize)
{
    struct Case {
        int id;
        Rect r;
    };
    const Case cases[] = {
        {1001, {0, 0, 50, 25}},      {1002, {50, 0, 50, 25}},     {1003, {100, 0, 50, 25}},
        {1004, {150, 0, 50, 25}},    {1006, {220, 0, 75, 25}},    {1007, {295, 0, 50, 25}},
        {1017, {365, 0, 100, 25}},   {1008, {465, 0, 100, 25}},   {1010, {585, 0, 120, 25}},
        {1011, {705, 0, 60, 25}},    {1012, {765, 0, 60, 25}},    {1013, {845, 0, 200, 25}},
        {1014, {1065, 0, 150, 25}},  {1015, {1215, 0, 40, 20}},   {1005, {0, 25, 1300, 660}},
        {1018, {0, 675, 1300, 20}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.controlRect(c.id), c.r) << "control " << c.id;
}

TEST_F(MainWindowTest, ListAndProgressBarFollowEveryResize)
{
    struct Case {
        Size client;
        Rect list, progress;
    };
    const Case cases[] = {
        {{640, 480}, {0, 25, 640, 440}, {0, 455, 640, 20}},
        {{1920, 1000}, {0, 25, 1920, 960}, {0, 975, 1920, 20}},
    };
    for (const Case& c : cases) {
        dlg.onSize(c.client.width, c.client.height);
        EXPECT_EQ(view.controlRect(1005), c.list) << c.client.width;
        EXPECT_EQ(view.controlRect(1018), c.progress) << c.client.width;
        EXPECT_EQ(view.controlRect(1015), (Rect{1215, 0, 40, 20}));  // the top row stays
    }
}

TEST_F(MainWindowTest, SwallowsEnterAndEscWhereverTheFocusIs)
{
    for (int focus : {0, 1005, 1010, 1014, 1015}) {
        for (bool ctrl : {false, true}) {
            EXPECT_TRUE(dlg.onKeyDown(KeyReturn, ctrl, focus)) << focus;
            EXPECT_TRUE(dlg.onKeyDown(KeyEscape, ctrl, focus)) << focus;
        }
    }
}

TEST_F(MainWindowTest, IgnoresTheOkCommandAndClosesOnTheCloseBox)
{
    dlg.onCommand(1, Notify::Clicked);  // IDOK
    EXPECT_EQ(view.endResult, -1);
    EXPECT_TRUE(dlg.onClose());
}

TEST(MainWindow, SizeFigureAndPointerLifetime)
{
    EXPECT_EQ(CTarnDlg::sizeText(0), "程序大小：0 字节");
    EXPECT_EQ(CTarnDlg::sizeText(4294967295u), "程序大小：4294967295 字节");
    {
        FakeView view;
        CTarnDlg dlg;
        EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
        dlg.attach(&view);
        dlg.onInit();
        EXPECT_EQ(CTarnDlg::mainWindow(), &dlg);
    }
    EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
}

// Runs a window at once through a fake view: what the Win32 host does, less
// the message loop.
class FakeHost : public WindowHost {
public:
    int runModal(Window& window, Window* owner) override
    {
        templates.push_back(window.templateId());
        owners.push_back(owner);
        window.attach(&view);
        window.onInit();
        titleSeen = view.title();
        mainSeen = CTarnDlg::mainWindow() == &window;
        window.attach(nullptr);
        return 7;
    }
    bool createModeless(Window&, Window*) override { return true; }

    FakeView view;
    std::vector<int> templates;
    std::vector<Window*> owners;
    std::string titleSeen;
    bool mainSeen = false;
};

TEST(TarnApp, RunsTheMainWindowModallyAndReturnsItsResult)
{
    FakeHost host;
    CTarnApp app(host);
    EXPECT_EQ(app.run(), 7);
    ASSERT_EQ(host.templates.size(), 1u);
    EXPECT_EQ(host.templates[0], 102);
    EXPECT_EQ(host.owners[0], nullptr);
    EXPECT_EQ(host.titleSeen, "Orlo V1.326(固件0.129)");
    EXPECT_TRUE(host.mainSeen);
    // The main window is gone once the run returns.
    EXPECT_EQ(CTarnDlg::mainWindow(), nullptr);
}

}  // namespace
}  // namespace orlo
