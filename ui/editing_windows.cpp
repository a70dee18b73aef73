// The editing companions and the main list's editing notifications (see
// editing_windows.h).
#include "ui/editing_windows.h"

#include "model/program.h"
#include "platform/shell.h"
#include "res/resource.h"
#include "ui/find_dlg.h"
#include "ui/kind_help_dlg.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo {

namespace {

int indexOf(ListKind kind)
{
    return kind == ListKind::Functions ? 0 : 1;
}

}  // namespace

EditingWindows::EditingWindows(EditorHost& host)
    : host_(host), editor_(std::make_unique<Cadd_in>(*this))
{
}

EditingWindows::~EditingWindows() = default;

bool EditingWindows::createLineEditor()
{
    return editor_->view() || host_.createWindow(*editor_);
}

Chanshu_dlg* EditingWindows::sectionList(ListKind kind, bool create)
{
    std::unique_ptr<Chanshu_dlg>& list = lists_[indexOf(kind)];
    if (!list && create) {
        auto made = std::make_unique<Chanshu_dlg>(*this, kind);
        if (host_.createWindow(*made))
            list = std::move(made);
    }
    return list.get();
}

Chanshu_dlg* EditingWindows::listOfSection(int sectionId)
{
    for (ListKind kind : {ListKind::Functions, ListKind::Threads}) {
        Chanshu_dlg* list = sectionList(kind, false);
        if (list && list->holdsSection(sectionId))
            return list;
    }
    return nullptr;
}

void EditingWindows::showSectionList(ListKind kind)
{
    if (Chanshu_dlg* list = sectionList(kind, true))
        list->showSectionList();
}

Cfind_dlg* EditingWindows::findWindow(bool create)
{
    if (!find_ && create) {
        auto made = std::make_unique<Cfind_dlg>(*this);
        if (host_.createWindow(*made))
            find_ = std::move(made);
    }
    return find_.get();
}

void EditingWindows::showFindWindow()
{
    if (Cfind_dlg* find = findWindow(true))
        find->show();
}

void EditingWindows::mainListNotify(Notify code)
{
    View* main = host_.mainView();
    if (!main || (code != Notify::SelChanged && code != Notify::DoubleClicked))
        return;
    const int row = Clist_command(main, IDC_PROGRAM_LIST).highestSelected();
    host_.setCurrentLine(row);
    editor_->openEditor(kMainSectionId, row, code == Notify::DoubleClicked, false);
}

void EditingWindows::addMainLine()
{
    editor_->openEditor(kMainSectionId, host_.currentLine(), true, true);
}

void EditingWindows::insertMainLine(bool before)
{
    editor_->openEditor(kMainSectionId, host_.currentLine(), true, true,
                        before ? Cadd_in::NewLinePlace::BeforeSelection
                               : Cadd_in::NewLinePlace::AfterSelection);
}

Cshuoming_dlg* EditingWindows::kindHelp(bool create)
{
    if (!help_ && create) {
        auto made = std::make_unique<Cshuoming_dlg>();
        if (host_.createWindow(*made))
            help_ = std::move(made);
    }
    return help_.get();
}

void EditingWindows::showKindHelp()
{
    if (Cshuoming_dlg* help = kindHelp(true))
        help->show();
}

void EditingWindows::showKindHelp(bool isResult, int kind)
{
    if (Cshuoming_dlg* help = kindHelp(true))
        help->showKind(isResult, kind);
}

void EditingWindows::nothingFound()
{
    if (usageExtras_)
        shell().messageBox("没有找到！", "提示", Buttons::Ok, Icon::Information);
}

void EditingWindows::programRestored(const std::vector<int>& sectionIds)
{
    for (ListKind kind : {ListKind::Functions, ListKind::Threads}) {
        Chanshu_dlg* list = sectionList(kind, false);
        if (!list || !list->isShown())
            continue;
        for (int id : sectionIds) {
            if (list->holdsSection(id)) {
                list->chosenSection = id - list->sectionIdOf(0);
                break;
            }
        }
        list->refreshSectionList();
    }

    if (!editor_->isShown() || editor_->addMode())
        return;
    const int section = editor_->editSection();
    int row = -1;
    if (section == kMainSectionId) {
        if (View* main = host_.mainView())
            row = Clist_command(main, IDC_PROGRAM_LIST).highestSelected();
    } else if (Chanshu_dlg* list = listOfSection(section)) {
        if (list->isShown() && list->sectionId() == section)
            row = Clist_command(list->view(), IDC_SECTIONS_LINES).highestSelected();
    }
    if (row >= 0)
        editor_->openEditor(section, row, false, false);
    else
        editor_->view()->showWindow(false);
}

}  // namespace orlo
