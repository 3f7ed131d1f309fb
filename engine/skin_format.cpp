#include "skin_format.h"

#include <cstring>

namespace skinFormat {
namespace {

constexpr MetricRange ranges[metricCount] = {
    {0, 2}, {0, 32}, {0, 1}, {0, 6}, {0, 8}, {80, 200}, {0, 6},
    {0, 8}, {0, 60}, {0, 6}, {0, 2}, {0, 100}, {0, 1},
};

std::uint16_t read16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
std::uint32_t read32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
constexpr std::uint32_t tag(const char (&t)[5])
{
    return std::uint32_t(std::uint8_t(t[0])) | std::uint32_t(std::uint8_t(t[1])) << 8 |
           std::uint32_t(std::uint8_t(t[2])) << 16 | std::uint32_t(std::uint8_t(t[3])) << 24;
}

bool validText(const std::uint8_t* p, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] == 0) return false;
    return true;
}

Error parseName(const std::uint8_t* p, std::size_t n, Skin& out)
{
    if (n == 0 || n > maxNameBytes) return Error::badName;
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] < 0x20 || p[i] == 0x7f) return Error::badName;
    std::memcpy(out.name, p, n);
    out.name[n] = 0;
    return Error::ok;
}

Error parsePalette(const std::uint8_t* p, std::size_t n, Skin& out)
{
    if (n < 2) return Error::badPalette;
    std::size_t count = read16(p);
    if (count < colourCount || count > maxPaletteCount || n != 2 + count * 4) return Error::badPalette;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = read32(p + 2 + i * 4);
        if (c >> 24) return Error::badPalette;
        if (i < colourCount) out.colours[i] = c;
    }
    return Error::ok;
}

Error parseMetrics(const std::uint8_t* p, std::size_t n, Skin& out)
{
    if (n < 2) return Error::badMetrics;
    std::size_t count = read16(p);
    if (count < metricCount || count > maxMetricCount || n != 2 + count * 2) return Error::badMetrics;
    for (std::size_t i = 0; i < metricCount; ++i) {
        int v = std::int16_t(read16(p + 2 + i * 2));
        if (v < ranges[i].low || v > ranges[i].high) return Error::badMetrics;
        out.metrics[i] = v;
    }
    return Error::ok;
}

Error parseGlyph(const std::uint8_t* p, std::size_t n, Skin& out, unsigned& seen)
{
    if (n < 4) return Error::badGlyph;
    int id = p[0], encoding = p[1], w = p[2], h = p[3];
    if (id >= glyphCount || (seen & (1u << id))) return Error::badGlyph;
    if (w < 1 || w > maxGlyphSide || h < 1 || h > maxGlyphSide) return Error::badGlyph;
    std::size_t pixels = std::size_t(w) * h;
    const std::uint8_t* data = p + 4;
    std::size_t length = n - 4;
    GlyphImage& g = out.glyphs[id];
    if (encoding == 0) {
        if (length != pixels) return Error::badGlyph;
        std::memcpy(g.pixels, data, pixels);
    } else if (encoding == 1) {
        if (length % 2) return Error::badGlyph;
        std::size_t filled = 0;
        for (std::size_t i = 0; i < length; i += 2) {
            std::size_t run = data[i];
            if (run == 0 || run > pixels - filled) return Error::badGlyph;
            std::memset(g.pixels + filled, data[i + 1], run);
            filled += run;
        }
        if (filled != pixels) return Error::badGlyph;
    } else {
        return Error::badGlyph;
    }
    g.width = w;
    g.height = h;
    seen |= 1u << id;
    return Error::ok;
}

Error parseTexture(const std::uint8_t* p, std::size_t n, Skin& out)
{
    if (n < 4) return Error::badTexture;
    int w = read16(p), h = read16(p + 2);
    if (w < 1 || w > maxTextureWidth || h < 1 || h > maxTextureHeight) return Error::badTexture;
    if (n - 4 != std::size_t(w) * std::size_t(h)) return Error::badTexture;
    out.texture = p + 4;
    out.textureWidth = w;
    out.textureHeight = h;
    return Error::ok;
}

} // namespace

MetricRange metricRange(int metric)
{
    if (metric < 0 || metric >= metricCount) return {0, 0};
    return ranges[metric];
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t seed)
{
    std::uint32_t c = ~seed;
    for (std::size_t i = 0; i < size; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

const char* errorText(Error error)
{
    switch (error) {
    case Error::ok: return "ok";
    case Error::tooSmall: return "file too small";
    case Error::tooLarge: return "file too large";
    case Error::badMagic: return "not a .SHE skin";
    case Error::badVersion: return "unsupported version";
    case Error::sizeMismatch: return "size field does not match the file";
    case Error::badChecksum: return "checksum mismatch";
    case Error::badSectionCount: return "bad section count";
    case Error::sectionPastEnd: return "section runs past the end";
    case Error::trailingBytes: return "bytes after the last section";
    case Error::duplicateSection: return "section given twice";
    case Error::badName: return "bad name";
    case Error::badPalette: return "bad palette";
    case Error::badMetrics: return "bad metrics";
    case Error::badGlyph: return "bad glyph";
    case Error::badTexture: return "bad texture";
    case Error::badNote: return "bad note";
    case Error::badPadding: return "bad padding";
    case Error::missingSection: return "required section missing";
    }
    return "unknown error";
}

Error parse(const std::uint8_t* data, std::size_t size, Skin& out)
{
    if (!data || size < headerSize) return Error::tooSmall;
    if (size > maxFileSize) return Error::tooLarge;
    if (std::memcmp(data, ".SHE", 4) != 0) return Error::badMagic;
    if (read16(data + 4) != formatVersion) return Error::badVersion;
    std::size_t sections = read16(data + 6);
    if (read32(data + 8) != size) return Error::sizeMismatch;
    static const std::uint8_t zeros[4] = {};
    std::uint32_t crc = crc32(data, 12);
    crc = crc32(zeros, 4, crc);
    crc = crc32(data + headerSize, size - headerSize, crc);
    if (crc != read32(data + 12)) return Error::badChecksum;
    if (sections < 1 || sections > maxSections) return Error::badSectionCount;

    out = Skin{};
    unsigned glyphsSeen = 0;
    bool haveName = false, havePalette = false, haveMetrics = false, haveTexture = false;
    std::size_t at = headerSize;
    for (std::size_t s = 0; s < sections; ++s) {
        if (size - at < 8) return Error::sectionPastEnd;
        std::uint32_t t = read32(data + at);
        std::size_t length = read32(data + at + 4);
        at += 8;
        if (length > size - at) return Error::sectionPastEnd;
        const std::uint8_t* p = data + at;
        Error e = Error::ok;
        if (t == tag("NAME")) {
            if (haveName) return Error::duplicateSection;
            haveName = true;
            e = parseName(p, length, out);
        } else if (t == tag("PALT")) {
            if (havePalette) return Error::duplicateSection;
            havePalette = true;
            e = parsePalette(p, length, out);
        } else if (t == tag("METR")) {
            if (haveMetrics) return Error::duplicateSection;
            haveMetrics = true;
            e = parseMetrics(p, length, out);
        } else if (t == tag("GLYF")) {
            e = parseGlyph(p, length, out, glyphsSeen);
        } else if (t == tag("TEXR")) {
            if (haveTexture) return Error::duplicateSection;
            haveTexture = true;
            e = parseTexture(p, length, out);
        } else if (t == tag("NOTE")) {
            if (!validText(p, length)) e = Error::badNote;
        } else if (t == tag("PADD")) {
            for (std::size_t i = 0; i < length && e == Error::ok; ++i)
                if (p[i]) e = Error::badPadding;
        }
        // Other tags are skipped: a later version may add sections this one can ignore.
        if (e != Error::ok) return e;
        at += length;
    }
    if (at != size) return Error::trailingBytes;
    if (!haveName || !havePalette || !haveMetrics || glyphsSeen != (1u << glyphCount) - 1)
        return Error::missingSection;
    return Error::ok;
}

} // namespace skinFormat
