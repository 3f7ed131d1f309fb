#include "driver.h"

#include "ui/layout.h"

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
    tracePath_ = tempTracePath();
    DeleteFileW(tracePath_.c_str());
    SetEnvironmentVariableW(L"QUORVEL_TRACE", tracePath_.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + path + L"\"";
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_))
        return;
    SetEnvironmentVariableW(L"QUORVEL_TRACE", nullptr);
    window_ = findTopLevel(widen(layout::mainWindowTitle), info_.dwProcessId, 15000);
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

void moveTo(int x, int y) {
    // Absolute coordinates are normalised to 0..65535 over the primary screen.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) / 2) / GetSystemMetrics(SM_CXSCREEN);
    in.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) / 2) / GetSystemMetrics(SM_CYSCREEN);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send(&in, 1);
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

} // namespace driver
