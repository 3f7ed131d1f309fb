// The sixty skins the program carries, and the engine image beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "skin_data.h"
#include "skin_format.h"

namespace {

constexpr int sizes[60] = {
    8892, 15562, 15978, 58441, 26111, 20136, 17679, 10017, 29554, 19770,
    8224, 15366, 21550, 20863, 46457, 17699, 12278, 33426, 30296, 24894,
    19429, 20484, 30958, 23603, 20738, 20275, 22424, 17997, 17926, 20685,
    17460, 20552, 9533, 18930, 15562, 7105, 11365, 13192, 8490, 19375,
    7122, 35289, 30422, 35527, 28555, 19497, 16746, 33426, 11005, 15345,
    11628, 10974, 15306, 11717, 10953, 15324, 11600, 10896, 15233, 11515,
};

std::vector<std::uint8_t> bytesOf(int number)
{
    auto s = skinData::skin(number);
    return {s.begin(), s.end()};
}

TEST(SkinTable, EverySkinParsesWithItsSizeAndMagic)
{
    std::set<std::string> names;
    for (int n = 1; n <= 60; ++n) {
        SCOPED_TRACE(n);
        auto s = skinData::skin(n);
        ASSERT_EQ(s.size(), std::size_t(sizes[n - 1]));
        EXPECT_EQ(std::memcmp(s.data(), ".SHE", 4), 0);
        skinFormat::Skin skin;
        ASSERT_EQ(skinFormat::parse(s.data(), s.size(), skin), skinFormat::Error::ok);
        names.insert(skin.name);
    }
    EXPECT_EQ(names.size(), 58u);  // the two shared entries repeat a name
}

TEST(SkinTable, SharedEntriesAreStoredOnceAndTheRestAreDistinct)
{
    EXPECT_EQ(bytesOf(35), bytesOf(2));
    EXPECT_EQ(bytesOf(48), bytesOf(18));
    EXPECT_EQ(skinData::skin(35).data(), skinData::skin(2).data());
    EXPECT_EQ(skinData::skin(48).data(), skinData::skin(18).data());

    std::set<std::vector<std::uint8_t>> distinct;
    std::set<const std::uint8_t*> stored;
    std::size_t total = 0;
    for (int n = 1; n <= 60; ++n) {
        distinct.insert(bytesOf(n));
        if (stored.insert(skinData::skin(n).data()).second) total += skinData::skin(n).size();
    }
    EXPECT_EQ(distinct.size(), 58u);
    EXPECT_EQ(stored.size(), 58u);
    EXPECT_EQ(total, 1118368u);
}

TEST(SkinTable, NumbersOutsideTheTableAreEmpty)
{
    for (int n : {0, -1, 61, 1000, -2147483647 - 1}) EXPECT_TRUE(skinData::skin(n).empty()) << n;
}

// The start-up skin: a coloured caption and a tinted face, plainly not the system grey.
TEST(SkinTable, SkinSeventeenIsColourful)
{
    auto s = skinData::skin(17);
    skinFormat::Skin skin;
    ASSERT_EQ(skinFormat::parse(s.data(), s.size(), skin), skinFormat::Error::ok);
    auto channels = [](std::uint32_t c) { return std::vector<int>{int(c & 255), int(c >> 8 & 255), int(c >> 16 & 255)}; };
    auto spread = [&](std::uint32_t c) {
        auto v = channels(c);
        return *std::max_element(v.begin(), v.end()) - *std::min_element(v.begin(), v.end());
    };
    EXPECT_GT(spread(skin.colours[skinFormat::captionActiveStart]), 60);
    EXPECT_GT(spread(skin.colours[skinFormat::captionActiveEnd]), 60);
    std::uint32_t face = skin.colours[skinFormat::face];
    EXPECT_GT(spread(face), 4);
    EXPECT_NE(face, 0xC0C0C0u);
    EXPECT_NE(face, 0xD8E9ECu);
    EXPECT_NE(face, 0xF0F0F0u);
}

TEST(EngineImage, HasItsFixedSizeAndStartsWithMz)
{
    auto image = skinData::engineImage();
    ASSERT_EQ(image.size(), skinData::engineImageSize);
    EXPECT_EQ(image[0], 'M');
    EXPECT_EQ(image[1], 'Z');
    // Embedded with its byte count: NUL bytes inside do not cut it short.
    EXPECT_NE(std::find(image.begin(), image.end(), 0), image.end());
    EXPECT_EQ(image.back(), 0);
}

} // namespace
