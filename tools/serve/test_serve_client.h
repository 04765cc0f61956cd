// The test's side of scenario_tool serve: a plain-socket client, the requests
// and answers it makes, and the program running on copies of the built-in
// documents. Only the serve tests include it.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/serve/recompiler.h"
#include "tools/serve/serve.h"
#include "tools/testing/test_folder.h"
#include "tools/testing/tool_runner.h"

namespace serve_test {

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;


// A connection to the server; everything it sends is kept.
class Client {
public:
    explicit Client(int port, const char* to = "127.0.0.1") {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, to, &address.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { close(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool connected() const { return connected_; }
    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    // Sends all bytes; the server may close before they are all taken.
    void send(const std::string& bytes) {
        size_t sent = 0;
        while (sent < bytes.size()) {
            ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }
    // Reads until `until` appears, the server closes, or the time is up.
    std::string read(const std::string& until = "", std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end && (until.empty() || received_.find(until) == std::string::npos)) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buffer[65536];
            ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            received_.append(buffer, static_cast<size_t>(n));
        }
        return received_;
    }
    // Reads until `size` bytes are there, the server closes, or the time is up.
    std::string read_bytes(size_t size, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        const auto end = Clock::now() + limit;
        while (Clock::now() < end && received_.size() < size) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            char buffer[65536];
            ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            received_.append(buffer, static_cast<size_t>(n));
        }
        return received_;
    }
    // Removes the first `size` bytes kept and returns them.
    std::string take(size_t size) {
        std::string taken = received_.substr(0, size);
        received_.erase(0, size);
        return taken;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
    std::string received_;
};

inline int status_of(const std::string& response) {
    return response.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(response.c_str() + 9) : 0;
}

inline std::string body_of(const std::string& response) {
    const size_t at = response.find("\r\n\r\n");
    return at == std::string::npos ? "" : response.substr(at + 4);
}

// The next whole answer on a connection: headers and as many bytes as they
// announce; what came without a length, when they announce none.
inline std::string next_answer(Client& c) {
    std::string response = c.read("\r\n\r\n");
    const size_t end = response.find("\r\n\r\n");
    const size_t length = response.find("Content-Length: ");
    if (end == std::string::npos || length == std::string::npos || length > end) return c.take(response.size());
    const size_t wanted = end + 4 + std::strtoul(response.c_str() + length + 16, nullptr, 10);
    c.read_bytes(wanted);
    return c.take(wanted);
}

// A whole request and its whole answer, on a connection of its own.
inline std::string ask(int port, const std::string& request, const char* to = "127.0.0.1") {
    Client c(port, to);
    EXPECT_TRUE(c.connected());
    c.send(request);
    return next_answer(c);
}

inline std::string get(int port, const std::string& path, const std::string& host = "127.0.0.1") {
    return ask(port, "GET " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\n\r\n");
}

// scenario_tool serve running on the built-in documents, in a folder of its
// own, with a TMPDIR where nothing can be made: a regular file. Serving needs
// no temporary folder.
class Server {
public:
    // `withoutLine`: the line description is missing from the start;
    // `host`: the address to listen on, when not the default; `more`: more
    // options, after the documents.
    explicit Server(bool withoutLine = false, const char* host = nullptr, const std::vector<std::string>& more = {}) {
        EXPECT_EQ(run_command(tool_command() + " write-documents src", dir_.path()).status, 0);
        if (withoutLine) fs::remove(line());
        dir_.write("tmp", "not a folder");
        documentsBefore_ = folder_snapshot(dir_.file("src"));
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        std::vector<std::string> args = tool_argv();
        args.insert(args.end(), {"serve", line(), train(), "--port", "0"});
        if (host != nullptr) args.insert(args.end(), {"--host", host});
        args.insert(args.end(), more.begin(), more.end());
        const bool windows = tool_is_windows();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            // The temporary folder of POSIX systems, and of Windows. Under Wine
            // TMPDIR is Wine's own (where it finds its server), not the program's.
            for (const char* name : {"TMP", "TEMP"}) ::setenv(name, tmp().c_str(), 1);
            if (!windows) ::setenv("TMPDIR", tmp().c_str(), 1);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_ = out[0];
        first_line_ = read_line();
        const size_t colon = first_line_.rfind(':');
        if (first_line_.rfind("Preview at http://" + std::string(host ? host : "127.0.0.1") + ":", 0) == 0 &&
            colon != std::string::npos)
            port_ = std::atoi(first_line_.c_str() + colon + 1);
    }
    ~Server() {
        if (pid_ > 0 && !ended_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }

    int port() const { return port_; }
    const std::string& first_line() const { return first_line_; }
    std::string line() const { return dir_.file("src/Bresta_Vilcar_linea.txt"); }
    std::string train() const { return dir_.file("src/Bresta_Vilcar_RX907-.txt"); }
    std::string tmp() const { return dir_.file("tmp"); }
    std::string folder() const { return dir_.path(); }
    // The documents' folder as it was before the server started.
    const FolderSnapshot& documents_before() const { return documentsBefore_; }

    // Sends the signal; the exit status, or -1 when it does not end in 10 s.
    int stop(int signal) {
        ::kill(pid_, signal);
        for (int i = 0; i < 200; ++i) {
            int raw = 0;
            if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    json scenario() const { return json::parse(body_of(get(port_, "/scenario.json"))); }

    // The scenario once its version passes `after`, or the last one seen after 5 s.
    json scenario_after(uint64_t after) const {
        json j = scenario();
        for (int i = 0; i < 100 && j["version"].get<uint64_t>() <= after; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            j = scenario();
        }
        return j;
    }

private:
    std::string read_line() {
        std::string line;
        char c = 0;
        pollfd p{out_, POLLIN, 0};
        while (::poll(&p, 1, 20000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    TestFolder dir_;
    FolderSnapshot documentsBefore_;
    pid_t pid_ = -1;
    int out_ = -1;
    int port_ = 0;
    bool ended_ = false;
    std::string first_line_;
};

// Saves a document as editors do, into a new file renamed over the old one,
// so that the server never sees it half-written.
inline void save_whole(const std::string& path, const std::string& text) {
    const std::string saving = path + ".saving";
    {
        std::ofstream f(saving, std::ios::binary);
        f << text;
    }
    fs::rename(saving, path);
}

}  // namespace serve_test
