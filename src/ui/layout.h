// The window layout as data: every control of MainWindow with its place, size,
// texts, colours, font and flags. The runtime builds the window from this
// table and nothing else; the UI driver links it only to find controls by ID.
#pragma once

#include "platform/form.h"

#include <span>
#include <string_view>

namespace layout {

enum class Kind { Window, Tab, GroupBox, TransLabel, ColorPicker, EditBox, Button, ShapeBox, PicBox };

enum class Align { Left, Centre };
enum class Cursor { Arrow, Hand, Help };

// A font other than the stock GUI font: face, LOGFONT height, weight.
struct Font {
    const char* face = nullptr; // nullptr: the stock default GUI font
    int height = 0;
    int weight = 400;
};

// Pictures embedded as resources (the resource ID of the JPEG data).
enum class Picture : int { None = 0, A = 201, B = 202, C = 203, D = 204, E = 205 };

struct Control {
    const char* name;          // the layout name, also the port's address
    Kind kind;
    const char* parent;        // "窗口", "选择夹1" or a group box
    int page;                  // 1..3 for controls placed on the tab control, 0 otherwise
    int x, y, width, height;   // relative to the parent's client area (window: outer size)
    int id;                    // stable child-window ID
    const char* text = "";     // caption, label text, starting text of an edit box
    Colour textColour = 0;     // labels and group-box captions
    Font font = {};
    Align align = Align::Left;
    bool wordWrap = false;     // TransLabel: break into lines from the top
    bool relief = false;       // TransLabel: white copy one pixel right and down first
    bool multiLine = false;    // EditBox
    int integerLimit = 0;      // EditBox: integer box taking at most this many characters
    Cursor cursor = Cursor::Arrow;
    Picture picture = Picture::None; // PicBox
    bool stretch = false;      // PicBox: stretch to the box instead of own size at top-left
};

inline constexpr const char* mainWindowName = "窗口";
inline constexpr const char* mainWindowTitle = "QuorvelV1.2";
inline constexpr const char* tabControlName = "选择夹1";

// Every control, the window first, then in layout order within each parent
// (which is also the stacking order: earlier lies above later).
std::span<const Control> controls();

// The tab captions, page 1 first.
std::span<const char* const> tabCaptions();

// nullptr when there is no control of that name.
const Control* find(std::string_view name);

} // namespace layout
