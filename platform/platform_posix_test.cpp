#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/testing/test_folder.h"

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

TEST(Platform, ListFilesNamesThePlainFilesSorted) {
    TestFolder dir;
    dir.write("b.sim", "");
    dir.write("a.dat", "");
    platform::make_folders(dir.file("sub"));
    EXPECT_EQ(platform::list_files(dir.path()), (std::vector<std::string>{"a.dat", "b.sim"}));
    EXPECT_TRUE(platform::list_files(dir.file("missing")).empty());
}

TEST(Platform, FileWriterEmptiesTheFileAndAppendsPieceByPiece) {
    TestFolder dir;
    dir.write("f", "an older and longer content");
    platform::FileWriter writer(dir.file("f"));
    writer.append(std::string("ab\0", 3));
    writer.append("");
    writer.append(std::string(70000, 'z'));
    writer.close();
    writer.close();  // a second close does nothing
    EXPECT_EQ(dir.read("f"), std::string("ab\0", 3) + std::string(70000, 'z'));
    try {
        writer.append("x");
        FAIL() << "append after close";
    } catch (const platform::RunTimeFailure& f) {
        EXPECT_EQ(f.operation, "write");
        EXPECT_EQ(f.path, dir.file("f"));
    }
    try {
        platform::FileWriter missing(dir.file("no/such/folder"));
        FAIL() << "opened in a missing folder";
    } catch (const platform::RunTimeFailure& f) {
        EXPECT_EQ(f.operation, "open");
    }
}

TEST(Platform, ZeroedMemoryIsZeroWritableAndMovesWhole) {
    constexpr size_t kLargePage = size_t{2} << 20;
    for (size_t bytes : {size_t{1}, size_t{4099}, kLargePage / 2 - 1, kLargePage / 2, 3 * kLargePage + 5}) {
        SCOPED_TRACE(bytes);
        platform::ZeroedMemory memory(bytes);
        ASSERT_NE(memory.data(), nullptr);
        EXPECT_EQ(memory.size(), bytes);
        // Half a large page or more starts on a large-page boundary, where
        // the system can back it with large pages.
        if (bytes >= kLargePage / 2) {
            EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.data()) % kLargePage, 0u);
        }
        auto* p = static_cast<unsigned char*>(memory.data());
        size_t nonZero = 0;
        for (size_t i = 0; i < bytes; ++i) nonZero += p[i] != 0;
        EXPECT_EQ(nonZero, 0u);
        for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(i * 7);
        platform::ZeroedMemory moved(std::move(memory));
        EXPECT_EQ(memory.data(), nullptr);
        EXPECT_EQ(memory.size(), 0u);
        ASSERT_EQ(moved.data(), p);
        EXPECT_EQ(p[bytes - 1], static_cast<unsigned char>((bytes - 1) * 7));
        moved = platform::ZeroedMemory();
        EXPECT_EQ(moved.data(), nullptr);
    }
    EXPECT_EQ(platform::ZeroedMemory(0).data(), nullptr);
}
