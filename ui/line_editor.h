// The line editor Cadd_in (dialog 133, "编辑指令"): builds or changes one line
// of the main program, a function or a thread, from the kind lists, choice
// lists and third-parameter encoders of the catalogues, and learns remote
// codes for it. Changes to an existing line reach the program at once; a new
// line is inserted on confirmation.
#pragma once

#include <cstdint>
#include <string>

#include "device/device_session.h"
#include "model/program.h"
#include "platform/window.h"

namespace orlo {

class EditingWindows;

// The messages that bring a learned code to the editor when they come as
// window messages (the session normally tells the editor directly).
constexpr unsigned kRemoteCodeMessage = 1234;        // wParam parameter, lParam code
constexpr unsigned kUniversalIrCodeMessage = 1235;   // the code in remoteCodeBuffer

class Cadd_in : public Window, public RemoteCodeListener {
public:
    explicit Cadd_in(EditingWindows& windows);
    ~Cadd_in() override;
    Cadd_in(const Cadd_in&) = delete;
    Cadd_in& operator=(const Cadd_in&) = delete;

    // Where a new main-program line goes on confirmation: after the list's
    // highest selected row ("添加指令", "在后面插入") or before its lowest
    // ("在前面插入"); at the end when nothing is selected then.
    enum class NewLinePlace { AfterSelection, BeforeSelection };

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;
    // F1: the help window on the chosen kind, with the usage extras.
    bool onKeyDown(int key, bool ctrl, int focusId) override;
    bool onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    // The close box acts as "取消".
    bool onClose() override;

    // The entry of every line list. With show, the window is made visible
    // and brought to the top; a window that is (then) hidden does nothing
    // more, so callers without show only refresh an open editor. Otherwise it
    // loads line lineIndex of section sectionId (the empty line when there is
    // none). place matters only for a new main-program line.
    void openEditor(int sectionId, int lineIndex, bool show, bool addMode,
                    NewLinePlace place = NewLinePlace::AfterSelection);
    // Loads line (the empty line in add mode) into the controls.
    void loadLine(int sectionId, const ProgramLine& line, bool addMode);

    // Learned remote codes, shown as the third parameter's text.
    void remoteCode(std::uint32_t parameter, std::uint32_t code) override;
    void universalInfraredCode(const RemoteCodeBuffer& code) override;

    const ProgramLine& editLine() const { return editLine_; }
    int editSection() const { return editSection_; }
    bool addMode() const { return addMode_; }
    NewLinePlace newLinePlace() const { return place_; }
    bool isShown() const;

private:
    void fillKindList();
    void fillParamLists();
    // Encodes the third parameter's text into editLine and, for an existing
    // line, puts editLine into its section and list at once. An existing
    // line whose side, kind, param1, param2 and text are still those it was
    // loaded with keeps its loaded bytes: a few stored lines (a NaN double, a
    // string ending in half a character, a byte no text shows) have a text
    // that cannot give their bytes back.
    void applyEdit();
    std::string preparedParam3Text() const;
    bool showsLoadedLine(const std::string& text) const;
    void storeEditedLine();
    bool stillInPlace() const;
    void insertNewLine();

    void sideChosen();
    void kindChosen();
    void param1Chosen();
    void param2Chosen();
    void suggestionPicked();
    void startRemoteLearning();
    void confirm();
    void cancel();
    void showKindHelp();
    void showParam3(const std::string& text);

    std::string selectedText(int id) const;

    EditingWindows& windows_;
    ProgramLine editLine_;
    int editSection_ = kMainSectionId;
    // Where the line came from: its row and the line as the program held it
    // when last loaded or written. An existing line is written back only
    // while that row still holds that line and is its list's highest
    // selected row; a list changed under the editor (a find, a delete, a
    // paste) leaves the editor's line out of the program.
    int editIndex_ = -1;
    ProgramLine editBase_;
    bool addMode_ = false;
    NewLinePlace place_ = NewLinePlace::AfterSelection;
    // The line as loaded and the third parameter's text it showed, prepared
    // as applyEdit prepares typed text.
    ProgramLine loaded_;
    std::string loadedText_;
    int orCheck_ = 0;
    // Set while the editor fills its own controls, so that the notes a
    // control sends about it are not taken for the user's changes.
    bool filling_ = false;
};

}  // namespace orlo
