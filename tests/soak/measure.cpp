#include "measure.h"

#include <sstream>

namespace soak {

namespace {

struct Count {
    DWORD pid;
    long windows;
};

BOOL CALLBACK countChild(HWND, LPARAM param) {
    ++reinterpret_cast<Count*>(param)->windows;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND hwnd, LPARAM param) {
    auto* c = reinterpret_cast<Count*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != c->pid) return TRUE;
    ++c->windows;
    EnumChildWindows(hwnd, countChild, param);
    return TRUE;
}

// Handles are probed one value at a time: a value that can be duplicated out
// of the process is open there.
long countHandles(HANDLE process) {
    long open = 0;
    for (ULONG_PTR value = 4; value < 0x4000; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            ++open;
            CloseHandle(copy);
        }
    }
    return open;
}

std::size_t committedPrivateBytes(HANDLE process) {
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (char* address = nullptr;
         VirtualQueryEx(process, address, &info, sizeof info) == sizeof info;
         address = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (info.RegionSize == 0) break;
    }
    return total;
}

} // namespace

Resources measure(HANDLE process, DWORD pid, HWND mainWindow) {
    Resources r;
    static const UINT gdiQuery = RegisterWindowMessageW(L"Quorvel.GdiObjectCount");
    DWORD_PTR gdi = 0;
    if (SendMessageTimeoutW(mainWindow, gdiQuery, 0, 0, SMTO_ABORTIFHUNG, 5000, &gdi)) r.gdiObjects = static_cast<long>(gdi);
    Count c{pid, 0};
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&c));
    r.userObjects = c.windows;
    r.handles = countHandles(process);
    r.privateBytes = committedPrivateBytes(process);
    return r;
}

std::string describe(const Resources& r) {
    std::ostringstream out;
    out << "GDI objects " << r.gdiObjects << ", USER objects " << r.userObjects << ", handles " << r.handles
        << ", private bytes " << r.privateBytes;
    return out.str();
}

} // namespace soak
