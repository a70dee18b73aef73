// Fuzz target: a name table text imported through the global naming window
// (fake view and shell), as "导入" reads a file. Every category is then
// listed, and every row with an alias is picked and applied unchanged, which
// must leave the table as it was.
#include <cstdint>
#include <string>

#include "expr/naming_dlg.h"
#include "expr/names.h"
#include "fuzz_common.h"
#include "model/program.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_view.h"
#include "res/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orlo;
    static Program program;
    FakeShell shell;
    ShellScope scope(shell);
    NameTable table;
    Cmming_dlg dlg(table, program, NamingServices{});
    FakeView view;
    dlg.attach(&view);
    dlg.onInit();
    shell.paths = {fuzz::inputFile(data, size, ".txt")};
    dlg.onCommand(IDC_NAMING_IMPORT, Notify::Clicked);
    const std::string imported = table.exportText();
    for (int category = 0; category < view.itemCount(IDC_NAMING_CATEGORIES); ++category) {
        view.setCurrentIndex(IDC_NAMING_CATEGORIES, category);
        dlg.onCommand(IDC_NAMING_CATEGORIES, Notify::SelChanged);
        for (int row = 0; row < view.itemCount(IDC_NAMING_ITEMS); ++row) {
            const std::string item = view.itemText(IDC_NAMING_ITEMS, row);
            if (item.back() == '=')
                continue;
            view.setCurrentIndex(IDC_NAMING_ITEMS, row);
            dlg.onCommand(IDC_NAMING_ITEMS, Notify::SelChanged);
            dlg.onCommand(IDC_NAMING_APPLY, Notify::Clicked);
            if (table.exportText() != imported)
                __builtin_trap();
        }
    }
    dlg.attach(nullptr);
    return 0;
}
