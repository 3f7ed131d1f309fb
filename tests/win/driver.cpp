#include "driver.h"

#include "ui/layout.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef QUORVEL_EXE
#error "QUORVEL_EXE names the program under test"
#endif

namespace driver {

std::wstring widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& utf16) {
    if (utf16.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string inCodePage936(const std::string& utf8) {
    std::wstring wide = widen(utf8);
    int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool waitUntil(const std::function<bool()>& predicate, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (predicate()) return true;
        pause(20);
    }
    return predicate();
}

namespace {

struct FindTopLevel {
    std::wstring title;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK findTopLevelProc(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindTopLevel*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (f->pid && pid != f->pid) return TRUE;
    if (!IsWindowVisible(hwnd)) return TRUE;
    wchar_t title[256] = {};
    GetWindowTextW(hwnd, title, 256);
    if (f->title == title) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct FindById {
    int id;
    HWND found;
};

BOOL CALLBACK findByIdProc(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindById*>(param);
    if (GetDlgCtrlID(hwnd) == f->id) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

std::wstring tempTracePath() {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    static int counter = 0;
    return std::wstring(dir) + L"quorvel-trace-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L".txt";
}

void send(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
    pause(15);
}

} // namespace

App::App(const std::wstring& exe) {
    std::wstring path = exe.empty() ? widen(QUORVEL_EXE) : exe;
    // Every run starts with the pointer off the window: a window that appears
    // under the pointer gets a pointer message, and where an earlier test left
    // the pointer would then decide what the preview tiles show.
    moveTo(0, 0);
    tracePath_ = tempTracePath();
    DeleteFileW(tracePath_.c_str());
    SetEnvironmentVariableW(L"QUORVEL_TRACE", tracePath_.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
        return;
    SetEnvironmentVariableW(L"QUORVEL_TRACE", nullptr);
    // The "created" line is watched for while the window is awaited, so tests
    // can time what the created handler started.
    FindTopLevel f{widen(layout::mainWindowTitle), info_.dwProcessId, nullptr};
    bool createdSeen = false;
    waitUntil(
        [&] {
            if (!createdSeen && countInTrace("created") > 0) {
                createdSeen = true;
                createdSeenAt_ = std::chrono::steady_clock::now();
            }
            EnumWindows(findTopLevelProc, reinterpret_cast<LPARAM>(&f));
            return f.found != nullptr;
        },
        15000);
    window_ = f.found;
    if (window_) {
        // Let the first paint settle before anyone looks at pixels.
        waitUntil([&] { return countInTrace("shown") > 0; }, 5000);
        pause(300);
    }
}

App::~App() {
    if (info_.hProcess) {
        if (!ended_ && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    DeleteFileW(tracePath_.c_str());
}

HWND App::control(const char* name) const {
    const layout::Control* spec = layout::find(name);
    if (!spec || !window_) return nullptr;
    FindById f{spec->id, nullptr};
    EnumChildWindows(window_, findByIdProc, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

long App::waitForExit(int timeoutMs) {
    if (!info_.hProcess) return -3;
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -2;
    ended_ = true;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(static_cast<int>(code));
}

std::vector<std::string> App::trace() const {
    std::ifstream in(narrow(tracePath_));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int App::countInTrace(const std::string& line) const {
    int n = 0;
    for (const std::string& l : trace()) n += l == line;
    return n;
}

HWND findTopLevel(const std::wstring& title, DWORD pid, int timeoutMs) {
    FindTopLevel f{title, pid, nullptr};
    waitUntil(
        [&] {
            EnumWindows(findTopLevelProc, reinterpret_cast<LPARAM>(&f));
            return f.found != nullptr;
        },
        timeoutMs);
    return f.found;
}

RECT placeInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT screenRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

POINT centreOf(HWND window) {
    RECT r = screenRect(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool visible(HWND window) { return IsWindowVisible(window) != FALSE; }

std::string text(HWND window) {
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(got));
    return narrow(buffer);
}

POINT captionCloseButton(HWND topLevel) {
    RECT r = screenRect(topLevel);
    int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    int button = GetSystemMetrics(SM_CXSIZE);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    return POINT{r.right - frame - button / 2 - 1, r.top + frame + caption / 2};
}

void sendMove(POINT p) {
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (p.x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (p.y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}

void moveTo(int x, int y) {
    sendMove(POINT{x, y});
    pause(15);
    SetCursorPos(x, y);
    pause(15);
}

void moveTo(POINT p) { moveTo(p.x, p.y); }

void leftDown() {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    send(&in, 1);
}

void leftUp() {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send(&in, 1);
}

void click(POINT p) {
    moveTo(p);
    leftDown();
    leftUp();
    pause(60);
}

void click(HWND window) { click(centreOf(window)); }

void doubleClick(POINT p) {
    moveTo(p);
    leftDown();
    leftUp();
    leftDown();
    leftUp();
    pause(60);
}

void rightClick(POINT p) {
    moveTo(p);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    send(in, 2);
    pause(60);
}

void wheel(int notches) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
    send(&in, 1);
    pause(60);
}

void key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    send(&in, 1);
}

void press(WORD vk) {
    key(vk, true);
    key(vk, false);
    pause(40);
}

void pressWith(WORD modifier, WORD vk) {
    key(modifier, true);
    key(vk, true);
    key(vk, false);
    key(modifier, false);
    pause(40);
}

void typeText(const std::wstring& text) {
    for (wchar_t ch : text) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = ch;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        send(in, 2);
    }
    pause(40);
}

void paste(const std::wstring& text) {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
        CloseClipboard();
    }
    pressWith(VK_CONTROL, 'V');
}

void activate(HWND topLevel) {
    RECT r = screenRect(topLevel);
    click(POINT{(r.left + r.right) / 2, r.top + 10});
    SetForegroundWindow(topLevel);
    pause(100);
}

COLORREF pixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

COLORREF pixelIn(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return pixel(p.x, p.y);
}

std::string clipboardAnsi() {
    std::string out;
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            out = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

std::wstring clipboardUnicode() {
    std::wstring out;
    if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            out = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

namespace {
struct FindDialog {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK findDialogProc(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindDialog*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == f->pid && IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK collectStaticText(HWND hwnd, LPARAM param) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpiW(cls, L"Static") == 0) {
        std::wstring t = widen(text(hwnd));
        if (!t.empty()) *reinterpret_cast<std::wstring*>(param) = t;
    }
    return TRUE;
}
} // namespace

MessageBoxInfo findMessageBox(DWORD pid, int timeoutMs) {
    FindDialog f{pid, nullptr};
    waitUntil(
        [&] {
            EnumWindows(findDialogProc, reinterpret_cast<LPARAM>(&f));
            return f.found != nullptr;
        },
        timeoutMs);
    MessageBoxInfo info;
    if (!f.found) return info;
    info.window = f.found;
    info.caption = widen(text(f.found));
    EnumChildWindows(f.found, collectStaticText, reinterpret_cast<LPARAM>(&info.text));
    return info;
}

void copyAndConfirm(const App& app, const char* button) {
    click(app.control(button));
    MessageBoxInfo box = findMessageBox(app.processId());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(narrow(box.caption), "恭喜");
    EXPECT_EQ(narrow(box.text), "复制成功,ctrl+v粘贴即可.");
    ASSERT_TRUE(dismiss(box));
}

bool dismiss(const MessageBoxInfo& box) {
    if (!box.window) return false;
    HWND ok = GetDlgItem(box.window, IDOK);
    if (!ok) ok = FindWindowExW(box.window, nullptr, L"Button", nullptr);
    if (ok) click(ok);
    return waitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 3000);
}

Snapshot::Snapshot(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    *this = Snapshot(r);
}

Snapshot::Snapshot(const RECT& screen) : width_(screen.right - screen.left), height_(screen.bottom - screen.top) {
    if (width_ <= 0 || height_ <= 0) {
        width_ = height_ = 0;
        return;
    }
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screenDc, screen.left, screen.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
}

COLORREF Snapshot::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    std::uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x]; // 0x00RRGGBB
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Snapshot::count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) n += at(x, y) == colour;
    return n;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    auto channel = [](COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int shift : {0, 8, 16})
        if (std::abs(channel(a, shift) - channel(b, shift)) > tolerance) return false;
    return true;
}

RECT tabHeader(const App& app, int page) {
    HWND tab = app.control(layout::tabControlName);
    // The rectangle is written into memory of the program's process and read back.
    auto* remote = static_cast<RECT*>(VirtualAllocEx(app.process(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE));
    RECT r{};
    if (remote) {
        SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(page - 1), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(app.process(), remote, &r, sizeof r, nullptr);
        VirtualFreeEx(app.process(), remote, 0, MEM_RELEASE);
    }
    MapWindowPoints(tab, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void switchToPage(const App& app, int page) {
    RECT r = tabHeader(app, page);
    click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    HWND tab = app.control(layout::tabControlName);
    waitUntil([&] { return SendMessageW(tab, TCM_GETCURSEL, 0, 0) == page - 1; }, 2000);
    pause(150);
}

HWND focusedControl(const App& app) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(app.window(), nullptr), &info);
    return info.hwndFocus;
}

HCURSOR cursorShownOver(HWND control) {
    POINT p = centreOf(control);
    moveTo(p.x, p.y);
    moveTo(p.x + 1, p.y);
    pause(100);
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

HWND openMenu() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

namespace {

constexpr int menuMargin = 3;     // between the menu's edge and its first item
constexpr int colourItemHeight = 20;

HWND dropDown(HWND picker) {
    click(picker);
    HWND menu = nullptr;
    waitUntil([&] { return (menu = openMenu()) != nullptr; }, 3000);
    pause(100);
    return menu;
}

bool menuClosed() {
    return waitUntil([] { return openMenu() == nullptr; }, 3000);
}

// Replaces an edit field's text by typing, as a person would.
void retype(HWND edit, const std::wstring& text) {
    click(edit);
    press(VK_END);
    key(VK_SHIFT, true);
    press(VK_HOME);
    key(VK_SHIFT, false);
    typeText(text);
}

} // namespace

bool pickNamedColour(HWND picker, int index) {
    HWND menu = dropDown(picker);
    if (!menu) return false;
    RECT r = screenRect(menu);
    int width = r.right - r.left;
    int column = index / 16, row = index % 16;
    POINT item{r.left + (column == 0 ? width / 4 : 3 * width / 4),
               r.top + menuMargin + row * colourItemHeight + colourItemHeight / 2};
    // Hover first, as a hand does, so the menu tracks the item before the click.
    moveTo(item.x, item.y - 3);
    click(item);
    return menuClosed();
}

bool pickColourInDialog(DWORD pid, HWND picker, COLORREF colour) {
    HWND menu = dropDown(picker);
    if (!menu) return false;
    RECT r = screenRect(menu);
    // "其它颜色..." is the last item, at the foot of the second column.
    POINT more{r.left + 3 * (r.right - r.left) / 4, r.bottom - menuMargin - 10};
    moveTo(more.x, more.y - 3);
    click(more);
    if (!menuClosed()) return false;
    MessageBoxInfo dialog = findMessageBox(pid);
    if (!dialog.window) return false;
    // The red, green and blue fields of the system colour dialog.
    const int fields[] = {706, 707, 708};
    const int values[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int i = 0; i < 3; ++i) {
        HWND field = GetDlgItem(dialog.window, fields[i]);
        if (!field) return false;
        retype(field, std::to_wstring(values[i]));
    }
    HWND ok = GetDlgItem(dialog.window, IDOK);
    if (!ok) return false;
    click(ok);
    return waitUntil([&] { return !IsWindow(dialog.window) || !IsWindowVisible(dialog.window); }, 3000);
}

COLORREF swatchColour(HWND picker) {
    RECT r;
    GetClientRect(picker, &r);
    return pixelIn(picker, (r.right - 16) / 2, r.bottom / 2);
}

void setClipboardUnicode(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block) {
        memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
    }
    CloseClipboard();
}

ClipboardBlock clipboardBlock(UINT format) {
    ClipboardBlock out;
    if (!waitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) return out;
    if (HANDLE h = GetClipboardData(format)) {
        SIZE_T size = GlobalSize(h);
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            out.present = true;
            size_t unit = format == CF_UNICODETEXT ? sizeof(wchar_t) : 1;
            size_t n = 0;
            while (n + unit <= size) {
                bool nul = true;
                for (size_t i = 0; i < unit; ++i) nul &= p[n + i] == 0;
                if (nul) break;
                n += unit;
            }
            out.bytes.assign(p, n);
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

ClipboardHold::ClipboardHold() : held_(OpenClipboard(nullptr) != FALSE) {}

ClipboardHold::~ClipboardHold() {
    if (held_) CloseClipboard();
}

} // namespace driver
