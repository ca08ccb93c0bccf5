// The edges between the editor's text and the source files' bytes: editors send UTF-8 and count
// columns in UTF-16 code units; the sources are Windows-1252, one byte a character.
//
// Every Windows-1252 character is one UTF-16 code unit, and the conversion below turns each code
// unit into exactly one byte, so an editor's column is the byte column of the same line and
// columns carry across unchanged in both directions, after accented names too.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// How a system writes a path: "/a/b" or "C:\\a\\b" and "\\\\server\\share\\b".
enum class PathStyle { Posix, Windows };
#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

// The path of a file: URI ("file:///a/b%20c.txt" gives "/a/b c.txt"; under Windows
// "file:///c%3A/a/b.txt" gives "c:\\a\\b.txt" and "file://server/share/b.txt" a UNC path); none
// for other schemes, or for another host where the system has no UNC paths.
std::optional<std::string> pathFromUri(std::string_view uri, PathStyle style = kNativePathStyle);
std::string uriFromPath(std::string_view path, PathStyle style = kNativePathStyle);

}  // namespace scenario
