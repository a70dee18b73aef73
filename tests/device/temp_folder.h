// A fresh folder for one test's files, removed at the end of the test, and
// helpers to put and take exact file bytes.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace orlo::test {

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<unsigned> counter{0};
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "orlo_";
        name += info ? info->name() : "test";
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        // Tests of several processes may run at once: a random part, and a
        // new name while the folder exists already.
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    (name + "_" + std::to_string(++counter) + "_" + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of a file in the folder, in the platform's form.
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void putFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file's bytes, or "<missing>".
inline std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace orlo::test
