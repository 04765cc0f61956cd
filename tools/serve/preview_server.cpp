// The preview's HTTP server on Boost.Beast: one thread runs every connection
// asynchronously, so idle, slow or kept-alive connections cost a socket and a
// little memory each and never hold another one up. All of Beast lives in this
// one file, as it takes long to compile.
#include "tools/serve/preview_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http.hpp>

#include <algorithm>
#include <array>
#include <chrono>
#include <future>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "tools/common/ascii_text.h"
#include "tools/serve/preview_assets.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using error_code = boost::system::error_code;

namespace {

// Time to receive one whole request, the wait for it on a kept-alive
// connection included, and to send one answer or event.
constexpr auto kRequestTime = std::chrono::seconds(5);
constexpr auto kWriteTime = std::chrono::seconds(5);
// An idle event stream gets a comment this often, so that a page that went
// away without closing is noticed and its stream dropped.
constexpr auto kKeepAliveEvery = std::chrono::seconds(2);
constexpr size_t kMaxRequestHead = 8 * 1024;
constexpr size_t kMaxRequestBody = 16 * 1024;
// Open connections at most: as many as the process may open files, less some
// for the compile, up to a bound; further ones wait in the system's queue
// until one ends.
constexpr size_t kMostConnections = 10000;
constexpr size_t kFilesKeptForTheCompile = 64;
// After a refused request the rest of what the client sends is read and
// dropped for a while, so that closing does not destroy the answer.
constexpr auto kDrainTime = std::chrono::seconds(2);
constexpr size_t kMaxDrained = 4 * 1024 * 1024;

const char* const kSecurityPolicy =
    "default-src 'self'; style-src 'self' 'unsafe-inline'; img-src 'self' data:; connect-src 'self'; "
    "frame-ancestors 'none'";

// Whether the parser refused what was sent (as opposed to the connection
// ending, breaking or timing out).
bool refused_by_parser(error_code ec) {
    return ec.category() == http::make_error_code(http::error::bad_target).category() &&
           ec != http::error::end_of_stream && ec != http::error::partial_message;
}

// Whether the text is an IPv4 address in dotted decimal whose first number is
// 127. Read here, as the system's own reader takes more than an address on
// some systems (Windows reads "127.0.0.1:80" as 127.0.0.1).
bool is_loopback_v4(std::string_view text) {
    int parts = 0;
    int first = -1;
    size_t at = 0;
    while (parts < 4) {
        size_t digits = 0;
        int value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 3) {
            value = value * 10 + (text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || value > 255) return false;
        if (parts == 0) first = value;
        ++parts;
        if (parts < 4) {
            if (at >= text.size() || text[at] != '.') return false;
            ++at;
        }
    }
    return at == text.size() && first == 127;
}

// Whether the text (without brackets) is the IPv6 loopback address, in any
// of its spellings: hexadecimal digits and colons only.
bool is_loopback_v6(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789abcdefABCDEF:") != std::string_view::npos) return false;
    error_code ec;
    const asio::ip::address_v6 address = asio::ip::make_address_v6(std::string(text), ec);
    return !ec && address.is_loopback();
}

// Whether a Host header names this machine by a loopback address or by
// localhost, with the server's port or none.
bool names_loopback(std::string_view asked, int port) {
    std::string_view portPart;
    bool v6 = false;
    std::string_view name = asked;
    if (!asked.empty() && asked.front() == '[') {
        const size_t close = asked.find(']');
        if (close == std::string_view::npos) return false;
        name = asked.substr(1, close - 1);
        portPart = asked.substr(close + 1);
        v6 = true;
    } else if (const size_t colon = asked.find(':'); colon != std::string_view::npos) {
        name = asked.substr(0, colon);
        portPart = asked.substr(colon);
    }
    if (!portPart.empty() && portPart != ":" + std::to_string(port)) return false;
    if (v6) return is_loopback_v6(name);
    return equal_ignoring_ascii_case(name, "localhost") || is_loopback_v4(name);
}

const char* reason_of(http::status status) {
    switch (status) {
        case http::status::bad_request: return "bad request";
        case http::status::forbidden: return "forbidden";
        case http::status::not_found: return "not found";
        case http::status::method_not_allowed: return "method not allowed";
        case http::status::payload_too_large: return "request too large";
        case http::status::request_header_fields_too_large: return "request line or header too large";
        default: return "the request cannot be answered";
    }
}

class Connection;

// What every connection shares. The document is guarded by the mutex, as the
// compile loop publishes it from its own thread; the rest belongs to the
// server's thread alone.
struct Hub {
    std::mutex mutex;
    std::shared_ptr<const std::string> json = std::make_shared<const std::string>("{}");
    uint64_t version = 0;

    int port = -1;
    bool checkHost = false;  // bound to a loopback address
    bool stopping = false;
    size_t connections = 0;
    size_t maxConnections = 0;
    bool accepting = false;
    std::vector<std::weak_ptr<Connection>> streams;

    // Declared last: its pending handlers, and the connections they hold, go
    // before the fields above.
    asio::io_context io{1};
    tcp::acceptor acceptor{io};

    std::pair<std::shared_ptr<const std::string>, uint64_t> document() {
        std::lock_guard<std::mutex> lock(mutex);
        return {json, version};
    }
    uint64_t current_version() {
        std::lock_guard<std::mutex> lock(mutex);
        return version;
    }
    void accept();
    void notify_streams();
};

// One client connection: requests answered one after another, or, after
// GET /events, an event stream until either side ends it.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(Hub& hub, tcp::socket socket) : hub_(hub), stream_(std::move(socket)), timer_(hub.io) {
        ++hub_.connections;
    }
    ~Connection() {
        --hub_.connections;
        if (!hub_.accepting && !hub_.stopping) hub_.accept();
    }

    void start() { read_request(); }

    // Sends what the stream still owes: the first version, a newer one, or
    // the keep-alive comment once it is due.
    void send_event() {
        if (writing_ || !streaming_) return;
        const uint64_t version = hub_.current_version();
        if (!sentFirst_) {
            event_ = "retry: 500\nevent: update\ndata: " + std::to_string(version) + "\n\n";
            sentFirst_ = true;
        } else if (version != sent_) {
            event_ = "event: update\ndata: " + std::to_string(version) + "\n\n";
        } else if (keepAliveDue_) {
            event_ = ": keep-alive\n\n";
        } else {
            return;
        }
        sent_ = version;
        keepAliveDue_ = false;
        writing_ = true;
        stream_.expires_after(kWriteTime);
        asio::async_write(stream_, http::make_chunk(asio::buffer(event_)),
                          [self = shared_from_this()](error_code ec, size_t) {
                              self->writing_ = false;
                              if (ec) return self->end_stream();
                              self->send_event();
                          });
    }

    // At the server's end: the stream's last chunk, so that the page sees the
    // stream end cleanly (and reconnects to the next server), unless an event
    // is still on its way or the client takes no more bytes now.
    void finish_stream() {
        if (streaming_ && !writing_) {
            static constexpr char kLastChunk[] = "0\r\n\r\n";
            error_code ec;
            stream_.socket().non_blocking(true, ec);
            if (!ec) stream_.socket().write_some(asio::buffer(kLastChunk, sizeof kLastChunk - 1), ec);
        }
        end_stream();
    }

    void end_stream() {
        if (!streaming_) return;
        streaming_ = false;
        timer_.cancel();
        error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.close();
        std::erase_if(hub_.streams, [this](const std::weak_ptr<Connection>& s) {
            const auto open = s.lock();
            return !open || open.get() == this;
        });
    }

private:
    void read_request() {
        parser_.emplace();
        parser_->header_limit(kMaxRequestHead);
        parser_->body_limit(kMaxRequestBody);
        stream_.expires_after(kRequestTime);
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](error_code ec, size_t) { self->on_request(ec); });
    }

    void on_request(error_code ec) {
        if (ec) {
            // A request the parser refuses is answered; a connection that
            // ended, broke or fell silent is simply closed.
            if (!refused_by_parser(ec)) return close();
            http::status status = http::status::bad_request;
            if (ec == http::error::body_limit) status = http::status::payload_too_large;
            if (ec == http::error::header_limit) status = http::status::request_header_fields_too_large;
            return refuse(status);
        }
        answer(parser_->get());
    }

    void answer(const http::request<http::string_body>& request) {
        keepAlive_ = request.keep_alive();
        version_ = request.version();
        head_ = request.method() == http::verb::head;
        if (hub_.checkHost && !names_loopback(request[http::field::host], hub_.port)) {
            // A page of another site that made its own name point here must
            // not read the scenario.
            return reply(http::status::forbidden, "text/plain",
                         "this server answers to localhost and loopback addresses only\n");
        }
        if (request.method() != http::verb::get && !head_) {
            response_.set(http::field::allow, "GET, HEAD");
            return reply(http::status::method_not_allowed);
        }
        // The path is only ever a key: into the embedded files, or one of two names.
        const std::string_view target = request.target();
        const std::string_view path = target.substr(0, target.find('?'));
        if (path == "/scenario.json") {
            auto [json, version] = hub_.document();
            held_ = std::move(json);
            response_.set(http::field::cache_control, "no-store");
            return reply(http::status::ok, "application/json", *held_);
        }
        if (path == "/events" && !head_) return open_stream();
        if (const PreviewAsset* asset = find_preview_asset(path)) {
            response_.set(http::field::cache_control, "no-cache");
            return reply(http::status::ok, asset->contentType,
                         std::string_view(reinterpret_cast<const char*>(asset->bytes), asset->size));
        }
        reply(http::status::not_found);
    }

    static void set_common_headers(http::fields& fields) {
        fields.set("X-Content-Type-Options", "nosniff");
        fields.set("Content-Security-Policy", kSecurityPolicy);
        fields.set("Referrer-Policy", "no-referrer");
    }

    // An answer of the status's own words.
    void reply(http::status status) {
        text_ = std::to_string(static_cast<int>(status)) + " " + reason_of(status) + "\n";
        reply(status, "text/plain", text_);
    }

    void reply(http::status status, std::string_view contentType, std::string_view body) {
        response_.result(status);
        response_.version(version_);
        response_.set(http::field::content_type, contentType);
        set_common_headers(response_);
        response_.keep_alive(keepAlive_);
        if (head_) {
            response_.body() = {};
            response_.content_length(body.size());
        } else {
            response_.body() = {body.data(), body.size()};
            response_.prepare_payload();
        }
        stream_.expires_after(kWriteTime);
        http::async_write(stream_, response_, [self = shared_from_this()](error_code ec, size_t) {
            if (ec) return self->close();
            self->response_ = {};
            self->held_.reset();
            if (self->draining_) return self->drain();
            if (!self->keepAlive_) return self->close();
            self->read_request();
        });
    }

    // Refuses a request that could not be read whole: the answer, then the
    // connection ends.
    void refuse(http::status status) {
        keepAlive_ = false;
        draining_ = true;
        reply(status);
    }

    void drain() {
        error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        stream_.expires_after(kDrainTime);
        drain_more();
    }

    void drain_more() {
        stream_.async_read_some(asio::buffer(scratch_), [self = shared_from_this()](error_code ec, size_t n) {
            self->drained_ += n;
            if (ec || self->drained_ > kMaxDrained) return self->close();
            self->drain_more();
        });
    }

    void close() {
        error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.close();
    }

    void open_stream() {
        std::erase_if(hub_.streams, [](const std::weak_ptr<Connection>& s) { return s.expired(); });
        if (hub_.streams.size() >= static_cast<size_t>(kMaxEventStreams) || hub_.stopping) {
            keepAlive_ = false;
            return reply(http::status::too_many_requests, "text/plain", "too many open event streams\n");
        }
        hub_.streams.push_back(weak_from_this());
        streamHead_.emplace(http::status::ok, 11);
        streamHead_->set(http::field::content_type, "text/event-stream");
        streamHead_->set(http::field::cache_control, "no-store");
        set_common_headers(*streamHead_);
        streamHead_->chunked(true);
        streamSerializer_.emplace(*streamHead_);
        writing_ = true;
        streaming_ = true;
        stream_.expires_after(kWriteTime);
        http::async_write_header(stream_, *streamSerializer_, [self = shared_from_this()](error_code ec, size_t) {
            self->writing_ = false;
            if (ec) return self->end_stream();
            self->watch_for_close();
            self->keep_alive_later();
            self->send_event();
        });
    }

    // A page sends nothing on its event stream: any end of reading is its end.
    void watch_for_close() {
        stream_.expires_never();
        stream_.async_read_some(asio::buffer(scratch_), [self = shared_from_this()](error_code ec, size_t) {
            if (ec) return self->end_stream();
            self->watch_for_close();
        });
    }

    void keep_alive_later() {
        timer_.expires_after(kKeepAliveEvery);
        timer_.async_wait([self = shared_from_this()](error_code ec) {
            if (ec || !self->streaming_) return;
            self->keepAliveDue_ = true;
            self->send_event();
            self->keep_alive_later();
        });
    }

    Hub& hub_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    http::response<http::span_body<const char>> response_;
    std::shared_ptr<const std::string> held_;  // the document an answer is sending
    std::string text_;                         // the words of an answer without a body of its own
    bool keepAlive_ = false;
    unsigned version_ = 11;  // HTTP/1.1; a 1.0 client is answered in 1.0
    bool head_ = false;
    bool draining_ = false;
    size_t drained_ = 0;
    std::array<char, 4096> scratch_{};

    // The event stream.
    std::optional<http::response<http::empty_body>> streamHead_;
    std::optional<http::response_serializer<http::empty_body>> streamSerializer_;
    asio::steady_timer timer_;
    std::string event_;
    bool streaming_ = false;
    bool writing_ = false;
    bool sentFirst_ = false;
    bool keepAliveDue_ = false;
    uint64_t sent_ = 0;
};

void Hub::accept() {
    accepting = true;
    acceptor.async_accept([this](error_code ec, tcp::socket socket) {
        accepting = false;
        if (stopping || !acceptor.is_open()) return;
        if (!ec) {
            // Answers and events go out at once, not held back to be joined with more.
            error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            std::make_shared<Connection>(*this, std::move(socket))->start();
        } else if (ec != asio::error::connection_aborted) {
            // Out of descriptors or memory: try again shortly rather than spin.
            auto pause = std::make_shared<asio::steady_timer>(io, std::chrono::milliseconds(100));
            pause->async_wait([this, pause](error_code) {
                if (!stopping && !accepting) accept();
            });
            return;
        }
        if (connections < maxConnections) accept();
    });
}

void Hub::notify_streams() {
    for (const std::weak_ptr<Connection>& s : streams)
        if (const auto stream = s.lock()) stream->send_event();
}

}  // namespace

struct PreviewServer::Impl {
    std::string host;
    Hub hub;
    std::thread thread;
};

PreviewServer::PreviewServer(std::string host) : impl_(std::make_unique<Impl>()) { impl_->host = std::move(host); }

PreviewServer::~PreviewServer() { stop(); }

int PreviewServer::bind(int port) {
    Hub& hub = impl_->hub;
    const size_t files = platform::raise_open_file_limit();
    hub.maxConnections = std::clamp(files > kFilesKeptForTheCompile ? files - kFilesKeptForTheCompile : 0,
                                    size_t{16}, kMostConnections);
    error_code ec;
    tcp::resolver resolver(hub.io);
    const auto found = resolver.resolve(impl_->host, std::to_string(port),
                                        tcp::resolver::passive | tcp::resolver::numeric_service, ec);
    if (ec) return -1;
    for (const auto& entry : found) {
        const tcp::endpoint endpoint = entry.endpoint();
        hub.acceptor.open(endpoint.protocol(), ec);
        if (ec) continue;
        // Taken again at once after an earlier run, never shared with another program.
        platform::listen_alone(static_cast<intptr_t>(hub.acceptor.native_handle()));
        hub.acceptor.bind(endpoint, ec);
        if (!ec) hub.acceptor.listen(asio::socket_base::max_listen_connections, ec);
        if (!ec) {
            hub.port = hub.acceptor.local_endpoint().port();
            hub.checkHost = endpoint.address().is_loopback();
            return hub.port;
        }
        error_code ignored;
        hub.acceptor.close(ignored);
    }
    return -1;
}

void PreviewServer::start() {
    Hub& hub = impl_->hub;
    hub.accept();
    impl_->thread = std::thread([&hub] { hub.io.run(); });
}

void PreviewServer::publish(std::string json, uint64_t version) {
    Hub& hub = impl_->hub;
    {
        std::lock_guard<std::mutex> lock(hub.mutex);
        hub.json = std::make_shared<const std::string>(std::move(json));
        hub.version = version;
    }
    asio::post(hub.io, [&hub] { hub.notify_streams(); });
}

void PreviewServer::stop() {
    Hub& hub = impl_->hub;
    if (impl_->thread.joinable()) {
        // The event streams end cleanly; other connections simply end with
        // the server's context. Bounded, as the thread may be busy writing.
        std::promise<void> ended;
        asio::post(hub.io, [&hub, &ended] {
            hub.stopping = true;
            error_code ignored;
            hub.acceptor.close(ignored);
            const std::vector<std::weak_ptr<Connection>> streams = hub.streams;
            for (const std::weak_ptr<Connection>& s : streams)
                if (const auto stream = s.lock()) stream->finish_stream();
            ended.set_value();
        });
        ended.get_future().wait_for(std::chrono::seconds(1));
    }
    hub.io.stop();
    if (impl_->thread.joinable()) impl_->thread.join();
    hub.stopping = true;
    error_code ignored;
    hub.acceptor.close(ignored);
}
