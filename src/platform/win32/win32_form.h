// The form port on Win32, and the runtime's process-level services.
#pragma once

#include "platform/form.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

Form& theForm();
HWND mainWindow();

// The runtime's fatal error: the error box, then exit code -1 without the exit hook.
[[noreturn]] void fatalError(std::string_view message);

// Runs a program's start routine inside the runtime: preparation, the start
// routine, then the end-of-program clean-up with the exit hook. Returns the
// process exit code.
int runProgram(int (*start)());

} // namespace win32
