// The runtime's multi-line edit box. The system's multi-line edit control
// wraps a long line in time that grows with the square of its length, so a
// megabyte-long rule would freeze the window; this box wraps in one pass and
// only draws the lines in view. It answers the edit-control messages that
// programs and tests use (text, selection, line count, undo, the clipboard
// messages) and keeps the usual keys, mouse selection and context menu.
#pragma once

#include <windows.h>

namespace win32 {

// The class name ends in "Edit" so a skin frames it like the system's edit boxes.
inline constexpr wchar_t textBoxClass[] = L"QuorvelTextEdit";

void registerTextBoxClass(HINSTANCE instance);

// A box where Return starts a new line: this one, or a system edit box with ES_MULTILINE.
bool isMultiLineBox(HWND hwnd);

} // namespace win32
