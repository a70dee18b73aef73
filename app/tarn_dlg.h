// The main window: the program list, the file, tool and connection buttons,
// the address and port lists, the size figure and the progress bar, the menus
// and the keys of the list. It owns the device link and the device session,
// keeps the current file and the modified flag, and is reachable process-wide
// (mainWindow()) for the windows that redraw its list.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/edition.h"
#include "app/layout.h"
#include "ui/editing_commands.h"
#include "ui/editing_windows.h"
#include "ui/editor_host.h"
#include "ui/undo_history.h"
#include "device/countdown.h"
#include "device/device_session.h"
#include "device/firmware_update.h"
#include "device/link.h"
#include "app/program_verify.h"
#include "device/session_link.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "tools/command_wizard.h"
#include "tools/debug_terminal.h"
#include "tools/relay_test_panel.h"
#include "tools/tool_link.h"

namespace orlo {

class Cmming_dlg;

// What the main window needs from the program around it. Tarn.exe fills it
// in its entry point; tests pass fakes. Every member may stay empty.
struct MainWindowServices {
    // Runs the settings and information dialogs modally over the main
    // window. nullptr: those dialogs are not shown.
    WindowHost* host = nullptr;
    // Receives what the transports read (Tarn.exe: WM_RX_BYTE to the main
    // window, which comes back as onMessage). nullptr: received bytes are
    // dropped. Must outlive the window.
    ByteSink* sink = nullptr;
    // Told the main window once it has initialised (Tarn.exe points the
    // sink at its dialog then), and nullptr when the window object goes.
    std::function<void(Window*)> windowReady;
    // The transports, their clock and their diagnostics.
    LinkServices link;
    // The settings file; empty: "qv_pV2.ini" in the working folder.
    std::string settingsPath;
    // UTC seconds since 1970 for setting the controller's clock; empty: the
    // system clock.
    std::function<std::uint64_t()> utcSeconds;
    // The firmware images by resource id, and the loader's signature; empty:
    // the executable's own resources (see device/firmware_update.h).
    FirmwareSource firmware;
    std::string loaderSignature;
    // Which edition this window belongs to (menus, extras, look).
    const Edition* edition = &tarnEdition();
};

// The caption of message boxes that have none of their own.
extern const char* const kApplicationCaption;

class CTarnDlg : public Window {
public:
    explicit CTarnDlg(MainWindowServices services = {});
    ~CTarnDlg() override;
    CTarnDlg(const CTarnDlg&) = delete;
    CTarnDlg& operator=(const CTarnDlg&) = delete;

    // The main window once it has initialised, else nullptr.
    static CTarnDlg* mainWindow();

    // "Orlo V<version>(固件0.129)", the title without a file name.
    static std::string defaultTitle();
    // The size figure, "程序大小：%u 字节".
    static std::string sizeText(unsigned bytes);
    // The layout of every control, applied on each resize.
    static const std::vector<Placement>& layoutTable();
    // True when the main window itself carries out command id (a button or
    // a menu entry).
    static bool routesCommand(int id);
    // The commands other windows carry out (line editor, find window,
    // function and thread lists, naming window, firmware update): they
    // reach the handler registered for them.
    static const std::vector<int>& companionCommands();

    int templateId() const override;
    void onInit() override;
    void onCommand(int id, Notify code) override;
    void onSize(int width, int height) override;
    void onTimer(int timerId) override;
    bool onKeyDown(int key, bool ctrl, int focusId) override;
    void onContextMenu(int id, int x, int y) override;
    void onDropFiles(const std::vector<std::string>& paths) override;
    bool onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    // Asks about unsaved changes first; false (stay open) on Cancel.
    bool onClose() override;

    // Another window takes over command id (and every notification of
    // control id): handler runs instead of the main window's own action.
    // An empty handler removes it.
    using CommandHandler = std::function<void(Notify)>;
    void setCommandHandler(int id, CommandHandler handler);

    // Lays the controls out for a client area of the given size.
    void layout(Size client);
    // Shows the size figure of a program image of the given length.
    void showProgramSize(unsigned bytes);
    // Draws the main program into the list, selects currentLine and shows
    // the size figure.
    void refreshMainList();
    // A window changed the main program (a line edited, added, deleted, cut
    // or pasted): redraws the list and marks the program modified.
    void programChanged();

    // "撤销" and "重做" (undo_commands.cpp): the state of the program and the
    // name table before the last change, and back. Each redraws the main
    // list with the rows that were selected then, brings the open function
    // and thread lists, the line editor and the naming window up to date,
    // and sets modified unless the state is the one last saved or opened.
    void undo();
    void redo();
    // Starts a fresh history on the program as it is now, the state a file
    // holds (start-up, New, Open).
    void startHistory();
    const UndoHistory& history() const { return history_; }

    // The file commands. Each returns false when it stopped (Cancel, a file
    // that did not load or could not be written); the program, currentPath,
    // lastFolder and the title then stay as they were.
    bool newProgram();
    bool openProgram();
    bool openDroppedFile(const std::string& path);
    bool saveProgram();
    bool saveProgramAs();
    bool importLines();
    bool importMainPart();
    // "导入到选中行" (Orlo.exe): Import, with the lines going in before the
    // main list's first selected line, or at the end when nothing is
    // selected.
    bool importAtSelection();
    bool exportMainProgram();
    // When the program is modified, asks "文件被修改,是否保存?": Yes saves
    // (false when that did not happen), No goes on, Cancel stops (false).
    bool askToSaveChanges();

    // The editing commands on the main list.
    void deleteSelectedLines();
    void deleteAllLines();
    void cutLines();
    void copyLines();
    void pasteLines();
    // The search box: the next line after findPosition that contains its text.
    void findInMainProgram();

    // The edition this window belongs to.
    const Edition& edition() const { return services_.edition ? *services_.edition : tarnEdition(); }

    // The device commands of the "通信" menu and the two buttons.
    void readAllFromDevice();
    void writeAllToDevice();
    void setDeviceClock();
    void readDeviceClock();
    void readDeviceAddress();
    void writeDeviceAddress();
    void readHardwareInfo();
    void readHardwareInfo2();
    // "校验": the controller's program against the one in the window.
    void verifyWithDevice();
    // The communication settings dialog, then a reconnection with the
    // confirmed values.
    void editSettings();

    // "重命名": the global naming window, created on first use and then
    // shown again (naming_window.cpp). namingWindow() is nullptr before.
    void showNamingWindow();
    Cmming_dlg* namingWindow() const { return naming_.get(); }
    // The relay tools of the "工具" menu and the about box of the system
    // menu (tool_commands.cpp). The wizard runs modally over the main
    // window; the relay test panel exists from start-up on (nullptr when it
    // could not be created); the debug terminal from its first opening on.
    void openCommandWizard();
    void openDebugTerminal();
    void showRelayTestPanel();
    void showAbout();
    C_test_tool_dlg* relayTestPanel() { return relayPanel_.get(); }
    Ctiaoshi_helper_dlg* debugTerminal() { return terminal_.get(); }

    DeviceLink& link() { return link_; }
    DeviceSession& session() { return session_; }
    FirmwareUpdate& firmware() { return firmware_; }
    // The line editor, the function and thread lists and the find window.
    EditingWindows& editing() { return editing_; }

    // State other windows read and change.
    int currentLine = -1;        // main-program line last opened in the line editor
    int findPosition = -1;       // line found last by the search box
    std::string currentPath;     // program file last opened or saved
    std::string lastFolder;      // where the Open dialog starts
    std::string baseTitle;
    std::string programExtension;
    bool modified = false;
    bool autoOpenPort = false;   // the settings dialog's two flags, for this run
    bool autoOpenFile = false;

    // Timers 2 and 3 (100 ms): the firmware update's countdowns. Timer 2
    // counts the watchdog down (at zero the configured baud rate comes back,
    // and an update still pending ends as failed); timer 3 counts the start
    // delay down (at zero the update begins). The update sets both.
    Countdown watchdog;
    Countdown startDelay;

    // The tools that share the receive path: bytes received while nothing is
    // assembled (the debug terminal), and the checked replies of the relay
    // test panel and the firmware update. The constructor points them at the
    // debug terminal and the relay test panel; whoever takes other replies
    // keeps those two routes.
    std::function<void(std::uint8_t)> terminalByte;
    std::function<void(PendingOperation, std::string_view)> toolReply;

private:
    class LinkEventsAdapter final : public LinkEvents {
    public:
        explicit LinkEventsAdapter(CTarnDlg& owner) : owner_(owner) {}
        void connectionTextChanged(const std::string& text) override;
        void showMessage(const std::string& text) override;

    private:
        CTarnDlg& owner_;
    };
    class DeviceEventsAdapter final : public DeviceEvents {
    public:
        explicit DeviceEventsAdapter(CTarnDlg& owner) : owner_(owner) {}
        bool ask(const std::string& text, const std::string& caption) override;
        void showMessage(const std::string& text, const std::string& caption) override;
        void progressRange(unsigned high) override;
        void progressPosition(unsigned position) override;
        void programLoaded(std::string_view image) override;
        void showHardwareInfo(int mode, const std::string& text) override;
        void terminalByte(std::uint8_t byte) override;
        void toolReply(PendingOperation op, std::string_view frame) override;

    private:
        CTarnDlg& owner_;
    };
    // What the editing windows ask of the main window.
    class EditorHostAdapter final : public EditorHost {
    public:
        explicit EditorHostAdapter(CTarnDlg& owner) : owner_(owner) {}
        View* mainView() override { return owner_.view_; }
        void setModified() override
        {
            owner_.modified = true;
            owner_.recordChange();
        }
        void sealUndoStep() override { owner_.history_.seal(); }
        void undo() override { owner_.undo(); }
        void redo() override { owner_.redo(); }
        void showProgramSize() override;
        int currentLine() const override { return owner_.currentLine; }
        void setCurrentLine(int line) override { owner_.currentLine = line; }
        bool createWindow(Window& window) override;
        DeviceSession* deviceSession() override { return &owner_.session_; }

    private:
        CTarnDlg& owner_;
    };
    // The serial port's baud switch for the firmware update.
    class FirmwareLineAdapter final : public FirmwareLine {
    public:
        explicit FirmwareLineAdapter(CTarnDlg& owner) : owner_(owner) {}
        void setBaudRate(unsigned baudRate) override;
        void restoreBaudRate() override { owner_.restoreBaudRate(); }

    private:
        CTarnDlg& owner_;
    };
    // Drops what the transports read when nobody else takes it.
    class NullSink final : public ByteSink {
    public:
        bool postByte(std::uint8_t, unsigned, OsError& error) override
        {
            error = 0;
            return true;
        }
        void sendByte(std::uint8_t, unsigned) override {}
        void linkLost(LinkKind) override {}
    };

    struct Route {
        int id;
        void (CTarnDlg::*action)();
    };
    static const std::vector<Route>& routes();

    // The command wrappers of the routing table.
    void newCommand() { newProgram(); }
    void openCommand() { openProgram(); }
    void saveCommand() { saveProgram(); }
    void saveAsCommand() { saveProgramAs(); }
    void importCommand() { importLines(); }
    void importMainPartCommand() { importMainPart(); }
    void exportCommand() { exportMainProgram(); }
    void exitCommand();
    void connectionCommand();

    // Every change to the program or the name table ends here: what differs
    // from the history's current state becomes a step, and the program is
    // then modified. False when nothing differs.
    bool recordChange();
    // After a save: the history's current state is what the file holds.
    void historySaved();
    // The main list's selected rows and first visible row.
    ListPosition mainListPosition() const;
    void showRestored(const UndoHistory::Restored& restored);
    // Around every command and key of the main window: a run of line-editor
    // changes ends, and the history learns where the list stood before and
    // after.
    class UserAction {
    public:
        explicit UserAction(CTarnDlg& owner);
        ~UserAction();
        UserAction(const UserAction&) = delete;
        UserAction& operator=(const UserAction&) = delete;

    private:
        CTarnDlg& owner_;
    };

    const std::string& settingsFile() const;
    // Loads path into the program; on success the title, currentPath and
    // modified follow, and lastFolder becomes the folder of path (left as
    // it was when path has none and keepFolderWithout is set).
    bool loadProgramFile(const std::string& path, bool keepFolderWithout);
    void showTitleFor(const std::string& path);
    void tell(const std::string& text, const std::string& caption);
    void restoreBaudRate();
    // Leaves the chosen link connected anew and says its state.
    void reconnect(bool tcp);
    SectionEditor mainEditor();
    void createRelayTestPanel();
    void routeToolBytes();

    MainWindowServices services_;
    NullSink nullSink_;
    LinkEventsAdapter linkEvents_{*this};
    DeviceEventsAdapter deviceEvents_{*this};
    DeviceLink link_;
    LinkSender sender_{link_};
    DeviceSession session_;
    ProgramVerifier verifier_{sender_};
    std::map<int, CommandHandler> handlers_;
    // The menus "更新固件" and "更新固件_115200" and what the update needs.
    void installFirmwareUpdate();
    // Orlo.exe's usage extras (app/usage_extras.cpp): the help menu and
    // window, insert before and after, import at the selection, the notice
    // after a search that finds nothing, and their keys.
    void installUsageExtras();
    // Keys that run a command wherever the focus is in the main window.
    struct KeyCommand {
        int key;
        int command;
    };
    std::vector<KeyCommand> keyCommands_;

    // The context menu's "导入示例程序" entries (app/example_commands.cpp).
    void installExamples();
    void insertExampleProgram(const std::string& name);

    UndoHistory history_;
    FirmwareLineAdapter firmwareLine_{*this};
    FirmwareUpdate firmware_;
    // After the session: the line editor stops being its learning target
    // before the session goes.
    EditorHostAdapter editorHost_{*this};
    EditingWindows editing_{editorHost_};
    std::unique_ptr<Cmming_dlg> naming_;
    // The relay tools send through the session; they go before it does.
    SessionToolLink toolLink_{session_, sender_};
    std::unique_ptr<C_test_tool_dlg> relayPanel_;
    std::unique_ptr<Ctiaoshi_helper_dlg> terminal_;
};

}  // namespace orlo
