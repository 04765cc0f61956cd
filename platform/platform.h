// Operating-system services the compiler needs: the wait window, the message
// box, the program folder, the end of the process and whole-file operations.
// One implementation file per platform is chosen at build time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

// A failing file or system operation. Nothing but the readers handles it;
// elsewhere it ends the run with the standard report.
struct RunTimeFailure : std::runtime_error {
    RunTimeFailure(std::string op, std::string p, std::string why)
        : std::runtime_error(op + " " + p + ": " + why),
          operation(std::move(op)),
          path(std::move(p)),
          reason(std::move(why)) {}
    std::string operation;
    std::string path;
    std::string reason;
};

// The folder that holds the running program, without a trailing separator.
std::string program_folder();

// The folder, the platform's separator and the name.
std::string join(const std::string& folder, const std::string& name);

// Shows the wait window with its one label and paints it once.
void show_wait_window(const std::string& label);

// Shows a text in a modal box with a single OK button; returns when closed.
void message_box(const std::string& text);

// For command-line tools: from now on message boxes and failure reports go
// to standard error as one line and never wait for anybody.
void use_console_messages();

// For the authoring tool: paths and messages are UTF-8 from now on (on
// Windows; POSIX paths are bytes either way), so that any letter a folder or
// a document name holds can be reached and shown. A path that is not UTF-8
// is still read as Windows-1252, as the compiler writes its own.
void use_utf8_text();

// The program's arguments after its name: on Windows read from the wide
// command line (never the ANSI code page), so that names such as "Città"
// arrive whole; elsewhere argv as it is.
std::vector<std::string> command_line_arguments(int argc, char** argv);

// True when the program was started on its own, with a console window made
// for it alone (on Windows: from Explorer, by a double-click or by dropping
// files on it); false in a terminal, a script or a pipe.
bool started_from_desktop();

// Waits until a key is pressed in the program's console window.
void wait_for_key();

// Opens the address in the user's default browser; false when that failed.
bool open_in_browser(const std::string& url);

// The standard report of a run-time failure (does not end the process).
void report_failure(const RunTimeFailure& failure);

// Closes everything and ends the process with the given status.
[[noreturn]] void end_process(int status);

// --- files (always one at a time) ---------------------------------------

bool file_exists(const std::string& path);

// Opens for binary reading and writing and closes again: creates an absent
// file empty, leaves an existing one's content untouched.
void touch_file(const std::string& path);

// Removes the file; fails when it does not exist.
void delete_file(const std::string& path);

// Creates the file (or empties an existing one) and writes the bytes.
void write_file(const std::string& path, std::string_view bytes);

// A file written in pieces, for output too large to be built whole in memory
// first: opening creates the file or empties an existing one, each append
// adds bytes at its end, close finishes it. A writer destroyed while still
// open closes its file without reporting.
class FileWriter {
public:
    explicit FileWriter(const std::string& path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void append(std::string_view bytes);
    void close();

private:
    std::string path_;
    intptr_t handle_ = -1;  // the platform's file handle; -1 when closed
};

// Zero-filled memory for a large table, taken from the system in its large
// pages where it offers them, so that filling the table costs a few page
// faults and not one per 4 KiB. Released when the owner is destroyed; a run-
// time failure when the system has no memory to give.
class ZeroedMemory {
public:
    ZeroedMemory() = default;
    explicit ZeroedMemory(size_t bytes);
    ~ZeroedMemory();
    // A move leaves the source empty; an assignment releases what it held first.
    ZeroedMemory(ZeroedMemory&& other) noexcept { swap(other); }
    ZeroedMemory& operator=(ZeroedMemory&& other) noexcept {
        ZeroedMemory taken(std::move(other));
        swap(taken);
        return *this;
    }
    ZeroedMemory(const ZeroedMemory&) = delete;
    ZeroedMemory& operator=(const ZeroedMemory&) = delete;

    void* data() const { return data_; }
    size_t size() const { return size_; }

private:
    void swap(ZeroedMemory& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(mapping_, other.mapping_);
        std::swap(mapped_, other.mapped_);
    }

    void* data_ = nullptr;  // the first of size_ usable bytes
    size_t size_ = 0;
    void* mapping_ = nullptr;  // what the system gave, released as a whole
    size_t mapped_ = 0;
};

// Reads a whole file; fails when it does not exist.
std::string read_file(const std::string& path);

// The failure read_file gives for a file that does not exist, without
// looking for one: for a document held in memory that has no text.
RunTimeFailure missing_file(const std::string& path);

// Creates a folder and its parents when missing.
void make_folders(const std::string& path);

// Names of the plain files in a folder, sorted; none when the folder is missing.
std::vector<std::string> list_files(const std::string& folder);

// --- for a long-running tool (the preview server) -------------------------

// What tells that a file changed: its modification time and size.
struct FileStamp {
    bool exists = false;
    int64_t modified = 0;  // nanoseconds (or the system's own unit) since its epoch
    uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp file_stamp(const std::string& path);

// From now on an interrupt (Ctrl-C) or a termination request only sets a
// flag that stop_requested() reads; a write to a closed connection no
// longer ends the process.
void catch_stop_signals();
bool stop_requested();

// Options of a server's listening socket: its port is never shared with, nor
// taken over by, another program listening on it; on POSIX systems it can be
// taken again at once after an earlier run.
void listen_alone(intptr_t socket);

// --- for a tool that talks over its standard streams (the language server) --

// Standard input, output and error carry bytes unchanged from now on: no
// line-end translation (Windows opens them as text), so that the tool's
// output (UTF-8 text, JSON, SVG) is the same bytes as on Linux in a pipe or a
// file. To a Windows console, output and error are shown through wide
// characters instead, so that every letter shows.
void use_binary_standard_streams();

// Reads what standard input has, at most `size` bytes, waiting for at least
// one; an interrupted call is resumed. 0 at the end of input; a run-time
// failure when the read fails.
size_t read_standard_input(char* buffer, size_t size);

// Writes all bytes to standard output, resuming short and interrupted writes;
// a run-time failure when the write fails (the reader has gone).
void write_standard_output(std::string_view bytes);

// Raises the number of files and sockets the process may hold open at once as
// far as the system lets it (up to 65536), and returns that number.
size_t raise_open_file_limit();

}  // namespace platform
