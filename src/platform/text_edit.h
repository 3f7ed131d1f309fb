// The editing model behind the runtime's multi-line text box: the text, the
// caret and selection, one level of undo, and the wrapping of the text into
// lines at the box's width. It knows nothing of windows; the widths of the
// characters come from a Measure that the platform supplies.
//
// Wrapping is linear in the length of the text, so a box can show a
// megabyte-long line without freezing its window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace textedit {

using Text = std::u16string;

// The advance width, in pixels, of one character (a whole code point).
class Measure {
public:
    virtual ~Measure() = default;
    virtual int advance(char32_t c) = 0;
};

// One line on screen: the characters [start, end). A hard line break ("\r\n",
// or a lone "\r" or "\n") follows `end` and is not part of the line; after a
// wrap the next line begins at `end` itself.
struct Line {
    std::size_t start = 0;
    std::size_t end = 0;
};

// Breaks the text into lines no wider than `width`. A line breaks after the
// last space or tab that fits; a word wider than the box breaks where it
// overflows (a line holds at least one character). Spaces at the end of a line
// may reach past the width. Tabs go to the next multiple of `tabWidth`.
std::vector<Line> wrap(std::u16string_view text, int width, int tabWidth, Measure& measure);

// The width of the character at `i` when it starts at `x` on its line: tabs
// reach to the next stop, a surrogate pair counts once (at its first half).
int advanceAt(std::u16string_view text, std::size_t i, int x, int tabWidth, Measure& measure);

// The length of the line break starting at `i`: 2 for "\r\n", 1 for a lone
// "\r" or "\n", 0 when there is none.
std::size_t breakLength(std::u16string_view text, std::size_t i);

enum class Move { Left, Right, WordLeft, WordRight, LineStart, LineEnd, Up, Down, PageUp, PageDown, Start, End };

class Editor {
public:
    explicit Editor(Measure& measure) : measure_(measure) { rewrap(); }

    // The width lines wrap at and the distance between tab stops.
    void setGeometry(int width, int tabWidth);
    int tabWidth() const { return tabWidth_; }
    // Characters may have changed width (another font): wraps again.
    void remeasure() { rewrap(); }

    // Replaces the whole text; the caret goes to the start and undo is cleared.
    void setText(Text text);
    const Text& text() const { return text_; }
    const std::vector<Line>& lines() const { return lines_; }

    std::size_t anchor() const { return anchor_; }
    std::size_t caret() const { return caret_; }
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionEnd() const { return std::max(anchor_, caret_); }
    bool hasSelection() const { return anchor_ != caret_; }
    std::u16string_view selectedText() const;

    // Positions are clamped to the text and never split a surrogate pair or a "\r\n".
    void select(std::size_t anchor, std::size_t caret);
    void selectAll() { select(0, text_.size()); }
    void selectWordAt(std::size_t position);
    void move(Move move, bool extend, std::size_t pageLines = 1);

    // Edits, each true when the text changed. Typing merges with the typing
    // just before it into one undo step; a paste, cut or other edit is a step
    // of its own. All respect the limit.
    bool type(std::u16string_view text) { return replaceSelection(text, Kind::Typing); }
    bool paste(std::u16string_view text) { return replaceSelection(text, Kind::Edit); }
    bool replaceSelection(std::u16string_view text, bool undoable);
    bool deleteBackward(bool word);
    bool deleteForward(bool word);
    // Takes back the last step; a second undo takes back the undo.
    bool undo();
    bool canUndo() const { return undo_.valid; }
    void clearUndo() { undo_ = {}; }
    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The most characters the text may hold.
    void setLimit(std::size_t limit) { limit_ = limit; }
    std::size_t limit() const { return limit_; }

    // The line a position shows on. A position where a line wraps belongs to
    // the next line, unless the caret was put at the end of the line before.
    std::size_t lineOf(std::size_t position) const;
    std::size_t caretLine() const;
    // Distance from the start of its line to the position.
    int xOf(std::size_t position, std::size_t line) const;
    // The character boundary on a line nearest to x.
    std::size_t positionAt(std::size_t line, int x) const;
    // Puts the caret at the boundary nearest to x on the line (a click).
    void placeCaret(std::size_t line, int x, bool extend);

private:
    enum class Kind { Typing, Edit, BackspaceRun, DeleteRun, Plain };
    struct UndoStep {
        bool valid = false;
        std::size_t at = 0;
        std::size_t inserted = 0; // length of the text the step put in at `at`
        Text removed;             // what it took out
    };

    bool replaceSelection(std::u16string_view text, Kind kind);
    bool replaceRange(std::size_t start, std::size_t end, std::u16string_view with, Kind kind);
    void rewrap();
    std::size_t clamp(std::size_t position) const;
    std::size_t stepLeft(std::size_t position) const;
    std::size_t stepRight(std::size_t position) const;
    std::size_t wordLeft(std::size_t position) const;
    std::size_t wordRight(std::size_t position) const;
    bool wrapsAfter(std::size_t line) const;
    void setCaret(std::size_t position, bool extend, bool atLineEnd = false, bool keepGoal = false);

    Measure& measure_;
    Text text_;
    std::vector<Line> lines_;
    int width_ = 1 << 30;
    int tabWidth_ = 32;
    std::size_t anchor_ = 0, caret_ = 0;
    bool caretAtLineEnd_ = false;
    int goalX_ = -1; // kept across Up and Down
    std::size_t limit_ = static_cast<std::size_t>(-1);
    UndoStep undo_;
    Kind lastKind_ = Kind::Plain;
    bool modified_ = false;
};

} // namespace textedit
