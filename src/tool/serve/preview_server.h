// The live preview's web server: the route view's page, its data and an event stream that sends
// every new data to the open pages. For the author's own machine only: it listens on the loopback,
// answers only a Host naming the loopback with its port, and wants a random token in every path.
#pragma once

#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace scenario {

// The server could not start listening; the message says why.
struct ServeFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class PreviewServer {
  public:
    // Listens on 127.0.0.1, and on ::1 where the system has it, on `port`; 0 picks a free one.
    // Throws ServeFailure when the port is taken or cannot be had.
    PreviewServer(std::uint16_t port, const nlohmann::json& data);
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    std::uint16_t port() const;
    const std::string& token() const;
    std::string url() const;  // http://127.0.0.1:PORT/TOKEN/

    // From any thread: the data the page shows from now on, sent at once to every event stream.
    void publish(const nlohmann::json& data);

    // From any thread: the event streams open now.
    std::size_t liveStreams() const;

    // Serves on the calling thread until stop(), or also until Ctrl-C when `untilInterrupted`.
    void run(bool untilInterrupted);
    // From any thread: run() closes every connection and returns.
    void stop();

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace scenario
