// The form port: everything the program's handlers need of the form runtime
// that hosts the window. The Win32 runtime implements it for the real program,
// the in-memory form (platform/host) for native tests. Nothing that uses this
// header sees <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Callbacks that Windows calls directly (the timer procedure) use the system's
// calling convention, which differs from the default only in the 32-bit build.
#if defined(_WIN32) && !defined(_WIN64)
#define QV_SYSTEM_CALLBACK __attribute__((stdcall))
#else
#define QV_SYSTEM_CALLBACK
#endif

// A colour as Windows holds it: red in the low byte, then green, then blue.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

// A machine word handed to or returned from a library call: a handle, a
// pointer, a size or a 32-bit value widened.
using Word = std::uintptr_t;

class Form {
public:
    virtual ~Form() = default;

    // Control properties, by the control's layout name. Texts are UTF-8.
    virtual std::string text(std::string_view control) = 0;                 // EditBox
    virtual void setText(std::string_view control, std::string_view text) = 0;
    virtual Colour colour(std::string_view control) = 0;                     // ColorPicker
    virtual void setBackColour(std::string_view control, Colour colour) = 0; // ShapeBox
    virtual void setTextColour(std::string_view control, Colour colour) = 0; // TransLabel

    // A task-modal box with an OK button and no icon, owned by no window;
    // returns once the user has dismissed it.
    virtual void showMessage(std::string_view text, std::string_view caption) = 0;

    // Replaces the clipboard's contents with the text (as CF_TEXT in the ANSI
    // code page and as CF_UNICODETEXT). False when the text could not be
    // placed, for example while another program holds the clipboard.
    virtual bool putOnClipboard(std::string_view text) = 0;

    // Any entry of that name counts, a directory too.
    virtual bool fileExists(std::string_view path) = 0;
    // Creates or replaces the file with exactly these bytes. The bytes go to a
    // temporary file beside it first, so a cut-short write never leaves a
    // partial file under the final name. False on failure.
    virtual bool writeFile(std::string_view path, std::span<const std::uint8_t> bytes) = 0;

    // Calls a function of a dynamic library, resolved at its first call and
    // kept. An empty library name searches the runtime's default list of
    // system libraries. A function that cannot be resolved is fatal: the
    // runtime shows its error box and ends the process with exit code -1.
    virtual Word callLibrary(std::string_view library, std::string_view function,
                             std::initializer_list<Word> args) = 0;
    // The same call, but a library or function that cannot be resolved gives
    // no result instead of the fatal error.
    virtual std::optional<Word> tryCallLibrary(std::string_view library, std::string_view function,
                                               std::initializer_list<Word> args) = 0;

    // The native handle of MainWindow.
    virtual Word mainWindowHandle() = 0;

    // Appends a line to the runtime's diagnostic trace, which tests read to see
    // what the program did (timer ticks, the exit hook). Does nothing unless a
    // trace was asked for.
    virtual void trace(std::string_view line) = 0;
};

// The form that is running. Set by the runtime (or a test) for the callbacks
// that Windows calls without context, such as the timer procedure.
Form* activeForm();
void setActiveForm(Form* form);
