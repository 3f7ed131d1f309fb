// Registration of the runtime's own window classes.
#pragma once

#include <windows.h>

namespace win32 {

inline void registerWindowClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure,
                                const wchar_t* cursor) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

} // namespace win32
