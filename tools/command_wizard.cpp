// The relay command wizard's controls, forms and buttons (see command_wizard.h).
#include "tools/command_wizard.h"

#include <vector>

#include "platform/shell.h"
#include "platform/strings.h"
#include "res/tools_resource.h"

namespace orlo {

namespace {

const char* const kTitle = "继电器板指令生成向导V1.7";
// Lines of the multi-line output box.
const char* const kLineBreak = "\r\n";

// Captions the window sets on opening; the labels that follow the
// operation change again later.
struct Caption {
    int id;
    const char* text;
};
const Caption captions[] = {
    {IDC_WIZ_ADDRESS_LABEL, "目标地址："},
    {IDC_WIZ_CHANNEL_LABEL, "第几路："},
    {IDC_WIZ_PARAM_LABEL, "参数：   "},
    {IDC_WIZ_REPLY_LABEL, "回码："},
    {IDC_WIZ_HELP, "填写说明"},
    {IDC_WIZ_GENERATE, "生成命令 （16进制）"},
    {IDC_WIZ_SEND, "发送"},
};

const char* const replyChoices[] = {"需要回码", "不需要回码"};
constexpr int kWithReply = 0;
constexpr int kWithoutReply = 1;
constexpr int kStartAddress = 1;
constexpr int kStartOperation = RelayCloseChannel;
constexpr int kAddressCount = 256;

const char* const usageLines[] = {
    "使用说明：",
    "这个小程序可以生成继电器板的控制命令，选择需要进行的操作，然后点生成命令就可以生成对应的指令。",
    "使用十六进制发送，波特率9600,n,8,1",
};

// The filling-in help: a heading and up to four sentences per operation.
struct Help {
    const char* lines[5];
};
#define ORLO_ADDRESS_SENTENCE "选择地址，选择是否需要回码，无回码命令可以连发。"
#define ORLO_ONE_CHANNEL_SENTENCE "选择第几路，选择是否需要回码，无回码命令可以连发"
#define ORLO_NEW_ADDRESS_SENTENCE "目标地址中填写需要更改为的目标地址。"
#define ORLO_POWER_UP_SENTENCE "Quorn模块上电十秒以内允许修改地址"
#define ORLO_SEQUENCE_DEFAULTS "只填一个数时末路与首路相同，不填间隔时间时间隔为100毫秒"
const Help helps[kRelayOperationCount] = {
    {{"查询目标模块的状态",
      "查询目标模块的状态，不需要选择第几路，也不需要选择是否需要回码，因为查询状态命令是肯定需要"
      "回码的。程序使用",
      "0x10功能码查询，模块收到这个查询指令后返回模块的当前状态。"}},
    {{"闭合某一路的填写说明：", ORLO_ONE_CHANNEL_SENTENCE}},
    {{"断开某一路的填写说明：", ORLO_ONE_CHANNEL_SENTENCE}},
    {{"翻转某一路的填写说明：", ORLO_ONE_CHANNEL_SENTENCE}},
    {{"点动某一路的填写说明：", "选择第几路，选择点动的时间，选择是否需要回码，无回码命令可以连发。",
      "模块收到点动命令后，闭合继电器并等待一段时间后自动断开，点动时间就是继电器闭合的时间。"}},
    {{"全部闭合填写说明：", ORLO_ADDRESS_SENTENCE}},
    {{"全部断开填写说明：", ORLO_ADDRESS_SENTENCE}},
    {{"组闭合填写说明：", ORLO_ADDRESS_SENTENCE,
      "路号中填写要闭合的路数，中间使用空格间隔，比如 1 3 5 12 就是闭合第一路",
      "第三路第五路和第十二路"}},
    {{"组断开填写说明：", ORLO_ADDRESS_SENTENCE,
      "路号中填写要断开的路数，中间使用空格间隔，比如 1 3 5 12 就是断开第一路",
      "第三路第五路和第十二路"}},
    {{"组翻转填写说明：", ORLO_ADDRESS_SENTENCE,
      "路号中填写要翻转的路数，中间使用空格间隔，比如 1 3 5 12 就是翻转第一路",
      "第三路第五路和第十二路"}},
    {{"指令执行填写说明：", ORLO_ADDRESS_SENTENCE,
      "路号中填写要闭合的路数，中间使用空格间隔，比如 1 3 5 12 就是只闭合第一路",
      "第三路第五路和第十二路，其他所有路断开", "如果不填，就是所有路都断开"}},
    {{"指令执行填写说明：", ORLO_NEW_ADDRESS_SENTENCE, ORLO_POWER_UP_SENTENCE}},
    {{"指令执行填写说明：", "选择地址中选择需要更改的模块的现有地址。", ORLO_NEW_ADDRESS_SENTENCE,
      ORLO_POWER_UP_SENTENCE}},
    {{"指令执行填写说明：", "参数中填写：首路 末路 间隔时间",
      "比如 2 8 500  从第二路到第八路 间隔500毫秒依次断开", ORLO_SEQUENCE_DEFAULTS}},
    {{"指令执行填写说明：", "参数中填写：首路 末路 间隔时间",
      "比如 2 8 500  从第二路到第八路 间隔500毫秒依次闭合", ORLO_SEQUENCE_DEFAULTS}},
};
#undef ORLO_ADDRESS_SENTENCE
#undef ORLO_ONE_CHANNEL_SENTENCE
#undef ORLO_NEW_ADDRESS_SENTENCE
#undef ORLO_POWER_UP_SENTENCE
#undef ORLO_SEQUENCE_DEFAULTS

// The four groups of controls an operation shows or hides, each a box and
// its label.
struct Group {
    int box, label;
};
const Group addressGroup{IDC_WIZ_ADDRESS, IDC_WIZ_ADDRESS_LABEL};
const Group channelGroup{IDC_WIZ_CHANNEL, IDC_WIZ_CHANNEL_LABEL};
const Group parameterGroup{IDC_WIZ_PARAM, IDC_WIZ_PARAM_LABEL};
const Group replyGroup{IDC_WIZ_REPLY, IDC_WIZ_REPLY_LABEL};

enum class Shown { Keep, Show, Hide };

// The form of each operation: the parameter label, which groups are shown
// or hidden, and whether the parameter box is emptied. Rows are searched in
// order; the last row (-1) is "no operation selected".
struct Form {
    int first, last;
    const char* parameterLabel;  // nullptr: unchanged
    bool presentAddress;         // the address label reads "现有地址"
    Shown address, channel, parameter, reply;
    bool emptyParameter;
};
const char* const kTargetAddressLabel = "目标地址";
const char* const kPresentAddressLabel = "现有地址";
const Form forms[] = {
    {0, 3, "路号(空格间隔):", false, Shown::Show, Shown::Show, Shown::Hide, Shown::Keep, false},
    {4, 4, "点动时间(毫秒): ", false, Shown::Show, Shown::Show, Shown::Show, Shown::Keep, false},
    {5, 6, nullptr, false, Shown::Show, Shown::Hide, Shown::Hide, Shown::Keep, false},
    {7, 10, "路号(哪几路开):", false, Shown::Show, Shown::Hide, Shown::Show, Shown::Keep, true},
    {11, 11, "目标地址:", false, Shown::Hide, Shown::Hide, Shown::Show, Shown::Hide, true},
    {12, 12, "目标地址:", true, Shown::Show, Shown::Hide, Shown::Show, Shown::Hide, true},
    {13, 14, "参数:", true, Shown::Show, Shown::Hide, Shown::Show, Shown::Show, true},
    {-1, -1, "无效参数：   ", false, Shown::Show, Shown::Show, Shown::Show, Shown::Keep, false},
};

const Form& formOf(int operation)
{
    for (const Form& f : forms)
        if (operation >= f.first && operation <= f.last)
            return f;
    return forms[sizeof forms / sizeof forms[0] - 1];
}

void showGroup(View& view, const Group& group, Shown shown)
{
    if (shown == Shown::Keep)
        return;
    view.showControl(group.box, shown == Shown::Show);
    view.showControl(group.label, shown == Shown::Show);
}

std::string joinLines(const char* const* lines, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count && lines[i]; ++i) {
        if (i)
            out += kLineBreak;
        out += lines[i];
    }
    return out;
}

void fillList(View& view, int id, const std::vector<std::string>& entries, int selected)
{
    view.setRedraw(id, false);
    view.clearItems(id);
    for (const std::string& e : entries)
        view.addItem(id, e);
    view.setRedraw(id, true);
    view.setCurrentIndex(id, selected);
}

}  // namespace

std::string Czhilingshengchengqi::usageText()
{
    return joinLines(usageLines, sizeof usageLines / sizeof usageLines[0]);
}

std::string Czhilingshengchengqi::helpText(int operation)
{
    if (operation < 0 || operation >= kRelayOperationCount)
        return std::string();
    const Help& h = helps[operation];
    return joinLines(h.lines, sizeof h.lines / sizeof h.lines[0]);
}

int Czhilingshengchengqi::templateId() const
{
    return IDD_RELAY_WIZARD;
}

void Czhilingshengchengqi::onInit()
{
    View& v = *view_;
    v.setTitle(kTitle);
    for (const Caption& c : captions)
        v.setText(c.id, c.text);

    std::vector<std::string> entries;
    for (int a = 0; a < kAddressCount; ++a)
        entries.push_back(format("地址%d", a));
    fillList(v, IDC_WIZ_ADDRESS, entries, kStartAddress);

    entries.clear();
    for (int i = 0; i < kRelayOperationCount; ++i)
        entries.push_back(relayOperation(i)->name);
    fillList(v, IDC_WIZ_OPERATION, entries, kStartOperation);

    entries.clear();
    for (int n = 1; n <= kRelayChannelCount; ++n)
        entries.push_back(format("第%d路", n));
    fillList(v, IDC_WIZ_CHANNEL, entries, 0);

    fillList(v, IDC_WIZ_REPLY, {replyChoices[0], replyChoices[1]}, kWithReply);

    v.setText(IDC_WIZ_OUTPUT, usageText());
}

void Czhilingshengchengqi::onCommand(int id, Notify code)
{
    if (id == IDC_WIZ_OPERATION && code == Notify::SelChanged)
        operationChanged();
    else if (code != Notify::Clicked)
        return;
    else if (id == IDC_WIZ_GENERATE)
        generate();
    else if (id == IDC_WIZ_HELP)
        showHelp();
    else if (id == IDC_WIZ_SEND)
        send();
}

RelayRequest Czhilingshengchengqi::request() const
{
    RelayRequest r;
    r.operation = view_->currentIndex(IDC_WIZ_OPERATION);
    const int address = view_->currentIndex(IDC_WIZ_ADDRESS);
    r.address = static_cast<std::uint8_t>(address >= 0 && address < kAddressCount ? address : 0);
    r.channel = view_->currentIndex(IDC_WIZ_CHANNEL) + 1;
    r.withReply = view_->currentIndex(IDC_WIZ_REPLY) != kWithoutReply;
    r.parameter = view_->text(IDC_WIZ_PARAM);
    return r;
}

void Czhilingshengchengqi::operationChanged()
{
    View& v = *view_;
    v.setText(IDC_WIZ_ADDRESS_LABEL, kTargetAddressLabel);
    showGroup(v, addressGroup, Shown::Show);
    showGroup(v, channelGroup, Shown::Show);
    showGroup(v, parameterGroup, Shown::Show);

    const Form& f = formOf(v.currentIndex(IDC_WIZ_OPERATION));
    if (f.parameterLabel)
        v.setText(IDC_WIZ_PARAM_LABEL, f.parameterLabel);
    if (f.presentAddress)
        v.setText(IDC_WIZ_ADDRESS_LABEL, kPresentAddressLabel);
    showGroup(v, addressGroup, f.address);
    showGroup(v, channelGroup, f.channel);
    showGroup(v, parameterGroup, f.parameter);
    showGroup(v, replyGroup, f.reply);
    if (f.emptyParameter)
        v.setText(IDC_WIZ_PARAM, std::string());
}

void Czhilingshengchengqi::generate()
{
    const RelayRequest r = request();
    if (!relayOperation(r.operation))
        return;
    const RelayBuild build = buildRelayFrame(r);
    for (const RelayMessage& m : build.messages)
        shell().messageBox(m.text, m.caption, Buttons::Ok, Icon::Warning);
    view_->setText(IDC_WIZ_OUTPUT, build.refused() ? std::string() : relayFrameText(build.frame));
}

void Czhilingshengchengqi::showHelp()
{
    const std::string help = helpText(view_->currentIndex(IDC_WIZ_OPERATION));
    if (!help.empty())
        view_->setText(IDC_WIZ_OUTPUT, help);
}

void Czhilingshengchengqi::send()
{
    // Text that is not hex bytes (the help, a typing slip) is neither sent
    // nor wiped: the box keeps it for the user to correct, and the user is
    // told why nothing went out.
    std::string bytes;
    if (!parseSendHex(view_->text(IDC_WIZ_OUTPUT), bytes)) {
        shell().messageBox(kNotHexMessage, kNotHexCaption, Buttons::Ok, Icon::Warning);
        return;
    }
    if (bytes.empty())
        return;
    view_->setText(IDC_WIZ_OUTPUT, hexText(bytes));
    // The board's reply is consumed by the protocol's reply handler.
    link_.setPending(PendingOperation::WizardSend);
    link_.sendToDevice(bytes);
}

}  // namespace orlo
