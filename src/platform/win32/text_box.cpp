#include "platform/win32/text_box.h"

#include "platform/text_edit.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/gdi.h"
#include "platform/win32/window_class.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace win32 {

namespace {

using textedit::Move;

constexpr int marginX = 2;   // between the edge and the text, left and right
constexpr int marginTop = 1;
constexpr UINT_PTR dragTimer = 1;

std::u16string toU16(const wchar_t* text, size_t length) {
    std::u16string s(length, u'\0');
    if (length) std::memcpy(s.data(), text, length * sizeof(wchar_t));
    return s;
}

std::wstring toWide(std::u16string_view text) {
    std::wstring s(text.size(), L'\0');
    if (!text.empty()) std::memcpy(s.data(), text.data(), text.size() * sizeof(wchar_t));
    return s;
}

// Character widths in the box's font, each measured once.
class FontMeasure final : public textedit::Measure {
public:
    explicit FontMeasure(HWND hwnd) : hwnd_(hwnd) {}
    void setFont(HFONT font) {
        font_ = font;
        std::fill(basic_.begin(), basic_.end(), -1);
        beyond_.clear();
    }
    int advance(char32_t c) override {
        if (c < 0x10000) {
            std::int16_t& w = basic_[c];
            if (w < 0) w = static_cast<std::int16_t>(std::clamp(measure(c), 0, 0x7FFF));
            return w;
        }
        auto it = beyond_.find(c);
        if (it == beyond_.end()) it = beyond_.emplace(c, measure(c)).first;
        return it->second;
    }

private:
    int measure(char32_t c) const {
        wchar_t units[2];
        int n = 1;
        if (c >= 0x10000) {
            units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            n = 2;
        } else {
            units[0] = static_cast<wchar_t>(c);
        }
        HDC dc = GetDC(hwnd_);
        if (!dc) return 0;
        HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        SIZE size{};
        GetTextExtentPoint32W(dc, units, n, &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd_, dc);
        return size.cx;
    }

    HWND hwnd_;
    HFONT font_ = nullptr;
    std::vector<std::int16_t> basic_ = std::vector<std::int16_t>(0x10000, -1);
    std::unordered_map<char32_t, int> beyond_;
};

struct TextBox {
    explicit TextBox(HWND h) : hwnd(h), measure(h), editor(measure) {}
    HWND hwnd;
    FontMeasure measure;
    textedit::Editor editor;
    HFONT font = nullptr;
    int lineHeight = 16;
    size_t firstLine = 0;
    bool focused = false;
    bool dragging = false;
    wchar_t pendingHigh = 0; // first half of a pair typed as two characters
};

TextBox* boxOf(HWND hwnd) { return reinterpret_cast<TextBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool multiLine(const TextBox& b) { return (GetWindowLongW(b.hwnd, GWL_STYLE) & ES_MULTILINE) != 0; }

RECT clientRect(const TextBox& b) {
    RECT r{};
    GetClientRect(b.hwnd, &r);
    return r;
}

size_t visibleLines(const TextBox& b) {
    RECT r = clientRect(b);
    return static_cast<size_t>(std::max(1, static_cast<int>(r.bottom - marginTop) / std::max(1, b.lineHeight)));
}

void notifyParent(const TextBox& b, WORD code) {
    SendMessageW(GetParent(b.hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(b.hwnd), code), reinterpret_cast<LPARAM>(b.hwnd));
}

void setGeometry(TextBox& b) {
    HDC dc = GetDC(b.hwnd);
    TEXTMETRICW tm{};
    if (dc) {
        HGDIOBJ old = SelectObject(dc, b.font ? static_cast<HGDIOBJ>(b.font) : GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(b.hwnd, dc);
    }
    b.lineHeight = std::max<int>(1, tm.tmHeight);
    RECT r = clientRect(b);
    // Tab stops every eight average characters, as in the system's edit box.
    b.editor.setGeometry(static_cast<int>(r.right) - 2 * marginX, std::max<int>(1, tm.tmAveCharWidth) * 8);
}

POINT caretPoint(const TextBox& b) {
    size_t line = b.editor.caretLine();
    RECT r = clientRect(b);
    int x = marginX + std::min(b.editor.xOf(b.editor.caret(), line), std::max(0, static_cast<int>(r.right) - 2 * marginX));
    int y = marginTop + (static_cast<int>(line) - static_cast<int>(b.firstLine)) * b.lineHeight;
    return {x, y};
}

void placeCaret(const TextBox& b) {
    if (!b.focused) return;
    POINT p = caretPoint(b);
    SetCaretPos(p.x, p.y);
    // An input method shows what is being composed where the caret is.
    if (HIMC context = ImmGetContext(b.hwnd)) {
        COMPOSITIONFORM form{};
        form.dwStyle = CFS_POINT;
        form.ptCurrentPos = p;
        ImmSetCompositionWindow(context, &form);
        ImmReleaseContext(b.hwnd, context);
    }
}

void clampFirstLine(TextBox& b) {
    size_t count = b.editor.lines().size();
    size_t visible = visibleLines(b);
    b.firstLine = std::min(b.firstLine, count > visible ? count - visible : 0);
}

void scrollToCaret(TextBox& b) {
    size_t line = b.editor.caretLine();
    size_t visible = visibleLines(b);
    if (line < b.firstLine) b.firstLine = line;
    else if (line >= b.firstLine + visible) b.firstLine = line - visible + 1;
    clampFirstLine(b);
}

void refresh(TextBox& b) {
    InvalidateRect(b.hwnd, nullptr, FALSE);
    placeCaret(b);
}

// After the caret moved: bring it into view and redraw.
void caretMoved(TextBox& b) {
    scrollToCaret(b);
    refresh(b);
}

void textChanged(TextBox& b) {
    caretMoved(b);
    notifyParent(b, EN_UPDATE);
    notifyParent(b, EN_CHANGE);
}

// After an edit: the parent hears of it only when the text really changed.
void edited(TextBox& b, bool changed) {
    if (changed) textChanged(b);
    else caretMoved(b);
}

void scrollBy(TextBox& b, long lines) {
    long target = static_cast<long>(b.firstLine) + lines;
    b.firstLine = static_cast<size_t>(std::max(0L, target));
    clampFirstLine(b);
    refresh(b);
}

// ---- clipboard --------------------------------------------------------------

void copy(TextBox& b) {
    if (b.editor.hasSelection()) putTextOnClipboard(b.hwnd, toWide(b.editor.selectedText()));
}

void cut(TextBox& b) {
    if (!b.editor.hasSelection()) return;
    // Nothing is taken out of the box unless it reached the clipboard.
    if (!putTextOnClipboard(b.hwnd, toWide(b.editor.selectedText()))) return;
    edited(b, b.editor.paste(u""));
}

void paste(TextBox& b) {
    std::optional<std::wstring> text = textFromClipboard(b.hwnd);
    if (!text) return;
    edited(b, b.editor.paste(toU16(text->data(), text->size())));
}

void clearSelection(TextBox& b) { edited(b, b.editor.paste(u"")); }

// ---- painting ---------------------------------------------------------------

void drawLine(TextBox& b, HDC dc, size_t index, int y, size_t selStart, size_t selEnd, int right, bool enabled) {
    const textedit::Line& line = b.editor.lines()[index];
    const std::u16string& text = b.editor.text();
    // Only what reaches into the box is drawn (blanks may hang far past its edge).
    std::wstring units;
    std::vector<int> dx;
    for (size_t i = line.start, x = 0; i < line.end && marginX + static_cast<int>(x) < right; ++i) {
        int w = textedit::advanceAt(text, i, static_cast<int>(x), b.editor.tabWidth(), b.measure);
        // A tab is drawn as a blank as wide as its stop.
        units += text[i] == u'\t' ? L' ' : static_cast<wchar_t>(text[i]);
        dx.push_back(w);
        x += static_cast<size_t>(w);
    }
    const size_t n = units.size();
    if (n == 0) return;
    size_t from = std::min(std::clamp(selStart, line.start, line.end) - line.start, n);
    size_t to = std::min(std::clamp(selEnd, line.start, line.end) - line.start, n);
    struct Run {
        size_t begin, end;
        bool selected;
    } runs[] = {{0, from, false}, {from, to, true}, {to, n, false}};
    int runX = marginX;
    for (const Run& run : runs) {
        if (run.begin >= run.end) continue;
        int width = 0;
        for (size_t i = run.begin; i < run.end; ++i) width += dx[i];
        RECT cell{runX, y, runX + width, y + b.lineHeight};
        SetTextColor(dc, run.selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, run.selected ? GetSysColor(COLOR_HIGHLIGHT) : enabled ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
        ExtTextOutW(dc, cell.left, y, ETO_OPAQUE | ETO_CLIPPED, &cell, units.data() + run.begin,
                    static_cast<UINT>(run.end - run.begin), dx.data() + run.begin);
        runX += width;
    }
}

void onPaint(TextBox& b) {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(b.hwnd, &ps);
    if (!target) return;
    RECT r = clientRect(b);
    if (r.right > 0 && r.bottom > 0) {
        BufferedPaint buffer(target, r);
        HDC dc = buffer.dc();
        bool enabled = IsWindowEnabled(b.hwnd);
        fillRect(dc, r, enabled ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
        SelectObject(dc, b.font ? static_cast<HGDIOBJ>(b.font) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, OPAQUE);
        // The selection shows only while the box has the keyboard focus.
        size_t selStart = b.focused ? b.editor.selectionStart() : 0;
        size_t selEnd = b.focused ? b.editor.selectionEnd() : 0;
        const size_t count = b.editor.lines().size();
        for (size_t i = b.firstLine, row = 0; i < count; ++i, ++row) {
            int y = marginTop + static_cast<int>(row) * b.lineHeight;
            if (y >= r.bottom) break;
            drawLine(b, dc, i, y, selStart, selEnd, r.right - marginX, enabled);
        }
        buffer.finish();
    }
    EndPaint(b.hwnd, &ps);
}

// ---- mouse --------------------------------------------------------------------

size_t lineAtY(const TextBox& b, int y) {
    int row = y >= marginTop ? (y - marginTop) / b.lineHeight : -1 - (marginTop - y - 1) / b.lineHeight;
    long line = static_cast<long>(b.firstLine) + row;
    long last = static_cast<long>(b.editor.lines().size()) - 1;
    return static_cast<size_t>(std::clamp(line, 0L, last));
}

void onButtonDown(TextBox& b, int x, int y, bool shift) {
    if (GetFocus() != b.hwnd) SetFocus(b.hwnd);
    b.editor.placeCaret(lineAtY(b, y), x - marginX, shift);
    b.dragging = true;
    SetCapture(b.hwnd);
    SetTimer(b.hwnd, dragTimer, 50, nullptr);
    caretMoved(b);
}

void onDrag(TextBox& b, int x, int y) {
    if (!b.dragging) return;
    b.editor.placeCaret(lineAtY(b, y), x - marginX, true);
    caretMoved(b);
}

void stopDragging(TextBox& b) {
    if (!b.dragging) return;
    b.dragging = false;
    KillTimer(b.hwnd, dragTimer);
    if (GetCapture() == b.hwnd) ReleaseCapture();
}

void onDragTimer(TextBox& b) {
    // Held above or below the box: the text scrolls a line at a time under the pointer.
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(b.hwnd, &p);
    RECT r = clientRect(b);
    if (p.y < 0 || p.y >= r.bottom) onDrag(b, p.x, p.y);
}

void onWheel(TextBox& b, short delta) {
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    if (perNotch == WHEEL_PAGESCROLL) perNotch = static_cast<UINT>(visibleLines(b));
    scrollBy(b, -static_cast<long>(delta) * static_cast<long>(perNotch) / WHEEL_DELTA);
}

// ---- keyboard -------------------------------------------------------------------

bool keyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool onKeyDown(TextBox& b, WPARAM key) {
    bool ctrl = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    auto go = [&](Move move) {
        b.editor.move(move, shift, visibleLines(b));
        caretMoved(b);
    };
    switch (key) {
    case VK_LEFT: go(ctrl ? Move::WordLeft : Move::Left); return true;
    case VK_RIGHT: go(ctrl ? Move::WordRight : Move::Right); return true;
    case VK_UP: go(Move::Up); return true;
    case VK_DOWN: go(Move::Down); return true;
    case VK_HOME: go(ctrl ? Move::Start : Move::LineStart); return true;
    case VK_END: go(ctrl ? Move::End : Move::LineEnd); return true;
    case VK_PRIOR: go(Move::PageUp); return true;
    case VK_NEXT: go(Move::PageDown); return true;
    case VK_DELETE:
        if (shift) {
            cut(b);
        } else {
            edited(b, b.editor.deleteForward(ctrl));
        }
        return true;
    case VK_INSERT:
        if (ctrl) copy(b);
        else if (shift) paste(b);
        return true;
    default: return false;
    }
}

void onChar(TextBox& b, wchar_t c) {
    switch (c) {
    case 0x01: b.editor.selectAll(); caretMoved(b); return;      // Ctrl+A
    case 0x03: copy(b); return;                                  // Ctrl+C
    case 0x16: paste(b); return;                                 // Ctrl+V
    case 0x18: cut(b); return;                                   // Ctrl+X
    case 0x1A: if (b.editor.undo()) textChanged(b); return;      // Ctrl+Z
    case 0x08: edited(b, b.editor.deleteBackward(false)); return;
    case 0x7F: edited(b, b.editor.deleteBackward(true)); return; // Ctrl+Backspace
    case L'\r':
    case L'\n':
        if (multiLine(b)) edited(b, b.editor.type(u"\r\n"));
        return;
    default: break;
    }
    if (c < 0x20 && c != L'\t') return;
    if (c >= 0xD800 && c <= 0xDBFF) {
        b.pendingHigh = c;
        return;
    }
    char16_t units[2];
    size_t n = 0;
    if (c >= 0xDC00 && c <= 0xDFFF) {
        if (!b.pendingHigh) return;
        units[n++] = static_cast<char16_t>(b.pendingHigh);
    }
    b.pendingHigh = 0;
    units[n++] = static_cast<char16_t>(c);
    edited(b, b.editor.type(std::u16string_view(units, n)));
}

// ---- context menu ---------------------------------------------------------------

enum MenuCommand : UINT { cmdUndo = 1, cmdCut, cmdCopy, cmdPaste, cmdDelete, cmdSelectAll };

void onContextMenu(TextBox& b, LPARAM at) {
    if (GetFocus() != b.hwnd) SetFocus(b.hwnd);
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard: at the caret.
        p = caretPoint(b);
        ClientToScreen(b.hwnd, &p);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    bool selected = b.editor.hasSelection();
    auto add = [&](UINT id, const wchar_t* caption, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, caption);
    };
    add(cmdUndo, L"撤消(&U)", b.editor.canUndo());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(cmdCut, L"剪切(&T)", selected);
    add(cmdCopy, L"复制(&C)", selected);
    add(cmdPaste, L"粘贴(&P)", IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT));
    add(cmdDelete, L"删除(&D)", selected);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    add(cmdSelectAll, L"全选(&A)", !b.editor.text().empty());
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x, p.y, 0, b.hwnd, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case cmdUndo: if (b.editor.undo()) textChanged(b); break;
    case cmdCut: cut(b); break;
    case cmdCopy: copy(b); break;
    case cmdPaste: paste(b); break;
    case cmdDelete: clearSelection(b); break;
    case cmdSelectAll: b.editor.selectAll(); caretMoved(b); break;
    default: break;
    }
}

// ---- focus and font ---------------------------------------------------------------

void onSetFocus(TextBox& b) {
    b.focused = true;
    CreateCaret(b.hwnd, nullptr, 1, b.lineHeight);
    placeCaret(b);
    ShowCaret(b.hwnd);
    InvalidateRect(b.hwnd, nullptr, FALSE);
    notifyParent(b, EN_SETFOCUS);
}

void onKillFocus(TextBox& b) {
    b.focused = false;
    stopDragging(b);
    DestroyCaret();
    InvalidateRect(b.hwnd, nullptr, FALSE);
    notifyParent(b, EN_KILLFOCUS);
}

void onSetFont(TextBox& b, HFONT font, bool redraw) {
    b.font = font;
    b.measure.setFont(font);
    setGeometry(b);
    if (b.focused) {
        // The caret takes the new line height.
        DestroyCaret();
        CreateCaret(b.hwnd, nullptr, 1, b.lineHeight);
        ShowCaret(b.hwnd);
    }
    clampFirstLine(b);
    if (redraw) refresh(b);
}

// ---- edit-control messages ---------------------------------------------------------

size_t lineIndexArgument(const TextBox& b, WPARAM w) {
    return static_cast<int>(w) < 0 ? b.editor.caretLine() : static_cast<size_t>(w);
}

LRESULT onEditMessage(TextBox& b, UINT message, WPARAM wParam, LPARAM lParam) {
    textedit::Editor& e = b.editor;
    const size_t lineCount = e.lines().size();
    switch (message) {
    case EM_GETSEL: {
        DWORD start = static_cast<DWORD>(e.selectionStart()), end = static_cast<DWORD>(e.selectionEnd());
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
        long start = static_cast<long>(wParam), end = static_cast<long>(lParam);
        if (start < 0) {
            e.select(e.caret(), e.caret()); // -1 takes the selection away
        } else {
            size_t size = e.text().size();
            e.select(static_cast<size_t>(start), end < 0 ? size : static_cast<size_t>(end));
        }
        refresh(b);
        return 0;
    }
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        edited(b, e.replaceSelection(text ? toU16(text, wcslen(text)) : std::u16string(), wParam != 0));
        return 0;
    }
    case EM_GETLINECOUNT: return static_cast<LRESULT>(lineCount);
    case EM_LINEFROMCHAR:
        return static_cast<LRESULT>(static_cast<int>(wParam) < 0 ? e.lineOf(e.selectionStart())
                                                                 : e.lineOf(std::min<size_t>(wParam, e.text().size())));
    case EM_LINEINDEX: {
        size_t line = lineIndexArgument(b, wParam);
        return line < lineCount ? static_cast<LRESULT>(e.lines()[line].start) : -1;
    }
    case EM_LINELENGTH: {
        size_t line = static_cast<int>(wParam) < 0 ? e.caretLine() : e.lineOf(std::min<size_t>(wParam, e.text().size()));
        return static_cast<LRESULT>(e.lines()[line].end - e.lines()[line].start);
    }
    case EM_GETLINE: {
        // The buffer's first word gives its size in characters; no end mark is written.
        if (wParam >= lineCount || !lParam) return 0;
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        size_t room = *reinterpret_cast<WORD*>(lParam);
        const textedit::Line& line = e.lines()[wParam];
        size_t n = std::min(room, line.end - line.start);
        if (n) std::memcpy(buffer, e.text().data() + line.start, n * sizeof(wchar_t));
        return static_cast<LRESULT>(n);
    }
    case EM_SCROLLCARET: caretMoved(b); return 1;
    case EM_GETFIRSTVISIBLELINE: return static_cast<LRESULT>(b.firstLine);
    case EM_LINESCROLL: scrollBy(b, static_cast<long>(lParam)); return TRUE;
    case EM_CANUNDO: return e.canUndo();
    case EM_UNDO:
    case WM_UNDO:
        if (!e.undo()) return FALSE;
        textChanged(b);
        return TRUE;
    case EM_EMPTYUNDOBUFFER: e.clearUndo(); return 0;
    case EM_GETMODIFY: return e.modified();
    case EM_SETMODIFY: e.setModified(wParam != 0); return 0;
    case EM_SETLIMITTEXT: e.setLimit(wParam ? wParam : 0x7FFFFFFE); return 0;
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(std::min<size_t>(e.limit(), 0x7FFFFFFE));
    case EM_POSFROMCHAR: {
        size_t position = std::min<size_t>(wParam, e.text().size());
        size_t line = e.lineOf(position);
        int x = marginX + e.xOf(position, line);
        int y = marginTop + (static_cast<int>(line) - static_cast<int>(b.firstLine)) * b.lineHeight;
        return MAKELRESULT(static_cast<WORD>(x), static_cast<WORD>(y));
    }
    case EM_CHARFROMPOS: {
        size_t line = lineAtY(b, GET_Y_LPARAM(lParam));
        size_t position = e.positionAt(line, GET_X_LPARAM(lParam) - marginX);
        return MAKELRESULT(static_cast<WORD>(std::min<size_t>(position, 0xFFFF)), static_cast<WORD>(std::min<size_t>(line, 0xFFFF)));
    }
    case EM_GETRECT: {
        if (!lParam) return 0;
        RECT r = clientRect(b);
        *reinterpret_cast<RECT*>(lParam) = RECT{marginX, marginTop, r.right - marginX, r.bottom};
        return 0;
    }
    default: return DefWindowProcW(b.hwnd, message, wParam, lParam);
    }
}

// ---- the window procedure -------------------------------------------------------------

LRESULT onSetText(TextBox& b, const wchar_t* text) {
    b.editor.setText(text ? toU16(text, wcslen(text)) : std::u16string());
    b.firstLine = 0;
    textChanged(b);
    return TRUE;
}

LRESULT onGetText(const TextBox& b, WPARAM size, wchar_t* buffer) {
    if (!buffer || size == 0) return 0;
    size_t n = std::min<size_t>(size - 1, b.editor.text().size());
    if (n) std::memcpy(buffer, b.editor.text().data(), n * sizeof(wchar_t));
    buffer[n] = L'\0';
    return static_cast<LRESULT>(n);
}

LRESULT onGetDialogCode(const TextBox& b) {
    LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    // A multi-line box keeps Return for itself.
    if (multiLine(b)) code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT CALLBACK textBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* b = new (std::nothrow) TextBox(hwnd);
        if (!b) return FALSE;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(b));
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->lpszName && !IS_INTRESOURCE(create->lpszName))
            b->editor.setText(toU16(create->lpszName, wcslen(create->lpszName)));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    TextBox* b = boxOf(hwnd);
    if (!b) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete b;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CREATE: setGeometry(*b); return 0;
    case WM_SIZE: setGeometry(*b); caretMoved(*b); return 0;
    case WM_PAINT: onPaint(*b); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: onSetFont(*b, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(b->font);
    case WM_SETTEXT: return onSetText(*b, reinterpret_cast<const wchar_t*>(lParam));
    case WM_GETTEXT: return onGetText(*b, wParam, reinterpret_cast<wchar_t*>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(b->editor.text().size());
    case WM_GETDLGCODE: return onGetDialogCode(*b);
    case WM_SETFOCUS: onSetFocus(*b); return 0;
    case WM_KILLFOCUS: onKillFocus(*b); return 0;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    case WM_KEYDOWN:
        if (onKeyDown(*b, wParam)) return 0;
        break;
    case WM_CHAR: onChar(*b, static_cast<wchar_t>(wParam)); return 0;
    case WM_LBUTTONDOWN: onButtonDown(*b, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_SHIFT) != 0); return 0;
    case WM_LBUTTONDBLCLK: {
        size_t line = lineAtY(*b, GET_Y_LPARAM(lParam));
        b->editor.selectWordAt(b->editor.positionAt(line, GET_X_LPARAM(lParam) - marginX));
        caretMoved(*b);
        return 0;
    }
    case WM_MOUSEMOVE: onDrag(*b, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: stopDragging(*b); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) stopDragging(*b);
        return 0;
    case WM_TIMER:
        if (wParam == dragTimer) onDragTimer(*b);
        return 0;
    case WM_RBUTTONDOWN:
        if (GetFocus() != hwnd) SetFocus(hwnd);
        return 0;
    case WM_MOUSEWHEEL: onWheel(*b, GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_CONTEXTMENU: onContextMenu(*b, lParam); return 0;
    case WM_CUT: cut(*b); return 0;
    case WM_COPY: copy(*b); return 0;
    case WM_PASTE: paste(*b); return 0;
    case WM_CLEAR: clearSelection(*b); return 0;
    case WM_UNDO: return onEditMessage(*b, message, wParam, lParam);
    default:
        if (message >= EM_GETSEL && message <= EM_CHARFROMPOS) return onEditMessage(*b, message, wParam, lParam);
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

void registerTextBoxClass(HINSTANCE instance) {
    registerWindowClass(instance, textBoxClass, CS_DBLCLKS, textBoxProc, IDC_IBEAM);
}

bool isMultiLineBox(HWND hwnd) {
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    if (lstrcmpiW(name, textBoxClass) == 0) return true;
    return lstrcmpiW(name, L"Edit") == 0 && (GetWindowLongW(hwnd, GWL_STYLE) & ES_MULTILINE);
}

} // namespace win32
