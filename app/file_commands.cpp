// The main window's file and editing commands: New, Open, drop, Save, Save
// as, Import, Import main part, Export with their dialogs' filters, the
// question about unsaved changes, the window title, and the editing commands
// on the main list (see tarn_dlg.h).
#include "app/tarn_dlg.h"

#include <algorithm>

#include "app/file_dialogs.h"

#include "model/files.h"
#include "model/program.h"
#include "platform/text.h"
#include "res/resource.h"

namespace orlo {

namespace {

const char* const kSaveChangesQuestion = "文件被修改,是否保存?";
const char* const kSaveChangesCaption = "警告";

// The folder part of a path: everything before its last backslash; empty
// when it has none.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

FileDialogRequest dialogRequest(const char* filter, const std::string& folder = std::string())
{
    FileDialogRequest request;
    request.filters = fileFilters(filter);
    request.initialFolder = folder;
    return request;
}

}  // namespace

bool CTarnDlg::askToSaveChanges()
{
    if (!modified)
        return true;
    switch (shell().messageBox(kSaveChangesQuestion, kSaveChangesCaption, Buttons::YesNoCancel,
                               Icon::Warning)) {
    case Answer::Yes:
        return saveProgram();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void CTarnDlg::showTitleFor(const std::string& path)
{
    if (view_)
        view_->setTitle(path.empty() ? baseTitle : baseTitle + " " + pathToText(path));
}

bool CTarnDlg::newProgram()
{
    if (!askToSaveChanges())
        return false;
    clearProgram();
    currentLine = -1;
    findPosition = -1;
    refreshMainList();
    startHistory();
    currentPath.clear();
    showTitleFor(currentPath);
    modified = false;
    return true;
}

bool CTarnDlg::loadProgramFile(const std::string& path, bool keepFolderWithout)
{
    // Nothing changes unless the file loaded: a later Save must not write
    // over a file that failed to open.
    if (!openProgramFile(path))
        return false;
    currentPath = path;
    const std::string folder = folderOf(path);
    if (!folder.empty() || !keepFolderWithout)
        lastFolder = folder;
    currentLine = -1;
    findPosition = -1;
    refreshMainList();
    startHistory();
    showTitleFor(path);
    modified = false;
    return true;
}

bool CTarnDlg::openProgram()
{
    if (!askToSaveChanges())
        return false;
    const std::string path = shell().openFileDialog(dialogRequest(kProgramFilter, lastFolder));
    if (path.empty())
        return false;
    return loadProgramFile(path, false);
}

bool CTarnDlg::openDroppedFile(const std::string& path)
{
    if (!askToSaveChanges())
        return false;
    return loadProgramFile(path, true);
}

bool CTarnDlg::saveProgram()
{
    std::string path = currentPath;
    if (path.empty()) {
        path = shell().saveFileDialog(dialogRequest(kProgramFilter, lastFolder));
        if (path.empty())
            return false;
    }
    const std::string written = saveProgramFile(path);
    if (written.empty())
        return false;
    currentPath = path;
    showTitleFor(written);
    modified = false;
    historySaved();
    return true;
}

bool CTarnDlg::saveProgramAs()
{
    const std::string path = shell().saveFileDialog(dialogRequest(kProgramFilter, lastFolder));
    if (path.empty())
        return false;
    const std::string written = saveProgramFile(path);
    if (written.empty())
        return false;
    currentPath = path;
    showTitleFor(written);
    modified = false;
    historySaved();
    return true;
}

namespace {

// Where imported lines go: after the last selected row, or at the end.
unsigned importPosition(View* view)
{
    const int last = Clist_command(view, IDC_PROGRAM_LIST).highestSelected();
    const unsigned count = program().main.count();
    return last < 0 ? count : std::min(static_cast<unsigned>(last) + 1, count);
}

}  // namespace

// Import leaves currentPath alone: the imported file is not the program in
// memory, and a later Save must never write the whole program over it.
bool CTarnDlg::importLines()
{
    const std::string path = shell().openFileDialog(dialogRequest(kImportFilter));
    if (path.empty() || !importFile(path, importPosition(view_)))
        return false;
    programChanged();
    return true;
}

bool CTarnDlg::importMainPart()
{
    const std::string path = shell().openFileDialog(dialogRequest(kImportMainPartFilter));
    if (path.empty() || !importFile(path, importPosition(view_)))
        return false;
    programChanged();
    return true;
}

bool CTarnDlg::importAtSelection()
{
    const std::string path = shell().openFileDialog(dialogRequest(kImportFilter));
    if (path.empty())
        return false;
    const int first = Clist_command(view_, IDC_PROGRAM_LIST).lowestSelected();
    const unsigned count = program().main.count();
    const unsigned at = first < 0 ? count : std::min(static_cast<unsigned>(first), count);
    if (!importFile(path, at))
        return false;
    programChanged();
    return true;
}

bool CTarnDlg::exportMainProgram()
{
    const std::string path = shell().saveFileDialog(dialogRequest(kExportFilter));
    if (path.empty())
        return false;
    return !saveFunctionFile(program().main, path).empty();
}

// ---- Editing the main list.

SectionEditor CTarnDlg::mainEditor()
{
    return SectionEditor(program().main, view_, IDC_PROGRAM_LIST, [this] { refreshMainList(); });
}

void CTarnDlg::deleteSelectedLines()
{
    if (mainEditor().deleteSelected(true)) {
        modified = true;
        recordChange();
    }
}

void CTarnDlg::deleteAllLines()
{
    if (mainEditor().deleteAll()) {
        modified = true;
        recordChange();
    }
}

void CTarnDlg::cutLines()
{
    if (mainEditor().cutSelected(program().clipboard)) {
        modified = true;
        recordChange();
    }
}

void CTarnDlg::copyLines()
{
    mainEditor().copySelected(program().clipboard);
}

void CTarnDlg::pasteLines()
{
    if (mainEditor().paste(program().clipboard)) {
        modified = true;
        recordChange();
    }
}

void CTarnDlg::findInMainProgram()
{
    findPosition = findText(program().main, findPosition + 1, view_->text(IDC_FIND_TEXT));
    if (findPosition < 0) {
        editing_.nothingFound();
        return;
    }
    view_->setTopIndex(IDC_PROGRAM_LIST, findPosition);
    Clist_command(view_, IDC_PROGRAM_LIST).selectOnly(findPosition);
    // As if the user had chosen the row: an open line editor follows.
    editing_.mainListNotify(Notify::SelChanged);
}

}  // namespace orlo
