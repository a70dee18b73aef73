// The main window's start-up and layout (see tarn_dlg.h).
#include "app/tarn_dlg.h"

#include "ui/program_list.h"

#include "platform/strings.h"
#include "res/resource.h"

namespace orlo {

namespace {

CTarnDlg* theMainWindow = nullptr;

const char* const kFirmwareVersion = "0.129";
const char* const kSizeFormat = "程序大小：%u 字节";
const char* const kProgramExtension = ".qv3";
constexpr int kStartAddress = 1;
constexpr int kProgressSteps = 50;

// The numbered entries of the two drop-down lists.
struct NumberedList {
    int id;
    const char* format;
    int first, last;
};
const NumberedList numberedLists[] = {
    {IDC_ADDRESS, "地址%d", 0, 255},
    {IDC_PORT, "COM%d", 1, 255},
};

}  // namespace

CTarnDlg::~CTarnDlg()
{
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

CTarnDlg* CTarnDlg::mainWindow()
{
    return theMainWindow;
}

std::string CTarnDlg::defaultTitle()
{
    return format("Orlo V%s(固件%s)", ORLO_VERSION, kFirmwareVersion);
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

int CTarnDlg::templateId() const
{
    return IDD_MAIN;
}

void CTarnDlg::onInit()
{
    theMainWindow = this;

    baseTitle = defaultTitle();
    view_->setTitle(baseTitle);

    for (const NumberedList& list : numberedLists) {
        view_->setRedraw(list.id, false);
        view_->clearItems(list.id);
        for (int n = list.first; n <= list.last; ++n)
            view_->addItem(list.id, format(list.format, n));
        view_->setRedraw(list.id, true);
    }
    findPosition = -1;

    // The address list always starts at address 1; the port list at the
    // first port until the saved settings choose one.
    view_->setCurrentIndex(IDC_ADDRESS, kStartAddress);
    view_->setCurrentIndex(IDC_PORT, 0);
    view_->setFocus(IDC_ADDRESS);

    view_->setProgressRange(IDC_PROGRESS, 0, kProgressSteps);
    view_->setFont(IDC_PROGRAM_LIST, listFont());
    showProgramSize(0);

    modified = false;
    programExtension = kProgramExtension;

    layout(view_->clientSize());
}

void CTarnDlg::onSize(int width, int height)
{
    layout(Size{width, height});
}

bool CTarnDlg::onKeyDown(int key, bool, int)
{
    // Enter and Esc neither press a button nor close the main window.
    return key == KeyReturn || key == KeyEscape;
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

}  // namespace orlo
