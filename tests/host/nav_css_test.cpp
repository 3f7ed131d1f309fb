#include "css/nav_css.h"

#include "platform/host/host_form.h"
#include "ui/bindings.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The twenty-five rules at the window's starting values, written out by hand.
const std::string startingCss =
    ".skin-box-bd .menu-list .link{background:#000000;}\r\n"
    ".skin-box-bd .menu-list{background:#000000;}\r\n"
    ".skin-box-bd{background:#000000;}\r\n"
    ".all-cats .link{background:#000000;}\r\n"
    ".menu-list .menu .title{color:#000000;}\r\n"
    ".all-cats .link .title{color:#000000;}\r\n"
    ".popup-content{background:#000000;}\r\n"
    ".popup-content .cat-name{color:#000000;}\r\n"
    ".popup-content .cats-tree .snd-pop-inner{background:#000000;}\r\n"
    ".popup-content .cats-tree .snd-pop-inner .cat-name{color:#000000;}\r\n"
    ".menu-list .menu-hover .link{background:#000000;}\r\n"
    ".menu-list .menu-hover .title{color:#000000;}\r\n"
    ".all-cats-hover .link{background:#000000;}\r\n"
    ".all-cats-hover .link .title{color:#000000;}\r\n"
    ".popup-content .cats-tree .cat-hd-hover{background:#000000;}\r\n"
    ".popup-content .cat-hd-hover .cat-name{color:#000000;}\r\n"
    ".popup-content .cats-tree .snd-cat-hd-hover{background:#000000;}\r\n"
    ".popup-content .cats-tree .snd-cat-hd-hover .cat-name{color:#000000;}\r\n"
    ".skin-box-bd .menu-list .menu-selected .link{background:#000000;}\r\n"
    ".skin-box-bd .menu-list .menu-selected .link .title{background:none;color:#000000;}\r\n"
    ".popup-inner .cats-tree .fst-cat{border-top:solid 1px #000000;}\r\n"
    ".popup-content .cats-tree{margin:0 0 px 0;}\r\n"
    ".all-cats .link .popup-icon{background:url(http://XX.png);}\r\n"
    ".menu-list .link .popup-icon{background:url(http://XX.gif);}\r\n"
    ".menu-list .menu{margin:0;padding:0px px;}\r\n";

// Line n (from 1) of a CR LF text, without its line end.
std::string line(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) start = text.find("\r\n", start) + 2;
    return text.substr(start, text.find("\r\n", start) - start);
}

void clickGenerate(host::HostForm& form) { bindings::find("按钮1", bindings::Event::Clicked)(form, "按钮1"); }

} // namespace

TEST(NavigationCss, StartingValuesGiveTheTwentyFiveRules) {
    ASSERT_EQ(startingCss.size(), 1334u);
    host::HostForm form;
    form.setBoxText("编辑框1", "typed before\r\nby the user");
    clickGenerate(form);
    EXPECT_EQ(form.boxText("编辑框1"), startingCss);
    clickGenerate(form); // the box is replaced, not appended to
    EXPECT_EQ(form.boxText("编辑框1"), startingCss);
}

TEST(NavigationCss, EachPickerFeedsItsOwnLines) {
    host::HostForm form;
    // Picker k holds red k, green 0xA0 + k, blue 0x50: a swapped picker or a
    // swapped byte order shows in the text.
    for (int k = 1; k <= 18; ++k)
        form.setPickerColour("颜色选择器" + std::to_string(k), rgb(k, 0xA0 + k, 0x50));
    form.setBoxText("编辑框2", "http://a.png");
    form.setBoxText("编辑框3", "http://b.gif");
    form.setBoxText("编辑框4", "7");
    form.setBoxText("编辑框5", "12");
    clickGenerate(form);
    EXPECT_EQ(form.boxText("编辑框1"),
              ".skin-box-bd .menu-list .link{background:#03a350;}\r\n"
              ".skin-box-bd .menu-list{background:#03a350;}\r\n"
              ".skin-box-bd{background:#03a350;}\r\n"
              ".all-cats .link{background:#01a150;}\r\n"
              ".menu-list .menu .title{color:#04a450;}\r\n"
              ".all-cats .link .title{color:#02a250;}\r\n"
              ".popup-content{background:#0aaa50;}\r\n"
              ".popup-content .cat-name{color:#0bab50;}\r\n"
              ".popup-content .cats-tree .snd-pop-inner{background:#05a550;}\r\n"
              ".popup-content .cats-tree .snd-pop-inner .cat-name{color:#0eae50;}\r\n"
              ".menu-list .menu-hover .link{background:#06a650;}\r\n"
              ".menu-list .menu-hover .title{color:#07a750;}\r\n"
              ".all-cats-hover .link{background:#08a850;}\r\n"
              ".all-cats-hover .link .title{color:#09a950;}\r\n"
              ".popup-content .cats-tree .cat-hd-hover{background:#0cac50;}\r\n"
              ".popup-content .cat-hd-hover .cat-name{color:#0dad50;}\r\n"
              ".popup-content .cats-tree .snd-cat-hd-hover{background:#0faf50;}\r\n"
              ".popup-content .cats-tree .snd-cat-hd-hover .cat-name{color:#10b050;}\r\n"
              ".skin-box-bd .menu-list .menu-selected .link{background:#11b150;}\r\n"
              ".skin-box-bd .menu-list .menu-selected .link .title{background:none;color:#12b250;}\r\n"
              ".popup-inner .cats-tree .fst-cat{border-top:solid 1px #0aaa50;}\r\n"
              ".popup-content .cats-tree{margin:0 0 12px 0;}\r\n"
              ".all-cats .link .popup-icon{background:url(http://a.png);}\r\n"
              ".menu-list .link .popup-icon{background:url(http://b.gif);}\r\n"
              ".menu-list .menu{margin:0;padding:0px 7px;}\r\n");

    // Nothing is remembered: a picker changed between two clicks shows in the next text.
    form.setPickerColour("颜色选择器3", rgb(0x99, 0x66, 0x33));
    clickGenerate(form);
    EXPECT_EQ(line(form.boxText("编辑框1"), 1), ".skin-box-bd .menu-list .link{background:#996633;}");
    EXPECT_EQ(line(form.boxText("编辑框1"), 3), ".skin-box-bd{background:#996633;}");
}

TEST(NavigationCss, TextSlotsGoInVerbatim) {
    struct Case {
        const char* box;
        const char* value;
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {"编辑框5", "10", 22, ".popup-content .cats-tree{margin:0 0 10px 0;}"},
        {"编辑框4", "-5", 25, ".menu-list .menu{margin:0;padding:0px -5px;}"},
        {"编辑框5", "", 22, ".popup-content .cats-tree{margin:0 0 px 0;}"},
        {"编辑框4", "", 25, ".menu-list .menu{margin:0;padding:0px px;}"},
        {"编辑框2", "", 23, ".all-cats .link .popup-icon{background:url();}"},
        {"编辑框3", "a b).png", 24, ".menu-list .link .popup-icon{background:url(a b).png);}"},
        {"编辑框2", "http://图片.cn/\"x\" ;}.png", 23,
         ".all-cats .link .popup-icon{background:url(http://图片.cn/\"x\" ;}.png);}"},
    };
    for (const Case& c : cases) {
        host::HostForm form;
        form.setBoxText(c.box, c.value);
        clickGenerate(form);
        EXPECT_EQ(line(form.boxText("编辑框1"), c.line), c.expected) << c.box << " = " << c.value;
    }
}

TEST(NavigationCss, ReadsEachSlotOnceForItsLineAndWritesTheBoxOnce) {
    host::HostForm form;
    clickGenerate(form);
    const std::vector<std::string> expected = {
        "colour 颜色选择器3",  "colour 颜色选择器3",  "colour 颜色选择器3",  "colour 颜色选择器1",
        "colour 颜色选择器4",  "colour 颜色选择器2",  "colour 颜色选择器10", "colour 颜色选择器11",
        "colour 颜色选择器5",  "colour 颜色选择器14", "colour 颜色选择器6",  "colour 颜色选择器7",
        "colour 颜色选择器8",  "colour 颜色选择器9",  "colour 颜色选择器12", "colour 颜色选择器13",
        "colour 颜色选择器15", "colour 颜色选择器16", "colour 颜色选择器17", "colour 颜色选择器18",
        "colour 颜色选择器10", "text 编辑框5",        "text 编辑框2",        "text 编辑框3",
        "text 编辑框4",        "setText 编辑框1",
    };
    EXPECT_EQ(form.journal, expected);
    EXPECT_TRUE(form.messages.empty());
    EXPECT_FALSE(form.clipboard);
}

TEST(NavigationCss, AppendRuleJoinsTheBoxTextThePartsAndALineEnd) {
    host::HostForm form;
    form.setBoxText("编辑框1", "a{b:c;}\r\n");
    appendRule(form, ".x{y:", "#0c0b0a", ";}");
    EXPECT_EQ(form.boxText("编辑框1"), "a{b:c;}\r\n.x{y:#0c0b0a;}\r\n");
    appendRule(form, "", "", "");
    EXPECT_EQ(form.boxText("编辑框1"), "a{b:c;}\r\n.x{y:#0c0b0a;}\r\n\r\n");
    EXPECT_EQ(form.journal, (std::vector<std::string>{"text 编辑框1", "setText 编辑框1", "text 编辑框1",
                                                       "setText 编辑框1"}));
}

TEST(NavigationCss, StepByStepFromTheLineTableGivesTheSameText) {
    host::HostForm form;
    form.setBoxText("编辑框1", "");
    for (const NavRule& rule : navigationRules()) {
        const NavSlotBinding& slot = NavStyle::binding(rule.slot);
        const std::string value = slot.isColour ? "#000000" : form.boxText(slot.control);
        appendRule(form, rule.before, value, rule.after);
    }
    EXPECT_EQ(form.boxText("编辑框1"), startingCss);
}
