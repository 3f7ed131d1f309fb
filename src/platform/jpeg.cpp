#include "platform/jpeg.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the
// decoder, so a broken picture only leaves its box empty.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    bool warned;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void onMessage(j_common_ptr info, int level) {
    // Level -1 is a warning about corrupt data, such as a file cut short,
    // which libjpeg would otherwise paper over with grey rows.
    if (level < 0) reinterpret_cast<ErrorManager*>(info->err)->warned = true;
}

// Larger than any picture the layout carries by far; guards the allocation
// against a header that claims an absurd size.
constexpr std::uint64_t largestPixelCount = 64ull * 1024 * 1024;

// Nothing with a destructor lives in this frame, so the jump out of libjpeg skips none.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors, std::span<const std::uint8_t> data,
                Image& image, std::vector<JSAMPLE>& row) {
    if (setjmp(errors.escape)) return false;

    jpeg_mem_src(&info, const_cast<unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    info.out_color_space = JCS_RGB;
    if (std::uint64_t{info.image_width} * info.image_height > largestPixelCount) return false;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) return false;

    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(std::size_t{info.output_width} * info.output_height);
    row.resize(std::size_t{info.output_width} * 3);
    while (info.output_scanline < info.output_height) {
        std::uint32_t* out = image.pixels.data() + std::size_t{info.output_scanline} * info.output_width;
        JSAMPROW rows[] = {row.data()};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) return false;
        for (std::size_t x = 0; x < info.output_width; ++x)
            out[x] = (std::uint32_t{row[3 * x]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) | row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    return !errors.warned;
}

} // namespace

std::optional<Image> decodeJpeg(std::span<const std::uint8_t> data) {
    if (data.empty()) return std::nullopt;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    jpeg_create_decompress(&info);

    Image image;
    std::vector<JSAMPLE> row;
    const bool decoded = decodeInto(info, errors, data, image, row);
    jpeg_destroy_decompress(&info);
    if (!decoded) return std::nullopt;
    return image;
}

Image scaleSmooth(const Image& source, int width, int height) {
    Image scaled;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0 ||
        source.pixels.size() != std::size_t(source.width) * std::size_t(source.height))
        return scaled;
    scaled.width = width;
    scaled.height = height;
    scaled.pixels.resize(std::size_t(width) * std::size_t(height));

    // Pixel centres map onto pixel centres; past the outer centres the edge pixel holds.
    struct Tap {
        int low, high;
        float weight; // of high
    };
    auto taps = [](int from, int to) {
        std::vector<Tap> result(static_cast<std::size_t>(to));
        const float ratio = static_cast<float>(from) / static_cast<float>(to);
        for (int i = 0; i < to; ++i) {
            const float position = std::clamp((static_cast<float>(i) + 0.5f) * ratio - 0.5f, 0.0f,
                                               static_cast<float>(from - 1));
            const int low = static_cast<int>(position);
            result[static_cast<std::size_t>(i)] = {low, std::min(low + 1, from - 1),
                                                   position - static_cast<float>(low)};
        }
        return result;
    };
    const std::vector<Tap> columns = taps(source.width, width);
    const std::vector<Tap> rows = taps(source.height, height);

    auto at = [&](int x, int y) { return source.pixels[std::size_t(y) * std::size_t(source.width) + std::size_t(x)]; };
    for (int y = 0; y < height; ++y) {
        const Tap& r = rows[std::size_t(y)];
        for (int x = 0; x < width; ++x) {
            const Tap& c = columns[std::size_t(x)];
            const std::uint32_t p00 = at(c.low, r.low), p10 = at(c.high, r.low);
            const std::uint32_t p01 = at(c.low, r.high), p11 = at(c.high, r.high);
            std::uint32_t pixel = 0;
            for (int shift : {0, 8, 16}) {
                auto channel = [shift](std::uint32_t p) { return static_cast<float>((p >> shift) & 0xFF); };
                const float top = channel(p00) + (channel(p10) - channel(p00)) * c.weight;
                const float bottom = channel(p01) + (channel(p11) - channel(p01)) * c.weight;
                const float value = top + (bottom - top) * r.weight;
                pixel |= static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0f, 255.0f))) << shift;
            }
            scaled.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] = pixel;
        }
    }
    return scaled;
}
