// Planted beside a test program under a system library's name: if it is ever
// loaded, it leaves a marker file.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH] = {}, self[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"QUORVEL_PLANTED_MARKER", path, MAX_PATH)) {
            // One marker per planted library: the marker path with the library's file name.
            GetModuleFileNameW(module, self, MAX_PATH);
            const wchar_t* name = wcsrchr(self, L'\\');
            lstrcatW(path, name ? name + 1 : self);
            HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        }
    }
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI GetSystemMetrics(int) { return -12345; }
extern "C" __declspec(dllexport) DWORD WINAPI GetTickCount() { return 0; }
extern "C" __declspec(dllexport) int WINAPI probeMarker() { return 42; }
extern "C" __declspec(dllexport) DWORD WINAPI WNetGetLastErrorW(LPDWORD, LPWSTR, DWORD, LPWSTR, DWORD) { return 4242; }
extern "C" __declspec(dllexport) void WINAPI DragAcceptFiles(HWND, BOOL) {}
