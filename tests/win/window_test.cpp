// The main window as a person meets it: its frame, the navigation page laid
// out as designed, page switching, the keyboard and the ways to close it.
// Expected places, sizes, texts and colours are written out here from the
// design's tables, not read from the program's own layout table.
#include "driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace driver;

namespace {

struct Expected {
    const char* name;
    int x, y, width, height;
    const char* text; // nullptr: not checked
};

// Page 1 as designed: places relative to the parent ("选择夹1" or "分组框1").
const Expected pageOne[] = {
    {"透明标签29", 704, 488, 48, 16, "检查更新"},
    {"透明标签31", 8, 488, 96, 16, "Tamsolen - BY"},
    {"透明标签1", 24, 136, 96, 24, "所有分类背景颜色"},
    {"颜色选择器1", 128, 136, 64, 24, nullptr},
    {"颜色选择器2", 128, 160, 64, 24, nullptr},
    {"编辑框1", 400, 120, 240, 344, ""},
    {"按钮1", 656, 384, 80, 32, "CSS生成"},
    {"按钮2", 656, 432, 80, 32, "一键复制"},
    {"分组框1", 8, 24, 744, 456, ""},
    {"透明标签4", 16, 16, 104, 24, "一级分类背景颜色"},
    {"颜色选择器3", 120, 16, 64, 24, nullptr},
    {"透明标签6", 16, 40, 104, 24, "一级分类文字颜色"},
    {"颜色选择器4", 120, 40, 64, 24, nullptr},
    {"透明标签8", 16, 64, 112, 24, "一级滑过背景颜色"},
    {"透明标签10", 16, 88, 112, 24, "一级滑过文字颜色"},
    {"透明标签2", 16, 136, 96, 24, "所有分类文字颜色"},
    {"透明标签11", 16, 160, 96, 24, "所有滑过背景颜色"},
    {"颜色选择器8", 120, 160, 64, 24, nullptr},
    {"透明标签3", 16, 184, 96, 24, "所有滑过文字颜色"},
    {"透明标签17", 16, 208, 96, 24, "激活以后背景颜色"},
    {"颜色选择器17", 120, 208, 64, 24, nullptr},
    {"透明标签5", 208, 16, 96, 24, "二级分类背景颜色"},
    {"颜色选择器10", 312, 16, 64, 24, nullptr},
    {"透明标签7", 208, 112, 96, 24, "三级分类背景颜色"},
    {"颜色选择器5", 312, 112, 64, 24, nullptr},
    {"透明标签18", 208, 208, 96, 24, "激活以后文字颜色"},
    {"颜色选择器18", 312, 208, 64, 24, nullptr},
    {"外形框1", 392, 16, 120, 32, nullptr},
    {"外形框2", 512, 16, 120, 32, nullptr},
    {"外形框4", 392, 48, 120, 32, nullptr},
    {"外形框5", 512, 48, 120, 32, nullptr},
    {"透明标签23", 416, 24, 64, 16, "所有分类"},
    {"透明标签24", 536, 24, 64, 16, "一级分类"},
    {"透明标签25", 416, 56, 64, 16, "二级分类"},
    {"透明标签26", 536, 56, 64, 16, "三级分类"},
    {"透明标签19", 16, 240, 120, 24, "所有分类下拉菜单按钮"},
    {"编辑框2", 144, 240, 232, 24, "http://XX.png"},
    {"透明标签20", 16, 272, 120, 24, "一级分类下拉菜单按钮"},
    {"编辑框3", 144, 272, 232, 24, "http://XX.gif"},
    {"透明标签21", 16, 296, 360, 24, "输入下拉菜单图标地址,不设置请留空,后缀为png or gif."},
    {"编辑框5", 16, 328, 80, 24, ""},
    {"透明标签28", 112, 336, 192, 16, "2级分类栏多余空间设置0为取消多余"},
    {"编辑框4", 16, 368, 80, 24, ""},
    {"透明标签22", 112, 376, 152, 16, "导航宽度增加建议不超过20"},
    {"按钮3", 16, 408, 80, 32, "作者店铺"},
    {"按钮4", 112, 408, 80, 32, "作者QQ"},
};

const char* const pickers[] = {"颜色选择器1",  "颜色选择器2",  "颜色选择器3",  "颜色选择器4",  "颜色选择器5",
                               "颜色选择器6",  "颜色选择器7",  "颜色选择器8",  "颜色选择器9",  "颜色选择器10",
                               "颜色选择器11", "颜色选择器12", "颜色选择器13", "颜色选择器14", "颜色选择器15",
                               "颜色选择器16", "颜色选择器17", "颜色选择器18"};

// The controls placed on the tab control for page 1; group children go with "分组框1".
const char* const pageOneOnTab[] = {"透明标签29", "透明标签31", "透明标签1", "颜色选择器1", "颜色选择器2",
                                    "编辑框1",    "按钮1",      "按钮2",     "分组框1"};

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

// Reads a tab control's item text through memory in the program's process.
struct RemoteTab {
    HANDLE process;
    HWND tab;
    std::wstring caption(int index) {
        struct Block {
            TCITEMW item;
            wchar_t text[128];
        };
        auto* remote = static_cast<Block*>(VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
        Block local{};
        local.item.mask = TCIF_TEXT;
        local.item.pszText = remote->text;
        local.item.cchTextMax = 128;
        WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
        SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        local.text[127] = 0;
        return local.text;
    }
};

bool anyPixel(HWND window, COLORREF colour) {
    RECT r;
    GetClientRect(window, &r);
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            if (pixelIn(window, x, y) == colour) return true;
    return false;
}


} // namespace

TEST(MainWindow, HasItsFrameTitleAndPlace) {
    App app;
    ASSERT_TRUE(app.started());
    HWND w = app.window();
    RECT r = screenRect(w);
    EXPECT_EQ(r.right - r.left, 764);
    EXPECT_EQ(r.bottom - r.top, 533);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 764) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 533) / 2);
    EXPECT_EQ(text(w), "QuorvelV1.2");
    LONG style = GetWindowLongW(w, GWL_STYLE);
    LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & (WS_MINIMIZE | WS_MAXIMIZE));
    EXPECT_TRUE(ex & WS_EX_APPWINDOW);
    EXPECT_FALSE(ex & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    EXPECT_EQ(app.countInTrace("created"), 1);
}

TEST(MainWindow, ShowsTheTabControlWithItsThreeCaptions) {
    App app;
    ASSERT_TRUE(app.started());
    HWND tab = app.control("选择夹1");
    ASSERT_NE(tab, nullptr);
    RECT r = placeInParent(tab);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 760);
    EXPECT_EQ(r.bottom - r.top, 512);
    ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    RemoteTab remote{app.process(), tab};
    EXPECT_EQ(narrow(remote.caption(0)), "导航CSS代码生成");
    EXPECT_EQ(narrow(remote.caption(1)), "固定背景代码生成");
    EXPECT_EQ(narrow(remote.caption(2)), "软件详情");
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);
}

TEST(NavigationPage, EveryControlStandsAtItsPlaceWithItsStartingText) {
    App app;
    ASSERT_TRUE(app.started());
    for (const Expected& e : pageOne) {
        SCOPED_TRACE(e.name);
        HWND c = app.control(e.name);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(visible(c));
        RECT r = placeInParent(c);
        EXPECT_EQ(r.left, e.x);
        EXPECT_EQ(r.top, e.y);
        EXPECT_EQ(r.right - r.left, e.width);
        EXPECT_EQ(r.bottom - r.top, e.height);
        if (e.text) EXPECT_EQ(text(c), e.text);
    }
    EXPECT_EQ(GetParent(app.control("颜色选择器1")), app.control("选择夹1"));
    EXPECT_EQ(GetParent(app.control("颜色选择器3")), app.control("分组框1"));
}

TEST(NavigationPage, PickersAndTilesStartBlackWithWhiteCaptions) {
    App app;
    ASSERT_TRUE(app.started());
    for (const char* name : pickers) {
        SCOPED_TRACE(name);
        HWND p = app.control(name);
        RECT r;
        GetClientRect(p, &r);
        // The middle of the swatch, left of the drop-down arrow.
        EXPECT_EQ(pixelIn(p, (r.right - 16) / 2, r.bottom / 2), black);
    }
    const char* tiles[][2] = {{"外形框1", "透明标签23"}, {"外形框2", "透明标签24"}, {"外形框4", "透明标签25"},
                              {"外形框5", "透明标签26"}};
    for (auto& [tile, label] : tiles) {
        SCOPED_TRACE(tile);
        HWND t = app.control(tile);
        EXPECT_EQ(pixelIn(t, 3, 3), black);
        EXPECT_EQ(pixelIn(t, 117, 28), black);
        HWND l = app.control(label);
        EXPECT_TRUE(anyPixel(l, white));
        EXPECT_EQ(pixelIn(l, 0, 0), black); // the label's background is its tile
    }
}

TEST(NavigationPage, LabelsDrawInTheirColours) {
    App app;
    ASSERT_TRUE(app.started());
    EXPECT_TRUE(anyPixel(app.control("透明标签29"), RGB(0xFF, 0x00, 0x00)));
    EXPECT_TRUE(anyPixel(app.control("透明标签31"), RGB(0x00, 0x60, 0xC0)));
    EXPECT_TRUE(anyPixel(app.control("透明标签21"), RGB(0xC0, 0x60, 0x00)));
}

TEST(Pages, SwitchingHidesAndShowsThePageOneControls) {
    App app;
    ASSERT_TRUE(app.started());
    for (int page : {2, 3}) {
        SCOPED_TRACE(page);
        switchToPage(app, page);
        for (const char* name : pageOneOnTab) EXPECT_FALSE(visible(app.control(name))) << name;
        EXPECT_FALSE(visible(app.control("外形框1")));
        EXPECT_FALSE(visible(app.control("按钮3")));
        switchToPage(app, 1);
        for (const char* name : pageOneOnTab) EXPECT_TRUE(visible(app.control(name))) << name;
        EXPECT_TRUE(visible(app.control("外形框1")));
        EXPECT_TRUE(visible(app.control("颜色选择器18")));
    }
}

TEST(Pointer, HandOverTheUpdateLinkAndTextCursorOverAnEditBox) {
    App app;
    ASSERT_TRUE(app.started());
    // Cursor handles belong to the program's process and cannot be opened here,
    // so the cursors are told apart by comparing what each control shows.
    HCURSOR arrow = cursorShownOver(app.control("透明标签1"));
    HCURSOR ibeam = cursorShownOver(app.control("编辑框2"));
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(arrow, ibeam);
    EXPECT_EQ(cursorShownOver(app.control("透明标签1")), arrow);
    EXPECT_EQ(cursorShownOver(app.control("编辑框2")), ibeam);
    HCURSOR overLink = cursorShownOver(app.control("透明标签29"));
    EXPECT_NE(overLink, arrow);
    EXPECT_NE(overLink, ibeam);
    EXPECT_NE(overLink, nullptr);
    EXPECT_EQ(cursorShownOver(app.control("透明标签31")), arrow);
}

TEST(Keyboard, TabVisitsTheTabStopsInLayoutOrder) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("颜色选择器1"));
    press(VK_ESCAPE); // closes the drop-down the click opened
    ASSERT_EQ(focusedControl(app), app.control("颜色选择器1"));
    const char* order[] = {"颜色选择器2", "编辑框1", "按钮1", "按钮2", "编辑框5", "按钮4", "按钮3", "编辑框4",
                           "编辑框3", "编辑框2", "颜色选择器18", "颜色选择器17", "颜色选择器16", "颜色选择器15",
                           "颜色选择器14", "颜色选择器5", "颜色选择器13", "颜色选择器12", "颜色选择器11",
                           "颜色选择器10", "颜色选择器9", "颜色选择器8", "颜色选择器7", "颜色选择器6", "颜色选择器4",
                           "颜色选择器3", "颜色选择器1"};
    for (const char* name : order) {
        press(VK_TAB);
        EXPECT_EQ(focusedControl(app), app.control(name)) << name;
    }
}

TEST(Keyboard, ReturnPressesNoButton) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("编辑框2"));
    press(VK_RETURN);
    click(app.control("编辑框1"));
    press(VK_RETURN);
    typeText(L"x");
    // Return starts a new line in the multi-line box and presses nothing.
    EXPECT_EQ(text(app.control("编辑框1")), "\r\nx");
    EXPECT_EQ(text(app.control("编辑框2")), "http://XX.png");
    EXPECT_EQ(FindWindowW(L"#32770", nullptr) == nullptr || !visible(FindWindowW(L"#32770", nullptr)), true);
}

TEST(IntegerBoxes, FilterTypingLimitLengthAndRewriteOnLeaving) {
    App app;
    ASSERT_TRUE(app.started());
    HWND four = app.control("编辑框4");
    HWND five = app.control("编辑框5");
    click(four);
    typeText(L"a+");
    EXPECT_EQ(text(four), "");
    typeText(L"-5");
    EXPECT_EQ(text(four), "-5");
    typeText(L"7");
    EXPECT_EQ(text(four), "-5"); // a third character cannot be entered
    click(app.control("编辑框2"));
    EXPECT_EQ(text(four), "-5");

    click(four);
    press(VK_END);
    press(VK_BACK);
    press(VK_BACK);
    typeText(L"0");
    EXPECT_EQ(text(four), "0");
    click(app.control("编辑框2"));
    EXPECT_EQ(text(four), "");

    click(five);
    paste(L"12x");
    EXPECT_EQ(text(five), "12x"); // pasting is not filtered
    click(app.control("编辑框2"));
    EXPECT_EQ(text(five), "12");
}

TEST(Closing, EscFromAControlEndsWithExitCodeZeroAfterTheExitHook) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("编辑框2"));
    pressWith(VK_SHIFT, VK_ESCAPE);
    pause(300);
    EXPECT_TRUE(IsWindow(app.window())) << "Shift+Esc must not close";
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Closing, AltF4EndsWithExitCodeZero) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("按钮1"));
    pressWith(VK_MENU, VK_F4);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Closing, TheCaptionCloseButtonEndsWithExitCodeZero) {
    App app;
    ASSERT_TRUE(app.started());
    click(captionCloseButton(app.window()));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Closing, TheSystemMenuCloseItemEndsWithExitCodeZero) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("编辑框2"));
    pressWith(VK_MENU, VK_SPACE);
    pause(300);
    // Close by its access key (Wine adds an item of its own below Close).
    press('C');
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Closing, EscInAnOpenPickerDropDownClosesOnlyTheDropDown) {
    App app;
    ASSERT_TRUE(app.started());
    HWND picker = app.control("颜色选择器3");
    click(picker);
    ASSERT_TRUE(waitUntil([] { return FindWindowW(L"#32768", nullptr) && visible(FindWindowW(L"#32768", nullptr)); }));
    press(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([] {
        HWND menu = FindWindowW(L"#32768", nullptr);
        return !menu || !visible(menu);
    }));
    pause(300);
    EXPECT_TRUE(IsWindow(app.window()));
    EXPECT_EQ(pixelIn(picker, 20, 12), black);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(Closing, EscInTheColourDialogClosesOnlyTheDialog) {
    App app;
    ASSERT_TRUE(app.started());
    HWND picker = app.control("颜色选择器3");
    click(picker);
    ASSERT_TRUE(waitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }));
    // "其它颜色..." is the last item of the drop-down.
    press(VK_UP);
    press(VK_RETURN);
    MessageBoxInfo dialog = findMessageBox(app.processId());
    ASSERT_NE(dialog.window, nullptr);
    press(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog.window) || !visible(dialog.window); }));
    pause(300);
    EXPECT_TRUE(IsWindow(app.window()));
    EXPECT_EQ(pixelIn(picker, 20, 12), black);
}

// The interface is Unicode inside, whatever the ANSI code page: the Chinese
// texts and typed characters outside the code page survive, and only the
// clipboard's ANSI form is in the code page. scripts/test runs this once more
// under the C.UTF-8 locale, which gives Wine code page 1252.
TEST(Locale, ChineseTextsAndTypedCharactersSurviveWhateverTheCodePage) {
    SCOPED_TRACE("code page " + std::to_string(GetACP()));
    App app;
    ASSERT_TRUE(app.started());
    EXPECT_EQ(text(app.control("透明标签21")), "输入下拉菜单图标地址,不设置请留空,后缀为png or gif.");
    EXPECT_EQ(text(app.control("按钮1")), "CSS生成");
    HWND box = app.control("编辑框2");
    click(box);
    press(VK_END);
    typeText(L"图标€ё");
    EXPECT_EQ(text(box), "http://XX.png图标€ё");
    click(app.control("按钮1"));
    click(app.control("按钮2"));
    MessageBoxInfo confirmation = findMessageBox(app.processId());
    ASSERT_NE(confirmation.window, nullptr);
    PostMessageW(confirmation.window, WM_COMMAND, IDOK, 0);
    EXPECT_NE(narrow(clipboardUnicode()).find("url(http://XX.png图标€ё);"), std::string::npos);
    // The same code page as this process: both come from the locale Wine was started in.
    std::wstring line = L"url(http://XX.png图标€ё);";
    std::string expected(64, '\0');
    expected.resize(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, line.c_str(), static_cast<int>(line.size()),
                                                            expected.data(), 64, nullptr, nullptr)));
    EXPECT_NE(clipboardAnsi().find(expected), std::string::npos);
}

TEST(Instances, ASecondInstanceGetsItsOwnIndependentWindow) {
    App first;
    ASSERT_TRUE(first.started());
    App second;
    ASSERT_TRUE(second.started());
    EXPECT_NE(first.window(), second.window());
    click(second.control("编辑框2"));
    press(VK_ESCAPE);
    EXPECT_EQ(second.waitForExit(), 0);
    EXPECT_TRUE(IsWindow(first.window()));
    EXPECT_EQ(text(first.control("编辑框2")), "http://XX.png");
    click(first.control("编辑框3"));
    press(VK_ESCAPE);
    EXPECT_EQ(first.waitForExit(), 0);
}
