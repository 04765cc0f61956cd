#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/test_folder.h"

TEST(Platform, TouchCreatesAbsentFileAndKeepsExistingContent) {
    TestFolder dir;
    platform::touch_file(dir.file("a"));
    EXPECT_EQ(dir.read("a"), "");
    dir.write("b", "keep");
    platform::touch_file(dir.file("b"));
    EXPECT_EQ(dir.read("b"), "keep");
}

TEST(Platform, DeleteAndOpenForInputFailWhenMissing) {
    TestFolder dir;
    EXPECT_FALSE(platform::file_exists(dir.file("x")));
    EXPECT_THROW(platform::delete_file(dir.file("x")), platform::RunTimeFailure);
    EXPECT_THROW(platform::read_file(dir.file("x")), platform::RunTimeFailure);
}

TEST(Platform, WriteReplacesLongerContent) {
    TestFolder dir;
    dir.write("f", "a much longer older content");
    platform::write_file(dir.file("f"), std::string("ab\0c", 4));
    EXPECT_EQ(dir.read("f"), std::string("ab\0c", 4));
    EXPECT_EQ(platform::read_file(dir.file("f")), std::string("ab\0c", 4));
}

TEST(Platform, FailureNamesOperationPathAndReason) {
    TestFolder dir;
    try {
        platform::write_file(dir.file("no/such/folder"), "x");
        FAIL();
    } catch (const platform::RunTimeFailure& f) {
        EXPECT_EQ(f.operation, "open");
        EXPECT_EQ(f.path, dir.file("no/such/folder"));
        EXPECT_FALSE(f.reason.empty());
    }
}

TEST(Platform, JoinUsesTheSlashAndProgramFolderHasNoTrailingSlash) {
    EXPECT_EQ(platform::join("/a/b", "c.txt"), "/a/b/c.txt");
    std::string folder = platform::program_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
}

TEST(Platform, MakeFoldersCreatesParents) {
    TestFolder dir;
    platform::make_folders(dir.file("x/y/z"));
    struct stat st;
    ASSERT_EQ(::stat(dir.file("x/y/z").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    platform::make_folders(dir.file("x/y/z"));  // existing: no failure
}
