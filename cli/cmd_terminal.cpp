// tarn terminal: the debug terminal on the command line. Shows what the
// device sends, as text or as hex bytes, updated every 50 ms; sends each line
// typed on standard input, or one line given with --send / --send-hex, the
// way the terminal's send lines do (text as it is, without a line ending, or
// hex bytes); listens a given time after the last line and exits.
#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/command.h"
#include "cli/link_options.h"
#include "cli/number_option.h"
#include "device/clock.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "tools/terminal_text.h"

namespace orlo::cli {

namespace {

constexpr unsigned kDefaultListenMs = 1000;

int usageError(const char* text)
{
    std::fprintf(stderr, "tarn: %s\n", text);
    return 2;
}

// Lines typed on standard input, read on a thread of their own so that
// received bytes keep showing while the user types. Shared with that thread,
// which may outlive the command when the link is lost first.
struct TypedLines {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool ended = false;

    bool take(std::string& line, bool& ended)
    {
        std::lock_guard<std::mutex> lock(mutex);
        ended = this->ended && lines.empty();
        if (lines.empty())
            return false;
        line = std::move(lines.front());
        lines.pop_front();
        return true;
    }
};

void readTypedLines(std::shared_ptr<TypedLines> typed)
{
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::lock_guard<std::mutex> lock(typed->mutex);
        typed->lines.push_back(line);
    }
    std::lock_guard<std::mutex> lock(typed->mutex);
    typed->ended = true;
}

// Writes what the terminal shows to standard output as it comes: hex as it
// is, text as UTF-8 (raw GBK with --gbk), keeping a GBK lead byte back until
// its trail byte has come.
class Screen {
public:
    Screen(const Cli& cli, bool hex) : cli_(cli), hex_(hex) {}

    void show(const std::string& text)
    {
        std::string out;
        if (hex_ || cli_.rawGbk) {
            out = text;
        } else {
            held_ += text;
            const std::size_t whole = completeGbkLength(held_);
            out = gbkToUtf8(held_.substr(0, whole));
            held_.erase(0, whole);
        }
        write(out);
    }
    // Ends the output on a line break.
    void finish()
    {
        if (!held_.empty())
            write(gbkToUtf8(held_));
        held_.clear();
        if (written_ && !endsLine_)
            write("\n");
    }

private:
    void write(const std::string& out)
    {
        if (out.empty())
            return;
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
        written_ = true;
        endsLine_ = out.back() == '\n';
    }

    const Cli& cli_;
    bool hex_;
    std::string held_;
    bool written_ = false;
    bool endsLine_ = false;
};

// Sends one line as a send line of the terminal does; a line that sends
// nothing is refused with a message. False (with a message) only when its
// bytes could not be handed to the link.
bool sendLine(const Cli& cli, CliLink& link, const LinkChoice& choice, const std::string& line,
              bool hex)
{
    const SendLine s = sendLineBytes(line, hex);
    if (!s.ok) {
        cli.error(hex ? "tarn: not sent: give hex bytes separated by blanks, e.g. \"01 02 FF\""
                      : "tarn: not sent: the line is empty or has 1000 characters or more");
        return true;
    }
    if (!link.send(s.bytes)) {
        cli.error(notSentText(choice));
        return false;
    }
    return true;
}

int runTerminal(Cli& cli)
{
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string sendText, sendHex, listenText;
    const bool haveSend = cli.takeOption("send", sendText, ok);
    const bool haveSendHex = cli.takeOption("send-hex", sendHex, ok);
    const bool haveListen = cli.takeOption("listen", listenText, ok);
    const bool hexDisplay = cli.takeFlag("hex");
    const bool hexInput = cli.takeFlag("hex-input");
    if (!ok || cli.unknownOption() || !cli.text({sendText}))
        return 2;
    if (!cli.positionals().empty())
        return usageError("tarn terminal takes options only (see --help)");
    if (haveSend && haveSendHex)
        return usageError("give one of --send and --send-hex");
    unsigned listenMs = kDefaultListenMs;
    if (haveListen && !parseDecimal(listenText, 0, kLongestWaitMs, listenMs))
        return usageError("--listen takes milliseconds, e.g. 500 (at most 3600000)");
    const bool oneLine = haveSend || haveSendHex;
    if (haveSendHex && !sendLineBytes(sendHex, true).ok)
        return usageError("--send-hex needs hex bytes separated by blanks, e.g. \"01 02 FF\"");
    if (haveSend && !sendLineBytes(sendText, false).ok)
        return usageError("--send needs a text of 1 to 999 characters");

    CliLink link(cli, choice);
    if (!link.open())
        return 1;

    TerminalText text;
    text.setHexDisplay(hexDisplay);
    Screen screen(cli, hexDisplay);
    Clock& clock = systemClock();
    FlushSchedule flush(clock);

    std::shared_ptr<TypedLines> typed;
    std::thread reader;
    int status = 0;
    if (oneLine) {
        if (!sendLine(cli, link, choice, haveSend ? sendText : sendHex, haveSendHex))
            status = 1;
    } else {
        typed = std::make_shared<TypedLines>();
        reader = std::thread(readTypedLines, typed);
    }

    // Listening ends listenMs after the last line was sent (after the end of
    // the typed input), or when the link goes down.
    bool inputEnded = oneLine;
    std::uint64_t endMs = clock.nowMs() + listenMs;
    for (;;) {
        if (typed) {
            std::string line;
            bool ended = false;
            while (typed->take(line, ended))
                if (!sendLine(cli, link, choice, cli.rawGbk ? line : utf8ToGbk(line), hexInput))
                    status = 1;
            if (ended && !inputEnded) {
                inputEnded = true;
                endMs = clock.nowMs() + listenMs;
            }
        }
        if (flush.due())
            screen.show(text.takePending());
        if (inputEnded && clock.nowMs() >= endMs)
            break;

        ByteQueue::Event e;
        if (!link.received().next(e, flush.msUntilDue()))
            continue;
        if (e.lost) {
            screen.show(text.takePending());
            screen.finish();
            cli.error(std::string("tarn: ") +
                      (e.kind == LinkKind::Tcp ? "网络已断开" : "串口未连接") + " (" +
                      describeLink(choice) + ")");
            status = 1;
            break;
        }
        text.receive(e.byte);
    }
    screen.show(text.takePending());
    screen.finish();
    if (reader.joinable()) {
        // Still blocked on standard input only when the link went down first.
        if (inputEnded)
            reader.join();
        else
            reader.detach();
    }
    return status;
}

const CommandRegistration terminalCommand({
    "terminal", "the debug terminal: watch and send raw bytes on the device link",
    "usage: tarn terminal [LINK OPTIONS] [--hex] [--hex-input] [--listen MS]\n"
    "       tarn terminal [LINK OPTIONS] [--hex] (--send TEXT | --send-hex HEX) [--listen MS]\n\n"
    "Opens the device link and shows every byte that arrives on standard\n"
    "output, updated every 50 ms: as text (GBK, printed as UTF-8) or, with\n"
    "--hex, as hex bytes (\"01 AB \"). Zero bytes are not shown as text.\n\n"
    "Each line typed on standard input is sent as the terminal's send lines\n"
    "send it: its characters as they are, without a line ending, or with\n"
    "--hex-input its hex bytes (\"1 2 ff\" sends 01 02 FF). When the input ends,\n"
    "the terminal listens for MS milliseconds more (--listen, default 1000)\n"
    "and exits.\n\n"
    "Options:\n"
    "  --hex            show received bytes as hex\n"
    "  --hex-input      typed lines are hex bytes\n"
    "  --send TEXT      send this one line instead of reading standard input\n"
    "  --send-hex HEX   send these hex bytes instead of reading standard input\n"
    "  --listen MS      how long to listen after the last line (default 1000)\n\n"
    "Hex is blank-separated tokens, each the low 8 bits of a hex number of at\n"
    "most 9 characters (an optional 0x); a text of 498 characters or more, or\n"
    "any other token, sends nothing. A text line of 1000 characters or more\n"
    "sends nothing. Exit status 1 when the link cannot be opened, a line cannot\n"
    "be sent or the link goes down, 2 for usage errors.\n\n" ORLO_LINK_OPTIONS_HELP,
    runTerminal});

}  // namespace

}  // namespace orlo::cli
