#include "css/nav_css.h"

#include "css/colour_text.h"
#include "css/copy.h"

namespace {

constexpr std::string_view outputBox = "编辑框1";
constexpr std::string_view lineEnd = "\r\n";

using enum NavSlot;
constexpr NavRule rules[] = {
    {".skin-box-bd .menu-list .link{background:", level1Background, ";}"},
    {".skin-box-bd .menu-list{background:", level1Background, ";}"},
    {".skin-box-bd{background:", level1Background, ";}"},
    {".all-cats .link{background:", allCatsBackground, ";}"},
    {".menu-list .menu .title{color:", level1Text, ";}"},
    {".all-cats .link .title{color:", allCatsText, ";}"},
    {".popup-content{background:", level2Background, ";}"},
    {".popup-content .cat-name{color:", level2Text, ";}"},
    {".popup-content .cats-tree .snd-pop-inner{background:", level3Background, ";}"},
    {".popup-content .cats-tree .snd-pop-inner .cat-name{color:", level3Text, ";}"},
    {".menu-list .menu-hover .link{background:", level1HoverBackground, ";}"},
    {".menu-list .menu-hover .title{color:", level1HoverText, ";}"},
    {".all-cats-hover .link{background:", allCatsHoverBackground, ";}"},
    {".all-cats-hover .link .title{color:", allCatsHoverText, ";}"},
    {".popup-content .cats-tree .cat-hd-hover{background:", level2HoverBackground, ";}"},
    {".popup-content .cat-hd-hover .cat-name{color:", level2HoverText, ";}"},
    {".popup-content .cats-tree .snd-cat-hd-hover{background:", level3HoverBackground, ";}"},
    {".popup-content .cats-tree .snd-cat-hd-hover .cat-name{color:", level3HoverText, ";}"},
    {".skin-box-bd .menu-list .menu-selected .link{background:", selectedBackground, ";}"},
    {".skin-box-bd .menu-list .menu-selected .link .title{background:none;color:", selectedText, ";}"},
    {".popup-inner .cats-tree .fst-cat{border-top:solid 1px ", level2Background, ";}"},
    {".popup-content .cats-tree{margin:0 0 ", level2BottomSpace, "px 0;}"},
    {".all-cats .link .popup-icon{background:url(", allCatsIconUrl, ");}"},
    {".menu-list .link .popup-icon{background:url(", level1IconUrl, ");}"},
    {".menu-list .menu{margin:0;padding:0px ", menuSidePadding, "px;}"},
};

// A colour slot is read just before its line, so the text shows the picker at that moment.
std::string slotValue(Form& form, NavSlot slot) {
    if (NavStyle::binding(slot).isColour) return cssColourText(NavStyle::readColour(form, slot));
    return NavStyle::readText(form, slot);
}

} // namespace

std::span<const NavRule> navigationRules() { return rules; }

std::string buildNavigationCss(Form& form) {
    std::string css;
    for (const NavRule& rule : rules) {
        css += rule.before;
        css += slotValue(form, rule.slot);
        css += rule.after;
        css += lineEnd;
    }
    return css;
}

void generateNavigationCss(Form& form, std::string_view) {
    // Built apart and written once: rewriting the box per rule costs 22 full
    // rewrites for nothing, since no event can come between the steps.
    form.setText(outputBox, buildNavigationCss(form));
}

void copyNavigationCss(Form& form, std::string_view) { copyBoxToClipboard(form, outputBox); }

void appendRule(Form& form, std::string_view before, std::string_view value, std::string_view after) {
    std::string text = form.text(outputBox);
    text.reserve(text.size() + before.size() + value.size() + after.size() + lineEnd.size());
    text += before;
    text += value;
    text += after;
    text += lineEnd;
    form.setText(outputBox, text);
}
