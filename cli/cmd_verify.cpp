// tarn device verify FILE: reads the controller's program the way read-all
// does, into a program of its own (the file and the controller are never
// written), and compares it rule by rule with a program file, a function file
// (against the section of its id) or their JSON forms.
#include "cli/cmd_verify.h"

#include <algorithm>
#include <cstdio>

#include "cli/cli_events.h"
#include "cli/link_options.h"
#include "cli/number_option.h"
#include "cli/program_side.h"
#include "device/clock.h"
#include "device/device_session.h"
#include "device/reply_wait.h"
#include "device/session_link.h"
#include "model/image.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

constexpr unsigned kDefaultTimeoutMs = 3000;

const char* const kUsage =
    "usage: tarn device [LINK OPTIONS] [--address A] [--timeout S] [--section S] verify FILE\n"
    "  FILE: .qv3, .hanshu or their JSON form; --section 主程序|函数N|线程N chooses the\n"
    "  section a function file is compared with (default: the id the file stores)\n";

// The read as the command line sees it: the controller's answer to a read is
// the question's Yes; messages are kept to say why a read failed.
// The read's messages are printed only when it failed.
class VerifyEvents final : public CliEvents {
public:
    explicit VerifyEvents(const Cli& cli) : CliEvents(cli, "") {}
    void progressPosition(unsigned) override {}
};

// "主程序", "函数N", "线程N" or the id itself; false for anything else.
bool parseSection(const std::string& text, int& id)
{
    unsigned n = 0;
    if (text == "主程序") {
        id = kMainSectionId;
        return true;
    }
    const std::string function = "函数", thread = "线程";
    if (text.compare(0, function.size(), function) == 0 &&
        parseDecimal(text.substr(function.size()), 1, kFunctionCount, n)) {
        id = static_cast<int>(n);
        return true;
    }
    if (text.compare(0, thread.size(), thread) == 0 &&
        parseDecimal(text.substr(thread.size()), 1, kThreadCount, n)) {
        id = kThreadIdBase + static_cast<int>(n);
        return true;
    }
    if (parseDecimal(text, 0, kThreadIdBase + kThreadCount, n) && Program().sectionById(static_cast<int>(n))) {
        id = static_cast<int>(n);
        return true;
    }
    return false;
}

// Feeds received bytes to the session until the read ends. Gives up after
// timeoutMs in which no byte came, or when the link goes down; says why.
bool readUntilEnded(const Cli& cli, CliLink& link, const LinkChoice& choice,
                    DeviceSession& session, const VerifyEvents& events, unsigned timeoutMs)
{
    WaitOutcome w;
    if (!events.ended()) {
        unsigned replies = session.repliesHandled();
        w = awaitReplies(link.received(), systemClock(), timeoutMs, [&](std::uint8_t b) {
            session.onByte(b);
            if (events.ended())
                return ReplyStep::Done;
            if (session.repliesHandled() == replies)
                return ReplyStep::More;
            replies = session.repliesHandled();
            return ReplyStep::ReplyComplete;
        });
    }
    switch (w.end) {
    case WaitEnd::Done:
        break;
    case WaitEnd::Silent:
        cli.error(format("tarn: no reply from the controller within %u.%03u s to the program "
                         "read (%s)",
                         timeoutMs / 1000, timeoutMs % 1000, describeLink(choice).c_str()));
        return false;
    case WaitEnd::LinkLost:
        cli.error(linkLostText(choice, w.lostKind));
        return false;
    }
    if (!events.succeeded())
        events.reportMessages(false);
    return events.succeeded();
}

int verify(Cli& cli)
{
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string addressText, timeoutText, sectionText;
    const bool haveAddress = cli.takeOption("address", addressText, ok);
    const bool haveTimeout = cli.takeOption("timeout", timeoutText, ok);
    const bool haveSection = cli.takeOption("section", sectionText, ok);
    if (!ok || cli.unknownOption())
        return 2;
    const std::vector<std::string> pos = cli.positionals();
    unsigned address = 1, timeoutMs = kDefaultTimeoutMs;
    int sectionId = 0;
    if (pos.size() != 2 || (haveAddress && !parseDecimal(addressText, 0, 255, address)) ||
        (haveTimeout && !parseSecondsOption(timeoutText, timeoutMs)) ||
        (haveSection && !parseSection(sectionText, sectionId))) {
        // The usage holds GBK literals; standard error gets UTF-8.
        std::fputs(gbkToUtf8(kUsage).c_str(), stderr);
        return 2;
    }

    // The file first: a file that cannot be read costs no connection.
    ProgramSide file;
    if (!loadSide(cli, pos[1], file))
        return 2;
    if (haveSection)
        file.section.id = sectionId;

    ProgramSide controller;
    controller.path = "controller";
    std::string controllerImage;
    {
        CliLink link(cli, choice);
        if (!link.open()) {
            cli.error("tarn: verify: the controller's program could not be read");
            return 2;
        }
        LinkSender sender(link.link());
        VerifyEvents events(cli);
        SessionServices services;
        services.program = controller.program.get();
        services.names = &controller.names;
        DeviceSession session(sender, events, services);
        session.setDeviceAddress(static_cast<std::uint8_t>(address));
        session.readAll();
        if (!readUntilEnded(cli, link, choice, session, events, timeoutMs)) {
            cli.error("tarn: verify: the controller's program could not be read; nothing compared");
            return 2;
        }
        controllerImage = events.image();
    }

    ProgramDifferences d;
    if (!compareSides(cli, file, controller, d))
        return 2;
    std::vector<std::string> report = differenceReport(d);
    // Rules and names alike, yet the image the file makes is not the one the
    // controller holds: say so rather than call them identical.
    if (d.identical() && !file.isSection) {
        const std::string fileImage = buildImage(*file.program, file.names);
        if (fileImage != controllerImage)
            report.push_back(format("image: the file makes %u bytes, the controller holds %u "
                                    "bytes, and they differ",
                                    static_cast<unsigned>(fileImage.size()),
                                    static_cast<unsigned>(controllerImage.size())));
    }
    if (report.empty()) {
        cli.print("identical");
        return 0;
    }
    cli.print("--- " + pos[1]);
    cli.print("+++ " + std::string("controller ") + describeLink(choice) +
              format(" address %u", address));
    for (const std::string& line : report)
        cli.print(line);
    return 1;
}

}  // namespace

int runDeviceVerify(Cli& cli)
{
    if (std::find(cli.args.begin(), cli.args.end(), "verify") == cli.args.end())
        return -1;
    // Another command with a file or option value named "verify" is left alone.
    Cli probe = cli;
    LinkChoice choice;
    bool ok = true;
    std::string value;
    if (takeLinkOptions(probe, choice) != 0)
        return 2;
    for (const char* option : {"address", "timeout", "section"})
        probe.takeOption(option, value, ok);
    const std::vector<std::string> pos = probe.positionals();
    if (pos.empty() || pos[0] != "verify")
        return -1;
    return verify(cli);
}

}  // namespace orlo::cli
