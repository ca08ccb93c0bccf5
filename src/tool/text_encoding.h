// The model's texts are Windows-1252 bytes; terminals, JSON and SVG want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Every byte as its Windows-1252 character in UTF-8; the five bytes the code page leaves
// undefined become U+FFFD.
std::string utf8FromWindows1252(std::string_view bytes);

}  // namespace scenario
