// The multi-line output boxes as a person uses them: typing and the editing
// keys, the clipboard keys, Tab in and out, selecting with the mouse, the
// context menu, the selection drawn only while the box has the focus, and a
// megabyte-long rule that can still be scrolled and edited.
#include "driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace driver;

namespace {

struct Selection {
    size_t start, end;
    bool operator==(const Selection&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Selection& s) { return out << s.start << ".." << s.end; }

Selection selectionOf(HWND box) {
    LRESULT r = SendMessageW(box, EM_GETSEL, 0, 0);
    return {LOWORD(r), HIWORD(r)};
}

// A screen point just right of the left edge of the character at `index`, so
// that a click there puts the caret before that character.
POINT pointOfCharacter(HWND box, size_t index) {
    LRESULT at = SendMessageW(box, EM_POSFROMCHAR, index, 0);
    POINT p{static_cast<short>(LOWORD(at)) + 1, static_cast<short>(HIWORD(at)) + 6};
    ClientToScreen(box, &p);
    return p;
}

void pressCtrl(WORD vk) { pressWith(VK_CONTROL, vk); }

// The pointer goes there first: under Wine a pointer warp while Shift is held
// resets the modifier state to what X reports.
void shiftClick(POINT p) {
    moveTo(p);
    key(VK_SHIFT, true);
    pause(50);
    leftDown();
    leftUp();
    key(VK_SHIFT, false);
    pause(60);
}

void chooseFromContextMenu(POINT at, WORD accessKey) {
    rightClick(at);
    ASSERT_TRUE(waitUntil([] { return openMenu() != nullptr; }, 3000));
    press(accessKey);
    ASSERT_TRUE(waitUntil([] { return openMenu() == nullptr; }, 3000));
    pause(300);
}

} // namespace

TEST(OutputBox, TypesEditsUndoesAndMovesLikeAnEditBox) {
    App app;
    ASSERT_TRUE(app.started());
    HWND box = app.control("编辑框1");
    click(box);
    typeText(L"abc def");
    press(VK_RETURN);
    typeText(L"ghi");
    EXPECT_EQ(text(box), "abc def\r\nghi");
    press(VK_BACK);
    EXPECT_EQ(text(box), "abc def\r\ngh");
    // Ctrl+Z takes back the last step, a second Ctrl+Z takes back the undo.
    pressCtrl('Z');
    EXPECT_EQ(text(box), "abc def\r\nghi");
    pressCtrl('Z');
    EXPECT_EQ(text(box), "abc def\r\ngh");

    pressCtrl(VK_HOME);
    pressCtrl(VK_RIGHT);
    EXPECT_EQ(selectionOf(box), (Selection{4, 4}));
    pressWith(VK_SHIFT, VK_END);
    EXPECT_EQ(selectionOf(box), (Selection{4, 7}));
    typeText(L"X");
    EXPECT_EQ(text(box), "abc X\r\ngh");
    press(VK_DOWN);
    press(VK_END);
    typeText(L"!");
    press(VK_HOME);
    press(VK_DELETE);
    EXPECT_EQ(text(box), "abc X\r\nh!");

    // The clipboard keys.
    setClipboardUnicode(L"");
    pressCtrl('A');
    pressCtrl('C');
    EXPECT_EQ(narrow(clipboardUnicode()), "abc X\r\nh!");
    pressCtrl('X');
    EXPECT_EQ(text(box), "");
    pressCtrl('V');
    pressCtrl('V');
    EXPECT_EQ(text(box), "abc X\r\nh!abc X\r\nh!");

    // Tab goes on to the next tab stop; Shift+Tab comes back with the whole text selected.
    press(VK_TAB);
    EXPECT_EQ(focusedControl(app), app.control("按钮1"));
    pressWith(VK_SHIFT, VK_TAB);
    EXPECT_EQ(focusedControl(app), box);
    EXPECT_EQ(selectionOf(box), (Selection{0, 18}));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(OutputBox, TheMouseSelectsByDraggingWordsAndFromTheContextMenu) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("按钮1"));
    HWND box = app.control("编辑框1");
    const std::string css = text(box);
    ASSERT_EQ(css.size(), 1334u);
    // The first rule starts ".skin-box-bd .menu-list{...": drag from its first
    // character onto a character a few lines down.
    const size_t target = css.find("\r\n", 60) + 5;
    moveTo(pointOfCharacter(box, 0));
    leftDown();
    moveTo(pointOfCharacter(box, 20));
    moveTo(pointOfCharacter(box, target));
    leftUp();
    EXPECT_EQ(selectionOf(box), (Selection{0, target}));
    EXPECT_EQ(focusedControl(app), box);
    // Shift with a click moves the end of the selection.
    shiftClick(pointOfCharacter(box, 30));
    EXPECT_EQ(selectionOf(box), (Selection{0, 30}));

    // A double click takes the word under the pointer.
    const size_t skin = css.find("skin");
    doubleClick(pointOfCharacter(box, skin + 1));
    EXPECT_EQ(selectionOf(box), (Selection{skin, skin + 4}));

    // The context menu's "全选" selects everything; its "删除" takes it out.
    chooseFromContextMenu(centreOf(box), 'A');
    EXPECT_EQ(selectionOf(box), (Selection{0, css.size()}));
    // (Selecting everything scrolled the caret at the end into view.)
    chooseFromContextMenu(centreOf(box), 'D');
    EXPECT_TRUE(waitUntil([&] { return text(box).empty(); }, 3000));
    // And "撤消" brings it back.
    chooseFromContextMenu(centreOf(box), 'U');
    EXPECT_TRUE(waitUntil([&] { return text(box) == css; }, 3000));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(OutputBox, TheSelectionShowsOnlyWhileTheBoxHasTheFocus) {
    App app;
    ASSERT_TRUE(app.started());
    click(app.control("按钮1"));
    HWND box = app.control("编辑框1");
    click(box);
    pressCtrl('A');
    pause(200);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_GT(Snapshot(box).count(highlight), 1000);
    click(app.control("编辑框2"));
    pause(200);
    EXPECT_EQ(Snapshot(box).count(highlight), 0);
    // Back in the box, a click puts the caret down and Shift+Ctrl+End selects again.
    click(box);
    EXPECT_EQ(Snapshot(box).count(highlight), 0);
    key(VK_SHIFT, true);
    pressCtrl(VK_END);
    key(VK_SHIFT, false);
    pause(200);
    EXPECT_GT(Snapshot(box).count(highlight), 100);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

// A rule of a megabyte wraps into tens of thousands of lines; the box must
// still answer at once, scroll to the caret and take typing at the end.
TEST(OutputBox, AMegabyteRuleCanBeScrolledAndEdited) {
    App app;
    ASSERT_TRUE(app.started());
    std::wstring address = L"http://";
    while (address.size() < (1u << 20)) address += L"abcdefghijklmnopqrstuvwxyz0123456789/";
    HWND icon = app.control("编辑框2");
    click(icon);
    press(VK_HOME);
    pressWith(VK_SHIFT, VK_END);
    paste(address);
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(icon, WM_GETTEXTLENGTH, 0, 0) == LRESULT(address.size()); }, 20000));
    HWND box = app.control("编辑框1");
    auto started = std::chrono::steady_clock::now();
    click(app.control("按钮1"));
    ASSERT_TRUE(waitUntil([&] { return SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) > LRESULT(address.size()); }, 10000));
    const auto generated = std::chrono::steady_clock::now() - started;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(generated).count(), 3000);
    const LRESULT lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 20000);
    const LRESULT length = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);

    click(box);
    pressCtrl(VK_END);
    EXPECT_GT(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), lines - 40);
    started = std::chrono::steady_clock::now();
    typeText(L"/*end*/");
    EXPECT_TRUE(waitUntil([&] { return SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) == length + 7; }, 3000));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count(),
              3000);
    const std::string all = text(box);
    EXPECT_EQ(all.substr(all.size() - 9), "\r\n/*end*/");

    // The wheel scrolls three lines a notch; Ctrl+Home goes back to the top.
    const LRESULT bottom = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    moveTo(centreOf(box));
    wheel(2);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), bottom - 6);
    pressCtrl(VK_HOME);
    EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}
