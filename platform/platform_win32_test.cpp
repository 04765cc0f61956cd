// Checks of the Win32 platform services, run under Wine by the Windows test
// (no test framework is available for the cross build). Each case prints
// "ok" or "FAILED" with its name; the last line counts them; the exit status
// is non-zero when any case failed.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace {

std::string folder;  // a fresh folder under the temporary folder, made by main

std::string in_folder(const std::string& name) { return platform::join(folder, name); }

// Reads a file by the W call, bypassing the code under test.
std::string read_back(const std::string& path) {
    std::wstring wide(path.begin(), path.end());  // the paths read back are plain ASCII
    HANDLE h = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) content.append(buffer, n);
    ::CloseHandle(h);
    return content;
}

// The failure a call raises; operation empty when it raised none.
platform::RunTimeFailure failure_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::RunTimeFailure& f) {
        return f;
    }
    return platform::RunTimeFailure("", "", "");
}

struct Case {
    const char* name;
    std::function<bool()> check;
};

const Case cases[] = {
    {"touch creates an absent file empty",
     [] {
         platform::touch_file(in_folder("touched"));
         return read_back(in_folder("touched")).empty();
     }},
    {"touch keeps an existing file's content",
     [] {
         platform::write_file(in_folder("kept"), "keep");
         platform::touch_file(in_folder("kept"));
         return read_back(in_folder("kept")) == "keep";
     }},
    {"write replaces a longer file and keeps every byte as it is",
     [] {
         const std::string bytes("ab\0c\r\nd\n\x80\xff", 10);
         platform::write_file(in_folder("binary"), "a much longer older content, longer than the new one");
         platform::write_file(in_folder("binary"), bytes);
         return read_back(in_folder("binary")) == bytes && platform::read_file(in_folder("binary")) == bytes;
     }},
    {"write of nothing leaves an empty file",
     [] {
         platform::write_file(in_folder("empty"), "old");
         platform::write_file(in_folder("empty"), "");
         return platform::file_exists(in_folder("empty")) && read_back(in_folder("empty")).empty();
     }},
    {"a file writer empties the file, appends piece by piece, and refuses to append once closed",
     [] {
         platform::write_file(in_folder("pieces"), "an older and longer content");
         platform::FileWriter writer(in_folder("pieces"));
         writer.append(std::string("ab\0", 3));
         writer.append("");
         writer.append("\r\n\x80");
         writer.close();
         writer.close();  // a second close does nothing
         bool refused = failure_of([&] { writer.append("x"); }).operation == "write";
         return refused && read_back(in_folder("pieces")) == std::string("ab\0\r\n\x80", 6);
     }},
    {"zeroed memory is zero and writable, moves whole, and is nothing for no bytes",
     [] {
         bool ok = platform::ZeroedMemory(0).data() == nullptr;
         for (size_t bytes : {size_t{1}, size_t{4097}, size_t{3} << 20}) {
             platform::ZeroedMemory memory(bytes);
             unsigned char* p = static_cast<unsigned char*>(memory.data());
             if (p == nullptr || memory.size() != bytes) return false;
             for (size_t i = 0; i < bytes; i += 997) ok = ok && p[i] == 0;
             ok = ok && p[bytes - 1] == 0;
             p[0] = 1;
             p[bytes - 1] = 2;
             platform::ZeroedMemory moved(std::move(memory));
             ok = ok && memory.data() == nullptr && moved.data() == p && moved.size() == bytes && p[bytes - 1] == 2;
             moved = platform::ZeroedMemory();
             ok = ok && moved.data() == nullptr && moved.size() == 0;
         }
         return ok;
     }},
    {"delete removes the file, then fails naming it with the system's text",
     [] {
         platform::write_file(in_folder("doomed"), "x");
         platform::delete_file(in_folder("doomed"));
         if (platform::file_exists(in_folder("doomed"))) return false;
         auto f = failure_of([] { platform::delete_file(in_folder("doomed")); });
         return f.operation == "delete" && f.path == in_folder("doomed") && f.reason.size() > 6;
     }},
    {"reading a missing file fails as an open",
     [] {
         auto f = failure_of([] { platform::read_file(in_folder("absent")); });
         return f.operation == "open" && f.path == in_folder("absent") && !f.reason.empty();
     }},
    {"writing into a missing folder fails as an open",
     [] {
         auto f = failure_of([] { platform::write_file(in_folder("no\\such\\folder"), "x"); });
         return f.operation == "open" && !f.reason.empty() && !platform::file_exists(in_folder("no\\such\\folder"));
     }},
    {"a folder is not a file",
     [] { return !platform::file_exists(folder) && !platform::file_exists(in_folder("absent")); }},
    {"names are Windows-1252 bytes",
     [] {
         // "citt\xe0_\x80.txt" is "città_€.txt": € sits at 0x80 only in Windows-1252.
         platform::write_file(in_folder("citt\xe0_\x80.txt"), "1252");
         std::wstring wide = std::wstring(folder.begin(), folder.end()) + L"\\citt\u00e0_\u20ac.txt";
         WIN32_FIND_DATAW found;
         HANDLE h = ::FindFirstFileW(wide.c_str(), &found);
         if (h == INVALID_HANDLE_VALUE) return false;
         ::FindClose(h);
         return std::wstring(found.cFileName) == L"citt\u00e0_\u20ac.txt" &&
                platform::read_file(in_folder("citt\xe0_\x80.txt")) == "1252";
     }},
    {"join puts one backslash between folder and name",
     [] { return platform::join("C:\\a\\b", "c.txt") == "C:\\a\\b\\c.txt"; }},
    {"the program folder holds this program and has no trailing separator",
     [] {
         std::string here = platform::program_folder();
         return !here.empty() && here.back() != '\\' && here.back() != '/' &&
                platform::file_exists(platform::join(here, "platform_win32_test.exe"));
     }},
    {"make_folders creates parents and accepts an existing folder",
     [] {
         platform::make_folders(in_folder("x\\y\\z"));
         platform::make_folders(in_folder("x\\y\\z"));
         DWORD a = ::GetFileAttributesA(in_folder("x\\y\\z").c_str());
         return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
     }},
    {"make_folders over a file fails",
     [] {
         platform::write_file(in_folder("plain"), "x");
         return failure_of([] { platform::make_folders(in_folder("plain")); }).operation == "create folder";
     }},
};

}  // namespace

int main() {
    char temp[MAX_PATH + 1];
    DWORD n = ::GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH) {
        std::printf("no temporary folder\n");
        return 2;
    }
    folder = std::string(temp, n);
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    folder += "\\scenario-platform-test-" + std::to_string(::GetCurrentProcessId());
    if (!::CreateDirectoryA(folder.c_str(), nullptr)) {
        std::printf("cannot create %s\n", folder.c_str());
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const Case& c : cases) {
        bool ok = false;
        try {
            ok = c.check();
        } catch (const platform::RunTimeFailure& f) {
            std::printf("  unexpected failure: %s\n", f.what());
        }
        std::printf("%s: %s\n", ok ? "ok" : "FAILED", c.name);
        (ok ? passed : failed)++;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}
