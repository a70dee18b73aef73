// The release version and commit of this build (see product.h); the build
// sets both for this file alone. A build that compiles the sources on its
// own (a fuzzing harness, say) gets "unknown".
#include "app/product.h"

#ifndef ORLO_RELEASE_VERSION
#define ORLO_RELEASE_VERSION "unknown"
#endif
#ifndef ORLO_COMMIT
#define ORLO_COMMIT "unknown"
#endif

namespace orlo {

const char* releaseVersion()
{
    return ORLO_RELEASE_VERSION;
}

const char* buildCommit()
{
    return ORLO_COMMIT;
}

std::string versionLine(const std::string& program)
{
    return program + " " + releaseVersion() + " (commit " + buildCommit() + ")";
}

}  // namespace orlo
