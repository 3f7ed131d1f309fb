#include "ui/preview.h"

#include "platform/host/host_form.h"
#include "ui/bindings.h"

#include <gtest/gtest.h>

namespace {

struct Tile {
    const char* tile;
    const char* label;
    const char* background; // pickers of the normal and mouse-over pairs
    const char* text;
    const char* hoverBackground;
    const char* hoverText;
};
constexpr Tile tiles[] = {
    {"外形框1", "透明标签23", "颜色选择器1", "颜色选择器2", "颜色选择器8", "颜色选择器9"},
    {"外形框2", "透明标签24", "颜色选择器3", "颜色选择器4", "颜色选择器6", "颜色选择器7"},
    {"外形框4", "透明标签25", "颜色选择器10", "颜色选择器11", "颜色选择器12", "颜色选择器13"},
    {"外形框5", "透明标签26", "颜色选择器5", "颜色选择器14", "颜色选择器15", "颜色选择器16"},
};

// Picker k holds a colour of its own, so every slot of every tile is told apart.
Colour pickerColour(const char* picker) {
    const int k = std::stoi(std::string(picker).substr(std::string("颜色选择器").size()));
    return rgb(0x10 * k, 0xFF - k, k);
}

void distinctColours(host::HostForm& form) {
    for (int k = 1; k <= 18; ++k) {
        const std::string name = "颜色选择器" + std::to_string(k);
        form.setPickerColour(name, pickerColour(name.c_str()));
    }
}

void moveOverWindow(host::HostForm& form) {
    bindings::find("窗口", bindings::Event::MouseMoved)(form, "窗口");
}
void moveOverTile(host::HostForm& form, const char* tile) {
    bindings::find(tile, bindings::Event::MouseMoved)(form, tile);
}

constexpr Colour black = rgb(0, 0, 0);
constexpr Colour white = rgb(0xFF, 0xFF, 0xFF);

} // namespace

TEST(Preview, TilesStartBlackWithWhiteLabels) {
    host::HostForm form;
    for (const Tile& t : tiles) {
        EXPECT_EQ(form.backColourOf(t.tile), black) << t.tile;
        EXPECT_EQ(form.textColourOf(t.label), white) << t.label;
    }
}

TEST(Preview, WindowMoveResetsAllTilesInOrderEachWriteAfterItsRead) {
    host::HostForm form;
    distinctColours(form);
    moveOverWindow(form);
    std::vector<std::string> expected;
    for (const Tile& t : tiles) {
        expected.push_back(std::string("colour ") + t.background);
        expected.push_back(std::string("setBackColour ") + t.tile);
        expected.push_back(std::string("colour ") + t.text);
        expected.push_back(std::string("setTextColour ") + t.label);
        EXPECT_EQ(form.backColourOf(t.tile), pickerColour(t.background)) << t.tile;
        EXPECT_EQ(form.textColourOf(t.label), pickerColour(t.text)) << t.label;
    }
    EXPECT_EQ(form.journal, expected);
}

TEST(Preview, TileMoveHighlightsThatTileAlone) {
    for (const Tile& t : tiles) {
        host::HostForm form;
        distinctColours(form);
        moveOverWindow(form);
        form.journal.clear();
        moveOverTile(form, t.tile);
        EXPECT_EQ(form.journal, (std::vector<std::string>{std::string("colour ") + t.hoverBackground,
                                                           std::string("setBackColour ") + t.tile,
                                                           std::string("colour ") + t.hoverText,
                                                           std::string("setTextColour ") + t.label}));
        for (const Tile& other : tiles) {
            const bool hovered = &other == &t;
            EXPECT_EQ(form.backColourOf(other.tile), pickerColour(hovered ? other.hoverBackground : other.background))
                << t.tile << " then " << other.tile;
            EXPECT_EQ(form.textColourOf(other.label), pickerColour(hovered ? other.hoverText : other.text))
                << t.tile << " then " << other.tile;
        }
    }
}

TEST(Preview, HighlightsStayUntilTheWindowMoveAndPickersShowOnlyWhenApplied) {
    host::HostForm form;
    distinctColours(form);
    moveOverTile(form, "外形框1");
    moveOverTile(form, "外形框2");
    moveOverTile(form, "外形框5");
    EXPECT_EQ(form.backColourOf("外形框1"), pickerColour("颜色选择器8"));
    EXPECT_EQ(form.backColourOf("外形框2"), pickerColour("颜色选择器6"));
    EXPECT_EQ(form.backColourOf("外形框5"), pickerColour("颜色选择器15"));
    EXPECT_EQ(form.backColourOf("外形框4"), black); // never applied: still the layout's look
    EXPECT_EQ(form.textColourOf("透明标签25"), white);

    form.setPickerColour("颜色选择器1", rgb(1, 2, 3));
    EXPECT_EQ(form.backColourOf("外形框1"), pickerColour("颜色选择器8"));
    moveOverWindow(form);
    EXPECT_EQ(form.backColourOf("外形框1"), rgb(1, 2, 3));
    EXPECT_EQ(form.backColourOf("外形框5"), pickerColour("颜色选择器5"));
}
