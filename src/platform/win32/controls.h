// The form runtime's control kinds on Win32. Every layout row becomes one
// ControlWindow; the kinds the runtime draws itself (ColorPicker, ShapeBox,
// PicBox, TransLabel, GroupBox) are window classes of ours, the others are the
// system's controls, subclassed where they need to be.
#pragma once

#include "platform/form.h"
#include "ui/bindings.h"
#include "ui/layout.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace win32 {

struct ControlWindow {
    const layout::Control* spec = nullptr;
    HWND hwnd = nullptr;
    HFONT font = nullptr;     // owned by the font cache, not by the control
    Colour backColour = 0;    // ShapeBox
    Colour textColour = 0;    // TransLabel, GroupBox caption
    Colour colour = 0;        // ColorPicker
    HBITMAP picture = nullptr; // PicBox, already at the size it is drawn
    int pictureWidth = 0, pictureHeight = 0;
};

// Window classes of the runtime's own kinds.
inline constexpr wchar_t mainWindowClass[] = L"QuorvelForm";
inline constexpr wchar_t transLabelClass[] = L"QuorvelTransLabel";
inline constexpr wchar_t colorPickerClass[] = L"QuorvelColorPicker";
inline constexpr wchar_t shapeBoxClass[] = L"QuorvelShapeBox";
inline constexpr wchar_t picBoxClass[] = L"QuorvelPicBox";
inline constexpr wchar_t groupBoxClass[] = L"QuorvelGroupBox";

void registerControlClasses(HINSTANCE instance);

// Creates every control of the layout under the main window, in layout order,
// with only page 1's controls shown.
void buildControls(HWND mainWindow);
void destroyControlResources();

ControlWindow* controlNamed(std::string_view name);
ControlWindow* controlOf(HWND hwnd);
std::vector<ControlWindow>& allControls();

// Fires a control's event through the binding table (nothing when unbound).
void fireEvent(const ControlWindow& control, bindings::Event event);
void fireWindowMouseMoved();

// Messages that a container (main window, tab control, group box) receives for
// its children: commands and control colours. True when handled.
bool routeChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Shows the controls of one page and hides the others.
void showPage(int page);

// Property writes, each followed by a repaint.
void setShapeColour(ControlWindow& control, Colour colour);
void setLabelColour(ControlWindow& control, Colour colour);

} // namespace win32
