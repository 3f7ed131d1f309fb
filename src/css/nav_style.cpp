#include "css/nav_style.h"

#include <cstddef>

namespace NavStyle {

namespace {

using enum NavSlot;

// In the order of the slots' controls; the entry of a slot sits at the slot's own index.
constexpr NavSlotBinding table[] = {
    {allCatsBackground, "allCatsBackground", "颜色选择器1", true},
    {allCatsText, "allCatsText", "颜色选择器2", true},
    {level1Background, "level1Background", "颜色选择器3", true},
    {level1Text, "level1Text", "颜色选择器4", true},
    {level3Background, "level3Background", "颜色选择器5", true},
    {level1HoverBackground, "level1HoverBackground", "颜色选择器6", true},
    {level1HoverText, "level1HoverText", "颜色选择器7", true},
    {allCatsHoverBackground, "allCatsHoverBackground", "颜色选择器8", true},
    {allCatsHoverText, "allCatsHoverText", "颜色选择器9", true},
    {level2Background, "level2Background", "颜色选择器10", true},
    {level2Text, "level2Text", "颜色选择器11", true},
    {level2HoverBackground, "level2HoverBackground", "颜色选择器12", true},
    {level2HoverText, "level2HoverText", "颜色选择器13", true},
    {level3Text, "level3Text", "颜色选择器14", true},
    {level3HoverBackground, "level3HoverBackground", "颜色选择器15", true},
    {level3HoverText, "level3HoverText", "颜色选择器16", true},
    {selectedBackground, "selectedBackground", "颜色选择器17", true},
    {selectedText, "selectedText", "颜色选择器18", true},
    {allCatsIconUrl, "allCatsIconUrl", "编辑框2", false},
    {level1IconUrl, "level1IconUrl", "编辑框3", false},
    {menuSidePadding, "menuSidePadding", "编辑框4", false},
    {level2BottomSpace, "level2BottomSpace", "编辑框5", false},
};

constexpr bool indexedBySlot() {
    for (std::size_t i = 0; i < std::size(table); ++i)
        if (static_cast<std::size_t>(table[i].slot) != i) return false;
    return true;
}
static_assert(indexedBySlot(), "binding() looks a slot up by its index");

} // namespace

std::span<const NavSlotBinding> slots() { return table; }

const NavSlotBinding& binding(NavSlot slot) { return table[static_cast<std::size_t>(slot)]; }

Colour readColour(Form& form, NavSlot slot) { return form.colour(binding(slot).control); }

std::string readText(Form& form, NavSlot slot) { return form.text(binding(slot).control); }

} // namespace NavStyle
