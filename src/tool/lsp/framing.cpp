// Reading and writing Content-Length framed messages.
#include "tool/lsp/framing.h"

#include <array>
#include <charconv>
#include <optional>

#include "base/code_page.h"

namespace scenario {
namespace {

// A header line longer than this is garbage, not a header.
constexpr std::size_t kLongestHeaderLine = 1024;
constexpr std::string_view kLengthHeader = "content-length:";

std::optional<std::size_t> contentLength(std::string_view line) {
    const std::string folded = toLowerText(line.substr(0, kLengthHeader.size()));
    if (folded != kLengthHeader) return std::nullopt;
    std::string_view value = line.substr(kLengthHeader.size());
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    std::size_t length = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (ec != std::errc() || end != value.data() + value.size() || value.empty())
        return std::nullopt;
    return length;
}

}  // namespace

// A line ending in LF, with its CR dropped; false at the end of the stream before any byte.
bool FrameReader::readHeaderLine(std::string& line) {
    line.clear();
    bool any = false;
    for (int c = in_.get(); c != std::char_traits<char>::eof(); c = in_.get()) {
        any = true;
        if (c == '\n') break;
        if (line.size() < kLongestHeaderLine) line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

Frame FrameReader::next() {
    std::optional<std::size_t> length;
    bool malformed = false;
    std::string line;
    bool started = false;
    while (true) {
        if (!readHeaderLine(line)) return {started ? FrameStatus::Malformed : FrameStatus::End, {}};
        if (line.empty()) {
            // Blank lines between messages are tolerated.
            if (!started) continue;
            break;
        }
        started = true;
        if (line.size() >= kLongestHeaderLine || line.find(':') == std::string::npos)
            malformed = true;
        if (const std::optional<std::size_t> n = contentLength(line)) length = n;
    }
    if (malformed || !length) return {FrameStatus::Malformed, {}};
    if (*length > kLargestMessage) {
        std::array<char, 65536> skip{};
        for (std::size_t left = *length; left > 0 && in_;) {
            const std::size_t piece = std::min(left, skip.size());
            in_.read(skip.data(), static_cast<std::streamsize>(piece));
            left -= static_cast<std::size_t>(in_.gcount());
        }
        return {FrameStatus::TooLarge, {}};
    }
    Frame frame{FrameStatus::Message, std::string(*length, '\0')};
    in_.read(frame.body.data(), static_cast<std::streamsize>(*length));
    if (static_cast<std::size_t>(in_.gcount()) != *length) return {FrameStatus::End, {}};
    return frame;
}

std::string framed(std::string_view body) {
    return std::string("Content-Length: ") + std::to_string(body.size()) + "\r\n\r\n" +
           std::string(body);
}

}  // namespace scenario
