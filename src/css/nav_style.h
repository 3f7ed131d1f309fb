// The navigation style settings: eighteen colour slots and four text slots,
// each living in one control of the navigation page and read from it when used.
#pragma once

#include "platform/form.h"

#include <span>
#include <string>

enum class NavSlot {
    allCatsBackground, allCatsText, level1Background, level1Text, level3Background,
    level1HoverBackground, level1HoverText, allCatsHoverBackground, allCatsHoverText,
    level2Background, level2Text, level2HoverBackground, level2HoverText, level3Text,
    level3HoverBackground, level3HoverText, selectedBackground, selectedText,
    allCatsIconUrl, level1IconUrl, menuSidePadding, level2BottomSpace,
};

struct NavSlotBinding {
    NavSlot slot;
    const char* name;    // the slot's name, as in the design
    const char* control; // the control that holds it
    bool isColour;
};

namespace NavStyle {
std::span<const NavSlotBinding> slots();
const NavSlotBinding& binding(NavSlot slot);
Colour readColour(Form& form, NavSlot slot);
std::string readText(Form& form, NavSlot slot);
} // namespace NavStyle
