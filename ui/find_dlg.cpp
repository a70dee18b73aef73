// The find window's walk over the whole program (see find_dlg.h).
#include "ui/find_dlg.h"

#include "ui/line_editor.h"

#include "ui/editing_commands.h"
#include "model/program.h"
#include "res/resource.h"
#include "ui/editing_windows.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo {

namespace {

constexpr int kConfirm = 1;  // IDOK, "确定"
constexpr int kCancel = 2;   // IDCANCEL, "取消"
constexpr int kSectionCount = 100;

enum Phase { MainPhase = 0, FunctionPhase = 1, ThreadPhase = 2 };

}  // namespace

int Cfind_dlg::templateId() const
{
    return IDD_FIND;
}

void Cfind_dlg::show()
{
    if (!view_)
        return;
    view_->showWindow(true);
    view_->raiseWindow();
    view_->setFocus(IDC_FIND_WINDOW_TEXT);
}

void Cfind_dlg::onCommand(int id, Notify code)
{
    if (!view_ || code != Notify::Clicked)
        return;
    if (id == kConfirm)
        findNext();
    else if (id == kCancel)
        view_->showWindow(false);
}

bool Cfind_dlg::onClose()
{
    if (view_)
        view_->showWindow(false);
    return false;
}

void Cfind_dlg::findNext()
{
    const std::string text = view_->text(IDC_FIND_WINDOW_TEXT);
    if (text.empty())
        return;
    if (phase == MainPhase) {
        position = findText(program().main, position + 1, text);
        if (position >= 0) {
            if (View* main = windows_.host().mainView()) {
                main->setTopIndex(IDC_PROGRAM_LIST, position);
                Clist_command(main, IDC_PROGRAM_LIST).selectOnly(position);
                // As if the user had chosen the row: an open editor follows.
                windows_.host().setCurrentLine(position);
                windows_.lineEditor().openEditor(kMainSectionId, position, false, false);
            }
            return;
        }
        phase = FunctionPhase;
        sectionNo = 1;
    }
    if (phase == FunctionPhase) {
        if (searchLists(FunctionPhase, text))
            return;
        phase = ThreadPhase;
        sectionNo = 1;
    }
    if (searchLists(ThreadPhase, text))
        return;
    phase = MainPhase;
    sectionNo = 1;
    windows_.nothingFound();
}

bool Cfind_dlg::searchLists(int phaseNo, const std::string& text)
{
    const ListKind kind = phaseNo == FunctionPhase ? ListKind::Functions : ListKind::Threads;
    if (sectionNo < 1)
        sectionNo = 1;
    for (; sectionNo <= kSectionCount; ++sectionNo) {
        const ProgramSection& section = phaseNo == FunctionPhase
                                            ? program().functions[static_cast<std::size_t>(sectionNo - 1)]
                                            : program().threads[static_cast<std::size_t>(sectionNo - 1)];
        position = findText(section, position + 1, text);
        if (position < 0)
            continue;
        // The list window is made and shown as its menu entry would, so the
        // find is seen even when that window was never opened or is hidden.
        Chanshu_dlg* list = windows_.sectionList(kind, true);
        if (list) {
            if (!list->isShown())
                list->showSectionList();
            list->showFound(sectionNo, position);
        }
        return true;
    }
    return false;
}

}  // namespace orlo
