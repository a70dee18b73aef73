// The main window's "撤销" and "重做" and its side of the undo history: where
// changes are recorded, a fresh history at New and Open, the saved state, and
// showing a state put back (see tarn_dlg.h and ui/undo_history.h).
#include "app/tarn_dlg.h"

#include <algorithm>

#include "expr/names.h"
#include "expr/naming_dlg.h"
#include "model/image.h"
#include "model/program.h"
#include "res/resource.h"
#include "ui/program_list.h"

namespace orlo {

CTarnDlg::UserAction::UserAction(CTarnDlg& owner) : owner_(owner)
{
    owner_.history_.seal();
    owner_.history_.setPosition(owner_.mainListPosition());
}

CTarnDlg::UserAction::~UserAction()
{
    owner_.history_.setPosition(owner_.mainListPosition());
}

ListPosition CTarnDlg::mainListPosition() const
{
    ListPosition position;
    if (view_) {
        position.selected = view_->selectedIndexes(IDC_PROGRAM_LIST);
        position.top = view_->topIndex(IDC_PROGRAM_LIST);
    }
    return position;
}

void CTarnDlg::startHistory()
{
    history_.reset(program(), names(), mainListPosition());
}

bool CTarnDlg::recordChange()
{
    if (!history_.record(program(), names(), mainListPosition()))
        return false;
    modified = true;
    return true;
}

void CTarnDlg::historySaved()
{
    // A change nobody reported is in the file too.
    history_.record(program(), names(), mainListPosition());
    history_.markSaved();
}

void CTarnDlg::undo()
{
    UndoHistory::Restored restored;
    if (history_.undo(program(), names(), restored))
        showRestored(restored);
}

void CTarnDlg::redo()
{
    UndoHistory::Restored restored;
    if (history_.redo(program(), names(), restored))
        showRestored(restored);
}

void CTarnDlg::showRestored(const UndoHistory::Restored& restored)
{
    modified = !history_.atSaved();
    const std::vector<int>& rows = restored.position.selected;
    currentLine = rows.empty() ? -1 : rows.back();
    if (view_) {
        const bool mainRestored =
            restored.names || std::find(restored.sectionIds.begin(), restored.sectionIds.end(),
                                        kMainSectionId) != restored.sectionIds.end();
        if (mainRestored)
            refreshMainList();
        else
            showProgramSize(imageSize());
        const int count = view_->itemCount(IDC_PROGRAM_LIST);
        view_->setSelected(IDC_PROGRAM_LIST, -1, false);
        for (int row : rows) {
            if (row >= 0 && row < count)
                view_->setSelected(IDC_PROGRAM_LIST, row, true);
        }
        view_->setTopIndex(IDC_PROGRAM_LIST, restored.position.top);
    }
    editing_.programRestored(restored.sectionIds);
    if (naming_ && naming_->view() && naming_->view()->isWindowShown()) {
        const View& v = *naming_->view();
        naming_->refresh(std::max(0, v.currentIndex(IDC_NAMING_CATEGORIES)),
                         std::max(0, v.currentIndex(IDC_NAMING_ITEMS)));
    }
}

}  // namespace orlo
