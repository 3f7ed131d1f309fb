// Fuzz target of the skin parser. Besides the raw input it parses a copy whose
// size and checksum fields are made right, so mutations reach the sections
// instead of stopping at the checksum. Accepted skins are checked for the
// promises the engine relies on.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin_format.h"

namespace {

void check(bool condition)
{
    if (!condition) std::abort();
}

void parseAndCheck(const std::uint8_t* data, std::size_t size)
{
    static skinFormat::Skin skin;
    if (skinFormat::parse(data, size, skin) != skinFormat::Error::ok) return;
    check(std::memchr(skin.name, 0, sizeof skin.name) != nullptr && skin.name[0] != 0);
    for (int i = 0; i < skinFormat::metricCount; ++i) {
        auto range = skinFormat::metricRange(i);
        check(skin.metrics[i] >= range.low && skin.metrics[i] <= range.high);
    }
    for (int i = 0; i < skinFormat::colourCount; ++i) check((skin.colours[i] >> 24) == 0);
    for (const auto& glyph : skin.glyphs)
        check(glyph.width >= 1 && glyph.width <= skinFormat::maxGlyphSide && glyph.height >= 1 &&
              glyph.height <= skinFormat::maxGlyphSide);
    if (skin.texture) {
        std::size_t bytes = std::size_t(skin.textureWidth) * skin.textureHeight;
        check(skin.texture >= data && skin.texture + bytes <= data + size);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    parseAndCheck(data, size);
    if (size >= skinFormat::headerSize && size <= skinFormat::maxFileSize) {
        std::vector<std::uint8_t> fixed(data, data + size);
        for (int i = 0; i < 4; ++i) fixed[8 + i] = std::uint8_t(size >> (8 * i));
        std::memset(fixed.data() + 12, 0, 4);
        std::uint32_t crc = skinFormat::crc32(fixed.data(), size);
        for (int i = 0; i < 4; ++i) fixed[12 + i] = std::uint8_t(crc >> (8 * i));
        parseAndCheck(fixed.data(), size);
    }
    return 0;
}
