// The preview server under load on the loopback: many pages following a long run of edits end on
// the last state, its memory stays level, and pages that go away mid-stream leave nothing open.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <boost/asio.hpp>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tool/serve/preview_server.h"

namespace scenario {
namespace {

namespace asio = boost::asio;
using Tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// The address sanitizer holds freed memory back for a while, so there the peak only grows.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kFreedMemoryReturns = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kFreedMemoryReturns = false;
#else
constexpr bool kFreedMemoryReturns = true;
#endif
#else
constexpr bool kFreedMemoryReturns = true;
#endif

constexpr int kPages = 50;
constexpr int kEdits = 200;
constexpr int kGoneMidway = 10;  // of which half never read a byte

// A state of the data, about as large as a short route's view.
nlohmann::json stateData(int state) {
    nlohmann::json cells = nlohmann::json::array();
    for (int i = 0; i < 8000; ++i) cells.push_back(state + i);
    return {{"state", state}, {"cells", std::move(cells)}};
}

// The peak resident size since the last reset, in kB.
long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// One open page's event stream, read through a buffer of fixed size so that the test's own
// memory stays level: only the newest state seen is kept.
struct Page {
    explicit Page(asio::io_context& io) : socket(io) {}
    Tcp::socket socket;
    std::array<char, 1 << 16> bytes{};
    std::size_t kept = 0;  // the end of the last read, where a state may be cut in two
    std::atomic<int> state{-1};
    bool reads = true;

    void readAvailable() {
        boost::system::error_code error;
        if (socket.available(error) == 0 || error) return;
        const std::size_t got =
            socket.read_some(asio::buffer(bytes.data() + kept, bytes.size() - kept), error);
        const std::string_view text(bytes.data(), kept + got);
        // The data's keys come sorted: its state ends the event.
        constexpr std::string_view kState = "\"state\":";
        for (std::size_t at = text.find(kState); at != std::string_view::npos;
             at = text.find(kState, at + 1)) {
            const std::size_t end = text.find('}', at);
            if (end == std::string_view::npos) break;
            state = std::stoi(std::string(text.substr(at + kState.size(), end - at)));
        }
        kept = std::min<std::size_t>(text.size(), 32);
        std::memmove(bytes.data(), text.data() + text.size() - kept, kept);
    }
};

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::seconds most = std::chrono::seconds(10)) {
    const auto until = Clock::now() + most;
    while (!condition()) {
        if (Clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(PreviewServerLoad, FiftyPagesFollowTwoHundredEditsAndLeaveNothingBehind) {
    PreviewServer server(0, stateData(0));
    std::thread serving([&] { server.run(false); });
    asio::io_context io;
    std::vector<std::unique_ptr<Page>> pages;
    const std::string request = "GET /" + server.token() + "/events HTTP/1.1\r\nHost: 127.0.0.1:" +
                                std::to_string(server.port()) + "\r\n\r\n";
    for (int i = 0; i < kPages; ++i) {
        auto page = std::make_unique<Page>(io);
        page->socket.connect({asio::ip::address_v4::loopback(), server.port()});
        asio::write(page->socket, asio::buffer(request));
        page->reads = i >= kGoneMidway / 2;
        pages.push_back(std::move(page));
    }
    ASSERT_TRUE(waitUntil([&] { return server.liveStreams() == kPages; }));

    // The pages read on one thread, stopped while some of them close.
    std::atomic<bool> done{false};
    const auto readPages = [&] {
        done = false;
        return std::thread([&] {
            while (!done) {
                for (const auto& page : pages)
                    if (page->reads && page->socket.is_open()) page->readAvailable();
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    };
    std::thread reading = readPages();
    const auto allOn = [&](int state) {
        return [&pages, state] {
            for (const auto& page : pages)
                if (page->reads && page->socket.is_open() && page->state != state) return false;
            return true;
        };
    };

    resetPeak();
    long afterTen = 0;
    for (int edit = 1; edit <= kEdits; ++edit) {
        server.publish(stateData(edit));
        if (edit == 10) {
            ASSERT_TRUE(waitUntil(allOn(10)));
            afterTen = peakKilobytes();
        }
        if (edit == kEdits / 2) {
            // Pages closed mid-stream, those that never read among them: their writes may be
            // stuck in flight.
            done = true;
            reading.join();
            for (int i = 0; i < kGoneMidway; ++i)
                pages[static_cast<std::size_t>(i)]->socket.close();
            reading = readPages();
            EXPECT_TRUE(waitUntil([&] { return server.liveStreams() == kPages - kGoneMidway; }))
                << server.liveStreams();
        }
    }
    EXPECT_TRUE(waitUntil(allOn(kEdits)));
    const long afterAll = peakKilobytes();
    done = true;
    reading.join();
    for (int i = kGoneMidway; i < kPages; ++i)
        EXPECT_EQ(pages[static_cast<std::size_t>(i)]->state, kEdits) << "page " << i;
    if (kFreedMemoryReturns) {
        EXPECT_LE(afterAll, afterTen + afterTen / 10) << afterTen << " kB after 10 edits";
    }

    for (const auto& page : pages) page->socket.close();
    EXPECT_TRUE(waitUntil([&] { return server.liveStreams() == 0; })) << server.liveStreams();
    server.stop();
    serving.join();
}

}  // namespace
}  // namespace scenario
