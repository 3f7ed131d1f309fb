#include "platform/text_edit.h"

#include <algorithm>

namespace textedit {

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }
bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Word motions stop where the kind of character changes.
enum class CharClass { Blank, Break, Punctuation, Word };
CharClass classOf(char16_t c) {
    if (isBlank(c)) return CharClass::Blank;
    if (isLineBreak(c)) return CharClass::Break;
    if (c < 0x80 && !((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'))
        return CharClass::Punctuation;
    return CharClass::Word;
}

} // namespace

std::size_t breakLength(std::u16string_view text, std::size_t i) {
    if (i >= text.size()) return 0;
    if (text[i] == u'\r') return i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
    return text[i] == u'\n' ? 1 : 0;
}

int advanceAt(std::u16string_view text, std::size_t i, int x, int tabWidth, Measure& measure) {
    char16_t c = text[i];
    if (c == u'\t') {
        int stop = tabWidth > 0 ? tabWidth : 1;
        return (x / stop + 1) * stop - x;
    }
    if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1]))
        return measure.advance(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
    if (isLowSurrogate(c) && i > 0 && isHighSurrogate(text[i - 1])) return 0;
    return measure.advance(c);
}

std::vector<Line> wrap(std::u16string_view text, int width, int tabWidth, Measure& measure) {
    std::vector<Line> lines;
    std::size_t i = 0;
    const std::size_t n = text.size();
    for (;;) {
        // One paragraph: up to the next hard break.
        std::size_t lineStart = i;
        int x = 0;
        std::size_t lastBreak = 0; // position after the last blank on this line, 0 for none
        int widthSinceBreak = 0;
        while (i < n && !isLineBreak(text[i])) {
            int w = advanceAt(text, i, x, tabWidth, measure);
            if (isBlank(text[i])) {
                // Blanks hang at the end of a line rather than starting the next.
                x += w;
                ++i;
                lastBreak = i;
                widthSinceBreak = 0;
                continue;
            }
            if (x + w > width && i > lineStart && !(isLowSurrogate(text[i]) && isHighSurrogate(text[i - 1]))) {
                if (lastBreak > lineStart) {
                    lines.push_back({lineStart, lastBreak});
                    lineStart = lastBreak;
                    x = widthSinceBreak;
                    lastBreak = 0;
                    // The word carried over may itself not fit beside this character.
                    if (x + w > width && i > lineStart) {
                        lines.push_back({lineStart, i});
                        lineStart = i;
                        x = 0;
                    }
                } else {
                    lines.push_back({lineStart, i});
                    lineStart = i;
                    x = 0;
                }
            }
            x += w;
            widthSinceBreak += w;
            ++i;
        }
        lines.push_back({lineStart, i});
        if (i >= n) break;
        i += breakLength(text, i);
    }
    return lines;
}

void Editor::setGeometry(int width, int tabWidth) {
    width_ = std::max(width, 1);
    tabWidth_ = std::max(tabWidth, 1);
    rewrap();
}

void Editor::rewrap() { lines_ = wrap(text_, width_, tabWidth_, measure_); }

void Editor::setText(Text text) {
    text_ = std::move(text);
    anchor_ = caret_ = 0;
    caretAtLineEnd_ = false;
    goalX_ = -1;
    undo_ = {};
    lastKind_ = Kind::Plain;
    modified_ = false;
    rewrap();
}

std::u16string_view Editor::selectedText() const {
    return std::u16string_view(text_).substr(selectionStart(), selectionEnd() - selectionStart());
}

std::size_t Editor::clamp(std::size_t position) const {
    position = std::min(position, text_.size());
    if (position > 0 && position < text_.size()) {
        if (isLowSurrogate(text_[position]) && isHighSurrogate(text_[position - 1])) --position;
        else if (text_[position] == u'\n' && text_[position - 1] == u'\r') --position;
    }
    return position;
}

void Editor::setCaret(std::size_t position, bool extend, bool atLineEnd, bool keepGoal) {
    caret_ = clamp(position);
    if (!extend) anchor_ = caret_;
    caretAtLineEnd_ = atLineEnd;
    if (!keepGoal) goalX_ = -1;
    lastKind_ = Kind::Plain;
}

void Editor::select(std::size_t anchor, std::size_t caret) {
    anchor_ = clamp(anchor);
    setCaret(caret, true);
}

std::size_t Editor::stepLeft(std::size_t position) const {
    if (position == 0) return 0;
    return clamp(position - 1);
}

std::size_t Editor::stepRight(std::size_t position) const {
    if (position >= text_.size()) return text_.size();
    if (std::size_t b = breakLength(text_, position)) return position + b;
    if (isHighSurrogate(text_[position]) && position + 1 < text_.size() && isLowSurrogate(text_[position + 1]))
        return position + 2;
    return position + 1;
}

std::size_t Editor::wordRight(std::size_t position) const {
    std::size_t n = text_.size();
    if (position >= n) return n;
    if (isLineBreak(text_[position])) return stepRight(position);
    CharClass kind = classOf(text_[position]);
    if (kind != CharClass::Blank)
        while (position < n && classOf(text_[position]) == kind) ++position;
    while (position < n && isBlank(text_[position])) ++position;
    return clamp(position);
}

std::size_t Editor::wordLeft(std::size_t position) const {
    if (position == 0) return 0;
    std::size_t p = position;
    while (p > 0 && isBlank(text_[p - 1])) --p;
    if (p > 0 && isLineBreak(text_[p - 1])) return p == position ? stepLeft(p) : p;
    if (p == 0) return 0;
    CharClass kind = classOf(text_[p - 1]);
    while (p > 0 && classOf(text_[p - 1]) == kind) --p;
    return clamp(p);
}

void Editor::selectWordAt(std::size_t position) {
    position = clamp(position);
    std::size_t n = text_.size();
    if (n == 0) return;
    // At the end of a line the word before the position is meant.
    std::size_t probe = position < n && !isLineBreak(text_[position]) ? position : (position > 0 ? position - 1 : 0);
    if (isLineBreak(text_[probe])) {
        select(position, position);
        return;
    }
    CharClass kind = classOf(text_[probe]);
    std::size_t start = probe, end = probe;
    while (start > 0 && classOf(text_[start - 1]) == kind) --start;
    while (end < n && classOf(text_[end]) == kind) ++end;
    // A word takes the blanks after it along, as in the system's edit box.
    if (kind != CharClass::Blank)
        while (end < n && isBlank(text_[end])) ++end;
    anchor_ = clamp(start);
    setCaret(end, true);
}

bool Editor::wrapsAfter(std::size_t line) const {
    return line + 1 < lines_.size() && lines_[line + 1].start == lines_[line].end;
}

std::size_t Editor::lineOf(std::size_t position) const {
    // The last line starting at or before the position.
    auto it = std::upper_bound(lines_.begin(), lines_.end(), position,
                               [](std::size_t p, const Line& line) { return p < line.start; });
    return it == lines_.begin() ? 0 : static_cast<std::size_t>(it - lines_.begin()) - 1;
}

std::size_t Editor::caretLine() const {
    std::size_t line = lineOf(caret_);
    if (caretAtLineEnd_ && line > 0 && lines_[line].start == caret_ && wrapsAfter(line - 1)) --line;
    return line;
}

int Editor::xOf(std::size_t position, std::size_t line) const {
    const Line& l = lines_[std::min(line, lines_.size() - 1)];
    int x = 0;
    std::size_t end = std::min(position, l.end);
    for (std::size_t i = l.start; i < end; ++i) x += advanceAt(text_, i, x, tabWidth_, measure_);
    return x;
}

std::size_t Editor::positionAt(std::size_t line, int x) const {
    const Line& l = lines_[std::min(line, lines_.size() - 1)];
    int at = 0;
    for (std::size_t i = l.start; i < l.end;) {
        std::size_t next = stepRight(i);
        int w = 0;
        for (std::size_t j = i; j < next && j < l.end; ++j) w += advanceAt(text_, j, at + w, tabWidth_, measure_);
        if (x < at + (w + 1) / 2) return i;
        at += w;
        i = next;
    }
    // Past the end of a wrapped line the boundary before its last blank is
    // not meant: the end itself, shown on this line.
    return l.end;
}

void Editor::placeCaret(std::size_t line, int x, bool extend) {
    line = std::min(line, lines_.size() - 1);
    std::size_t position = positionAt(line, x);
    setCaret(position, extend, position == lines_[line].end && wrapsAfter(line));
}

void Editor::move(Move move, bool extend, std::size_t pageLines) {
    // Without Shift, Left and Right first collapse a selection to its edge.
    if (!extend && hasSelection() && (move == Move::Left || move == Move::Right)) {
        setCaret(move == Move::Left ? selectionStart() : selectionEnd(), false);
        return;
    }
    std::size_t line = caretLine();
    switch (move) {
    case Move::Left: setCaret(stepLeft(caret_), extend); break;
    case Move::Right: setCaret(stepRight(caret_), extend); break;
    case Move::WordLeft: setCaret(wordLeft(caret_), extend); break;
    case Move::WordRight: setCaret(wordRight(caret_), extend); break;
    case Move::LineStart: setCaret(lines_[line].start, extend); break;
    case Move::LineEnd: setCaret(lines_[line].end, extend, wrapsAfter(line)); break;
    case Move::Start: setCaret(0, extend); break;
    case Move::End: setCaret(text_.size(), extend); break;
    case Move::Up:
    case Move::Down:
    case Move::PageUp:
    case Move::PageDown: {
        std::size_t count = (move == Move::Up || move == Move::Down) ? 1 : std::max<std::size_t>(pageLines, 1);
        bool down = move == Move::Down || move == Move::PageDown;
        std::size_t target = down ? std::min(line + count, lines_.size() - 1) : (line > count ? line - count : 0);
        if (target == line) {
            // Up from the first line goes to its start, down from the last to its end.
            if (!down && line == 0) setCaret(0, extend);
            else if (down && line + 1 == lines_.size()) setCaret(text_.size(), extend);
            break;
        }
        int goal = goalX_ >= 0 ? goalX_ : xOf(caret_, line);
        std::size_t position = positionAt(target, goal);
        setCaret(position, extend, position == lines_[target].end && wrapsAfter(target), true);
        goalX_ = goal;
        break;
    }
    }
}

bool Editor::replaceRange(std::size_t start, std::size_t end, std::u16string_view with, Kind kind) {
    std::size_t room = limit_ > text_.size() - (end - start) ? limit_ - (text_.size() - (end - start)) : 0;
    if (with.size() > room) {
        with = with.substr(0, room);
        // Never keep half of a surrogate pair.
        if (!with.empty() && isHighSurrogate(with.back())) with.remove_suffix(1);
    }
    if (start == end && with.empty()) return false;
    if (kind == Kind::Plain) {
        // An edit that cannot be undone leaves no older step that could still apply.
        undo_ = {};
    } else {
        bool merge = undo_.valid && kind == lastKind_;
        if (merge && kind == Kind::Typing) merge = start == end && undo_.at + undo_.inserted == start;
        else if (merge && kind == Kind::BackspaceRun) merge = undo_.inserted == 0 && end == undo_.at && with.empty();
        else if (merge && kind == Kind::DeleteRun) merge = undo_.inserted == 0 && start == undo_.at && with.empty();
        else merge = false;
        if (merge && kind == Kind::Typing) {
            undo_.inserted += with.size();
        } else if (merge && kind == Kind::BackspaceRun) {
            undo_.removed.insert(0, text_, start, end - start);
            undo_.at = start;
        } else if (merge && kind == Kind::DeleteRun) {
            undo_.removed.append(text_, start, end - start);
        } else {
            undo_.valid = true;
            undo_.at = start;
            undo_.inserted = with.size();
            undo_.removed.assign(text_, start, end - start);
        }
    }
    text_.replace(start, end - start, with);
    modified_ = true;
    rewrap();
    setCaret(start + with.size(), false);
    lastKind_ = kind;
    return true;
}

bool Editor::replaceSelection(std::u16string_view text, Kind kind) {
    return replaceRange(selectionStart(), selectionEnd(), text, kind);
}

bool Editor::replaceSelection(std::u16string_view text, bool undoable) {
    return replaceSelection(text, undoable ? Kind::Edit : Kind::Plain);
}

bool Editor::deleteBackward(bool word) {
    if (hasSelection()) return replaceSelection(u"", Kind::Edit);
    std::size_t from = word ? wordLeft(caret_) : stepLeft(caret_);
    return replaceRange(from, caret_, u"", Kind::BackspaceRun);
}

bool Editor::deleteForward(bool word) {
    if (hasSelection()) return replaceSelection(u"", Kind::Edit);
    std::size_t to = word ? wordRight(caret_) : stepRight(caret_);
    return replaceRange(caret_, to, u"", Kind::DeleteRun);
}

bool Editor::undo() {
    if (!undo_.valid) return false;
    UndoStep step = std::move(undo_);
    Text inserted = text_.substr(step.at, step.inserted);
    text_.replace(step.at, step.inserted, step.removed);
    // The undo itself can be undone: the step turned round.
    undo_.valid = true;
    undo_.at = step.at;
    undo_.inserted = step.removed.size();
    undo_.removed = std::move(inserted);
    modified_ = true;
    rewrap();
    anchor_ = clamp(step.at);
    setCaret(step.at + step.removed.size(), true);
    return true;
}

} // namespace textedit
