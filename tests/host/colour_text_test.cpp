#include "css/colour_text.h"

#include <gtest/gtest.h>

TEST(CssColourText, RedFirstLowerCaseTwoDigitsPerByte) {
    struct Case {
        Colour colour;
        const char* expected;
    };
    const Case cases[] = {
        {rgb(0x00, 0x00, 0x00), "#000000"}, {rgb(0xFF, 0xFF, 0xFF), "#ffffff"},
        {rgb(0xFF, 0x00, 0x00), "#ff0000"}, {rgb(0x00, 0xFF, 0x00), "#00ff00"},
        {rgb(0x00, 0x00, 0xFF), "#0000ff"}, {rgb(0x0F, 0x00, 0x00), "#0f0000"},
        {rgb(0x00, 0x0F, 0x00), "#000f00"}, {rgb(0x00, 0x00, 0x0F), "#00000f"},
        {rgb(0x01, 0x00, 0x00), "#010000"}, {rgb(0x0C, 0x0B, 0x0A), "#0c0b0a"},
        {rgb(0x99, 0x66, 0x33), "#996633"}, {0x00AB'CDEF, "#efcdab"},
        // The top byte plays no part.
        {0xFF00'0000 | rgb(0x12, 0x34, 0x56), "#123456"},
    };
    for (const Case& c : cases) EXPECT_EQ(cssColourText(c.colour), c.expected) << std::hex << c.colour;
}
