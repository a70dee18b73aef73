// The global naming window on a fake view and shell: its lists, renaming
// with the table's messages, the count, import, append, export, reset, the
// table as text, closing; and the local naming window's section list.
#include <gtest/gtest.h>

#include <memory>

#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"
#include "tests/device/temp_folder.h"

namespace orlo {
namespace {

using test::fileBytes;
using test::putFile;
using test::TempFolder;

class NamingWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        NamingServices services;
        services.host = &host;
        services.editText = [this](std::string& text) {
            shownText = text;
            text = editedText;
            return confirmText;
        };
        services.closed = [this] { ++closed; };
        dlg = std::make_unique<Cmming_dlg>(*table, *prog, services);
        dlg->attach(&view);
        dlg->onInit();
    }

    // The user picks a row of a list.
    void pick(int list, int row)
    {
        view.setCurrentIndex(list, row);
        dlg->onCommand(list, Notify::SelChanged);
    }
    // The user types a new name.
    void type(const std::string& text)
    {
        view.setText(IDC_NAMING_NAME, text);
        dlg->onCommand(IDC_NAMING_NAME, Notify::Changed);
    }
    void click(int id) { dlg->onCommand(id, Notify::Clicked); }
    std::string item(int row) const { return view.itemText(IDC_NAMING_ITEMS, row); }
    std::string count() const { return view.text(IDC_NAMING_COUNT); }
    std::vector<std::string> errors() const
    {
        std::vector<std::string> out;
        for (const auto& m : shell.messages) {
            EXPECT_EQ(m.caption, "错误");
            out.push_back(m.text);
        }
        return out;
    }

    // Records the modal windows it is asked to run.
    class Host : public WindowHost {
    public:
        int runModal(Window& window, Window*) override
        {
            FakeView v;
            window.attach(&v);
            window.onInit();
            sections.clear();
            for (int i = 0; i < v.itemCount(IDC_LOCAL_SECTIONS); ++i)
                sections.push_back(v.itemText(IDC_LOCAL_SECTIONS, i));
            templates.push_back(window.templateId());
            window.attach(nullptr);
            return 2;
        }
        bool createModeless(Window&, Window*) override { return false; }
        std::vector<int> templates;
        std::vector<std::string> sections;
    };

    FakeShell shell;
    ShellScope scope{shell};
    TempFolder folder;
    std::unique_ptr<NameTable> table = std::make_unique<NameTable>();
    std::unique_ptr<Program> prog = std::make_unique<Program>();
    Host host;
    FakeView view;
    std::unique_ptr<Cmming_dlg> dlg;
    std::string shownText, editedText;
    bool confirmText = true;
    int closed = 0;
};

TEST_F(NamingWindow, ListsTheTenCategoriesAndTheirNinetyNineResources)
{
    ASSERT_EQ(view.itemCount(IDC_NAMING_CATEGORIES), 10);
    struct Case {
        int category;
        const char* name;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {0, "全局整数", "全局整数0=", "全局整数98="}, {1, "全局数组", "全局数组0=", "全局数组98="},
        {2, "全局浮点数", "全局浮点数0=", "全局浮点数98="}, {3, "定时器", "定时器0=", "定时器98="},
        {4, "位变量", "位变量0=", "位变量98="},     {5, "函数", "函数1=", "函数99="},
        {6, "输入", "输入1=", "输入99="},             {7, "输出", "输出1=", "输出99="},
        {8, "数据口", "数据口1=", "数据口99="},       {9, "线程", "线程1=", "线程99="},
    };
    for (const Case& c : cases) {
        pick(IDC_NAMING_CATEGORIES, c.category);
        EXPECT_EQ(view.itemText(IDC_NAMING_CATEGORIES, c.category), c.name);
        EXPECT_EQ(view.itemCount(IDC_NAMING_ITEMS), 99) << c.name;
        EXPECT_EQ(item(0), c.first);
        EXPECT_EQ(item(98), c.last);
        // A new category starts at its first resource, its name in the edit.
        EXPECT_EQ(view.currentIndex(IDC_NAMING_ITEMS), 0);
        EXPECT_EQ(view.text(IDC_NAMING_NAME), std::string(c.first).substr(0, std::string(c.first).size() - 1));
    }
    EXPECT_EQ(count(), "0");
    EXPECT_TRUE(shell.messages.empty());
}

TEST_F(NamingWindow, RenamesTheChosenResourceAndRefusesSystemWords)
{
    pick(IDC_NAMING_ITEMS, 3);
    EXPECT_EQ(view.text(IDC_NAMING_NAME), "全局整数3");
    type("温度");
    click(IDC_NAMING_APPLY);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(item(3), "全局整数3=温度");
    EXPECT_EQ(count(), "1");
    EXPECT_EQ(view.currentIndex(IDC_NAMING_ITEMS), 3);
    EXPECT_EQ(view.text(IDC_NAMING_NAME), "温度");

    type("全局整数7");
    click(IDC_NAMING_APPLY);
    EXPECT_EQ(errors(), (std::vector<std::string>{"与系统名称重复：全局整数3 = 全局整数7"}));
    EXPECT_EQ(item(3), "全局整数3=温度");
    EXPECT_EQ(table->aliasToSystem("全局整数7"), "全局整数7");

    // An alias of another category counts too; resetting frees the slot.
    pick(IDC_NAMING_CATEGORIES, 6);
    pick(IDC_NAMING_ITEMS, 1);
    type("开关");
    click(IDC_NAMING_APPLY);
    EXPECT_EQ(item(1), "输入2=开关");
    EXPECT_EQ(count(), "2");
    type("");
    click(IDC_NAMING_APPLY);
    EXPECT_EQ(item(1), "输入2=");
    EXPECT_EQ(count(), "1");
}

TEST_F(NamingWindow, OkAppliesOnlyWhatTheUserTyped)
{
    // Filling the edit while choosing rows is not an edit: 确定 changes
    // nothing (the system name itself would be refused as an alias).
    pick(IDC_NAMING_CATEGORIES, 2);
    pick(IDC_NAMING_ITEMS, 4);
    EXPECT_FALSE(dlg->nameEdited());
    view.showWindow(true);
    click(1);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(table->exportText(), "");
    EXPECT_FALSE(view.isWindowShown());
    EXPECT_EQ(closed, 1);

    dlg->show();
    EXPECT_TRUE(view.isWindowShown());
    EXPECT_EQ(view.currentIndex(IDC_NAMING_ITEMS), 4);  // hiding kept the choice
    type("压力");
    click(1);
    EXPECT_EQ(table->systemToAlias("全局浮点数4"), "压力");
    EXPECT_EQ(closed, 2);

    // The close box and "取消" hide the window and tell the main window.
    dlg->show();
    EXPECT_FALSE(dlg->onClose());
    EXPECT_FALSE(view.isWindowShown());
    EXPECT_EQ(closed, 3);
}

TEST_F(NamingWindow, ImportReplacesAppendAddsResetAllEmpties)
{
    const std::string first = folder.file("first.txt"), second = folder.file("second.txt");
    putFile(first, std::string("a\t=\t全局整数1\r\nb\t=\t输入2\r\n") + '\0' + "c\t=\t输出3\r\n");
    putFile(second, "d\t=\t定时器4\r\n全局整数9\t=\t全局整数5\r\ne\t=\t位变量6\r\n");
    ASSERT_EQ(table->rename("整数1", "old"), "");

    shell.paths = {first};
    click(IDC_NAMING_IMPORT);
    // Replaced, up to the first zero byte.
    EXPECT_EQ(table->exportText(), "a\t=\t全局整数1\r\nb\t=\t输入2\r\n");
    EXPECT_EQ(item(1), "全局整数1=a");
    EXPECT_EQ(count(), "2");

    shell.paths = {second};
    click(IDC_NAMING_APPEND);
    EXPECT_EQ(errors(), (std::vector<std::string>{"与系统名称重复：全局整数5 = 全局整数9"}));
    EXPECT_EQ(table->exportText(), "a\t=\t全局整数1\r\nb\t=\t输入2\r\nd\t=\t定时器4\r\n");
    EXPECT_EQ(count(), "3");

    // A cancelled dialog changes nothing.
    click(IDC_NAMING_IMPORT);
    EXPECT_EQ(count(), "3");

    pick(IDC_NAMING_ITEMS, 1);
    click(IDC_NAMING_RESET_ALL);
    EXPECT_EQ(count(), "0");
    EXPECT_EQ(table->exportText(), "");
    EXPECT_EQ(view.currentIndex(IDC_NAMING_ITEMS), 0);
    for (int row = 0; row < 99; ++row)
        EXPECT_EQ(item(row).back(), '=') << row;
}

TEST_F(NamingWindow, ExportWritesTheTableAsTextWithItsExtension)
{
    ASSERT_EQ(table->rename("全局整数3", "温度"), "");
    ASSERT_EQ(table->rename("输出2", "灯"), "");
    const std::string want = "温度\t=\t全局整数3\r\n灯\t=\t输出2\r\n";
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case cases[] = {{"names", "names.txt"}, {"kept.txt", "kept.txt"}};
    for (const Case& c : cases) {
        shell.paths = {folder.file(c.chosen)};
        click(IDC_NAMING_EXPORT);
        EXPECT_EQ(fileBytes(folder.file(c.written)), want) << c.chosen;
    }
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_EQ(shell.dialogs.size(), 2u);
    EXPECT_TRUE(shell.dialogs[0].save);

    // A file that cannot be written is reported, never passed over.
    shell.paths = {folder.file("missing/names")};
    click(IDC_NAMING_EXPORT);
    EXPECT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages.front().caption, "错误");
}

TEST_F(NamingWindow, TheTableAsTextReplacesItAndSaysWhatWasNotTaken)
{
    ASSERT_EQ(table->rename("全局整数3", "温度"), "");
    dlg->refresh(0, 3);
    editedText = "x\t=\t全局整数1\r\ny = 全局整数2\r\n全局整数8 = 全局整数4";
    click(IDC_NAMING_TEXT);
    EXPECT_EQ(shownText, "温度\t=\t全局整数3\r\n");
    EXPECT_EQ(errors(), (std::vector<std::string>{"最后一行与系统名称重复：全局整数4 = 全局整数8"}));
    EXPECT_EQ(table->exportText(), "x\t=\t全局整数1\r\ny\t=\t全局整数2\r\n");
    EXPECT_EQ(item(3), "全局整数3=");
    EXPECT_EQ(count(), "2");

    // Cancelled: the table stays.
    confirmText = false;
    editedText.clear();
    click(IDC_NAMING_TEXT);
    EXPECT_EQ(count(), "2");
}

TEST(NamingWindowStart, MakesEveryCategoryAReservedWord)
{
    FakeShell shell;
    ShellScope scope{shell};
    auto table = std::make_unique<NameTable>();
    auto prog = std::make_unique<Program>();
    struct Case {
        std::vector<std::string> before;
        std::size_t after;
        bool complaint;
    };
    const Case cases[] = {
        {{}, 10, false},
        {{"全局整数", "线程"}, 10, false},
        {{"整数"}, 11, true},  // more words than categories
    };
    for (const Case& c : cases) {
        shell.messages.clear();
        table->reservedWords() = c.before;
        Cmming_dlg dlg(*table, *prog, NamingServices{});
        FakeView view;
        dlg.attach(&view);
        dlg.onInit();
        EXPECT_EQ(table->reservedWords().size(), c.after);
        EXPECT_EQ(table->rename("全局整数3", "全局整数7"), "与系统名称重复：全局整数3 = 全局整数7");
        EXPECT_EQ(shell.lastMessage(), c.complaint ? "字段数量出错" : "");
    }
}

TEST_F(NamingWindow, LocalNamingListsTheSectionsThatHoldLines)
{
    prog->functions[2].lines.resize(1);
    prog->threads[99].lines.resize(2);
    click(IDC_NAMING_LOCAL);
    EXPECT_EQ(host.templates, (std::vector<int>{151}));
    EXPECT_EQ(host.sections, (std::vector<std::string>{"函数3", "线程100"}));
    prog->main.lines.resize(1);
    click(IDC_NAMING_LOCAL);
    EXPECT_EQ(host.sections, (std::vector<std::string>{"主程序", "函数3", "线程100"}));
    EXPECT_EQ(table->exportText(), "");
}

}  // namespace
}  // namespace orlo
