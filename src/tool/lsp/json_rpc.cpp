// Dispatch of JSON-RPC messages to the handlers, with the protocol's error codes.
#include "tool/lsp/json_rpc.h"

namespace scenario {

void RpcDispatcher::onRequest(const std::string& method, RequestHandler handler) {
    requests_[method] = std::move(handler);
}

void RpcDispatcher::onNotification(const std::string& method, NotificationHandler handler) {
    notifications_[method] = std::move(handler);
}

nlohmann::json errorResponse(const nlohmann::json& id, int code, const std::string& message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

std::optional<nlohmann::json> RpcDispatcher::handle(std::string_view body) {
    const nlohmann::json message = nlohmann::json::parse(body, nullptr, false);
    if (message.is_discarded()) return errorResponse(nullptr, rpc_error::kParseError, "not JSON");
    if (!message.is_object())
        return errorResponse(nullptr, rpc_error::kInvalidRequest, "not a JSON-RPC message");
    const auto id = message.find("id");
    const bool hasId = id != message.end();
    if (hasId && !id->is_string() && !id->is_number_integer() && !id->is_null())
        return errorResponse(nullptr, rpc_error::kInvalidRequest, "id must be a number or a text");
    const auto method = message.find("method");
    // A response to the server: it sends no requests, so there is nothing to match it with.
    if (method == message.end() && hasId) return std::nullopt;
    if (method == message.end() || !method->is_string()) {
        if (!hasId) return std::nullopt;
        return errorResponse(*id, rpc_error::kInvalidRequest, "no method");
    }
    const auto params = message.find("params");
    const nlohmann::json noParams = nlohmann::json::object();
    const nlohmann::json& p = params == message.end() ? noParams : *params;
    if (!hasId) {
        handleNotification(method->get<std::string>(), p);
        return std::nullopt;
    }
    if (!p.is_object() && !p.is_array())
        return errorResponse(*id, rpc_error::kInvalidRequest, "params must be structured");
    return handleRequest(*id, method->get<std::string>(), p);
}

std::optional<nlohmann::json> RpcDispatcher::handleRequest(const nlohmann::json& id,
                                                           const std::string& method,
                                                           const nlohmann::json& params) {
    const auto handler = requests_.find(method);
    if (handler == requests_.end())
        return errorResponse(id, rpc_error::kMethodNotFound,
                             std::string("unknown method ") + method);
    try {
        if (gate_) gate_(method);
        return nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"result", handler->second(params)}};
    } catch (const RpcFailure& failure) {
        return errorResponse(id, failure.code, failure.what());
    } catch (const nlohmann::json::exception& failure) {
        // A field missing or of the wrong type in the params.
        return errorResponse(id, rpc_error::kInvalidParams, failure.what());
    } catch (const std::exception& failure) {
        return errorResponse(id, rpc_error::kInternalError, failure.what());
    }
}

void RpcDispatcher::handleNotification(const std::string& method, const nlohmann::json& params) {
    const auto handler = notifications_.find(method);
    if (handler == notifications_.end()) return;
    try {
        if (gate_) gate_(method);
        handler->second(params);
    } catch (const std::exception&) {
        // A notification has no answer: a malformed one changes nothing.
    }
}

}  // namespace scenario
