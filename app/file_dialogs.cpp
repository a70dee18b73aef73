// The file dialogs' filters (see file_dialogs.h).
#include "app/file_dialogs.h"

namespace orlo {

const char* const kProgramFilter = "程序文件(*.qv3)|*.qv3|所有文件(*.*)|*.*||";
const char* const kImportFilter =
    "函数文件(*.hanshu)|*.hanshu|程序文件(*.qv3)|*.qv3|所有文件(*.*)|*.*||";
const char* const kImportMainPartFilter =
    "程序文件(*.qv3)|*.qv3|函数文件(*.hanshu)|*.hanshu|所有文件(*.*)|*.*||";
const char* const kExportFilter = "函数文件(*.hanshu)|*.hanshu|所有文件(*.*)|*.*||";

std::vector<FileFilter> fileFilters(const std::string& filter)
{
    // Split at '|' a character at a time: the second byte of a GBK
    // character may be 0x7C too.
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(filter[i]);
        if (c == '|') {
            if (field.empty())
                break;
            fields.push_back(field);
            field.clear();
            continue;
        }
        field += filter[i];
        if (c >= 0x81 && c <= 0xFE && i + 1 < filter.size())
            field += filter[++i];
    }
    if (!field.empty())
        fields.push_back(field);
    std::vector<FileFilter> out;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2)
        out.push_back({fields[i], fields[i + 1]});
    return out;
}

}  // namespace orlo
