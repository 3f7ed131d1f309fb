// The faults a shop decorator's PC really has, each against the real program,
// each putting the prefix back after itself. In every row the window works
// and Esc ends it with exit code 0. (The clipboard held during a copy, and an
// engine entry that is a directory, an empty file or a damaged library, are
// rows of the navigation and skin suites.)
#include "driver.h"
#include "prefix_files.h"
#include "skin_data.h"

#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace driver;
using namespace prefix;

namespace {

std::vector<std::uint8_t> bytesOf(std::span<const std::uint8_t> s) { return {s.begin(), s.end()}; }

// The window works: the generator fills its box, and Esc ends with exit code 0 after the exit hook.
void expectWorksAndEndsWithZero(App& app) {
    click(app.control("按钮1"));
    EXPECT_TRUE(waitUntil([&] { return text(app.control("编辑框1")).size() == 1334; }));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
    EXPECT_EQ(app.countInTrace("exit-hook"), 1);
}

bool engineLoaded(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool loaded = false;
    for (BOOL more = Module32FirstW(snapshot, &entry); more && !loaded; more = Module32NextW(snapshot, &entry))
        loaded = lstrcmpiW(entry.szModule, L"velmora.dll") == 0;
    CloseHandle(snapshot);
    return loaded;
}

} // namespace

TEST(Faults, ASystemDirectoryThatCannotBeWrittenLeavesAnUnskinnedWorkingWindow) {
    SystemDirectory restore;
    ProgramCopy alone(L"quorvel-fault-readonly", false);
    ASSERT_TRUE(alone.ready());
    removeEntry(enginePath);
    removeEntry(skinPath);
    {
        Immutable locked(systemDirectory);
        ASSERT_TRUE(locked.ok()) << "the system directory could not be made unwritable";
        App app(alone.exe());
        ASSERT_TRUE(app.started());
        EXPECT_EQ(GetFileAttributesW(enginePath), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetFileAttributesW(skinPath), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(engineLoaded(app.processId()));
        expectWorksAndEndsWithZero(app);
    }
    // Nothing half-written was left behind under another name either.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"C:\\windows\\system32\\velmora.*", &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST(Faults, ASkinFileThatCannotBeWrittenIsLeftToTheEngine) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> skin;
    };
    std::vector<std::uint8_t> garbage(5000, 0x5A);
    garbage[0] = '.', garbage[1] = 'S', garbage[2] = 'H', garbage[3] = 'E';
    const Case cases[] = {
        {"an older skin the engine accepts", bytesOf(skinData::skin(5))},
        {"a skin file the engine refuses", garbage},
    };
    std::vector<COLORREF> captions;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SystemDirectory restore;
        ProgramCopy alone(L"quorvel-fault-skin", false);
        ASSERT_TRUE(alone.ready());
        ASSERT_TRUE(writeBytes(enginePath, skinData::engineImage()));
        ASSERT_TRUE(writeBytes(skinPath, c.skin));
        Immutable locked(skinPath);
        ASSERT_TRUE(locked.ok());
        App app(alone.exe());
        ASSERT_TRUE(app.started());
        EXPECT_EQ(readFile(skinPath), c.skin); // the write failed and changed nothing
        // The engine is loaded either way; only an accepted skin changes the look.
        EXPECT_TRUE(engineLoaded(app.processId()));
        activate(app.window());
        captions.push_back(pixel(screenRect(app.window()).left + 500, screenRect(app.window()).top + 6));
        expectWorksAndEndsWithZero(app);
    }
    // The accepted skin changed the caption; the refused one left the system's.
    ASSERT_EQ(captions.size(), 2u);
    EXPECT_NE(captions[0], captions[1]);
}

TEST(Faults, AnEngineWithoutItsEntryPointLeavesAnUnskinnedWorkingWindow) {
    SystemDirectory restore;
    ProgramCopy alone(L"quorvel-fault-noexport", false);
    ASSERT_TRUE(alone.ready());
    // A real library, but not the engine: the probe library of the runtime tests.
    std::wstring library = widen(QUORVEL_EXE);
    library = library.substr(0, library.find_last_of(L'\\') + 1) + L"probe\\probe_beside.dll";
    ASSERT_TRUE(CopyFileW(library.c_str(), enginePath, FALSE));
    App app(alone.exe());
    ASSERT_TRUE(app.started());
    expectWorksAndEndsWithZero(app);
}

TEST(Faults, NoBrowserForWebAddressesChangesNothingAndShowsNothing) {
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, KEY_READ | KEY_WRITE, &key),
              ERROR_SUCCESS);
    wchar_t saved[1024] = {};
    DWORD size = sizeof saved;
    RegQueryValueExW(key, L"Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size);
    const wchar_t none[] = L"/nonexistent/quorvel-no-browser";
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(none), sizeof none);
    {
        App app;
        ASSERT_TRUE(app.started());
        std::string before = text(app.control("编辑框2"));
        moveTo(centreOf(app.control("透明标签29")));
        leftDown();
        leftUp();
        pause(1500);
        // No box of the program's, no change to the page.
        EXPECT_EQ(findMessageBox(app.processId(), 500).window, nullptr);
        EXPECT_EQ(text(app.control("编辑框2")), before);
        EXPECT_TRUE(IsWindowVisible(app.control("透明标签29")));
        expectWorksAndEndsWithZero(app);
    }
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), size);
    RegCloseKey(key);
}

TEST(Faults, CancellingTheColourDialogKeepsThePickersColour) {
    App app;
    ASSERT_TRUE(app.started());
    HWND picker = app.control("颜色选择器4");
    ASSERT_TRUE(pickNamedColour(picker, 2)); // red
    ASSERT_EQ(swatchColour(picker), RGB(0xFF, 0, 0));
    click(picker);
    HWND menu = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (menu = openMenu()) != nullptr; }));
    RECT r = screenRect(menu);
    POINT more{r.left + 3 * (r.right - r.left) / 4, r.bottom - 13};
    moveTo(more.x, more.y - 3);
    click(more);
    MessageBoxInfo dialog = findMessageBox(app.processId());
    ASSERT_NE(dialog.window, nullptr);
    PostMessageW(dialog.window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog.window); }));
    pause(200);
    EXPECT_EQ(swatchColour(picker), RGB(0xFF, 0, 0));
    click(app.control("按钮1"));
    EXPECT_TRUE(waitUntil([&] { return text(app.control("编辑框1")).find("{color:#ff0000;}") != std::string::npos; }));
    press(VK_ESCAPE);
    EXPECT_EQ(app.waitForExit(), 0);
}
