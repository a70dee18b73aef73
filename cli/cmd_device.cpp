// tarn device: the device operations of the main window's communication menu
// from the command line: write and read the whole program, set and read the
// clock, hardware information, the module address and remote-code learning.
// The protocol itself never gives up on a missing reply; this command does,
// after --timeout seconds in which no byte came, and soon after when bytes
// keep coming that move the operation no further. It fails (status 1) too when
// a request could not be handed to an open link, and it waits for the
// controller's answer to the clock setting, which the window does not.
#include <algorithm>
#include <cstdio>

#include "cli/cmd_firmware.h"
#include "cli/cmd_verify.h"
#include "cli/cli_events.h"
#include "cli/command.h"
#include "cli/link_options.h"
#include "cli/number_option.h"
#include "device/clock.h"
#include "device/device_session.h"
#include "device/frame_parser.h"
#include "device/reply_wait.h"
#include "model/files.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

constexpr unsigned kDefaultTimeoutMs = 3000;
// How long the link must stay up after a frame that is not answered.
constexpr unsigned kSettleMs = 1000;

enum class Action {
    Write,
    Read,
    ClockSet,
    Clock,
    Info,
    Info2,
    Address,
    SetAddress,
    LearnRadio,
    LearnInfrared,
    LearnUniversal,
};

// What a subcommand waits for once its request has gone out.
enum class Awaits {
    Operation,  // the session's reply handler ends the operation
    Answer,     // a setting the session does not await, but the controller answers
    Nothing,    // not answered
};

struct Subcommand {
    const char* name;
    const char* argument;  // the one argument it takes, or nullptr
    Action action;
    Awaits awaits;
    const char* what;  // for the time-out message
};

const Subcommand kSubcommands[] = {
    {"write", "FILE.qv3", Action::Write, Awaits::Operation, "the program write"},
    {"read", "OUT.qv3", Action::Read, Awaits::Operation, "the program read"},
    {"clock-set", nullptr, Action::ClockSet, Awaits::Answer, "the clock setting"},
    {"clock", nullptr, Action::Clock, Awaits::Operation, "the clock read"},
    {"info", nullptr, Action::Info, Awaits::Operation, "the hardware information request"},
    {"info2", nullptr, Action::Info2, Awaits::Operation, "the hardware information 2 request"},
    {"address", nullptr, Action::Address, Awaits::Operation, "the address read"},
    {"set-address", nullptr, Action::SetAddress, Awaits::Nothing, ""},
    {"learn radio", nullptr, Action::LearnRadio, Awaits::Operation,
     "the radio remote-code request"},
    {"learn ir", nullptr, Action::LearnInfrared, Awaits::Operation,
     "the infrared remote-code request"},
    {"learn universal", nullptr, Action::LearnUniversal, Awaits::Operation,
     "the universal infrared code request"},
};

// The session's send path over the command's link; remembers a request
// that could not be handed to an open link.
class CliSender final : public DeviceSender {
public:
    explicit CliSender(DeviceLink& link) : link_(link) {}

    void sendToDevice(const std::uint8_t* bytes, std::size_t count) override
    {
        if (!link_.sendToDevice(bytes, count))
            notSent_ = true;
    }
    bool serialPortClosed() const override
    {
        return !link_.settings().useTcp && !link_.serialOpen();
    }
    bool notSent() const { return notSent_; }

private:
    DeviceLink& link_;
    bool notSent_ = false;
};

const char* const kUsage =
    "usage: tarn device [LINK OPTIONS] [--address A] [--timeout S] write FILE.qv3\n"
    "       tarn device [...] read OUT.qv3\n"
    "       tarn device [...] clock-set | clock | info | info2 | address | set-address\n"
    "       tarn device [...] learn radio|ir|universal\n";

// What the operations show, as the command line shows it: the message that
// answers the command on standard output, every other message on standard
// error as "message: CAPTION: TEXT", progress of transfers on standard error.
class CliDeviceEvents final : public CliEvents, public RemoteCodeListener {
public:
    explicit CliDeviceEvents(const Cli& cli) : CliEvents(cli, "blocks") {}

    void showHardwareInfo(int, const std::string& text) override { info_ = text; }
    void remoteCode(std::uint32_t parameter, std::uint32_t code) override
    {
        result_ = format("%u %u", parameter, code);
    }
    void universalInfraredCode(const RemoteCodeBuffer& code) override
    {
        result_ = hexText(code.bytes.data(), code.length);
    }
    void unexpectedReply(PendingOperation, std::string_view frame) override
    {
        const ReplyFrame r(frame);
        if (r.command() != kQueryCommand)
            unexpected_ = format("tarn: the reply is not a universal infrared code (command "
                                 "0x%02X, wanted 0x%02X): ",
                                 unsigned{r.command()}, unsigned{kQueryCommand});
        else
            unexpected_ = format("tarn: the reply is too short for the answer (%u data bytes): ",
                                 static_cast<unsigned>(r.data().size()));
        unexpected_ += hexText(std::string(frame));
    }

    // Prints what was shown: on success the last message (the answer) and
    // the hardware information go to standard output.
    void report(bool succeeded) const
    {
        reportMessages(succeeded);
        if (succeeded && !info_.empty()) {
            std::string text;
            for (char c : info_)
                if (c != '\r')
                    text += c;
            while (!text.empty() && text.back() == '\n')
                text.pop_back();
            cli_.print(text);
        }
        if (succeeded && !result_.empty())
            cli_.print(result_);
        if (!succeeded && !unexpected_.empty())
            cli_.error(unexpected_);
    }

private:
    std::string info_, result_, unexpected_;
};

const Subcommand* findSubcommand(const std::vector<std::string>& words, std::string& argument)
{
    for (const Subcommand& s : kSubcommands) {
        const std::string name = s.name;
        const std::size_t blank = name.find(' ');
        const std::size_t nameWords = blank == std::string::npos ? 1 : 2;
        const std::size_t wanted = nameWords + (s.argument ? 1 : 0);
        if (words.size() != wanted)
            continue;
        const std::string given = nameWords == 1 ? words[0] : words[0] + " " + words[1];
        if (given != name)
            continue;
        argument = s.argument ? words.back() : "";
        return &s;
    }
    return nullptr;
}

std::string seconds(unsigned ms)
{
    return format("%u.%03u s", ms / 1000, ms % 1000);
}

// Feeds received bytes to the session until the operation ends. Gives up
// when a request was not sent, after timeoutMs without a byte, or when the
// link goes down.
bool runUntilEnded(const Cli& cli, CliLink& link, const LinkChoice& choice,
                   DeviceSession& session, const CliDeviceEvents& events,
                   const CliSender& sender, const Subcommand& sub, unsigned timeoutMs)
{
    WaitOutcome w;
    if (!sender.notSent() && !events.ended()) {
        // Only a reply that moves the operation on restarts the wait: a
        // controller repeating a block or acknowledging the wrong one is
        // given up like a silent one.
        unsigned progress = session.progress();
        w = awaitReplies(link.received(), systemClock(), timeoutMs, [&](std::uint8_t b) {
            session.onByte(b);
            if (events.ended() || sender.notSent())
                return ReplyStep::Done;
            if (session.progress() == progress)
                return ReplyStep::More;
            progress = session.progress();
            return ReplyStep::ReplyComplete;
        });
    }
    if (sender.notSent()) {
        cli.error(notSentText(choice));
        return false;
    }
    switch (w.end) {
    case WaitEnd::Done:
        return events.succeeded();
    case WaitEnd::Silent:
        cli.error("tarn: no reply from the controller within " + seconds(timeoutMs) + " to " +
                  sub.what + " (" + describeLink(choice) + ")");
        return false;
    case WaitEnd::LinkLost:
        cli.error(linkLostText(choice, w.lostKind));
        return false;
    }
    return false;
}

// The controller answers a setting with a 0x6C reply at its address; waits
// for it after the request has gone out.
bool awaitSettingAnswer(const Cli& cli, CliLink& link, const LinkChoice& choice,
                        std::uint8_t address, const CliSender& sender, const Subcommand& sub,
                        unsigned timeoutMs)
{
    if (sender.notSent()) {
        cli.error(notSentText(choice));
        return false;
    }
    ReceiveState receive;
    FrameParser parser(receive);
    const WaitOutcome w =
        awaitReplies(link.received(), systemClock(), timeoutMs, [&](std::uint8_t b) {
            if (parser.feed(b, address) &&
                ReplyFrame(parser.frame()).command() == kSettingCommand)
                return ReplyStep::Done;
            return ReplyStep::More;
        });
    switch (w.end) {
    case WaitEnd::Done:
        return true;
    case WaitEnd::Silent:
        cli.error("tarn: no answer from the controller within " + seconds(timeoutMs) + " to " +
                  sub.what + "; it may not have taken it (" + describeLink(choice) + ")");
        return false;
    case WaitEnd::LinkLost:
        cli.error(linkLostText(choice, w.lostKind));
        return false;
    }
    return false;
}

// A frame nobody answers has arrived as far as anyone can tell when it was
// handed to the link and the link stays up a moment longer: a network
// bridge that hangs up at once throws away what it had not read.
bool linkStaysUp(const Cli& cli, CliLink& link, const LinkChoice& choice, const CliSender& sender,
                 unsigned timeoutMs)
{
    if (sender.notSent()) {
        cli.error(notSentText(choice));
        return false;
    }
    const WaitOutcome w = awaitReplies(link.received(), systemClock(),
                                       std::min(timeoutMs, kSettleMs),
                                       [](std::uint8_t) { return ReplyStep::More; });
    if (w.end != WaitEnd::LinkLost)
        return true;
    cli.error(linkLostText(choice, w.lostKind));
    return false;
}

int runDevice(Cli& cli)
{
    if (int status = runDeviceVerify(cli); status >= 0)
        return status;
    if (firmwareRequested(cli))
        return runDeviceFirmware(cli);
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string addressText, timeoutText;
    const bool haveAddress = cli.takeOption("address", addressText, ok);
    const bool haveTimeout = cli.takeOption("timeout", timeoutText, ok);
    if (!ok || cli.unknownOption())
        return 2;
    unsigned address = 1;
    if (haveAddress && !parseDecimal(addressText, 0, 255, address)) {
        std::fprintf(stderr, "tarn: --address takes a bus address from 0 to 255\n");
        return 2;
    }
    unsigned timeoutMs = kDefaultTimeoutMs;
    if (haveTimeout && !parseSecondsOption(timeoutText, timeoutMs)) {
        std::fprintf(stderr, "tarn: --timeout takes seconds, e.g. 3 or 0.5 (at most 3600)\n");
        return 2;
    }
    std::string argument;
    const Subcommand* sub = findSubcommand(cli.positionals(), argument);
    if (!sub) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    // The program to write is loaded before the link opens: a bad file
    // costs no connection.
    if (sub->action == Action::Write && !openProgramFile(cli.path(argument)))
        return 1;

    choice.connectTimeoutMs = timeoutMs;
    CliLink link(cli, choice);
    if (!link.open())
        return 1;
    CliSender sender(link.link());
    CliDeviceEvents events(cli);
    DeviceSession session(sender, events);
    session.setDeviceAddress(static_cast<std::uint8_t>(address));

    switch (sub->action) {
    case Action::Write:
        session.writeAll();
        break;
    case Action::Read:
        session.readAll();
        break;
    case Action::ClockSet:
        session.setClock();
        break;
    case Action::Clock:
        session.readClock();
        break;
    case Action::Info:
        session.readHardwareInfo();
        break;
    case Action::Info2:
        session.readHardwareInfo2();
        break;
    case Action::Address:
        session.readAddress();
        break;
    case Action::SetAddress:
        session.writeAddress();
        break;
    case Action::LearnRadio:
        session.learnRemote(RemoteKind::Radio, &events);
        break;
    case Action::LearnInfrared:
        session.learnRemote(RemoteKind::Infrared, &events);
        break;
    case Action::LearnUniversal:
        session.learnRemote(RemoteKind::UniversalInfrared, &events);
        break;
    }

    bool succeeded = true;
    switch (sub->awaits) {
    case Awaits::Operation:
        succeeded = runUntilEnded(cli, link, choice, session, events, sender, *sub, timeoutMs);
        break;
    case Awaits::Answer:
        succeeded = awaitSettingAnswer(cli, link, choice, session.deviceAddress(), sender, *sub,
                                       timeoutMs);
        break;
    case Awaits::Nothing:
        succeeded = linkStaysUp(cli, link, choice, sender, timeoutMs);
        break;
    }
    if (succeeded && sub->action == Action::Read) {
        std::string error;
        if (!writeFileSafely(cli.path(argument), events.image(), error)) {
            events.report(false);
            cli.error("tarn: " + argument + ": " + error);
            return 1;
        }
    }
    events.report(succeeded);
    return succeeded ? 0 : 1;
}

const CommandRegistration deviceCommand({
    "device", "talk to a controller: write, read, clock, information, address, learning",
    "usage: tarn device [LINK OPTIONS] [--address A] [--timeout S] COMMAND\n\n"
    "Commands:\n"
    "  write FILE.qv3    write the program of a program file to the controller\n"
    "  read OUT.qv3      read the controller's program into a program file; the\n"
    "                    file is written only once the whole image has arrived\n"
    "                    and passed its check\n"
    "  clock-set         set the controller's clock to now (UTC + 8 h) and wait\n"
    "                    for the controller's answer\n"
    "  clock             read the controller's clock\n"
    "  info              hardware information (the first layout)\n"
    "  info2             hardware information 2 (the layout follows its length)\n"
    "  address           read the address of the one module on the line\n"
    "  set-address       give the module on the line the address --address A\n"
    "                    (modules take it only shortly after power-up)\n"
    "  learn radio|ir|universal\n"
    "                    learn a radio, infrared or universal infrared remote code\n"
    "                    (press the remote within --timeout seconds)\n"
    "  verify FILE       compare the controller's program with a program file\n"
    "                    (or a function file with its section); writes nothing;\n"
    "                    exit 0 identical, 1 different, 2 read failed\n"
    "  firmware --image CHIP=FILE ...\n"
    "                    update the controller's firmware (tarn device firmware\n"
    "                    --help tells more)\n\n"
    "Options:\n"
    "  --address A       the controller's bus address, 0 to 255 (default 1)\n"
    "  --timeout S       give up connecting after S seconds, and waiting for a\n"
    "                    reply after S seconds in which no byte came (default 3)\n\n"
    "On success, standard output gets the message that ends the operation\n"
    "(\"全部数据已写入！\", the controller's time, its address ...), the hardware\n"
    "information, and after learning one line more: PARAMETER CODE, or the\n"
    "universal code's bytes as hex. Progress and every other message go to\n"
    "standard error, messages as \"message: CAPTION: TEXT\". Exit status 0 on\n"
    "success, 1 when the controller refused, did not reply or answer, a request\n"
    "could not be sent, or the link failed, 2 for usage errors.\n\n" ORLO_LINK_OPTIONS_HELP,
    runDevice});

}  // namespace

}  // namespace orlo::cli
