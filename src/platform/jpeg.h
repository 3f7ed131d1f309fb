// JPEG pictures for the picture boxes: decoded with libjpeg to 32-bit pixels,
// and scaled smoothly when a box stretches its picture.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    // Top-down rows of 0x00RRGGBB pixels (the layout of a 32-bit top-down DIB).
    std::vector<std::uint32_t> pixels;
};

// No result when the data is not a JPEG that libjpeg can decode.
std::optional<Image> decodeJpeg(std::span<const std::uint8_t> data);

// Bilinear scaling to exactly width x height (aspect ratio not kept).
Image scaleSmooth(const Image& source, int width, int height);
