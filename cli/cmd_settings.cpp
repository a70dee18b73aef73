// tarn settings: show and change the communication settings file
// "qv_pV2.ini" in the current folder; tarn link: show the link a device
// command would use, and exchange raw bytes over it.
#include <cstdio>

#include "cli/command.h"
#include "cli/link_options.h"
#include "device/settings.h"
#include "platform/strings.h"
#include "platform/text.h"

namespace orlo::cli {

namespace {

int runSettings(Cli& cli)
{
    if (cli.unknownOption() || !cli.text(cli.args))
        return 2;
    std::vector<std::string> pos = cli.positionals();
    if (pos.empty()) {
        for (const auto& kv : settingValues(loadSettings(settingsPath())))
            cli.print(kv.first + "=" + kv.second);
        return 0;
    }
    if (pos.size() != 3 || pos[0] != "set") {
        std::fprintf(stderr, "usage: tarn settings [set KEY VALUE]\n");
        return 2;
    }
    const SettingKey* key = findSettingKey(pos[1]);
    if (!key) {
        std::fprintf(stderr, "tarn: no setting '%s'; the keys are", pos[1].c_str());
        for (const SettingKey& k : settingKeys())
            std::fprintf(stderr, " %s", k.name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    std::string stored;
    if (!storedSettingText(*key, pos[2], stored)) {
        if (key->isText)
            std::fprintf(stderr, "tarn: %s takes one line of text\n", key->name);
        else
            std::fprintf(stderr, "tarn: %s takes a whole number from 0 to %u\n", key->name,
                         key->largestValue);
        return 2;
    }
    if (!writeSetting(settingsPath(), *key, stored)) {
        cli.error("tarn: cannot write " + pathToText(settingsPath()));
        return 1;
    }
    return 0;
}

int runLink(Cli& cli)
{
    LinkChoice choice;
    if (int status = takeLinkOptions(cli, choice))
        return status;
    bool ok = true;
    std::string hex, wait;
    bool sending = cli.takeOption("send", hex, ok);
    bool waiting = cli.takeOption("wait", wait, ok);
    if (!ok || cli.unknownOption())
        return 2;
    if (!cli.positionals().empty()) {
        std::fprintf(stderr, "usage: tarn link [LINK OPTIONS] [--send HEX [--wait MS]]\n");
        return 2;
    }
    std::string bytes;
    if (sending && (!parseHexText(hex, bytes) || bytes.empty())) {
        std::fprintf(stderr, "tarn: --send needs bytes as hex, e.g. \"01 69 00 00 00 00 5D C3\"\n");
        return 2;
    }
    unsigned waitMs = 1000;
    if (waiting) {
        bool digits = !wait.empty() && wait.size() <= 7;
        waitMs = 0;
        for (char c : wait) {
            digits = digits && c >= '0' && c <= '9';
            waitMs = waitMs * 10 + static_cast<unsigned>(c - '0');
        }
        if (!digits) {
            std::fprintf(stderr, "tarn: --wait needs milliseconds, e.g. 500\n");
            return 2;
        }
    }

    cli.print(describeLink(choice));
    if (!sending)
        return 0;
    std::fflush(stdout);  // before any diagnostic of the open

    CliLink link(cli, choice);
    if (!link.open())
        return 1;
    if (!link.send(bytes)) {
        cli.error(notSentText(choice));
        return 1;
    }
    std::string got;
    ByteQueue::Event e;
    while (link.received().next(e, waitMs) && !e.lost)
        got += static_cast<char>(e.byte);
    cli.print(hexText(got));
    if (e.lost) {
        cli.error(linkLostText(choice, e.kind));
        return 1;
    }
    return 0;
}

const CommandRegistration settingsCommand({
    "settings", "show or change the communication settings (qv_pV2.ini)",
    "usage: tarn settings\n"
    "       tarn settings set KEY VALUE\n\n"
    "The communication settings live in qv_pV2.ini, section canshu_v2, in the\n"
    "current folder, as the desktop tool keeps them. Without arguments, prints\n"
    "the five keys as KEY=VALUE lines with the values in effect (defaults for\n"
    "missing keys, the low 16 bits of the port):\n"
    "  com_or_tcp   0 serial port, 1 TCP                      (default 0)\n"
    "  com_num      serial port index: 0 is COM1 ... 254 COM255 (default 0)\n"
    "  btl_num      baud index: 0 300, 1 600, 2 1200, 3 2400, 4 4800, 5 9600,\n"
    "               6 19200, 7 38400, 8 57600, 9 115200     (default 5)\n"
    "  socket_port  TCP port of the network bridge            (default 6000)\n"
    "  ip           IPv4 address of the network bridge        (default 192.168.1.110)\n\n"
    "\"set\" writes one key as the settings dialog does: a number within the\n"
    "range the dialog offers, or an address (empty: 192.168.1.110).\n",
    runSettings});

const CommandRegistration linkCommand({
    "link", "show the device link in use, or send bytes over it",
    "usage: tarn link [LINK OPTIONS] [--send HEX [--wait MS]]\n\n"
    "Prints the link a device command would use, e.g. \"tcp 192.168.1.110:6000\"\n"
    "or \"serial /dev/ttyS0 9600\". With --send, opens it, sends the bytes,\n"
    "prints every byte that arrives until none has come for MS milliseconds\n"
    "(default 1000) as hex on one line, and closes it. Exit status 1 when the\n"
    "link cannot be opened, the bytes cannot be sent or the link goes down.\n\n"
    ORLO_LINK_OPTIONS_HELP,
    runLink});

}  // namespace

}  // namespace orlo::cli
