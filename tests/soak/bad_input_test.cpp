// Bad input pasted into the real window: a megabyte into every box,
// characters outside code page 936, a tab and a line break inside an address.
// Nothing may be cut, nothing may crash, and what the box holds is exactly
// what the generated text carries.
#include "driver.h"
#include "measure.h"

#include <gtest/gtest.h>

#include <string>

using namespace driver;

namespace {

// Replaces a single-line box's text by pasting, as a person would.
void pasteInto(HWND box, const std::wstring& text) {
    click(box);
    press(VK_HOME);
    pressWith(VK_SHIFT, VK_END);
    paste(text);
}

std::wstring megabyte() {
    std::wstring s;
    s.reserve(1u << 20);
    for (size_t i = 0; s.size() < (1u << 20); ++i) s += static_cast<wchar_t>(L'a' + i % 26);
    return s;
}

// The line of the generated text that begins with the given prefix.
std::string lineStarting(const std::string& text, const std::string& prefix) {
    size_t at = text.find(prefix);
    if (at == std::string::npos) return {};
    size_t end = text.find("\r\n", at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

void dismissConfirmation(App& app) {
    MessageBoxInfo box = findMessageBox(app.processId());
    ASSERT_NE(box.window, nullptr);
    PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box.window); }));
}

// Clicks "CSS生成" and returns the text of "编辑框1" once it is longer than
// `moreThan` bytes, or an empty text when it does not get there.
std::string generateNavigationCss(const App& app, size_t moreThan) {
    click(app.control("按钮1"));
    std::string css;
    if (!waitUntil([&] { return (css = text(app.control("编辑框1"))).size() > moreThan; }, 20000)) return {};
    return css;
}

// Both output boxes hold what the generator made of it: wrapped, without a
// scroll bar, and with the whole megabyte in the rule.
void expectWrappedWithoutScrollBar(HWND output, LRESULT moreLinesThan) {
    LONG style = GetWindowLongW(output, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL));
    EXPECT_GT(SendMessageW(output, EM_GETLINECOUNT, 0, 0), moreLinesThan);
}

} // namespace

// A megabyte pasted into each address box is held whole, and each generator
// writes it whole into its rule, through the output box and the clipboard.
TEST(BadInput, AMegabytePastedIntoEachAddressBoxGoesThroughWhole) {
    App app;
    ASSERT_TRUE(app.started());
    const std::wstring big = megabyte();
    const std::string bigUtf8 = narrow(big);
    const soak::Resources before = soak::measure(app.process(), app.processId(), app.window());
    for (const char* box : {"编辑框2", "编辑框3"}) {
        SCOPED_TRACE(box);
        pasteInto(app.control(box), big);
        EXPECT_TRUE(waitUntil([&] { return text(app.control(box)) == bigUtf8; }, 20000));
    }
    // Two megabytes of text held in two boxes: the soak's memory figure must see them.
    const soak::Resources after = soak::measure(app.process(), app.processId(), app.window());
    EXPECT_GT(after.privateBytes, before.privateBytes + 2 * big.size()) << soak::describe(before) << " / "
                                                                         << soak::describe(after);
    const std::string css = generateNavigationCss(app, 2 * bigUtf8.size());
    ASSERT_FALSE(css.empty());
    HWND output = app.control("编辑框1");
    EXPECT_EQ(lineStarting(css, ".all-cats .link .popup-icon{"), ".all-cats .link .popup-icon{background:url(" + bigUtf8 + ");}");
    EXPECT_EQ(lineStarting(css, ".menu-list .link .popup-icon{"), ".menu-list .link .popup-icon{background:url(" + bigUtf8 + ");}");
    expectWrappedWithoutScrollBar(output, 20000);
    click(app.control("按钮2"));
    dismissConfirmation(app);
    EXPECT_EQ(narrow(clipboardUnicode()), css);

    switchToPage(app, 2);
    pasteInto(app.control("编辑框6"), big);
    EXPECT_TRUE(waitUntil([&] { return text(app.control("编辑框6")) == bigUtf8; }, 20000));
    click(app.control("按钮5"));
    HWND background = app.control("编辑框7");
    std::string rule;
    ASSERT_TRUE(waitUntil([&] { return (rule = text(background)).size() > bigUtf8.size(); }, 20000));
    EXPECT_EQ(rule, "body{background-image:url(" + bigUtf8 +
                        ");background-repeat:no-repeat;background-position:center;background-attachment:fixed;}");
    expectWrappedWithoutScrollBar(background, 10000);
    click(app.control("按钮6"));
    dismissConfirmation(app);
    EXPECT_EQ(narrow(clipboardUnicode()), rule);
    click(app.control("编辑框6"));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(BadInput, AMegabytePastedIntoAnIntegerBoxKeepsItsFewCharacters) {
    App app;
    ASSERT_TRUE(app.started());
    std::wstring digits(1u << 20, L'7');
    struct Case {
        const char* box;
        const char* kept;
    } cases[] = {{"编辑框4", "77"}, {"编辑框5", "777"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        HWND box = app.control(c.box);
        click(box);
        paste(digits);
        EXPECT_EQ(text(box), c.kept);
    }
    const std::string css = generateNavigationCss(app, 1000);
    ASSERT_FALSE(css.empty());
    EXPECT_NE(css.find(".popup-content .cats-tree{margin:0 0 777px 0;}"), std::string::npos);
    EXPECT_NE(css.find(".menu-list .menu{margin:0;padding:0px 77px;}"), std::string::npos);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(BadInput, CharactersOutsideCodePage936SurviveEverywhereButInCfText) {
    App app;
    ASSERT_TRUE(app.started());
    // Runic, an emoji outside the basic plane, and a Latin letter the code page lacks.
    const std::wstring odd = L"http://例子/ᚠ😀ɐ.png";
    pasteInto(app.control("编辑框2"), odd);
    EXPECT_EQ(text(app.control("编辑框2")), narrow(odd));
    const std::string css = generateNavigationCss(app, 1000);
    ASSERT_FALSE(css.empty());
    const std::string line = ".all-cats .link .popup-icon{background:url(" + narrow(odd) + ");}";
    EXPECT_NE(css.find(line), std::string::npos);
    click(app.control("按钮2"));
    dismissConfirmation(app);
    EXPECT_NE(narrow(clipboardUnicode()).find(line), std::string::npos);
    // CF_TEXT: the Chinese in code page 936, each missing character as the code page's "?".
    std::string ansi = clipboardAnsi();
    std::wstring wideLine = L"url(" + odd + L");";
    std::string expected(256, '\0');
    expected.resize(static_cast<size_t>(WideCharToMultiByte(936, 0, wideLine.c_str(), static_cast<int>(wideLine.size()),
                                                            expected.data(), 256, nullptr, nullptr)));
    EXPECT_EQ(expected.substr(0, 15), "url(http://\xC0\xFD\xD7\xD3");
    EXPECT_NE(expected.find("/?"), std::string::npos);
    EXPECT_NE(ansi.find(expected), std::string::npos) << ansi.substr(ansi.find("popup-icon"), 60);
    click(app.control("编辑框3"));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}

TEST(BadInput, ATabAndALineBreakInAPastedAddressGoOutAsTheBoxHoldsThem) {
    App app;
    ASSERT_TRUE(app.started());
    HWND box = app.control("编辑框3");
    pasteInto(box, L"http://a\tb.gif\r\nsecond line");
    // Whatever the single-line box made of it is what the rule must carry.
    std::string held = text(box);
    EXPECT_NE(held.find("http://a\tb.gif"), std::string::npos);
    const std::string css = generateNavigationCss(app, 1000);
    ASSERT_FALSE(css.empty());
    EXPECT_NE(css.find(".menu-list .link .popup-icon{background:url(" + held + ");}\r\n"), std::string::npos);
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}
