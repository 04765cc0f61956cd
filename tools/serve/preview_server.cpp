#include "tools/serve/preview_server.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "tools/serve/preview_assets.h"

namespace {

// Request threads: one per open event stream, and some for everything else.
constexpr size_t kRequestThreads = kMaxEventStreams + 8;
// An idle event stream gets a comment this often, so that a page that went
// away is noticed and its stream dropped.
constexpr auto kKeepAliveEvery = std::chrono::seconds(2);
constexpr size_t kMaxRequestBody = 16 * 1024;

const char* const kSecurityPolicy =
    "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:; connect-src 'self'; "
    "frame-ancestors 'none'";

bool is_loopback(const std::string& host) {
    return host == "127.0.0.1" || host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

const char* reason_of(int status) {
    switch (status) {
        case 400: return "bad request";
        case 404: return "not found";
        case 405: return "method not allowed";
        case 413: return "request too large";
        case 414: return "address too long";
        default: return "the request cannot be answered";
    }
}

}  // namespace

struct PreviewServer::Impl {
    std::string host;
    int port = -1;
    httplib::Server http;
    std::thread thread;

    std::mutex mutex;
    std::condition_variable changed;
    std::string json = "{}";
    uint64_t version = 0;
    bool stopping = false;
    int streams = 0;

    // With the server on the loopback address only names of this machine may
    // be asked for: a page of another site that made its own name point here
    // must not read the scenario.
    bool host_allowed(const httplib::Request& req) const {
        if (!is_loopback(host)) return true;
        const std::string asked = req.get_header_value("Host");
        const std::string p = ":" + std::to_string(port);
        for (const char* name : {"127.0.0.1", "localhost", "[::1]"})
            if (asked == name + p || asked == name) return true;
        return false;
    }

    void event_stream(const httplib::Request&, httplib::Response& res) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (streams >= kMaxEventStreams || stopping) {
                res.status = 429;
                res.set_content("too many open event streams\n", "text/plain");
                return;
            }
            ++streams;
        }
        res.set_header("Cache-Control", "no-store");
        auto sent = std::make_shared<uint64_t>(0);
        res.set_chunked_content_provider(
            "text/event-stream",
            [this, sent](size_t, httplib::DataSink& sink) {
                std::unique_lock<std::mutex> lock(mutex);
                if (*sent == 0) {
                    // First call: the version there is now, so a page that (re)connects is up to date.
                    *sent = version + 1;
                    const std::string first = "retry: 500\nevent: update\ndata: " + std::to_string(version) + "\n\n";
                    lock.unlock();
                    return sink.write(first.data(), first.size());
                }
                const bool woken = changed.wait_for(lock, kKeepAliveEvery, [&] { return stopping || *sent != version + 1; });
                if (stopping) return false;
                std::string message = ": keep-alive\n\n";
                if (woken) {
                    *sent = version + 1;
                    message = "event: update\ndata: " + std::to_string(version) + "\n\n";
                }
                lock.unlock();
                return sink.write(message.data(), message.size()) && sink.is_writable();
            },
            [this](bool) {
                std::lock_guard<std::mutex> lock(mutex);
                --streams;
            });
    }

    void routes() {
        http.new_task_queue = [] { return new httplib::ThreadPool(kRequestThreads); };
        // The library would share the port with any other program that asks.
        http.set_socket_options([](socket_t socket) { platform::listen_alone(static_cast<intptr_t>(socket)); });
        http.set_keep_alive_timeout(2);
        http.set_read_timeout(5);
        http.set_write_timeout(5);
        http.set_payload_max_length(kMaxRequestBody);
        http.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                                  {"Content-Security-Policy", kSecurityPolicy},
                                  {"Referrer-Policy", "no-referrer"}});
        http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            // Answers go uncompressed: on this machine compression only costs
            // time (the library's brotli takes over half a second for the
            // scenario of the longest route). The request is the library's own
            // modifiable object, handed over as const.
            const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
            if (host_allowed(req)) return httplib::Server::HandlerResponse::Unhandled;
            res.status = 403;
            res.set_content("this server answers to 127.0.0.1 and localhost only\n", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        });
        http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
            if (res.body.empty())
                res.set_content(std::to_string(res.status) + " " + reason_of(res.status) + "\n", "text/plain");
        });
        http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            res.status = 500;
            res.set_content("500 the request could not be answered\n", "text/plain");
        });
        http.Get("/scenario.json", [this](const httplib::Request&, httplib::Response& res) {
            std::string body;
            {
                std::lock_guard<std::mutex> lock(mutex);
                body = json;
            }
            res.set_header("Cache-Control", "no-store");
            res.set_content(std::move(body), "application/json");
        });
        http.Get("/events", [this](const httplib::Request& req, httplib::Response& res) { event_stream(req, res); });
        // The page and its embedded files; the path is only ever a key into the embedded table.
        http.Get(R"(/|/assets/[A-Za-z0-9_.-]+)", [](const httplib::Request& req, httplib::Response& res) {
            const PreviewAsset* asset = find_preview_asset(req.path);
            if (asset == nullptr) {
                res.status = 404;
                return;
            }
            res.set_header("Cache-Control", "no-cache");
            res.set_content(reinterpret_cast<const char*>(asset->bytes), asset->size, asset->contentType);
        });
    }
};

PreviewServer::PreviewServer(std::string host) : impl_(std::make_unique<Impl>()) {
    impl_->host = std::move(host);
    impl_->routes();
}

PreviewServer::~PreviewServer() { stop(); }

int PreviewServer::bind(int port) {
    if (port == 0) impl_->port = impl_->http.bind_to_any_port(impl_->host);
    else impl_->port = impl_->http.bind_to_port(impl_->host, port) ? port : -1;
    return impl_->port;
}

void PreviewServer::start() {
    impl_->thread = std::thread([this] { impl_->http.listen_after_bind(); });
    // Until the server runs, stop() could not end it: wait for that (briefly).
    for (int i = 0; i < 5000 && !impl_->http.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void PreviewServer::publish(std::string json, uint64_t version) {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->json = std::move(json);
        impl_->version = version;
    }
    impl_->changed.notify_all();
}

void PreviewServer::stop() {
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->changed.notify_all();
    impl_->http.stop();
    if (impl_->thread.joinable()) impl_->thread.join();
}
