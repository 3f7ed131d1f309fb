#include "ui/layout.h"

#include <iterator>

namespace layout {

namespace {

constexpr Colour black = rgb(0x00, 0x00, 0x00);
constexpr Colour white = rgb(0xFF, 0xFF, 0xFF);
constexpr Colour red = rgb(0xFF, 0x00, 0x00);
constexpr Colour blue = rgb(0x00, 0x60, 0xC0);
constexpr Colour orangeBrown = rgb(0xC0, 0x60, 0x00);
constexpr Colour purple = rgb(0x90, 0x00, 0xFF);

constexpr Font gui = {};
constexpr Font tileFont = {"宋体", -14, 700};
constexpr Font groupCaptionFont = {"微软雅黑", -16, 400};
constexpr Font descriptionFont = {"微软雅黑", -12, 400};

// Label of the colour grid: black, GUI font, left, single line.
constexpr Control gridLabel(const char* name, const char* parent, int page, int x, int y, int w, int id,
                            const char* text) {
    return {name, Kind::TransLabel, parent, page, x, y, w, 24, id, text, black};
}
constexpr Control picker(const char* name, const char* parent, int page, int x, int y, int id) {
    return {name, Kind::ColorPicker, parent, page, x, y, 64, 24, id};
}
constexpr Control shape(const char* name, int x, int y, int id) {
    return {name, Kind::ShapeBox, "分组框1", 0, x, y, 120, 32, id, "", black};
}
constexpr Control tileLabel(const char* name, int x, int y, int id, const char* text) {
    return {name, Kind::TransLabel, "分组框1", 0, x, y, 64, 16, id, text, white, tileFont, Align::Centre};
}
constexpr Control hint(const char* name, const char* parent, int page, int x, int y, int w, int h, int id,
                       const char* text, Colour colour, bool wrap = false) {
    Control c{name, Kind::TransLabel, parent, page, x, y, w, h, id, text, colour};
    c.wordWrap = wrap;
    return c;
}
constexpr Control button(const char* name, const char* parent, int page, int x, int y, int id, const char* text) {
    return {name, Kind::Button, parent, page, x, y, 80, 32, id, text};
}
constexpr Control edit(const char* name, const char* parent, int page, int x, int y, int w, int h, int id,
                       const char* text, bool multiLine) {
    Control c{name, Kind::EditBox, parent, page, x, y, w, h, id, text};
    c.multiLine = multiLine;
    return c;
}
constexpr Control integerBox(const char* name, int x, int y, int id, int limit) {
    Control c{name, Kind::EditBox, "分组框1", 0, x, y, 80, 24, id, ""};
    c.align = Align::Centre;
    c.integerLimit = limit;
    return c;
}
constexpr Control picture(const char* name, const char* parent, int page, int x, int y, int w, int h, int id,
                          Picture pic, bool stretch) {
    Control c{name, Kind::PicBox, parent, page, x, y, w, h, id};
    c.picture = pic;
    c.stretch = stretch;
    return c;
}
constexpr Control groupBox(const char* name, int page, int x, int y, int w, int h, int id, const char* caption) {
    return {name, Kind::GroupBox, "选择夹1", page, x, y, w, h, id, caption, blue, groupCaptionFont, Align::Centre};
}
constexpr Control withCursor(Control c, Cursor cursor) {
    c.cursor = cursor;
    return c;
}

constexpr const char* description =
    "①软件名称：Quorvel\r\n\r\n"
    "②软件前言：本软件专为淘宝店铺设计师打造，让大家装修店铺更快捷、更高效，"
    "以后还会陆续加入更多功能，请大家多多支持！\r\n\r\n"
    "③软件注明：注明：个别杀毒软件可能会对本软件误报，如有顾虑请不要下载和使用。\r\n\r\n"
    "④作者承诺：本软件安全,绿色,快捷!";

constexpr Control describedControl() {
    Control c{"透明标签27", Kind::TransLabel, "分组框2", 0, 24, 40, 688, 144, 3401, description, orangeBrown,
              descriptionFont};
    c.wordWrap = true;
    c.relief = true;
    return c;
}

constexpr Control table[] = {
    {mainWindowName, Kind::Window, "", 0, 50, 50, 764, 533, 0, mainWindowTitle},
    {tabControlName, Kind::Tab, mainWindowName, 0, 0, 0, 760, 512, 1000},

    // Page 1, on the tab control.
    withCursor(hint("透明标签29", tabControlName, 1, 704, 488, 48, 16, 1101, "检查更新", red), Cursor::Hand),
    hint("透明标签31", tabControlName, 1, 8, 488, 96, 16, 1102, "Tamsolen - BY", blue),
    gridLabel("透明标签1", tabControlName, 1, 24, 136, 96, 1103, "所有分类背景颜色"),
    picker("颜色选择器1", tabControlName, 1, 128, 136, 1104),
    picker("颜色选择器2", tabControlName, 1, 128, 160, 1105),
    edit("编辑框1", tabControlName, 1, 400, 120, 240, 344, 1106, "", true),
    button("按钮1", tabControlName, 1, 656, 384, 1107, "CSS生成"),
    button("按钮2", tabControlName, 1, 656, 432, 1108, "一键复制"),
    {"分组框1", Kind::GroupBox, tabControlName, 1, 8, 24, 744, 456, 1109, "", blue, groupCaptionFont, Align::Centre},

    // Inside "分组框1", in layout (and stacking) order.
    tileLabel("透明标签26", 536, 56, 1201, "三级分类"),
    tileLabel("透明标签25", 416, 56, 1202, "二级分类"),
    tileLabel("透明标签24", 536, 24, 1203, "一级分类"),
    tileLabel("透明标签23", 416, 24, 1204, "所有分类"),
    shape("外形框5", 512, 48, 1205),
    shape("外形框4", 392, 48, 1206),
    shape("外形框2", 512, 16, 1207),
    shape("外形框1", 392, 16, 1208),
    hint("透明标签28", "分组框1", 0, 112, 336, 192, 16, 1209, "2级分类栏多余空间设置0为取消多余", orangeBrown, true),
    integerBox("编辑框5", 16, 328, 1210, 3),
    button("按钮4", "分组框1", 0, 112, 408, 1211, "作者QQ"),
    button("按钮3", "分组框1", 0, 16, 408, 1212, "作者店铺"),
    hint("透明标签22", "分组框1", 0, 112, 376, 152, 16, 1213, "导航宽度增加建议不超过20", orangeBrown, true),
    integerBox("编辑框4", 16, 368, 1214, 2),
    hint("透明标签21", "分组框1", 0, 16, 296, 360, 24, 1215, "输入下拉菜单图标地址,不设置请留空,后缀为png or gif.",
         orangeBrown),
    edit("编辑框3", "分组框1", 0, 144, 272, 232, 24, 1216, "http://XX.gif", false),
    edit("编辑框2", "分组框1", 0, 144, 240, 232, 24, 1217, "http://XX.png", false),
    hint("透明标签20", "分组框1", 0, 16, 272, 120, 24, 1218, "一级分类下拉菜单按钮", black),
    hint("透明标签19", "分组框1", 0, 16, 240, 120, 24, 1219, "所有分类下拉菜单按钮", black),
    picker("颜色选择器18", "分组框1", 0, 312, 208, 1220),
    gridLabel("透明标签18", "分组框1", 0, 208, 208, 96, 1221, "激活以后文字颜色"),
    picker("颜色选择器17", "分组框1", 0, 120, 208, 1222),
    gridLabel("透明标签17", "分组框1", 0, 16, 208, 96, 1223, "激活以后背景颜色"),
    picker("颜色选择器16", "分组框1", 0, 312, 184, 1224),
    picker("颜色选择器15", "分组框1", 0, 312, 160, 1225),
    picker("颜色选择器14", "分组框1", 0, 312, 136, 1226),
    picker("颜色选择器5", "分组框1", 0, 312, 112, 1227),
    gridLabel("透明标签16", "分组框1", 0, 208, 184, 96, 1228, "三级滑过文字颜色"),
    gridLabel("透明标签15", "分组框1", 0, 208, 160, 96, 1229, "三级滑过背景颜色"),
    gridLabel("透明标签14", "分组框1", 0, 208, 136, 96, 1230, "三级分类文字颜色"),
    gridLabel("透明标签7", "分组框1", 0, 208, 112, 96, 1231, "三级分类背景颜色"),
    picker("颜色选择器13", "分组框1", 0, 312, 88, 1232),
    picker("颜色选择器12", "分组框1", 0, 312, 64, 1233),
    gridLabel("透明标签13", "分组框1", 0, 208, 88, 96, 1234, "二级滑过文字颜色"),
    gridLabel("透明标签12", "分组框1", 0, 208, 64, 96, 1235, "二级滑过背景颜色"),
    picker("颜色选择器11", "分组框1", 0, 312, 40, 1236),
    gridLabel("透明标签9", "分组框1", 0, 208, 40, 96, 1237, "二级分类文字颜色"),
    picker("颜色选择器10", "分组框1", 0, 312, 16, 1238),
    gridLabel("透明标签5", "分组框1", 0, 208, 16, 96, 1239, "二级分类背景颜色"),
    picker("颜色选择器9", "分组框1", 0, 120, 184, 1240),
    gridLabel("透明标签3", "分组框1", 0, 16, 184, 96, 1241, "所有滑过文字颜色"),
    picker("颜色选择器8", "分组框1", 0, 120, 160, 1242),
    picker("颜色选择器7", "分组框1", 0, 120, 88, 1243),
    gridLabel("透明标签11", "分组框1", 0, 16, 160, 96, 1244, "所有滑过背景颜色"),
    gridLabel("透明标签10", "分组框1", 0, 16, 88, 112, 1245, "一级滑过文字颜色"),
    picker("颜色选择器6", "分组框1", 0, 120, 64, 1246),
    gridLabel("透明标签8", "分组框1", 0, 16, 64, 112, 1247, "一级滑过背景颜色"),
    picker("颜色选择器4", "分组框1", 0, 120, 40, 1248),
    gridLabel("透明标签6", "分组框1", 0, 16, 40, 104, 1249, "一级分类文字颜色"),
    picker("颜色选择器3", "分组框1", 0, 120, 16, 1250),
    gridLabel("透明标签4", "分组框1", 0, 16, 16, 104, 1251, "一级分类背景颜色"),
    gridLabel("透明标签2", "分组框1", 0, 16, 136, 96, 1252, "所有分类文字颜色"),

    // Page 2, on the tab control.
    button("按钮6", tabControlName, 2, 664, 456, 2101, "一键复制"),
    button("按钮5", tabControlName, 2, 664, 416, 2102, "CSS生成"),
    edit("编辑框7", tabControlName, 2, 328, 416, 320, 72, 2103, "", true),
    hint("透明标签35", tabControlName, 2, 328, 384, 264, 16, 2104, "注：输入需要置固定背景的图片", orangeBrown),
    hint("透明标签34", tabControlName, 2, 328, 328, 416, 16, 2105,
         "图片地址：                                         最佳尺寸1920*950px", orangeBrown),
    edit("编辑框6", tabControlName, 2, 328, 352, 416, 24, 2106, "", false),
    hint("透明标签33", tabControlName, 2, 168, 208, 152, 16, 2107, "代码放在导航-显示设置区→", orangeBrown),
    picture("图片框3", tabControlName, 2, 328, 24, 424, 288, 2108, Picture::C, true),
    hint("透明标签32", tabControlName, 2, 24, 264, 256, 16, 2109, "↓页面设置-页面背景色取消显示-背景图设置无",
         orangeBrown),
    hint("透明标签30", tabControlName, 2, 24, 208, 64, 16, 2110, "↑样式管理", orangeBrown),
    picture("图片框2", tabControlName, 2, 8, 288, 304, 200, 2111, Picture::B, true),
    picture("图片框1", tabControlName, 2, 8, 24, 304, 176, 2112, Picture::A, true),

    // Page 3, on the tab control.
    groupBox("分组框3", 3, 16, 48, 728, 232, 3101, "友情链接"),
    groupBox("分组框2", 3, 16, 296, 728, 184, 3102, "软件详情说明"),

    // Inside "分组框3".
    withCursor(hint("透明标签36", "分组框3", 0, 632, 208, 96, 16, 3201, "我要出现在这里?", purple), Cursor::Help),
    picture("图片框5", "分组框3", 0, 16, 24, 88, 31, 3202, Picture::D, false),
    picture("图片框4", "分组框3", 0, 16, 64, 88, 31, 3203, Picture::E, false),

    // Inside "分组框2".
    describedControl(),
};

constexpr const char* captions[] = {"导航CSS代码生成", "固定背景代码生成", "软件详情"};

} // namespace

std::span<const Control> controls() { return table; }

std::span<const char* const> tabCaptions() { return captions; }

const Control* find(std::string_view name) {
    for (const Control& c : table)
        if (name == c.name) return &c;
    return nullptr;
}

} // namespace layout
