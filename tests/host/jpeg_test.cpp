#include "platform/jpeg.h"

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

#include <gtest/gtest.h>

namespace {

// A JPEG made here with libjpeg's compressor from a function of (x, y) that
// gives 0x00RRGGBB.
template <typename PixelAt>
std::vector<std::uint8_t> compress(int width, int height, PixelAt pixelAt) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixelAt(x, static_cast<int>(info.next_scanline));
            row[std::size_t(x) * 3 + 0] = JSAMPLE(p >> 16);
            row[std::size_t(x) * 3 + 1] = JSAMPLE(p >> 8);
            row[std::size_t(x) * 3 + 2] = JSAMPLE(p);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// The top half of the rows red, the bottom half blue, so a flipped or
// channel-swapped decode shows.
std::vector<std::uint8_t> twoBandJpeg(int width, int height) {
    return compress(width, height, [height](int, int y) { return y < height / 2 ? 0xE02030u : 0x1020D0u; });
}

void expectNear(std::uint32_t pixel, std::uint32_t expected) {
    EXPECT_EQ(pixel >> 24, 0u);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int((pixel >> shift) & 0xFF), int((expected >> shift) & 0xFF), 6)
            << std::hex << pixel << " vs " << expected;
}

} // namespace

TEST(Jpeg, DecodesTopDownToRgbPixels) {
    const auto data = twoBandJpeg(32, 16);
    const std::optional<Image> image = decodeJpeg(data);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 16);
    ASSERT_EQ(image->pixels.size(), 32u * 16u);
    expectNear(image->pixels[0], 0x00E02030);            // top left: the red band
    expectNear(image->pixels[32 * 2 + 20], 0x00E02030);
    expectNear(image->pixels[32 * 15 + 31], 0x001020D0); // bottom right: the blue band
}

TEST(Jpeg, BrokenDataGivesNoPictureAndDoesNotEndTheProcess) {
    // Textured, so most of the file is scan data.
    const auto good = compress(64, 64, [](int x, int y) { return std::uint32_t(x << 18 | (x ^ y) << 10 | y << 2); });
    const std::uint8_t startOfScan[] = {0xFF, 0xDA};
    const auto scan = std::search(good.begin(), good.end(), std::begin(startOfScan), std::end(startOfScan));
    ASSERT_NE(scan, good.end());
    const std::vector<std::uint8_t> notJpeg = {'M', 'Z', 0x90, 0, 3, 0, 0, 0};
    const std::vector<std::uint8_t> headerOnly(good.begin(), good.begin() + 2);
    const std::vector<std::uint8_t> cutInHeader(good.begin(), scan);
    // libjpeg would pad a scan cut short with grey rows and only warn.
    const std::vector<std::uint8_t> cutInScan(good.begin(), scan + (good.end() - scan) / 2);
    std::vector<std::uint8_t> damaged = good;
    for (auto i = damaged.begin() + 20; i != damaged.end(); ++i)
        if (*i == 0xFF) *i = 0x00; // every marker after the first tables gone
    const std::vector<std::uint8_t>* broken[] = {&notJpeg, &headerOnly, &cutInHeader, &cutInScan, &damaged};
    for (const std::vector<std::uint8_t>* bytes : broken)
        EXPECT_FALSE(decodeJpeg(*bytes)) << bytes->size() << " of " << good.size() << " bytes";
    EXPECT_FALSE(decodeJpeg({}));
    EXPECT_TRUE(decodeJpeg(good)) << "the intact data decodes";
}

TEST(Jpeg, ScaleSmoothInterpolates) {
    const Image source{2, 2, {0x000000, 0x0000C8, 0x006400, 0x280000}};
    const Image scaled = scaleSmooth(source, 3, 3);
    ASSERT_EQ(scaled.width, 3);
    ASSERT_EQ(scaled.height, 3);
    ASSERT_EQ(scaled.pixels.size(), 9u);
    // Corners keep their pixels; between them the values blend, which nearest-pixel never gives.
    EXPECT_EQ(scaled.pixels[0], 0x000000u);
    EXPECT_EQ(scaled.pixels[2], 0x0000C8u);
    EXPECT_EQ(scaled.pixels[6], 0x006400u);
    EXPECT_EQ(scaled.pixels[8], 0x280000u);
    EXPECT_EQ(scaled.pixels[1], 0x000064u);           // half of 0xC8 in blue's byte
    EXPECT_EQ(scaled.pixels[3], 0x003200u);           // half of 0x64 in green's byte
    EXPECT_EQ(scaled.pixels[4], 0x0A1932u);           // the four averaged, channel by channel
    EXPECT_EQ(scaleSmooth(source, 2, 2).pixels, source.pixels);
    EXPECT_EQ(scaleSmooth(source, 0, 5).pixels.size(), 0u);
}
