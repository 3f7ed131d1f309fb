// velmora.dll: a window skin engine. Give it a ".SHE" skin and it draws the
// calling thread's windows in that skin by itself: the caption and frame of
// top-level windows, their face, tab controls, push buttons and edit frames.
// Windows of other classes draw themselves as before.
//
// All functions use the stdcall convention and are exported undecorated. Texts
// are NUL-terminated in the system ANSI code page. Functions that can fail
// return 0 and record a code that SkinH_GetLastError reports.
//
// The engine works on the thread that attached it: the windows that thread
// already has, and those it creates while attached (a thread-local hook).
// SkinH_Detach, and unloading the library on that thread, remove the hook and
// every subclass, so no message reaches the library once it is gone.
#pragma once

#include <windows.h>

#ifdef VELMORA_BUILD
#define VELMORA_API extern "C" __declspec(dllexport)
#else
#define VELMORA_API extern "C" __declspec(dllimport)
#endif

// Codes of SkinH_GetLastError and of the two validation functions.
enum VelmoraError {
    velmoraOk = 0,
    velmoraBadArgument = 1,       // null pointer, empty path, bad index
    velmoraFileUnreadable = 2,    // the skin file cannot be opened or read
    velmoraOutOfMemory = 3,
    velmoraWrongThread = 4,       // detach asked from a thread other than the attaching one
    velmoraNotAttached = 5,
    velmoraHookFailed = 6,
    velmoraBadSkin = 100,         // 100 + the parser's reason (see SkinH_GetErrorText)
};

// Reads the skin file at skinFilePath and skins the calling thread's windows
// with it, now and for windows created later. options may be null or empty;
// otherwise it is a list of window class names separated by ';' whose windows
// (and their children) the engine leaves alone. Both texts are copied. A file
// that is not a valid skin is refused and the windows stay as they were. When
// already attached, the new skin replaces the old one. Returns 1 on success.
VELMORA_API int WINAPI SkinH_AttachEx(const char* skinFilePath, const char* options);

// As SkinH_AttachEx, from a skin held in memory (the bytes are copied).
VELMORA_API int WINAPI SkinH_AttachMemory(const void* data, DWORD size, const char* options);

// Removes the hook and every subclass and repaints the windows as the system
// draws them. Must run on the attaching thread. Returns 1 when it was attached.
VELMORA_API int WINAPI SkinH_Detach(void);

// 1 while a skin is attached.
VELMORA_API int WINAPI SkinH_IsAttached(void);

// Checks a skin without applying it: velmoraOk, or the reason it is refused.
VELMORA_API int WINAPI SkinH_ValidateFile(const char* skinFilePath);
VELMORA_API int WINAPI SkinH_ValidateMemory(const void* data, DWORD size);

// The code of the last failure of any function (velmoraOk after a success).
VELMORA_API int WINAPI SkinH_GetLastError(void);

// A short English text for a code; never null.
VELMORA_API const char* WINAPI SkinH_GetErrorText(int code);

// Engine version in the high word (major << 8 | minor), skin format version in the low word.
VELMORA_API DWORD WINAPI SkinH_Version(void);

// Copies the attached skin's name into buffer (ANSI, NUL-terminated, cut to fit)
// and returns its length without the NUL; 0 when not attached or no room.
VELMORA_API int WINAPI SkinH_GetSkinName(char* buffer, int size);

// Palette of the attached skin: number of slots, colour of a slot (COLORREF),
// CLR_INVALID when not attached or out of range.
VELMORA_API int WINAPI SkinH_GetColourCount(void);
VELMORA_API COLORREF WINAPI SkinH_GetColour(int index);

// Changes one palette slot of the attached skin and repaints. Returns 1 on success.
VELMORA_API int WINAPI SkinH_SetColour(int index, COLORREF colour);

// Metrics of the attached skin (corner radii, gradient kind, ...): number of
// slots, value of a slot, -1 when not attached or out of range.
VELMORA_API int WINAPI SkinH_GetMetricCount(void);
VELMORA_API int WINAPI SkinH_GetMetric(int index);

// Leaves a window and its children alone (undoing any skinning of them), or
// takes it back. The marks last while the windows live, across attachments.
VELMORA_API int WINAPI SkinH_ExcludeWindow(HWND window);
VELMORA_API int WINAPI SkinH_IncludeWindow(HWND window);
VELMORA_API int WINAPI SkinH_IsExcluded(HWND window);

// 1 when the engine currently subclasses the window.
VELMORA_API int WINAPI SkinH_IsSkinned(HWND window);

// Number of windows the engine currently subclasses.
VELMORA_API int WINAPI SkinH_GetSkinnedCount(void);

// Turns the drawing off and on without detaching: while off, skinned windows
// draw as the system draws them. Enabled by default.
VELMORA_API int WINAPI SkinH_SetEnabled(int enabled);
VELMORA_API int WINAPI SkinH_IsEnabled(void);

// Repaints every skinned window, frames included.
VELMORA_API int WINAPI SkinH_Redraw(void);
