// The outbound links and the working-set timer in the real program. Wine's
// browser launcher runs a stand-in that writes every address it is asked to
// open as a line of the file named by QUORVEL_BROWSER_LOG; the timer's ticks
// show as "trim" lines in the runtime's trace.
#include "driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

using namespace driver;

namespace {

// The addresses opened since the log was constructed.
class BrowserLog {
public:
    BrowserLog() {
        char value[1024] = {};
        DWORD n = GetEnvironmentVariableA("QUORVEL_BROWSER_LOG", value, sizeof value);
        std::string path(value, n < sizeof value ? n : 0);
        // The stand-in runs outside Wine and names the file by its Unix path.
        if (!path.empty() && path[0] == '/') {
            for (char& c : path)
                if (c == '/') c = '\\';
            path = "Z:" + path;
        }
        path_ = path;
        skip_ = all().size();
    }
    bool configured() const { return !path_.empty(); }
    std::vector<std::string> opened() const {
        std::vector<std::string> lines = all();
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(std::min(skip_, lines.size())));
        return lines;
    }
    // Waits for the count to reach n, then a little longer to see that no more follow.
    std::vector<std::string> awaitCount(size_t n, int settleMs = 700) const {
        waitUntil([&] { return opened().size() >= n; }, 6000);
        pause(settleMs);
        return opened();
    }

private:
    std::vector<std::string> all() const {
        std::ifstream in(path_);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines.push_back(line);
        }
        return lines;
    }
    std::string path_;
    size_t skip_ = 0;
};

// The forms the design gives the four addresses. Wine's launcher hands on a
// bare host with the root path added, which is the same address.
const std::regex bareHost(R"(http://[A-Za-z0-9.-]+/?)");
const std::regex contactForm(R"(http://wpa\.qq\.com/msgrd\?v=3&uin=[0-9]+&site=qq&menu=yes)");
const std::regex updateForm(R"(http://pan\.baidu\.com/share/link\?shareid=[0-9]+&uk=[0-9]+&third=15)");

bool matches(const std::string& s, const std::regex& form) { return std::regex_match(s, form); }

} // namespace

TEST(Links, LabelsAndPicturesOpenOnThePressOfTheLeftButton) {
    BrowserLog log;
    ASSERT_TRUE(log.configured());
    App app;
    ASSERT_TRUE(app.started());
    std::vector<std::string> seen;
    struct Case {
        int page;
        const char* control;
    } cases[] = {{1, "透明标签29"}, {3, "图片框4"}, {3, "图片框5"}, {3, "透明标签36"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        switchToPage(app, c.page);
        moveTo(centreOf(app.control(c.control)));
        leftDown();
        // Opened while the button is still down.
        EXPECT_TRUE(waitUntil([&] { return log.opened().size() == seen.size() + 1; }, 6000));
        leftUp();
        seen = log.awaitCount(seen.size() + 1, 300);
        ASSERT_EQ(seen.size(), static_cast<size_t>(&c - cases + 1));
    }
    EXPECT_TRUE(matches(seen[0], updateForm)) << seen[0];
    EXPECT_TRUE(matches(seen[1], bareHost)) << seen[1]; // the shop
    EXPECT_TRUE(matches(seen[2], bareHost)) << seen[2]; // the forum
    EXPECT_NE(seen[1], seen[2]);
    EXPECT_TRUE(matches(seen[3], contactForm)) << seen[3];
}

TEST(Links, ButtonsOpenOnTheReleaseOverThemAndShareTheirAddresses) {
    BrowserLog log;
    ASSERT_TRUE(log.configured());
    App app;
    ASSERT_TRUE(app.started());
    // The press alone opens nothing; the release over the button opens once.
    for (const char* button : {"按钮3", "按钮4"}) {
        SCOPED_TRACE(button);
        size_t before = log.opened().size();
        moveTo(centreOf(app.control(button)));
        leftDown();
        pause(1200);
        EXPECT_EQ(log.opened().size(), before);
        leftUp();
        EXPECT_EQ(log.awaitCount(before + 1).size(), before + 1);
    }
    // Released after dragging off the button: nothing.
    for (const char* button : {"按钮3", "按钮4"}) {
        SCOPED_TRACE(button);
        moveTo(centreOf(app.control(button)));
        leftDown();
        RECT r = screenRect(app.control(button));
        moveTo(r.right + 30, r.bottom + 30);
        leftUp();
    }
    pause(1500);
    std::vector<std::string> buttons = log.opened();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_TRUE(matches(buttons[0], bareHost)) << buttons[0];
    EXPECT_TRUE(matches(buttons[1], contactForm)) << buttons[1];

    // "按钮3" and "图片框4" open the same page; so do "按钮4" and "透明标签36".
    switchToPage(app, 3);
    click(app.control("图片框4"));
    ASSERT_EQ(log.awaitCount(3, 300).size(), 3u);
    click(app.control("透明标签36"));
    std::vector<std::string> all = log.awaitCount(4, 300);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[2], all[0]);
    EXPECT_EQ(all[3], all[1]);
}

TEST(Links, ADoubleClickOpensOnce) {
    BrowserLog log;
    ASSERT_TRUE(log.configured());
    App app;
    ASSERT_TRUE(app.started());
    doubleClick(centreOf(app.control("透明标签29")));
    EXPECT_EQ(log.awaitCount(1, 1500).size(), 1u);
    switchToPage(app, 3);
    doubleClick(centreOf(app.control("图片框5")));
    EXPECT_EQ(log.awaitCount(2, 1500).size(), 2u);
}

TEST(Links, WorkOnlyWhileTheirPageIsShown) {
    BrowserLog log;
    ASSERT_TRUE(log.configured());
    App app;
    ASSERT_TRUE(app.started());
    // Where the links of one page lie, the other pages show bare page, labels or pictures.
    const char* pageOneLinks[] = {"透明标签29", "按钮3", "按钮4"};
    const char* pageThreeLinks[] = {"图片框4", "图片框5", "透明标签36"};
    for (int page : {2, 3}) {
        switchToPage(app, page);
        for (const char* link : pageOneLinks) click(centreOf(app.control(link)));
    }
    for (int page : {1, 2}) {
        switchToPage(app, page);
        for (const char* link : pageThreeLinks) click(centreOf(app.control(link)));
    }
    pause(1500);
    EXPECT_EQ(log.opened().size(), 0u);
    // Their own pages shown again, they work.
    switchToPage(app, 1);
    click(app.control("按钮3"));
    switchToPage(app, 3);
    click(app.control("图片框5"));
    EXPECT_EQ(log.awaitCount(2, 300).size(), 2u);
}

TEST(Timer, TicksEveryThreeSecondsFromTheStartAlsoUnderTheCopyConfirmation) {
    App app;
    ASSERT_TRUE(app.started());
    using clock = std::chrono::steady_clock;
    auto awaitTrims = [&](int n) {
        waitUntil([&] { return app.countInTrace("trim") >= n; }, 5000);
        return clock::now();
    };
    clock::time_point created = app.createdSeenAt();
    ASSERT_NE(created, clock::time_point{});
    EXPECT_EQ(app.countInTrace("trim"), 0);
    clock::time_point first = awaitTrims(1);
    long long firstAfter = std::chrono::duration_cast<std::chrono::milliseconds>(first - created).count();
    EXPECT_GE(firstAfter, 2800);
    EXPECT_LE(firstAfter, 3600);

    // The confirmation's own loop keeps dispatching the timer.
    click(app.control("按钮2"));
    MessageBoxInfo box = findMessageBox(app.processId());
    ASSERT_NE(box.window, nullptr);
    clock::time_point second = awaitTrims(2);
    clock::time_point third = awaitTrims(3);
    EXPECT_TRUE(IsWindowVisible(box.window)) << "the confirmation is still open";
    EXPECT_EQ(app.countInTrace("trim"), 3);
    for (auto [from, to] : {std::pair{first, second}, std::pair{second, third}}) {
        long long period = std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
        EXPECT_GE(period, 2800);
        EXPECT_LE(period, 3300);
    }
    ASSERT_TRUE(dismiss(box));
}
