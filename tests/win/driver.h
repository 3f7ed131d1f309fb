// The UI driver: starts the real quorvel.exe and acts on it only through
// Windows, as a person or an automation tool would: finding windows, sending
// input with SendInput, reading texts, rectangles, styles, cursors and pixels.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace driver {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);

// Waits until the predicate holds, pumping nothing; false on time-out.
bool waitUntil(const std::function<bool()>& predicate, int timeoutMs = 5000);
void pause(int ms);

class App {
public:
    // Starts the program (by default build/win64/quorvel.exe) with a fresh trace file.
    explicit App(const std::wstring& exe = L"");
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    HWND window() const { return window_; }
    bool started() const { return window_ != nullptr; }
    // The child window with the control's layout ID.
    HWND control(const char* name) const;
    // Waits for the process to end; its exit code, or -2 on time-out.
    long waitForExit(int timeoutMs = 10000);
    // The lines the runtime traced (created, shown, exit-hook, trim, ...).
    std::vector<std::string> trace() const;
    int countInTrace(const std::string& line) const;
    DWORD processId() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
    std::wstring tracePath_;
    bool ended_ = false;
};

// The top-level window of a process with this title (any process when pid is 0).
HWND findTopLevel(const std::wstring& title, DWORD pid = 0, int timeoutMs = 5000);

// Geometry of a control relative to its parent's client area.
RECT placeInParent(HWND control);
RECT screenRect(HWND window);
POINT centreOf(HWND window);
bool visible(HWND window);
std::string text(HWND window);

// Input through SendInput.
void moveTo(int x, int y);
void moveTo(POINT p);
void leftDown();
void leftUp();
void click(POINT p);
void click(HWND window);
void doubleClick(POINT p);
void key(WORD vk, bool down);
void press(WORD vk);
void pressWith(WORD modifier, WORD vk);
void typeText(const std::wstring& text);
// Puts the text on the clipboard and presses Ctrl+V.
void paste(const std::wstring& text);
// Activates the window by clicking its caption.
void activate(HWND topLevel);

// Screen pixels as 0x00BBGGRR.
COLORREF pixel(int x, int y);
COLORREF pixelIn(HWND window, int x, int y);

std::string clipboardAnsi();
std::wstring clipboardUnicode();

// A message box of the process: its caption and text (child Static).
struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};
MessageBoxInfo findMessageBox(DWORD pid, int timeoutMs = 5000);

} // namespace driver
