// Win32 implementation of the platform services. Paths and texts arrive as
// Windows-1252 bytes and are widened for the W calls; nothing depends on the
// machine's ANSI code page.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include "platform/platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

constexpr UINT kCodePage = 1252;

// The authoring tool's paths and messages are UTF-8; the compiler's are Windows-1252.
bool utf8Text = false;

// Set by command-line tools: messages go to standard error, no window opens.
bool consoleMessages = false;

// The wait window: one per process, painted once by its own WM_PAINT.
HWND waitWindow = nullptr;
HFONT waitFont = nullptr;
std::wstring waitLabel;

std::wstring widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = static_cast<int>(text.size());
    if (utf8Text) {
        // UTF-8 when it is; otherwise Windows-1252 bytes, as the compiler writes names.
        int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
        if (n > 0) {
            std::wstring wide(static_cast<size_t>(n), L'\0');
            ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
            return wide;
        }
    }
    int n = ::MultiByteToWideChar(kCodePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    if (n > 0) ::MultiByteToWideChar(kCodePage, 0, text.data(), size, wide.data(), n);
    return wide;
}

// Narrows to Windows-1252; `lossless` tells whether every character fitted.
std::string narrow(const std::wstring& wide, bool* lossless = nullptr) {
    if (lossless) *lossless = true;
    if (wide.empty()) return std::string();
    if (utf8Text) {
        const int size = static_cast<int>(wide.size());
        int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(std::max(n, 0)), '\0');
        if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
        return text;
    }
    BOOL substituted = FALSE;
    int n = ::WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                  &substituted);
    std::string text(static_cast<size_t>(n), '\0');
    if (n > 0)
        ::WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr,
                              &substituted);
    if (lossless) *lossless = !substituted;
    return text;
}

// The system's own text for an error number, with the number after it.
std::string system_text(DWORD error) {
    wchar_t* buffer = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (n > 0 && buffer != nullptr) text.assign(buffer, n);
    if (buffer != nullptr) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    std::string reason = narrow(text);
    if (reason.empty()) reason = "system error";
    return reason + " (" + std::to_string(error) + ")";
}

[[noreturn]] void fail(const char* operation, const std::string& path, DWORD error) {
    throw RunTimeFailure(operation, path, system_text(error));
}

// The running module's full file name.
std::wstring module_file_name() {
    std::vector<wchar_t> buffer(MAX_PATH);
    // Long-path names reach 32767 characters; the loop stops there.
    while (buffer.size() <= 32768) {
        DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) fail("find program folder", "", ::GetLastError());
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
    fail("find program folder", "", ERROR_INSUFFICIENT_BUFFER);
}

size_t last_separator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

// The program's title: its file name without folder and extension.
std::wstring program_title() {
    std::wstring name;
    try {
        name = module_file_name();
    } catch (const RunTimeFailure&) {
        return L"scenario_compiler";
    }
    size_t sep = last_separator(name);
    if (sep != std::wstring::npos) name.erase(0, sep + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

LRESULT CALLBACK wait_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ previous = waitFont ? ::SelectObject(dc, waitFont) : nullptr;
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
        ::DrawTextW(dc, waitLabel.c_str(), static_cast<int>(waitLabel.size()), &client,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (previous) ::SelectObject(dc, previous);
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

// Reports a file operation that failed with the last error.
[[noreturn]] void fail_last(const char* operation, const std::string& path) {
    fail(operation, path, ::GetLastError());
}

// Owns one open handle; closing is checked where a lost write would matter.
struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool close() {
        HANDLE handle = h;
        h = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }
};

}  // namespace

std::string program_folder() {
    std::wstring exe = module_file_name();
    size_t sep = last_separator(exe);
    std::wstring folder = sep == std::wstring::npos ? std::wstring(L".") : exe.substr(0, sep);
    bool lossless = true;
    std::string bytes = narrow(folder, &lossless);
    // Every path goes through Windows-1252: a folder outside it could not be reached again.
    if (!lossless) fail("find program folder", bytes, ERROR_NO_UNICODE_TRANSLATION);
    return bytes;
}

std::string join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

void show_wait_window(const std::string& label) {
    if (consoleMessages) return;
    waitLabel = widen(label);
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const wchar_t* className = L"ScenarioCompilerWait";
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = wait_window_procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT));
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    ::RegisterClassExW(&windowClass);  // a second call finds it registered

    // 24 points at the screen's resolution, bold, a sans-serif face.
    HDC screen = ::GetDC(nullptr);
    int pixelsPerInch = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ::ReleaseDC(nullptr, screen);
    if (!waitFont)
        waitFont = ::CreateFontW(-::MulDiv(24, pixelsPerInch, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                 VARIABLE_PITCH | FF_SWISS, L"Arial");

    // A caption without buttons: the window takes no input anyway.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION;
    RECT frame = {0, 0, 320, 120};
    ::AdjustWindowRectEx(&frame, style, FALSE, 0);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    std::wstring title = program_title();
    if (!waitWindow)
        waitWindow = ::CreateWindowExW(0, className, title.c_str(), style, x, y, width, height, nullptr, nullptr,
                                       instance, nullptr);
    if (!waitWindow) return;  // the work goes on without its window
    ::ShowWindow(waitWindow, SW_SHOWNORMAL);
    ::UpdateWindow(waitWindow);
    ::GdiFlush();
}

void use_console_messages() { consoleMessages = true; }

void use_utf8_text() { utf8Text = true; }

std::vector<std::string> command_line_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

// Explorer gives a console program a console of its own; a terminal shares
// its console with the program, and a script or a pipe gives it none.
bool started_from_desktop() {
    DWORD processes[2] = {};
    DWORD mode = 0;
    return ::GetConsoleProcessList(processes, 2) == 1 && ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) &&
           ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode);
}

void wait_for_key() {
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    ::FlushConsoleInputBuffer(input);
    INPUT_RECORD record{};
    DWORD read = 0;
    while (::ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
    }
}

bool open_in_browser(const std::string& url) {
    const auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

namespace {

// Output to a console: the UTF-8 bytes written, shown as wide characters, so
// that every letter shows whatever the console's code page. A sequence cut
// by the end of the buffer waits there for its remaining bytes.
class ConsoleOutput : public std::streambuf {
public:
    explicit ConsoleOutput(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }

protected:
    int_type overflow(int_type c) override {
        if (write_whole_sequences() != 0) return traits_type::eof();
        if (c != traits_type::eof()) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return write_whole_sequences(); }

private:
    int write_whole_sequences() {
        const size_t size = static_cast<size_t>(pptr() - pbase());
        size_t whole = size;
        // The last sequence's lead byte, at most three bytes back.
        for (size_t back = 1; back <= 3 && back <= size; ++back) {
            const auto byte = static_cast<unsigned char>(buffer_[size - back]);
            if ((byte & 0xC0) == 0x80) continue;
            const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (length > back) whole = size - back;
            break;
        }
        int status = 0;
        if (whole > 0) {
            const int n = ::MultiByteToWideChar(CP_UTF8, 0, buffer_, static_cast<int>(whole), nullptr, 0);
            std::wstring wide(static_cast<size_t>(n), L'\0');
            ::MultiByteToWideChar(CP_UTF8, 0, buffer_, static_cast<int>(whole), wide.data(), n);
            DWORD written = 0;
            if (n > 0 && !::WriteConsoleW(console_, wide.data(), static_cast<DWORD>(n), &written, nullptr)) status = -1;
        }
        std::copy(buffer_ + whole, buffer_ + size, buffer_);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(size - whole));
        return status;
    }

    HANDLE console_;
    char buffer_[4096];
};

// The console behind a standard handle, or nullptr for a pipe or a file.
HANDLE console_of(DWORD standard) {
    HANDLE handle = ::GetStdHandle(standard);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

void use_binary_standard_streams() {
    static bool done = false;
    if (done) return;
    done = true;
    std::fflush(nullptr);
    for (int stream : {0, 1, 2}) ::_setmode(stream, _O_BINARY);
    // Kept for the whole run: the streams flush into them as the process ends.
    if (HANDLE console = console_of(STD_OUTPUT_HANDLE)) std::cout.rdbuf(new ConsoleOutput(console));
    if (HANDLE console = console_of(STD_ERROR_HANDLE)) std::cerr.rdbuf(new ConsoleOutput(console));
}

void message_box(const std::string& text) {
    if (consoleMessages) {
        std::cerr << text << std::endl;
        return;
    }
    std::wstring title = program_title();
    ::MessageBoxW(waitWindow, widen(text).c_str(), title.c_str(), MB_OK);
}

void report_failure(const RunTimeFailure& failure) {
    if (consoleMessages) {
        std::cerr << "run-time failure: " << failure.operation << " '" << failure.path << "': " << failure.reason
                  << std::endl;
        return;
    }
    std::string text = "Run-time error: " + failure.operation;
    if (!failure.path.empty()) text += " '" + failure.path + "'";
    text += "\n\n" + failure.reason;
    std::wstring title = program_title();
    ::MessageBoxW(waitWindow, widen(text).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void end_process(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    if (waitWindow) {
        ::DestroyWindow(waitWindow);
        waitWindow = nullptr;
    }
    ::ExitProcess(static_cast<UINT>(status));
}

bool file_exists(const std::string& path) {
    DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void touch_file(const std::string& path) {
    Handle file(::CreateFileW(widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) fail_last("open", path);
    if (!file.close()) fail_last("close", path);
}

void delete_file(const std::string& path) {
    if (!::DeleteFileW(widen(path).c_str())) fail_last("delete", path);
}

void write_file(const std::string& path, std::string_view bytes) {
    FileWriter file(path);
    file.append(bytes);
    file.close();
}

FileWriter::FileWriter(const std::string& path) : path_(path) {
    HANDLE file = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) fail_last("open", path);
    handle_ = reinterpret_cast<intptr_t>(file);
}

FileWriter::~FileWriter() {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

void FileWriter::append(std::string_view bytes) {
    if (handle_ == -1) fail("write", path_, ERROR_INVALID_HANDLE);
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD written = 0;
        DWORD error = ERROR_SUCCESS;
        if (!::WriteFile(file, p, chunk, &written, nullptr)) error = ::GetLastError();
        else if (written == 0) error = ERROR_WRITE_FAULT;
        if (error != ERROR_SUCCESS) {
            // A failed writer is closed: later appends fail, the destructor has nothing to do.
            ::CloseHandle(file);
            handle_ = -1;
            fail("write", path_, error);
        }
        p += written;
        left -= written;
    }
}

void FileWriter::close() {
    if (handle_ == -1) return;
    HANDLE file = reinterpret_cast<HANDLE>(handle_);
    handle_ = -1;
    if (!::CloseHandle(file)) fail_last("close", path_);
}

// Committed pages come zero-filled from the system. Large pages would need a
// privilege that ordinary accounts lack, so ordinary pages serve throughout.
ZeroedMemory::ZeroedMemory(size_t bytes) {
    if (bytes == 0) return;
    void* mapping = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (mapping == nullptr) fail("allocate", "memory", ::GetLastError());
    data_ = mapping;
    size_ = bytes;
    mapping_ = mapping;
    mapped_ = bytes;
}

ZeroedMemory::~ZeroedMemory() {
    if (mapping_ != nullptr) ::VirtualFree(mapping_, 0, MEM_RELEASE);
}

std::string read_file(const std::string& path) {
    Handle file(::CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE) fail_last("open", path);
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.h, &size)) fail_last("read", path);
    std::string content;
    if (size.QuadPart > 0) content.reserve(static_cast<size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.h, buffer, sizeof buffer, &n, nullptr)) fail_last("read", path);
        if (n == 0) break;
        content.append(buffer, n);
    }
    return content;
}

RunTimeFailure missing_file(const std::string& path) {
    return RunTimeFailure("open", path, system_text(ERROR_FILE_NOT_FOUND));
}

void make_folders(const std::string& path) {
    if (path.empty()) return;
    // Every prefix ending before a separator is created when missing; drive
    // names and share prefixes simply fail to be created and are passed over.
    DWORD lastError = ERROR_PATH_NOT_FOUND;
    size_t start = 0;
    while (start <= path.size()) {
        size_t sep = path.find_first_of("\\/", start);
        if (sep == std::string::npos) sep = path.size();
        if (sep > 0) {
            std::wstring partial = widen(path.substr(0, sep));
            if (!::CreateDirectoryW(partial.c_str(), nullptr)) {
                DWORD error = ::GetLastError();
                if (error != ERROR_ALREADY_EXISTS) lastError = error;
            }
        }
        start = sep + 1;
    }
    DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) fail("create folder", path, lastError);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) fail("create folder", path, ERROR_DIRECTORY);
}

std::vector<std::string> list_files(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(widen(join(folder.empty() ? "." : folder, "*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(narrow(found.cFileName));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}


FileStamp file_stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return {};
    const uint64_t written = (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return {true, static_cast<int64_t>(written), (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
}

namespace {
volatile LONG stopSignal = 0;
BOOL WINAPI on_console_event(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    ::InterlockedExchange(&stopSignal, 1);
    return TRUE;
}
}  // namespace

void catch_stop_signals() { ::SetConsoleCtrlHandler(on_console_event, TRUE); }

bool stop_requested() { return ::InterlockedCompareExchange(&stopSignal, 0, 0) != 0; }

size_t read_standard_input(char* buffer, size_t size) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
    if (::ReadFile(input, buffer, wanted, &got, nullptr)) return got;
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return 0;  // the writer closed its end
    fail("read", "standard input", error);
}

void write_standard_output(std::string_view bytes) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const char* p = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(left, 1u << 20));
        if (!::WriteFile(output, p, chunk, &written, nullptr)) fail("write", "standard output", ::GetLastError());
        p += written;
        left -= written;
    }
}

// Windows lets a socket with SO_REUSEADDR take over a port another program
// listens on; an exclusive one can be neither shared nor taken over.
void listen_alone(intptr_t socket) {
    const BOOL yes = TRUE;
    ::setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
                 sizeof yes);
}

// Windows sets no such limit on a process's handles and sockets.
size_t raise_open_file_limit() { return 65536; }

}  // namespace platform
