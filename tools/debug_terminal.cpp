// The debug terminal's controls, display timer and send lines (see
// debug_terminal.h).
#include "tools/debug_terminal.h"

#include <algorithm>
#include <vector>

#include "platform/shell.h"
#include "res/tools_resource.h"
#include "tools/relay_frames.h"

namespace orlo {

namespace {

const char* const kTitle = "调试窗口";

struct Caption {
    int id;
    const char* text;
};
const Caption captions[] = {
    {IDC_TERM_RECEIVE_ON, "接收"},
    {IDC_TERM_HEX_DISPLAY, "16进制显示"},
    {IDC_TERM_CLEAR, "清空接收"},
    {IDC_TERM_LABEL_HEX, "16进制"},
    {IDC_TERM_LABEL_DATA, "数据内容/字符串内容"},
    {IDC_TERM_LABEL_ACTION, "操作"},
    {IDC_TERM_SEND1, "发送"},
    {IDC_TERM_SEND2, "发送"},
    {IDC_TERM_SEND3, "发送"},
    {IDC_TERM_SEND4, "发送"},
    {IDC_TERM_SEND5, "发送"},
};

// The controls of send line k (0 to 4).
struct LineControls {
    int hex, text, send;
};
const LineControls lines[Ctiaoshi_helper_dlg::kSendLineCount] = {
    {IDC_TERM_HEX1, IDC_TERM_TEXT1, IDC_TERM_SEND1},
    {IDC_TERM_HEX2, IDC_TERM_TEXT2, IDC_TERM_SEND2},
    {IDC_TERM_HEX3, IDC_TERM_TEXT3, IDC_TERM_SEND3},
    {IDC_TERM_HEX4, IDC_TERM_TEXT4, IDC_TERM_SEND4},
    {IDC_TERM_HEX5, IDC_TERM_TEXT5, IDC_TERM_SEND5},
};

// Layout: each coordinate is an offset from 0, from half the client extent
// or from the whole of it. Controls without a given size keep theirs.
enum class From { Zero, Half, Whole };
struct Place {
    int id;
    From xFrom;
    int x;
    From yFrom;
    int y;
    From widthFrom;
    int width;
    From heightFrom;
    int height;
    bool keepSize;
};
constexpr int kLineTop = -220;  // send line k at H - 220 + 40·k
constexpr int kLineStep = 40;

std::vector<Place> placements()
{
    std::vector<Place> p = {
        {IDC_TERM_RECEIVE, From::Zero, 0, From::Zero, 0, From::Whole, 0, From::Whole, -350, false},
        {IDC_TERM_RECEIVE_ON, From::Zero, 20, From::Whole, -340, From::Zero, 0, From::Zero, 0, true},
        {IDC_TERM_HEX_DISPLAY, From::Half, 0, From::Whole, -340, From::Zero, 0, From::Zero, 0, true},
        {IDC_TERM_CLEAR, From::Whole, -180, From::Whole, -340, From::Zero, 60, From::Zero, 30, false},
        {IDC_TERM_LABEL_HEX, From::Zero, 0, From::Whole, -250, From::Zero, 0, From::Zero, 0, true},
        {IDC_TERM_LABEL_DATA, From::Half, 0, From::Whole, -250, From::Zero, 0, From::Zero, 0, true},
        {IDC_TERM_LABEL_ACTION, From::Whole, -100, From::Whole, -250, From::Zero, 0, From::Zero, 0,
         true},
    };
    for (int k = 0; k < Ctiaoshi_helper_dlg::kSendLineCount; ++k) {
        const int y = kLineTop + kLineStep * k;
        p.push_back({lines[k].hex, From::Zero, 20, From::Whole, y, From::Zero, 20, From::Zero, 20,
                     false});
        p.push_back({lines[k].text, From::Zero, 50, From::Whole, y, From::Whole, -200, From::Zero,
                     30, false});
        p.push_back({lines[k].send, From::Whole, -120, From::Whole, y, From::Zero, 100, From::Zero,
                     30, false});
    }
    return p;
}

int at(From from, int extent, int offset)
{
    switch (from) {
    case From::Zero:
        return offset;
    case From::Half:
        return extent / 2 + offset;
    case From::Whole:
        break;
    }
    return extent + offset;
}

}  // namespace

int Ctiaoshi_helper_dlg::templateId() const
{
    return IDD_TERMINAL;
}

void Ctiaoshi_helper_dlg::onInit()
{
    View& v = *view_;
    v.setTitle(kTitle);
    for (const Caption& c : captions)
        v.setText(c.id, c.text);
    receiving_ = true;
    v.setCheckState(IDC_TERM_RECEIVE_ON, 1);
    text_ = TerminalText();
    v.setCheckState(IDC_TERM_HEX_DISPLAY, 0);
    for (int k = 0; k < kSendLineCount; ++k) {
        lineHex_[k] = false;
        v.setCheckState(lines[k].hex, 0);
    }
    v.setText(IDC_TERM_RECEIVE, std::string());
}

void Ctiaoshi_helper_dlg::open()
{
    shell().setTimer(this, kFlushTimer, kTerminalFlushMs);
    layout(view_->clientSize());
    // Received bytes come to the display while the terminal is open.
    link_.setPending(PendingOperation::DebugTerminal);
    view_->showWindow(true);
    view_->raiseWindow();
}

bool Ctiaoshi_helper_dlg::onClose()
{
    link_.setPending(PendingOperation::Idle);
    view_->showWindow(false);
    return false;
}

void Ctiaoshi_helper_dlg::onSize(int width, int height)
{
    layout(Size{width, height});
}

void Ctiaoshi_helper_dlg::layout(Size client)
{
    if (!view_)
        return;
    for (const Place& p : placements()) {
        Rect r;
        r.x = at(p.xFrom, client.width, p.x);
        r.y = at(p.yFrom, client.height, p.y);
        if (p.keepSize) {
            const Rect now = view_->controlRect(p.id);
            r.width = now.width;
            r.height = now.height;
        } else {
            r.width = std::max(0, at(p.widthFrom, client.width, p.width));
            r.height = std::max(0, at(p.heightFrom, client.height, p.height));
        }
        view_->moveControl(p.id, r);
    }
}

void Ctiaoshi_helper_dlg::onCommand(int id, Notify code)
{
    if (id == 0 && code == Notify::DoubleClicked) {
        layout(view_->clientSize());
        return;
    }
    if (code != Notify::Clicked)
        return;
    switch (id) {
    case IDC_TERM_RECEIVE_ON:
        receiving_ = view_->checkState(IDC_TERM_RECEIVE_ON) != 0;
        return;
    case IDC_TERM_HEX_DISPLAY:
        // The check box has just changed: convert what is shown.
        text_.setHexDisplay(view_->checkState(IDC_TERM_HEX_DISPLAY) != 0);
        view_->setText(IDC_TERM_RECEIVE, text_.display());
        return;
    case IDC_TERM_CLEAR:
        text_.clearDisplay();
        view_->setText(IDC_TERM_RECEIVE, std::string());
        return;
    default:
        break;
    }
    for (int k = 0; k < kSendLineCount; ++k) {
        if (id == lines[k].hex)
            lineHex_[k] = view_->checkState(id) != 0;
        else if (id == lines[k].send)
            sendLine(k);
    }
}

void Ctiaoshi_helper_dlg::onTimer(int timerId)
{
    if (timerId == kFlushTimer && text_.flush())
        showDisplay();
}

void Ctiaoshi_helper_dlg::receiveByte(std::uint8_t byte)
{
    if (receiving_)
        text_.receive(byte);
}

void Ctiaoshi_helper_dlg::showDisplay()
{
    view_->setText(IDC_TERM_RECEIVE, text_.display());
    // The caret goes to the end and the last line into view: the top line
    // of an edit box is its top index.
    const std::string& d = text_.display();
    view_->setTopIndex(IDC_TERM_RECEIVE,
                       static_cast<int>(std::count(d.begin(), d.end(), '\n')));
}

void Ctiaoshi_helper_dlg::sendLine(int k)
{
    const SendLine line = sendLineBytes(view_->text(lines[k].text), lineHex_[k]);
    if (line.badHex)
        shell().messageBox(kNotHexMessage, kNotHexCaption, Buttons::Ok, Icon::Warning);
    if (!line.ok)
        return;
    if (lineHex_[k])
        view_->setText(lines[k].text, line.rewritten);
    link_.setPending(PendingOperation::DebugTerminal);
    link_.sendToDevice(line.bytes);
}

}  // namespace orlo
