// tarn example: the example programs of Tarn.exe's context menu
// "导入示例程序", listed or written as program files.
#include <cstdio>

#include "app/examples.h"
#include "cli/command.h"
#include "expr/names.h"
#include "model/files.h"
#include "model/image.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace orlo::cli {

namespace {

int runExample(Cli& cli)
{
    if (cli.unknownOption())
        return 2;
    const std::vector<std::string> pos = cli.positionals();
    if (pos.size() == 1 && pos[0] == "list") {
        for (const ExampleEntry& e : exampleEntries())
            cli.print(std::string(e.name) + "\t" + e.caption);
        return 0;
    }
    if (pos.size() != 2) {
        std::fprintf(stderr, "usage: tarn example list\n       tarn example NAME OUT.qv3\n");
        return 2;
    }
    if (!endsWith(pos[1], kProgramExtension)) {
        cli.error("tarn: " + pos[1] + ": the output must end in .qv3");
        return 2;
    }
    const std::string message = loadExample(pos[0], program(), names());
    if (!message.empty()) {
        cli.error("tarn: " + message + " (tarn example list names them)");
        return 2;
    }
    std::string error;
    if (!writeFileSafely(cli.path(pos[1]), buildImage(), error)) {
        cli.error("tarn: " + pos[1] + ": " + error);
        return 1;
    }
    return 0;
}

const CommandRegistration exampleCommand({
    "example", "list the example programs or write one as a program file",
    "usage: tarn example list\n"
    "       tarn example NAME OUT.qv3\n\n"
    "list prints each example as NAME<TAB>the entry of the main list's context\n"
    "menu \"导入示例程序\" that inserts it. NAME OUT.qv3 writes that example\n"
    "(main program, its functions and threads, its aliases) as a program file;\n"
    "a file that exists is replaced only once the new one is written whole.\n",
    runExample});

}  // namespace

}  // namespace orlo::cli
