// The line editor through a fake view: lines of every kind family built and
// shown, the choice lists, the kind-change and count-byte mends, changes that
// reach the list at once, add mode, cancel, and remote-code learning.
#include <algorithm>

#include "catalogue/condition_encoding.h"
#include "catalogue/conditions.h"
#include "catalogue/result_encoding.h"
#include "catalogue/results.h"
#include "device/frames.h"
#include "platform/strings.h"
#include "tests/ui/editing_fixture.h"

namespace orlo::test {
namespace {

class LineEditorTest : public EditingTest {
protected:
    // Opens the editor to add a line to the (empty) main program.
    void startAdding()
    {
        drawMain();
        windows.addMainLine();
        ASSERT_TRUE(editorView().isWindowShown());
    }
    int encodedLength(const ProgramLine& l)
    {
        return l.isResult ? resultKindInfo(l.instruction.data()).length
                          : conditionKindInfo(l.instruction.data()).length;
    }
};

// ---- Building lines.

struct BuildCase {
    const char* name;
    bool isResult;
    const char* kind;   // as the kind list shows it
    int param1, param2;
    int pick;           // suggestion picked (from 1), 0 for none
    const char* text;   // typed into the third parameter, nullptr for none
    const char* bytes;  // the instruction's first bytes
    const char* row;    // the list row
};

const BuildCase buildCases[] = {
    {"OutputJog", true, "输出操作", 4, 1, 0, "500", "01 04 01 00 00 01 F4",
     "1   ->  输出操作  点动 输出1 500ms"},
    {"OutputChannelList", true, "输出操作", 5, 1, 0, "1 2 3 32", "01 05 01 80 00 00 07",
     "1   ->  输出操作  断开第1 2 3 32路"},
    {"IntegerMinusOne", true, "全局整数(原内部变量)", 1, 1, 0, "-1", "04 01 01 FF FF FF FF",
     "1   ->  全局整数1 = -1"},
    {"LocalArrayString", true, "局部数组", 2, 2, 0, "3:abc", "1B 02 02 03 00 00 00 03 61 62 63",
     "1   ->  局部数组3 = \"abc\""},
    {"GlobalArrayPick", true, "全局数组简单处理", 1, 2, 5, nullptr, "13 01 02 05",
     "1   ->  全局数组1=全局数组1+全局数组5"},
    {"InfraredArrayPick", true, "红外发射", 2, 1, 7, nullptr, "09 02 01 01 07",
     "1   ->  红外通道1发送全局数组7代表的红外码"},
    {"FormulaFullWidth", true, "表达式/用户函数(118)", 1, 1, 0, "整数1=（整数2+1）",
     "1E 01 01 1E 1E 04 03 02 01 02 01 17 05 64 28 00 00 03 02 02 03 64 2B 06 01 00 00 00 01 05 "
     "64 29 00 00",
     "1   ->  表达式运算: 整数1=(整数2 + 1)"},
    {"SendStringTypographicQuotes", true, "数据口发送数据(118)", 1, 2, 0, "  “ab”  ",
     "20 01 02 04 22 61 62 22", "1   ->  数据口1  发送字符串: \"ab\""},
    {"TimerCondition", false, "定时器", 1, 1, 0, "100", "03 01 01 00 00 00 64",
     "1   如果  定时器1  大于100"},
    {"DatePick", false, "日期设定", 1, 1, 3, nullptr, "09 01 01 03",
     "1   如果  日期设定: 进入时刻  2003年"},
    {"LinkedSwitchPick", false, "联机开关量", 1, 1, 2, nullptr, "0C 01 01 02",
     "1   如果  联机开关量  地址0  第1路  闭合"},
    {"ArrayLengthPick", false, "全局数组简单判断", 1, 1, 2, nullptr, "11 01 01 02",
     "1   如果  全局数组1的字节数为1"},
    {"ConditionFormulaFullWidth", false, "表达式/函数判断(118)", 1, 1, 0, "整数1》5",
     "18 01 01 0E 0E 04 03 02 01 02 02 07 06 01 00 00 00 05", "1   如果  整数1>5"},
    {"ReceivedStringTypographicQuotes", false, "数据口接收到数据(118)", 1, 3, 0, "“ab”",
     "19 01 03 04 22 61 62 22", "1   如果  数据口1 = 字符串 \"ab\""},
};

class BuildLine : public LineEditorTest, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuildLine, GivesTheBytesAndTheRow)
{
    const BuildCase& c = GetParam();
    startAdding();
    choose(IDC_LINE_SIDE, c.isResult ? 1 : 0);
    chooseText(IDC_LINE_KIND, c.kind);
    choose(IDC_LINE_PARAM1, c.param1 - 1);
    choose(IDC_LINE_PARAM2, c.param2 - 1);
    if (c.pick > 0)
        choose(IDC_LINE_PARAM3, c.pick - 1);
    if (c.text)
        typeParam3(c.text);
    // Nothing reaches the program before the new line is confirmed.
    EXPECT_TRUE(program().main.empty());
    confirm();

    ASSERT_EQ(program().main.count(), 1u);
    const ProgramLine& line = program().main.lines[0];
    EXPECT_EQ(line.isResult, c.isResult ? 1 : 0);
    const std::string bytes = c.bytes;
    EXPECT_EQ(hexBytes(line, (bytes.size() + 1) / 3), bytes);
    EXPECT_EQ(mainRows(), std::vector<std::string>{c.row});
    EXPECT_FALSE(editorView().isWindowShown());
    EXPECT_TRUE(host.modified);
}

INSTANTIATE_TEST_SUITE_P(EveryKindFamily, BuildLine, ::testing::ValuesIn(buildCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineEditorTest, AddModeStartsEmptyAndConfirmingAtOnceInsertsKindZero)
{
    program().main.lines = {simpleLine(false, 3, "old remark")};
    host.current = 0;
    startAdding();
    FakeView& v = editorView();
    EXPECT_EQ(v.control(IDC_LINE_SIDE).items, (std::vector<std::string>{"输入条件", "输出结果"}));
    EXPECT_EQ(v.currentIndex(IDC_LINE_SIDE), 0);
    EXPECT_EQ(v.currentIndex(IDC_LINE_KIND), -1);
    EXPECT_EQ(v.itemCount(IDC_LINE_KIND), 17);  // the menu ends before the unnamed kind 26
    EXPECT_EQ(v.itemCount(IDC_LINE_PARAM1), 0);
    EXPECT_EQ(v.itemCount(IDC_LINE_PARAM2), 0);
    EXPECT_EQ(v.itemCount(IDC_LINE_PARAM3), 0);
    EXPECT_EQ(v.text(IDC_LINE_REMARK), "");
    EXPECT_EQ(v.text(IDC_LINE_OR), "与上条逻辑或");

    confirm();
    ASSERT_EQ(program().main.count(), 2u);
    EXPECT_EQ(program().main.lines[1].kind(), 0);
    EXPECT_EQ(program().main.lines[0].remark, "old remark");
}

TEST_F(LineEditorTest, KindListsFollowTheMenusAndChoiceListsTheCatalogue)
{
    startAdding();
    FakeView& v = editorView();
    choose(IDC_LINE_SIDE, 1);
    ASSERT_EQ(v.itemCount(IDC_LINE_KIND), static_cast<int>(kResultKindMenu.size()));
    for (std::size_t i = 0; i < kResultKindMenu.size(); ++i)
        EXPECT_EQ(v.itemText(IDC_LINE_KIND, static_cast<int>(i)), resultKindName(kResultKindMenu[i]));
    EXPECT_EQ(v.text(IDC_LINE_OR), "条件不满足输出");

    chooseText(IDC_LINE_KIND, "全局数组简单处理");
    choose(IDC_LINE_PARAM2, 16);  // param2 17: "根据需要", then 固定1字节 .. 固定32字节
    EXPECT_EQ(v.itemCount(IDC_LINE_PARAM3), 33);
    EXPECT_EQ(v.itemText(IDC_LINE_PARAM3, 0), "根据需要");
    EXPECT_EQ(v.itemText(IDC_LINE_PARAM3, 32), "固定32字节");
    // Kind 19 starts on its first suggestion.
    EXPECT_EQ(editor().editLine().param3()[0], 1);
    EXPECT_EQ(v.currentIndex(IDC_LINE_PARAM1), 0);
    EXPECT_EQ(v.currentIndex(IDC_LINE_PARAM2), 16);
}

TEST_F(LineEditorTest, SwitchingSidesKeepsTheKindCodeWhereTheOtherMenuHasIt)
{
    startAdding();
    FakeView& v = editorView();
    chooseText(IDC_LINE_KIND, "定时器");  // condition 3
    v.setCheckState(IDC_LINE_OR, 1);
    editor().onCommand(IDC_LINE_OR, Notify::Clicked);
    choose(IDC_LINE_SIDE, 1);
    EXPECT_EQ(editor().editLine().kind(), 3);
    EXPECT_EQ(v.itemText(IDC_LINE_KIND, v.currentIndex(IDC_LINE_KIND)), "位变量");  // result 3
    EXPECT_EQ(editor().editLine().orElse, 1);
    EXPECT_EQ(v.text(IDC_LINE_OR), "条件不满足输出");

    choose(IDC_LINE_SIDE, 0);
    chooseText(IDC_LINE_KIND, "数据口接收到数据(118)");  // condition 25: no result 25 offered
    choose(IDC_LINE_SIDE, 1);
    EXPECT_EQ(editor().editLine().kind(), 25);
    EXPECT_EQ(v.currentIndex(IDC_LINE_KIND), -1);
}

// ---- The mends: no bytes of another kind stay in a line.

TEST_F(LineEditorTest, ChoosingAKindClearsEveryParam3ByteAndTheRemark)
{
    ProgramLine old;
    old.isResult = 1;
    old.instruction.fill(0xAB);
    old.instruction[0] = 27;
    old.instruction[1] = 2;
    old.instruction[2] = 2;
    old.remark = "remark";
    program().main.lines = {old};
    drawMain();
    doubleClickMainRow(0);

    const struct {
        const char* kind;
        int p0;
    } cases[] = {{"全局数组简单处理", 1}, {"调用函数", 0}, {"局部数组", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        chooseText(IDC_LINE_KIND, c.kind);
        const ProgramLine& l = editor().editLine();
        EXPECT_EQ(l.param1(), 1);
        EXPECT_EQ(l.param2(), 1);
        EXPECT_EQ(l.param3()[0], c.p0);
        // Whatever the encoder writes from the text stays inside the kind's
        // own length; nothing beyond it is left over.
        const int length = encodedLength(l);
        EXPECT_TRUE(std::all_of(l.instruction.begin() + std::max(length - 2, 4),
                                l.instruction.end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(l.remark, "");
        EXPECT_EQ(editorView().text(IDC_LINE_REMARK), "");
        // The change is in the program and the list at once.
        EXPECT_EQ(program().main.lines[0].instruction, l.instruction);
    }
    // Kind 27 with param1 1 came back clean: no count, so its shortest length.
    EXPECT_EQ(encodedLength(program().main.lines[0]), 10);
}

TEST_F(LineEditorTest, LeavingTheDataChoiceOfKind27ResetsItsCount)
{
    startAdding();
    choose(IDC_LINE_SIDE, 1);
    chooseText(IDC_LINE_KIND, "局部数组");
    choose(IDC_LINE_PARAM1, 1);
    choose(IDC_LINE_PARAM2, 1);
    typeParam3("3:abcdef");
    EXPECT_EQ(editor().editLine().param3()[4], 6);
    EXPECT_EQ(encodedLength(editor().editLine()), 16);

    choose(IDC_LINE_PARAM1, 3);  // 与其他数组的运算
    EXPECT_EQ(editor().editLine().param3()[4], 0);
    EXPECT_EQ(encodedLength(editor().editLine()), 10);
    confirm();
    EXPECT_EQ(encodedLength(program().main.lines[0]), 10);

    // Back on choice 2 the text writes the count again.
    doubleClickMainRow(0);
    choose(IDC_LINE_PARAM1, 1);
    typeParam3("1:xy");
    EXPECT_EQ(program().main.lines[0].param3()[4], 2);
}

// Data typed under one choice does not stay in the length of a choice that
// takes none.
TEST_F(LineEditorTest, ChoicesWithoutDataDropTheCountOfTheFormerChoice)
{
    const struct {
        bool isResult;
        const char* kind;
        int param1, param2;  // first chosen with the text, then these
        const char* text;
        int length;  // the encoded length afterwards
    } cases[] = {
        {true, "表达式/用户函数(118)", 3, 2, "整数1 = 2", 6},  // 函数返回空
        {false, "局部数组", 1, 2, "3:abc", 10},               // 和校验判断
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        startAdding();
        choose(IDC_LINE_SIDE, c.isResult ? 1 : 0);
        chooseText(IDC_LINE_KIND, c.kind);
        choose(IDC_LINE_PARAM1, 1);
        choose(IDC_LINE_PARAM2, 1);
        typeParam3(c.text);
        EXPECT_GT(encodedLength(editor().editLine()), c.length);
        choose(IDC_LINE_PARAM1, c.param1 - 1);
        choose(IDC_LINE_PARAM2, c.param2 - 1);
        EXPECT_EQ(encodedLength(editor().editLine()), c.length);
        cancel();
    }
}

TEST_F(LineEditorTest, PicksOfAnExistingKind25LineKeepTheFont)
{
    // Kind 25 is no longer offered, but lines that hold it can be edited.
    ProgramLine old;
    old.isResult = 1;
    old.instruction[0] = 25;
    old.instruction[1] = 1;
    old.instruction[2] = 3;
    old.instruction[3] = 1;
    program().main.lines = {old};
    drawMain();
    doubleClickMainRow(0);
    EXPECT_EQ(editorView().itemCount(IDC_LINE_PARAM3), 4);
    choose(IDC_LINE_PARAM3, 1);
    EXPECT_EQ(hexBytes(program().main.lines[0], 4), "19 01 03 02");
    EXPECT_EQ(editorView().text(IDC_LINE_PARAM3), "5×8字体");
    EXPECT_EQ(mainRows()[0], "1   ->  设置字母和数字的字体为 5×8字体");
}

// ---- Changing existing lines.

TEST_F(LineEditorTest, EditingAnExistingLineChangesTheListAtOnceAndCancelKeepsIt)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(true, 1), simpleLine(false, 2)};
    drawMain();
    mainList().selectOnly(0);
    host.main.setTopIndex(IDC_PROGRAM_LIST, 1);
    doubleClickMainRow(1);
    EXPECT_EQ(host.current, 1);
    FakeView& v = editorView();
    EXPECT_TRUE(v.isWindowShown());
    EXPECT_EQ(v.currentIndex(IDC_LINE_SIDE), 1);
    EXPECT_EQ(v.itemText(IDC_LINE_KIND, v.currentIndex(IDC_LINE_KIND)), "输出操作");

    choose(IDC_LINE_PARAM1, 4);  // 断开某几路
    typeParam3("1 3");
    typeRemark("note");
    // The remark goes with the next change.
    EXPECT_EQ(program().main.lines[1].remark, "");
    EXPECT_EQ(program().main.lines[1].param1(), 5);
    EXPECT_EQ(mainRows()[1], "     ->  输出操作  断开第1 3路");
    EXPECT_EQ(mainList().highestSelected(), 1);
    EXPECT_EQ(host.main.topIndex(IDC_PROGRAM_LIST), 1);
    EXPECT_TRUE(host.modified);
    EXPECT_EQ(program().main.count(), 3u);

    cancel();
    EXPECT_FALSE(v.isWindowShown());
    EXPECT_EQ(program().main.lines[1].param1(), 5);

    // Confirm applies what is left (the remark) without inserting.
    doubleClickMainRow(1);
    typeRemark("note");
    confirm();
    EXPECT_EQ(program().main.lines[1].remark, "note");
    EXPECT_EQ(mainRows()[1], "     ->  输出操作  断开第1 3路       备注:note");
    EXPECT_EQ(program().main.count(), 3u);
}

TEST_F(LineEditorTest, TheOrCheckBoxSetsOrElse)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(false, 2)};
    drawMain();
    doubleClickMainRow(1);
    editorView().setCheckState(IDC_LINE_OR, 1);
    editor().onCommand(IDC_LINE_OR, Notify::Clicked);
    confirm();
    EXPECT_EQ(program().main.lines[1].orElse, 1);
    EXPECT_EQ(mainRows()[1].substr(0, 9), "     或者");
}

TEST_F(LineEditorTest, SelectionChangesReloadOnlyAnOpenEditor)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(true, 2), simpleLine(true, 3)};
    drawMain();
    clickMainRows({1});
    EXPECT_EQ(host.current, 1);
    EXPECT_FALSE(editorView().isWindowShown());
    EXPECT_EQ(editor().editLine().kind(), 0);  // not loaded

    doubleClickMainRow(1);
    EXPECT_EQ(editorView().raised, 1);
    clickMainRows({0, 2});  // the highest selected row is the one shown
    EXPECT_EQ(host.current, 2);
    EXPECT_EQ(editor().editLine().param1(), 3);
    // Following the list does not take the keyboard from it.
    EXPECT_EQ(editorView().raised, 1);
    EXPECT_FALSE(host.modified);  // loading changes nothing
}

TEST_F(LineEditorTest, AnEditorLeftBehindByTheListDoesNotOverwriteAnotherLine)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(true, 2), simpleLine(true, 3)};
    drawMain();
    doubleClickMainRow(1);
    // The main window deletes line 0 and selects a row without telling the editor.
    program().main.lines.erase(program().main.lines.begin());
    drawMain();
    mainList().selectOnly(1);
    choose(IDC_LINE_PARAM1, 6);
    EXPECT_EQ(param1s(program().main), (std::vector<int>{2, 3}));
    EXPECT_FALSE(host.modified);
}

TEST_F(LineEditorTest, AddModeInsertsAfterTheHighestSelectedRowAndSelectsTheNewLine)
{
    const struct {
        const char* name;
        std::vector<int> selected;
        std::vector<int> after;  // param1 of the lines afterwards
        int newRow;
    } cases[] = {
        {"three selected", {0, 1, 2}, {1, 2, 3, 9, 4, 5}, 3},
        {"last selected", {4}, {1, 2, 3, 4, 5, 9}, 5},
        // With nothing selected the line goes to the end and is selected there.
        {"none selected", {}, {1, 2, 3, 4, 5, 9}, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program().main.lines.clear();
        for (int p = 1; p <= 5; ++p)
            program().main.lines.push_back(simpleLine(p % 2 == 0, p));
        drawMain();
        host.main.setSelected(IDC_PROGRAM_LIST, -1, false);
        for (int r : c.selected)
            host.main.setSelected(IDC_PROGRAM_LIST, r, true);
        host.main.setTopIndex(IDC_PROGRAM_LIST, 2);
        windows.addMainLine();
        choose(IDC_LINE_SIDE, 1);
        chooseText(IDC_LINE_KIND, "输出操作");
        choose(IDC_LINE_PARAM1, 8);
        confirm();
        EXPECT_EQ(param1s(program().main), c.after);
        EXPECT_EQ(host.main.selectedIndexes(IDC_PROGRAM_LIST), std::vector<int>{c.newRow});
        EXPECT_EQ(host.main.topIndex(IDC_PROGRAM_LIST), 2);
        EXPECT_EQ(mainRows().size(), 6u);
    }
}

// ---- Confirming an unchanged line keeps its bytes.

// Stored lines whose param3 text cannot give their bytes back: a NaN double,
// a string ending in half a character, a list longer than any text, a byte
// that no text shows.
TEST_F(LineEditorTest, ConfirmingAnUnchangedLineKeepsBytesItsTextCannotGiveBack)
{
    const struct {
        const char* name;
        bool isResult;
        const char* bytes;  // the first bytes of the instruction
        std::size_t count;  // then this many data bytes: 'x' ..., last
        char last;
    } cases[] = {
        {"NaN", true, "1D 01 01 07 00 00 00 00 00 00 F8 7F", 0, 0},
        {"conversion byte", true, "1D 03 01 01 02 09", 0, 0},
        {"half a character", false, "0A 01 01 C8", 200, '\xB0'},
        {"250 hex bytes", false, "0B 01 01 FA", 250, 'x'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramLine line;
        line.isResult = c.isResult ? 1 : 0;
        std::string bytes;
        ASSERT_TRUE(parseHexText(c.bytes, bytes));
        std::copy(bytes.begin(), bytes.end(), line.instruction.begin());
        std::fill_n(line.instruction.begin() + 4, c.count, std::uint8_t{'x'});
        if (c.count)
            line.instruction[3 + c.count] = static_cast<std::uint8_t>(c.last);
        program().main.lines = {line};
        drawMain();

        doubleClickMainRow(0);
        confirm();
        EXPECT_EQ(program().main.lines[0].instruction, line.instruction);
        // The same text typed again (blanks around it do not count).
        doubleClickMainRow(0);
        typeParam3(" " + editorView().text(IDC_LINE_PARAM3) + " ");
        confirm();
        EXPECT_EQ(program().main.lines[0].instruction, line.instruction);
        EXPECT_FALSE(host.modified);
    }
}

TEST_F(LineEditorTest, ARefusedFormulaKeepsTheFormulaTheLineHad)
{
    const struct {
        bool isResult;
        std::uint8_t kind, param1, param2;
        const char* stored;
        const char* refused;
    } cases[] = {
        {false, 24, 1, 1, "(整数1)>5", "(全局整数300[1])>5"},
        {true, 30, 1, 1, "整数1=整数2 + 1", "整数1=全局整数300[2]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        ProgramLine line;
        line.isResult = c.isResult ? 1 : 0;
        line.instruction[0] = c.kind;
        line.instruction[1] = c.param1;
        line.instruction[2] = c.param2;
        if (c.isResult)
            encodeResultParam3(c.stored, line.instruction.data());
        else
            encodeConditionParam3(c.stored, line.instruction.data());
        ASSERT_NE(line.instruction[3], 0);
        program().main.lines = {line};
        drawMain();
        shell_.messages.clear();

        doubleClickMainRow(0);
        typeParam3(c.refused);
        confirm();
        EXPECT_FALSE(shell_.lastMessage().empty());
        EXPECT_EQ(program().main.lines[0].instruction, line.instruction);
    }
}

// ---- Remote learning.

TEST_F(LineEditorTest, TheThirdParameterStartsRemoteLearningForRemoteKinds)
{
    const struct {
        bool isResult;
        const char* kind;
        int param1;  // 0: keep the first
        const char* request;  // empty: nothing sent
        PendingOperation pending;
    } cases[] = {
        {false, "无线遥控器", 0, "01 69 00 01 00 00", PendingOperation::LearnRadioRemote},
        {true, "红外发射", 1, "01 69 00 03 00 00", PendingOperation::LearnUniversalInfrared},
        {true, "红外发射", 2, "", PendingOperation::Idle},
        {false, "定时器", 0, "", PendingOperation::Idle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        host.sender.sent.clear();
        host.session.setPending(PendingOperation::Idle);
        startAdding();
        choose(IDC_LINE_SIDE, c.isResult ? 1 : 0);
        chooseText(IDC_LINE_KIND, c.kind);
        if (c.param1)
            choose(IDC_LINE_PARAM1, c.param1 - 1);
        editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
        const std::string sent =
            host.sender.sent.empty() ? "" : hexText(host.sender.sent.back()).substr(0, 17);
        EXPECT_EQ(sent, c.request);
        EXPECT_EQ(host.session.pending(), c.pending);
        cancel();
    }
}

TEST_F(LineEditorTest, LearnedCodesBecomeTheThirdParameter)
{
    program().main.lines = {simpleLine(false, 1)};
    drawMain();
    doubleClickMainRow(0);
    chooseText(IDC_LINE_KIND, "无线遥控器");
    editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    for (char c : dataReply(1, kQueryCommand, std::string("\x00\x00\x01\x02\x00\x00\x30\x39", 8)))
        host.session.onByte(static_cast<std::uint8_t>(c));
    EXPECT_EQ(editorView().text(IDC_LINE_PARAM3), "无线参数:258 无线数据:12345");
    // The existing line takes the code at once.
    EXPECT_EQ(hexBytes(program().main.lines[0], 11), "07 01 01 00 00 01 02 00 00 30 39");

    startAdding();
    choose(IDC_LINE_SIDE, 1);
    chooseText(IDC_LINE_KIND, "红外发射");
    choose(IDC_LINE_PARAM1, 0);  // 万能红外发射(固定码)
    editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    for (char c : dataReply(1, kQueryCommand, std::string("\x26\x00\xAB", 3)))
        host.session.onByte(static_cast<std::uint8_t>(c));
    EXPECT_EQ(editorView().text(IDC_LINE_PARAM3), "26 00 AB");

    // The same codes as window messages.
    editor().onMessage(kRemoteCodeMessage, 7, 8);
    EXPECT_EQ(editorView().text(IDC_LINE_PARAM3), "无线参数:7 无线数据:8");
    EXPECT_TRUE(editor().onMessage(kUniversalIrCodeMessage, 0, 0));
    EXPECT_EQ(editorView().text(IDC_LINE_PARAM3), "26 00 AB");
}

TEST_F(LineEditorTest, AHiddenEditorKeepsALateCodeOutOfTheProgram)
{
    program().main.lines = {simpleLine(false, 1), simpleLine(false, 2)};
    drawMain();
    doubleClickMainRow(0);
    chooseText(IDC_LINE_KIND, "无线遥控器");
    const ProgramLine before = program().main.lines[0];
    editor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    cancel();
    editor().remoteCode(1, 2);
    EXPECT_EQ(program().main.lines[0].instruction, before.instruction);
}

TEST_F(LineEditorTest, AGoneEditorIsNoLongerTheLearningTarget)
{
    auto other = std::make_unique<EditingWindows>(host);
    other->createLineEditor();
    other->lineEditor().openEditor(kMainSectionId, -1, true, true);
    FakeView& v = host.viewOf(other->lineEditor());
    v.setCurrentIndex(IDC_LINE_KIND, 6);  // 无线遥控器
    other->lineEditor().onCommand(IDC_LINE_KIND, Notify::SelChanged);
    other->lineEditor().onCommand(IDC_LINE_PARAM3, Notify::GotFocus);
    ASSERT_EQ(host.session.pending(), PendingOperation::LearnRadioRemote);
    other.reset();
    for (char c : dataReply(1, kQueryCommand, std::string(8, '\x01')))
        host.session.onByte(static_cast<std::uint8_t>(c));
    EXPECT_EQ(host.events.messages.size(), 1u);  // shown, and nobody else told
}

}  // namespace
}  // namespace orlo::test
