// The program's own resources on POSIX systems: executables built here
// carry none (see platform/resources.h).
#include "platform/resources.h"

namespace orlo {

ResourceLoad loadOwnResource(const char*, int, std::string& bytes)
{
    bytes.clear();
    return ResourceLoad::Missing;
}

}  // namespace orlo
