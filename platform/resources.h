// The program's own resources: data that the build embedded in the
// executable (the firmware images and the loader signature of Tarn.exe).
// Windows reads them from the executable; other platforms have none.
#pragma once

#include <string>

namespace orlo {

enum class ResourceLoad {
    Loaded,
    Missing,     // no resource of that type and id
    Unloadable,  // it exists but its data could not be had
};

// Copies the data of resource id of the given type (a name such as
// "BINARY") into bytes. bytes is left empty unless Loaded.
ResourceLoad loadOwnResource(const char* type, int id, std::string& bytes);

}  // namespace orlo
