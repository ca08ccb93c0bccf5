// The SVG writer keeps any text a name can hold from breaking the document: XML's special
// characters become references and the control characters XML forbids become U+FFFD.
#include "tool/plot/svg_document.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

// The content of the document's only text element.
std::string textContent(std::string_view content) {
    SvgDocument svg(100, 100);
    svg.text({10, 20}, content, 12);
    const std::string document = svg.finish();
    const std::size_t open = document.find('>', document.find("<text "));
    const std::size_t close = document.find("</text>");
    if (open == std::string::npos || close == std::string::npos) return "no text element";
    return document.substr(open + 1, close - open - 1);
}

TEST(SvgDocument, TextIsEscapedForXml) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"ALDERI CENTRALE", "ALDERI CENTRALE"},
        {"A & B", "A &amp; B"},
        {"<script>", "&lt;script&gt;"},
        {"\"(MONTE)\"", "&quot;(MONTE)&quot;"},
        {"&amp;", "&amp;amp;"},
        {"it's", "it's"},
        {"CITT\xC3\x80", "CITT\xC3\x80"},
        {"a\tb\nc", "a\tb\nc"},
        {std::string("a\0b", 3),
         "a\xEF\xBF\xBD"
         "b"},
        {"\x01\x1F", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(textContent(in), out) << in;
}

}  // namespace
}  // namespace scenario
