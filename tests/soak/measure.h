// What a long run must not grow, read from outside the program: its GDI and
// USER objects, its handles and its private bytes. Wine reports none of these
// through GetGuiResources, GetProcessHandleCount or GetProcessMemoryInfo, so
// each is found another way (see measure.cpp).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace soak {

struct Resources {
    long gdiObjects = -1;  // the runtime's own count of the GDI objects it holds
    long userObjects = -1; // windows and menus of the process
    long handles = -1;     // kernel handles open in the process
    std::size_t privateBytes = 0; // committed private memory
};

Resources measure(HANDLE process, DWORD pid, HWND mainWindow);
std::string describe(const Resources& r);

} // namespace soak
