// The background and details pages through the real window: every control
// at its place with its text, the colours and pictures on the screen, page
// switching, and the fixed-background CSS with its copy. Expected values are
// written out here from the design's tables, not read from the program's own.
#include "driver.h"

#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef QUORVEL_ASSETS
#error "QUORVEL_ASSETS names the folder of the program's pictures"
#endif
#ifndef QUORVEL_BROKEN_PICTURES_EXE
#error "QUORVEL_BROKEN_PICTURES_EXE names the program built with broken pictures"
#endif

using namespace driver;

namespace {

struct Expected {
    const char* name;
    const char* parent;
    int x, y, width, height;
    const char* text; // nullptr: not checked
};

const std::string addressLabel = "图片地址：" + std::string(41, ' ') + "最佳尺寸1920*950px";

const std::string description =
    "①软件名称：Quorvel\r\n\r\n"
    "②软件前言：本软件专为淘宝店铺设计师打造，让大家装修店铺更快捷、更高效，以后还会陆续加入更多功能，请大家多多支持！\r\n\r\n"
    "③软件注明：注明：个别杀毒软件可能会对本软件误报，如有顾虑请不要下载和使用。\r\n\r\n"
    "④作者承诺：本软件安全,绿色,快捷!";

// Page 2, in layout order, all on the tab control.
const Expected pageTwo[] = {
    {"按钮6", "选择夹1", 664, 456, 80, 32, "一键复制"},
    {"按钮5", "选择夹1", 664, 416, 80, 32, "CSS生成"},
    {"编辑框7", "选择夹1", 328, 416, 320, 72, ""},
    {"透明标签35", "选择夹1", 328, 384, 264, 16, "注：输入需要置固定背景的图片"},
    {"透明标签34", "选择夹1", 328, 328, 416, 16, addressLabel.c_str()},
    {"编辑框6", "选择夹1", 328, 352, 416, 24, ""},
    {"透明标签33", "选择夹1", 168, 208, 152, 16, "代码放在导航-显示设置区→"},
    {"图片框3", "选择夹1", 328, 24, 424, 288, nullptr},
    {"透明标签32", "选择夹1", 24, 264, 256, 16, "↓页面设置-页面背景色取消显示-背景图设置无"},
    {"透明标签30", "选择夹1", 24, 208, 64, 16, "↑样式管理"},
    {"图片框2", "选择夹1", 8, 288, 304, 200, nullptr},
    {"图片框1", "选择夹1", 8, 24, 304, 176, nullptr},
};

// Page 3: its two groups on the tab control, then what lies inside them.
const Expected pageThree[] = {
    {"分组框3", "选择夹1", 16, 48, 728, 232, "友情链接"},
    {"分组框2", "选择夹1", 16, 296, 728, 184, "软件详情说明"},
    {"透明标签36", "分组框3", 632, 208, 96, 16, "我要出现在这里?"},
    {"图片框5", "分组框3", 16, 24, 88, 31, nullptr},
    {"图片框4", "分组框3", 16, 64, 88, 31, nullptr},
    {"透明标签27", "分组框2", 24, 40, 688, 144, description.c_str()},
};

const char* const pageOneOnTab[] = {"透明标签29", "透明标签31", "透明标签1", "颜色选择器1", "颜色选择器2",
                                    "编辑框1",    "按钮1",      "按钮2",     "分组框1"};

constexpr COLORREF orangeBrown = RGB(0xC0, 0x60, 0x00);
constexpr COLORREF purple = RGB(0x90, 0x00, 0xFF);
constexpr COLORREF blue = RGB(0x00, 0x60, 0xC0);
constexpr COLORREF white = RGB(0xFF, 0xFF, 0xFF);

void expectPlaces(const App& app, const Expected* table, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const Expected& e = table[i];
        SCOPED_TRACE(e.name);
        HWND c = app.control(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(visible(c));
        EXPECT_EQ(GetParent(c), app.control(e.parent));
        RECT r = placeInParent(c);
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.width);
        EXPECT_EQ(r.bottom - r.top, e.height);
        if (e.text) {
            EXPECT_EQ(text(c), e.text);
        }
    }
}

// Each control of the list lies above the ones after it.
void expectStacking(const App& app, const Expected* table, size_t n) {
    for (size_t i = 0; i + 1 < n; ++i) {
        if (std::string(table[i].parent) != table[i + 1].parent) continue;
        HWND upper = app.control(table[i].name), lower = app.control(table[i + 1].name);
        bool found = false;
        for (HWND w = GetWindow(upper, GW_HWNDNEXT); w && !found; w = GetWindow(w, GW_HWNDNEXT)) found = w == lower;
        EXPECT_TRUE(found) << table[i].name << " lies above " << table[i + 1].name;
    }
}

Image pictureFile(const char* name) {
    std::ifstream in(std::string(QUORVEL_ASSETS) + "\\pictures\\" + name, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto image = decodeJpeg(bytes);
    return image ? *image : Image{};
}

COLORREF at(const Image& image, int x, int y) {
    std::uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// Sample points over the whole box match the picture as the box shows it.
::testing::AssertionResult showsPicture(HWND box, const Image& shown) {
    Snapshot s(box);
    if (s.width() != shown.width || s.height() != shown.height)
        return ::testing::AssertionFailure() << "box " << s.width() << "x" << s.height() << ", picture " << shown.width
                                             << "x" << shown.height;
    int checked = 0, wrong = 0;
    for (int j = 0; j < 9; ++j)
        for (int i = 0; i < 13; ++i) {
            int x = 1 + i * (shown.width - 3) / 12, y = 1 + j * (shown.height - 3) / 8;
            ++checked;
            wrong += !closeTo(s.at(x, y), at(shown, x, y), 10);
        }
    if (wrong > 0) return ::testing::AssertionFailure() << wrong << " of " << checked << " sample points differ";
    return ::testing::AssertionSuccess();
}

// A box showing no picture: one colour throughout, the page below.
bool blank(HWND box) {
    Snapshot s(box);
    return s.width() > 0 && s.count(s.at(0, 0)) == s.width() * s.height();
}

std::string backgroundRule(const std::string& address) {
    return "body{background-image:url(" + address +
           ");background-repeat:no-repeat;background-position:center;background-attachment:fixed;}";
}

void replaceText(HWND edit, const std::wstring& text) {
    click(edit);
    key(VK_CONTROL, true);
    press(VK_END);
    key(VK_SHIFT, true);
    press(VK_HOME);
    key(VK_SHIFT, false);
    key(VK_CONTROL, false);
    press(VK_DELETE);
    typeText(text);
}



} // namespace

TEST(BackgroundPage, EveryControlStandsAtItsPlaceWithItsText) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 2);
    expectPlaces(app, pageTwo, std::size(pageTwo));
    expectStacking(app, pageTwo, std::size(pageTwo));
    EXPECT_EQ(text(app.control("透明标签34")).size(), std::string("图片地址：").size() + 41 + std::string("最佳尺寸1920*950px").size());
    for (const char* hint : {"透明标签35", "透明标签34", "透明标签33", "透明标签32", "透明标签30"})
        EXPECT_TRUE(Snapshot(app.control(hint)).contains(orangeBrown)) << hint;
}

TEST(BackgroundPage, ThePicturesAreStretchedToTheirBoxes) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 2);
    struct Case {
        const char* box;
        const char* file;
        int width, height;      // of the picture
        int boxWidth, boxHeight;
    } cases[] = {
        {"图片框1", "a.jpg", 400, 220, 304, 176},
        {"图片框2", "b.jpg", 455, 300, 304, 200},
        {"图片框3", "c.jpg", 650, 505, 424, 288},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Image picture = pictureFile(c.file);
        ASSERT_EQ(picture.width, c.width);
        ASSERT_EQ(picture.height, c.height);
        EXPECT_TRUE(showsPicture(app.control(c.box), scaleSmooth(picture, c.boxWidth, c.boxHeight)));
    }
}

TEST(DetailsPage, EveryControlStandsAtItsPlaceWithItsText) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 3);
    expectPlaces(app, pageThree, std::size(pageThree));
    expectStacking(app, pageThree, std::size(pageThree));
    // The description: four paragraphs, an empty line between them, no line end after the last.
    std::string d = text(app.control("透明标签27"));
    EXPECT_EQ(d.rfind("①软件名称：Quorvel\r\n\r\n②软件前言：", 0), 0u);
    EXPECT_NE(d.find("\r\n\r\n③软件注明：注明："), std::string::npos);
    EXPECT_NE(d.find("\r\n\r\n④作者承诺：本软件安全,绿色,快捷!"), std::string::npos);
    EXPECT_NE(d.back(), '\n');
}

TEST(DetailsPage, ColoursBannersAndTheHelpCursorOnScreen) {
    App app;
    ASSERT_TRUE(app.started());
    // The hand over the update link, for comparison, while page 1 is shown.
    HCURSOR hand = cursorShownOver(app.control("透明标签29"));
    switchToPage(app, 3);
    EXPECT_TRUE(Snapshot(app.control("透明标签36")).contains(purple));
    for (const char* group : {"分组框3", "分组框2"}) {
        // The caption sits centred in the top edge.
        RECT r = screenRect(app.control(group));
        int middle = (r.left + r.right) / 2;
        EXPECT_TRUE(Snapshot(RECT{middle - 60, r.top, middle + 60, r.top + 22}).contains(blue)) << group;
        EXPECT_FALSE(Snapshot(RECT{r.left + 4, r.top, r.left + 120, r.top + 22}).contains(blue)) << group;
    }

    // The banners at their own size in the top-left corner of their boxes.
    EXPECT_TRUE(showsPicture(app.control("图片框5"), pictureFile("d.jpg")));
    EXPECT_TRUE(showsPicture(app.control("图片框4"), pictureFile("e.jpg")));

    // Cursor handles are the program's, so the help cursor is told apart from the others.
    HCURSOR arrow = cursorShownOver(app.control("透明标签27"));
    HCURSOR help = cursorShownOver(app.control("透明标签36"));
    ASSERT_NE(help, nullptr);
    EXPECT_NE(help, arrow);
    EXPECT_NE(help, hand);
    EXPECT_EQ(cursorShownOver(app.control("图片框4")), arrow);
    EXPECT_EQ(cursorShownOver(app.control("透明标签36")), help);
    switchToPage(app, 2);
    HCURSOR ibeam = cursorShownOver(app.control("编辑框6"));
    EXPECT_NE(help, ibeam);
}

TEST(DetailsPage, TheDescriptionIsDrawnWithItsWhiteRelief) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 3);
    // The description's relief: white one pixel right of and below the text.
    Snapshot label(app.control("透明标签27"));
    // The page, where no text reaches: the top right corner (the label's bottom
    // row lies on the group box's frame, which shows through it).
    const COLORREF page = label.at(label.width() - 1, 0);
    // Text edges are smoothed, so only fully covered pixels are looked at: right
    // and below each of them lies the white copy (or more text), never the bare page.
    int text = 0, unshadowed = 0, whites = 0, whitesBelowText = 0;
    for (int y = 0; y + 1 < label.height(); ++y)
        for (int x = 0; x + 1 < label.width(); ++x) {
            if (label.at(x, y) == orangeBrown) {
                ++text;
                unshadowed += label.at(x + 1, y + 1) == page;
            }
            if (x > 0 && y > 0 && label.at(x, y) == white) {
                ++whites;
                whitesBelowText += label.at(x - 1, y - 1) != page;
            }
        }
    EXPECT_GT(text, 200);
    ASSERT_NE(page, white) << "the page below the description is white, so its white relief cannot be seen";
    EXPECT_GT(whites, text / 4);
    EXPECT_EQ(unshadowed, 0);
    EXPECT_EQ(whitesBelowText, whites);
}

TEST(Pages, SwitchingShowsOnlyTheSelectedPage) {
    App app;
    ASSERT_TRUE(app.started());
    auto expectShown = [&](int page) {
        SCOPED_TRACE(page);
        for (const char* name : pageOneOnTab) EXPECT_EQ(visible(app.control(name)), page == 1) << name;
        for (const Expected& e : pageTwo) EXPECT_EQ(visible(app.control(e.name)), page == 2) << e.name;
        for (const Expected& e : pageThree) EXPECT_EQ(visible(app.control(e.name)), page == 3) << e.name;
    };
    expectShown(1);
    for (int page : {2, 3, 2, 1, 3, 1}) {
        switchToPage(app, page);
        expectShown(page);
    }
    // What a hidden page covered is repainted: where picture C lay, page 3 shows its bare page.
    switchToPage(app, 2);
    switchToPage(app, 3);
    HWND tab = app.control("选择夹1");
    POINT p{600, 36}, q{600, 290};
    ClientToScreen(tab, &p);
    ClientToScreen(tab, &q);
    EXPECT_EQ(Snapshot(RECT{p.x - 100, p.y - 6, p.x + 100, p.y + 6}).count(pixel(q.x, q.y)), 200 * 12);
}

TEST(BackgroundCss, GeneratesOneRuleReplacingTheBoxAndCopiesIt) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 2);
    HWND address = app.control("编辑框6"), output = app.control("编辑框7");
    const std::wstring typed = L"http://img.example/背景 \"1\" (x).jpg";
    replaceText(address, typed);
    click(output);
    typeText(L"typed before");
    click(app.control("按钮5"));
    const std::string rule = backgroundRule(narrow(typed));
    EXPECT_EQ(text(output), rule);
    EXPECT_EQ(rule.size(), 112 + narrow(typed).size());
    click(app.control("按钮5"));
    EXPECT_EQ(text(output), rule);

    setClipboardUnicode(L"left by someone else");
    copyAndConfirm(app, "按钮6");
    ClipboardBlock ansi = clipboardBlock(CF_TEXT), unicode = clipboardBlock(CF_UNICODETEXT);
    ASSERT_TRUE(ansi.present && unicode.present);
    EXPECT_TRUE(ansi.bytes == inCodePage936(rule));
    EXPECT_EQ(narrow(clipboardUnicode()), rule);

    // An empty box copies an empty text.
    replaceText(output, L"");
    ASSERT_EQ(text(output), "");
    copyAndConfirm(app, "按钮6");
    ansi = clipboardBlock(CF_TEXT);
    unicode = clipboardBlock(CF_UNICODETEXT);
    EXPECT_TRUE(ansi.present);
    EXPECT_EQ(ansi.bytes, "");
    EXPECT_TRUE(unicode.present);
    EXPECT_EQ(unicode.bytes, "");
}

TEST(BackgroundCss, LongLinesWrapWithoutAScrollBar) {
    App app;
    ASSERT_TRUE(app.started());
    switchToPage(app, 2);
    HWND output = app.control("编辑框7");
    replaceText(app.control("编辑框6"), L"http://img.example/" + std::wstring(200, L'a') + L".jpg");
    click(app.control("按钮5"));
    LONG style = GetWindowLongW(output, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL));
    EXPECT_GT(SendMessageW(output, EM_GETLINECOUNT, 0, 0), 3);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    EXPECT_FALSE(GetScrollInfo(output, SB_HORZ, &info) && info.nMax > 0);
}

// A program built with a picture cut short and one that is no JPEG at all:
// those boxes stay empty, the rest of the window works.
TEST(BrokenPictures, LeaveTheirBoxesEmptyWithoutACrash) {
    App app(widen(QUORVEL_BROKEN_PICTURES_EXE));
    ASSERT_TRUE(app.started());
    switchToPage(app, 2);
    EXPECT_TRUE(blank(app.control("图片框1")));
    EXPECT_TRUE(blank(app.control("图片框3")));
    EXPECT_TRUE(showsPicture(app.control("图片框2"), scaleSmooth(pictureFile("b.jpg"), 304, 200)));
    click(app.control("按钮5"));
    EXPECT_EQ(text(app.control("编辑框7")), backgroundRule(""));
    switchToPage(app, 3);
    EXPECT_TRUE(showsPicture(app.control("图片框5"), pictureFile("d.jpg")));
    EXPECT_EQ(WaitForSingleObject(app.process(), 0), WAIT_TIMEOUT);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}
