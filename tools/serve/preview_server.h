// The preview's HTTP server: the page and its embedded files, the latest
// scenario document, and a stream of events that tells every open page when
// a new one is there. Nothing else is served, nothing is read from disk.
#pragma once

#include <memory>
#include <string>

// Open event streams at most; a further page is turned away until one closes.
constexpr int kMaxEventStreams = 16;

class PreviewServer {
public:
    explicit PreviewServer(std::string host);
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    // Binds and listens; port 0 takes a free port. Returns the port, or -1
    // when the address cannot be had. Connections wait until start().
    int bind(int port);
    // Answers requests on threads of its own until stop().
    void start();
    // The new scenario document (JSON) for GET /scenario.json; every open
    // event stream is told its version.
    void publish(std::string json, uint64_t version);
    // Ends every event stream and the server, and waits for its threads.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
