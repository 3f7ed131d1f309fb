// The skin parser: what it accepts, and that it refuses each kind of damage
// with its reason instead of reading past the end.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin_data.h"
#include "skin_format.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using skinFormat::Error;

struct Section {
    std::string tag;
    Bytes payload;
};

void put16(Bytes& b, unsigned v) { b.push_back(std::uint8_t(v)); b.push_back(std::uint8_t(v >> 8)); }
void put32(Bytes& b, std::uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i))); }
void set32(Bytes& b, std::size_t at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i)); }

// Size and checksum fields made right for whatever the bytes are.
void seal(Bytes& b)
{
    set32(b, 8, std::uint32_t(b.size()));
    set32(b, 12, 0);
    set32(b, 12, skinFormat::crc32(b.data(), b.size()));
}

Bytes assemble(const std::vector<Section>& sections, int count = -1)
{
    Bytes b = {'.', 'S', 'H', 'E'};
    put16(b, 1);
    put16(b, count < 0 ? unsigned(sections.size()) : unsigned(count));
    put32(b, 0);
    put32(b, 0);
    for (const auto& s : sections) {
        b.insert(b.end(), s.tag.begin(), s.tag.end());
        put32(b, std::uint32_t(s.payload.size()));
        b.insert(b.end(), s.payload.begin(), s.payload.end());
    }
    seal(b);
    return b;
}

Bytes palette(int count, std::uint32_t value = 0x00336699)
{
    Bytes p;
    put16(p, unsigned(count));
    for (int i = 0; i < count; ++i) put32(p, value + std::uint32_t(i));
    return p;
}

Bytes metrics(int count, int slot = -1, int value = 0)
{
    Bytes p;
    put16(p, unsigned(count));
    for (int i = 0; i < count; ++i) {
        int v = i < skinFormat::metricCount ? skinFormat::metricRange(i).low : 0;
        put16(p, unsigned(i == slot ? value : v) & 0xffff);
    }
    return p;
}

Bytes glyph(int id, int encoding, int w, int h, Bytes data)
{
    data.insert(data.begin(), {std::uint8_t(id), std::uint8_t(encoding), std::uint8_t(w), std::uint8_t(h)});
    return data;
}

std::vector<Section> validSections()
{
    std::vector<Section> s = {
        {"NAME", {'t', 'e', 's', 't'}},
        {"PALT", palette(skinFormat::colourCount)},
        {"METR", metrics(skinFormat::metricCount)},
    };
    for (int id = 0; id < skinFormat::glyphCount; ++id) s.push_back({"GLYF", glyph(id, 0, 2, 2, {0, 255, 255, 0})});
    return s;
}

struct Case {
    const char* what;
    std::function<Bytes()> make;
    Error expected;
};

std::vector<Section> with(std::function<void(std::vector<Section>&)> edit)
{
    auto s = validSections();
    edit(s);
    return s;
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> table = {
        {"valid", [] { return assemble(validSections()); }, Error::ok},
        {"unknown section skipped", [] { return assemble(with([](auto& s) { s.push_back({"XTRA", {1, 2, 3}}); })); }, Error::ok},
        {"longer palette and metric lists", [] {
             return assemble(with([](auto& s) { s[1].payload = palette(40); s[2].payload = metrics(20); }));
         }, Error::ok},
        {"run-length glyph", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 1, 2, 2, {3, 9, 1, 200}); })); }, Error::ok},
        {"texture, note and padding", [] {
             return assemble(with([](auto& s) {
                 Bytes t;
                 put16(t, 3); put16(t, 2);
                 t.insert(t.end(), 6, 128);
                 s.push_back({"TEXR", t});
                 s.push_back({"NOTE", {'h', 'i'}});
                 s.push_back({"PADD", Bytes(100, 0)});
             }));
         }, Error::ok},

        {"empty", [] { return Bytes{}; }, Error::tooSmall},
        {"shorter than a header", [] { Bytes b = assemble(validSections()); b.resize(15); return b; }, Error::tooSmall},
        {"larger than a skin may be", [] {
             return assemble(with([](auto& s) { s.push_back({"PADD", Bytes(skinFormat::maxFileSize, 0)}); }));
         }, Error::tooLarge},
        {"wrong magic", [] { Bytes b = assemble(validSections()); b[3] = 'F'; seal(b); return b; }, Error::badMagic},
        {"other version", [] { Bytes b = assemble(validSections()); b[4] = 2; seal(b); return b; }, Error::badVersion},
        {"size field off by one", [] {
             Bytes b = assemble(validSections());
             set32(b, 8, std::uint32_t(b.size() + 1));
             return b;
         }, Error::sizeMismatch},
        {"truncated file", [] { Bytes b = assemble(validSections()); b.pop_back(); return b; }, Error::sizeMismatch},
        {"one byte changed", [] { Bytes b = assemble(validSections()); b[20] ^= 1; return b; }, Error::badChecksum},
        {"no sections", [] { return assemble({}, 0); }, Error::badSectionCount},
        {"too many sections", [] { return assemble(validSections(), 65); }, Error::badSectionCount},
        {"more sections counted than present", [] { return assemble(validSections(), 8); }, Error::sectionPastEnd},
        {"section length past the end", [] {
             Bytes b = assemble(validSections());
             set32(b, 16 + 4, 0xFFFFFFF0u);  // would wrap a careless pointer sum
             seal(b);
             return b;
         }, Error::sectionPastEnd},
        {"bytes after the last section", [] { return assemble(validSections(), 6); }, Error::trailingBytes},
        {"name twice", [] { return assemble(with([](auto& s) { s.push_back(s[0]); })); }, Error::duplicateSection},
        {"empty name", [] { return assemble(with([](auto& s) { s[0].payload.clear(); })); }, Error::badName},
        {"name too long", [] { return assemble(with([](auto& s) { s[0].payload.assign(64, 'a'); })); }, Error::badName},
        {"control byte in name", [] { return assemble(with([](auto& s) { s[0].payload[1] = 0; })); }, Error::badName},
        {"palette too short", [] { return assemble(with([](auto& s) { s[1].payload = palette(skinFormat::colourCount - 1); })); }, Error::badPalette},
        {"palette count absurd", [] { return assemble(with([](auto& s) { s[1].payload = palette(65); })); }, Error::badPalette},
        {"palette length not its count", [] { return assemble(with([](auto& s) { s[1].payload.push_back(0); })); }, Error::badPalette},
        {"colour with a top byte", [] { return assemble(with([](auto& s) { s[1].payload = palette(30, 0x01000000); })); }, Error::badPalette},
        {"metric below its range", [] {
             return assemble(with([](auto& s) { s[2].payload = metrics(skinFormat::metricCount, skinFormat::captionButtonAspect, 79); }));
         }, Error::badMetrics},
        {"metric negative", [] {
             return assemble(with([](auto& s) { s[2].payload = metrics(skinFormat::metricCount, skinFormat::buttonRadius, -1); }));
         }, Error::badMetrics},
        {"metric list too short", [] { return assemble(with([](auto& s) { s[2].payload = metrics(skinFormat::metricCount - 1); })); }, Error::badMetrics},
        {"glyph id unknown", [] { return assemble(with([](auto& s) { s[3].payload[0] = 4; })); }, Error::badGlyph},
        {"glyph given twice", [] { return assemble(with([](auto& s) { s[4].payload[0] = 0; })); }, Error::badGlyph},
        {"glyph of width 0", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 0, 0, 2, {}); })); }, Error::badGlyph},
        {"glyph too wide", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 0, 33, 1, Bytes(33, 1)); })); }, Error::badGlyph},
        {"raw glyph short of its pixels", [] { return assemble(with([](auto& s) { s[3].payload.pop_back(); })); }, Error::badGlyph},
        {"run past the glyph", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 1, 2, 2, {5, 1}); })); }, Error::badGlyph},
        {"runs short of the glyph", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 1, 2, 2, {3, 1}); })); }, Error::badGlyph},
        {"empty run", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 1, 2, 2, {0, 1, 4, 1}); })); }, Error::badGlyph},
        {"odd run data", [] { return assemble(with([](auto& s) { s[3].payload = glyph(0, 1, 2, 2, {4, 1, 7}); })); }, Error::badGlyph},
        {"unknown glyph encoding", [] { return assemble(with([](auto& s) { s[3].payload[1] = 2; })); }, Error::badGlyph},
        {"texture too wide", [] {
             return assemble(with([](auto& s) { Bytes t; put16(t, 1025); put16(t, 1); t.resize(4 + 1025, 128); s.push_back({"TEXR", t}); }));
         }, Error::badTexture},
        {"texture short of its pixels", [] {
             return assemble(with([](auto& s) { Bytes t; put16(t, 4); put16(t, 4); t.resize(4 + 15, 128); s.push_back({"TEXR", t}); }));
         }, Error::badTexture},
        {"note with a NUL", [] { return assemble(with([](auto& s) { s.push_back({"NOTE", {'a', 0, 'b'}}); })); }, Error::badNote},
        {"padding not zero", [] { return assemble(with([](auto& s) { s.push_back({"PADD", {0, 0, 7}}); })); }, Error::badPadding},
        {"a glyph missing", [] { return assemble(with([](auto& s) { s.pop_back(); })); }, Error::missingSection},
        {"metrics missing", [] { return assemble(with([](auto& s) { s.erase(s.begin() + 2); })); }, Error::missingSection},
    };
    return table;
}

TEST(SkinFormat, AcceptsOrRefusesEachCaseWithItsReason)
{
    for (const auto& c : cases()) {
        Bytes b = c.make();
        skinFormat::Skin skin;
        EXPECT_EQ(skinFormat::parse(b.data(), b.size(), skin), c.expected) << c.what;
    }
}

TEST(SkinFormat, ReadsTheValuesOfAValidFile)
{
    auto sections = validSections();
    sections[3].payload = glyph(0, 1, 2, 2, {3, 9, 1, 200});
    Bytes b = assemble(sections);
    skinFormat::Skin skin;
    ASSERT_EQ(skinFormat::parse(b.data(), b.size(), skin), Error::ok);
    EXPECT_STREQ(skin.name, "test");
    EXPECT_EQ(skin.colours[0], 0x00336699u);
    EXPECT_EQ(skin.colours[skinFormat::colourCount - 1], 0x00336699u + skinFormat::colourCount - 1);
    EXPECT_EQ(skin.metrics[skinFormat::captionButtonAspect], 80);
    const auto& g = skin.glyphs[skinFormat::glyphClose];
    EXPECT_EQ(g.width, 2);
    EXPECT_EQ(std::vector<int>(g.pixels, g.pixels + 4), (std::vector<int>{9, 9, 9, 200}));
    EXPECT_EQ(skin.texture, nullptr);
}

TEST(SkinFormat, ChecksumIsTheStandardCrc32)
{
    const char text[] = "123456789";
    EXPECT_EQ(skinFormat::crc32(reinterpret_cast<const std::uint8_t*>(text), 9), 0xCBF43926u);
}

// Every prefix of a real skin is refused; with size and checksum made right,
// the parser meets cut sections and must still stop at the end.
TEST(SkinFormat, RefusesEveryCutOfARealSkin)
{
    auto real = skinData::skin(17);
    for (std::size_t n = 0; n < real.size(); n += n < 600 ? 1 : 97) {
        Bytes b(real.begin(), real.begin() + n);
        skinFormat::Skin skin;
        EXPECT_NE(skinFormat::parse(b.data(), b.size(), skin), Error::ok) << n;
        if (n >= skinFormat::headerSize) {
            seal(b);
            EXPECT_NE(skinFormat::parse(b.data(), b.size(), skin), Error::ok) << n;
        }
    }
}

// Inputs that once found faults, kept so they stay found.
TEST(SkinFormat, RegressionInputsAreRefused)
{
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(REGRESSIONS_DIR)) {
        if (entry.path().extension() != ".she") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        Bytes b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        skinFormat::Skin skin;
        EXPECT_NE(skinFormat::parse(b.data(), b.size(), skin), Error::ok) << entry.path();
        ++seen;
    }
    EXPECT_GT(seen, 0);
}

} // namespace
