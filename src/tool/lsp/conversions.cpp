// UTF-8 to Windows-1252 one code unit a byte, and file URIs.
#include "tool/lsp/conversions.h"

#include <algorithm>
#include <cstdint>

namespace scenario {
namespace {

// The code page's characters in 0x80 to 0x9F, by byte; 0 where the code page has none.
constexpr char16_t kHighCharacters[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

char byteFor(char32_t c) {
    if (c < 0x100) return static_cast<char>(c);
    for (std::size_t i = 0; i < 32; ++i)
        if (kHighCharacters[i] == c) return static_cast<char>(0x80 + i);
    return '?';
}

// The length of the UTF-8 sequence a lead byte opens, 0 for a byte that opens none.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead < 0xE0) return 2;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    if (lead >= 0xF0 && lead < 0xF5) return 4;
    return 0;
}

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

std::string windows1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = sequenceLength(lead);
        bool whole = n > 0 && i + n <= utf8.size();
        for (std::size_t k = 1; whole && k < n; ++k)
            whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            // Not UTF-8: one stray byte, one unknown character.
            out += '?';
            ++i;
            continue;
        }
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += n;
        if (c > 0xFFFF) {
            out += "??";
            continue;
        }
        out += byteFor(c);
    }
    return out;
}

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
