#include "prefix_files.h"

#include <fstream>
#include <iterator>

#ifndef QUORVEL_EXE
#error "QUORVEL_EXE names the program under test"
#endif

namespace prefix {

namespace {

std::string utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, out.data(), n);
    out.resize(out.size() - 1);
    return out;
}

// Wine's own export that maps a Windows path to the Unix one.
std::string unixPathOf(const wchar_t* path) {
    using Fn = char*(CDECL*)(const wchar_t*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return {};
    char* unix = fn(path);
    if (!unix) return {};
    std::string out(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

} // namespace

std::optional<std::vector<std::uint8_t>> readFile(const wchar_t* path) {
    std::ifstream in(utf8(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool writeBytes(const wchar_t* path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(utf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void removeEntry(const wchar_t* path) {
    DWORD a = GetFileAttributesW(path);
    if (a == INVALID_FILE_ATTRIBUTES) return;
    if (a & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryW(path);
    else
        DeleteFileW(path);
}

SystemDirectory::SystemDirectory() : engine_(readFile(enginePath)), skin_(readFile(skinPath)) {}

SystemDirectory::~SystemDirectory() {
    removeEntry(enginePath);
    removeEntry(skinPath);
    if (engine_) writeBytes(enginePath, *engine_);
    if (skin_) writeBytes(skinPath, *skin_);
}

ProgramCopy::ProgramCopy(const wchar_t* folderName, bool engineBeside) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    dir_ = std::wstring(temp) + folderName;
    CreateDirectoryW(dir_.c_str(), nullptr);
    exe_ = dir_ + L"\\quorvel.exe";
    engine_ = dir_ + L"\\velmora.dll";
    ready_ = CopyFileW(wide(QUORVEL_EXE).c_str(), exe_.c_str(), FALSE) != FALSE;
    if (engineBeside) {
        std::wstring built = wide(QUORVEL_EXE);
        built = built.substr(0, built.find_last_of(L'\\') + 1) + L"velmora.dll";
        ready_ = ready_ && CopyFileW(built.c_str(), engine_.c_str(), FALSE) != FALSE;
    }
}

ProgramCopy::~ProgramCopy() {
    DeleteFileW(exe_.c_str());
    DeleteFileW(engine_.c_str());
    RemoveDirectoryW(dir_.c_str());
}

bool runUnix(const std::string& commandLine) {
    std::wstring command = wide(commandLine);
    std::wstring program = L"Z:" + command.substr(0, command.find(L' '));
    for (wchar_t& c : program)
        if (c == L'/') c = L'\\';
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    bool ended = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ended;
}

namespace {
// True when the entry can no longer be written (a file) or added to (a directory).
bool unwritable(const wchar_t* path) {
    DWORD a = GetFileAttributesW(path);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) {
        std::wstring probe = std::wstring(path) + L"\\quorvel-probe.tmp";
        HANDLE f = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return true;
        CloseHandle(f);
        DeleteFileW(probe.c_str());
        return false;
    }
    HANDLE f = CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return true;
    CloseHandle(f);
    return false;
}
} // namespace

Immutable::Immutable(const wchar_t* path) : path_(path), unixPath_(unixPathOf(path)) {
    if (unixPath_.empty()) return;
    runUnix("/usr/bin/chattr +i " + unixPath_);
    // Wine does not wait for a Unix program's end, so wait for its effect.
    for (int i = 0; i < 200 && !ok_; ++i) {
        ok_ = unwritable(path);
        if (!ok_) Sleep(10);
    }
}

Immutable::~Immutable() {
    if (unixPath_.empty()) return;
    runUnix("/usr/bin/chattr -i " + unixPath_);
    for (int i = 0; i < 200 && unwritable(path_.c_str()); ++i) Sleep(10);
}

} // namespace prefix
