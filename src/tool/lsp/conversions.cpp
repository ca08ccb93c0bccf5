// File URIs and the paths they name.
#include "tool/lsp/conversions.h"

#include <algorithm>
#include <cstdint>

namespace scenario {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool keptInUri(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-._~/").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

namespace {

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexDigit(text[i + 1]) >= 0 &&
            hexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(text[i + 1]) * 16 + hexDigit(text[i + 2]));
            i += 2;
            continue;
        }
        out += text[i];
    }
    return out;
}

bool isDriveLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "/C:/a" or "/C:" after decoding: a Windows drive written as a URI path.
bool startsWithDrive(std::string_view path) {
    return path.size() >= 3 && path[0] == '/' && isDriveLetter(path[1]) && path[2] == ':' &&
           (path.size() == 3 || path[3] == '/');
}

std::string percentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptInUri(c)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    return out;
}

}  // namespace

std::optional<std::string> pathFromUri(std::string_view uri, PathStyle style) {
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    std::string_view rest = uri.substr(kScheme.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::string_view host = rest.substr(0, slash);
    rest.remove_prefix(slash);
    std::string path = percentDecoded(rest);
    if (style == PathStyle::Posix) {
        // "file://host/path": only the local host is a file here.
        if (!host.empty() && host != "localhost") return std::nullopt;
        return path;
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!host.empty() && host != "localhost") return "\\\\" + percentDecoded(host) + path;
    if (startsWithDrive(percentDecoded(rest))) path.erase(0, 1);
    return path;
}

std::string uriFromPath(std::string_view path, PathStyle style) {
    if (style == PathStyle::Posix) return "file://" + percentEncoded(path);
    std::string slashed(path);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.rfind("//", 0) == 0) {  // \\server\share\...
        const std::size_t end = slashed.find('/', 2);
        const std::string host = slashed.substr(2, end == std::string::npos ? end : end - 2);
        return "file://" + percentEncoded(host) +
               (end == std::string::npos ? "/" : percentEncoded(slashed.substr(end)));
    }
    if (slashed.size() >= 2 && isDriveLetter(slashed[0]) && slashed[1] == ':')
        return "file:///" + slashed.substr(0, 2) + percentEncoded(slashed.substr(2));
    return "file://" + percentEncoded(slashed);
}

}  // namespace scenario
