// The preview server on the loopback, spoken to over real sockets: it serves the page, its data
// and its event stream under its token to a Host naming the loopback, and refuses everything else.
#include "tool/serve/preview_server.h"

#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <chrono>
#include <string>
#include <thread>

namespace scenario {
namespace {

namespace asio = boost::asio;
using Tcp = asio::ip::tcp;

const nlohmann::json kData = {{"title", "Test route"}, {"cells", nlohmann::json::array()}};

class PreviewServerTest : public ::testing::Test {
  protected:
    PreviewServerTest() : server(0, kData), serving([this] { server.run(false); }) {}
    ~PreviewServerTest() override {
        server.stop();
        serving.join();
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }

    Tcp::socket connect() {
        Tcp::socket socket(io);
        socket.connect({asio::ip::address_v4::loopback(), server.port()});
        return socket;
    }

    // Sends the request and reads the answer until the server closes the connection.
    std::string exchange(const std::string& request) {
        Tcp::socket socket = connect();
        boost::system::error_code error;
        asio::write(socket, asio::buffer(request), error);
        std::string answer;
        asio::read(socket, asio::dynamic_buffer(answer), error);
        return answer;
    }

    std::string get(const std::string& target, const std::string& hostField) {
        return exchange("GET " + target + " HTTP/1.1\r\nHost: " + hostField +
                        "\r\nConnection: close\r\n\r\n");
    }

    // Reads from an event stream until `part` has come, or gives up after `wait`.
    static std::string readUntil(Tcp::socket& socket, std::string& got, const std::string& part,
                                 std::chrono::milliseconds wait = std::chrono::seconds(5)) {
        const auto until = std::chrono::steady_clock::now() + wait;
        while (got.find(part) == std::string::npos && std::chrono::steady_clock::now() < until) {
            if (socket.available() == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            char bytes[4096];
            got.append(bytes, socket.read_some(asio::buffer(bytes)));
        }
        return got;
    }

    static std::string statusOf(const std::string& answer) {
        return answer.substr(0, answer.find("\r\n"));
    }

    asio::io_context io;
    PreviewServer server;
    std::thread serving;
};

TEST_F(PreviewServerTest, ServesThePageWithItsDataToEveryLoopbackName) {
    const std::string root = "/" + server.token() + "/";
    EXPECT_EQ(server.url(), "http://" + host() + root);
    for (const std::string name : {"127.0.0.1", "localhost", "[::1]"}) {
        const std::string answer = get(root, name + ":" + std::to_string(server.port()));
        EXPECT_EQ(statusOf(answer), "HTTP/1.1 200 OK") << name;
        EXPECT_NE(answer.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
        EXPECT_NE(answer.find("Test route"), std::string::npos);
        EXPECT_NE(answer.find("new EventSource(\"events"), std::string::npos);
    }
    EXPECT_NE(get(root + "data.json", host()).find("\r\n\r\n" + kData.dump()), std::string::npos);
    // Without the slash, relative addresses in the page would miss the token.
    const std::string bare = get("/" + server.token(), host());
    EXPECT_EQ(statusOf(bare), "HTTP/1.1 308 Permanent Redirect");
    EXPECT_NE(bare.find("Location: " + root + "\r\n"), std::string::npos);
}

TEST_F(PreviewServerTest, RefusesForeignHostsAndPathsOutsideTheToken) {
    const std::string port = std::to_string(server.port());
    const std::string root = "/" + server.token() + "/";
    struct Case {
        const char* what;
        std::string target, host, status;
    };
    const Case cases[] = {
        {"a foreign name (DNS rebinding)", root, "attacker.example:" + port, "403 Forbidden"},
        {"the loopback on another port", root, "127.0.0.1:1", "403 Forbidden"},
        {"no port", root, "localhost", "403 Forbidden"},
        {"no Host", root, "", "403 Forbidden"},
        {"no token", "/", host(), "404 Not Found"},
        {"another token", "/" + std::string(server.token().size(), '0') + "/", host(),
         "404 Not Found"},
        {"the token as a prefix", root.substr(0, root.size() - 2) + "/", host(), "404 Not Found"},
        {"a file beside the page", root + "view.js", host(), "404 Not Found"},
        {"a way up and out", root + "../etc/passwd", host(), "404 Not Found"},
        {"an encoded way out", root + "%2e%2e/%2e%2e/etc/passwd", host(), "404 Not Found"},
    };
    for (const Case& c : cases) {
        const std::string request = "GET " + c.target + " HTTP/1.1\r\n" +
                                    (c.host.empty() ? "" : "Host: " + c.host + "\r\n") +
                                    "Connection: close\r\n\r\n";
        const std::string answer = exchange(request);
        EXPECT_EQ(statusOf(answer), "HTTP/1.1 " + c.status) << c.what;
        EXPECT_EQ(answer.find("Test route"), std::string::npos) << c.what;
    }
    EXPECT_EQ(statusOf(exchange("POST " + root + " HTTP/1.1\r\nHost: " + host() +
                                "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")),
              "HTTP/1.1 405 Method Not Allowed");
}

TEST_F(PreviewServerTest, RefusesAnOverlongRequestAndServesOnAfterIt) {
    const std::string root = "/" + server.token() + "/";
    const std::string longLine =
        "GET " + root + std::string(1 << 20, 'a') + " HTTP/1.1\r\nHost: " + host() + "\r\n\r\n";
    const std::string longHeader = "GET " + root + " HTTP/1.1\r\nHost: " + host() +
                                   "\r\nX-Filler: " + std::string(9000, 'b') + "\r\n\r\n";
    for (const std::string& request : {longLine, longHeader}) {
        const std::string answer = exchange(request);
        // The refusal may be cut short by the reset of the unread rest; never a page.
        EXPECT_TRUE(answer.empty() ||
                    statusOf(answer) == "HTTP/1.1 431 Request Header Fields Too Large")
            << statusOf(answer);
    }
    EXPECT_EQ(statusOf(get(root, host())), "HTTP/1.1 200 OK");
}

TEST_F(PreviewServerTest, EventStreamSendsEachNewDataWhole) {
    Tcp::socket socket = connect();
    const std::string request =
        "GET /" + server.token() + "/events HTTP/1.1\r\nHost: " + host() + "\r\n\r\n";
    asio::write(socket, asio::buffer(request));
    std::string got;
    readUntil(socket, got, "\n\n" + std::string("id: 1\n"));
    EXPECT_EQ(statusOf(got), "HTTP/1.1 200 OK");
    EXPECT_NE(got.find("Content-Type: text/event-stream"), std::string::npos);
    // A page that connects is sent the data it may have missed since it was served.
    readUntil(socket, got, kData.dump() + "\n\n");
    EXPECT_NE(got.find("id: 1\nevent: data\ndata: " + kData.dump() + "\n\n"), std::string::npos);

    const nlohmann::json next = {{"title", "Moved\nstation"}, {"cells", {1, 2}}};
    server.publish(next);
    readUntil(socket, got, "id: 2\n");
    readUntil(socket, got, next.dump() + "\n\n");
    EXPECT_NE(got.find("id: 2\nevent: data\ndata: " + next.dump() + "\n\n"), std::string::npos);
}

TEST_F(PreviewServerTest, PageThatHoldsTheLatestDataIsSentNothingOnConnecting) {
    Tcp::socket socket = connect();
    asio::write(socket, asio::buffer("GET /" + server.token() +
                                     "/events?since=1 HTTP/1.1\r\nHost: " + host() + "\r\n\r\n"));
    std::string got;
    readUntil(socket, got, "retry: 1000\n\n");
    readUntil(socket, got, "event: data", std::chrono::milliseconds(200));
    EXPECT_EQ(got.find("event: data"), std::string::npos);
}

TEST(PreviewServerPort, TakenPortIsAClearError) {
    PreviewServer first(0, kData);
    try {
        PreviewServer second(first.port(), kData);
        FAIL() << "a second server on the same port";
    } catch (const ServeFailure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  "port " + std::to_string(first.port()) +
                      " on 127.0.0.1 is in use; choose another with --port, or --port 0 for a "
                      "free one");
    }
}

}  // namespace
}  // namespace scenario
