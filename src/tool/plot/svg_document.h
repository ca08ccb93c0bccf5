// A small SVG writer: shapes and texts appended in drawing order, numbers to a tenth of a pixel,
// texts escaped for XML.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct Point {
    double x;
    double y;
};

class SvgDocument {
  public:
    SvgDocument(double width, double height);

    // `style` holds the presentation attributes as written, e.g. stroke="#000" fill="none";
    // a `title` is the shape's tooltip in a viewer.
    void line(Point a, Point b, std::string_view style);
    void polyline(const std::vector<Point>& points, std::string_view style,
                  std::string_view title = {});
    void rect(Point corner, double width, double height, std::string_view style,
              std::string_view title = {});
    void circle(Point centre, double radius, std::string_view style, std::string_view title = {});
    void polygon(const std::vector<Point>& points, std::string_view style,
                 std::string_view title = {});
    // `anchor` is start, middle or end; `angle` turns the text about its anchor point.
    void text(Point at, std::string_view content, double size, std::string_view anchor = "start",
              std::string_view style = "", double angle = 0.0);

    std::string finish() const;

  private:
    double width_;
    double height_;
    std::string body_;
};

// Width of a text in pixels, near enough to keep labels apart.
double textWidth(std::string_view content, double size);

}  // namespace scenario
