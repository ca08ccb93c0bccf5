// Feeds the input to the language server as the bytes of its input stream: the frame reader, the
// JSON-RPC dispatch and every method, with documents paired against a line file in memory.
// Whatever arrives, every answer is one framed JSON message and the server never stops early.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "tool/lsp/server.h"

namespace {

using namespace scenario;

class FuzzDisk : public SourceDisk {
  public:
    std::optional<std::string> read(const std::string& path) const override {
        if (path != "/s/A_linea.txt") return std::nullopt;
        return std::string(
            "[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\ncurvad5, 100, 50\r\n[fine]\r\n");
    }
    std::map<std::string, std::int64_t> filesIn(const std::string& folder) const override {
        if (folder != "/s") return {};
        return {{"A_linea.txt", 1}};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const FuzzDisk disk;
    LanguageServer server(
        disk,
        [](const nlohmann::json& message) {
            fuzz::require(message.is_object() && message.contains("jsonrpc"), "a JSON-RPC message");
        },
        std::chrono::milliseconds(0));
    FrameReader frames(in);
    for (Frame f = frames.next(); f.status != FrameStatus::End && !server.exited();
         f = frames.next()) {
        server.receive(f);
        server.runChecksDue(ServerClock::time_point::max());
    }
    return 0;
}
