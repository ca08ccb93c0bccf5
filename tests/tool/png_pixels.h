// Reads a PNG file into RGBA pixels, to look at what a renderer drew.
#pragma once

#include <png.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace scenario::testing {

struct Pixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;  // four bytes a pixel, row by row
    std::string error;
};

inline Pixels readPng(const std::filesystem::path& path) {
    Pixels out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        out.error = image.message;
        return out;
    }
    image.format = PNG_FORMAT_RGBA;
    out.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgba.data(), 0, nullptr)) {
        out.error = image.message;
        return out;
    }
    out.width = image.width;
    out.height = image.height;
    return out;
}

// How many pixels satisfy the test on their red, green and blue.
template <typename Test>
std::size_t countPixels(const Pixels& p, Test test) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 3 < p.rgba.size(); i += 4)
        if (test(int{p.rgba[i]}, int{p.rgba[i + 1]}, int{p.rgba[i + 2]})) ++n;
    return n;
}

}  // namespace scenario::testing
