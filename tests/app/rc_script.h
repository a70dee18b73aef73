// Reads the parts of the resource script and its id header that tests check:
// the #define values, the control ids of one dialog template and the names
// of a menu's top-level pop-ups. Only the statement forms res/*.rc uses.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace orlo {

struct RcScript {
    std::map<std::string, long> defines;
    std::vector<std::string> lines;

    // Reads the header's #defines and the script's lines; false when a file
    // cannot be read.
    bool load(const std::string& headerPath, const std::string& scriptPath);
    // A number or a #define name; IDC_STATIC is -1, IDOK 1, IDCANCEL 2; false when unknown.
    bool resolve(const std::string& token, long& value) const;
    // The control ids of dialog dialogId in template order (duplicates kept),
    // or false when the template is missing or a control's id is unknown.
    bool dialogControlIds(long dialogId, std::vector<long>& ids) const;
    // The texts of menu menuId's top-level POPUP entries, in order.
    bool menuPopups(long menuId, std::vector<std::string>& names) const;
    // Text (UTF-8, as written) and command id of every MENUITEM of menu
    // menuId, at any depth, in order.
    struct MenuItem {
        std::string text;
        long id;
    };
    bool menuItems(long menuId, std::vector<MenuItem>& items) const;

private:
    // Index of the BEGIN that opens resource id's block of the given type.
    bool findBlock(long id, const std::string& type, std::size_t& begin) const;
};

}  // namespace orlo
