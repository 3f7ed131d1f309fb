// The ".SHE" skin format and its parser. Portable: no Windows headers, no
// allocation, no exceptions, so the engine library and the native tests share it.
// The layout is described at the top of skins.py, which writes the sixty skins.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skinFormat {

inline constexpr std::uint16_t formatVersion = 1;
inline constexpr std::size_t headerSize = 16;
inline constexpr std::size_t maxFileSize = 1u << 20;
inline constexpr std::size_t maxSections = 64;
inline constexpr std::size_t maxNameBytes = 63;
inline constexpr std::size_t maxPaletteCount = 64;
inline constexpr std::size_t maxMetricCount = 64;
inline constexpr int maxGlyphSide = 32;
inline constexpr int maxTextureWidth = 1024;
inline constexpr int maxTextureHeight = 64;

enum Colour : int {
    captionActiveStart, captionActiveEnd, captionInactiveStart, captionInactiveEnd,
    captionTextActive, captionTextInactive, frameActive, frameInactive,
    frameHighlight, face, buttonFace, buttonHot, buttonPressed, buttonBorder,
    buttonText, buttonTextDisabled, buttonDefaultBorder, tabFace, tabSelected,
    tabHot, tabBorder, tabText, editFrame, editFrameFocus, captionButtonFace,
    captionButtonHot, captionButtonPressed, closeButtonHot, captionGlyph,
    captionGlyphInactive,
    colourCount
};

enum Metric : int {
    captionGradient, captionTextIndent, captionBold, captionButtonMargin,
    captionButtonRadius, captionButtonAspect, captionButtonGap, buttonRadius,
    buttonGloss, tabRadius, frameStyle, textureStrength, captionTextShadow,
    metricCount
};

enum Glyph : int { glyphClose, glyphMinimise, glyphMaximise, glyphRestore, glyphCount };

// Why a file was refused; ok when it was accepted.
enum class Error : int {
    ok = 0,
    tooSmall,
    tooLarge,
    badMagic,
    badVersion,
    sizeMismatch,
    badChecksum,
    badSectionCount,
    sectionPastEnd,
    trailingBytes,
    duplicateSection,
    badName,
    badPalette,
    badMetrics,
    badGlyph,
    badTexture,
    badNote,
    badPadding,
    missingSection,
};

const char* errorText(Error error);

// A coverage mask of width x height bytes, 0 transparent .. 255 solid.
struct GlyphImage {
    int width = 0, height = 0;
    std::uint8_t pixels[maxGlyphSide * maxGlyphSide] = {};
};

// Everything the engine draws with. The texture points into the parsed bytes,
// so those must outlive the Skin.
struct Skin {
    char name[maxNameBytes + 1] = {};
    std::uint32_t colours[colourCount] = {};  // 0x00BBGGRR
    int metrics[metricCount] = {};
    GlyphImage glyphs[glyphCount];
    const std::uint8_t* texture = nullptr;
    int textureWidth = 0, textureHeight = 0;
};

// Allowed range of each metric.
struct MetricRange { int low, high; };
MetricRange metricRange(int metric);

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t seed = 0);

// Parses and validates a whole file. On any fault returns its error and leaves
// `out` in an unspecified but harmless state.
Error parse(const std::uint8_t* data, std::size_t size, Skin& out);

} // namespace skinFormat
