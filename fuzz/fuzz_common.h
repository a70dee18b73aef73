// Helpers shared by the fuzz targets: writing the input to a file for the
// readers that take a path.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orlo::fuzz {

// A file of this process that holds the given bytes; its name ends in
// extension. The same name is reused for every input.
inline std::string inputFile(const std::uint8_t* data, std::size_t size,
                             const std::string& extension) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/orlo-fuzz-" +
                       std::to_string(getpid()) + extension;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

}  // namespace orlo::fuzz
