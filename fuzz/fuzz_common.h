// Helpers shared by the fuzz targets: writing the input to a file for the
// readers that take a path.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

namespace orlo::fuzz {

// A file of this process that holds the given bytes; its name ends in
// extension. The same name is reused for every input.
inline std::string inputFile(const std::uint8_t* data, std::size_t size,
                             const std::string& extension) {
    static const std::string base = (std::filesystem::temp_directory_path() /
                                     ("orlo-fuzz-" + std::to_string(std::random_device{}())))
                                        .string();
    const std::string path = base + extension;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

}  // namespace orlo::fuzz
