#include "platform/win32/library_calls.h"

#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>
#include <utility>

namespace win32 {

namespace {

// Searched, in this order, for a function declared with no library name.
constexpr std::array<const char*, 6> defaultLibraries = {"Kernel32.dll", "Gdi32.dll",    "User32.dll",
                                                         "Advapi32.dll", "Mpr.dll",      "Shell32.dll"};
// Libraries that are only ever taken from the system directory, so a planted
// copy beside the program is never loaded.
constexpr std::array<const char*, 20> systemLibraries = {
    "kernel32", "gdi32", "user32", "advapi32", "mpr", "shell32", "ntdll", "comctl32", "comdlg32", "ole32",
    "oleaut32", "shlwapi", "version", "winmm", "ws2_32", "psapi", "uxtheme", "imm32", "msvcrt", "dwmapi"};

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool hasPath(std::string_view name) { return name.find_first_of("\\/:") != std::string_view::npos; }

bool isSystemLibrary(std::string_view name) {
    if (hasPath(name)) return false;
    std::string base = lower(name);
    if (base.size() > 4 && base.ends_with(".dll")) base.resize(base.size() - 4);
    return std::find(systemLibraries.begin(), systemLibraries.end(), base) != systemLibraries.end();
}

std::wstring directoryOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

HMODULE loadLibrary(std::string_view name) {
    static std::map<std::string, HMODULE> loaded;
    std::string key = lower(name);
    if (auto it = loaded.find(key); it != loaded.end()) return it->second;
    std::wstring wide = widen(name);
    HMODULE module = nullptr;
    if (isSystemLibrary(name)) {
        wchar_t system[MAX_PATH];
        UINT n = GetSystemDirectoryW(system, MAX_PATH);
        std::wstring path = std::wstring(system, n) + L"\\" + wide;
        if (path.size() < 4 || lstrcmpiW(path.c_str() + path.size() - 4, L".dll") != 0) path += L".dll";
        module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    } else {
        if (!hasPath(name)) {
            wchar_t self[MAX_PATH];
            DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
            std::wstring besideProgram = directoryOf(std::wstring(self, n)) + wide;
            if (GetFileAttributesW(besideProgram.c_str()) != INVALID_FILE_ATTRIBUTES)
                module = LoadLibraryExW(besideProgram.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        }
        if (!module) module = LoadLibraryW(wide.c_str());
    }
    // A library that failed to load is tried again at a later call.
    if (module) loaded[key] = module;
    return module;
}

FARPROC resolve(std::string_view library, std::string_view function) {
    std::string name(function);
    if (library.empty()) {
        for (const char* candidate : defaultLibraries)
            if (HMODULE module = loadLibrary(candidate))
                if (FARPROC f = GetProcAddress(module, name.c_str())) return f;
        return nullptr;
    }
    HMODULE module = loadLibrary(library);
    return module ? GetProcAddress(module, name.c_str()) : nullptr;
}

template <size_t... I>
Word invoke(FARPROC f, const Word* a, std::index_sequence<I...>) {
    using Fn = Word(WINAPI*)(decltype((void)I, Word())...);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(f))(a[I]...);
}

Word invokeWith(FARPROC f, std::initializer_list<Word> args) {
    const Word* a = args.begin();
    switch (args.size()) {
    case 0: return invoke(f, a, std::make_index_sequence<0>{});
    case 1: return invoke(f, a, std::make_index_sequence<1>{});
    case 2: return invoke(f, a, std::make_index_sequence<2>{});
    case 3: return invoke(f, a, std::make_index_sequence<3>{});
    case 4: return invoke(f, a, std::make_index_sequence<4>{});
    case 5: return invoke(f, a, std::make_index_sequence<5>{});
    case 6: return invoke(f, a, std::make_index_sequence<6>{});
    case 7: return invoke(f, a, std::make_index_sequence<7>{});
    case 8: return invoke(f, a, std::make_index_sequence<8>{});
    default: fatalError("库函数参数过多");
    }
}

} // namespace

std::optional<Word> libraryCall(std::string_view library, std::string_view function,
                                std::initializer_list<Word> args, bool fatal) {
    static std::map<std::pair<std::string, std::string>, FARPROC> resolved;
    auto key = std::make_pair(lower(library), std::string(function));
    FARPROC f = nullptr;
    if (auto it = resolved.find(key); it != resolved.end()) {
        f = it->second;
    } else {
        f = resolve(library, function);
        if (f) resolved[key] = f;
    }
    if (!f) {
        if (!fatal) return std::nullopt;
        std::string message = library.empty() ? "无法找到指定DLL库文件中的输出命令“" + std::string(function) + "”"
                                              : "无法找到指定DLL库文件“" + std::string(library) +
                                                    "”中的输出命令“" + std::string(function) + "”";
        fatalError(message);
    }
    return invokeWith(f, args);
}

} // namespace win32
