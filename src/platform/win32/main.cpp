// The process entry: the runtime runs the program's start routine.
#include "app/app.h"
#include "platform/win32/win32_form.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return win32::runProgram(startProgram); }
