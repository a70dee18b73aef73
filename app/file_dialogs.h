// The filters of the main window's file dialogs, written the way the tool
// has always written them ("label|pattern|...||"), and their reading into
// the shell's filter list.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace orlo {

// Open, Save and Save as.
extern const char* const kProgramFilter;
// Import ("导入", "导入函数文件").
extern const char* const kImportFilter;
// Import of the main-program part ("导入文件的主程序部分").
extern const char* const kImportMainPartFilter;
// Export ("导出").
extern const char* const kExportFilter;

// The label and pattern pairs of a filter string; reading stops at the empty
// field that ends it ("||"), and a label without a pattern is dropped.
std::vector<FileFilter> fileFilters(const std::string& filter);

}  // namespace orlo
