// The function and thread list windows (see section_list_dlg.h).
#include "ui/section_list_dlg.h"

#include <algorithm>
#include <climits>

#include "ui/editing_commands.h"
#include "expr/names.h"
#include "model/files.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "ui/line_editor.h"
#include "ui/program_list.h"

namespace orlo {

namespace {

constexpr int kSectionCount = 100;
constexpr int kMinSectionListWidth = 120;
// Room beside the widest row for the list's vertical scroll bar (17 pixels
// at 96 dpi) and its borders, so that a long alias is seen whole.
constexpr int kSectionListMargin = 24;
const char* const kMark = "√";

// The fixed controls of the top row; the two lists follow the client area.
struct FixedPlacement {
    int id;
    Rect rect;
};
const FixedPlacement topRow[] = {
    {IDC_SECTIONS_IMPORT, {0, 0, 60, 30}},       {IDC_SECTIONS_EXPORT, {60, 0, 60, 30}},
    {IDC_SECTIONS_ADD, {240, 0, 60, 30}},        {IDC_SECTIONS_DELETE, {300, 0, 60, 30}},
    {IDC_SECTIONS_DELETE_ALL, {360, 0, 120, 30}}, {IDC_SECTIONS_FIND_TEXT, {500, 0, 200, 30}},
    {IDC_SECTIONS_FIND, {700, 0, 60, 30}},
};
constexpr int kListsTop = 30;
constexpr int kListsBottomMargin = 50;

struct KindText {
    const char* word;
    const char* title;
};
const KindText kindTexts[] = {
    {"函数", "函数列表"},
    {"线程", "线程列表"},
};

// Keys of the line list, with Ctrl or without.
struct ListKey {
    int key;
    bool ctrl;
    void (Chanshu_dlg::*action)();
};
const ListKey listKeys[] = {
    {KeyDelete, false, &Chanshu_dlg::deleteLines},
    {KeyX, true, &Chanshu_dlg::cutLines},
    {KeyC, true, &Chanshu_dlg::copyLines},
    {KeyV, true, &Chanshu_dlg::pasteLines},
    {KeyZ, true, &Chanshu_dlg::undoChange},
    {KeyY, true, &Chanshu_dlg::redoChange},
};

// The commands of the context menu "函数右键".
struct MenuCommand {
    int id;
    void (Chanshu_dlg::*action)();
};
const MenuCommand menuCommands[] = {
    {ID_EDIT_CUT, &Chanshu_dlg::cutLines},
    {ID_EDIT_COPY, &Chanshu_dlg::copyLines},
    {ID_EDIT_PASTE, &Chanshu_dlg::pasteLines},
};

// The buttons.
const MenuCommand buttons[] = {
    {IDC_SECTIONS_IMPORT, &Chanshu_dlg::importSection},
    {IDC_SECTIONS_EXPORT, &Chanshu_dlg::exportSection},
    {IDC_SECTIONS_ADD, &Chanshu_dlg::addLine},
    {IDC_SECTIONS_DELETE, &Chanshu_dlg::deleteLines},
    {IDC_SECTIONS_DELETE_ALL, &Chanshu_dlg::deleteAllLines},
    {IDC_SECTIONS_FIND, &Chanshu_dlg::findNext},
};

int indexOf(ListKind kind)
{
    return kind == ListKind::Functions ? 0 : 1;
}

}  // namespace

Chanshu_dlg::Chanshu_dlg(EditingWindows& windows, ListKind kind)
    : windows_(windows), kind_(kind), kindWord_(kindTexts[indexOf(kind)].word)
{
}

int Chanshu_dlg::templateId() const
{
    return IDD_SECTION_LIST;
}

void Chanshu_dlg::onInit()
{
    view_->setTitle(kindTexts[indexOf(kind_)].title);
    layout(view_->clientSize());
}

int Chanshu_dlg::sectionIdOf(int n) const
{
    return kind_ == ListKind::Functions ? n : kThreadIdBase + n;
}

bool Chanshu_dlg::holdsSection(int sectionId) const
{
    const int n = kind_ == ListKind::Functions ? sectionId : sectionId - kThreadIdBase;
    return n >= 1 && n <= kSectionCount;
}

ProgramSection& Chanshu_dlg::section(int n) const
{
    const std::size_t i = static_cast<std::size_t>(std::clamp(n, 1, kSectionCount) - 1);
    return kind_ == ListKind::Functions ? program().functions[i] : program().threads[i];
}

bool Chanshu_dlg::hasChosenSection() const
{
    return chosenSection >= 1 && chosenSection <= kSectionCount;
}

bool Chanshu_dlg::isShown() const
{
    return view_ && view_->isWindowShown();
}

void Chanshu_dlg::layout(Size client)
{
    if (!view_)
        return;
    for (const FixedPlacement& p : topRow)
        view_->moveControl(p.id, p.rect);
    const int height = std::max(0, client.height - kListsBottomMargin);
    view_->moveControl(IDC_SECTIONS_LIST, Rect{0, kListsTop, sectionListWidth, height});
    // The line list takes the rest of the width, so a section list widened
    // for long aliases does not push it over the window's right edge.
    view_->moveControl(IDC_SECTIONS_LINES,
                       Rect{sectionListWidth, kListsTop,
                            std::max(0, client.width - sectionListWidth), height});
}

void Chanshu_dlg::onSize(int width, int height)
{
    layout(Size{width, height});
}

void Chanshu_dlg::showSectionList()
{
    if (!view_)
        return;
    chosenSection = 1;
    for (int n = 1; n <= kSectionCount; ++n) {
        if (!section(n).empty()) {
            chosenSection = n;
            break;
        }
    }
    view_->setFont(IDC_SECTIONS_LINES, listFont());
    view_->setTitle(kindTexts[indexOf(kind_)].title);
    searchSection = 1;
    searchPosition = -1;
    refreshSectionList();
    layout(view_->clientSize());
    view_->showWindow(true);
    view_->raiseWindow();
}

void Chanshu_dlg::refreshSectionList()
{
    if (!view_)
        return;
    view_->setRedraw(IDC_SECTIONS_LIST, false);
    view_->clearItems(IDC_SECTIONS_LIST);
    int widest = kMinSectionListWidth;
    for (int n = 1; n <= kSectionCount; ++n) {
        const std::string name = format("%s  ", displayName(kindWord_, n).c_str());
        view_->addItem(IDC_SECTIONS_LIST, section(n).empty() ? name : name + kMark);
        // Every row is measured as if marked, so the width does not change
        // when a section gains or loses its lines.
        widest = std::max(widest,
                          view_->textWidth(IDC_SECTIONS_LIST, name + kMark) + kSectionListMargin);
    }
    view_->setRedraw(IDC_SECTIONS_LIST, true);
    if (widest != sectionListWidth) {
        sectionListWidth = widest;
        layout(view_->clientSize());
    }

    if (hasChosenSection()) {
        view_->setCurrentIndex(IDC_SECTIONS_LIST, chosenSection - 1);
        Clist_command lines(view_, IDC_SECTIONS_LINES);
        lines.renderSection(section(chosenSection));
        lines.selectOnly(chosenLine);
    } else {
        view_->setCurrentIndex(IDC_SECTIONS_LIST, 0);
        chosenSection = 0;
    }
}

void Chanshu_dlg::showFound(int n, int line)
{
    if (!view_)
        return;
    chosenSection = n;
    chosenLine = line;
    refreshSectionList();
    if (isShown() && view_->isControlShown(IDC_SECTIONS_LINES))
        view_->setFocus(IDC_SECTIONS_LINES);
    // As if the user had chosen the line: an open editor follows.
    windows_.lineEditor().openEditor(sectionId(), line, false, false);
}

void Chanshu_dlg::replaceSelected(int sectionId, int lineIndex, const ProgramLine& line)
{
    if (!view_ || !hasChosenSection() || sectionId != this->sectionId())
        return;
    ProgramSection& s = section(chosenSection);
    Clist_command lines(view_, IDC_SECTIONS_LINES);
    const int row = lines.highestSelected();
    if (row < 0 || row != lineIndex || static_cast<unsigned>(row) >= s.count())
        return;
    const ProgramLine& stored = s.lines[static_cast<std::size_t>(row)];
    if (stored.isResult == line.isResult && stored.orElse == line.orElse &&
        stored.reserved == line.reserved && stored.instruction == line.instruction &&
        stored.remark == line.remark)
        return;
    const int top = view_->topIndex(IDC_SECTIONS_LINES);
    s.replaceAt(static_cast<unsigned>(row), line);
    lines.renderSection(s);
    lines.selectOnly(row);
    view_->setTopIndex(IDC_SECTIONS_LINES, top);
    windows_.host().setModified();
}

void Chanshu_dlg::insertAfterSelected(int sectionId, const ProgramLine& line)
{
    if (!view_)
        return;
    if (!hasChosenSection() || sectionId != this->sectionId()) {
        // The list moved on to another section since the editor opened: the
        // new line still belongs where the user started it.
        if (ProgramSection* target = program().sectionById(sectionId)) {
            target->lines.push_back(line);
            refreshSectionList();
            windows_.host().setModified();
        }
        return;
    }
    ProgramSection& s = section(chosenSection);
    Clist_command lines(view_, IDC_SECTIONS_LINES);
    const int top = view_->topIndex(IDC_SECTIONS_LINES);
    const int row = lines.highestSelected();
    s.insertAfter(row < 0 ? UINT_MAX : static_cast<unsigned>(row), line);
    const int added = row >= 0 && static_cast<unsigned>(row) + 1 < s.count()
                          ? row + 1
                          : static_cast<int>(s.count()) - 1;
    chosenLine = added;
    // The whole window, so that a section that was empty gets its mark.
    refreshSectionList();
    view_->setTopIndex(IDC_SECTIONS_LINES, top);
    lines.selectOnly(added);
    windows_.host().setModified();
}

SectionEditor Chanshu_dlg::editor()
{
    return SectionEditor(section(chosenSection), view_, IDC_SECTIONS_LINES,
                         [this] { refreshSectionList(); });
}

void Chanshu_dlg::linesChanged()
{
    windows_.host().setModified();
}

void Chanshu_dlg::deleteLines()
{
    if (hasChosenSection() && editor().deleteSelected(true))
        linesChanged();
}

void Chanshu_dlg::deleteAllLines()
{
    if (hasChosenSection() && editor().deleteAll())
        linesChanged();
}

void Chanshu_dlg::cutLines()
{
    // Nothing at all with nothing selected: the clipboard keeps its lines.
    if (!hasChosenSection() || Clist_command(view_, IDC_SECTIONS_LINES).highestSelected() < 0)
        return;
    if (editor().cutSelected(program().clipboard))
        linesChanged();
}

void Chanshu_dlg::copyLines()
{
    if (hasChosenSection())
        editor().copySelected(program().clipboard);
}

void Chanshu_dlg::pasteLines()
{
    if (hasChosenSection() && editor().paste(program().clipboard))
        linesChanged();
}

void Chanshu_dlg::importSection()
{
    if (!hasChosenSection())
        return;
    std::string path = shell().openFileDialog(FileDialogRequest{});
    if (path.empty())
        return;
    ProgramSection& s = section(chosenSection);
    if (!endsWith(path, s.fileExtension))
        path += s.fileExtension;
    const bool loaded = loadFunctionFile(s, path);
    refreshSectionList();
    if (loaded)
        linesChanged();
}

void Chanshu_dlg::exportSection()
{
    if (!hasChosenSection())
        return;
    const std::string path = shell().saveFileDialog(FileDialogRequest{});
    if (!path.empty())
        saveFunctionFile(section(chosenSection), path);
}

void Chanshu_dlg::findNext()
{
    const std::string text = view_->text(IDC_SECTIONS_FIND_TEXT);
    if (text.empty())
        return;
    if (searchSection < 1)
        searchSection = 1;
    for (; searchSection <= kSectionCount; ++searchSection) {
        searchPosition = findText(section(searchSection), searchPosition + 1, text);
        if (searchPosition >= 0) {
            showFound(searchSection, searchPosition);
            return;
        }
    }
    searchSection = 1;
}

void Chanshu_dlg::undoChange()
{
    windows_.host().undo();
}

void Chanshu_dlg::redoChange()
{
    windows_.host().redo();
}

void Chanshu_dlg::addLine()
{
    windows_.lineEditor().openEditor(sectionId(), chosenLine, true, true);
}

void Chanshu_dlg::sectionChanged()
{
    const int row = view_->currentIndex(IDC_SECTIONS_LIST);
    if (row < 0)
        return;
    chosenSection = row + 1;
    refreshSectionList();
    lineSelectionChanged();
}

void Chanshu_dlg::lineSelectionChanged()
{
    const int h = Clist_command(view_, IDC_SECTIONS_LINES).highestSelected();
    if (h < 0 || !hasChosenSection())
        return;
    chosenLine = h;
    windows_.lineEditor().openEditor(sectionId(), h, false, false);
}

void Chanshu_dlg::lineDoubleClicked()
{
    Clist_command lines(view_, IDC_SECTIONS_LINES);
    const int h = lines.highestSelected();
    if (h < 0 || !hasChosenSection())
        return;
    const int top = view_->topIndex(IDC_SECTIONS_LINES);
    refreshSectionList();
    view_->setTopIndex(IDC_SECTIONS_LINES, top);
    lines.selectOnly(h);
    chosenLine = h;
    windows_.lineEditor().openEditor(sectionId(), h, true, false);
}

void Chanshu_dlg::onCommand(int id, Notify code)
{
    if (!view_)
        return;
    windows_.host().sealUndoStep();
    if (id == IDC_SECTIONS_LIST) {
        if (code == Notify::SelChanged)
            sectionChanged();
        return;
    }
    if (id == IDC_SECTIONS_LINES) {
        if (code == Notify::SelChanged)
            lineSelectionChanged();
        else if (code == Notify::DoubleClicked)
            lineDoubleClicked();
        return;
    }
    if (code != Notify::Clicked)
        return;
    for (const MenuCommand& b : buttons) {
        if (b.id == id) {
            (this->*b.action)();
            return;
        }
    }
}

bool Chanshu_dlg::onKeyDown(int key, bool ctrl, int focusId)
{
    if (focusId != IDC_SECTIONS_LINES)
        return false;
    windows_.host().sealUndoStep();
    for (const ListKey& k : listKeys) {
        if (k.key == key && k.ctrl == ctrl) {
            (this->*k.action)();
            return true;
        }
    }
    return false;
}

void Chanshu_dlg::onContextMenu(int id, int x, int y)
{
    // Over the line list, or anywhere while the line list has the focus.
    if (id != IDC_SECTIONS_LINES && view_->focusedControl() != IDC_SECTIONS_LINES)
        return;
    const int command =
        shell().popupMenu(this, IDR_CONTEXT_MENU, CONTEXT_SECTION_LIST, x, y);
    for (const MenuCommand& m : menuCommands) {
        if (m.id == command) {
            (this->*m.action)();
            return;
        }
    }
}

bool Chanshu_dlg::onClose()
{
    windows_.host().showProgramSize();
    if (view_)
        view_->showWindow(false);
    return false;
}

}  // namespace orlo
