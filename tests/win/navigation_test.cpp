// The navigation page through the real window: colours picked in the
// drop-down and in the colour dialog, the twenty-five rules in "编辑框1", the
// copy and its clipboard bytes, and the preview tiles following the pointer.
// Expected texts, places and colours are written out here from the design,
// not read from the program's own tables.
#include "driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace driver;

namespace {

// The rules of the navigation CSS as designed: text before and after each value.
const char* const rulesAsDesigned[25][2] = {
    {".skin-box-bd .menu-list .link{background:", ";}"},
    {".skin-box-bd .menu-list{background:", ";}"},
    {".skin-box-bd{background:", ";}"},
    {".all-cats .link{background:", ";}"},
    {".menu-list .menu .title{color:", ";}"},
    {".all-cats .link .title{color:", ";}"},
    {".popup-content{background:", ";}"},
    {".popup-content .cat-name{color:", ";}"},
    {".popup-content .cats-tree .snd-pop-inner{background:", ";}"},
    {".popup-content .cats-tree .snd-pop-inner .cat-name{color:", ";}"},
    {".menu-list .menu-hover .link{background:", ";}"},
    {".menu-list .menu-hover .title{color:", ";}"},
    {".all-cats-hover .link{background:", ";}"},
    {".all-cats-hover .link .title{color:", ";}"},
    {".popup-content .cats-tree .cat-hd-hover{background:", ";}"},
    {".popup-content .cat-hd-hover .cat-name{color:", ";}"},
    {".popup-content .cats-tree .snd-cat-hd-hover{background:", ";}"},
    {".popup-content .cats-tree .snd-cat-hd-hover .cat-name{color:", ";}"},
    {".skin-box-bd .menu-list .menu-selected .link{background:", ";}"},
    {".skin-box-bd .menu-list .menu-selected .link .title{background:none;color:", ";}"},
    {".popup-inner .cats-tree .fst-cat{border-top:solid 1px ", ";}"},
    {".popup-content .cats-tree{margin:0 0 ", "px 0;}"},
    {".all-cats .link .popup-icon{background:url(", ");}"},
    {".menu-list .link .popup-icon{background:url(", ");}"},
    {".menu-list .menu{margin:0;padding:0px ", "px;}"},
};

// The values of lines 1 to 25 at the starting values of the page.
std::vector<std::string> startingValues() {
    std::vector<std::string> v(21, "#000000");
    v.insert(v.end(), {"", "http://XX.png", "http://XX.gif", ""});
    return v;
}

std::string expectedCss(const std::vector<std::string>& values) {
    std::string css;
    for (size_t i = 0; i < 25; ++i) css += std::string(rulesAsDesigned[i][0]) + values[i] + rulesAsDesigned[i][1] + "\r\n";
    return css;
}

// A point given relative to a container's client area ("分组框1", "选择夹1"), on the screen.
POINT on(HWND container, int x, int y) {
    POINT p{x, y};
    ClientToScreen(container, &p);
    return p;
}

void replaceText(HWND edit, const std::wstring& text) {
    click(edit);
    press(VK_END);
    key(VK_SHIFT, true);
    press(VK_HOME);
    key(VK_SHIFT, false);
    press(VK_DELETE);
    typeText(text);
}


std::string asBytes(const std::wstring& wide) {
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}


void expectClipboardHolds(const std::string& utf8) {
    ClipboardBlock ansi = clipboardBlock(CF_TEXT);
    ClipboardBlock unicode = clipboardBlock(CF_UNICODETEXT);
    ASSERT_TRUE(ansi.present);
    ASSERT_TRUE(unicode.present);
    EXPECT_EQ(ansi.bytes.size(), inCodePage936(utf8).size());
    EXPECT_TRUE(ansi.bytes == inCodePage936(utf8));
    EXPECT_TRUE(unicode.bytes == asBytes(widen(utf8)));
}

} // namespace

TEST(NavigationCss, ColoursFromTheDropDownAndTheDialogGoIntoTheirLines) {
    App app;
    ASSERT_TRUE(app.started());
    struct Pick {
        const char* picker;
        int namedIndex;   // -1: through the colour dialog
        COLORREF colour;
    } picks[] = {
        {"颜色选择器3", 2, RGB(0xFF, 0x00, 0x00)},   // level1Background, "红色"
        {"颜色选择器1", 19, RGB(0xFF, 0xD7, 0x00)},  // allCatsBackground, "金色" in the second column
        {"颜色选择器18", 7, RGB(0x00, 0x00, 0x80)},  // selectedText, "海军蓝"
        {"颜色选择器10", -1, RGB(0x99, 0x66, 0x33)}, // level2Background
        {"颜色选择器14", -1, RGB(0x0C, 0x0B, 0x0A)}, // level3Text
    };
    for (const Pick& p : picks) {
        SCOPED_TRACE(p.picker);
        HWND picker = app.control(p.picker);
        ASSERT_TRUE(p.namedIndex >= 0 ? pickNamedColour(picker, p.namedIndex)
                                      : pickColourInDialog(app.processId(), picker, p.colour));
        EXPECT_TRUE(waitUntil([&] { return swatchColour(picker) == p.colour; }, 1000));
    }
    click(app.control("按钮1"));
    std::vector<std::string> values = startingValues();
    values[0] = values[1] = values[2] = "#ff0000";
    values[3] = "#ffd700";
    values[19] = "#000080";
    values[6] = values[20] = "#996633";
    values[9] = "#0c0b0a";
    EXPECT_EQ(text(app.control("编辑框1")), expectedCss(values));
}

TEST(NavigationCss, PixelBoxesAreRewrittenBeforeTheClickAndASecondClickGivesTheSameLines) {
    App app;
    ASSERT_TRUE(app.started());
    HWND output = app.control("编辑框1");
    click(output);
    typeText(L"typed before");
    click(app.control("编辑框4"));
    typeText(L"-5");
    click(app.control("编辑框5"));
    typeText(L"05");
    // Straight from the box to the button: the click takes the focus first.
    click(app.control("按钮1"));
    EXPECT_EQ(text(app.control("编辑框5")), "5");
    std::vector<std::string> values = startingValues();
    values[21] = "5";
    values[24] = "-5";
    const std::string expected = expectedCss(values);
    EXPECT_EQ(text(output), expected);
    EXPECT_NE(expected.find(".popup-content .cats-tree{margin:0 0 5px 0;}\r\n"), std::string::npos);
    EXPECT_NE(expected.find(".menu-list .menu{margin:0;padding:0px -5px;}\r\n"), std::string::npos);
    click(app.control("按钮1"));
    EXPECT_EQ(text(output), expected);
    // Generating moves no focus.
    EXPECT_EQ(focusedControl(app), app.control("按钮1"));
}

TEST(NavigationCopy, CopiesFirstThenConfirmsAndCopiesWhatTheBoxHolds) {
    App app;
    ASSERT_TRUE(app.started());
    setClipboardUnicode(L"left by someone else");
    click(app.control("按钮1"));
    const std::string generated = expectedCss(startingValues());
    ASSERT_EQ(generated.size(), 1334u);

    click(app.control("按钮2"));
    MessageBoxInfo box = findMessageBox(app.processId());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(narrow(box.caption), "恭喜");
    EXPECT_EQ(narrow(box.text), "复制成功,ctrl+v粘贴即可.");
    // Owned by no window, task-modal, no icon.
    EXPECT_EQ(GetWindow(box.window, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.window()));
    HWND icon = GetDlgItem(box.window, 1088);
    EXPECT_TRUE(!icon || !visible(icon) || SendMessageW(icon, STM_GETICON, 0, 0) == 0);
    // The text is on the clipboard by the time the box says so.
    expectClipboardHolds(generated);
    ASSERT_TRUE(dismiss(box));
    EXPECT_TRUE(IsWindowEnabled(app.window()));
    expectClipboardHolds(generated);

    // What the user edits after generating is what is copied.
    HWND output = app.control("编辑框1");
    click(output);
    pressWith(VK_CONTROL, VK_END);
    typeText(L"/*edited*/");
    copyAndConfirm(app, "按钮2");
    expectClipboardHolds(generated + "/*edited*/");
}

TEST(NavigationCopy, AChineseAddressReachesTheClipboardInCodePage936) {
    App app;
    ASSERT_TRUE(app.started());
    replaceText(app.control("编辑框2"), L"http://图片/店铺.png");
    click(app.control("按钮1"));
    std::vector<std::string> values = startingValues();
    values[22] = "http://图片/店铺.png";
    const std::string expected = expectedCss(values);
    ASSERT_EQ(text(app.control("编辑框1")), expected);
    copyAndConfirm(app, "按钮2");
    ClipboardBlock ansi = clipboardBlock(CF_TEXT);
    ASSERT_TRUE(ansi.present);
    // 图片 and 店铺 in code page 936, written out.
    const std::string line23 = ".all-cats .link .popup-icon{background:url(http://\xCD\xBC\xC6\xAC/\xB5\xEA\xC6\xCC.png);}\r\n";
    EXPECT_NE(ansi.bytes.find(line23), std::string::npos);
    expectClipboardHolds(expected);
}

TEST(NavigationCopy, AClipboardHeldByAnotherProgramGivesTheErrorAndKeepsTheBox) {
    App app;
    ASSERT_TRUE(app.started());
    setClipboardUnicode(L"left by someone else");
    click(app.control("按钮1"));
    const std::string generated = expectedCss(startingValues());
    {
        ClipboardHold hold;
        ASSERT_TRUE(hold.held());
        click(app.control("按钮2"));
        MessageBoxInfo box = findMessageBox(app.processId());
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(narrow(box.caption), "错误");
        EXPECT_EQ(narrow(box.text), "复制失败：剪贴板正被其他程序占用，请稍后再试。");
        EXPECT_EQ(GetWindow(box.window, GW_OWNER), nullptr);
        ASSERT_TRUE(dismiss(box));
    }
    // No confirmation follows the error, the box keeps its text, the clipboard its contents.
    pause(400);
    EXPECT_EQ(findMessageBox(app.processId(), 200).window, nullptr);
    EXPECT_EQ(text(app.control("编辑框1")), generated);
    EXPECT_EQ(narrow(clipboardUnicode()), "left by someone else");

    // Once the clipboard is free again the copy works.
    copyAndConfirm(app, "按钮2");
    expectClipboardHolds(generated);
}

namespace {

// The length of a box's text, or -1 while the program does not answer in time.
LRESULT textLength(HWND box, int timeoutMs) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(box, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length)) return -1;
    return static_cast<LRESULT>(length);
}

// A long address through the icon box, the generator, the output box and the clipboard.
void expectLongAddressComesThroughWhole(size_t length, int generateTimeoutMs) {
    App app;
    ASSERT_TRUE(app.started());
    std::wstring address = L"http://";
    while (address.size() < length) address += L"abcdefghijklmnopqrstuvwxyz0123456789/";
    address.resize(length);
    address += L".png";
    HWND icon = app.control("编辑框2");
    replaceText(icon, L"");
    paste(address);
    ASSERT_TRUE(waitUntil([&] { return textLength(icon, 1000) == LRESULT(address.size()); }, 10000));
    click(app.control("按钮1"));
    std::vector<std::string> values = startingValues();
    values[22] = narrow(address);
    const std::string expected = expectedCss(values);
    HWND output = app.control("编辑框1");
    auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitUntil([&] { return textLength(output, 500) == LRESULT(expected.size()); }, generateTimeoutMs))
        << "the output box does not hold the " << expected.size() << " bytes after "
        << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count()
        << " ms";
    EXPECT_TRUE(text(output) == expected);
    // The long line wraps: no horizontal scrolling and no scroll bar.
    LONG style = GetWindowLongW(output, GWL_STYLE);
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL));
    EXPECT_GT(SendMessageW(output, EM_GETLINECOUNT, 0, 0), 26);
    copyAndConfirm(app, "按钮2");
    ClipboardBlock ansi = clipboardBlock(CF_TEXT);
    EXPECT_EQ(ansi.bytes.size(), expected.size());
    EXPECT_TRUE(ansi.bytes == expected);
}

} // namespace

// Beyond the 32767 characters an edit box takes by default.
TEST(NavigationCopy, AnAddressLongerThanAnEditBoxsDefaultLimitComesThroughWhole) {
    expectLongAddressComesThroughWhole(33000, 20000);
}

TEST(NavigationCopy, AMegabyteAddressComesThroughWhole) { expectLongAddressComesThroughWhole(1u << 20, 20000); }

// --- the preview tiles --------------------------------------------------------

namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

struct TileSpec {
    const char* tile;
    const char* label;
    // The four pickers, as designed: normal background, normal text, mouse-over background, mouse-over text.
    const char* pickers[4];
};
const TileSpec tiles[4] = {
    {"外形框1", "透明标签23", {"颜色选择器1", "颜色选择器2", "颜色选择器8", "颜色选择器9"}},
    {"外形框2", "透明标签24", {"颜色选择器3", "颜色选择器4", "颜色选择器6", "颜色选择器7"}},
    {"外形框4", "透明标签25", {"颜色选择器10", "颜色选择器11", "颜色选择器12", "颜色选择器13"}},
    {"外形框5", "透明标签26", {"颜色选择器5", "颜色选择器14", "颜色选择器15", "颜色选择器16"}},
};

// Sixteen distinct named colours of the drop-down (index, value), one per picker above.
struct Named {
    int index;
    COLORREF colour;
};
const Named chosen[4][4] = {
    {{2, RGB(0xFF, 0x00, 0x00)}, {8, RGB(0xFF, 0xFF, 0x00)}, {6, RGB(0x00, 0x00, 0xFF)}, {16, RGB(0xFF, 0xA5, 0x00)}},
    {{4, RGB(0x00, 0x80, 0x00)}, {17, RGB(0xFF, 0xC0, 0xCB)}, {3, RGB(0x80, 0x00, 0x00)}, {12, RGB(0x00, 0xFF, 0xFF)}},
    {{7, RGB(0x00, 0x00, 0x80)}, {19, RGB(0xFF, 0xD7, 0x00)}, {10, RGB(0x80, 0x00, 0x80)}, {5, RGB(0x00, 0xFF, 0x00)}},
    {{13, RGB(0x00, 0x80, 0x80)}, {15, RGB(0xC0, 0xC0, 0xC0)}, {9, RGB(0x80, 0x80, 0x00)}, {11, RGB(0xFF, 0x00, 0xFF)}},
};

struct Look {
    COLORREF background, text;
    bool operator==(const Look&) const = default;
};
Look normal(int t) { return {chosen[t][0].colour, chosen[t][1].colour}; }
Look hover(int t) { return {chosen[t][2].colour, chosen[t][3].colour}; }
constexpr Look layoutLook{black, white};

// The label lies at 24, 8 inside its tile, 64 x 16.
constexpr RECT labelInTile{24, 8, 88, 24};

// Tile and label as they are on the screen: the tile's own area, the label's
// background and the label's text must all agree with the look.
::testing::AssertionResult shows(const App& app, int t, const Look& look) {
    Snapshot s(app.control(tiles[t].tile));
    for (POINT p : {POINT{2, 2}, POINT{117, 2}, POINT{2, 29}, POINT{117, 29}, POINT{60, 4}, POINT{60, 27}})
        if (s.at(p.x, p.y) != look.background)
            return ::testing::AssertionFailure() << tiles[t].tile << " at " << p.x << "," << p.y << " is " << std::hex
                                                 << s.at(p.x, p.y) << ", not " << look.background;
    if (s.at(labelInTile.left, labelInTile.top) != look.background)
        return ::testing::AssertionFailure() << tiles[t].label << " does not show its tile below it";
    int textPixels = 0;
    for (int y = labelInTile.top; y < labelInTile.bottom; ++y)
        for (int x = labelInTile.left; x < labelInTile.right; ++x) textPixels += s.at(x, y) == look.text;
    if (textPixels < 8)
        return ::testing::AssertionFailure() << tiles[t].label << " has " << textPixels << " pixels of text colour "
                                             << std::hex << look.text;
    return ::testing::AssertionSuccess();
}

void expectLooks(const App& app, const Look (&looks)[4]) {
    for (int t = 0; t < 4; ++t) EXPECT_TRUE(shows(app, t, looks[t]));
}

// A walk in small steps, as a hand moves: every step is a pointer message.
void walk(POINT from, POINT to, int step = 4) {
    int dx = to.x - from.x, dy = to.y - from.y;
    int steps = std::max(1, std::max(std::abs(dx), std::abs(dy)) / step);
    for (int i = 0; i <= steps; ++i) moveTo(from.x + dx * i / steps, from.y + dy * i / steps);
    pause(60);
}

void jump(POINT p) {
    moveTo(p);
    moveTo(p.x + 1, p.y);
    pause(80);
}

void pickAll(App& app) {
    for (int t = 0; t < 4; ++t)
        for (int k = 0; k < 4; ++k) {
            HWND picker = app.control(tiles[t].pickers[k]);
            ASSERT_TRUE(pickNamedColour(picker, chosen[t][k].index)) << tiles[t].pickers[k];
            ASSERT_TRUE(waitUntil([&] { return swatchColour(picker) == chosen[t][k].colour; }, 1000))
                << tiles[t].pickers[k];
        }
}

// A picker changed by keyboard in its drop-down, so the pointer stays on the picker.
void pickByKeys(HWND picker, int index) {
    click(picker);
    ASSERT_TRUE(waitUntil([] { return openMenu() != nullptr; }, 3000));
    for (int i = 0; i <= index; ++i) press(VK_DOWN);
    press(VK_RETURN);
    ASSERT_TRUE(waitUntil([] { return openMenu() == nullptr; }, 3000));
    pause(100);
}

} // namespace

TEST(Preview, TilesKeepTheirLayoutColoursUntilTheFirstMoveOverBareArea) {
    App app; // starts with the pointer off the window
    ASSERT_TRUE(app.started());
    HWND group = app.control("分组框1");
    // Over controls only: a picker, the output box, a tile's label.
    jump(centreOf(app.control("颜色选择器17")));
    jump(centreOf(app.control("编辑框1")));
    jump(centreOf(app.control("透明标签23")));
    expectLooks(app, {layoutLook, layoutLook, layoutLook, layoutLook});
    // With every picker still black, bare area turns every caption black on its black tile.
    jump(on(group, 700, 200));
    for (int t = 0; t < 4; ++t) {
        Snapshot s(app.control(tiles[t].label));
        EXPECT_EQ(s.count(white), 0) << tiles[t].label;
        EXPECT_EQ(s.count(black), s.width() * s.height()) << tiles[t].label;
    }
}

TEST(Preview, TilesFollowThePointerAsDesigned) {
    App app;
    ASSERT_TRUE(app.started());
    pickAll(app);
    HWND group = app.control("分组框1");
    const POINT bare = on(group, 700, 200);
    jump(bare);
    const Look allNormal[4] = {normal(0), normal(1), normal(2), normal(3)};
    expectLooks(app, allNormal);

    {
        SCOPED_TRACE("from bare area into 外形框1");
        walk(on(group, 380, 20), on(group, 400, 20));
        expectLooks(app, {hover(0), normal(1), normal(2), normal(3)});
    }
    {
        SCOPED_TRACE("across 外形框1, 外形框2 and 外形框5");
        walk(on(group, 396, 20), on(group, 620, 20));
        walk(on(group, 620, 20), on(group, 620, 70));
        expectLooks(app, {hover(0), hover(1), normal(2), hover(3)});
        jump(bare);
        expectLooks(app, allNormal);
    }
    {
        SCOPED_TRACE("onto a caption and inside it");
        jump(centreOf(app.control("透明标签23")));
        walk(on(group, 420, 30), on(group, 476, 34));
        expectLooks(app, allNormal);
        // From the tile into its caption: the tile keeps its mouse-over pair.
        walk(on(group, 400, 30), on(group, 440, 30));
        walk(on(group, 440, 30), on(group, 460, 36));
        expectLooks(app, {hover(0), normal(1), normal(2), normal(3)});
    }
    {
        SCOPED_TRACE("over controls, tab headers, caption and border nothing changes");
        RECT w = screenRect(app.window());
        RECT header = tabHeader(app, 2);
        for (POINT p : {centreOf(app.control("编辑框1")), centreOf(app.control("颜色选择器17")),
                        centreOf(app.control("按钮3")), POINT{(header.left + header.right) / 2, (header.top + header.bottom) / 2},
                        POINT{(w.left + w.right) / 2, w.top + 10}, POINT{w.left + 1, (w.top + w.bottom) / 2},
                        POINT{(w.left + w.right) / 2, w.bottom - 2}}) {
            jump(p);
            EXPECT_TRUE(shows(app, 0, hover(0))) << "at " << p.x << "," << p.y;
        }
        expectLooks(app, {hover(0), normal(1), normal(2), normal(3)});
    }
    {
        SCOPED_TRACE("the strip beside the tab headers resets");
        RECT last = tabHeader(app, 3);
        jump(POINT{last.right + 60, (last.top + last.bottom) / 2});
        expectLooks(app, allNormal);
    }
    {
        SCOPED_TRACE("bare area inside 分组框1 resets");
        walk(on(group, 380, 20), on(group, 400, 20));
        ASSERT_TRUE(shows(app, 0, hover(0)));
        jump(on(group, 700, 40));
        expectLooks(app, allNormal);
    }
}

TEST(Preview, ChangedPickersAndHiddenTilesShowAtTheNextEventThatAppliesThem) {
    App app;
    ASSERT_TRUE(app.started());
    pickAll(app);
    HWND group = app.control("分组框1");
    const POINT bare = on(group, 700, 200);
    jump(bare);
    const Look allNormal[4] = {normal(0), normal(1), normal(2), normal(3)};
    expectLooks(app, allNormal);

    // A new normal background for "外形框1" ("棕色") and a new mouse-over text ("天蓝").
    const COLORREF brown = RGB(0xA5, 0x2A, 0x2A), skyBlue = RGB(0x87, 0xCE, 0xEB);
    pickByKeys(app.control("颜色选择器1"), 18);
    ASSERT_EQ(swatchColour(app.control("颜色选择器1")), brown);
    pickByKeys(app.control("颜色选择器9"), 20);
    ASSERT_EQ(swatchColour(app.control("颜色选择器9")), skyBlue);
    expectLooks(app, allNormal);
    jump(bare);
    EXPECT_TRUE(shows(app, 0, {brown, normal(0).text}));
    walk(on(group, 380, 20), on(group, 400, 20));
    EXPECT_TRUE(shows(app, 0, {hover(0).background, skyBlue}));

    // Page switches alone change nothing; bare area of page 2 resets the hidden tiles.
    switchToPage(app, 2);
    switchToPage(app, 1);
    EXPECT_TRUE(shows(app, 0, {hover(0).background, skyBlue}));
    switchToPage(app, 2);
    jump(on(app.control("选择夹1"), 320, 100));
    switchToPage(app, 1);
    EXPECT_TRUE(shows(app, 0, {brown, normal(0).text}));
}

TEST(Preview, NeverFlickersWhileThePointerMovesOverBareArea) {
    App app;
    ASSERT_TRUE(app.started());
    HWND group = app.control("分组框1");
    for (int k = 0; k < 2; ++k) {
        HWND picker = app.control(tiles[0].pickers[k]);
        ASSERT_TRUE(pickNamedColour(picker, chosen[0][k].index));
    }
    jump(on(group, 700, 200));
    ASSERT_TRUE(shows(app, 0, normal(0)));
    const RECT tile = screenRect(app.control("外形框1"));
    const Snapshot steady(tile);
    const int textPixels = steady.count(normal(0).text);
    ASSERT_GT(textPixels, 8);

    std::atomic<bool> moving{true};
    std::thread hand([&] {
        // Back and forth over bare area: every message rewrites and repaints all four tiles.
        POINT a = on(group, 660, 120), b = on(group, 740, 260);
        for (int i = 0; moving; ++i) {
            int k = i % 40, t = k < 20 ? k : 40 - k;
            SetCursorPos(a.x + (b.x - a.x) * t / 20, a.y + (b.y - a.y) * t / 20);
            Sleep(2);
        }
    });
    int bad = 0, samples = 0;
    for (; samples < 300; ++samples) {
        Snapshot s(tile);
        bool ok = true;
        for (int y = 0; y < s.height() && ok; ++y)
            for (int x = 0; x < s.width() && ok; ++x) {
                bool inLabel = x >= labelInTile.left && x < labelInTile.right && y >= labelInTile.top &&
                               y < labelInTile.bottom;
                if (!inLabel && s.at(x, y) != normal(0).background) ok = false;
            }
        if (ok && s.count(normal(0).text) != textPixels) ok = false;
        bad += !ok;
    }
    moving = false;
    hand.join();
    EXPECT_EQ(bad, 0) << "of " << samples << " samples";
    EXPECT_TRUE(shows(app, 0, normal(0)));
}
