// Files of the Wine prefix that the tests change and put back: the engine and
// skin entries in the system directory, a copy of the program in a folder of
// its own, and the Unix side of a Windows path.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace prefix {

inline const wchar_t enginePath[] = L"C:\\windows\\system32\\velmora.dll";
inline const wchar_t skinPath[] = L"C:\\windows\\system32\\velmora.skn";
inline const wchar_t systemDirectory[] = L"C:\\windows\\system32";

std::optional<std::vector<std::uint8_t>> readFile(const wchar_t* path);
bool writeBytes(const wchar_t* path, std::span<const std::uint8_t> bytes);
void removeEntry(const wchar_t* path);

// Saves the engine and skin entries and puts them back when it goes.
class SystemDirectory {
public:
    SystemDirectory();
    ~SystemDirectory();
    SystemDirectory(const SystemDirectory&) = delete;
    SystemDirectory& operator=(const SystemDirectory&) = delete;

private:
    std::optional<std::vector<std::uint8_t>> engine_, skin_;
};

// A copy of the program in a folder of its own, optionally with the engine
// beside it: the build folder holds a velmora.dll beside quorvel.exe, which
// the library search takes first.
class ProgramCopy {
public:
    ProgramCopy(const wchar_t* folderName, bool engineBeside);
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;
    bool ready() const { return ready_; }
    const std::wstring& exe() const { return exe_; }
    const std::wstring& engine() const { return engine_; }

private:
    std::wstring dir_, exe_, engine_;
    bool ready_ = false;
};

// Makes a file or directory of the prefix immutable at the Unix level (even
// root cannot write it then) for as long as it lives.
class Immutable {
public:
    explicit Immutable(const wchar_t* path);
    ~Immutable();
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool ok() const { return ok_; }

private:
    std::wstring path_;
    std::string unixPath_;
    bool ok_ = false;
};

// Runs a Unix program (Wine starts native programs through CreateProcess).
bool runUnix(const std::string& commandLine);

} // namespace prefix
