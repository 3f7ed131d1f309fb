// Benchmarks through the real window, driven from outside like the UI tests:
//   ui_bench preview   CPU time of quorvel.exe per 1000 pointer moves over bare
//                      page area, against the same moves over the minimal window
//   ui_bench generate  time from a click on "CSS生成" to the text being in
//                      "编辑框1" (median of 100), against one WM_SETTEXT of the
//                      same 1334 bytes into the same box
#include "driver.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace driver;

namespace {

double cpuMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

double nowMs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// CPU the process spends on `moves` pointer moves between two points.
double cpuForMoves(HANDLE process, POINT a, POINT b, int moves) {
    moveTo(a);
    pause(300);
    double before = cpuMilliseconds(process);
    for (int i = 0; i < moves; ++i) {
        sendMove(i % 2 ? b : a);
        Sleep(2);
    }
    pause(1000); // let the program work off its queue
    return cpuMilliseconds(process) - before;
}

int preview(int moves) {
    App app;
    if (!app.started()) return 1;
    // Bare area inside "分组框1", right of the output box and above the buttons.
    POINT origin{0, 0};
    ClientToScreen(app.control("分组框1"), &origin);
    POINT a{origin.x + 680, origin.y + 150}, b{origin.x + 690, origin.y + 160};
    double program = cpuForMoves(app.process(), a, b, moves);

    std::wstring exe = widen(QUORVEL_BASELINE_EXE);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 1;
    HWND window = findTopLevel(L"QuorvelBaseline", pi.dwProcessId);
    if (!window) return 1;
    POINT c = centreOf(window);
    double base = cpuForMoves(pi.hProcess, c, POINT{c.x + 10, c.y + 10}, moves);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::printf("preview: CPU time per 1000 pointer moves over bare area\n");
    std::printf("  quorvel.exe (8 reads + 8 repainting writes per move): %8.1f ms\n", program * 1000.0 / moves);
    std::printf("  minimal window (baseline):                            %8.1f ms\n", base * 1000.0 / moves);
    std::printf("  ratio quorvel / baseline:                             %8.2f\n", base > 0 ? program / base : 0.0);
    return 0;
}

int generate(int clicks) {
    App app;
    if (!app.started()) return 1;
    HWND box = app.control("编辑框1");
    HWND button = app.control("按钮1");
    std::vector<double> clickTimes, setTextTimes;
    std::wstring text;
    for (int i = 0; i < clicks; ++i) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        moveTo(centreOf(button));
        leftDown();
        double start = nowMs();
        leftUp();
        while (SendMessageW(box, WM_GETTEXTLENGTH, 0, 0) != 1334 && nowMs() - start < 5000) Sleep(0);
        clickTimes.push_back(nowMs() - start);
    }
    text = widen(driver::text(box));
    for (int i = 0; i < clicks; ++i) {
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        double start = nowMs();
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        setTextTimes.push_back(nowMs() - start);
    }
    std::printf("generate: median of %d clicks on \"CSS生成\" until \"编辑框1\" holds the text\n", clicks);
    std::printf("  click to text (%zu characters):    %8.2f ms\n", text.size(), median(clickTimes));
    std::printf("  one WM_SETTEXT of the same text:  %8.2f ms\n", median(setTextTimes));
    std::printf("  ratio:                            %8.2f\n", median(clickTimes) / median(setTextTimes));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring what = argc > 1 ? argv[1] : L"";
    int count = argc > 2 ? _wtoi(argv[2]) : 0;
    if (what == L"preview") return preview(count > 0 ? count : 1000);
    if (what == L"generate") return generate(count > 0 ? count : 100);
    std::fprintf(stderr, "usage: ui_bench preview|generate [count]\n");
    return 2;
}
