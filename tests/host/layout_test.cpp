#include "ui/layout.h"

#include "ui/bindings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> childrenOf(std::string_view parent, int page = -1) {
    std::vector<std::string> names;
    for (const layout::Control& c : layout::controls())
        if (parent == c.parent && (page < 0 || c.page == page)) names.emplace_back(c.name);
    return names;
}

} // namespace

TEST(Layout, NamesAndIdsAreUniqueAndParentsComeFirst) {
    std::set<std::string> seen;
    std::set<int> ids;
    const auto controls = layout::controls();
    ASSERT_FALSE(controls.empty());
    EXPECT_STREQ(controls[0].name, "窗口");
    EXPECT_EQ(controls[0].kind, layout::Kind::Window);
    for (const layout::Control& c : controls) {
        EXPECT_TRUE(seen.insert(c.name).second) << "duplicate name " << c.name;
        EXPECT_TRUE(ids.insert(c.id).second) << "duplicate ID " << c.id << " of " << c.name;
        if (&c == &controls[0]) continue;
        EXPECT_TRUE(seen.contains(c.parent)) << c.name << " comes before its parent " << c.parent;
        const layout::Control* parent = layout::find(c.parent);
        ASSERT_NE(parent, nullptr) << c.name;
        const bool onTab = parent->kind == layout::Kind::Tab;
        EXPECT_EQ(c.page != 0, onTab) << c.name << ": only the tab control's children have a page";
        EXPECT_EQ(layout::find(c.name), &c);
    }
    EXPECT_EQ(layout::find("颜色选择器19"), nullptr);
}

TEST(Layout, PagesHoldTheirControlsInLayoutOrder) {
    ASSERT_EQ(layout::tabCaptions().size(), 3u);
    EXPECT_STREQ(layout::tabCaptions()[0], "导航CSS代码生成");
    EXPECT_STREQ(layout::tabCaptions()[1], "固定背景代码生成");
    EXPECT_STREQ(layout::tabCaptions()[2], "软件详情");

    EXPECT_EQ(childrenOf("窗口"), std::vector<std::string>{"选择夹1"});
    // One list in which the pages follow each other.
    EXPECT_EQ(childrenOf("选择夹1"),
              (std::vector<std::string>{"透明标签29", "透明标签31", "透明标签1", "颜色选择器1", "颜色选择器2",
                                        "编辑框1", "按钮1", "按钮2", "分组框1", "按钮6", "按钮5", "编辑框7",
                                        "透明标签35", "透明标签34", "编辑框6", "透明标签33", "图片框3",
                                        "透明标签32", "透明标签30", "图片框2", "图片框1", "分组框3", "分组框2"}));
    EXPECT_EQ(childrenOf("选择夹1", 1).size(), 9u);
    EXPECT_EQ(childrenOf("选择夹1", 2).size(), 12u);
    EXPECT_EQ(childrenOf("选择夹1", 3), (std::vector<std::string>{"分组框3", "分组框2"}));

    EXPECT_EQ(childrenOf("分组框1"),
              (std::vector<std::string>{
                  "透明标签26", "透明标签25", "透明标签24", "透明标签23", "外形框5", "外形框4", "外形框2",
                  "外形框1", "透明标签28", "编辑框5", "按钮4", "按钮3", "透明标签22", "编辑框4", "透明标签21",
                  "编辑框3", "编辑框2", "透明标签20", "透明标签19", "颜色选择器18", "透明标签18", "颜色选择器17",
                  "透明标签17", "颜色选择器16", "颜色选择器15", "颜色选择器14", "颜色选择器5", "透明标签16",
                  "透明标签15", "透明标签14", "透明标签7", "颜色选择器13", "颜色选择器12", "透明标签13",
                  "透明标签12", "颜色选择器11", "透明标签9", "颜色选择器10", "透明标签5", "颜色选择器9",
                  "透明标签3", "颜色选择器8", "颜色选择器7", "透明标签11", "透明标签10", "颜色选择器6", "透明标签8",
                  "颜色选择器4", "透明标签6", "颜色选择器3", "透明标签4", "透明标签2"}));
    EXPECT_EQ(childrenOf("分组框3"), (std::vector<std::string>{"透明标签36", "图片框5", "图片框4"}));
    EXPECT_EQ(childrenOf("分组框2"), std::vector<std::string>{"透明标签27"});
}

TEST(Layout, TileLabelsLieInsideAndAboveTheirTiles) {
    const std::pair<const char*, const char*> tiles[] = {
        {"外形框1", "透明标签23"}, {"外形框2", "透明标签24"}, {"外形框4", "透明标签25"}, {"外形框5", "透明标签26"}};
    for (auto [tileName, labelName] : tiles) {
        const layout::Control* tile = layout::find(tileName);
        const layout::Control* label = layout::find(labelName);
        ASSERT_TRUE(tile && label) << tileName;
        EXPECT_EQ(tile->kind, layout::Kind::ShapeBox);
        EXPECT_EQ(label->kind, layout::Kind::TransLabel);
        EXPECT_STREQ(tile->parent, label->parent);
        EXPECT_GE(label->x, tile->x) << labelName;
        EXPECT_GE(label->y, tile->y) << labelName;
        EXPECT_LE(label->x + label->width, tile->x + tile->width) << labelName;
        EXPECT_LE(label->y + label->height, tile->y + tile->height) << labelName;
        EXPECT_LT(label, tile) << labelName << " must come first to lie above " << tileName;
    }
}

TEST(Layout, EveryBoundControlExistsWithAKindThatHasTheEvent) {
    using bindings::Event;
    std::set<std::pair<std::string, Event>> pairs;
    for (const bindings::Binding& b : bindings::all()) {
        EXPECT_TRUE(pairs.emplace(b.control, b.event).second) << "bound twice: " << b.control;
        EXPECT_EQ(bindings::find(b.control, b.event), b.handler) << b.control;
        const layout::Control* c = layout::find(b.control);
        ASSERT_NE(c, nullptr) << b.control;
        switch (b.event) {
        case Event::Created: EXPECT_EQ(c->kind, layout::Kind::Window) << b.control; break;
        case Event::Clicked: EXPECT_EQ(c->kind, layout::Kind::Button) << b.control; break;
        case Event::MouseMoved:
            EXPECT_TRUE(c->kind == layout::Kind::Window || c->kind == layout::Kind::ShapeBox) << b.control;
            break;
        case Event::LeftButtonDown:
            EXPECT_TRUE(c->kind == layout::Kind::TransLabel || c->kind == layout::Kind::PicBox) << b.control;
            break;
        }
    }
    EXPECT_EQ(pairs.size(), 16u);
    EXPECT_EQ(bindings::find("按钮1", Event::LeftButtonDown), nullptr);
    EXPECT_EQ(bindings::find("透明标签23", Event::MouseMoved), nullptr);
}
