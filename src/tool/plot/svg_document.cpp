// The SVG writer: every number to a tenth of a pixel, every text made safe for XML.
#include "tool/plot/svg_document.h"

#include <fmt/format.h>

namespace scenario {
namespace {

// XML allows no control character but tab and the line breaks, not even as a reference: a name
// holding one would make the whole picture unreadable, so it shows as the replacement character.
bool forbiddenInXml(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (forbiddenInXml(c)) {
            out += "\xEF\xBF\xBD";
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string pointList(const std::vector<Point>& points) {
    std::string out;
    for (const Point& p : points) out += fmt::format("{:.1f},{:.1f} ", p.x, p.y);
    if (!out.empty()) out.pop_back();
    return out;
}

// UTF-8 continuation bytes take no room of their own.
std::size_t characterCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// A shape's end: "/>", or its tooltip and the closing tag.
std::string closing(std::string_view tag, std::string_view title) {
    if (title.empty()) return "/>\n";
    return fmt::format("><title>{}</title></{}>\n", escaped(title), tag);
}

}  // namespace

SvgDocument::SvgDocument(double width, double height) : width_(width), height_(height) {}

void SvgDocument::line(Point a, Point b, std::string_view style) {
    body_ += fmt::format("<line x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\" {}/>\n",
                         a.x, a.y, b.x, b.y, style);
}

void SvgDocument::polyline(const std::vector<Point>& points, std::string_view style,
                           std::string_view title) {
    if (points.size() < 2) return;
    body_ += fmt::format("<polyline points=\"{}\" fill=\"none\" {}{}", pointList(points), style,
                         closing("polyline", title));
}

void SvgDocument::rect(Point corner, double width, double height, std::string_view style,
                       std::string_view title) {
    body_ += fmt::format("<rect x=\"{:.1f}\" y=\"{:.1f}\" width=\"{:.1f}\" height=\"{:.1f}\" {}{}",
                         corner.x, corner.y, width, height, style, closing("rect", title));
}

void SvgDocument::circle(Point centre, double radius, std::string_view style,
                         std::string_view title) {
    body_ += fmt::format("<circle cx=\"{:.1f}\" cy=\"{:.1f}\" r=\"{:.1f}\" {}{}", centre.x,
                         centre.y, radius, style, closing("circle", title));
}

void SvgDocument::polygon(const std::vector<Point>& points, std::string_view style,
                          std::string_view title) {
    body_ += fmt::format("<polygon points=\"{}\" {}{}", pointList(points), style,
                         closing("polygon", title));
}

void SvgDocument::text(Point at, std::string_view content, double size, std::string_view anchor,
                       std::string_view style, double angle) {
    const std::string turn =
        angle == 0.0
            ? std::string()
            : fmt::format(" transform=\"rotate({:.0f} {:.1f} {:.1f})\"", angle, at.x, at.y);
    body_ += fmt::format(
        "<text x=\"{:.1f}\" y=\"{:.1f}\" font-size=\"{:.0f}\" text-anchor=\"{}\"{} {}>{}</text>\n",
        at.x, at.y, size, anchor, turn, style, escaped(content));
}

std::string SvgDocument::finish() const {
    return fmt::format(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0:.0f}\" height=\"{1:.0f}\" "
        "viewBox=\"0 0 {0:.0f} {1:.0f}\" font-family=\"DejaVu Sans, Verdana, sans-serif\">\n"
        "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n{2}</svg>\n",
        width_, height_, body_);
}

double textWidth(std::string_view content, double size) {
    return 0.6 * size * static_cast<double>(characterCount(content));
}

}  // namespace scenario
