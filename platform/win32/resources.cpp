// The program's own resources on Windows: FindResourceA, LoadResource,
// LockResource and SizeofResource on the executable (see
// platform/resources.h).
#include <windows.h>

#include "platform/resources.h"

namespace orlo {

ResourceLoad loadOwnResource(const char* type, int id, std::string& bytes)
{
    bytes.clear();
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found)
        return ResourceLoad::Missing;
    HGLOBAL loaded = LoadResource(nullptr, found);
    if (!loaded)
        return ResourceLoad::Unloadable;
    const void* data = LockResource(loaded);
    const DWORD size = SizeofResource(nullptr, found);
    if (!data && size != 0)
        return ResourceLoad::Unloadable;
    bytes.assign(static_cast<const char*>(data), size);
    return ResourceLoad::Loaded;
}

}  // namespace orlo
