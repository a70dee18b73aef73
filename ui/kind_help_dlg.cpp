// The help window on the condition and result kinds (see kind_help_dlg.h).
#include "ui/kind_help_dlg.h"

#include <algorithm>
#include <vector>

#include "catalogue/conditions.h"
#include "catalogue/kind_help.h"
#include "catalogue/line_sides.h"
#include "catalogue/results.h"
#include "model/program.h"
#include "res/resource.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

constexpr int kClose = 2;  // IDCANCEL, "关闭"
const char* const kSides[] = {"输入条件", "输出结果"};
const char* const kHint = "在左边的列表中选择一个类型，这里显示它的说明和一个例子。";
const char* const kNewLine = "\r\n";

// The kinds the line editor offers on a side, in its order.
std::vector<int> offeredKinds(bool isResult)
{
    return isResult ? offeredResultKinds() : offeredConditionKinds();
}

// The example as the one line of a section, rendered as the list shows it.
std::string exampleRow(const KindHelp& help)
{
    ProgramSection section;
    ProgramLine line;
    line.isResult = help.isResult ? 1 : 0;
    composeKindExample(help, line.instruction.data());
    section.lines.push_back(line);
    return sectionRows(section).front();
}

}  // namespace

int Cshuoming_dlg::templateId() const
{
    return IDD_KIND_HELP;
}

std::string Cshuoming_dlg::helpText(bool isResult, int kind)
{
    const std::string name = lineSide(isResult).kindName(kind);
    const KindHelp* help = findKindHelp(isResult, kind);
    if (name.empty() || !help)
        return kHint;
    std::string text = name + kNewLine + kNewLine;
    text += std::string("作用：") + help->purpose + kNewLine + kNewLine;
    text += std::string("参数1：") + help->param1 + kNewLine;
    text += std::string("参数2：") + help->param2 + kNewLine;
    text += std::string("参数3：") + help->param3 + kNewLine + kNewLine;
    text += std::string("例（在列表中显示为）：") + kNewLine + exampleRow(*help);
    return text;
}

void Cshuoming_dlg::onInit()
{
    view_->clearItems(IDC_HELP_SIDE);
    for (const char* side : kSides)
        view_->addItem(IDC_HELP_SIDE, side);
    view_->setCurrentIndex(IDC_HELP_SIDE, 0);
    isResult_ = false;
    fillKinds();
    view_->setCurrentIndex(IDC_HELP_KINDS, 0);
    showChosen();
}

void Cshuoming_dlg::show()
{
    if (!view_)
        return;
    view_->showWindow(true);
    view_->raiseWindow();
}

void Cshuoming_dlg::fillKinds()
{
    view_->setRedraw(IDC_HELP_KINDS, false);
    view_->clearItems(IDC_HELP_KINDS);
    for (int kind : offeredKinds(isResult_))
        view_->addItem(IDC_HELP_KINDS, lineSide(isResult_).kindName(kind));
    view_->setRedraw(IDC_HELP_KINDS, true);
}

void Cshuoming_dlg::showChosen()
{
    const std::vector<int> kinds = offeredKinds(isResult_);
    const int row = view_->currentIndex(IDC_HELP_KINDS);
    const int kind = row >= 0 && static_cast<std::size_t>(row) < kinds.size()
                         ? kinds[static_cast<std::size_t>(row)]
                         : 0;
    view_->setText(IDC_HELP_TEXT, helpText(isResult_, kind));
}

void Cshuoming_dlg::showKind(bool isResult, int kind)
{
    if (!view_)
        return;
    isResult_ = isResult;
    view_->setCurrentIndex(IDC_HELP_SIDE, isResult ? 1 : 0);
    fillKinds();
    const std::vector<int> kinds = offeredKinds(isResult);
    const auto at = std::find(kinds.begin(), kinds.end(), kind);
    view_->setCurrentIndex(IDC_HELP_KINDS,
                           kind != 0 && at != kinds.end() ? static_cast<int>(at - kinds.begin()) : -1);
    showChosen();
    show();
}

void Cshuoming_dlg::onCommand(int id, Notify code)
{
    if (!view_)
        return;
    if (id == IDC_HELP_SIDE && code == Notify::SelChanged) {
        const int side = view_->currentIndex(IDC_HELP_SIDE);
        if (side < 0)
            return;
        isResult_ = side == 1;
        fillKinds();
        view_->setCurrentIndex(IDC_HELP_KINDS, 0);
        showChosen();
    } else if (id == IDC_HELP_KINDS && code == Notify::SelChanged) {
        showChosen();
    } else if (id == kClose && code == Notify::Clicked) {
        view_->showWindow(false);
    }
}

bool Cshuoming_dlg::onClose()
{
    if (view_)
        view_->showWindow(false);
    return false;
}

}  // namespace orlo
