// The skinned program: what start-up writes into the system directory, the
// engine loaded into the process and drawing skin 17, and every way a broken
// engine entry can look, each of which must leave a working, unskinned window.
// Every test puts the system directory back as it found it.
#include "driver.h"
#include "skin_data.h"
#include "prefix_files.h"
#include "skin_format.h"

#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

using namespace driver;
using namespace prefix;

namespace {

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> s) { return {s.begin(), s.end()}; }

bool engineLoadedIn(DWORD pid, std::wstring* path = nullptr) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szModule, L"velmora.dll") == 0) {
            found = true;
            if (path) *path = entry.szExePath;
            break;
        }
    }
    CloseHandle(snapshot);
    return found;
}

skinFormat::Skin skin17() {
    static std::vector<std::uint8_t> bytes = bytesOf(skinData::skin(17));
    skinFormat::Skin skin;
    EXPECT_EQ(skinFormat::parse(bytes.data(), bytes.size(), skin), skinFormat::Error::ok);
    return skin;
}

// A caption pixel between the title text and the caption buttons.
COLORREF captionPixel(HWND w) {
    RECT r = screenRect(w);
    int frame = GetSystemMetrics(SM_CYFIXEDFRAME);
    return pixel(r.left + (r.right - r.left) * 3 / 4, r.top + frame + 3);
}

bool betweenInEachChannel(COLORREF c, COLORREF a, COLORREF b, int slack) {
    auto inRange = [&](int v, int x, int y) { return v >= std::min(x, y) - slack && v <= std::max(x, y) + slack; };
    return inRange(GetRValue(c), GetRValue(a), GetRValue(b)) && inRange(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           inRange(GetBValue(c), GetBValue(a), GetBValue(b));
}

void expectWindowWorksUnskinnedOrSkinned(App& app) {
    RECT r = screenRect(app.window());
    EXPECT_EQ(r.right - r.left, 764);
    EXPECT_EQ(r.bottom - r.top, 533);
    RECT expected{0, 0, 0, 0};
    AdjustWindowRectEx(&expected, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE,
                       WS_EX_APPWINDOW | WS_EX_CONTROLPARENT);
    RECT client;
    GetClientRect(app.window(), &client);
    EXPECT_EQ(client.right, 764 - (expected.right - expected.left));
    EXPECT_EQ(client.bottom, 533 - (expected.bottom - expected.top));
    // The bottom row stays inside the client area.
    RECT link = screenRect(app.control("透明标签29"));
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(app.window(), &bottomRight);
    EXPECT_LE(link.bottom, bottomRight.y);
    EXPECT_TRUE(visible(app.control("透明标签29")));
}

void expectPagesWork(App& app) {
    click(app.control("按钮1"));
    EXPECT_TRUE(waitUntil([&] { return text(app.control("编辑框1")).size() == 1334; }));
    // The second page's generator, reached through its tab.
    HWND tab = app.control("选择夹1");
    RECT t = screenRect(tab);
    click(POINT{t.left + 150, t.top + 10});
    EXPECT_TRUE(waitUntil([&] { return visible(app.control("按钮5")); }));
    click(app.control("按钮5"));
    EXPECT_TRUE(waitUntil([&] { return text(app.control("编辑框7")).size() == 112; }));
}

} // namespace

TEST(Skinning, StartUpInstallsTheEngineWritesSkin17AndTheEngineDrawsIt) {
    SystemDirectory restore;
    removeEntry(enginePath);
    removeEntry(skinPath);
    App app;
    ASSERT_TRUE(app.started());
    EXPECT_EQ(readFile(enginePath), bytesOf(skinData::engineImage()));
    EXPECT_EQ(readFile(enginePath)->size(), 88576u);
    EXPECT_EQ(readFile(skinPath), bytesOf(skinData::skin(17)));
    EXPECT_EQ(readFile(skinPath)->size(), 12278u);
    EXPECT_TRUE(engineLoadedIn(app.processId()));
    expectWindowWorksUnskinnedOrSkinned(app);

    skinFormat::Skin skin = skin17();
    activate(app.window());
    pause(300);
    EXPECT_TRUE(betweenInEachChannel(captionPixel(app.window()), skin.colours[skinFormat::captionActiveStart],
                                     skin.colours[skinFormat::captionActiveEnd], 24))
        << std::hex << captionPixel(app.window());
    // The tab body's bare strip under the group box shows the skin's face, a
    // button's lower body the skin's button face.
    HWND tab = app.control("选择夹1");
    EXPECT_TRUE(betweenInEachChannel(pixelIn(tab, 300, 484), skin.colours[skinFormat::face],
                                     skin.colours[skinFormat::face], 6))
        << std::hex << pixelIn(tab, 300, 484);
    HWND button = app.control("按钮1");
    EXPECT_TRUE(betweenInEachChannel(pixelIn(button, 8, 26), skin.colours[skinFormat::buttonFace],
                                     skin.colours[skinFormat::buttonFace], 16))
        << std::hex << pixelIn(button, 8, 26);
    // Both kinds of edit box, the system's single-line one and the runtime's
    // multi-line one, wear the skin's edit frame.
    for (const char* name : {"编辑框1", "编辑框2"}) {
        RECT r = screenRect(app.control(name));
        COLORREF edge = pixel(r.left, r.top + 10);
        EXPECT_TRUE(closeTo(edge, skin.colours[skinFormat::editFrame], 8) ||
                    closeTo(edge, skin.colours[skinFormat::editFrameFocus], 8))
            << name << " " << std::hex << edge;
    }
    // The runtime's own kinds keep their colours under the skin.
    HWND tile = app.control("外形框1");
    EXPECT_EQ(pixelIn(tile, 3, 3), RGB(0, 0, 0));
    HWND picker = app.control("颜色选择器3");
    EXPECT_EQ(pixelIn(picker, 20, 12), RGB(0, 0, 0));

    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Skinning, MinimiseAndRestoreWorkUnderTheSkin) {
    SystemDirectory restore;
    App app;
    ASSERT_TRUE(app.started());
    ShowWindowAsync(app.window(), SW_MINIMIZE);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(app.window()) != FALSE; }));
    ShowWindowAsync(app.window(), SW_RESTORE);
    EXPECT_TRUE(waitUntil([&] { return IsIconic(app.window()) == FALSE; }));
    pause(300);
    expectWindowWorksUnskinnedOrSkinned(app);
    click(captionCloseButton(app.window()));
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

TEST(Skinning, ASecondStartLeavesAPlantedEngineAloneAndRewritesTheSkinFile) {
    SystemDirectory restore;
    {
        App first;
        ASSERT_TRUE(first.started());
    }
    // A planted engine file: any contents count as installed and are never replaced.
    std::vector<std::uint8_t> planted = bytesOf(skinData::engineImage());
    planted.push_back(0x5A);
    ASSERT_TRUE(writeBytes(enginePath, planted));
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    ASSERT_TRUE(writeBytes(skinPath, old));
    App second;
    ASSERT_TRUE(second.started());
    EXPECT_EQ(readFile(enginePath), planted);
    EXPECT_EQ(readFile(skinPath), bytesOf(skinData::skin(17)));
}

TEST(Skinning, AnEngineEntryThatIsNoUsableLibraryLeavesAWorkingUnskinnedWindow) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes; // empty with directory set: a directory
        bool directory;
    };
    std::vector<std::uint8_t> garbage(4096);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::vector<std::uint8_t> damaged = bytesOf(skinData::engineImage());
    damaged.resize(1024); // the headers of a library, cut short
    const Case cases[] = {
        {"a directory", {}, true},
        {"an empty file", {}, false},
        {"a garbage file", garbage, false},
        {"a damaged library", damaged, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SystemDirectory restore;
        ProgramCopy alone(L"quorvel-alone", false);
        ASSERT_TRUE(alone.ready());
        removeEntry(enginePath);
        if (c.directory)
            ASSERT_TRUE(CreateDirectoryW(enginePath, nullptr));
        else
            ASSERT_TRUE(writeBytes(enginePath, c.bytes));
        App app(alone.exe());
        ASSERT_TRUE(app.started());
        EXPECT_FALSE(engineLoadedIn(app.processId()));
        expectWindowWorksUnskinnedOrSkinned(app);
        // Unskinned: the caption is not in skin 17's colours, which shows the check above means something.
        skinFormat::Skin skin = skin17();
        activate(app.window());
        EXPECT_FALSE(betweenInEachChannel(captionPixel(app.window()), skin.colours[skinFormat::captionActiveStart],
                                          skin.colours[skinFormat::captionActiveEnd], 8));
        expectPagesWork(app);
        // The entry was left as it was.
        if (c.directory) EXPECT_TRUE(GetFileAttributesW(enginePath) & FILE_ATTRIBUTE_DIRECTORY);
        else EXPECT_EQ(readFile(enginePath), c.bytes);
        press(VK_ESCAPE);
        EXPECT_EQ(app.waitForExit(), 0);
        EXPECT_EQ(app.countInTrace("exit-hook"), 1);
    }
}

TEST(Skinning, AnEngineBesideTheProgramIsTheOneLoaded) {
    SystemDirectory restore;
    ProgramCopy beside(L"quorvel-beside", true);
    ASSERT_TRUE(beside.ready());
    const std::wstring& exe = beside.exe();
    const std::wstring& engine = beside.engine();
    {
        App app(exe);
        ASSERT_TRUE(app.started());
        std::wstring loaded;
        ASSERT_TRUE(engineLoadedIn(app.processId(), &loaded));
        EXPECT_EQ(lstrcmpiW(loaded.c_str(), engine.c_str()), 0) << narrow(loaded);
        press(VK_ESCAPE);
        EXPECT_EQ(app.waitForExit(), 0);
    }
}
