// Command-line arguments on POSIX systems: the bytes as given, taken as UTF-8.
#include "platform/text.h"

namespace orlo {

std::vector<std::string> utf8Arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace orlo
