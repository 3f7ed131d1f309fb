// A small program on the form runtime whose start routine is chosen by the
// test that runs it: calls that cannot be resolved, and the library search.
#include "platform/runtime.h"
#include "platform/win32/win32_form.h"

#include <windows.h>

#include <string>

namespace {

std::string probe() {
    char value[64] = {};
    GetEnvironmentVariableA("QUORVEL_PROBE", value, sizeof value);
    return value;
}

std::string moduleDirectory(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(name), path, MAX_PATH);
    std::wstring p(path);
    p = p.substr(0, p.find_last_of(L"\\/"));
    int n = WideCharToMultiByte(CP_UTF8, 0, p.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, p.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

void exitHook() { win32::theForm().trace("exit-hook"); }

int probeStart() {
    runtime::registerExitHook(exitHook);
    Form& form = win32::theForm();
    std::string what = probe();
    if (what == "unresolved-library") {
        form.callLibrary("qv_no_such_library.dll", "qvNoSuchFunction", {});
    } else if (what == "unresolved-default") {
        form.callLibrary("", "qvNoSuchFunction", {});
    } else if (what == "unresolved-optional") {
        auto r = form.tryCallLibrary("qv_no_such_library.dll", "qvNoSuchFunction", {});
        form.trace(r ? "resolved" : "not-resolved");
    } else if (what == "search") {
        Word metrics = form.callLibrary("user32.dll", "GetSystemMetrics", {SM_CXSCREEN});
        form.trace("metrics " + std::to_string(metrics));
        form.callLibrary("", "GetTickCount", {});
        Word marker = form.callLibrary("probe_beside.dll", "probeMarker", {});
        form.trace("beside " + std::to_string(marker));
        // Functions of the default list's later libraries, whose planted copies lie beside the program.
        DWORD error = 0;
        wchar_t text[16], provider[16];
        Word got = form.callLibrary("", "WNetGetLastErrorW", {reinterpret_cast<Word>(&error), reinterpret_cast<Word>(text), 16,
                                                               reinterpret_cast<Word>(provider), 16});
        form.trace("mpr " + std::to_string(got));
        form.callLibrary("Shell32.dll", "DragAcceptFiles", {0, 0});
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        int n = WideCharToMultiByte(CP_UTF8, 0, system, -1, nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(CP_UTF8, 0, system, -1, s.data(), n, nullptr, nullptr);
        s.resize(s.size() - 1);
        for (const wchar_t* name : {L"user32.dll", L"mpr.dll", L"shell32.dll"})
            form.trace((moduleDirectory(name) == s ? "system " : "elsewhere ") + std::to_string(name[0]));
    }
    form.trace("end");
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return win32::runProgram(probeStart); }
