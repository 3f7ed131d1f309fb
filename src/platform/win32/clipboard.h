// Plain text on the clipboard, with the clipboard closed again on every path.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace win32 {

// Puts the text on the clipboard as CF_UNICODETEXT and, in the ANSI code page,
// as CF_TEXT. Waits about half a second for another program to let go of it.
// True only when both formats were placed.
bool putTextOnClipboard(HWND owner, std::wstring_view text);

// The clipboard's text, or nothing when it holds none or cannot be opened.
std::optional<std::wstring> textFromClipboard(HWND owner);

} // namespace win32
