// The relay command wizard driven through the fake view: its start-up state,
// the form of every operation, the frames and refusals of "生成命令", the
// filling-in help and "发送".
#include <gtest/gtest.h>

#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "tests/tools/fake_tool_link.h"
#include "tools/command_wizard.h"

namespace orlo {
namespace {

// Control ids of dialog 131.
enum : int {
    ParamLabel = 1013, ReplyLabel = 1014, AddressLabel = 1020, ChannelLabel = 1021,
    AddressList = 1022, OperationList = 1023, ChannelList = 1024, ParamBox = 1025,
    ReplyList = 1026, Output = 1027, Generate = 1028, HelpButton = 1029, Send = 1030,
};

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wizard.attach(&view);
        wizard.onInit();
    }

    void chooseOperation(int op)
    {
        view.setCurrentIndex(OperationList, op);
        wizard.onCommand(OperationList, Notify::SelChanged);
    }
    void press(int id) { wizard.onCommand(id, Notify::Clicked); }
    bool shown(int id) { return view.isControlShown(id); }

    FakeShell shell;
    ShellScope scope{shell};
    FakeView view;
    test::FakeToolLink link;
    Czhilingshengchengqi wizard{link};
};

TEST_F(WizardTest, StartsWithItsListsCaptionsAndUsage)
{
    EXPECT_EQ(wizard.templateId(), 131);
    EXPECT_EQ(view.title(), "继电器板指令生成向导V1.7");
    struct ListCase {
        int id, count, selected, row;
        const char* text;
    };
    const ListCase lists[] = {
        {AddressList, 256, 1, 255, "地址255"},   {OperationList, 15, 1, 0, "查询状态"},
        {OperationList, 15, 1, 14, "顺序闭合某连续几路"}, {ChannelList, 32, 0, 0, "第1路"},
        {ChannelList, 32, 0, 31, "第32路"},      {ReplyList, 2, 0, 1, "不需要回码"},
    };
    for (const ListCase& c : lists) {
        EXPECT_EQ(view.itemCount(c.id), c.count) << c.id;
        EXPECT_EQ(view.currentIndex(c.id), c.selected) << c.id;
        EXPECT_EQ(view.itemText(c.id, c.row), c.text) << c.id;
    }
    EXPECT_EQ(view.itemText(ReplyList, 0), "需要回码");
    struct Caption {
        int id;
        const char* text;
    };
    const Caption captions[] = {
        {AddressLabel, "目标地址："}, {ChannelLabel, "第几路："}, {ParamLabel, "参数：   "},
        {ReplyLabel, "回码："},       {HelpButton, "填写说明"}, {Generate, "生成命令 （16进制）"},
        {Send, "发送"},
    };
    for (const Caption& c : captions)
        EXPECT_EQ(view.text(c.id), c.text) << c.id;
    EXPECT_EQ(view.text(Output),
              "使用说明：\r\n"
              "这个小程序可以生成继电器板的控制命令，选择需要进行的操作，然后点生成命令就可以生成对应的指令。\r\n"
              "使用十六进制发送，波特率9600,n,8,1");
}

TEST_F(WizardTest, OpeningAgainDoesNotDuplicateEntries)
{
    wizard.onInit();
    EXPECT_EQ(view.itemCount(AddressList), 256);
    EXPECT_EQ(view.itemCount(OperationList), 15);
}

TEST_F(WizardTest, EachOperationShowsItsForm)
{
    // 'S' shown, 'H' hidden for address, channel, parameter, reply (each with its label).
    struct Case {
        int op;
        const char* paramLabel;
        const char* addressLabel;
        const char* groups;
        bool emptied;
    };
    const Case cases[] = {
        {0, "路号(空格间隔):", "目标地址", "SSHS", false},
        {3, "路号(空格间隔):", "目标地址", "SSHS", false},
        {4, "点动时间(毫秒): ", "目标地址", "SSSS", false},
        {7, "路号(哪几路开):", "目标地址", "SHSS", true},
        {10, "路号(哪几路开):", "目标地址", "SHSS", true},
        {11, "目标地址:", "目标地址", "HHSH", true},
        {12, "目标地址:", "现有地址", "SHSH", true},
        {13, "参数:", "现有地址", "SHSS", true},
        {14, "参数:", "现有地址", "SHSS", true},
    };
    const int boxes[4][2] = {{AddressList, AddressLabel}, {ChannelList, ChannelLabel},
                             {ParamBox, ParamLabel}, {ReplyList, ReplyLabel}};
    for (const Case& c : cases) {
        chooseOperation(13);  // shows every group
        view.setText(ParamBox, "1 2");
        chooseOperation(c.op);
        EXPECT_EQ(view.text(ParamLabel), c.paramLabel) << c.op;
        EXPECT_EQ(view.text(AddressLabel), c.addressLabel) << c.op;
        for (int g = 0; g < 4; ++g) {
            for (int id : boxes[g])
                EXPECT_EQ(shown(id), c.groups[g] == 'S') << "operation " << c.op << " control " << id;
        }
        EXPECT_EQ(view.text(ParamBox), c.emptied ? "" : "1 2") << c.op;
    }
}

TEST_F(WizardTest, CloseAllKeepsTheParameterLabelAndNoSelectionShowsEverything)
{
    chooseOperation(4);
    chooseOperation(5);
    EXPECT_EQ(view.text(ParamLabel), "点动时间(毫秒): ");
    EXPECT_TRUE(shown(AddressList));
    EXPECT_FALSE(shown(ChannelList));
    EXPECT_FALSE(shown(ParamBox));

    view.setText(ParamBox, "kept");
    chooseOperation(-1);
    EXPECT_EQ(view.text(ParamLabel), "无效参数：   ");
    for (int id : {AddressList, ChannelList, ParamBox, AddressLabel, ChannelLabel, ParamLabel})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_EQ(view.text(ParamBox), "kept");
}

TEST_F(WizardTest, ReplyListStaysHiddenAfterAddressChangesUntilASequence)
{
    chooseOperation(11);
    EXPECT_FALSE(shown(ReplyList));
    for (int op : {0, 4, 5, 7, 12}) {
        chooseOperation(op);
        EXPECT_FALSE(shown(ReplyList)) << op;
        EXPECT_FALSE(shown(ReplyLabel)) << op;
    }
    chooseOperation(14);
    EXPECT_TRUE(shown(ReplyList));
    EXPECT_TRUE(shown(ReplyLabel));
}

TEST_F(WizardTest, GenerateWritesTheFrame)
{
    struct Case {
        int op, address, channel, reply;
        const char* parameter;
        const char* output;
    };
    const Case cases[] = {
        {1, 1, 0, 0, "", "55 01 12 00 00 00 01 69"},
        {4, 1, 2, 0, "1000", "55 01 21 00 03 E8 03 65"},
        {7, 1, 0, 0, "1 3 5 12", "55 01 15 00 00 08 15 88"},
        {14, 1, 0, 0, "2 8 500", "55 01 18 02 32 01 08 AB"},
        {11, 7, 0, 0, "5", "55 F5 41 00 00 00 05 90"},
        {2, 200, 31, 1, "", "55 C8 31 00 00 00 20 6E"},
    };
    for (const Case& c : cases) {
        chooseOperation(c.op);
        view.setCurrentIndex(AddressList, c.address);
        view.setCurrentIndex(ChannelList, c.channel);
        view.setCurrentIndex(ReplyList, c.reply);
        view.setText(ParamBox, c.parameter);
        press(Generate);
        EXPECT_EQ(view.text(Output), c.output) << c.op;
    }
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_TRUE(link.sent.empty());  // building sends nothing
}

TEST_F(WizardTest, RefusalsShowTheirMessageAndEmptyTheOutput)
{
    struct Case {
        int op, reply;
        const char* parameter;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {0, 1, "", "查询状态必须要有返回码！", ""},
        {8, 0, "", "请输入要求断开的路数，中间使用空格间隔，比如 1 3 5 12 16  ", "提示"},
        {13, 0, "", "请输入顺序断开的参数，首 末 间隔时间，比如 2 8 100 从第二路到第八路间隔100毫秒 ",
         "提示"},
    };
    for (const Case& c : cases) {
        shell.messages.clear();
        chooseOperation(c.op);
        view.setCurrentIndex(ReplyList, c.reply);
        view.setText(ParamBox, c.parameter);
        view.setText(Output, "old");
        press(Generate);
        ASSERT_EQ(shell.messages.size(), 1u) << c.op;
        EXPECT_EQ(shell.messages[0].text, c.text);
        EXPECT_EQ(shell.messages[0].caption, c.caption);
        EXPECT_EQ(view.text(Output), "") << c.op;
    }
}

TEST_F(WizardTest, OffendingCharactersAreReportedAndTheFrameStillBuilt)
{
    chooseOperation(7);
    view.setText(ParamBox, "1 a 3 b");
    press(Generate);
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, "参数只能是数字");
    EXPECT_EQ(view.text(Output), "55 01 15 00 00 00 05 70");
}

TEST_F(WizardTest, GenerateWithoutAnOperationDoesNothing)
{
    chooseOperation(-1);
    view.setText(Output, "kept");
    press(Generate);
    EXPECT_EQ(view.text(Output), "kept");
    press(HelpButton);
    EXPECT_EQ(view.text(Output), "kept");
}

TEST_F(WizardTest, HelpForEveryOperation)
{
    struct Case {
        int op;
        const char* heading;
        const char* contains;
    };
    const Case cases[] = {
        {0, "查询目标模块的状态", "查询状态命令是肯定需要回码的。程序使用\r\n0x10功能码查询"},
        {1, "闭合某一路的填写说明：", "选择第几路，选择是否需要回码，无回码命令可以连发"},
        {2, "断开某一路的填写说明：", "无回码命令可以连发"},
        {3, "翻转某一路的填写说明：", "无回码命令可以连发"},
        {4, "点动某一路的填写说明：", "点动时间就是继电器闭合的时间。"},
        {5, "全部闭合填写说明：", "选择地址，选择是否需要回码，无回码命令可以连发。"},
        {6, "全部断开填写说明：", "选择地址，选择是否需要回码，无回码命令可以连发。"},
        {7, "组闭合填写说明：", "就是闭合第一路\r\n第三路第五路和第十二路"},
        {8, "组断开填写说明：", "就是断开第一路\r\n第三路第五路和第十二路"},
        {9, "组翻转填写说明：", "就是翻转第一路\r\n第三路第五路和第十二路"},
        {10, "指令执行填写说明：",
         "就是只闭合第一路\r\n第三路第五路和第十二路，其他所有路断开\r\n如果不填，就是所有路都断开"},
        {11, "指令执行填写说明：",
         "\r\n目标地址中填写需要更改为的目标地址。\r\nQuorn模块上电十秒以内允许修改地址"},
        {12, "指令执行填写说明：",
         "\r\n选择地址中选择需要更改的模块的现有地址。\r\n目标地址中填写需要更改为的目标地址。"},
        {13, "指令执行填写说明：", "间隔500毫秒依次断开\r\n只填一个数时末路与首路相同，不填间隔时间时间隔为100毫秒"},
        {14, "指令执行填写说明：", "参数中填写：首路 末路 间隔时间\r\n比如 2 8 500  从第二路到第八路 间隔500毫秒依次闭合"},
    };
    for (const Case& c : cases) {
        chooseOperation(c.op);
        press(HelpButton);
        const std::string out = view.text(Output);
        EXPECT_EQ(out.rfind(std::string(c.heading) + "\r\n", 0), 0u) << c.op;
        EXPECT_NE(out.find(c.contains), std::string::npos) << c.op;
        EXPECT_EQ(out, Czhilingshengchengqi::helpText(c.op));
    }
    EXPECT_EQ(Czhilingshengchengqi::helpText(15), "");
}

TEST_F(WizardTest, SendParsesRewritesAndSendsWithTheWizardPending)
{
    view.setText(Output, "  55 1 12 0 0 0 1 69 ");
    press(Send);
    EXPECT_EQ(view.text(Output), "55 01 12 00 00 00 01 69");
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.lastHex(), "55 01 12 00 00 00 01 69");
    EXPECT_FALSE(link.sent[0].restarted);  // the plain send path
    EXPECT_EQ(link.sent[0].pendingWhenSent, PendingOperation::WizardSend);
}

TEST_F(WizardTest, SendOfAGeneratedFrame)
{
    chooseOperation(0);
    press(Generate);
    press(Send);
    EXPECT_EQ(link.lastHex(), "55 01 10 00 00 00 00 66");
}

TEST_F(WizardTest, SendOfTextThatIsNotHexIsRefusedAndKeepsTheText)
{
    const std::string texts[] = {
        Czhilingshengchengqi::usageText(),
        Czhilingshengchengqi::helpText(0),
        "55 01 1234567890",
        "",
        [] {  // 499 characters: too long, though every token is hex
            std::string t;
            for (int i = 0; i < 249; ++i)
                t += "1 ";
            return t + "1";
        }(),
    };
    for (const std::string& t : texts) {
        shell.messages.clear();
        view.setText(Output, t);
        press(Send);
        EXPECT_EQ(view.text(Output), t);
        // An empty box has nothing to refuse.
        EXPECT_EQ(shell.lastMessage(), t.empty() ? "" : kNotHexMessage) << t;
    }
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(link.pending, PendingOperation::Idle);
}

}  // namespace
}  // namespace orlo
