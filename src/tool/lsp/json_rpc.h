// JSON-RPC 2.0 for the language server: requests go to handlers by method and each gets exactly
// one response, an error response when it is malformed, unknown or its handler fails;
// notifications go to their handlers and are otherwise ignored.
#pragma once

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenario {

namespace rpc_error {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
}  // namespace rpc_error

// Thrown by a handler to answer with this error.
class RpcFailure : public std::runtime_error {
  public:
    RpcFailure(int code, const std::string& message) : std::runtime_error(message), code(code) {}
    int code;
};

class RpcDispatcher {
  public:
    using RequestHandler = std::function<nlohmann::json(const nlohmann::json& params)>;
    using NotificationHandler = std::function<void(const nlohmann::json& params)>;
    // Runs before every handler with the method's name; it may throw RpcFailure.
    using Gate = std::function<void(const std::string& method)>;

    void onRequest(const std::string& method, RequestHandler handler);
    void onNotification(const std::string& method, NotificationHandler handler);
    void setGate(Gate gate) { gate_ = std::move(gate); }

    // The response that a message body calls for, if any.
    std::optional<nlohmann::json> handle(std::string_view body);

  private:
    std::optional<nlohmann::json> handleRequest(const nlohmann::json& id, const std::string& method,
                                                const nlohmann::json& params);
    void handleNotification(const std::string& method, const nlohmann::json& params);

    std::map<std::string, RequestHandler, std::less<>> requests_;
    std::map<std::string, NotificationHandler, std::less<>> notifications_;
    Gate gate_;
};

// An error response; `id` is null when the request's own id could not be read.
nlohmann::json errorResponse(const nlohmann::json& id, int code, const std::string& message);

}  // namespace scenario
