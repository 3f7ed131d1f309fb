// velmora.dll under Wine: every export, loaded by name from beside this program,
// against a small window with the kinds of controls the engine skins and some it
// must leave alone. Looks are checked by reading screen pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin_data.h"
#include "skin_format.h"
#include "velmora.h"

namespace {

namespace sf = skinFormat;

struct Api {
#define VELMORA_EXPORT(name) decltype(&SkinH_##name) name = nullptr;
#define VELMORA_EXPORTS                                                                              \
    VELMORA_EXPORT(AttachEx) VELMORA_EXPORT(AttachMemory) VELMORA_EXPORT(Detach)                     \
    VELMORA_EXPORT(IsAttached) VELMORA_EXPORT(ValidateFile) VELMORA_EXPORT(ValidateMemory)           \
    VELMORA_EXPORT(GetLastError) VELMORA_EXPORT(GetErrorText) VELMORA_EXPORT(Version)                \
    VELMORA_EXPORT(GetSkinName) VELMORA_EXPORT(GetColourCount) VELMORA_EXPORT(GetColour)             \
    VELMORA_EXPORT(SetColour) VELMORA_EXPORT(GetMetricCount) VELMORA_EXPORT(GetMetric)               \
    VELMORA_EXPORT(ExcludeWindow) VELMORA_EXPORT(IncludeWindow) VELMORA_EXPORT(IsExcluded)           \
    VELMORA_EXPORT(IsSkinned) VELMORA_EXPORT(GetSkinnedCount) VELMORA_EXPORT(SetEnabled)             \
    VELMORA_EXPORT(IsEnabled) VELMORA_EXPORT(Redraw)
    VELMORA_EXPORTS
#undef VELMORA_EXPORT
};

struct Record {
    int closes = 0;
    WPARAM lastCommand = 0;
} record;

LRESULT CALLBACK frameWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        ++record.closes;
        return 0;
    }
    if (msg == WM_SYSCOMMAND) record.lastCommand = wParam & 0xFFF0;
    return DefWindowProcW(h, msg, wParam, lParam);
}

// Stands for the form runtime's own drawn kinds: paints itself solid red.
LRESULT CALLBACK ownWindowProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &ps.rcPaint, red);
        DeleteObject(red);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcW(h, msg, wParam, lParam);
}

void registerClasses()
{
    static bool done = false;
    if (done) return;
    done = true;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = frameWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"VelmoraTestFrame";
    RegisterClassW(&wc);
    wc.lpfnWndProc = ownWindowProc;
    wc.lpszClassName = L"ColorPicker";
    RegisterClassW(&wc);
}

void pump(int ms)
{
    DWORD until = GetTickCount() + DWORD(ms);
    do {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(5);
    } while (int(until - GetTickCount()) > 0);
}

COLORREF screenPixel(POINT p)
{
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

int distance(COLORREF a, COLORREF b)
{
    int d = abs(GetRValue(a) - GetRValue(b));
    d = std::max(d, abs(GetGValue(a) - GetGValue(b)));
    return std::max(d, abs(GetBValue(a) - GetBValue(b)));
}

COLORREF mix(COLORREF a, COLORREF b, double t)
{
    auto m = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return RGB(m(GetRValue(a), GetRValue(b)), m(GetGValue(a), GetGValue(b)), m(GetBValue(a), GetBValue(b)));
}

#define EXPECT_COLOUR_NEAR(actual, expected, tolerance)                                               \
    EXPECT_LE(distance(actual, expected), tolerance)                                                  \
        << std::hex << "got " << (actual) << " want " << (expected)

std::string tempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void writeFile(const std::string& path, const void* data, std::size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data, 1, size, f);
    std::fclose(f);
}

std::vector<std::uint8_t> readFile(const std::wstring& path)
{
    std::vector<std::uint8_t> bytes;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(f, nullptr));
    DWORD got = 0;
    ReadFile(f, bytes.data(), DWORD(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(f);
    return bytes;
}

POINT centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT screenRect(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return r;
}

class Velmora : public ::testing::Test {
protected:
    HMODULE lib = nullptr;
    Api api;
    sf::Skin skin17, skin1;
    std::string path17, path1;
    HWND frame = nullptr, button = nullptr, groupBox = nullptr, edit = nullptr, tab = nullptr, picker = nullptr;

    void SetUp() override
    {
        registerClasses();
        record = Record{};
        lib = LoadLibraryW(L"velmora.dll");
        ASSERT_NE(lib, nullptr);
#define VELMORA_EXPORT(name)                                                                          \
    api.name = reinterpret_cast<decltype(api.name)>(reinterpret_cast<void*>(GetProcAddress(lib, "SkinH_" #name)));             \
    ASSERT_NE(api.name, nullptr) << "SkinH_" #name;
        VELMORA_EXPORTS
#undef VELMORA_EXPORT
        auto s17 = skinData::skin(17), s1 = skinData::skin(1);
        ASSERT_EQ(sf::parse(s17.data(), s17.size(), skin17), sf::Error::ok);
        ASSERT_EQ(sf::parse(s1.data(), s1.size(), skin1), sf::Error::ok);
        path17 = tempPath("velmora-test-17.skn");
        path1 = tempPath("velmora-test-1.skn");
        writeFile(path17, s17.data(), s17.size());
        writeFile(path1, s1.data(), s1.size());
        createWindows();
    }

    void TearDown() override
    {
        if (frame) DestroyWindow(frame);
        if (lib) {
            if (api.IsAttached && api.IsAttached()) api.Detach();
            FreeLibrary(lib);
        }
        pump(20);
    }

    void createWindows()
    {
        HINSTANCE inst = GetModuleHandleW(nullptr);
        frame = CreateWindowExW(0, L"VelmoraTestFrame", L"Velmora",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                80, 60, 420, 320, nullptr, nullptr, inst, nullptr);
        ASSERT_NE(frame, nullptr);
        auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex, int x, int y, int w, int h) {
            return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, frame, nullptr, inst, nullptr);
        };
        tab = child(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, 10, 10, 200, 120);
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"One");
        SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.pszText = const_cast<wchar_t*>(L"Two");
        SendMessageW(tab, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
        button = child(L"Button", L"OK", BS_PUSHBUTTON, 0, 230, 200, 100, 34);
        groupBox = child(L"Button", L"Group", BS_GROUPBOX, 0, 230, 10, 150, 80);
        edit = child(L"Edit", L"text", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 10, 200, 150, 24);
        picker = child(L"ColorPicker", L"", 0, 0, 230, 120, 40, 40);
        ShowWindow(frame, SW_SHOW);
        SetForegroundWindow(frame);
        SetFocus(groupBox);
        pump(150);
    }

    bool attach17() { return api.AttachEx(path17.c_str(), "") == 1; }

    RECT clientOnScreen(HWND h)
    {
        RECT r;
        GetClientRect(h, &r);
        MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // The caption band: between the window's top frame and its client area.
    RECT captionOnScreen()
    {
        RECT w = screenRect(frame), c = clientOnScreen(frame);
        int border = c.left - w.left;
        return RECT{w.left + border, w.top + border, w.right - border, c.top};
    }

    // Runs of one hit-test code along the caption's middle row, right to left.
    struct Run { LRESULT code; int left, right; };
    std::vector<Run> captionRuns()
    {
        RECT cap = captionOnScreen();
        int y = (cap.top + cap.bottom) / 2;
        std::vector<Run> runs;
        for (int x = cap.right - 1; x >= cap.left; --x) {
            LRESULT code = SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (!runs.empty() && runs.back().code == code) runs.back().left = x;
            else runs.push_back(Run{code, x, x + 1});
        }
        return runs;
    }

    POINT buttonCentre(LRESULT code)
    {
        RECT cap = captionOnScreen();
        for (const auto& run : captionRuns())
            if (run.code == code) return POINT{(run.left + run.right) / 2, (cap.top + cap.bottom) / 2};
        ADD_FAILURE() << "no caption button " << code;
        return POINT{0, 0};
    }

    COLORREF col(int slot) const { return skin17.colours[slot]; }
};

TEST_F(Velmora, VersionCountsAndErrorTexts)
{
    EXPECT_EQ(api.Version(), DWORD(0x0100) << 16 | sf::formatVersion);
    EXPECT_EQ(api.GetColourCount(), int(sf::colourCount));
    EXPECT_EQ(api.GetMetricCount(), int(sf::metricCount));
    EXPECT_STREQ(api.GetErrorText(velmoraOk), "ok");
    EXPECT_STREQ(api.GetErrorText(velmoraBadSkin + int(sf::Error::badMagic)), "not a .SHE skin");
    EXPECT_STREQ(api.GetErrorText(12345), "unknown error");
    EXPECT_EQ(api.IsAttached(), 0);
    EXPECT_EQ(api.IsEnabled(), 1);
}

TEST_F(Velmora, AttachSkinsTheStandardKindsOnlyAndKeepsSizes)
{
    RECT outerBefore = screenRect(frame), clientBefore = clientOnScreen(frame);
    ASSERT_TRUE(attach17());
    pump(150);
    EXPECT_EQ(api.IsAttached(), 1);
    EXPECT_EQ(api.GetLastError(), velmoraOk);
    EXPECT_EQ(api.IsSkinned(frame), 1);
    EXPECT_EQ(api.IsSkinned(button), 1);
    EXPECT_EQ(api.IsSkinned(edit), 1);
    EXPECT_EQ(api.IsSkinned(tab), 1);
    EXPECT_EQ(api.IsSkinned(groupBox), 0);
    EXPECT_EQ(api.IsSkinned(picker), 0);
    EXPECT_EQ(api.GetSkinnedCount(), 4);
    RECT outerAfter = screenRect(frame);
    EXPECT_TRUE(EqualRect(&outerBefore, &outerAfter));
    RECT clientAfter = clientOnScreen(frame);
    EXPECT_TRUE(EqualRect(&clientBefore, &clientAfter));

    // Windows created later are caught by the hook; a group box still is not.
    HWND later = CreateWindowExW(0, L"Button", L"Later", WS_CHILD | WS_VISIBLE, 10, 150, 60, 24, frame, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    HWND laterGroup = CreateWindowExW(0, L"Button", L"G", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 80, 150, 60, 24, frame,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(api.IsSkinned(later), 1);
    EXPECT_EQ(api.IsSkinned(laterGroup), 0);
    DestroyWindow(later);
    EXPECT_EQ(api.IsSkinned(later), 0);
    EXPECT_EQ(api.GetSkinnedCount(), 4);
}

TEST_F(Velmora, PaintsCaptionFaceTabButtonAndEditInSkinColours)
{
    COLORREF captionBefore = screenPixel(POINT{captionOnScreen().left + 200, captionOnScreen().top + 1});
    ASSERT_TRUE(attach17());
    pump(200);
    RECT cap = captionOnScreen();
    // Skin 17 runs its gradient across the caption.
    int x = cap.left + (cap.right - cap.left) * 6 / 10;
    double t = double(x - cap.left) / (cap.right - cap.left - 1);
    COLORREF caption = screenPixel(POINT{x, cap.top + 1});
    EXPECT_COLOUR_NEAR(caption, mix(col(sf::captionActiveStart), col(sf::captionActiveEnd), t), 6);
    EXPECT_GT(distance(caption, captionBefore), 30);

    RECT client = clientOnScreen(frame);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{client.right - 10, client.top + 150}), col(sf::face), 0);

    RECT b = screenRect(button);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{b.left + 4, b.bottom - 3}), col(sf::buttonFace), 8);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{(b.left + b.right) / 2, b.top}), col(sf::buttonBorder), 0);

    RECT e = screenRect(edit);
    COLORREF edge = screenPixel(POINT{e.left, (e.top + e.bottom) / 2});
    EXPECT_TRUE(edge == col(sf::editFrame) || edge == col(sf::editFrameFocus)) << std::hex << edge;

    RECT tr = screenRect(tab);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{tr.left, tr.bottom - 10}), col(sf::tabBorder), 0);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{tr.left + 20, tr.bottom - 10}), col(sf::tabSelected), 0);

    // The runtime's own kinds keep their painting.
    EXPECT_EQ(screenPixel(centre(screenRect(picker))), RGB(255, 0, 0));
}

TEST_F(Velmora, InactiveCaptionUsesTheInactiveColours)
{
    ASSERT_TRUE(attach17());
    pump(100);
    SendMessageW(frame, WM_NCACTIVATE, FALSE, 0);
    pump(50);
    RECT cap = captionOnScreen();
    EXPECT_COLOUR_NEAR(screenPixel(POINT{cap.left + 1, cap.top + 1}), col(sf::captionInactiveStart), 6);
    SendMessageW(frame, WM_NCACTIVATE, TRUE, 0);
    pump(50);
    EXPECT_COLOUR_NEAR(screenPixel(POINT{cap.left + 1, cap.top + 1}), col(sf::captionActiveStart), 6);
}

TEST_F(Velmora, CaptionButtonsHitTestAndShowHotAndPressedStates)
{
    ASSERT_TRUE(attach17());
    pump(100);
    auto runs = captionRuns();
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].code, HTCAPTION);  // the caption margin right of the close button
    EXPECT_EQ(runs[1].code, HTCLOSE);
    int i = 2;
    while (i < int(runs.size()) && runs[i].code == HTCAPTION) ++i;
    ASSERT_LT(i, int(runs.size()));
    EXPECT_EQ(runs[i].code, HTMINBUTTON);
    for (const auto& run : runs) EXPECT_NE(run.code, HTMAXBUTTON);  // no maximise box, none drawn

    RECT cap = captionOnScreen();
    POINT closeCorner = {runs[1].left + 1, cap.top + skin17.metrics[sf::captionButtonMargin] + 2};
    SendMessageW(frame, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(runs[1].left + 2, cap.top + 5));
    pump(30);
    EXPECT_COLOUR_NEAR(screenPixel(closeCorner), col(sf::closeButtonHot), 8);
    SendMessageW(frame, WM_NCMOUSELEAVE, 0, 0);
    pump(30);
    EXPECT_GT(distance(screenPixel(closeCorner), col(sf::closeButtonHot)), 40);
}

TEST_F(Velmora, CloseButtonSendsCloseOnlyWhenReleasedOnIt)
{
    ASSERT_TRUE(attach17());
    pump(100);
    POINT close = buttonCentre(HTCLOSE);
    POINT inClient = close;
    ScreenToClient(frame, &inClient);
    // Pressed, then released away from the button: cancelled, as with the system's buttons.
    PostMessageW(frame, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
    PostMessageW(frame, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(inClient.x - 150, inClient.y));
    PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(inClient.x - 150, inClient.y));
    pump(100);
    EXPECT_EQ(record.closes, 0);
    PostMessageW(frame, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
    PostMessageW(frame, WM_LBUTTONUP, 0, MAKELPARAM(inClient.x, inClient.y));
    pump(100);
    EXPECT_EQ(record.lastCommand, WPARAM(SC_CLOSE));
    EXPECT_EQ(record.closes, 1);
}

TEST_F(Velmora, RealClicksMinimiseAndCloseTheWindow)
{
    ASSERT_TRUE(attach17());
    pump(100);
    auto click = [](POINT p) {
        SetCursorPos(p.x, p.y);
        pump(50);
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        pump(250);
    };
    POINT minimise = buttonCentre(HTMINBUTTON), close = buttonCentre(HTCLOSE);
    click(minimise);
    EXPECT_TRUE(IsIconic(frame));
    ShowWindow(frame, SW_RESTORE);
    SetForegroundWindow(frame);
    pump(200);
    EXPECT_FALSE(IsIconic(frame));
    RECT cap = captionOnScreen();
    EXPECT_COLOUR_NEAR(screenPixel(POINT{cap.left + 1, cap.top + 1}), col(sf::captionActiveStart), 6);
    click(close);
    EXPECT_EQ(record.closes, 1);
}

TEST_F(Velmora, PushButtonShowsPressedAndHotStates)
{
    ASSERT_TRUE(attach17());
    pump(100);
    RECT b = screenRect(button);
    POINT probe = {b.left + 4, b.bottom - 3};
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    pump(30);
    EXPECT_COLOUR_NEAR(screenPixel(probe), col(sf::buttonPressed), 4);
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
    POINT c = centre(b);
    SetCursorPos(c.x, c.y);
    pump(150);
    EXPECT_COLOUR_NEAR(screenPixel(probe), col(sf::buttonHot), 8);
    SetCursorPos(5, 1000);
    pump(700);  // leave tracking may poll at the hover time
    EXPECT_COLOUR_NEAR(screenPixel(probe), col(sf::buttonFace), 8);
}

TEST_F(Velmora, RefusedSkinsLeaveTheWindowsAlone)
{
    struct Case { const char* what; std::vector<std::uint8_t> bytes; int code; };
    auto real = skinData::skin(17);
    std::vector<std::uint8_t> cut(real.begin(), real.begin() + 1000), flipped(real.begin(), real.end());
    flipped[100] ^= 0x40;
    std::vector<Case> cases = {
        {"garbage", {'M', 'Z', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, velmoraBadSkin + int(sf::Error::badMagic)},
        {"cut short", cut, velmoraBadSkin + int(sf::Error::sizeMismatch)},
        {"one byte changed", flipped, velmoraBadSkin + int(sf::Error::badChecksum)},
        {"empty", {}, velmoraBadSkin + int(sf::Error::tooSmall)},
    };
    COLORREF before = screenPixel(POINT{captionOnScreen().left + 1, captionOnScreen().top + 1});
    static const std::uint8_t none = 0;
    for (const auto& c : cases) {
        const std::uint8_t* data = c.bytes.empty() ? &none : c.bytes.data();
        EXPECT_EQ(api.ValidateMemory(data, DWORD(c.bytes.size())), c.code) << c.what;
        EXPECT_EQ(api.AttachMemory(data, DWORD(c.bytes.size()), nullptr), 0) << c.what;
        EXPECT_EQ(api.GetLastError(), c.code) << c.what;
        std::string path = tempPath("velmora-test-bad.skn");
        writeFile(path, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(api.ValidateFile(path.c_str()), c.code) << c.what;
        EXPECT_EQ(api.AttachEx(path.c_str(), ""), 0) << c.what;
    }
    pump(50);
    EXPECT_EQ(api.IsAttached(), 0);
    EXPECT_EQ(api.IsSkinned(frame), 0);
    EXPECT_EQ(screenPixel(POINT{captionOnScreen().left + 1, captionOnScreen().top + 1}), before);

    EXPECT_EQ(api.AttachEx("C:\\no\\such\\velmora.skn", ""), 0);
    EXPECT_EQ(api.GetLastError(), velmoraFileUnreadable);
    EXPECT_EQ(api.AttachEx(nullptr, ""), 0);
    EXPECT_EQ(api.GetLastError(), velmoraBadArgument);
    EXPECT_EQ(api.AttachMemory(nullptr, 10, nullptr), 0);
    EXPECT_EQ(api.ValidateFile(path17.c_str()), velmoraOk);
    EXPECT_EQ(api.ValidateMemory(real.data(), DWORD(real.size())), velmoraOk);
}

TEST_F(Velmora, NameColoursAndMetricsOfTheAttachedSkin)
{
    char name[64];
    EXPECT_EQ(api.GetSkinName(name, sizeof name), 0);
    EXPECT_EQ(api.GetLastError(), velmoraNotAttached);
    EXPECT_EQ(api.GetColour(0), CLR_INVALID);
    EXPECT_EQ(api.GetMetric(0), -1);
    ASSERT_TRUE(attach17());

    wchar_t wide[64];
    MultiByteToWideChar(CP_UTF8, 0, skin17.name, -1, wide, 64);
    char expected[64];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, expected, 64, nullptr, nullptr);
    EXPECT_EQ(api.GetSkinName(name, sizeof name), int(strlen(expected)));
    EXPECT_STREQ(name, expected);
    char tiny[2] = {'x', 'x'};
    EXPECT_LE(api.GetSkinName(tiny, 2), 1);
    EXPECT_LE(strlen(tiny), 1u);
    EXPECT_EQ(api.GetSkinName(nullptr, 10), 0);

    for (int i = 0; i < sf::colourCount; ++i) EXPECT_EQ(api.GetColour(i), skin17.colours[i]) << i;
    for (int i = 0; i < sf::metricCount; ++i) EXPECT_EQ(api.GetMetric(i), skin17.metrics[i]) << i;
    EXPECT_EQ(api.GetColour(sf::colourCount), CLR_INVALID);
    EXPECT_EQ(api.GetColour(-1), CLR_INVALID);
    EXPECT_EQ(api.GetMetric(sf::metricCount), -1);
    EXPECT_EQ(api.GetLastError(), velmoraBadArgument);

    // A second attach replaces the skin.
    ASSERT_EQ(api.AttachEx(path1.c_str(), nullptr), 1);
    EXPECT_EQ(api.GetColour(sf::face), skin1.colours[sf::face]);
    EXPECT_EQ(api.IsSkinned(frame), 1);
}

TEST_F(Velmora, SetColourRepaintsWithTheNewColour)
{
    ASSERT_TRUE(attach17());
    ASSERT_EQ(api.SetColour(sf::face, RGB(10, 200, 30)), 1);
    EXPECT_EQ(api.GetColour(sf::face), RGB(10, 200, 30));
    pump(100);
    RECT client = clientOnScreen(frame);
    EXPECT_EQ(screenPixel(POINT{client.right - 10, client.top + 150}), RGB(10, 200, 30));
    EXPECT_EQ(api.SetColour(sf::colourCount, 0), 0);
    EXPECT_EQ(api.SetColour(0, 0x01000000), 0);
    EXPECT_EQ(api.GetLastError(), velmoraBadArgument);
}

TEST_F(Velmora, ExcludedWindowsAndClassesAreLeftAlone)
{
    ASSERT_EQ(api.AttachEx(path17.c_str(), "Edit;SysTabControl32"), 1);
    EXPECT_EQ(api.IsSkinned(edit), 0);
    EXPECT_EQ(api.IsSkinned(tab), 0);
    EXPECT_EQ(api.IsSkinned(button), 1);

    EXPECT_EQ(api.ExcludeWindow(frame), 1);
    EXPECT_EQ(api.IsExcluded(frame), 1);
    EXPECT_EQ(api.IsExcluded(button), 1);  // through its parent
    EXPECT_EQ(api.IsSkinned(frame), 0);
    EXPECT_EQ(api.IsSkinned(button), 0);
    HWND later = CreateWindowExW(0, L"Button", L"Later", WS_CHILD | WS_VISIBLE, 10, 150, 60, 24, frame, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(api.IsSkinned(later), 0);

    EXPECT_EQ(api.IncludeWindow(frame), 1);
    EXPECT_EQ(api.IsExcluded(frame), 0);
    EXPECT_EQ(api.IsSkinned(frame), 1);
    EXPECT_EQ(api.IsSkinned(button), 1);
    EXPECT_EQ(api.IsSkinned(later), 1);
    EXPECT_EQ(api.IsSkinned(edit), 0);  // still excluded by class
    EXPECT_EQ(api.ExcludeWindow(nullptr), 0);
    EXPECT_EQ(api.IncludeWindow(reinterpret_cast<HWND>(0x1234)), 0);
}

TEST_F(Velmora, DisablingDrawsAsTheSystemWithoutDetaching)
{
    RECT cap = captionOnScreen();
    POINT probe = {cap.left + 1, cap.top + 1};
    COLORREF system = screenPixel(probe);
    ASSERT_TRUE(attach17());
    pump(100);
    EXPECT_COLOUR_NEAR(screenPixel(probe), col(sf::captionActiveStart), 6);
    EXPECT_EQ(api.SetEnabled(0), 1);
    EXPECT_EQ(api.IsEnabled(), 0);
    pump(100);
    EXPECT_EQ(screenPixel(probe), system);
    EXPECT_EQ(api.IsSkinned(frame), 1);
    EXPECT_EQ(api.SetEnabled(1), 1);
    EXPECT_EQ(api.Redraw(), 1);
    pump(100);
    EXPECT_COLOUR_NEAR(screenPixel(probe), col(sf::captionActiveStart), 6);
}

TEST_F(Velmora, DetachRestoresTheSystemLook)
{
    RECT cap = captionOnScreen();
    POINT probe = {cap.left + 1, cap.top + 1};
    COLORREF system = screenPixel(probe);
    EXPECT_EQ(api.Detach(), 0);
    EXPECT_EQ(api.GetLastError(), velmoraNotAttached);
    EXPECT_EQ(api.Redraw(), 0);
    ASSERT_TRUE(attach17());
    pump(100);
    EXPECT_EQ(api.Detach(), 1);
    pump(100);
    EXPECT_EQ(api.IsAttached(), 0);
    EXPECT_EQ(api.GetSkinnedCount(), 0);
    EXPECT_EQ(api.IsSkinned(frame), 0);
    EXPECT_EQ(screenPixel(probe), system);
    HWND later = CreateWindowExW(0, L"Button", L"Later", WS_CHILD | WS_VISIBLE, 10, 150, 60, 24, frame, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(api.IsSkinned(later), 0);
}

TEST_F(Velmora, UnloadingWhileAttachedLeavesNothingBehind)
{
    ASSERT_TRUE(attach17());
    pump(100);
    ASSERT_TRUE(FreeLibrary(lib));
    lib = nullptr;
    ASSERT_EQ(GetModuleHandleW(L"velmora.dll"), nullptr);
    // Messages to the once skinned windows, and new windows, must not reach the unloaded code.
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(100, 70));
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    SendMessageW(frame, WM_NCACTIVATE, FALSE, 0);
    HWND later = CreateWindowExW(0, L"Button", L"Later", WS_CHILD | WS_VISIBLE, 10, 150, 60, 24, frame, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(later, nullptr);
    pump(100);
    RECT cap = captionOnScreen();
    SendMessageW(frame, WM_NCACTIVATE, TRUE, 0);
    pump(50);
    EXPECT_GT(distance(screenPixel(POINT{cap.left + 1, cap.top + 1}), col(sf::captionActiveStart)), 20);
}

TEST_F(Velmora, MessageBoxStillWorks)
{
    ASSERT_TRUE(attach17());
    static HWND box;
    static int boxSkinned;
    box = nullptr;
    boxSkinned = -1;
    static Api* current;
    current = &api;
    UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM) {
            wchar_t cls[16];
            if (GetClassNameW(h, cls, 16) && lstrcmpW(cls, L"#32770") == 0) box = h;
            return TRUE;
        }, 0);
        if (!box) return;
        boxSkinned = current->IsSkinned(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(MessageBoxW(frame, L"复制成功", L"恭喜", MB_OK), IDOK);
    EXPECT_NE(box, nullptr);
    EXPECT_EQ(boxSkinned, 1);
}

// The image the program carries is this tree's velmora.dll, padded with zeros.
TEST(EngineImage, IsTheLibraryPaddedToItsFixedSize)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dll(exe);
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"velmora.dll";
    auto library = readFile(dll);
    auto image = skinData::engineImage();
    ASSERT_FALSE(library.empty());
    ASSERT_EQ(image.size(), skinData::engineImageSize);
    ASSERT_LE(library.size(), image.size());
    EXPECT_TRUE(std::equal(library.begin(), library.end(), image.begin()));
    EXPECT_TRUE(std::all_of(image.begin() + library.size(), image.end(), [](std::uint8_t b) { return b == 0; }));
}

} // namespace
