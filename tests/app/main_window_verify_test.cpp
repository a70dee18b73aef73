// "校验" in the main window against a scripted controller: the outcome in the
// information window, the program in the window never touched, and a check
// that a later command overtakes.
#include <gtest/gtest.h>

#include "tests/app/main_window_fixture.h"

namespace orlo {
namespace {

using test::param1s;
using test::sampleLines;

class MainWindowVerify : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        start();
        program().main.lines = sampleLines(4, 10);
        program().functions[1].lines = sampleLines(2, 30);
        controller.image = buildImage();
        dlg->refreshMainList();
        openSerial();
    }
    std::string shownText() const { return host.lastView.text(1027); }
};

TEST_F(MainWindowVerify, OutcomeGoesToTheInformationWindow)
{
    struct Case {
        const char* what;
        std::function<void()> change;  // to the window's program after the write
        std::string textStart;
        const char* mentions;
    } cases[] = {
        {"same program", [] {}, "校验结果：相同", "一致"},
        {"one changed remark", [] { program().main.lines[2].remark = "新"; }, "校验结果：不同，共 1 处",
         "主程序 第3行：不同"},
        {"an alias", [] { names().rename("输入3", "门"); }, "校验结果：不同，名称表不同", "门"},
    };
    const std::string written = controller.image;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        program().main.lines = sampleLines(4, 10);
        names().clear();
        c.change();
        const std::vector<int> before = param1s(program().main);
        host.templates.clear();
        click(ID_COMM_VERIFY);
        controller.serve(*dlg);
        ASSERT_EQ(host.templates, std::vector<int>{141});
        EXPECT_EQ(shownText().rfind(c.textStart, 0), 0u) << shownText();
        EXPECT_NE(shownText().find(c.mentions), std::string::npos) << shownText();
        EXPECT_EQ(param1s(program().main), before);
        EXPECT_FALSE(dlg->modified);
        EXPECT_EQ(controller.image, written) << "nothing is written";
    }
}

TEST_F(MainWindowVerify, AFailedReadSaysSoAndComparesNothing)
{
    controller.image[20] = static_cast<char>(controller.image[20] ^ 1);  // check value now wrong
    click(ID_COMM_VERIFY);
    controller.serve(*dlg);
    ASSERT_EQ(host.templates, std::vector<int>{141});
    EXPECT_EQ(shownText().rfind("校验失败", 0), 0u) << shownText();
    EXPECT_EQ(shownText().find("相同"), std::string::npos);
}

TEST_F(MainWindowVerify, ALaterCommandOvertakesAWaitingCheck)
{
    controller.silent = true;
    click(ID_COMM_VERIFY);
    controller.serve(*dlg);
    controller.silent = false;
    program().main.lines = sampleLines(1, 90);
    shell.answers = {Answer::Yes};
    click(ID_COMM_WRITE_ALL);
    controller.serve(*dlg);
    EXPECT_EQ(shell.lastMessage(), "全部数据已写入！");
    EXPECT_TRUE(host.templates.empty()) << "the abandoned check shows nothing";
}

}  // namespace
}  // namespace orlo
