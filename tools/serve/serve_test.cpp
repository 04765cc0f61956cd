// scenario_tool serve as a user's browser and a hostile client meet it: the
// program runs on copies of the built-in documents and is spoken to over
// plain sockets.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include "tools/serve/test_serve_client.h"

using namespace serve_test;


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
