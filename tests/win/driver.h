// The UI driver: starts the real quorvel.exe and acts on it only through
// Windows, as a person or an automation tool would: finding windows, sending
// input with SendInput, reading texts, rectangles, styles, cursors and pixels.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace driver {

std::wstring widen(const std::string& utf8);
std::string narrow(const std::wstring& utf16);
// The bytes of a UTF-8 text in code page 936, as CF_TEXT must carry them.
std::string inCodePage936(const std::string& utf8);

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
    // When the driver first saw the "created" line, that is just before the
    // created handler ran (the clock of std::chrono::steady_clock).
    std::chrono::steady_clock::time_point createdSeenAt() const { return createdSeenAt_; }
    DWORD processId() const { return info_.dwProcessId; }
    HANDLE process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
    HWND window_ = nullptr;
    std::wstring tracePath_;
    bool ended_ = false;
    std::chrono::steady_clock::time_point createdSeenAt_{};
};

// The top-level window of a process with this title (any process when pid is 0).
HWND findTopLevel(const std::wstring& title, DWORD pid = 0, int timeoutMs = 5000);

// Geometry of a control relative to its parent's client area.
RECT placeInParent(HWND control);
RECT screenRect(HWND window);
POINT centreOf(HWND window);
bool visible(HWND window);
std::string text(HWND window);

// The middle of a top-level window's caption close button.
POINT captionCloseButton(HWND topLevel);

// Input through SendInput.
void moveTo(int x, int y);
// A single absolute pointer move, with no pause after it (for long runs).
void sendMove(POINT p);
void moveTo(POINT p);
void leftDown();
void leftUp();
void click(POINT p);
void click(HWND window);
void doubleClick(POINT p);
void rightClick(POINT p);
// Turns the wheel under the pointer; positive notches turn it away from the user.
void wheel(int notches);
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
// Clicks the box's OK button; true once the box is gone.
bool dismiss(const MessageBoxInfo& box);
// Clicks a copy button ("一键复制"), expects the copy confirmation and dismisses it.
void copyAndConfirm(const App& app, const char* button);

// The screen area of a window's client area (or any screen rectangle), copied
// in one step, so a whole control can be examined without one round trip per pixel.
class Snapshot {
public:
    explicit Snapshot(HWND window);
    explicit Snapshot(const RECT& screen);
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00BBGGRR, like GetPixel; CLR_INVALID outside.
    COLORREF at(int x, int y) const;
    int count(COLORREF colour) const;
    bool contains(COLORREF colour) const { return count(colour) > 0; }

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Each channel within the tolerance.
bool closeTo(COLORREF a, COLORREF b, int tolerance);

// Pages of "选择夹1": the header's screen rectangle, and a click on it.
RECT tabHeader(const App& app, int page);
void switchToPage(const App& app, int page);

// The control that has the keyboard focus in the program.
HWND focusedControl(const App& app);
// Moves the pointer onto the control's centre and returns the cursor shown
// there. Cursor handles belong to the program's process, so they can only be
// compared with one another.
HCURSOR cursorShownOver(HWND control);

// The open popup menu (a colour picker's drop-down), or nullptr.
HWND openMenu();
// A colour picker's drop-down: a click on the picker, then a click on the
// named colour of that index (two columns of sixteen, in the order offered).
bool pickNamedColour(HWND picker, int index);
// "其它颜色..." of the drop-down, then the colour dialog: red, green and blue
// typed into its fields and confirmed with OK.
bool pickColourInDialog(DWORD pid, HWND picker, COLORREF colour);
// The colour in the middle of a picker's swatch, left of its drop-down arrow.
COLORREF swatchColour(HWND picker);

// Replaces the clipboard's contents with the text as CF_UNICODETEXT only.
void setClipboardUnicode(const std::wstring& text);
// A clipboard format's block as bytes up to its first NUL (for CF_UNICODETEXT,
// up to its first NUL character); present is false when the format is absent.
struct ClipboardBlock {
    bool present = false;
    std::string bytes;
};
ClipboardBlock clipboardBlock(UINT format);

// Holds the clipboard open from the driver's process, so the program cannot open it.
class ClipboardHold {
public:
    ClipboardHold();
    ~ClipboardHold();
    ClipboardHold(const ClipboardHold&) = delete;
    ClipboardHold& operator=(const ClipboardHold&) = delete;
    bool held() const { return held_; }

private:
    bool held_ = false;
};

} // namespace driver
