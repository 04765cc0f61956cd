// scenario_tool serve as a user's browser and a hostile client meet it: the
// program runs on copies of the built-in documents and is spoken to over
// plain sockets.
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

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace {

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

int status_of(const std::string& response) {
    return response.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(response.c_str() + 9) : 0;
}

std::string body_of(const std::string& response) {
    const size_t at = response.find("\r\n\r\n");
    return at == std::string::npos ? "" : response.substr(at + 4);
}

// The next whole answer on a connection: headers and as many bytes as they
// announce; what came without a length, when they announce none.
std::string next_answer(Client& c) {
    std::string response = c.read("\r\n\r\n");
    const size_t end = response.find("\r\n\r\n");
    const size_t length = response.find("Content-Length: ");
    if (end == std::string::npos || length == std::string::npos || length > end) return c.take(response.size());
    const size_t wanted = end + 4 + std::strtoul(response.c_str() + length + 16, nullptr, 10);
    c.read_bytes(wanted);
    return c.take(wanted);
}

// A whole request and its whole answer, on a connection of its own.
std::string ask(int port, const std::string& request, const char* to = "127.0.0.1") {
    Client c(port, to);
    EXPECT_TRUE(c.connected());
    c.send(request);
    return next_answer(c);
}

std::string get(int port, const std::string& path, const std::string& host = "127.0.0.1") {
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

}  // namespace

TEST(Serve, AnnouncesItsAddressAndServesTheScenario) {
    Server server;
    ASSERT_GT(server.port(), 0) << server.first_line();
    EXPECT_EQ(server.first_line(), "Preview at http://127.0.0.1:" + std::to_string(server.port()) + "/");

    const std::string response = get(server.port(), "/scenario.json");
    EXPECT_EQ(status_of(response), 200);
    EXPECT_NE(response.find("Content-Type: application/json"), std::string::npos);
    const std::string body = body_of(response);
    EXPECT_LT(body.size(), 1000000u);
    const json j = json::parse(body);
    EXPECT_EQ(j["route"], "Bresta_Vilcar");
    EXPECT_EQ(j["train"], "RX907");
    EXPECT_EQ(j["route_length_m"], 106000);
    ASSERT_EQ(j["stations"].size(), 24u);
    EXPECT_EQ(j["stations"][0]["name"], "BRESTA");
    EXPECT_EQ(j["stations"][0]["scheduled"], "09:38:00");
    EXPECT_EQ(j["stations"][3]["name"], "PIANCASTELLO");
    EXPECT_EQ(j["stations"][3]["position_m"], 18800);
    EXPECT_EQ(j["signals"][0]["position_m"], 1550);
    EXPECT_EQ(j["signals"][0]["cell"], 32);
    EXPECT_EQ(j["indication_boards"][0]["caption"], "(P.C.VALSORDA)");
    EXPECT_FALSE(j["speed_boards"].empty());
    const json& p = j["profile"];
    EXPECT_EQ(p["cell_m"], 50);
    EXPECT_EQ(p["speed_kmh"].size(), p["gradient_permille"].size());
    EXPECT_EQ(p["adhesion_percent"].size(), p["gradient_permille"].size());
    EXPECT_EQ(p["height_m"].size(), p["gradient_permille"].size() + 1);
    // The plan starts at metre 0 and reaches the route end, where the dashed part begins.
    EXPECT_EQ(j["plan"]["route"].front()[0], 0);
    EXPECT_EQ(j["plan"]["route"].back()[0], 106000);
    EXPECT_EQ(j["plan"]["beyond"].front()[0], 106000);
    EXPECT_EQ(j["diagnostics"], json::array());
    EXPECT_EQ(j["stale"], false);
    // Each feature names the line of its document that made it.
    EXPECT_EQ(j["signals"][0]["source"], json({{"file", server.train()}, {"line", 62},
                                               {"text", "segnale,    1550,   1, 4, 1,  0, 0,    1,  3,1,0, 0"}}));
    EXPECT_EQ(j["speed_boards"][0]["source"]["line"], 98);
    EXPECT_EQ(j["speed_boards"][0]["source"]["file"], server.line());
    EXPECT_EQ(j["indication_boards"][0]["source"]["text"], "cartello_indicatore,  2800,   (P.C.VALSORDA)");
    EXPECT_NE(j["stations"][3]["source"]["text"].get<std::string>().find(", PIANCASTELLO"), std::string::npos);
    for (const char* kind : {"stations", "signals", "speed_boards", "indication_boards"})
        for (const json& feature : j[kind]) EXPECT_TRUE(feature.contains("source")) << kind << feature;

    const std::string page = get(server.port(), "/");
    EXPECT_EQ(status_of(page), 200);
    EXPECT_NE(page.find("<script type=\"module\" src=\"/assets/preview.js\">"), std::string::npos);
    for (const char* asset : {"/assets/preview.css", "/assets/uPlot.iife.min.js", "/assets/uPlot.min.css",
                              "/assets/svg-pan-zoom.min.js"})
        EXPECT_EQ(status_of(get(server.port(), asset)), 200) << asset;
}

// The page is a tree of modules from /assets/preview.js: every module it
// imports is served, as JavaScript (a browser runs no module of another
// type), and the page asks for each at once rather than import by import.
TEST(Serve, ServesEveryModuleOfThePageAsJavaScript) {
    Server server;
    ASSERT_GT(server.port(), 0) << server.first_line();
    const std::string page = body_of(get(server.port(), "/"));
    const std::regex imported(R"(\bfrom '\./([a-z_]+\.js)';)");
    std::set<std::string> seen = {"preview.js"};
    std::vector<std::string> waiting = {"preview.js"};
    while (!waiting.empty()) {
        const std::string name = waiting.back();
        waiting.pop_back();
        const std::string response = get(server.port(), "/assets/" + name);
        ASSERT_EQ(status_of(response), 200) << name;
        EXPECT_NE(response.find("Content-Type: text/javascript"), std::string::npos) << name;
        if (name != "preview.js") {
            EXPECT_NE(page.find("<link rel=\"modulepreload\" href=\"/assets/" + name + "\">"), std::string::npos) << name;
        }
        const std::string body = body_of(response);
        for (std::sregex_iterator i(body.begin(), body.end(), imported), end; i != end; ++i)
            if (seen.insert((*i)[1]).second) waiting.push_back((*i)[1]);
    }
    EXPECT_GT(seen.size(), 1u) << "no import of /assets/preview.js was read";
}

// Saves a document as editors do, into a new file renamed over the old one,
// so that the server never sees it half-written.
static void save_whole(const std::string& path, const std::string& text) {
    const std::string saving = path + ".saving";
    {
        std::ofstream f(saving, std::ios::binary);
        f << text;
    }
    fs::rename(saving, path);
}

TEST(Serve, ErrorsKeepTheLastGoodDrawingMarkedStaleUntilMended) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const uint64_t first = server.scenario()["version"];
    const std::string original = run_command("cat '" + server.line() + "'", "/").out;
    const std::string broken = [&] {
        std::string t = original;
        t.replace(t.find("cartello_indicatore,  11100,"), 28, "cartello_indicatore,  15350,");
        return t;
    }();
    save_whole(server.line(), broken);

    const json stale = server.scenario_after(first);
    ASSERT_EQ(stale["diagnostics"].size(), 1u) << stale["diagnostics"];
    const json& d = stale["diagnostics"][0];
    EXPECT_EQ(d["file"], server.line());
    EXPECT_EQ(d["line"], 134);
    EXPECT_EQ(d["severity"], "error");
    EXPECT_EQ(d["code"], "6");
    EXPECT_EQ(d["message"].get<std::string>().rfind("indication board at 15350 m falls on grid cell 308", 0), 0u);
    EXPECT_EQ(d["text"], "cartello_indicatore,  15350,   (P.C.CAVRIA)");
    // The speed board whose cell it found taken, at its position field ("indicatori_vmax,  15350,").
    EXPECT_EQ(d["related"], json::array({{{"file", server.line()}, {"line", 100},
                                          {"label", "the cell of the speed board at 15350 m"},
                                          {"startColumn", 19}, {"endColumn", 24}}}));
    EXPECT_EQ(stale["stale"], true);
    EXPECT_EQ(stale["stations"].size(), 24u);  // the last good compile is still drawn
    EXPECT_EQ(stale["indication_boards"][3]["position_m"], 11100);

    save_whole(server.line(), original);
    const json mended = server.scenario_after(stale["version"]);
    EXPECT_EQ(mended["diagnostics"], json::array());
    EXPECT_EQ(mended["stale"], false);
}

TEST(Serve, WithoutAGoodCompileTheDrawingIsEmpty) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const uint64_t first = server.scenario()["version"];
    fs::remove(server.line());
    const json j = server.scenario_after(first);
    EXPECT_EQ(j["stale"], true);
    ASSERT_FALSE(j["diagnostics"].empty());
    EXPECT_EQ(j["diagnostics"][0]["code"], "101");
    EXPECT_EQ(j["stations"].size(), 24u);  // the compile from the start is still drawn

    Server fresh(true);
    ASSERT_GT(fresh.port(), 0);
    const json empty = fresh.scenario();
    EXPECT_EQ(empty["stale"], true);
    EXPECT_EQ(empty["diagnostics"][0]["code"], "101");
    EXPECT_EQ(empty["route"], "");
    EXPECT_EQ(empty["stations"], json::array());
    EXPECT_EQ(empty["plan"], nullptr);
    // A termination request; Windows has none but Ctrl+C (SIGINT under Wine).
    EXPECT_EQ(fresh.stop(tool_is_windows() ? SIGINT : SIGTERM), 0);
}

// The station row of a run by name.
const json& run_station(const json& run, const std::string& name) {
    for (const json& s : run["stations"])
        if (s["name"] == name) return s;
    ADD_FAILURE() << "no station " << name;
    static const json none;
    return none;
}

// The fastest run comes with the drawing, and its every time is the
// timetable command's for the same documents: one model, read once.
TEST(Serve, CarriesTheFastestRunAsTheTimetableGivesIt) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const json j = server.scenario();
    const json& run = j["run"];
    ASSERT_TRUE(run.is_object()) << j["run_problem"];
    EXPECT_EQ(j["run_problem"], nullptr);
    EXPECT_EQ(run["trainModel"], "default");
    const RunResult timetable =
        run_command(tool_command() + " timetable '" + server.line() + "' '" + server.train() + "' --format json", "/");
    const json expected = json::parse(timetable.out);
    ASSERT_EQ(run["stations"].size(), expected["stations"].size());
    ASSERT_EQ(run["stations"].size(), 24u);
    for (size_t i = 0; i < expected["stations"].size(); ++i) {
        const json& got = run["stations"][i];
        const json& want = expected["stations"][i];
        EXPECT_EQ(got["name"], want["name"]);
        EXPECT_EQ(got["position_m"], want["position_m"]);
        EXPECT_EQ(got["scheduled_s"], want["scheduled_s"]);
        for (const char* time : {"earliest_arrival_s", "earliest_departure_s", "slack_s"}) {
            if (want[time].is_null()) EXPECT_TRUE(got[time].is_null()) << i << time;
            else EXPECT_NEAR(got[time].get<double>(), want[time].get<double>(), 0.05) << i << time;
        }
    }
    EXPECT_EQ(run_station(run, "BRESTA")["role"], "start");
    EXPECT_EQ(run_station(run, "SORBA")["role"], "passed");  // no stop cell
    // The run's points, thinned, in order along the route from the first
    // departure (09:38:00) to the last arrival; time goes back only at a
    // stop reached after its scheduled departure, which the next leg starts from.
    const json& samples = run["samples"];
    EXPECT_GT(samples.size(), 500u);
    EXPECT_LE(samples.size(), 3000u);
    EXPECT_EQ(samples.front(), json({run_station(run, "BRESTA")["position_m"], 9 * 3600 + 38 * 60, 0}));
    const json& last = run["stations"].back();
    EXPECT_NEAR(samples.back()[1].get<double>(), last["earliest_arrival_s"].get<double>(), 0.05);
    for (size_t i = 1; i < samples.size(); ++i) {
        ASSERT_GE(samples[i][0], samples[i - 1][0]) << i;
        if (samples[i][1] < samples[i - 1][1]) {
            ASSERT_EQ(samples[i][0], samples[i - 1][0]) << i;
            ASSERT_EQ(samples[i][2], 0) << i;
            ASSERT_EQ(samples[i - 1][2], 0) << i;
        }
    }
    // The montagna stretches as the line document gives them; the service
    // meets no slow-down.
    const std::string lineText = run_command("cat '" + server.line() + "'", "/").out;
    size_t rows = 0;
    for (size_t at = lineText.find("\nmontagna,"); at != std::string::npos; at = lineText.find("\nmontagna,", at + 1))
        ++rows;
    EXPECT_EQ(j["montagna"].size(), rows);
    EXPECT_EQ(j["montagna"][0], json({{"start_m", 3000}, {"end_m", 17600}}));
    EXPECT_EQ(j["slow_downs"], json::array());
}

// A saved slow-down and a tightened time come with the next update: the
// slow-down as placed, the run slowed by it, the station late.
TEST(Serve, ASavedSlowDownAndATightenedTimeComeWithTheNextUpdate) {
    Server server;
    ASSERT_GT(server.port(), 0);
    const json before = server.scenario();
    const double earliest = run_station(before["run"], "PIANCASTELLO")["earliest_departure_s"].get<double>();

    const std::string original = run_command("cat '" + server.train() + "'", "/").out;
    std::string slowed = original;
    slowed.insert(slowed.find("stazione,   11700,"), "rallentamento, 5000, 30, 2000, 0, 0, 0\r\n");
    save_whole(server.train(), slowed);
    const json withSlowDown = server.scenario_after(before["version"]);
    ASSERT_EQ(withSlowDown["slow_downs"].size(), 1u) << withSlowDown["diagnostics"];
    const json& s = withSlowDown["slow_downs"][0];
    EXPECT_EQ(s["speed_kmh"], 30);
    EXPECT_NEAR(s["start_m"].get<double>(), 5000, 100);
    EXPECT_NEAR(s["end_m"].get<double>() - s["start_m"].get<double>(), 2000, 100);
    // 2 km at 30 km/h rather than at line speed: well over a minute more.
    const json& slowedStation = run_station(withSlowDown["run"], "PIANCASTELLO");
    EXPECT_GT(slowedStation["earliest_departure_s"].get<double>(), earliest + 60);
    for (const json& sample : withSlowDown["run"]["samples"]) {
        if (sample[0] > s["start_m"].get<double>() && sample[0] < s["end_m"].get<double>()) {
            ASSERT_LE(sample[2].get<double>(), 30.05) << sample;
        }
    }

    // The last station's arrival a minute before the earliest (11:00:00 stands in the row).
    const json& end = run_station(before["run"], "VILCAR P.NUOVA");
    EXPECT_FALSE(end["late"].get<bool>());
    const double arrival = end["earliest_arrival_s"].get<double>();
    const int tight = static_cast<int>(std::ceil(arrival)) - 60;
    char clock[40];
    std::snprintf(clock, sizeof clock, "%2d,%2d,%2d, VILCAR P.NUOVA", tight / 3600, tight / 60 % 60, tight % 60);
    const std::string row = " 11, 0, 0, VILCAR P.NUOVA";
    std::string tightened = original;
    tightened.replace(tightened.find(row), row.size(), clock);
    save_whole(server.train(), tightened);
    const json late = server.scenario_after(withSlowDown["version"]);
    const json& station = run_station(late["run"], "VILCAR P.NUOVA");
    EXPECT_EQ(station["scheduled_s"], tight);
    EXPECT_TRUE(station["late"].get<bool>());
    EXPECT_NEAR(station["slack_s"].get<double>(), tight - arrival, 0.05);
    EXPECT_EQ(late["slow_downs"], json::array());
}

// --train-model: the run of the file's train, named by the file; a faulty
// file is said before anything is served, as the timetable says it.
TEST(Serve, RunsTheTrainOfATrainModelFile) {
    Server standard;
    ASSERT_GT(standard.port(), 0);
    TestFolder models;
    models.write("slow.json", "{\"max_speed_mps\": 15}");
    Server slow(false, nullptr, {"--train-model", models.file("slow.json")});
    ASSERT_GT(slow.port(), 0) << slow.first_line();
    const json run = slow.scenario()["run"];
    ASSERT_TRUE(run.is_object());
    EXPECT_EQ(run["trainModel"], models.file("slow.json"));
    const double standardEnd = standard.scenario()["run"]["stations"].back()["earliest_arrival_s"].get<double>();
    EXPECT_GT(run["stations"].back()["earliest_arrival_s"].get<double>(), standardEnd + 60);
    for (const json& sample : run["samples"]) {
        ASSERT_LE(sample[2].get<double>(), 15 * 3.6 + 0.05) << sample;
    }

    models.write("bad.json", "{\"braking_mps2\": -1}");
    const RunResult faulty = run_command("timeout 10 " + tool_command() + " serve '" + slow.line() + "' '" +
                                             slow.train() + "' --port 0 --train-model bad.json",
                                         models.path());
    EXPECT_EQ(faulty.status, 64);
    EXPECT_EQ(faulty.out, "");
    EXPECT_NE(faulty.err.find("train-model file bad.json: key \"braking_mps2\": negative"), std::string::npos)
        << faulty.err;
}

// Bad requests of every kind: each gets a 4xx and no file's content, and the
// server answers a good request after each one.
TEST(Serve, RefusesBadRequestsAndGoesOn) {
    Server server;
    const int port = server.port();
    ASSERT_GT(port, 0);
    const std::string big(1 << 20, 'a');
    struct Case {
        const char* name;
        std::string request;
    };
    const std::vector<Case> cases = {
        {"parent folders", "GET /../../etc/passwd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"encoded parent", "GET /%2e%2e/ HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"encoded parents to a file", "GET /%2e%2e/%2e%2e/etc/passwd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"asset parent", "GET /assets/../../etc/passwd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"asset encoded slash", "GET /assets/..%2f..%2fetc%2fpasswd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"asset dots", "GET /assets/.. HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"backslashes", "GET /..\\..\\etc\\passwd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"a source file", "GET /preview.js HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"a document", "GET /src/Bresta_Vilcar_linea.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"absolute file", "GET /etc/passwd HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"post", "POST /scenario.json HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 2\r\n\r\n{}"},
        {"put", "PUT /scenario.json HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 2\r\n\r\n{}"},
        {"delete", "DELETE / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"unknown method", "BREW / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"no version", "GET /\r\n\r\n"},
        {"garbage", std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03", 11) + "\r\n\r\n"},
        {"1 MB header", "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Big: " + big + "\r\n\r\n"},
        {"1 MB address", "GET /" + big + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"},
        {"large body", "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 1048576\r\n\r\n" + big},
        {"another site's name", "GET /scenario.json HTTP/1.1\r\nHost: attacker.example\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const std::string response = ask(port, c.request);
        const int status = status_of(response);
        EXPECT_TRUE(status >= 400 && status < 500) << c.name << ": " << response.substr(0, 200);
        EXPECT_EQ(response.find("root:"), std::string::npos) << c.name;
        EXPECT_EQ(response.find("cartello_indicatore"), std::string::npos) << c.name;
        EXPECT_EQ(status_of(get(port, "/")), 200) << "after " << c.name;
    }
    // A client that sends half a request and goes away, and one that says nothing.
    {
        Client half(port);
        half.send("GET /scenario.json HTTP/1.1\r\nHo");
    }
    Client silent(port);
    EXPECT_EQ(status_of(get(port, "/scenario.json")), 200);
    EXPECT_EQ(status_of(get(port, "/", "localhost:" + std::to_string(port))), 200);
    EXPECT_TRUE(fs::exists(server.line()));
    EXPECT_TRUE(fs::exists(server.train()));
}

TEST(Serve, BoundsTheOpenEventStreamsAndDropsClosedOnes) {
    Server server;
    const int port = server.port();
    ASSERT_GT(port, 0);
    const std::string open = "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    std::vector<std::unique_ptr<Client>> streams;
    for (int i = 0; i < 16; ++i) {
        streams.push_back(std::make_unique<Client>(port));
        streams.back()->send(open);
        EXPECT_NE(streams.back()->read("\n\n").find("event: update\ndata: "), std::string::npos) << i;
    }
    const std::string refused = ask(port, open);
    EXPECT_EQ(status_of(refused), 429) << refused.substr(0, 200);
    EXPECT_EQ(status_of(get(port, "/scenario.json")), 200);  // other requests are still answered

    // Every open stream hears of a new compile.
    const uint64_t version = server.scenario()["version"];
    fs::last_write_time(server.train(), fs::file_time_type::clock::now());
    const std::string next = "data: " + std::to_string(version + 1) + "\n\n";
    for (auto& s : streams) EXPECT_NE(s->read(next).find(next), std::string::npos);

    // A page that goes away frees its place within a few seconds.
    streams.front()->close();
    bool accepted = false;
    for (int i = 0; i < 40 && !accepted; ++i) {
        Client again(port);
        again.send(open);
        accepted = again.read("\n\n", std::chrono::seconds(2)).find("event: update") != std::string::npos;
        if (!accepted) std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_TRUE(accepted);
    EXPECT_EQ(server.stop(SIGINT), 0);  // open streams do not hold the end back
}

TEST(Serve, EndsCleanlyOnInterruptAndTermination) {
    for (int signal : {SIGINT, SIGTERM}) {
        Server server;
        ASSERT_GT(server.port(), 0);
        EXPECT_EQ(server.scenario()["stations"].size(), 24u);  // drawn without a temporary folder
        EXPECT_EQ(server.stop(signal), 0) << signal;
        EXPECT_TRUE(fs::is_regular_file(server.tmp())) << signal;
        // The author's documents stay as they were, modification times
        // included, and nothing was written beside them.
        const FolderSnapshot after = folder_snapshot(fs::path(server.line()).parent_path().string());
        EXPECT_EQ(after, server.documents_before()) << signal;
        EXPECT_EQ(after.size(), 5u);
    }
}

TEST(Serve, ATakenPortIsAClearFailure) {
    Server first;
    ASSERT_GT(first.port(), 0);
    TestFolder dir;
    const RunResult r = run_command("timeout 10 " + tool_command() + " serve a b --port " +
                                        std::to_string(first.port()),
                                    dir.path());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot listen on 127.0.0.1 port " + std::to_string(first.port())), std::string::npos);
}

// Bound to another loopback address the server answers to every loopback
// name, with its port or none, and to no other name.
TEST(Serve, OnAnotherLoopbackAddressAnswersEveryLoopbackName) {
    Server server(false, "127.0.0.2");
    const int port = server.port();
    ASSERT_GT(port, 0) << server.first_line();
    const std::string p = ":" + std::to_string(port);
    struct Case {
        std::string host;
        int status;
    };
    const std::vector<Case> cases = {
        {.host = "127.0.0.2" + p, .status = 200},
        {.host = "127.0.0.2", .status = 200},
        {.host = "127.0.0.1" + p, .status = 200},
        {.host = "127.9.8.7" + p, .status = 200},
        {.host = "localhost" + p, .status = 200},
        {.host = "LocalHost", .status = 200},
        {.host = "[::1]" + p, .status = 200},
        {.host = "[0:0:0:0:0:0:0:1]" + p, .status = 200},
        {.host = "attacker.example" + p, .status = 403},
        {.host = "attacker.example", .status = 403},
        {.host = "127.0.0.2.attacker.example" + p, .status = 403},
        {.host = "localhost.attacker.example", .status = 403},
        {.host = "127.0.0.2:1", .status = 403},
        {.host = "127.0.0.2" + p + p, .status = 403},
        {.host = "127.0.0.256" + p, .status = 403},
        {.host = "127.0.0" + p, .status = 403},
        {.host = "[::1", .status = 403},
        {.host = "", .status = 403},
    };
    for (const Case& c : cases) {
        const std::string response = ask(
            port, "GET /scenario.json HTTP/1.1\r\nHost: " + c.host + "\r\nConnection: close\r\n\r\n", "127.0.0.2");
        EXPECT_EQ(status_of(response), c.status) << "Host: " << c.host;
        if (c.status == 200) {
            EXPECT_EQ(json::parse(body_of(response))["route"], "Bresta_Vilcar") << c.host;
        }
    }
}

// Many clients at once, each keeping its connection open between requests,
// beside one that says nothing and one that stops halfway: every request is
// answered whole. A bounded load (loopback only, a few seconds at most).
TEST(Serve, AnswersEveryRequestOfManyKeptAliveClients) {
    Server server;
    const int port = server.port();
    ASSERT_GT(port, 0);
    const std::string page = body_of(get(port, "/"));
    ASSERT_FALSE(page.empty());
    Client silent(port);
    Client halfway(port);
    halfway.send("GET / HTTP/1.1\r\nHo");

    constexpr int kClients = 200;
    constexpr int kRequestsEach = 10;
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<Client>(port));
        ASSERT_TRUE(clients.back()->connected()) << i;
    }
    std::atomic<int> answered = 0;
    std::vector<std::thread> threads;
    for (auto& client : clients)
        threads.emplace_back([&answered, &page, c = client.get()] {
            for (int i = 0; i < kRequestsEach; ++i) {
                c->send("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
                const std::string answer = next_answer(*c);
                if (status_of(answer) != 200 || body_of(answer) != page) return;
                ++answered;
            }
        });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(answered, kClients * kRequestsEach);
    EXPECT_EQ(status_of(get(port, "/scenario.json")), 200);
}

// A stop that comes while a compile runs (a 1,000,000 m route takes about a
// second) is not held back by it: the server ends with status 0 all the same.
TEST(Serve, EndsCleanlyOnInterruptDuringACompile) {
    Server server;
    ASSERT_GT(server.port(), 0);
    EXPECT_EQ(server.scenario()["stations"].size(), 24u);
    TestFolder longRoute;
    ASSERT_EQ(run_command(binary_folder() + "/make_route 1000000 long_linea.txt long_treno.txt", longRoute.path()).status,
              0);
    save_whole(server.train(), longRoute.read("long_treno.txt"));
    save_whole(server.line(), longRoute.read("long_linea.txt"));
    // Within a poll or two the compile of the long route has begun.
    std::this_thread::sleep_for(std::chrono::milliseconds(4 * kPollMilliseconds));
    EXPECT_EQ(server.stop(SIGINT), 0);
}

// In the process: the serving loop ends once the stop is requested, having
// served until then, and closes its port.
TEST(Serve, TheLoopEndsOnTheStopRequest) {
    TestFolder dir;
    ASSERT_EQ(run_command(tool_command() + " write-documents src", dir.path()).status, 0);
    std::atomic<bool> stop{false};
    std::promise<void> asked;
    std::atomic<bool> askedOnce{false};
    ServeOptions options;
    options.lineDocument = dir.file("src/Bresta_Vilcar_linea.txt");
    options.trainDocument = dir.file("src/Bresta_Vilcar_RX907-.txt");
    options.port = 0;
    options.stopRequested = [&] {
        if (!askedOnce.exchange(true)) asked.set_value();
        return stop.load();
    };
    std::ostringstream out, err;
    std::future<int> serving = std::async(std::launch::async, [&] { return serve_preview(options, out, err); });
    // The loop asks for the stop only once the address is printed.
    const bool serves = asked.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    int port = 0;
    if (serves) {
        const std::string first = out.str();
        port = std::atoi(first.c_str() + first.rfind(':') + 1);
        EXPECT_EQ(status_of(get(port, "/scenario.json")), 200) << first;
    }
    stop = true;
    ASSERT_TRUE(serves) << err.str();
    ASSERT_EQ(serving.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(serving.get(), 0);
    EXPECT_FALSE(Client(port).connected());
}
