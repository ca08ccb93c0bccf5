// The language server's messages on a byte stream: each a header block with its Content-Length,
// a blank line, and that many bytes of JSON.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace scenario {

// A body longer than this is read past, never held: no editor sends a source file this large.
inline constexpr std::size_t kLargestMessage = 64u << 20;

enum class FrameStatus {
    Message,    // `body` holds one message
    Malformed,  // a header block without a usable Content-Length; reading goes on after it
    TooLarge,   // a body above kLargestMessage, read past
    End,        // the stream ended
};

struct Frame {
    FrameStatus status = FrameStatus::End;
    std::string body;
};

class FrameReader {
  public:
    explicit FrameReader(std::istream& in) : in_(in) {}

    // The next message. Every call but the one that returns End consumes at least one byte, so a
    // stream of garbage ends.
    Frame next();

  private:
    bool readHeaderLine(std::string& line);
    std::istream& in_;
};

// The body with its header block.
std::string framed(std::string_view body);

}  // namespace scenario
