// The global and local naming windows (see naming_dlg.h).
#include "expr/naming_dlg.h"

#include "expr/names.h"
#include "model/program.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "res/resource.h"

namespace orlo {

namespace {

constexpr int kConfirm = 1;  // IDOK, "确定"
constexpr std::size_t kMaxTextBytes = 2000000;
const char kErrorCaption[] = "错误";
const char kTextExtension[] = ".txt";

FileDialogRequest textFileRequest()
{
    FileDialogRequest r;
    r.filters = {{"文本文件(*.txt)", "*.txt"}, {"所有文件(*.*)", "*.*"}};
    r.defaultExtension = "txt";
    return r;
}

// The system name of an item row, "全局整数3=温度" -> "全局整数3".
std::string systemNameOf(const std::string& row)
{
    return trim(row.substr(0, row.find('=')));
}

}  // namespace

Cmming_dlg::Cmming_dlg(NameTable& table, const Program& program, NamingServices services)
    : table_(table), program_(program), services_(std::move(services))
{
}

int Cmming_dlg::templateId() const
{
    return IDD_NAMING;
}

void Cmming_dlg::onInit()
{
    view_->clearItems(IDC_NAMING_CATEGORIES);
    std::vector<std::string>& reserved = table_.reservedWords();
    for (const NamingCategory& c : kNamingCategories) {
        view_->addItem(IDC_NAMING_CATEGORIES, c.word);
        const std::string word = trim(c.word);
        bool present = false;
        for (const std::string& r : reserved)
            present = present || r == word;
        if (!word.empty() && !present)
            reserved.push_back(word);
    }
    if (view_->itemCount(IDC_NAMING_CATEGORIES) < static_cast<int>(reserved.size()))
        shell().messageBox("字段数量出错", kErrorCaption, Buttons::Ok, Icon::Error);
    refresh(0, 0);
    nameEdited_ = false;
}

void Cmming_dlg::show()
{
    if (!view_)
        return;
    // The table may have changed while the window was hidden (a file opened,
    // a program read from the controller): show it as it is now.
    const int category = view_->currentIndex(IDC_NAMING_CATEGORIES);
    const int item = view_->currentIndex(IDC_NAMING_ITEMS);
    refresh(category < 0 ? 0 : category, item < 0 ? 0 : item);
    nameEdited_ = false;
    view_->showWindow(true);
    view_->raiseWindow();
}

void Cmming_dlg::refresh(int category, int item)
{
    if (!view_ || category < 0 || category >= kNamingCategoryCount)
        return;
    int count = 0;
    for (int i = 0; i < table_.usedCount(); ++i)
        count += table_.slot(i).systemName.empty() ? 0 : 1;
    filling_ = true;
    view_->setText(IDC_NAMING_COUNT, format("%d", count));

    view_->setCurrentIndex(IDC_NAMING_CATEGORIES, category);
    const NamingCategory& c = kNamingCategories[category];
    view_->setRedraw(IDC_NAMING_ITEMS, false);
    view_->clearItems(IDC_NAMING_ITEMS);
    for (int n = c.first; n < c.first + kNamingCategoryItems; ++n) {
        const std::string system = c.word + format("%d", n);
        const std::string alias = table_.systemToAlias(system);
        view_->addItem(IDC_NAMING_ITEMS, system + "=" + (alias == system ? std::string() : alias));
    }
    view_->setRedraw(IDC_NAMING_ITEMS, true);

    view_->setCurrentIndex(IDC_NAMING_ITEMS, item);
    const int selected = view_->currentIndex(IDC_NAMING_ITEMS);
    view_->setText(IDC_NAMING_NAME,
                   selected < 0 ? std::string()
                                : table_.systemToAlias(
                                      systemNameOf(view_->itemText(IDC_NAMING_ITEMS, selected))));
    filling_ = false;
}

void Cmming_dlg::onCommand(int id, Notify code)
{
    if (!view_)
        return;
    if (code == Notify::Changed && id == IDC_NAMING_NAME) {
        if (!filling_)
            nameEdited_ = true;
        return;
    }
    if (code == Notify::SelChanged) {
        if (id == IDC_NAMING_CATEGORIES) {
            refresh(view_->currentIndex(IDC_NAMING_CATEGORIES), 0);
        } else if (id == IDC_NAMING_ITEMS) {
            refresh(view_->currentIndex(IDC_NAMING_CATEGORIES),
                    view_->currentIndex(IDC_NAMING_ITEMS));
            nameEdited_ = false;
        }
        return;
    }
    if (code != Notify::Clicked)
        return;
    switch (id) {
    case IDC_NAMING_APPLY:
        applyName();
        break;
    case IDC_NAMING_IMPORT:
        importFile(true);
        break;
    case IDC_NAMING_APPEND:
        importFile(false);
        break;
    case IDC_NAMING_EXPORT:
        exportFile();
        break;
    case IDC_NAMING_TEXT:
        editAsText();
        break;
    case IDC_NAMING_LOCAL:
        showLocal();
        break;
    case IDC_NAMING_RESET_ALL:
        resetAll();
        break;
    case kConfirm:
        if (nameEdited_ && !view_->text(IDC_NAMING_NAME).empty())
            applyName();
        hide();
        break;
    default:
        break;
    }
}

bool Cmming_dlg::onClose()
{
    hide();
    return false;
}

void Cmming_dlg::hide()
{
    if (services_.closed)
        services_.closed();
    view_->showWindow(false);
}

void Cmming_dlg::applyName()
{
    const int category = view_->currentIndex(IDC_NAMING_CATEGORIES);
    const int item = view_->currentIndex(IDC_NAMING_ITEMS);
    if (item < 0)
        return;
    const std::string system = systemNameOf(view_->itemText(IDC_NAMING_ITEMS, item));
    tellError(table_.rename(system, view_->text(IDC_NAMING_NAME)));
    tableChanged();
    refresh(category, item);
    nameEdited_ = false;
}

void Cmming_dlg::importFile(bool replace)
{
    const std::string path = shell().openFileDialog(textFileRequest());
    if (path.empty())
        return;
    std::string text, error;
    if (!readFilePrefix(path, kMaxTextBytes, text, error)) {
        tellError(error);
        return;
    }
    // The text ends at its first zero byte.
    text = text.substr(0, text.find('\0'));
    if (replace)
        table_.clear();
    tellError(table_.importText(text));
    tableChanged();
    refresh(0, 0);
}

void Cmming_dlg::exportFile()
{
    std::string path = shell().saveFileDialog(textFileRequest());
    if (path.empty())
        return;
    if (path.size() < 4 || path.compare(path.size() - 4, 4, kTextExtension) != 0)
        path += kTextExtension;
    // Through a temporary file: a failed export leaves an older file whole.
    std::string error;
    if (!writeFileSafely(path, table_.exportText(), error))
        tellError(error);
}

void Cmming_dlg::editAsText()
{
    if (!services_.editText)
        return;
    std::string text = table_.exportText();
    if (!services_.editText(text))
        return;
    table_.clear();
    // Lines the table refused are not taken: the user must learn that.
    tellError(table_.importText(text));
    tableChanged();
    refresh(view_->currentIndex(IDC_NAMING_CATEGORIES), view_->currentIndex(IDC_NAMING_ITEMS));
}

void Cmming_dlg::resetAll()
{
    table_.clear();
    tableChanged();
    refresh(0, 0);
}

void Cmming_dlg::tableChanged()
{
    if (services_.changed)
        services_.changed();
}

void Cmming_dlg::showLocal()
{
    if (!services_.host)
        return;
    C_mming_jubu_dlg local(program_);
    services_.host->runModal(local, this);
}

void Cmming_dlg::tellError(const std::string& message)
{
    if (!message.empty())
        shell().messageBox(message, kErrorCaption, Buttons::Ok, Icon::Error);
}

int C_mming_jubu_dlg::templateId() const
{
    return IDD_LOCAL_NAMING;
}

void C_mming_jubu_dlg::onInit()
{
    view_->clearItems(IDC_LOCAL_SECTIONS);
    view_->clearItems(IDC_LOCAL_ITEMS);
    if (!program_.main.empty())
        view_->addItem(IDC_LOCAL_SECTIONS, "主程序");
    for (int n = 1; n <= kFunctionCount; ++n) {
        if (!program_.functions[static_cast<std::size_t>(n - 1)].empty())
            view_->addItem(IDC_LOCAL_SECTIONS, format("函数%d", n));
    }
    for (int n = 1; n <= kThreadCount; ++n) {
        if (!program_.threads[static_cast<std::size_t>(n - 1)].empty())
            view_->addItem(IDC_LOCAL_SECTIONS, format("线程%d", n));
    }
}

void C_mming_jubu_dlg::onCommand(int id, Notify code)
{
    if (view_ && code == Notify::Clicked && id == kConfirm)
        view_->endDialog(kConfirm);
}

}  // namespace orlo
