// The preview server over Boost.Beast: one thread, every connection and every event stream an
// asynchronous chain of reads and writes on it. Nothing is read from the disk: the page is made
// from the data in memory.
#include "tool/serve/preview_server.h"

#include <fmt/format.h>

#include <array>
#include <atomic>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <mutex>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "tool/view/view_page.h"
#include "tool/view/view_template.h"

namespace scenario {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Tcp = asio::ip::tcp;

namespace {

// A request line or header beyond this is refused: no page of ours needs more.
constexpr std::size_t kHeaderLimit = 8192;
constexpr auto kIdleTimeout = std::chrono::seconds(30);

std::string randomToken() {
    std::random_device source;
    std::string token;
    for (int i = 0; i < 4; ++i) token += fmt::format("{:08x}", source());
    return token;
}

// The event that carries one state of the data; its id lets a page that reconnects skip a state
// it already shows.
std::shared_ptr<const std::string> eventOf(std::uint64_t generation, const nlohmann::json& data) {
    return std::make_shared<const std::string>(
        fmt::format("id: {}\nevent: data\ndata: {}\n\n", generation,
                    data.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)));
}

class EventStream;

}  // namespace

struct PreviewServer::State {
    // Before the loop: the streams its handlers still hold count down as they go.
    std::atomic<std::size_t> liveStreams{0};
    asio::io_context io{1};
    std::vector<Tcp::acceptor> acceptors;
    std::uint16_t port = 0;
    std::string token = randomToken();
    std::shared_ptr<const nlohmann::json> data;
    std::shared_ptr<const std::string> event;
    std::uint64_t generation = 1;  // of the data held; the publishing thread counts ahead
    std::atomic<std::uint64_t> published{1};
    // The newest data published and not yet taken by the loop: publishing faster than the pages
    // are sent to replaces it, rather than queueing every state.
    struct Handed {
        std::uint64_t generation;
        std::shared_ptr<const nlohmann::json> data;
        std::shared_ptr<const std::string> event;
    };
    std::mutex handOver;
    std::optional<Handed> handed;
    asio::signal_set* interrupts = nullptr;
    std::vector<std::weak_ptr<EventStream>> streams;
    std::vector<std::weak_ptr<beast::tcp_stream>> connections;
    bool stopping = false;

    void accept(Tcp::acceptor& acceptor);
    void closeAll();
};

namespace {

bool hostIsOurs(std::string_view host, std::uint16_t port) {
    for (const char* name : {"localhost", "127.0.0.1", "[::1]"})
        if (host == fmt::format("{}:{}", name, port)) return true;
    return false;
}

// A live page's stream: the response's head, then one event for each new data. A slow reader
// never piles up states: only the newest one waits behind the write in flight.
class EventStream : public std::enable_shared_from_this<EventStream> {
  public:
    EventStream(beast::tcp_stream stream, std::atomic<std::size_t>& live)
        : stream_(std::move(stream)), live_(live) {
        ++live_;
    }
    ~EventStream() { --live_; }
    EventStream(const EventStream&) = delete;
    EventStream& operator=(const EventStream&) = delete;

    void start(std::shared_ptr<const std::string> first) {
        stream_.expires_never();
        send(std::make_shared<const std::string>(
            "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream; charset=utf-8\r\n"
            "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
            "Connection: close\r\n\r\nretry: 1000\n\n"));
        if (first) send(std::move(first));
        watchForClose();
    }

    void send(std::shared_ptr<const std::string> message) {
        if (writing_) {
            waiting_ = std::move(message);
            return;
        }
        writing_ = true;
        const asio::const_buffer bytes(message->data(), message->size());
        asio::async_write(
            stream_, bytes,
            [self = shared_from_this(), message](beast::error_code error, std::size_t) {
                self->writing_ = false;
                if (error) return self->close();
                if (self->waiting_) self->send(std::exchange(self->waiting_, {}));
            });
    }

    void close() {
        beast::error_code ignored;
        stream_.socket().shutdown(Tcp::socket::shutdown_both, ignored);
        stream_.socket().close(ignored);
    }

  private:
    // A page sends nothing more; the read ends when it goes away, and the stream with it.
    void watchForClose() {
        stream_.async_read_some(asio::buffer(sink_),
                                [self = shared_from_this()](beast::error_code error, std::size_t) {
                                    if (error) return self->close();
                                    self->watchForClose();
                                });
    }

    beast::tcp_stream stream_;
    std::atomic<std::size_t>& live_;
    std::array<char, 256> sink_{};
    std::shared_ptr<const std::string> waiting_;
    bool writing_ = false;
};

// One connection's requests, one at a time: the page, the data, or the event stream, which then
// takes the connection over.
class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(Tcp::socket socket, PreviewServer::State& server)
        : stream_(std::make_shared<beast::tcp_stream>(std::move(socket))), server_(server) {}

    void start() {
        server_.connections.push_back(stream_);
        readRequest();
    }

  private:
    void readRequest() {
        parser_.emplace();
        parser_->header_limit(kHeaderLimit);
        parser_->body_limit(0);
        stream_->expires_after(kIdleTimeout);
        http::async_read(*stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, std::size_t) {
                             self->onRequest(error);
                         });
    }

    void onRequest(beast::error_code error) {
        if (error == http::error::header_limit || error == http::error::buffer_overflow)
            return refuse(http::status::request_header_fields_too_large,
                          "The request's line or header is too long.\n");
        if (error == http::error::body_limit || error == http::error::unexpected_body)
            return refuse(http::status::payload_too_large, "This server takes no body.\n");
        if (error) return close();
        const http::request<http::empty_body>& request = parser_->get();
        if (!hostIsOurs(request[http::field::host], server_.port))
            return refuse(http::status::forbidden,
                          "This server answers only requests for its own loopback address.\n");
        if (request.method() != http::verb::get && request.method() != http::verb::head)
            return refuse(http::status::method_not_allowed, "Only GET and HEAD.\n");
        const std::string_view target = request.target();
        const std::size_t question = target.find('?');
        const std::string_view path = target.substr(0, question);
        const std::string_view query =
            question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
        const std::string root = "/" + server_.token;
        if (path == root) return redirect(root + "/");
        if (path == root + "/") return answer("text/html; charset=utf-8", page());
        if (path == root + "/data.json")
            return answer(
                "application/json",
                server_.data->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
        if (path == root + "/events" && request.method() == http::verb::get) return stream(query);
        // Browsers ask for an icon at the root; "none" keeps their consoles free of errors.
        if (path == "/favicon.ico") return nothing();
        return refuse(http::status::not_found, "Not found.\n");
    }

    // The page says which data it holds, so that its event stream starts with newer data only.
    std::string page() const {
        return viewPage(*server_.data, fmt::format("document.body.dataset.generation = \"{}\";\n{}",
                                                   server_.generation, kLiveScript));
    }

    void stream(std::string_view query) {
        std::string_view seen = parser_->get()["Last-Event-ID"];
        if (seen.empty() && query.rfind("since=", 0) == 0) seen = query.substr(6);
        const bool current = seen == std::to_string(server_.generation);
        auto events = std::make_shared<EventStream>(std::move(*stream_), server_.liveStreams);
        server_.streams.push_back(events);
        events->start(current ? nullptr : server_.event);
    }

    void redirect(const std::string& location) {
        auto response = std::make_shared<http::response<http::string_body>>(
            http::status::permanent_redirect, parser_->get().version());
        response->set(http::field::location, location);
        send(response);
    }

    void answer(const char* type, std::string body) {
        auto response = std::make_shared<http::response<http::string_body>>(
            http::status::ok, parser_->get().version());
        response->set(http::field::content_type, type);
        response->body() = std::move(body);
        send(response);
    }

    void nothing() {
        send(std::make_shared<http::response<http::string_body>>(http::status::no_content,
                                                                 parser_->get().version()));
    }

    void refuse(http::status status, const char* why) {
        auto response = std::make_shared<http::response<http::string_body>>(status, 11);
        response->set(http::field::content_type, "text/plain; charset=utf-8");
        response->body() = why;
        response->keep_alive(false);
        send(response);
    }

    void send(const std::shared_ptr<http::response<http::string_body>>& response) {
        response->set(http::field::cache_control, "no-store");
        response->set("X-Content-Type-Options", "nosniff");
        response->set("X-Frame-Options", "DENY");
        response->set("Referrer-Policy", "no-referrer");
        const bool header = parser_ && parser_->is_header_done();
        if (header && response->keep_alive()) response->keep_alive(parser_->get().keep_alive());
        response->prepare_payload();
        // HEAD: the length the body would have, and no body.
        if (header && parser_->get().method() == http::verb::head) response->body().clear();
        http::async_write(
            *stream_, *response,
            [self = shared_from_this(), response](beast::error_code error, std::size_t) {
                if (error || !response->keep_alive()) return self->close();
                self->readRequest();
            });
    }

    void close() {
        beast::error_code ignored;
        stream_->socket().shutdown(Tcp::socket::shutdown_both, ignored);
        stream_->socket().close(ignored);
    }

    std::shared_ptr<beast::tcp_stream> stream_;
    PreviewServer::State& server_;
    beast::flat_buffer buffer_{kHeaderLimit};
    std::optional<http::request_parser<http::empty_body>> parser_;
};

// Drops what has gone away, so that the lists stay as long as what is open.
template <typename T>
void forget(std::vector<std::weak_ptr<T>>& list) {
    std::erase_if(list, [](const std::weak_ptr<T>& item) { return item.expired(); });
}

}  // namespace

void PreviewServer::State::accept(Tcp::acceptor& acceptor) {
    acceptor.async_accept([this, &acceptor](beast::error_code error, Tcp::socket socket) {
        if (stopping) return;
        if (!error) {
            forget(connections);
            std::make_shared<Connection>(std::move(socket), *this)->start();
        }
        accept(acceptor);
    });
}

void PreviewServer::State::closeAll() {
    stopping = true;
    beast::error_code ignored;
    if (interrupts) interrupts->cancel(ignored);
    for (Tcp::acceptor& acceptor : acceptors) acceptor.close(ignored);
    for (const auto& weak : streams)
        if (const auto stream = weak.lock()) stream->close();
    for (const auto& weak : connections)
        if (const auto stream = weak.lock()) stream->socket().close(ignored);
}

namespace {

// An acceptor of its own making: asio's would set SO_REUSEADDR, which on Windows lets two servers
// share a port.
void listen(Tcp::acceptor& acceptor, const Tcp::endpoint& where, beast::error_code& error) {
    acceptor.open(where.protocol(), error);
    if (error) return;
#ifndef _WIN32
    acceptor.set_option(asio::socket_base::reuse_address(true), error);
#endif
    if (where.address().is_v6()) acceptor.set_option(asio::ip::v6_only(true), error);
    if (!error) acceptor.bind(where, error);
    if (!error) acceptor.listen(asio::socket_base::max_listen_connections, error);
}

}  // namespace

PreviewServer::PreviewServer(std::uint16_t port, const nlohmann::json& data)
    : state_(std::make_shared<State>()) {
    State& state = *state_;
    state.data = std::make_shared<const nlohmann::json>(data);
    state.event = eventOf(state.generation, data);
    beast::error_code error;
    Tcp::acceptor v4(state.io);
    listen(v4, {asio::ip::address_v4::loopback(), port}, error);
    if (error == asio::error::address_in_use)
        throw ServeFailure(
            fmt::format("port {} on 127.0.0.1 is in use; choose another with "
                        "--port, or --port 0 for a free one",
                        port));
    if (error)
        throw ServeFailure(
            fmt::format("cannot listen on 127.0.0.1 port {}: {}", port, error.message()));
    state.port = v4.local_endpoint().port();
    state.acceptors.push_back(std::move(v4));
    // ::1 as well where the system has it: "localhost" may mean either.
    Tcp::acceptor v6(state.io);
    listen(v6, {asio::ip::address_v6::loopback(), state.port}, error);
    if (!error) state.acceptors.push_back(std::move(v6));
    for (Tcp::acceptor& acceptor : state.acceptors) state.accept(acceptor);
}

PreviewServer::~PreviewServer() = default;

std::uint16_t PreviewServer::port() const {
    return state_->port;
}

const std::string& PreviewServer::token() const {
    return state_->token;
}

std::string PreviewServer::url() const {
    return fmt::format("http://127.0.0.1:{}/{}/", state_->port, state_->token);
}

void PreviewServer::publish(const nlohmann::json& data) {
    // The text is made here, on the caller's thread, so that the server's thread only sends it.
    const std::uint64_t generation = ++state_->published;
    State::Handed newest{generation, std::make_shared<const nlohmann::json>(data),
                         eventOf(generation, data)};
    {
        const std::lock_guard<std::mutex> hold(state_->handOver);
        const bool waiting = state_->handed.has_value();
        if (!waiting || state_->handed->generation < generation) state_->handed = std::move(newest);
        if (waiting) return;
    }
    asio::post(state_->io, [state = state_] {
        std::optional<State::Handed> taken;
        {
            const std::lock_guard<std::mutex> hold(state->handOver);
            taken.swap(state->handed);
        }
        if (!taken || taken->generation < state->generation) return;
        state->generation = taken->generation;
        state->data = std::move(taken->data);
        state->event = taken->event;
        forget(state->streams);
        for (const auto& weak : state->streams)
            if (const auto stream = weak.lock()) stream->send(taken->event);
    });
}

std::size_t PreviewServer::liveStreams() const {
    return state_->liveStreams;
}

void PreviewServer::run(bool untilInterrupted) {
    State& state = *state_;
    asio::signal_set interrupts(state.io);
    if (untilInterrupted) {
        interrupts.add(SIGINT);
        interrupts.add(SIGTERM);
        interrupts.async_wait([&state](beast::error_code error, int) {
            if (!error) state.closeAll();
        });
        state.interrupts = &interrupts;
    }
    // Closed, the acceptors and the connections end their chains; the loop then runs dry.
    state.io.run();
    state.interrupts = nullptr;
}

void PreviewServer::stop() {
    asio::post(state_->io, [state = state_] { state->closeAll(); });
}

}  // namespace scenario
