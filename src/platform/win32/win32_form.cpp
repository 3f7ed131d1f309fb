#include "platform/win32/win32_form.h"

#include "platform/runtime.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/controls.h"
#include "platform/win32/gdi.h"
#include "platform/win32/library_calls.h"
#include "platform/win32/text.h"
#include "platform/win32/text_box.h"
#include "ui/layout.h"

#include <commctrl.h>

#include <cstring>
#include <new>
#include <vector>

namespace win32 {

namespace {

HWND mainHwnd = nullptr;
runtime::ExitHook exitHook = nullptr;

std::wstring tracePath() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"QUORVEL_TRACE", buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

class Win32Form final : public Form {
public:
    std::string text(std::string_view control) override {
        ControlWindow* c = controlNamed(control);
        return c ? windowText(c->hwnd) : std::string();
    }
    void setText(std::string_view control, std::string_view text) override {
        if (ControlWindow* c = controlNamed(control)) SetWindowTextW(c->hwnd, widen(text).c_str());
    }
    Colour colour(std::string_view control) override {
        ControlWindow* c = controlNamed(control);
        return c ? c->colour : 0;
    }
    void setBackColour(std::string_view control, Colour colour) override {
        if (ControlWindow* c = controlNamed(control)) setShapeColour(*c, colour);
    }
    void setTextColour(std::string_view control, Colour colour) override {
        if (ControlWindow* c = controlNamed(control)) setLabelColour(*c, colour);
    }
    void showMessage(std::string_view text, std::string_view caption) override {
        MessageBoxW(nullptr, widen(text).c_str(), widen(caption).c_str(), MB_OK | MB_TASKMODAL);
    }
    bool putOnClipboard(std::string_view text) override { return putTextOnClipboard(mainHwnd, widen(text)); }
    bool fileExists(std::string_view path) override {
        return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool writeFile(std::string_view path, std::span<const std::uint8_t> bytes) override {
        std::wstring target = widen(path);
        std::wstring temporary = target + L".tmp" + std::to_wstring(GetCurrentProcessId());
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool ok = true;
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
            DWORD written = 0;
            ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
            done += written;
        }
        ok = FlushFileBuffers(file) && ok;
        ok = CloseHandle(file) && ok;
        // Only a complete file is renamed into place.
        if (ok) ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!ok) DeleteFileW(temporary.c_str());
        return ok;
    }
    Word callLibrary(std::string_view library, std::string_view function, std::initializer_list<Word> args) override {
        return libraryCall(library, function, args, true).value_or(0);
    }
    std::optional<Word> tryCallLibrary(std::string_view library, std::string_view function,
                                       std::initializer_list<Word> args) override {
        return libraryCall(library, function, args, false);
    }
    Word mainWindowHandle() override { return reinterpret_cast<Word>(mainHwnd); }
    void trace(std::string_view line) override {
        static const std::wstring path = tracePath();
        if (path.empty()) return;
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        std::string text(line);
        text += "\r\n";
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
};

Win32Form form;

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Long-run tests ask how many GDI objects the runtime holds.
    static const UINT gdiObjectCountQuery = RegisterWindowMessageW(L"Quorvel.GdiObjectCount");
    if (message == gdiObjectCountQuery) return liveGdiObjects();
    LRESULT routed = 0;
    if (routeChildMessage(hwnd, message, wParam, lParam, routed)) return routed;
    switch (message) {
    case WM_MOUSEMOVE: fireWindowMouseMoved(); return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE) {
            showPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)) + 1);
            return 0;
        }
        break;
    }
    case WM_DESTROY:
        // Only the main window's end ends the loop, not that of some other window of the thread.
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool isKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool belongsToMainWindow(HWND hwnd) { return hwnd && (hwnd == mainHwnd || IsChild(mainHwnd, hwnd)); }

void newHandlerFailure() { fatalError("分配内存失败!"); }

} // namespace

Form& theForm() { return form; }
HWND mainWindow() { return mainHwnd; }

[[noreturn]] void fatalError(std::string_view message) {
    std::string text = "运行时出错!\n\n错误信息：";
    text += message;
    MessageBoxW(nullptr, widen(text).c_str(), L"错误", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}

int runProgram(int (*start)()) {
    // The current directory is no place to load libraries from.
    SetDllDirectoryW(L"");
    std::set_new_handler(newHandlerFailure);
    setActiveForm(&form);
    start();
    // The end-of-program clean-up: the exit hook, exactly once. Libraries the
    // program loaded stay loaded until the process ends, so no window hook of
    // theirs can be called into unloaded code.
    if (exitHook) {
        runtime::ExitHook hook = exitHook;
        exitHook = nullptr;
        hook();
    }
    destroyControlResources();
    return 0;
}

} // namespace win32

namespace runtime {

void registerExitHook(ExitHook hook) { win32::exitHook = hook; }

void loadMainWindow() {
    using namespace win32;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, L"DEFAULT_ICON");
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.lpszClassName = mainWindowClass;
    if (!RegisterClassExW(&wc)) fatalError("载入启动窗口失败");
    registerControlClasses(instance);

    const layout::Control& spec = layout::controls()[0];
    // Centred on the primary screen; the stored place is not used.
    int x = (GetSystemMetrics(SM_CXSCREEN) - spec.width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - spec.height) / 2;
    mainHwnd = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, mainWindowClass, widen(spec.text).c_str(),
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, x, y,
                               spec.width, spec.height, nullptr, nullptr, instance, nullptr);
    if (!mainHwnd) fatalError("载入启动窗口失败");
    buildControls(mainHwnd);
    form.trace("created");
    if (auto handler = bindings::find(layout::mainWindowName, bindings::Event::Created))
        handler(form, layout::mainWindowName);
    ShowWindow(mainHwnd, SW_SHOWNORMAL);
    UpdateWindow(mainHwnd);
    form.trace("shown");
}

int runMessageLoop() {
    using namespace win32;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && belongsToMainWindow(msg.hwnd)) {
            // Esc with no Ctrl, Shift or Alt closes the window from whichever control has the focus.
            if (msg.wParam == VK_ESCAPE && !isKeyDown(VK_CONTROL) && !isKeyDown(VK_SHIFT) && !isKeyDown(VK_MENU)) {
                PostMessageW(mainHwnd, WM_CLOSE, 0, 0);
                continue;
            }
            if (msg.wParam == VK_ESCAPE) continue;
            // Tab moves through the tab stops in layout order, also out of a multi-line box.
            if (msg.wParam == VK_TAB && !isKeyDown(VK_CONTROL) && !isKeyDown(VK_MENU)) {
                if (HWND next = GetNextDlgTabItem(mainHwnd, GetFocus(), isKeyDown(VK_SHIFT))) {
                    SetFocus(next);
                    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
                }
                continue;
            }
            // There is no default button: Return only starts a new line in a multi-line box.
            if (msg.wParam == VK_RETURN && !isMultiLineBox(msg.hwnd)) continue;
        }
        if (msg.message == WM_CHAR && (msg.wParam == L'\t' || (msg.wParam == L'\r' && !isMultiLineBox(msg.hwnd)) || msg.wParam == 0x1B) &&
            belongsToMainWindow(msg.hwnd))
            continue;
        if (mainHwnd && IsWindow(mainHwnd) && IsDialogMessageW(mainHwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace runtime
