// The form runtime's process-level services, through a probe program built
// on it: the fatal-error box for calls that cannot be resolved, and a library
// search that never takes a system library from beside the program.
#include "driver.h"

#include <gtest/gtest.h>

#ifndef QUORVEL_PROBE_EXE
#error "QUORVEL_PROBE_EXE names the probe program"
#endif

using namespace driver;

namespace {

struct ProbeRun {
    std::wstring trace;
    PROCESS_INFORMATION info{};
    explicit ProbeRun(const wchar_t* what) {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        trace = std::wstring(dir) + L"quorvel-probe-trace.txt";
        DeleteFileW(trace.c_str());
        SetEnvironmentVariableW(L"QUORVEL_TRACE", trace.c_str());
        SetEnvironmentVariableW(L"QUORVEL_PROBE", what);
        std::wstring exe = widen(QUORVEL_PROBE_EXE);
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info);
        SetEnvironmentVariableW(L"QUORVEL_TRACE", nullptr);
        SetEnvironmentVariableW(L"QUORVEL_PROBE", nullptr);
    }
    ~ProbeRun() {
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        DeleteFileW(trace.c_str());
    }
    long exitCode(int timeoutMs = 10000) {
        if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        return static_cast<int>(code);
    }
    std::string traced() {
        HANDLE f = CreateFileW(trace.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return {};
        char buffer[4096];
        DWORD got = 0;
        ReadFile(f, buffer, sizeof buffer, &got, nullptr);
        CloseHandle(f);
        return std::string(buffer, got);
    }
};

} // namespace

TEST(FatalError, ACallThatCannotBeResolvedShowsTheErrorBoxAndEndsWithMinusOne) {
    struct Case {
        const wchar_t* probe;
        const char* message;
    } cases[] = {
        {L"unresolved-library", "无法找到指定DLL库文件“qv_no_such_library.dll”中的输出命令“qvNoSuchFunction”"},
        {L"unresolved-default", "无法找到指定DLL库文件中的输出命令“qvNoSuchFunction”"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.probe));
        ProbeRun run(c.probe);
        MessageBoxInfo box = findMessageBox(run.info.dwProcessId);
        ASSERT_NE(box.window, nullptr);
        EXPECT_EQ(narrow(box.caption), "错误");
        EXPECT_EQ(narrow(box.text), std::string("运行时出错!\n\n错误信息：") + c.message);
        PostMessageW(box.window, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(run.exitCode(), -1);
        EXPECT_EQ(run.traced().find("exit-hook"), std::string::npos);
        EXPECT_EQ(run.traced().find("end"), std::string::npos);
    }
}

TEST(FatalError, AnOptionalCallThatCannotBeResolvedGivesNoResultInstead) {
    ProbeRun run(L"unresolved-optional");
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_EQ(run.traced(), "not-resolved\r\nend\r\nexit-hook\r\n");
}

// The runtime takes system libraries from the system directory only. Wine's
// own loader, unlike Windows with its known DLLs, may map a planted copy for
// the program's static imports (user32, shell32), so those are checked by
// where the runtime's calls land; mpr.dll, which nothing imports, must not be
// loaded at all.
TEST(LibrarySearch, APlantedSystemLibraryBesideTheProgramIsNeverLoaded) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring marker = std::wstring(dir) + L"quorvel-planted-";
    std::wstring mprMarker = marker + L"mpr.dll";
    DeleteFileW(mprMarker.c_str());
    SetEnvironmentVariableW(L"QUORVEL_PLANTED_MARKER", marker.c_str());
    ProbeRun run(L"search");
    SetEnvironmentVariableW(L"QUORVEL_PLANTED_MARKER", nullptr);
    ASSERT_EQ(run.exitCode(), 0);
    std::string traced = run.traced();
    // The planted GetSystemMetrics would give -12345, the planted WNetGetLastErrorW 4242.
    EXPECT_NE(traced.find("metrics " + std::to_string(GetSystemMetrics(SM_CXSCREEN))), std::string::npos) << traced;
    EXPECT_EQ(traced.find("mpr 4242"), std::string::npos) << traced;
    EXPECT_NE(traced.find("mpr "), std::string::npos) << traced;
    EXPECT_NE(traced.find("system 109"), std::string::npos) << traced; // mpr.dll from the system directory
    EXPECT_EQ(GetFileAttributesW(mprMarker.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted mpr.dll was loaded";
    // A library that is not a system library is still found beside the program.
    EXPECT_NE(traced.find("beside 42"), std::string::npos) << traced;
    DeleteFileW(mprMarker.c_str());
    for (const wchar_t* name : {L"user32.dll", L"shell32.dll", L"probe_beside.dll"}) DeleteFileW((marker + name).c_str());
}
