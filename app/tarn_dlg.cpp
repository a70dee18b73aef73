// The main window's start-up, layout, command routing, keys, context menu,
// timers and received bytes (see tarn_dlg.h). The file commands are in
// file_commands.cpp, the device commands and the settings dialog in
// device_commands.cpp.
#include "app/tarn_dlg.h"

#include <algorithm>

#include "expr/naming_dlg.h"
#include "app/about_dlg.h"
#include "app/product.h"
#include "model/image.h"
#include "model/program.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "ui/program_list.h"

namespace orlo {

const char* const kApplicationCaption = "Tarn";

namespace {

CTarnDlg* theMainWindow = nullptr;

const char* const kSizeFormat = "程序大小：%u 字节";
const char* const kProgramExtensionText = ".qv3";
constexpr int kStartAddress = 1;
constexpr int kProgressSteps = 50;
constexpr int kPortEntries = 255;
constexpr int kCancel = 2;  // IDCANCEL

// The three timers, every 100 ms: 1 does nothing, 2 and 3 drive the
// firmware update's countdowns.
constexpr int kIdleTimer = 1;
constexpr int kWatchdogTimer = 2;
constexpr int kStartDelayTimer = 3;
constexpr unsigned kTimerIntervalMs = 100;
const int timers[] = {kIdleTimer, kWatchdogTimer, kStartDelayTimer};

// The numbered entries of the two drop-down lists.
struct NumberedList {
    int id;
    const char* format;
    int first, last;
};
const NumberedList numberedLists[] = {
    {IDC_ADDRESS, "地址%d", 0, 255},
    {IDC_PORT, "COM%d", 1, kPortEntries},
};

// Keys on the main list, with Ctrl or without.
struct ListKey {
    int key;
    bool ctrl;
    void (CTarnDlg::*action)();
};
const ListKey listKeys[] = {
    {KeyDelete, false, &CTarnDlg::deleteSelectedLines},
    {KeyX, true, &CTarnDlg::cutLines},
    {KeyC, true, &CTarnDlg::copyLines},
    {KeyV, true, &CTarnDlg::pasteLines},
};

// Ctrl+Z and Ctrl+Y undo and redo wherever the focus is in the main window,
// but in its text boxes, where they stay the box's own.
const ListKey historyKeys[] = {
    {KeyZ, true, &CTarnDlg::undo},
    {KeyY, true, &CTarnDlg::redo},
};
const int textBoxes[] = {IDC_FIND_TEXT};

}  // namespace

CTarnDlg::CTarnDlg(MainWindowServices services)
    : services_(std::move(services)),
      link_(services_.sink ? *services_.sink : nullSink_, linkEvents_, services_.link),
      session_(sender_, deviceEvents_, SessionServices{nullptr, nullptr, services_.utcSeconds}),
      firmware_(session_, sender_, deviceEvents_, firmwareLine_, watchdog, startDelay,
                *services_.link.clock)
{
    // What differs between the editions is installed here, from the table.
    if (edition().firmwareUpdate)
        installFirmwareUpdate();
    if (edition().usageExtras)
        installUsageExtras();
    installExamples();

    // The main list, "添加指令", "查找", "函数列表" and "线程列表" belong to
    // the editing windows.
    setCommandHandler(IDC_PROGRAM_LIST, [this](Notify n) { editing_.mainListNotify(n); });
    const struct {
        int id;
        std::function<void()> action;
    } editingCommands[] = {
        {IDC_ADD_LINE, [this] { editing_.addMainLine(); }},
        {ID_EDIT_FIND, [this] { editing_.showFindWindow(); }},
        {ID_SETTINGS_FUNCTIONS, [this] { editing_.showSectionList(ListKind::Functions); }},
        {ID_SETTINGS_THREADS, [this] { editing_.showSectionList(ListKind::Threads); }},
    };
    for (const auto& c : editingCommands) {
        setCommandHandler(c.id, [action = c.action](Notify n) {
            if (n == Notify::Clicked)
                action();
        });
    }
    setCommandHandler(ID_SETTINGS_RENAME, [this](Notify n) {
        if (n == Notify::Clicked)
            showNamingWindow();
    });

    routeToolBytes();
}

CTarnDlg::~CTarnDlg()
{
    if (services_.windowReady)
        services_.windowReady(nullptr);
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

CTarnDlg* CTarnDlg::mainWindow()
{
    return theMainWindow;
}

std::string CTarnDlg::defaultTitle()
{
    return format("%s V%s(固件%s)", kProductName, kProductVersion, kFirmwareVersion);
}

std::string CTarnDlg::sizeText(unsigned bytes)
{
    return format(kSizeFormat, bytes);
}

const std::vector<Placement>& CTarnDlg::layoutTable()
{
    // The top row at y = 0; the list fills the client area below it but for
    // the bottom 40 pixels, where the progress bar sits.
    static const std::vector<Placement> table = {
        {IDC_OPEN, 0, 0, 50, 25},
        {IDC_SAVE, 50, 0, 50, 25},
        {IDC_SAVE_AS, 100, 0, 50, 25},
        {IDC_SETTINGS, 150, 0, 50, 25},
        {IDC_ADD_LINE, 220, 0, 75, 25},
        {IDC_DELETE, 295, 0, 50, 25},
        {IDC_PORT, 365, 0, 100, 25},
        {IDC_CONNECT, 465, 0, 100, 25},
        {IDC_ADDRESS, 585, 0, 120, 25},
        {IDC_READ_ALL, 705, 0, 60, 25},
        {IDC_WRITE_ALL, 765, 0, 60, 25},
        {IDC_PROGRAM_SIZE, 845, 0, 200, 25},
        {IDC_FIND_TEXT, 1065, 0, 150, 25},
        {IDC_FIND, 1215, 0, 40, 20},
        {IDC_PROGRAM_LIST, 0, 25, 0, -40, true, false, true},
        {IDC_PROGRESS, 0, -25, 0, 20, true, true, false},
    };
    return table;
}

const std::vector<CTarnDlg::Route>& CTarnDlg::routes()
{
    // Buttons and menu entries the main window carries out itself. The
    // File menu's "保存" and "退出" act like the button "保存" and the close box.
    static const std::vector<Route> table = {
        {IDC_OPEN, &CTarnDlg::openCommand},
        {IDC_SAVE, &CTarnDlg::saveCommand},
        {IDC_SAVE_AS, &CTarnDlg::saveAsCommand},
        {IDC_SETTINGS, &CTarnDlg::editSettings},
        {IDC_DELETE, &CTarnDlg::deleteSelectedLines},
        {IDC_CONNECT, &CTarnDlg::connectionCommand},
        {IDC_READ_ALL, &CTarnDlg::readAllFromDevice},
        {IDC_WRITE_ALL, &CTarnDlg::writeAllToDevice},
        {IDC_FIND, &CTarnDlg::findInMainProgram},
        {ID_FILE_NEW, &CTarnDlg::newCommand},
        {ID_FILE_OPEN, &CTarnDlg::openCommand},
        {ID_FILE_SAVE, &CTarnDlg::saveCommand},
        {ID_FILE_SAVE_AS, &CTarnDlg::saveAsCommand},
        {ID_FILE_IMPORT, &CTarnDlg::importCommand},
        {ID_FILE_IMPORT_MAIN, &CTarnDlg::importMainPartCommand},
        {ID_FILE_EXPORT, &CTarnDlg::exportCommand},
        {ID_FILE_EXIT, &CTarnDlg::exitCommand},
        {ID_EDIT_DELETE, &CTarnDlg::deleteSelectedLines},
        {ID_EDIT_DELETE_ALL, &CTarnDlg::deleteAllLines},
        {ID_EDIT_CUT, &CTarnDlg::cutLines},
        {ID_EDIT_COPY, &CTarnDlg::copyLines},
        {ID_EDIT_PASTE, &CTarnDlg::pasteLines},
        {ID_EDIT_UNDO, &CTarnDlg::undo},
        {ID_EDIT_REDO, &CTarnDlg::redo},
        {ID_SETTINGS_COMM, &CTarnDlg::editSettings},
        {ID_COMM_READ_ALL, &CTarnDlg::readAllFromDevice},
        {ID_COMM_WRITE_ALL, &CTarnDlg::writeAllToDevice},
        {ID_COMM_VERIFY, &CTarnDlg::verifyWithDevice},
        {ID_COMM_SET_CLOCK, &CTarnDlg::setDeviceClock},
        {ID_COMM_READ_CLOCK, &CTarnDlg::readDeviceClock},
        {ID_COMM_READ_ADDRESS, &CTarnDlg::readDeviceAddress},
        {ID_COMM_WRITE_ADDRESS, &CTarnDlg::writeDeviceAddress},
        {ID_COMM_HARDWARE_INFO, &CTarnDlg::readHardwareInfo},
        {ID_COMM_HARDWARE_INFO2, &CTarnDlg::readHardwareInfo2},
        // The relay tools and the about box.
        {ID_TOOLS_WIZARD, &CTarnDlg::openCommandWizard},
        {ID_TOOLS_TERMINAL, &CTarnDlg::openDebugTerminal},
        {ID_TOOLS_RELAY_TEST, &CTarnDlg::showRelayTestPanel},
        {IDM_ABOUTBOX, &CTarnDlg::showAbout},
    };
    return table;
}

bool CTarnDlg::routesCommand(int id)
{
    const std::vector<Route>& table = routes();
    return std::any_of(table.begin(), table.end(), [id](const Route& r) { return r.id == id; });
}

const std::vector<int>& CTarnDlg::companionCommands()
{
    static const std::vector<int> ids = {
        IDC_PROGRAM_LIST,    IDC_ADD_LINE,       ID_EDIT_FIND,     ID_SETTINGS_FUNCTIONS,
        ID_SETTINGS_THREADS, ID_SETTINGS_RENAME, ID_COMM_FIRMWARE, ID_COMM_FIRMWARE_115200,
    };
    return ids;
}

int CTarnDlg::templateId() const
{
    return IDD_MAIN;
}

void CTarnDlg::onInit()
{
    view_->addSystemMenuEntry(IDM_ABOUTBOX, CAboutDlg::systemMenuText());
    theMainWindow = this;
    if (services_.windowReady)
        services_.windowReady(this);
    editing_.createLineEditor();

    view_->setMenu(edition().menuId);
    baseTitle = defaultTitle() + edition().titleSuffix;
    view_->setTitle(baseTitle);

    for (const NumberedList& list : numberedLists) {
        view_->setRedraw(list.id, false);
        view_->clearItems(list.id);
        for (int n = list.first; n <= list.last; ++n)
            view_->addItem(list.id, format(list.format, n));
        view_->setRedraw(list.id, true);
    }
    session_.setDeviceAddress(kStartAddress);
    findPosition = -1;

    createRelayTestPanel();

    link_.loadSettings(settingsFile());

    // The address list always starts at address 1, whatever the last run
    // chose; the port list shows the saved port.
    view_->setCurrentIndex(IDC_ADDRESS, kStartAddress);
    const unsigned comIndex = link_.settings().comIndex;
    view_->setCurrentIndex(IDC_PORT, comIndex < kPortEntries ? static_cast<int>(comIndex) : -1);
    view_->setFocus(IDC_ADDRESS);

    session_.setPending(PendingOperation::Idle);
    view_->setProgressRange(IDC_PROGRESS, 0, kProgressSteps);

    program().clipboard.clear();
    view_->setFont(IDC_PROGRAM_LIST, listFont());
    refreshMainList();
    startHistory();

    modified = false;
    programExtension = kProgramExtensionText;

    for (int id : timers)
        shell().setTimer(this, id, kTimerIntervalMs);

    layout(view_->clientSize());
}

void CTarnDlg::setCommandHandler(int id, CommandHandler handler)
{
    if (handler)
        handlers_[id] = std::move(handler);
    else
        handlers_.erase(id);
}

void CTarnDlg::onCommand(int id, Notify code)
{
    const UserAction action(*this);
    auto handler = handlers_.find(id);
    if (handler != handlers_.end()) {
        // A copy: the handler may replace itself.
        CommandHandler h = handler->second;
        h(code);
        return;
    }
    if (code == Notify::SelChanged) {
        if (id == IDC_ADDRESS) {
            const int address = view_->currentIndex(IDC_ADDRESS);
            if (address >= 0)
                session_.setDeviceAddress(static_cast<std::uint8_t>(address));
        } else if (id == IDC_PORT) {
            const int port = view_->currentIndex(IDC_PORT);
            if (port >= 0) {
                LinkSettings s = link_.settings();
                s.comIndex = static_cast<unsigned>(port);
                link_.setSettings(s);
            }
        }
        return;
    }
    if (code != Notify::Clicked)
        return;
    for (const Route& r : routes()) {
        if (r.id == id) {
            (this->*r.action)();
            return;
        }
    }
}

void CTarnDlg::onSize(int width, int height)
{
    layout(Size{width, height});
}

void CTarnDlg::onTimer(int timerId)
{
    switch (timerId) {
    case kWatchdogTimer:
        watchdog.tick();
        break;
    case kStartDelayTimer:
        startDelay.tick();
        break;
    default:
        break;
    }
}

bool CTarnDlg::onKeyDown(int key, bool ctrl, int focusId)
{
    // Enter and Esc neither press a button nor close the main window.
    if (key == KeyReturn || key == KeyEscape)
        return true;
    for (const KeyCommand& k : keyCommands_) {
        if (k.key == key && !ctrl) {
            onCommand(k.command, Notify::Clicked);
            return true;
        }
    }
    const UserAction action(*this);
    if (std::find(std::begin(textBoxes), std::end(textBoxes), focusId) == std::end(textBoxes)) {
        for (const ListKey& k : historyKeys) {
            if (k.key == key && k.ctrl == ctrl) {
                (this->*k.action)();
                return true;
            }
        }
    }
    if (focusId != IDC_PROGRAM_LIST)
        return false;
    for (const ListKey& k : listKeys) {
        if (k.key == key && k.ctrl == ctrl) {
            (this->*k.action)();
            return true;
        }
    }
    return false;
}

void CTarnDlg::onContextMenu(int id, int x, int y)
{
    // Wherever the keyboard focus is: only the control under the cursor counts.
    if (id != IDC_PROGRAM_LIST)
        return;
    const int command = shell().popupMenu(this, edition().contextMenuId, CONTEXT_MAIN_LIST, x, y);
    if (command != 0)
        onCommand(command, Notify::Clicked);
}

void CTarnDlg::onDropFiles(const std::vector<std::string>& paths)
{
    if (!paths.empty())
        openDroppedFile(paths.front());
}

bool CTarnDlg::onMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t)
{
    if (msg == kRxByteMessage) {
        if (!verifier_.takeByte(static_cast<std::uint8_t>(wParam & 0xFF), session_.pending()))
            session_.onByte(static_cast<std::uint8_t>(wParam & 0xFF));
        return true;
    }
    if (msg == kLinkLostMessage) {
        link_.onLinkLost(wParam == static_cast<std::uintptr_t>(LinkKind::Tcp) ? LinkKind::Tcp
                                                                               : LinkKind::Serial);
        return true;
    }
    return false;
}

bool CTarnDlg::onClose()
{
    return askToSaveChanges();
}

void CTarnDlg::exitCommand()
{
    if (onClose())
        view_->endDialog(kCancel);
}

void CTarnDlg::layout(Size client)
{
    if (!view_)
        return;
    for (const Placement& p : layoutTable())
        view_->moveControl(p.id, placementRect(p, client));
}

void CTarnDlg::showProgramSize(unsigned bytes)
{
    if (view_)
        view_->setText(IDC_PROGRAM_SIZE, sizeText(bytes));
}

void CTarnDlg::refreshMainList()
{
    if (!view_)
        return;
    Clist_command list(view_, IDC_PROGRAM_LIST);
    list.renderSection(program().main);
    list.selectOnly(currentLine);
    showProgramSize(imageSize());
}

void CTarnDlg::EditorHostAdapter::showProgramSize()
{
    owner_.showProgramSize(imageSize());
}

bool CTarnDlg::EditorHostAdapter::createWindow(Window& window)
{
    return owner_.services_.host && owner_.services_.host->createModeless(window, &owner_);
}

void CTarnDlg::programChanged()
{
    refreshMainList();
    modified = true;
    recordChange();
}

void CTarnDlg::tell(const std::string& text, const std::string& caption)
{
    shell().messageBox(text, caption.empty() ? kApplicationCaption : caption, Buttons::Ok,
                       Icon::Information);
}

}  // namespace orlo
