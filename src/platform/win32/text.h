// UTF-8 inside the program, UTF-16 at the Win32 calls, ANSI only where
// Windows asks for it (CF_TEXT).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// In the system's ANSI code page; characters it lacks become its replacement character.
std::string toAnsi(std::wstring_view utf16);

std::string windowText(HWND window);

} // namespace win32
