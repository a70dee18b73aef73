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

std::string buildDate()
{
    // __DATE__ is "Mmm dd yyyy", the day blank-padded.
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const std::string date = __DATE__;
    int month = 1;
    while (month <= 12 && date.compare(0, 3, months + 3 * (month - 1), 3) != 0)
        ++month;
    const std::string day = date.substr(4, 2);
    std::string out = date.substr(7, 4) + "-" + (month < 10 ? "0" : "") + std::to_string(month) + "-";
    out += day[0] == ' ' ? "0" + day.substr(1) : day;
    return out;
}

std::string versionLine(const std::string& program)
{
    return program + " " + releaseVersion() + " (commit " + buildCommit() + ")";
}

}  // namespace orlo
