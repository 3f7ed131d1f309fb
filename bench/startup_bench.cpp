// Start-up time: from CreateProcess to the program's window being visible,
// the median of several runs, for quorvel.exe and for the minimal window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK findVisible(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

double secondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One start: milliseconds until the window is visible, or a negative value.
double timeOneStart(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    Search s{pi.dwProcessId, nullptr};
    double ms = -1;
    while (secondsSince(start) < 20) {
        EnumWindows(findVisible, reinterpret_cast<LPARAM>(&s));
        if (s.found) {
            ms = secondsSince(start) * 1000;
            break;
        }
        Sleep(1);
    }
    if (s.found) PostMessageW(s.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ms;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench quorvel.exe minimal_window.exe [runs]\n");
        return 2;
    }
    int runs = argc > 3 ? _wtoi(argv[3]) : 11;
    std::vector<double> program, baseline;
    timeOneStart(argv[1]); // the first start warms Wine's caches for both
    timeOneStart(argv[2]);
    for (int i = 0; i < runs; ++i) {
        // Alternate, so a slow phase of the machine hits both alike.
        double b = timeOneStart(argv[2]);
        double p = timeOneStart(argv[1]);
        if (b < 0 || p < 0) {
            std::fprintf(stderr, "a start failed\n");
            return 1;
        }
        baseline.push_back(b);
        program.push_back(p);
    }
    double mp = median(program), mb = median(baseline);
    std::printf("startup, median of %d runs under Wine\n", runs);
    std::printf("  quorvel.exe window visible:     %8.1f ms\n", mp);
    std::printf("  minimal window (baseline):      %8.1f ms\n", mb);
    std::printf("  ratio quorvel / baseline:       %8.2f\n", mp / mb);
    return 0;
}
