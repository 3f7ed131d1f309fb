// velmora.dll: the skin engine. It subclasses the attaching thread's windows of a
// few standard kinds (captioned top-level windows, push buttons, edit boxes with a
// client edge, tab controls) and draws them from the attached skin; a thread-local
// CBT hook catches the windows created later. Every subclass goes through
// comctl32's SetWindowSubclass, so removal is safe in any order, and detaching
// (or unloading on the attaching thread) removes the hook and all subclasses.
//
// Geometry never changes: the caption and frame are painted inside the rectangles
// the system computes, and hit-testing only renames the caption buttons' areas.
// The library is kept small: no exceptions, no C++ runtime, GDI and a 32-bit DIB
// per painted part.
#include "velmora.h"

#include <commctrl.h>
#include <math.h>
#include <stddef.h>

#include "skin_format.h"

namespace sf = skinFormat;

namespace {

constexpr UINT_PTR subclassId = 0x564C4D52;
const wchar_t excludedProp[] = L"VelmoraExcluded";

enum Kind : int { kindNone = -1, kindFrame, kindButton, kindEdit, kindTab };

struct WindowState {
    HWND hwnd;
    int kind;
    bool active;      // frame: caption drawn active
    int hot;          // frame: hit code of the caption button under the pointer
    int pressed;      // frame: hit code of the caption button held down
    bool hover;       // button: pointer inside; tab and frame: leave tracking armed
    int hotTab;       // tab: item under the pointer, -1 for none
};

struct Engine {
    bool attached = false;
    bool enabled = true;
    DWORD thread = 0;
    HHOOK hook = nullptr;
    std::uint8_t* bytes = nullptr;  // the skin file's bytes; the texture points into them
    sf::Skin* skin = nullptr;
    wchar_t* options = nullptr;     // class names to leave alone, separated by ';'
    HFONT captionFont = nullptr;
    HBRUSH faceBrush = nullptr;
    WindowState** windows = nullptr;
    int count = 0, capacity = 0;
    int lastError = velmoraOk;
};

Engine g;
HINSTANCE module;

LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

// ---- small helpers --------------------------------------------------------

void* allocate(SIZE_T n) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, n); }
void release(void* p) { if (p) HeapFree(GetProcessHeap(), 0, p); }

int fail(int code) { g.lastError = code; return 0; }
int succeed() { g.lastError = velmoraOk; return 1; }

COLORREF colour(int slot) { return g.skin->colours[slot]; }
int metric(int slot) { return g.skin->metrics[slot]; }

COLORREF mixColour(COLORREF a, COLORREF b, int t256)
{
    auto mixByte = [t256](int x, int y) { return x + (y - x) * t256 / 256; };
    return RGB(mixByte(GetRValue(a), GetRValue(b)), mixByte(GetGValue(a), GetGValue(b)),
               mixByte(GetBValue(a), GetBValue(b)));
}

std::uint32_t pixel(COLORREF c) { return std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); }

std::uint32_t mixPixel(std::uint32_t a, std::uint32_t b, int t256)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int x = (a >> shift) & 255, y = (b >> shift) & 255;
        out |= std::uint32_t(x + (y - x) * t256 / 256) << shift;
    }
    return out;
}

void fillSolid(HDC dc, const RECT& r, COLORREF c)
{
    SetBkColor(dc, c);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

bool sameClass(HWND h, const wchar_t* name)
{
    wchar_t cls[64];
    return GetClassNameW(h, cls, 64) && lstrcmpiW(cls, name) == 0;
}

// A 32-bit top-down DIB to compose one part in before a single blit.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    std::uint32_t* px = nullptr;
    int w = 0, h = 0;

    bool open(HDC reference, int width, int height)
    {
        if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return false;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(reference, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap) return false;
        dc = CreateCompatibleDC(reference);
        if (!dc) { DeleteObject(bitmap); bitmap = nullptr; return false; }
        old = SelectObject(dc, bitmap);
        px = static_cast<std::uint32_t*>(bits);
        w = width;
        h = height;
        return true;
    }
    ~Canvas()
    {
        if (dc) { SelectObject(dc, old); DeleteDC(dc); }
        if (bitmap) DeleteObject(bitmap);
    }

    void blend(int x, int y, std::uint32_t c, int alpha)
    {
        if (x < 0 || y < 0 || x >= w || y >= h || alpha <= 0) return;
        std::uint32_t& p = px[y * w + x];
        p = alpha >= 255 ? c : mixPixel(p, c, alpha * 256 / 255);
    }

    void fill(RECT r, std::uint32_t c)
    {
        for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < h; ++y)
            for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < w; ++x) px[y * w + x] = c;
    }

    // A rectangle with anti-aliased round corners and a vertical gradient from top to bottom.
    void fillRound(RECT r, int radius, std::uint32_t top, std::uint32_t bottom, int alpha, bool roundBottom = true)
    {
        int height = r.bottom - r.top;
        if (r.right <= r.left || height <= 0) return;
        float rad = float(radius);
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t c = height > 1 ? mixPixel(top, bottom, (y - r.top) * 256 / (height - 1)) : top;
            float cy = y + 0.5f;
            float lowY = r.top + rad, highY = roundBottom ? r.bottom - rad : float(r.bottom);
            float ny = cy < lowY ? lowY : (cy > highY ? highY : cy);
            for (int x = r.left; x < r.right; ++x) {
                float cx = x + 0.5f;
                float lowX = r.left + rad, highX = r.right - rad;
                float nx = cx < lowX ? lowX : (cx > highX ? highX : cx);
                float dx = cx - nx, dy = cy - ny;
                int a = alpha;
                if (dx != 0 || dy != 0) {
                    float cover = rad + 0.5f - sqrtf(dx * dx + dy * dy);
                    if (cover <= 0) continue;
                    if (cover < 1) a = int(alpha * cover);
                }
                blend(x, y, c, a);
            }
        }
    }

    void mask(const sf::GlyphImage& glyph, int left, int top, std::uint32_t c)
    {
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x) blend(left + x, top + y, c, glyph.pixels[y * glyph.width + x]);
    }

    void show(HDC target, int x, int y) { BitBlt(target, x, y, w, h, dc, 0, 0, SRCCOPY); }
};

RECT inset(RECT r, int d) { return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d}; }

// ---- which windows ---------------------------------------------------------

bool classExcludedByOptions(const wchar_t* cls)
{
    for (const wchar_t* p = g.options; p && *p;) {
        const wchar_t* end = p;
        while (*end && *end != L';') ++end;
        int n = int(end - p);
        if (n > 0 && n < 64) {
            wchar_t name[64];
            for (int i = 0; i < n; ++i) name[i] = p[i];
            name[n] = 0;
            if (lstrcmpiW(name, cls) == 0) return true;
        }
        p = *end ? end + 1 : end;
    }
    return false;
}

bool excludedByMark(HWND h)
{
    HWND desktop = GetDesktopWindow();
    for (HWND w = h; w && w != desktop; w = GetAncestor(w, GA_PARENT))
        if (GetPropW(w, excludedProp)) return true;
    return false;
}

bool isPushButtonStyle(LONG style)
{
    LONG type = style & BS_TYPEMASK;
    return (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !(style & (BS_BITMAP | BS_ICON));
}

bool isPlainTabStyle(LONG style)
{
    return !(style & (TCS_BUTTONS | TCS_VERTICAL | TCS_BOTTOM | TCS_OWNERDRAWFIXED));
}

// The system's edit box, and edit boxes of other makers whose class names end in "Edit".
bool isEditClass(const wchar_t* cls)
{
    int n = lstrlenW(cls);
    return n >= 4 && lstrcmpiW(cls + n - 4, L"Edit") == 0;
}

int kindOf(HWND h)
{
    if (!IsWindow(h) || GetWindowThreadProcessId(h, nullptr) != g.thread) return kindNone;
    wchar_t cls[64];
    if (!GetClassNameW(h, cls, 64) || classExcludedByOptions(cls) || excludedByMark(h)) return kindNone;
    LONG style = GetWindowLongW(h, GWL_STYLE);
    if (style & WS_CHILD) {
        if (lstrcmpiW(cls, L"Button") == 0) return isPushButtonStyle(style) ? kindButton : kindNone;
        if (isEditClass(cls))
            return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? kindEdit : kindNone;
        if (lstrcmpiW(cls, WC_TABCONTROLW) == 0) return kindTab;
        return kindNone;
    }
    return (style & WS_CAPTION) == WS_CAPTION ? kindFrame : kindNone;
}

WindowState* stateOf(HWND h)
{
    for (int i = 0; i < g.count; ++i)
        if (g.windows[i]->hwnd == h) return g.windows[i];
    return nullptr;
}

// After a default handler has run, the window may have been destroyed or the
// engine detached: only then is the state still ours to use.
bool stillOurs(HWND h, WindowState* s)
{
    return g.attached && stateOf(h) == s;
}

void redrawWindow(HWND h)
{
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

bool skin(HWND h)
{
    if (stateOf(h)) return true;
    int kind = kindOf(h);
    if (kind == kindNone) return false;
    if (g.count == g.capacity) {
        int capacity = g.capacity ? g.capacity * 2 : 32;
        void* grown = g.windows ? HeapReAlloc(GetProcessHeap(), 0, g.windows, capacity * sizeof(WindowState*))
                                : allocate(capacity * sizeof(WindowState*));
        if (!grown) return false;
        g.windows = static_cast<WindowState**>(grown);
        g.capacity = capacity;
    }
    auto* s = static_cast<WindowState*>(allocate(sizeof(WindowState)));
    if (!s) return false;
    s->hwnd = h;
    s->kind = kind;
    s->active = GetActiveWindow() == h;
    s->hotTab = -1;
    if (!SetWindowSubclass(h, subclassProc, subclassId, DWORD_PTR(s))) {
        release(s);
        return false;
    }
    g.windows[g.count++] = s;
    return true;
}

void unskinAt(int i)
{
    WindowState* s = g.windows[i];
    RemoveWindowSubclass(s->hwnd, subclassProc, subclassId);
    g.windows[i] = g.windows[--g.count];
    release(s);
}

bool unskin(HWND h)
{
    for (int i = 0; i < g.count; ++i)
        if (g.windows[i]->hwnd == h) {
            unskinAt(i);
            return true;
        }
    return false;
}

BOOL CALLBACK skinChild(HWND h, LPARAM) { skin(h); return TRUE; }
BOOL CALLBACK unskinChild(HWND h, LPARAM) { if (unskin(h)) redrawWindow(h); return TRUE; }

void skinTree(HWND top)
{
    skin(top);
    EnumChildWindows(top, skinChild, 0);
}

BOOL CALLBACK skinTopLevel(HWND h, LPARAM) { skinTree(h); return TRUE; }

void redrawAll()
{
    for (int i = 0; i < g.count; ++i)
        RedrawWindow(g.windows[i]->hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | (g.windows[i]->kind == kindFrame ? RDW_ALLCHILDREN : 0));
}

LRESULT CALLBACK cbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g.attached) skin(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(g.hook, code, wParam, lParam);
}

// ---- top-level frames ------------------------------------------------------

struct FrameGeometry {
    int w, h, border, top, bottomBorder;
    RECT caption;
    bool plain;          // nothing but caption and frame outside the client area
    int buttons;
    RECT buttonRect[3];
    int buttonCode[3];
    HICON icon;
    RECT iconRect;
    LONG style, exStyle;
};

HICON smallIcon(HWND h)
{
    auto icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(h, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(h, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(h, GCLP_HICON));
    return icon;
}

bool frameGeometry(HWND h, FrameGeometry& f)
{
    RECT wr;
    if (!GetWindowRect(h, &wr)) return false;
    f.w = wr.right - wr.left;
    f.h = wr.bottom - wr.top;
    f.style = GetWindowLongW(h, GWL_STYLE);
    f.exStyle = GetWindowLongW(h, GWL_EXSTYLE);
    RECT a = {0, 0, 0, 0};
    if (!AdjustWindowRectEx(&a, f.style & ~(WS_VSCROLL | WS_HSCROLL), FALSE, f.exStyle & ~WS_EX_CLIENTEDGE))
        return false;
    f.border = -a.left;
    f.top = -a.top;
    f.bottomBorder = a.bottom;
    if (f.border < 0 || f.bottomBorder < 0 || f.top <= f.bottomBorder || f.w < 2 * f.border + 16 ||
        f.h < f.top + f.bottomBorder)
        return false;
    f.caption = RECT{f.border, f.bottomBorder, f.w - f.border, f.top};

    RECT cr;
    POINT origin = {0, 0};
    GetClientRect(h, &cr);
    ClientToScreen(h, &origin);
    int cl = origin.x - wr.left, ct = origin.y - wr.top;
    f.plain = !GetMenu(h) && cl == f.border && ct == f.top && cl + cr.right == f.w - f.border &&
              ct + cr.bottom == f.h - f.bottomBorder;

    int capH = f.caption.bottom - f.caption.top;
    int margin = metric(sf::captionButtonMargin);
    if (capH - 2 * margin < 8) margin = 0;
    int bh = capH - 2 * margin;
    int bw = bh * metric(sf::captionButtonAspect) / 100;
    int right = f.caption.right - margin;
    f.buttons = 0;
    auto add = [&](int code) {
        f.buttonRect[f.buttons] = RECT{right - bw, f.caption.top + margin, right, f.caption.bottom - margin};
        f.buttonCode[f.buttons++] = code;
        right -= bw + metric(sf::captionButtonGap);
    };
    bool tool = f.exStyle & WS_EX_TOOLWINDOW;
    if (f.style & WS_SYSMENU) {
        add(HTCLOSE);
        if (!tool && (f.style & WS_MAXIMIZEBOX)) add(HTMAXBUTTON);
        if (!tool && (f.style & WS_MINIMIZEBOX)) add(HTMINBUTTON);
    }
    f.icon = (f.style & WS_SYSMENU) && !tool ? smallIcon(h) : nullptr;
    int is = GetSystemMetrics(SM_CXSMICON);
    if (is > capH) is = capH;
    int iy = f.caption.top + (capH - is) / 2;
    f.iconRect = RECT{f.caption.left + 2, iy, f.caption.left + 2 + (f.icon ? is : 0), iy + is};
    return true;
}

std::uint32_t ringPixel(int ring, COLORREF frame)
{
    int style = metric(sf::frameStyle);
    if (style == 2 && ring == 0) return pixel(mixColour(frame, RGB(0, 0, 0), 80));
    if (style >= 1 && ring == 1) return pixel(colour(sf::frameHighlight));
    return pixel(frame);
}

int glyphFor(int code, HWND h)
{
    if (code == HTCLOSE) return sf::glyphClose;
    if (code == HTMINBUTTON) return sf::glyphMinimise;
    return IsZoomed(h) ? sf::glyphRestore : sf::glyphMaximise;
}

void drawCaption(Canvas& c, HWND h, const WindowState* s, const FrameGeometry& f)
{
    bool active = s->active;
    COLORREF frame = colour(active ? sf::frameActive : sf::frameInactive);
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            int ring = x < y ? x : y;
            if (c.w - 1 - x < ring) ring = c.w - 1 - x;
            c.px[y * c.w + x] = ringPixel(ring, frame);
        }

    std::uint32_t start = pixel(colour(active ? sf::captionActiveStart : sf::captionInactiveStart));
    std::uint32_t end = pixel(colour(active ? sf::captionActiveEnd : sf::captionInactiveEnd));
    const RECT& cap = f.caption;
    int cw = cap.right - cap.left, ch = cap.bottom - cap.top;
    int gradient = metric(sf::captionGradient);
    int strength = g.skin->texture ? metric(sf::textureStrength) : 0;
    for (int y = cap.top; y < cap.bottom; ++y)
        for (int x = cap.left; x < cap.right; ++x) {
            int t = gradient == 0 ? (x - cap.left) * 256 / (cw > 1 ? cw - 1 : 1)
                  : gradient == 1 ? (y - cap.top) * 256 / (ch > 1 ? ch - 1 : 1) : 0;
            std::uint32_t p = mixPixel(start, end, t);
            if (strength) {
                int tx = (x - cap.left) % g.skin->textureWidth;
                int ty = (y - cap.top) * g.skin->textureHeight / ch;
                int factor = 256 + (g.skin->texture[ty * g.skin->textureWidth + tx] - 128) * strength / 200;
                std::uint32_t shaded = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    int v = int((p >> shift) & 255) * factor / 256;
                    shaded |= std::uint32_t(v < 0 ? 0 : v > 255 ? 255 : v) << shift;
                }
                p = shaded;
            }
            c.px[y * c.w + x] = p;
        }

    int radius = metric(sf::captionButtonRadius);
    std::uint32_t glyphColour = pixel(colour(active ? sf::captionGlyph : sf::captionGlyphInactive));
    for (int i = 0; i < f.buttons; ++i) {
        int code = f.buttonCode[i];
        RECT r = f.buttonRect[i];
        bool pressed = s->pressed == code, hot = s->hot == code && (s->pressed == 0 || pressed);
        if (pressed) {
            std::uint32_t p = pixel(colour(sf::captionButtonPressed));
            c.fillRound(r, radius, p, p, 255);
        } else if (hot) {
            std::uint32_t p = pixel(colour(code == HTCLOSE ? sf::closeButtonHot : sf::captionButtonHot));
            c.fillRound(r, radius, p, p, 255);
        } else {
            std::uint32_t p = pixel(colour(sf::captionButtonFace));
            c.fillRound(r, radius, p, p, active ? 110 : 60);
        }
        const sf::GlyphImage& glyph = g.skin->glyphs[glyphFor(code, h)];
        int gx = r.left + (r.right - r.left - glyph.width) / 2 + (pressed ? 1 : 0);
        int gy = r.top + (r.bottom - r.top - glyph.height) / 2 + (pressed ? 1 : 0);
        c.mask(glyph, gx, gy, hot && code == HTCLOSE && !pressed ? pixel(RGB(255, 255, 255)) : glyphColour);
    }

    if (f.icon)
        DrawIconEx(c.dc, f.iconRect.left, f.iconRect.top, f.icon, f.iconRect.right - f.iconRect.left,
                   f.iconRect.bottom - f.iconRect.top, 0, nullptr, DI_NORMAL);

    wchar_t text[256];
    int n = GetWindowTextW(h, text, 256);
    if (n > 0) {
        RECT tr = {f.iconRect.right + metric(sf::captionTextIndent), cap.top,
                   (f.buttons ? f.buttonRect[f.buttons - 1].left : cap.right) - 4, cap.bottom};
        HGDIOBJ oldFont = SelectObject(c.dc, g.captionFont ? g.captionFont : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(c.dc, TRANSPARENT);
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX;
        COLORREF textColour = colour(active ? sf::captionTextActive : sf::captionTextInactive);
        if (metric(sf::captionTextShadow) && active) {
            RECT sr = {tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1};
            SetTextColor(c.dc, mixColour(colour(sf::captionActiveStart), RGB(0, 0, 0), 120));
            DrawTextW(c.dc, text, n, &sr, flags);
        }
        SetTextColor(c.dc, textColour);
        DrawTextW(c.dc, text, n, &tr, flags);
        SelectObject(c.dc, oldFont);
    }
}

void paintFrame(HWND h, WindowState* s)
{
    if (!g.enabled || IsIconic(h)) return;
    FrameGeometry f;
    if (!frameGeometry(h, f)) return;
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    COLORREF frame = colour(s->active ? sf::frameActive : sf::frameInactive);
    for (int ring = 0; ring < f.border || ring < f.bottomBorder; ++ring) {
        std::uint32_t p = ringPixel(ring, frame);
        COLORREF c = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
        if (ring < f.border) {
            fillSolid(dc, RECT{ring, f.top, ring + 1, f.h - ring}, c);
            fillSolid(dc, RECT{f.w - 1 - ring, f.top, f.w - ring, f.h - ring}, c);
        }
        if (ring < f.bottomBorder) fillSolid(dc, RECT{ring, f.h - 1 - ring, f.w - ring, f.h - ring}, c);
    }
    Canvas c;
    if (c.open(dc, f.w, f.top)) {
        drawCaption(c, h, s, f);
        c.show(dc, 0, 0);
    }
    ReleaseDC(h, dc);
}

int captionButtonAt(HWND h, POINT screen)
{
    FrameGeometry f;
    RECT wr;
    if (!frameGeometry(h, f) || !GetWindowRect(h, &wr)) return 0;
    POINT p = {screen.x - wr.left, screen.y - wr.top};
    for (int i = 0; i < f.buttons; ++i)
        if (PtInRect(&f.buttonRect[i], p)) return f.buttonCode[i];
    return 0;
}

bool isCaptionCode(LRESULT code)
{
    return code == HTCAPTION || code == HTCLOSE || code == HTMINBUTTON || code == HTMAXBUTTON || code == HTHELP;
}

// Presses a caption button the way the system does: the button shows pressed while
// the pointer stays on it, and releasing on it sends the command.
void trackCaptionButton(HWND h, WindowState* s, int code)
{
    s->pressed = code;
    s->hot = code;
    paintFrame(h, s);
    SetCapture(h);
    bool over = true;
    POINT screen = {0, 0};
    while (GetCapture() == h) {
        MSG m;
        if (!PeekMessageW(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_MOUSE | QS_SENDMESSAGE);
            continue;
        }
        screen = m.pt;
        if (m.hwnd == h) {
            screen = POINT{short(LOWORD(m.lParam)), short(HIWORD(m.lParam))};
            ClientToScreen(h, &screen);
        }
        bool now = captionButtonAt(h, screen) == code;
        if (m.message == WM_LBUTTONUP) {
            over = now;
            break;
        }
        if (m.message == WM_MOUSEMOVE && now != over) {
            over = now;
            s->pressed = over ? code : 0;
            paintFrame(h, s);
        }
    }
    if (GetCapture() == h) ReleaseCapture();
    else over = false;
    if (!stillOurs(h, s)) return;
    s->pressed = 0;
    s->hot = over ? code : 0;
    paintFrame(h, s);
    if (!over) return;
    WPARAM command = code == HTCLOSE ? SC_CLOSE : code == HTMINBUTTON ? SC_MINIMIZE : IsZoomed(h) ? SC_RESTORE : SC_MAXIMIZE;
    if (command == SC_MINIMIZE || command == SC_CLOSE) s->hot = 0;
    SendMessageW(h, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

bool faceClassBrush(HWND h)
{
    auto brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(h, GCLP_HBRBACKGROUND));
    return brush == reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1) || brush == GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT frameProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, WindowState* s)
{
    switch (msg) {
    case WM_NCPAINT: {
        if (IsIconic(h)) break;
        FrameGeometry f;
        if (!frameGeometry(h, f)) break;
        if (!f.plain) DefSubclassProc(h, msg, wParam, lParam);  // menu, scroll bars, client edge
        if (stillOurs(h, s)) paintFrame(h, s);
        return 0;
    }
    case WM_NCACTIVATE: {
        if (IsIconic(h)) break;
        s->active = wParam != 0;
        // -1 keeps the default handler from painting the caption over ours.
        LRESULT r = DefSubclassProc(h, msg, wParam, -1);
        if (stillOurs(h, s)) paintFrame(h, s);
        return r;
    }
    case WM_NCHITTEST: {
        LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
        if (!isCaptionCode(r) || !stillOurs(h, s)) return r;
        int ours = captionButtonAt(h, POINT{short(LOWORD(lParam)), short(HIWORD(lParam))});
        if (ours) return ours;
        return r == HTCAPTION ? r : HTCAPTION;
    }
    case WM_NCMOUSEMOVE: {
        int code = (wParam == HTCLOSE || wParam == HTMINBUTTON || wParam == HTMAXBUTTON) ? int(wParam) : 0;
        if (code != s->hot) {
            s->hot = code;
            paintFrame(h, s);
        }
        if (!s->hover) {
            TRACKMOUSEEVENT t = {DWORD(sizeof(TRACKMOUSEEVENT)), TME_LEAVE | TME_NONCLIENT, h, 0};
            s->hover = TrackMouseEvent(&t) != 0;
        }
        break;
    }
    case WM_NCMOUSELEAVE:
        s->hover = false;
        if (s->hot) {
            s->hot = 0;
            paintFrame(h, s);
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wParam == HTCLOSE || wParam == HTMINBUTTON || wParam == HTMAXBUTTON) {
            trackCaptionButton(h, s, int(wParam));
            return 0;
        }
        [[fallthrough]];
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_SYSCOMMAND:
    case WM_NCRBUTTONUP: {
        // Default handlers of these draw parts of the caption directly.
        LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
        if (stillOurs(h, s) && IsWindowVisible(h)) paintFrame(h, s);
        return r;
    }
    case WM_ERASEBKGND:
        if (faceClassBrush(h)) {
            RECT r;
            GetClientRect(h, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, g.faceBrush);
            return 1;
        }
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
        // Only where the answer would have been the system's grey face.
        LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
        if (!stillOurs(h, s) || reinterpret_cast<HBRUSH>(r) != GetSysColorBrush(COLOR_BTNFACE)) return r;
        if (msg == WM_CTLCOLORSTATIC && !sameClass(reinterpret_cast<HWND>(lParam), L"Static")) return r;
        SetBkColor(reinterpret_cast<HDC>(wParam), colour(sf::face));
        return reinterpret_cast<LRESULT>(g.faceBrush);
    }
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

// ---- push buttons ----------------------------------------------------------

void paintButton(HWND h, HDC dc, const WindowState* s)
{
    RECT cr;
    GetClientRect(h, &cr);
    Canvas c;
    if (!c.open(dc, cr.right, cr.bottom)) return;
    LONG style = GetWindowLongW(h, GWL_STYLE);
    bool pressed = SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED;
    bool focused = GetFocus() == h;
    bool disabled = !IsWindowEnabled(h);
    bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    c.fill(cr, pixel(colour(sf::face)));
    int radius = metric(sf::buttonRadius);
    std::uint32_t border = pixel(colour(isDefault ? sf::buttonDefaultBorder : sf::buttonBorder));
    c.fillRound(cr, radius, border, border, 255);
    RECT inner = inset(cr, isDefault ? 2 : 1);
    COLORREF body = colour(disabled ? sf::buttonFace : pressed ? sf::buttonPressed : s->hover ? sf::buttonHot : sf::buttonFace);
    COLORREF top = pressed ? body : mixColour(body, RGB(255, 255, 255), metric(sf::buttonGloss) * 256 / 100);
    c.fillRound(inner, radius > 1 ? radius - 1 : 0, pixel(top), pixel(body), 255);

    wchar_t text[512];
    int n = GetWindowTextW(h, text, 512);
    auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(c.dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, colour(disabled ? sf::buttonTextDisabled : sf::buttonText));
    LRESULT ui = SendMessageW(h, WM_QUERYUISTATE, 0, 0);
    UINT flags = (ui & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    LONG align = style & (BS_LEFT | BS_RIGHT | BS_CENTER);
    flags |= align == BS_LEFT ? DT_LEFT : align == BS_RIGHT ? DT_RIGHT : DT_CENTER;
    RECT tr = inset(inner, 2);
    if (pressed) OffsetRect(&tr, 1, 1);
    if (style & BS_MULTILINE) {
        RECT measure = tr;
        DrawTextW(c.dc, text, n, &measure, flags | DT_WORDBREAK | DT_CALCRECT);
        int shift = ((tr.bottom - tr.top) - (measure.bottom - measure.top)) / 2;
        if (shift > 0) tr.top += shift;
        DrawTextW(c.dc, text, n, &tr, flags | DT_WORDBREAK);
    } else {
        DrawTextW(c.dc, text, n, &tr, flags | DT_SINGLELINE | DT_VCENTER);
    }
    SelectObject(c.dc, oldFont);
    if (focused && !(ui & UISF_HIDEFOCUS)) {
        RECT fr = inset(inner, 2);
        SetTextColor(c.dc, RGB(0, 0, 0));
        SetBkColor(c.dc, RGB(255, 255, 255));
        DrawFocusRect(c.dc, &fr);
    }
    c.show(dc, 0, 0);
}

void repaintButtonNow(HWND h, const WindowState* s)
{
    if (!IsWindowVisible(h)) return;
    HDC dc = GetDC(h);
    if (!dc) return;
    paintButton(h, dc, s);
    ReleaseDC(h, dc);
}

LRESULT buttonProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, WindowState* s)
{
    if (!isPushButtonStyle(GetWindowLongW(h, GWL_STYLE))) return DefSubclassProc(h, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (dc) paintButton(h, dc, s);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintButton(h, reinterpret_cast<HDC>(wParam), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        if (!s->hover) {
            TRACKMOUSEEVENT t = {DWORD(sizeof(TRACKMOUSEEVENT)), TME_LEAVE, h, 0};
            if (TrackMouseEvent(&t)) {
                s->hover = true;
                repaintButtonNow(h, s);
            }
        }
        break;
    case WM_MOUSELEAVE:
        s->hover = false;
        repaintButtonNow(h, s);
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_CAPTURECHANGED: {
        // The default handler draws these changes directly; draw ours over them.
        LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
        if (stillOurs(h, s)) repaintButtonNow(h, s);
        return r;
    }
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

// ---- edit frames -----------------------------------------------------------

void paintEditFrame(HWND h)
{
    RECT wr, cr;
    POINT origin = {0, 0};
    if (!GetWindowRect(h, &wr) || !GetClientRect(h, &cr) || !ClientToScreen(h, &origin)) return;
    int edge = origin.x - wr.left;
    if (origin.y - wr.top < edge) edge = origin.y - wr.top;
    if (edge > GetSystemMetrics(SM_CXEDGE)) edge = GetSystemMetrics(SM_CXEDGE);
    if (edge <= 0) return;
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    COLORREF outer = colour(GetFocus() == h ? sf::editFrameFocus : sf::editFrame);
    COLORREF inner = mixColour(outer, RGB(255, 255, 255), 190);
    RECT r = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    for (int ring = 0; ring < edge; ++ring) {
        COLORREF c = ring == 0 ? outer : inner;
        RECT q = inset(r, ring);
        fillSolid(dc, RECT{q.left, q.top, q.right, q.top + 1}, c);
        fillSolid(dc, RECT{q.left, q.bottom - 1, q.right, q.bottom}, c);
        fillSolid(dc, RECT{q.left, q.top, q.left + 1, q.bottom}, c);
        fillSolid(dc, RECT{q.right - 1, q.top, q.right, q.bottom}, c);
    }
    ReleaseDC(h, dc);
}

LRESULT editProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, WindowState* s)
{
    switch (msg) {
    case WM_NCPAINT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_STYLECHANGED: {
        LRESULT r = DefSubclassProc(h, msg, wParam, lParam);
        if (stillOurs(h, s) && (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) paintEditFrame(h);
        return r;
    }
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

// ---- tab controls ----------------------------------------------------------

struct ClipContext { HDC dc; HWND self; RECT selfRect; };

// Child windows and overlapping siblings keep their pixels: the tab control is
// often created without clipping styles, with page controls laid over it.
BOOL CALLBACK excludeWindow(HWND w, LPARAM p)
{
    auto* ctx = reinterpret_cast<ClipContext*>(p);
    if (w == ctx->self || !IsWindowVisible(w)) return TRUE;
    HWND parent = GetAncestor(w, GA_PARENT);
    if (parent != ctx->self && parent != GetAncestor(ctx->self, GA_PARENT)) return TRUE;
    RECT r, overlap;
    GetWindowRect(w, &r);
    if (!IntersectRect(&overlap, &r, &ctx->selfRect)) return TRUE;
    POINT a = {overlap.left, overlap.top}, b = {overlap.right, overlap.bottom};
    ScreenToClient(ctx->self, &a);
    ScreenToClient(ctx->self, &b);
    ExcludeClipRect(ctx->dc, a.x, a.y, b.x, b.y);
    return TRUE;
}

void paintTab(HWND h, HDC dc, const WindowState* s, bool keepChildren)
{
    RECT cr;
    GetClientRect(h, &cr);
    Canvas c;
    if (!c.open(dc, cr.right, cr.bottom)) return;
    int count = int(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    int selected = int(SendMessageW(h, TCM_GETCURSEL, 0, 0));
    int radius = metric(sf::tabRadius);
    std::uint32_t border = pixel(colour(sf::tabBorder));
    c.fill(cr, pixel(colour(sf::face)));
    int bodyTop = 0;
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && r.bottom > bodyTop) bodyTop = r.bottom;
    }
    RECT body = {0, bodyTop, cr.right, cr.bottom};
    c.fill(body, border);
    c.fill(inset(body, 1), pixel(colour(sf::tabSelected)));

    RECT selectedRect = {0, 0, 0, 0};
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < count; ++i) {
            bool isSelected = i == selected;
            if (isSelected != (pass == 1)) continue;
            RECT r;
            if (!SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
            if (isSelected) {
                r = RECT{r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};
                selectedRect = r;
            }
            c.fillRound(r, radius, border, border, 255, false);
            RECT inner = {r.left + 1, r.top + 1, r.right - 1, isSelected ? r.bottom : r.bottom - 1};
            std::uint32_t fill = pixel(colour(isSelected ? sf::tabSelected : i == s->hotTab ? sf::tabHot : sf::tabFace));
            c.fillRound(inner, radius > 1 ? radius - 1 : 0, fill, fill, 255, false);
        }

    auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(c.dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, colour(sf::tabText));
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (!SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        wchar_t text[128] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(h, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        if (i == selected) OffsetRect(&r, 0, -1);
        DrawTextW(c.dc, item.pszText, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
    SelectObject(c.dc, oldFont);
    if (GetFocus() == h && selected >= 0 && !(SendMessageW(h, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT fr = inset(selectedRect, 3);
        SetTextColor(c.dc, RGB(0, 0, 0));
        SetBkColor(c.dc, RGB(255, 255, 255));
        DrawFocusRect(c.dc, &fr);
    }

    int saved = SaveDC(dc);
    if (keepChildren) {
        ClipContext ctx = {dc, h, {}};
        GetWindowRect(h, &ctx.selfRect);
        EnumChildWindows(GetAncestor(h, GA_PARENT), excludeWindow, reinterpret_cast<LPARAM>(&ctx));
    }
    c.show(dc, 0, 0);
    RestoreDC(dc, saved);
}

void invalidateTabStrip(HWND h)
{
    RECT cr, strip = {0, 0, 0, 0};
    GetClientRect(h, &cr);
    int count = int(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (SendMessageW(h, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && r.bottom + 2 > strip.bottom)
            strip.bottom = r.bottom + 2;
    }
    strip.right = cr.right;
    InvalidateRect(h, &strip, FALSE);
}

LRESULT tabProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, WindowState* s)
{
    if (!isPlainTabStyle(GetWindowLongW(h, GWL_STYLE))) return DefSubclassProc(h, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(h, &ps);
        if (dc) paintTab(h, dc, s, true);
        if (!wParam) EndPaint(h, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        // A transparent child asks for the page below it: the whole body, children ignored.
        paintTab(h, reinterpret_cast<HDC>(wParam), s, false);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        TCHITTESTINFO hit = {{short(LOWORD(lParam)), short(HIWORD(lParam))}, 0};
        int item = int(SendMessageW(h, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item != s->hotTab) {
            s->hotTab = item;
            invalidateTabStrip(h);
        }
        if (!s->hover) {
            TRACKMOUSEEVENT t = {DWORD(sizeof(TRACKMOUSEEVENT)), TME_LEAVE, h, 0};
            s->hover = TrackMouseEvent(&t) != 0;
        }
        break;
    }
    case WM_MOUSELEAVE:
        s->hover = false;
        if (s->hotTab != -1) {
            s->hotTab = -1;
            invalidateTabStrip(h);
        }
        break;
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

LRESULT CALLBACK subclassProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR ref)
{
    auto* s = reinterpret_cast<WindowState*>(ref);
    if (msg == WM_NCDESTROY) {
        unskin(h);
        return DefSubclassProc(h, msg, wParam, lParam);
    }
    if (!g.enabled || !g.skin) return DefSubclassProc(h, msg, wParam, lParam);
    switch (s->kind) {
    case kindFrame: return frameProc(h, msg, wParam, lParam, s);
    case kindButton: return buttonProc(h, msg, wParam, lParam, s);
    case kindEdit: return editProc(h, msg, wParam, lParam, s);
    case kindTab: return tabProc(h, msg, wParam, lParam, s);
    }
    return DefSubclassProc(h, msg, wParam, lParam);
}

// ---- attach and detach -----------------------------------------------------

void dropSkin()
{
    release(g.skin);
    release(g.bytes);
    release(g.options);
    if (g.captionFont) DeleteObject(g.captionFont);
    if (g.faceBrush) DeleteObject(g.faceBrush);
    g.skin = nullptr;
    g.bytes = nullptr;
    g.options = nullptr;
    g.captionFont = nullptr;
    g.faceBrush = nullptr;
}

void detachAll(bool repaint)
{
    if (g.hook) UnhookWindowsHookEx(g.hook);
    g.hook = nullptr;
    g.attached = false;
    while (g.count > 0) {
        HWND h = g.windows[g.count - 1]->hwnd;
        unskinAt(g.count - 1);
        if (repaint) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    release(g.windows);
    g.windows = nullptr;
    g.capacity = 0;
    dropSkin();
}

HFONT makeCaptionFont(bool bold)
{
    NONCLIENTMETRICSW m = {};
    // The size without the Vista field, so older systems accept it too.
    m.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) return nullptr;
    m.lfCaptionFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return CreateFontIndirectW(&m.lfCaptionFont);
}

int validate(const std::uint8_t* data, std::size_t size, sf::Skin& skin)
{
    sf::Error e = sf::parse(data, size, skin);
    return e == sf::Error::ok ? velmoraOk : velmoraBadSkin + int(e);
}

// Takes ownership of bytes (allocated with allocate()) in every case.
int attachBytes(std::uint8_t* bytes, std::size_t size, const char* options)
{
    if (g.attached && g.thread != GetCurrentThreadId()) { release(bytes); return fail(velmoraWrongThread); }
    auto* parsed = static_cast<sf::Skin*>(allocate(sizeof(sf::Skin)));
    if (!parsed) { release(bytes); return fail(velmoraOutOfMemory); }
    int code = validate(bytes, size, *parsed);
    if (code != velmoraOk) { release(parsed); release(bytes); return fail(code); }

    wchar_t* optionCopy = nullptr;
    if (options && *options) {
        int n = MultiByteToWideChar(CP_ACP, 0, options, -1, nullptr, 0);
        optionCopy = n > 0 ? static_cast<wchar_t*>(allocate(SIZE_T(n) * sizeof(wchar_t))) : nullptr;
        if (!optionCopy) { release(parsed); release(bytes); return fail(velmoraOutOfMemory); }
        MultiByteToWideChar(CP_ACP, 0, options, -1, optionCopy, n);
    }
    if (!g.attached) {
        g.thread = GetCurrentThreadId();
        g.hook = SetWindowsHookExW(WH_CBT, cbtProc, module, g.thread);
        if (!g.hook) { release(optionCopy); release(parsed); release(bytes); return fail(velmoraHookFailed); }
    }
    // A second attach replaces the skin; windows whose kind the new options exclude are let go.
    dropSkin();
    g.bytes = bytes;
    g.skin = parsed;
    g.options = optionCopy;
    g.captionFont = makeCaptionFont(metric(sf::captionBold) != 0);
    g.faceBrush = CreateSolidBrush(colour(sf::face));
    g.attached = true;
    for (int i = g.count - 1; i >= 0; --i)
        if (kindOf(g.windows[i]->hwnd) != g.windows[i]->kind) unskinAt(i);
    EnumThreadWindows(g.thread, skinTopLevel, 0);
    redrawAll();
    return succeed();
}

std::uint8_t* readFile(const char* path, std::size_t& size, int& code)
{
    code = velmoraOk;
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) { code = velmoraFileUnreadable; return nullptr; }
    LARGE_INTEGER length;
    std::uint8_t* data = nullptr;
    if (!GetFileSizeEx(f, &length)) code = velmoraFileUnreadable;
    else if (length.QuadPart > LONGLONG(sf::maxFileSize)) code = velmoraBadSkin + int(sf::Error::tooLarge);
    else if (length.QuadPart < LONGLONG(sf::headerSize)) code = velmoraBadSkin + int(sf::Error::tooSmall);
    else if (!(data = static_cast<std::uint8_t*>(allocate(SIZE_T(length.QuadPart))))) code = velmoraOutOfMemory;
    else {
        DWORD got = 0;
        size = std::size_t(length.QuadPart);
        if (!ReadFile(f, data, DWORD(size), &got, nullptr) || got != size) {
            release(data);
            data = nullptr;
            code = velmoraFileUnreadable;
        }
    }
    CloseHandle(f);
    return data;
}

std::uint8_t* copyBytes(const void* data, DWORD size)
{
    auto* copy = static_cast<std::uint8_t*>(allocate(size ? size : 1));
    if (copy) CopyMemory(copy, data, size);
    return copy;
}

bool validIndex(int index, int count) { return index >= 0 && index < count; }

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved && g.attached) {
        // Unloaded while the process lives on: nothing may call into us afterwards.
        detachAll(true);
    }
    return TRUE;
}

VELMORA_API int WINAPI SkinH_AttachEx(const char* skinFilePath, const char* options)
{
    if (!skinFilePath || !*skinFilePath) return fail(velmoraBadArgument);
    std::size_t size = 0;
    int code = 0;
    std::uint8_t* bytes = readFile(skinFilePath, size, code);
    if (!bytes) return fail(code);
    return attachBytes(bytes, size, options);
}

VELMORA_API int WINAPI SkinH_AttachMemory(const void* data, DWORD size, const char* options)
{
    if (!data) return fail(velmoraBadArgument);
    if (size > sf::maxFileSize) return fail(velmoraBadSkin + int(sf::Error::tooLarge));
    std::uint8_t* bytes = copyBytes(data, size);
    if (!bytes) return fail(velmoraOutOfMemory);
    return attachBytes(bytes, size, options);
}

VELMORA_API int WINAPI SkinH_Detach(void)
{
    if (!g.attached) return fail(velmoraNotAttached);
    if (g.thread != GetCurrentThreadId()) return fail(velmoraWrongThread);
    detachAll(true);
    return succeed();
}

VELMORA_API int WINAPI SkinH_IsAttached(void) { return g.attached ? 1 : 0; }

VELMORA_API int WINAPI SkinH_ValidateFile(const char* skinFilePath)
{
    if (!skinFilePath || !*skinFilePath) return g.lastError = velmoraBadArgument;
    std::size_t size = 0;
    int code = 0;
    std::uint8_t* bytes = readFile(skinFilePath, size, code);
    if (bytes) {
        auto* parsed = static_cast<sf::Skin*>(allocate(sizeof(sf::Skin)));
        code = parsed ? validate(bytes, size, *parsed) : velmoraOutOfMemory;
        release(parsed);
        release(bytes);
    }
    return g.lastError = code;
}

VELMORA_API int WINAPI SkinH_ValidateMemory(const void* data, DWORD size)
{
    if (!data) return g.lastError = velmoraBadArgument;
    auto* parsed = static_cast<sf::Skin*>(allocate(sizeof(sf::Skin)));
    if (!parsed) return g.lastError = velmoraOutOfMemory;
    int code = validate(static_cast<const std::uint8_t*>(data), size, *parsed);
    release(parsed);
    return g.lastError = code;
}

VELMORA_API int WINAPI SkinH_GetLastError(void) { return g.lastError; }

VELMORA_API const char* WINAPI SkinH_GetErrorText(int code)
{
    switch (code) {
    case velmoraOk: return "ok";
    case velmoraBadArgument: return "bad argument";
    case velmoraFileUnreadable: return "skin file cannot be read";
    case velmoraOutOfMemory: return "out of memory";
    case velmoraWrongThread: return "not the attaching thread";
    case velmoraNotAttached: return "no skin attached";
    case velmoraHookFailed: return "window hook could not be set";
    }
    if (code > velmoraBadSkin && code <= velmoraBadSkin + int(sf::Error::missingSection))
        return sf::errorText(sf::Error(code - velmoraBadSkin));
    return "unknown error";
}

VELMORA_API DWORD WINAPI SkinH_Version(void) { return DWORD(0x0100) << 16 | sf::formatVersion; }

VELMORA_API int WINAPI SkinH_GetSkinName(char* buffer, int size)
{
    if (!buffer || size <= 0) return fail(velmoraBadArgument);
    buffer[0] = 0;
    if (!g.attached) return fail(velmoraNotAttached);
    wchar_t wide[sf::maxNameBytes + 1];
    int n = MultiByteToWideChar(CP_UTF8, 0, g.skin->name, -1, wide, sf::maxNameBytes + 1);
    if (n <= 0) return fail(velmoraBadSkin + int(sf::Error::badName));
    char ansi[4 * (sf::maxNameBytes + 1)];
    int m = WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, int(sizeof ansi), nullptr, nullptr);
    if (m <= 0) return fail(velmoraBadSkin + int(sf::Error::badName));
    int length = m - 1 < size - 1 ? m - 1 : size - 1;
    // Cut on a whole character of the ANSI code page.
    int cut = 0;
    for (int i = 0; i < length;) {
        int step = IsDBCSLeadByte(BYTE(ansi[i])) ? 2 : 1;
        if (i + step > length) break;
        i += step;
        cut = i;
    }
    CopyMemory(buffer, ansi, cut);
    buffer[cut] = 0;
    succeed();
    return cut;
}

VELMORA_API int WINAPI SkinH_GetColourCount(void) { return sf::colourCount; }

VELMORA_API COLORREF WINAPI SkinH_GetColour(int index)
{
    if (!g.attached) { fail(velmoraNotAttached); return CLR_INVALID; }
    if (!validIndex(index, sf::colourCount)) { fail(velmoraBadArgument); return CLR_INVALID; }
    succeed();
    return colour(index);
}

VELMORA_API int WINAPI SkinH_SetColour(int index, COLORREF value)
{
    if (!g.attached) return fail(velmoraNotAttached);
    if (!validIndex(index, sf::colourCount) || (value >> 24)) return fail(velmoraBadArgument);
    g.skin->colours[index] = value;
    if (index == sf::face) {
        HBRUSH brush = CreateSolidBrush(value);
        if (!brush) return fail(velmoraOutOfMemory);
        DeleteObject(g.faceBrush);
        g.faceBrush = brush;
    }
    redrawAll();
    return succeed();
}

VELMORA_API int WINAPI SkinH_GetMetricCount(void) { return sf::metricCount; }

VELMORA_API int WINAPI SkinH_GetMetric(int index)
{
    if (!g.attached) { fail(velmoraNotAttached); return -1; }
    if (!validIndex(index, sf::metricCount)) { fail(velmoraBadArgument); return -1; }
    succeed();
    return metric(index);
}

VELMORA_API int WINAPI SkinH_ExcludeWindow(HWND window)
{
    if (!IsWindow(window)) return fail(velmoraBadArgument);
    if (!SetPropW(window, excludedProp, reinterpret_cast<HANDLE>(1))) return fail(velmoraOutOfMemory);
    if (unskin(window)) redrawWindow(window);
    EnumChildWindows(window, unskinChild, 0);
    return succeed();
}

VELMORA_API int WINAPI SkinH_IncludeWindow(HWND window)
{
    if (!IsWindow(window)) return fail(velmoraBadArgument);
    RemovePropW(window, excludedProp);
    if (g.attached && !excludedByMark(window)) {
        skinTree(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return succeed();
}

VELMORA_API int WINAPI SkinH_IsExcluded(HWND window) { return IsWindow(window) && excludedByMark(window) ? 1 : 0; }

VELMORA_API int WINAPI SkinH_IsSkinned(HWND window) { return stateOf(window) ? 1 : 0; }

VELMORA_API int WINAPI SkinH_GetSkinnedCount(void) { return g.count; }

VELMORA_API int WINAPI SkinH_SetEnabled(int enabled)
{
    bool now = enabled != 0;
    if (now != g.enabled) {
        g.enabled = now;
        redrawAll();
    }
    return succeed();
}

VELMORA_API int WINAPI SkinH_IsEnabled(void) { return g.enabled ? 1 : 0; }

VELMORA_API int WINAPI SkinH_Redraw(void)
{
    if (!g.attached) return fail(velmoraNotAttached);
    redrawAll();
    return succeed();
}
