// read_file when fstat fails: the failure is fstat's own, never a guess from
// the status record that a failed call leaves undefined.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "tools/testing/test_folder.h"
#include "platform/platform.h"

namespace {
bool failFstat = false;
}  // namespace

// Stands in for the C library's fstat in this test program: while failFstat
// is set it fails with EIO and leaves a directory's mode behind in the
// record, which a reader of the record after the failure would trust.
extern "C" int fstat(int fd, struct stat* st) {
    if (failFstat) {
        st->st_mode = S_IFDIR;
        errno = EIO;
        return -1;
    }
    using Fstat = int (*)(int, struct stat*);
    static const auto real = reinterpret_cast<Fstat>(dlsym(RTLD_NEXT, "fstat"));
    return real(fd, st);
}

TEST(PlatformFstat, ReadFileReportsTheFailureOfFstatItself) {
    TestFolder dir;
    dir.write("f", "content");
    failFstat = true;
    try {
        platform::read_file(dir.file("f"));
        failFstat = false;
        FAIL() << "read_file did not fail";
    } catch (const platform::RunTimeFailure& f) {
        failFstat = false;
        EXPECT_EQ(f.operation, "open");
        EXPECT_EQ(f.reason, std::strerror(EIO));
    }
    EXPECT_EQ(platform::read_file(dir.file("f")), "content");
}
