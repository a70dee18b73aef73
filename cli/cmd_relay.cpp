// tarn relay: the relay command wizard on the command line. Builds the 8-byte
// "55" frame of a relay-board operation and prints it as hex, or sends it
// over the device link and prints the board's sum reply with the channel
// states it reports. Connecting and waiting for a reply are bounded by
// --timeout.
#include <cstdio>

#include "cli/command.h"
#include "cli/link_options.h"
#include "cli/number_option.h"
#include "device/clock.h"
#include "device/frame_parser.h"
#include "device/reply_wait.h"
#include "platform/shell.h"
#include "platform/strings.h"
#include "tools/relay_frames.h"
#include "tools/relay_reply.h"

namespace orlo::cli {

namespace {

constexpr unsigned kDefaultTimeoutMs = 3000;

const char* const kUsage =
    "usage: tarn relay frame OP [--address A] [--channel C] [--param TEXT] [--no-reply]\n"
    "       tarn relay send OP [...] [--timeout S] [LINK OPTIONS]\n"
    "       tarn relay list\n";

int usageError(const char* text)
{
    std::fprintf(stderr, "tarn: %s\n", text);
    return 2;
}

int listOperations(const Cli& cli)
{
    for (int i = 0; i < kRelayOperationCount; ++i) {
        const RelayOperation& op = *relayOperation(i);
        const std::string without =
            op.noReplyRefusal ? std::string("  - ") : format("0x%02X", op.withoutReply);
        cli.print(format("%2d  %-17s 0x%02X %s  %s", i, op.alias, op.withReply, without.c_str(),
                         op.name));
    }
    return 0;
}

// Shows the builder's messages as the wizard does, through the shell.
void showMessages(const RelayBuild& build)
{
    for (const RelayMessage& m : build.messages)
        shell().messageBox(m.text, m.caption, Buttons::Ok, Icon::Warning);
}

// Sends the frame and waits for the board's sum reply, giving up after
// timeoutMs without a byte.
int sendFrame(const Cli& cli, LinkChoice choice, const RelayOperation& op,
              const RelayRequest& request, const std::string& frame, unsigned timeoutMs)
{
    choice.connectTimeoutMs = timeoutMs;
    CliLink link(cli, choice);
    if (!link.open())
        return 1;
    ReceiveState receive;
    SumFrameParser parser(receive);
    receive.requestSent();
    if (!link.send(frame)) {
        cli.error(notSentText(choice));
        return 1;
    }
    cli.print("sent  " + relayFrameText(frame));

    // Address changes and the forms without reply are not answered.
    if (!request.withReply || !op.awaitsReply)
        return 0;

    const WaitOutcome w =
        awaitReplies(link.received(), systemClock(), timeoutMs, [&](std::uint8_t b) {
            return parser.feed(b) ? ReplyStep::Done : ReplyStep::More;
        });
    switch (w.end) {
    case WaitEnd::Silent:
        cli.error(format("tarn: no reply from the relay board within %u.%03u s (%s)",
                         timeoutMs / 1000, timeoutMs % 1000, describeLink(choice).c_str()));
        return 1;
    case WaitEnd::LinkLost:
        cli.error(linkLostText(choice, w.lostKind));
        return 1;
    case WaitEnd::Done:
        break;
    }
    const std::string reply(parser.frame());
    cli.print("reply " + hexText(reply));
    const ReplyFrame r(reply);
    cli.print(format("module %u closed: %s", unsigned{r.byteAt(1)},
                     closedChannelsText(r.sumValue()).c_str()));
    return 0;
}

int runRelay(Cli& cli)
{
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string addressText, channelText, parameter, timeoutText;
    const bool haveAddress = cli.takeOption("address", addressText, ok);
    const bool haveChannel = cli.takeOption("channel", channelText, ok);
    cli.takeOption("param", parameter, ok);
    const bool haveTimeout = cli.takeOption("timeout", timeoutText, ok);
    const bool noReply = cli.takeFlag("no-reply");
    if (!ok || cli.unknownOption())
        return 2;

    const std::vector<std::string> pos = cli.positionals();
    if (pos.size() == 1 && pos[0] == "list")
        return listOperations(cli);
    if (pos.size() != 2 || (pos[0] != "frame" && pos[0] != "send")) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const bool sending = pos[0] == "send";

    RelayRequest request;
    request.operation = findRelayOperation(pos[1]);
    if (request.operation < 0)
        return usageError("no such relay operation; \"tarn relay list\" shows them (0 to 14)");
    unsigned number = 0;
    if (haveAddress) {
        if (!parseDecimal(addressText, 0, 255, number))
            return usageError("--address takes a board address from 0 to 255");
        request.address = static_cast<std::uint8_t>(number);
    }
    if (haveChannel) {
        if (!parseDecimal(channelText, 1, kRelayChannelCount, number))
            return usageError("--channel takes a channel from 1 to 32");
        request.channel = static_cast<int>(number);
    }
    request.withReply = !noReply;
    request.parameter = parameter;
    unsigned timeoutMs = kDefaultTimeoutMs;
    if (haveTimeout && !parseSecondsOption(timeoutText, timeoutMs))
        return usageError("--timeout takes seconds, e.g. 3 or 0.5 (at most 3600)");

    const RelayBuild build = buildRelayFrame(request);
    showMessages(build);
    if (build.refused())
        return 1;
    if (!sending) {
        cli.print(relayFrameText(build.frame));
        return 0;
    }
    std::fflush(stdout);  // before any diagnostic of the open
    return sendFrame(cli, choice, *relayOperation(request.operation), request, build.frame,
                     timeoutMs);
}

const CommandRegistration relayCommand({
    "relay", "build relay-board frames (the command wizard) and send them",
    "usage: tarn relay frame OP [--address A] [--channel C] [--param TEXT] [--no-reply]\n"
    "       tarn relay send OP [...] [--timeout S] [LINK OPTIONS]\n"
    "       tarn relay list\n\n"
    "The relay boards take 8-byte frames: 55, board address, function code,\n"
    "four parameter bytes, sum. OP is an operation's index 0 to 14, its name in\n"
    "the wizard's list (\"闭合某一路\") or its short name (\"close\"); \"tarn relay\n"
    "list\" prints them with their function codes with and without reply.\n\n"
    "  frame    print the frame as hex, e.g. 55 01 12 00 00 00 01 69\n"
    "  send     send it over the device link and print it (\"sent  ...\"); when\n"
    "           the board answers (every operation with reply but the address\n"
    "           changes) wait for its sum reply and print it (\"reply ...\") and\n"
    "           the channels it reports closed (\"module 1 closed: 1 3\")\n\n"
    "Options:\n"
    "  --address A    the board's address, 0 to 255 (default 1); the address\n"
    "                 changes send to the board with this address, and the\n"
    "                 broadcast change to F5 whatever it is\n"
    "  --channel C    the channel of the single-channel operations and of the\n"
    "                 jog, 1 to 32 (default 1)\n"
    "  --param TEXT   the parameter box: the jog time in ms; the channels of the\n"
    "                 group operations (\"1 3 5 12\"); the new address; or first,\n"
    "                 last and interval in ms of the sequences (\"2 8 500\"; with\n"
    "                 one number the last channel is the first, without the\n"
    "                 interval it is 100 ms)\n"
    "  --no-reply     the form without reply (the query has none)\n"
    "  --timeout S    give up connecting after S seconds, and waiting for the\n"
    "                 reply after S seconds in which no byte came (default 3)\n\n"
    "The wizard's messages go to standard error as \"message: CAPTION: TEXT\";\n"
    "a refused frame (an empty channel list, a query without reply, a value the\n"
    "frame cannot carry) exits with status 1, as does a frame that cannot be\n"
    "sent, a missing reply or a lost link. Usage errors exit with 2.\n\n" ORLO_LINK_OPTIONS_HELP,
    runRelay});

}  // namespace

}  // namespace orlo::cli
