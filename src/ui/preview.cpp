#include "ui/preview.h"

#include "css/nav_style.h"

namespace {

struct Tile {
    const char* tile;
    const char* label;
    NavSlot background, text, hoverBackground, hoverText;
};

using enum NavSlot;
// In the order the reset works through them.
constexpr Tile tiles[] = {
    {"外形框1", "透明标签23", allCatsBackground, allCatsText, allCatsHoverBackground, allCatsHoverText},
    {"外形框2", "透明标签24", level1Background, level1Text, level1HoverBackground, level1HoverText},
    {"外形框4", "透明标签25", level2Background, level2Text, level2HoverBackground, level2HoverText},
    {"外形框5", "透明标签26", level3Background, level3Text, level3HoverBackground, level3HoverText},
};

// Each write right after its read: the pickers are the only store of the colours.
void show(Form& form, const Tile& t, NavSlot background, NavSlot text) {
    form.setBackColour(t.tile, NavStyle::readColour(form, background));
    form.setTextColour(t.label, NavStyle::readColour(form, text));
}

} // namespace

void resetPreviewTiles(Form& form, std::string_view) {
    for (const Tile& t : tiles) show(form, t, t.background, t.text);
}

void highlightPreviewTile(Form& form, std::string_view tile) {
    for (const Tile& t : tiles)
        if (tile == t.tile) show(form, t, t.hoverBackground, t.hoverText);
}
