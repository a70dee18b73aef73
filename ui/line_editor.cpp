// The line editor's controls and how each change reaches the line and the
// program (see line_editor.h).
#include "ui/line_editor.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "catalogue/conditions.h"
#include "catalogue/line_sides.h"
#include "catalogue/param_text_prep.h"
#include "catalogue/results.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "ui/editing_windows.h"
#include "ui/program_list.h"
#include "ui/section_list_dlg.h"

namespace orlo {

namespace {

constexpr int kConfirm = 1;  // IDOK
constexpr int kCancel = 2;   // IDCANCEL
// Every choice list is read from entry 1 up to its first empty text, and
// never further than a one-byte parameter reaches.
constexpr int kMaxEntries = 255;

// What the editor shows and asks for on each side of a line: the entry of
// 1042 and the check box text, the kinds it offers, and the three lists.
struct EditorSide {
    const LineSide& (*ops)();
    const char* entry;
    const char* checkText;
    std::vector<int> (*offeredKinds)();
    std::string (*param1Text)(const std::uint8_t* instruction, int value);
    std::string (*param2Text)(const std::uint8_t* instruction, int value);
    std::string (*param3Choice)(const std::uint8_t* instruction, int n);
};

const EditorSide sides[] = {
    {conditionSide, "输入条件", "与上条逻辑或", offeredConditionKinds, conditionParam1Text,
     conditionParam2Text, conditionParam3Text},
    {resultSide, "输出结果", "条件不满足输出", offeredResultKinds,
     [](const std::uint8_t* r, int v) { return resultParam1Text(r[0], v); },
     [](const std::uint8_t* r, int v) { return resultParam2Text(r[0], r[1], v); },
     resultParam3Choice},
};

const EditorSide& sideOf(const ProgramLine& line)
{
    return sides[line.isResult ? 1 : 0];
}

// Remote learning starts when the third parameter gets the focus while the
// kind list (and, for the universal code, the first choice) shows these.
struct LearnRule {
    const char* kindName;
    const char* param1Name;  // nullptr: any
    RemoteKind kind;
};

const LearnRule learnRules[] = {
    {"无线遥控器", nullptr, RemoteKind::Radio},
    {"红外遥控器", nullptr, RemoteKind::Infrared},
    {"红外发射", "万能红外发射(固定码)", RemoteKind::UniversalInfrared},
};

class Filling {
public:
    explicit Filling(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~Filling() { flag_ = before_; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

private:
    bool& flag_;
    bool before_;
};

// The line without the label the list gave it, for telling real changes.
bool sameContent(const ProgramLine& a, const ProgramLine& b)
{
    return a.isResult == b.isResult && a.orElse == b.orElse && a.reserved == b.reserved &&
           a.instruction == b.instruction && a.remark == b.remark;
}

bool isListSection(int sectionId)
{
    return (sectionId >= 1 && sectionId <= kFunctionCount) ||
           (sectionId > kThreadIdBase && sectionId <= kThreadIdBase + kThreadCount);
}

}  // namespace

Cadd_in::Cadd_in(EditingWindows& windows) : windows_(windows) {}

Cadd_in::~Cadd_in()
{
    if (DeviceSession* session = windows_.host().deviceSession())
        session->forgetRemoteLearnTarget(this);
}

int Cadd_in::templateId() const
{
    return IDD_LINE_EDITOR;
}

void Cadd_in::onInit()
{
    loadLine(kMainSectionId, ProgramLine{}, true);
    view_->showControl(IDC_LINE_HELP, windows_.usageExtras());
    view_->setFocus(IDC_LINE_REMARK);
}

bool Cadd_in::isShown() const
{
    return view_ && view_->isWindowShown();
}

std::string Cadd_in::selectedText(int id) const
{
    return view_->itemText(id, view_->currentIndex(id));
}

void Cadd_in::openEditor(int sectionId, int lineIndex, bool show, bool addMode, NewLinePlace place)
{
    if (!view_)
        return;
    if (show && !view_->isWindowShown())
        view_->showWindow(true);
    if (!view_->isWindowShown())
        return;
    editIndex_ = lineIndex;
    place_ = place;
    loadLine(sectionId,
             program().lineAt(sectionId, lineIndex < 0 ? UINT_MAX : static_cast<unsigned>(lineIndex)),
             addMode);
    // Only an editor asked to show comes to the top: one that merely follows
    // a list's selection leaves the keyboard with that list.
    if (show)
        view_->raiseWindow();
}

void Cadd_in::loadLine(int sectionId, const ProgramLine& line, bool addMode)
{
    Filling filling(filling_);
    for (int id : {IDC_LINE_SIDE, IDC_LINE_KIND, IDC_LINE_PARAM1, IDC_LINE_PARAM2, IDC_LINE_PARAM3}) {
        view_->clearItems(id);
        view_->setText(id, "");
    }
    view_->setText(IDC_LINE_REMARK, "");
    for (const EditorSide& side : sides)
        view_->addItem(IDC_LINE_SIDE, side.entry);

    editLine_ = addMode ? ProgramLine{} : line;
    editLine_.isResult = editLine_.isResult ? 1 : 0;
    editBase_ = line;
    editSection_ = sectionId;
    addMode_ = addMode;

    view_->setCurrentIndex(IDC_LINE_SIDE, editLine_.isResult);
    view_->setText(IDC_LINE_OR, sideOf(editLine_).checkText);
    orCheck_ = editLine_.orElse != 0 ? 1 : 0;
    view_->setCheckState(IDC_LINE_OR, orCheck_);
    fillKindList();
    fillParamLists();
    loaded_ = editLine_;
    loadedText_ = preparedParam3Text();
}

void Cadd_in::fillKindList()
{
    Filling filling(filling_);
    view_->clearItems(IDC_LINE_KIND);
    const EditorSide& side = sideOf(editLine_);
    const std::vector<int> kinds = side.offeredKinds();
    for (int code : kinds)
        view_->addItem(IDC_LINE_KIND, side.ops().kindName(code));
    auto at = std::find(kinds.begin(), kinds.end(), editLine_.kind());
    if (editLine_.kind() != 0 && at != kinds.end())
        view_->setCurrentIndex(IDC_LINE_KIND, static_cast<int>(at - kinds.begin()));
}

void Cadd_in::fillParamLists()
{
    Filling filling(filling_);
    for (int id : {IDC_LINE_PARAM1, IDC_LINE_PARAM2, IDC_LINE_PARAM3})
        view_->clearItems(id);
    const std::uint8_t* instruction = editLine_.instruction.data();
    if (editLine_.kind() != 0) {
        const EditorSide& side = sideOf(editLine_);
        struct ChoiceBox {
            int id;
            std::string (*text)(const std::uint8_t*, int);
            int value;
        };
        const ChoiceBox boxes[] = {
            {IDC_LINE_PARAM1, side.param1Text, editLine_.param1()},
            {IDC_LINE_PARAM2, side.param2Text, editLine_.param2()},
        };
        for (const ChoiceBox& box : boxes) {
            int listed = 0;
            for (int i = 1; i <= kMaxEntries; ++i) {
                std::string name = box.text(instruction, i);
                if (name.empty())
                    break;
                view_->addItem(box.id, name);
                listed = i;
            }
            if (box.value >= 1 && box.value <= listed)
                view_->setCurrentIndex(box.id, box.value - 1);
        }
        for (int k = 1; k <= kMaxEntries; ++k) {
            std::string suggestion = side.param3Choice(instruction, k);
            if (suggestion.empty())
                break;
            view_->addItem(IDC_LINE_PARAM3, suggestion);
        }
        view_->setText(IDC_LINE_PARAM3, side.ops().param3Text(instruction));
    }
    view_->setText(IDC_LINE_REMARK, editLine_.remark);
}

std::string Cadd_in::preparedParam3Text() const
{
    return prepareParam3Text(view_->text(IDC_LINE_PARAM3),
                             sideOf(editLine_).ops().isFormula(editLine_.kind()));
}

bool Cadd_in::showsLoadedLine(const std::string& text) const
{
    return !addMode_ && editLine_.isResult == loaded_.isResult &&
           std::equal(editLine_.instruction.begin(), editLine_.instruction.begin() + 3,
                      loaded_.instruction.begin()) &&
           text == loadedText_;
}

void Cadd_in::applyEdit()
{
    const std::string text = preparedParam3Text();
    if (showsLoadedLine(text))
        editLine_.instruction = loaded_.instruction;
    else
        sideOf(editLine_).ops().encode(text, editLine_.instruction.data());
    if (!addMode_)
        storeEditedLine();
}

bool Cadd_in::stillInPlace() const
{
    const ProgramSection* section = program().sectionById(editSection_);
    return section && editIndex_ >= 0 && static_cast<unsigned>(editIndex_) < section->count() &&
           sameContent(section->lines[static_cast<std::size_t>(editIndex_)], editBase_);
}

void Cadd_in::storeEditedLine()
{
    EditorHost& host = windows_.host();
    if (!stillInPlace())
        return;
    if (isListSection(editSection_)) {
        if (Chanshu_dlg* list = windows_.listOfSection(editSection_)) {
            list->replaceSelected(editSection_, editIndex_, editLine_);
            editBase_ = program().lineAt(editSection_, static_cast<unsigned>(editIndex_));
        }
        return;
    }
    if (editSection_ != kMainSectionId)
        return;
    View* main = host.mainView();
    if (!main)
        return;
    Clist_command list(main, IDC_PROGRAM_LIST);
    ProgramSection& section = program().main;
    const int row = list.highestSelected();
    // Only the line the editor loaded is changed: when the list's selection
    // moved on without telling the editor (a find, a delete), the editor's
    // line no longer belongs there.
    if (row < 0 || row != editIndex_ || static_cast<unsigned>(row) >= section.count())
        return;
    if (sameContent(section.lines[static_cast<std::size_t>(row)], editLine_))
        return;
    const int top = main->topIndex(IDC_PROGRAM_LIST);
    section.replaceAt(static_cast<unsigned>(row), editLine_);
    editBase_ = editLine_;
    list.renderSection(section);
    list.selectOnly(row);
    main->setTopIndex(IDC_PROGRAM_LIST, top);
    host.setModified();
    host.showProgramSize();
}

void Cadd_in::insertNewLine()
{
    EditorHost& host = windows_.host();
    if (isListSection(editSection_)) {
        if (Chanshu_dlg* list = windows_.listOfSection(editSection_)) {
            list->insertAfterSelected(editSection_, editLine_);
        } else if (ProgramSection* section = program().sectionById(editSection_)) {
            section->lines.push_back(editLine_);
            host.setModified();
        }
        return;
    }
    if (editSection_ != kMainSectionId)
        return;
    ProgramSection& section = program().main;
    View* main = host.mainView();
    if (!main) {
        section.lines.push_back(editLine_);
        host.setModified();
        return;
    }
    Clist_command list(main, IDC_PROGRAM_LIST);
    const int top = main->topIndex(IDC_PROGRAM_LIST);
    int added;
    const int first = list.lowestSelected();
    if (place_ == NewLinePlace::BeforeSelection && first >= 0 &&
        static_cast<unsigned>(first) < section.count()) {
        section.insertAt(static_cast<unsigned>(first), editLine_);
        added = first;
    } else {
        const int row = list.highestSelected();
        section.insertAfter(row < 0 ? UINT_MAX : static_cast<unsigned>(row), editLine_);
        // With nothing selected the line goes to the end, and that is the
        // row to select.
        added = row >= 0 && static_cast<unsigned>(row) + 1 < section.count()
                    ? row + 1
                    : static_cast<int>(section.count()) - 1;
    }
    list.renderSection(section);
    list.selectOnly(added);
    main->setTopIndex(IDC_PROGRAM_LIST, top);
    host.setModified();
    host.showProgramSize();
}

void Cadd_in::onCommand(int id, Notify code)
{
    if (filling_ || !view_)
        return;
    switch (id) {
    case IDC_LINE_SIDE:
        if (code == Notify::SelChanged)
            sideChosen();
        break;
    case IDC_LINE_KIND:
        if (code == Notify::SelChanged)
            kindChosen();
        break;
    case IDC_LINE_PARAM1:
        if (code == Notify::SelChanged)
            param1Chosen();
        break;
    case IDC_LINE_PARAM2:
        if (code == Notify::SelChanged)
            param2Chosen();
        break;
    case IDC_LINE_PARAM3:
        if (code == Notify::SelChanged)
            suggestionPicked();
        else if (code == Notify::Changed)
            applyEdit();
        else if (code == Notify::GotFocus)
            startRemoteLearning();
        break;
    case IDC_LINE_REMARK:
        if (code == Notify::Changed)
            editLine_.remark = view_->text(IDC_LINE_REMARK);
        break;
    case IDC_LINE_OR:
        if (code == Notify::Clicked) {
            orCheck_ = view_->checkState(IDC_LINE_OR) ? 1 : 0;
            editLine_.orElse = static_cast<std::uint8_t>(orCheck_);
        }
        break;
    case kConfirm:
        if (code == Notify::Clicked)
            confirm();
        break;
    case kCancel:
        if (code == Notify::Clicked)
            cancel();
        break;
    case IDC_LINE_HELP:
        if (code == Notify::Clicked)
            showKindHelp();
        break;
    default:
        break;
    }
}

void Cadd_in::sideChosen()
{
    const int sel = view_->currentIndex(IDC_LINE_SIDE);
    if (sel < 0)
        return;
    editLine_.isResult = sel == 1 ? 1 : 0;
    view_->setText(IDC_LINE_OR, sideOf(editLine_).checkText);
    fillKindList();
    fillParamLists();
    applyEdit();
}

void Cadd_in::kindChosen()
{
    const EditorSide& side = sideOf(editLine_);
    const std::vector<int> kinds = side.offeredKinds();
    const int sel = view_->currentIndex(IDC_LINE_KIND);
    const int kind = sel >= 0 && static_cast<std::size_t>(sel) < kinds.size()
                         ? kinds[static_cast<std::size_t>(sel)]
                         : 0;
    // No byte of the kind chosen before may stay behind: every param3 byte
    // is cleared before the new kind's defaults are set.
    std::uint8_t* instruction = editLine_.instruction.data();
    std::fill(instruction + 3, instruction + kInstructionBytes, std::uint8_t{0});
    instruction[0] = static_cast<std::uint8_t>(kind);
    instruction[1] = 1;
    instruction[2] = 1;
    side.ops().chooseKind(instruction, kind);

    {
        Filling filling(filling_);
        for (int id : {IDC_LINE_PARAM1, IDC_LINE_PARAM2, IDC_LINE_PARAM3, IDC_LINE_REMARK})
            view_->setText(id, "");
    }
    editLine_.remark.clear();
    fillParamLists();
    applyEdit();
}

void Cadd_in::param1Chosen()
{
    const int sel = view_->currentIndex(IDC_LINE_PARAM1);
    if (sel < 0)
        return;
    editLine_.instruction[1] = static_cast<std::uint8_t>(sel + 1);
    // A count left from the former choice would make the line claim data it
    // does not hold (kind 27 with any choice but 2, kind 30 returning nothing ...).
    dropUnwrittenCount(sideOf(editLine_).ops(), editLine_.instruction.data());
    fillParamLists();
    applyEdit();
}

void Cadd_in::param2Chosen()
{
    const int sel = view_->currentIndex(IDC_LINE_PARAM2);
    if (sel < 0)
        return;
    editLine_.instruction[2] = static_cast<std::uint8_t>(sel + 1);
    dropUnwrittenCount(sideOf(editLine_).ops(), editLine_.instruction.data());
    fillParamLists();
    applyEdit();
}

void Cadd_in::suggestionPicked()
{
    const int sel = view_->currentIndex(IDC_LINE_PARAM3);
    if (sel < 0)
        return;
    sideOf(editLine_).ops().pick(editLine_.instruction.data(), sel + 1);
    // The box shows the chosen entry; a combo box puts it into its edit
    // field only after this notification, so the text is taken from the list.
    {
        Filling filling(filling_);
        view_->setText(IDC_LINE_PARAM3, view_->itemText(IDC_LINE_PARAM3, sel));
    }
    applyEdit();
}

void Cadd_in::startRemoteLearning()
{
    DeviceSession* session = windows_.host().deviceSession();
    if (!session)
        return;
    const std::string kind = selectedText(IDC_LINE_KIND);
    const std::string param1 = selectedText(IDC_LINE_PARAM1);
    for (const LearnRule& rule : learnRules) {
        if (kind == rule.kindName && (!rule.param1Name || param1 == rule.param1Name)) {
            session->learnRemote(rule.kind, this);
            return;
        }
    }
}

void Cadd_in::showParam3(const std::string& text)
{
    if (!view_)
        return;
    {
        Filling filling(filling_);
        view_->setText(IDC_LINE_PARAM3, text);
    }
    // A hidden editor no longer speaks for the line its list shows, so the
    // code waits in the box until the editor is used again.
    if (isShown())
        applyEdit();
}

void Cadd_in::remoteCode(std::uint32_t parameter, std::uint32_t code)
{
    showParam3(format("无线参数:%u 无线数据:%u", static_cast<unsigned>(parameter),
                      static_cast<unsigned>(code)));
}

void Cadd_in::universalInfraredCode(const RemoteCodeBuffer& code)
{
    std::string text;
    for (int i = 0; i < code.length; ++i)
        text += format("%02X ", code.bytes[static_cast<std::size_t>(i)]);
    if (!text.empty())
        text.pop_back();
    showParam3(text);
}

bool Cadd_in::onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (msg == kRemoteCodeMessage) {
        remoteCode(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
        return true;
    }
    if (msg == kUniversalIrCodeMessage) {
        if (DeviceSession* session = windows_.host().deviceSession())
            universalInfraredCode(session->remoteCodeBuffer());
        return true;
    }
    return false;
}

void Cadd_in::confirm()
{
    applyEdit();
    if (addMode_)
        insertNewLine();
    view_->showWindow(false);
}

void Cadd_in::cancel()
{
    if (isListSection(editSection_)) {
        Chanshu_dlg* list = windows_.listOfSection(editSection_);
        if (list && list->isShown() && list->view()->isControlShown(IDC_SECTIONS_LINES))
            list->view()->setFocus(IDC_SECTIONS_LINES);
    }
    view_->showWindow(false);
}

void Cadd_in::showKindHelp()
{
    if (windows_.usageExtras())
        windows_.showKindHelp(editLine_.isResult != 0, editLine_.kind());
}

bool Cadd_in::onKeyDown(int key, bool ctrl, int)
{
    if (key != KeyF1 || ctrl || !windows_.usageExtras())
        return false;
    showKindHelp();
    return true;
}

bool Cadd_in::onClose()
{
    cancel();
    return false;
}

}  // namespace orlo
