// Whole-file writing and file identity: a save through a symbolic link
// replaces the file it leads to, and two spellings of one file are known to
// be one.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "tests/device/temp_folder.h"

namespace orlo {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::putFile;

// Links need rights that a Windows account may not have; those checks skip.
bool link(const std::string& target, const std::string& at)
{
    std::error_code e;
    fs::create_symlink(target, at, e);
    return !e;
}

TEST(Files, SavingThroughALinkReplacesItsTarget)
{
    test::TempFolder folder;
    fs::create_directory(folder.file("real"));
    const std::string target = folder.file("real/p.qv3");
    putFile(target, "old");
    if (!link("real/p.qv3", folder.file("p.qv3")) || !link("p.qv3", folder.file("again.qv3")))
        GTEST_SKIP() << "no symbolic links here";
    for (const char* name : {"p.qv3", "again.qv3"}) {
        std::string error;
        ASSERT_TRUE(writeFileSafely(folder.file(name), name, error)) << error;
        EXPECT_TRUE(fs::is_symlink(folder.file(name))) << name;
        EXPECT_EQ(fileBytes(target), name);
    }
    // A link to a file not yet there: the file is made where it points.
    ASSERT_TRUE(link("real/new.qv3", folder.file("new.qv3")));
    std::string error;
    ASSERT_TRUE(writeFileSafely(folder.file("new.qv3"), "new", error)) << error;
    EXPECT_EQ(fileBytes(folder.file("real/new.qv3")), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.file("real")), fs::directory_iterator()), 2);
}

TEST(Files, SameFileSeesThroughSpellingsAndLinks)
{
    test::TempFolder folder;
    fs::create_directory(folder.file("sub"));
    putFile(folder.file("a.qv3"), "a");
    putFile(folder.file("b.qv3"), "a");
    const std::string a = folder.file("a.qv3");
    EXPECT_TRUE(sameFile(a, a));
    EXPECT_TRUE(sameFile(a, folder.file("sub/../a.qv3")));
    EXPECT_FALSE(sameFile(a, folder.file("b.qv3")));  // same bytes, another file
    EXPECT_FALSE(sameFile(a, folder.file("missing.json")));
    EXPECT_FALSE(sameFile(folder.file("missing.json"), folder.file("missing.json")));
    if (!link("a.qv3", folder.file("l.qv3")))
        GTEST_SKIP() << "no symbolic links here";
    EXPECT_TRUE(sameFile(folder.file("l.qv3"), a));
}

}  // namespace
}  // namespace orlo
