// POSIX implementation of the platform services.
#include "platform/platform.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <csignal>
#include <iostream>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool consoleMessages = false;

[[noreturn]] void fail(const char* operation, const std::string& path, int error) {
    throw RunTimeFailure(operation, path, std::strerror(error));
}

// Writes all bytes, resuming after short writes and interrupted calls.
void write_all(int fd, std::string_view bytes, const std::string& path) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            fail("write", path, error);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace

std::string program_folder() {
    char buffer[PATH_MAX + 1];
    ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n < 0) fail("find program folder", "/proc/self/exe", errno);
    std::string exe(buffer, static_cast<size_t>(n));
    size_t slash = exe.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "";  // the root: join gives "/name"
    return exe.substr(0, slash);
}

std::string join(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

void show_wait_window(const std::string& label) {
    std::cout << label << std::endl;
}

void use_console_messages() { consoleMessages = true; }

void use_utf8_text() {}

std::vector<std::string> command_line_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

// A terminal or a desktop launcher always hands over a session of its own:
// nothing here is started bare the way Explorer starts a console program.
bool started_from_desktop() { return false; }

void wait_for_key() {}

bool open_in_browser(const std::string&) { return false; }

void message_box(const std::string& text) {
    std::cerr << text << std::endl;
    if (!consoleMessages && ::isatty(STDIN_FILENO)) {
        std::cerr << "(press Enter)" << std::flush;
        std::string ignored;
        std::getline(std::cin, ignored);
    }
}

void report_failure(const RunTimeFailure& failure) {
    std::cerr << "run-time failure: " << failure.operation << " '" << failure.path
              << "': " << failure.reason << std::endl;
}

void end_process(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(status);
}

bool file_exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

void touch_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) fail("open", path, errno);
    ::close(fd);
}

void delete_file(const std::string& path) {
    if (::unlink(path.c_str()) != 0) fail("delete", path, errno);
}

void write_file(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("open", path, errno);
    write_all(fd, bytes, path);
    if (::close(fd) != 0) fail("close", path, errno);
}

FileWriter::FileWriter(const std::string& path) : path_(path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) fail("open", path, errno);
    handle_ = fd;
}

FileWriter::~FileWriter() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

void FileWriter::append(std::string_view bytes) {
    if (handle_ < 0) fail("write", path_, EBADF);
    const int fd = static_cast<int>(handle_);
    try {
        write_all(fd, bytes, path_);  // closes the file when it fails
    } catch (const RunTimeFailure&) {
        handle_ = -1;
        throw;
    }
}

void FileWriter::close() {
    if (handle_ < 0) return;
    const int fd = static_cast<int>(handle_);
    handle_ = -1;
    if (::close(fd) != 0) fail("close", path_, errno);
}

namespace {
constexpr size_t kLargePage = size_t{2} << 20;  // the huge page of x86-64 Linux
}  // namespace

ZeroedMemory::ZeroedMemory(size_t bytes) {
    if (bytes == 0) return;
    // Tables of half a large page or more are laid on large-page boundaries, with
    // a large page of slack to find one, and the system asked to back them
    // with large pages; smaller ones take ordinary pages.
    const bool large = bytes >= kLargePage / 2;
    const size_t rounded = large ? (bytes + kLargePage - 1) / kLargePage * kLargePage : bytes;
    const size_t mapped = large ? rounded + kLargePage : rounded;
    void* mapping = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) fail("allocate", "memory", errno);
    char* first = static_cast<char*>(mapping);
    if (large) {
        const uintptr_t at = reinterpret_cast<uintptr_t>(mapping);
        first += (kLargePage - at % kLargePage) % kLargePage;
        ::madvise(first, rounded, MADV_HUGEPAGE);  // advice only: ordinary pages serve as well
    }
    data_ = first;
    size_ = bytes;
    mapping_ = mapping;
    mapped_ = mapped;
}

ZeroedMemory::~ZeroedMemory() {
    if (mapping_ != nullptr) ::munmap(mapping_, mapped_);
}

std::string read_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int error = errno;
        ::close(fd);
        fail("open", path, error);
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail("open", path, EISDIR);
    }
    std::string content;
    content.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            fail("read", path, error);
        }
        if (n == 0) break;
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return content;
}

RunTimeFailure missing_file(const std::string& path) { return RunTimeFailure("open", path, std::strerror(ENOENT)); }

void make_folders(const std::string& path) {
    if (path.empty()) return;
    std::string partial;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        partial = path.substr(0, slash);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            fail("create folder", partial, errno);
        start = slash + 1;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        fail("create folder", path, ENOTDIR);
}

std::vector<std::string> list_files(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        struct stat st;
        if (::stat(join(folder.empty() ? "." : folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}


FileStamp file_stamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<uint64_t>(st.st_size)};
}

namespace {
volatile std::sig_atomic_t stopSignal = 0;
extern "C" void on_stop_signal(int) { stopSignal = 1; }
}  // namespace

void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool stop_requested() { return stopSignal != 0; }

void listen_alone(intptr_t socket) {
    const int yes = 1;
    ::setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

void use_binary_standard_streams() {}  // POSIX streams never translate line ends

size_t read_standard_input(char* buffer, size_t size) {
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0) return static_cast<size_t>(n);
        if (errno != EINTR) fail("read", "standard input", errno);
    }
}

void write_standard_output(std::string_view bytes) {
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("write", "standard output", errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

size_t raise_open_file_limit() {
    constexpr rlim_t kMost = 65536;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
    const rlim_t wanted = std::min(limit.rlim_max, kMost);
    if (limit.rlim_cur < wanted) {
        rlimit raised = limit;
        raised.rlim_cur = wanted;
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
    }
    return static_cast<size_t>(std::min(limit.rlim_cur, kMost));
}

}  // namespace platform
