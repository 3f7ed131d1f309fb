#include "platform/win32/controls.h"

#include "platform/jpeg.h"
#include "platform/win32/gdi.h"
#include "platform/win32/text_box.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "platform/win32/window_class.h"
#include "ui/integer_box.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace win32 {

namespace {

std::vector<ControlWindow> controls;
std::unordered_map<HWND, size_t> byWindow;
std::map<std::tuple<std::string, int, int>, HFONT> fontCache;
HWND mainHwnd = nullptr;

Colour buttonFace() { return GetSysColor(COLOR_BTNFACE); }

HFONT fontFor(const layout::Font& font) {
    if (!font.face) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto key = std::make_tuple(std::string(font.face), font.height, font.weight);
    auto it = fontCache.find(key);
    if (it != fontCache.end()) return it->second;
    // A face the system lacks is replaced by its own choice of a similar font.
    auto f = static_cast<HFONT>(countedGdiObject(CreateFontW(font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, widen(font.face).c_str())));
    fontCache[key] = f;
    return f;
}

ControlWindow* fromUserData(HWND hwnd) { return reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK ownKindProc(HWND, UINT, WPARAM, LPARAM);

// --- painting helpers -------------------------------------------------------

// Paints the parent's client area under the child into the child's DC, so the
// runtime's own kinds show the page as the parent draws it (a skinned tab body
// included) instead of a fixed grey.
void paintParentBackground(HWND child, HDC dc, const RECT& client) {
    fillRect(dc, client, buttonFace());
    HWND parent = GetParent(child);
    if (!parent || parent == mainHwnd) return;
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    RestoreDC(dc, saved);
}

// The tile under a label when it covers the whole label.
const ControlWindow* tileCovering(const ControlWindow& label, const RECT& mine) {
    bool below = false;
    for (const ControlWindow& other : controls) {
        if (&other == &label) {
            below = true;
            continue;
        }
        if (!below || other.spec->kind != layout::Kind::ShapeBox || GetParent(other.hwnd) != GetParent(label.hwnd))
            continue;
        RECT theirs, overlap;
        GetWindowRect(other.hwnd, &theirs);
        if (IntersectRect(&overlap, &mine, &theirs) && EqualRect(&overlap, &mine)) return &other;
    }
    return nullptr;
}

// What lies below a transparent label: its parent's page, and the tiles of the
// same parent that lie under it.
void paintBelow(const ControlWindow& label, HDC dc, const RECT& client) {
    HWND parent = GetParent(label.hwnd);
    RECT mine;
    GetWindowRect(label.hwnd, &mine);
    // A label wholly on a tile (the preview's captions) needs nothing of the page.
    if (const ControlWindow* tile = tileCovering(label, mine); tile && IsWindowVisible(tile->hwnd)) {
        fillRect(dc, client, tile->backColour);
        return;
    }
    paintParentBackground(label.hwnd, dc, client);
    bool below = false;
    for (const ControlWindow& other : controls) {
        if (&other == &label) {
            below = true;
            continue;
        }
        if (!below || other.spec->kind != layout::Kind::ShapeBox || GetParent(other.hwnd) != parent) continue;
        if (!IsWindowVisible(other.hwnd)) continue;
        RECT theirs, overlap;
        GetWindowRect(other.hwnd, &theirs);
        if (!IntersectRect(&overlap, &mine, &theirs)) continue;
        OffsetRect(&overlap, -mine.left, -mine.top);
        fillRect(dc, overlap, other.backColour);
    }
}

void paintTransLabel(ControlWindow& c, HDC dc, const RECT& rc) {
    paintBelow(c, dc, rc);
    std::wstring text = widen(c.spec->text);
    SelectObject(dc, c.font);
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DT_NOPREFIX | (c.spec->align == layout::Align::Centre ? DT_CENTER : DT_LEFT);
    flags |= c.spec->wordWrap ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    if (c.spec->relief) {
        RECT shifted = rc;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shifted, flags);
    }
    SetTextColor(dc, c.textColour);
    RECT r = rc;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void paintShapeBox(ControlWindow& c, HDC dc, const RECT& rc) { fillRect(dc, rc, c.backColour); }

void paintPicBox(ControlWindow& c, HDC dc, const RECT& rc) {
    paintParentBackground(c.hwnd, dc, rc);
    if (!c.picture) return;
    MemoryDc source(dc);
    HGDIOBJ old = SelectObject(source.dc, c.picture);
    BitBlt(dc, 0, 0, c.pictureWidth, c.pictureHeight, source.dc, 0, 0, SRCCOPY);
    SelectObject(source.dc, old);
}

constexpr int pickerArrowWidth = 16;

void paintColorPicker(ControlWindow& c, HDC dc, const RECT& rc) {
    fillRect(dc, rc, GetSysColor(COLOR_WINDOW));
    RECT r = rc;
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    RECT arrow = r;
    arrow.left = arrow.right - pickerArrowWidth;
    DrawFrameControl(dc, &arrow, DFC_SCROLL, DFCS_SCROLLDOWN);
    RECT swatch = r;
    swatch.right = arrow.left;
    InflateRect(&swatch, -2, -2);
    fillRect(dc, swatch, c.colour);
    if (GetFocus() == c.hwnd) {
        RECT focus = swatch;
        InflateRect(&focus, 1, 1);
        DrawFocusRect(dc, &focus);
    }
}

void paintGroupBox(ControlWindow& c, HDC dc, const RECT& rc) {
    paintParentBackground(c.hwnd, dc, rc);
    std::wstring caption = widen(c.spec->text);
    SelectObject(dc, c.font);
    SIZE extent{0, 0};
    if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    RECT frame = rc;
    frame.top += extent.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    int width = rc.right - rc.left;
    RECT text{(width - extent.cx) / 2, 0, (width + extent.cx) / 2, extent.cy};
    RECT gap = text;
    InflateRect(&gap, 4, 0);
    // The caption's gap shows the page below, not the frame line.
    int saved = SaveDC(dc);
    IntersectClipRect(dc, gap.left, gap.top, gap.right, gap.bottom);
    paintParentBackground(c.hwnd, dc, rc);
    RestoreDC(dc, saved);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.textColour);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_NOPREFIX | DT_SINGLELINE | DT_CENTER);
}

void paintOwnKind(ControlWindow& c, HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    // Everything is drawn off screen and copied once, so no erase is ever seen.
    BufferedPaint buffer(dc, rc);
    switch (c.spec->kind) {
    case layout::Kind::TransLabel: paintTransLabel(c, buffer.dc(), rc); break;
    case layout::Kind::ShapeBox: paintShapeBox(c, buffer.dc(), rc); break;
    case layout::Kind::PicBox: paintPicBox(c, buffer.dc(), rc); break;
    case layout::Kind::ColorPicker: paintColorPicker(c, buffer.dc(), rc); break;
    case layout::Kind::GroupBox: paintGroupBox(c, buffer.dc(), rc); break;
    default: break;
    }
    buffer.finish();
    EndPaint(hwnd, &ps);
}

void repaintNow(HWND hwnd) { RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE); }

// --- the colour picker's drop-down -----------------------------------------

struct NamedColour {
    const wchar_t* name;
    Colour value;
};

// The drop-down's 32 named colours, in the order they are offered.
constexpr NamedColour namedColours[32] = {
    {L"黑色", rgb(0x00, 0x00, 0x00)},   {L"白色", rgb(0xFF, 0xFF, 0xFF)},   {L"红色", rgb(0xFF, 0x00, 0x00)},
    {L"栗色", rgb(0x80, 0x00, 0x00)},   {L"绿色", rgb(0x00, 0x80, 0x00)},   {L"酸橙色", rgb(0x00, 0xFF, 0x00)},
    {L"蓝色", rgb(0x00, 0x00, 0xFF)},   {L"海军蓝", rgb(0x00, 0x00, 0x80)}, {L"黄色", rgb(0xFF, 0xFF, 0x00)},
    {L"橄榄色", rgb(0x80, 0x80, 0x00)}, {L"紫色", rgb(0x80, 0x00, 0x80)},   {L"洋红", rgb(0xFF, 0x00, 0xFF)},
    {L"青色", rgb(0x00, 0xFF, 0xFF)},   {L"水鸭色", rgb(0x00, 0x80, 0x80)}, {L"灰色", rgb(0x80, 0x80, 0x80)},
    {L"银色", rgb(0xC0, 0xC0, 0xC0)},   {L"橙色", rgb(0xFF, 0xA5, 0x00)},   {L"粉红", rgb(0xFF, 0xC0, 0xCB)},
    {L"棕色", rgb(0xA5, 0x2A, 0x2A)},   {L"金色", rgb(0xFF, 0xD7, 0x00)},   {L"天蓝", rgb(0x87, 0xCE, 0xEB)},
    {L"深灰", rgb(0x40, 0x40, 0x40)},   {L"浅灰", rgb(0xD3, 0xD3, 0xD3)},   {L"巧克力色", rgb(0xD2, 0x69, 0x1E)},
    {L"珊瑚色", rgb(0xFF, 0x7F, 0x50)}, {L"靛青", rgb(0x4B, 0x00, 0x82)},   {L"紫罗兰", rgb(0xEE, 0x82, 0xEE)},
    {L"卡其色", rgb(0xF0, 0xE6, 0x8C)}, {L"番茄红", rgb(0xFF, 0x63, 0x47)}, {L"海绿", rgb(0x2E, 0x8B, 0x57)},
    {L"钢蓝", rgb(0x46, 0x82, 0xB4)},   {L"米色", rgb(0xF5, 0xF5, 0xDC)},
};
constexpr UINT firstColourCommand = 100;
constexpr UINT moreColoursCommand = 200;
constexpr int colourItemHeight = 20;
constexpr int colourItemWidth = 110;

void measureColourItem(MEASUREITEMSTRUCT& m) {
    m.itemWidth = colourItemWidth;
    m.itemHeight = colourItemHeight;
}

void drawColourItem(const DRAWITEMSTRUCT& d) {
    UINT index = d.itemID - firstColourCommand;
    if (index >= 32) return;
    bool selected = d.itemState & ODS_SELECTED;
    RECT r = d.rcItem;
    fillRect(d.hDC, r, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    RECT swatch{r.left + 3, r.top + 3, r.left + 27, r.bottom - 3};
    fillRect(d.hDC, swatch, RGB(0x80, 0x80, 0x80));
    InflateRect(&swatch, -1, -1);
    fillRect(d.hDC, swatch, namedColours[index].value);
    RECT text{r.left + 32, r.top, r.right - 2, r.bottom};
    SetBkMode(d.hDC, TRANSPARENT);
    SetTextColor(d.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(d.hDC, namedColours[index].name, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void setPickerColour(ControlWindow& c, Colour colour) {
    c.colour = colour & 0x00FFFFFF;
    repaintNow(c.hwnd);
}

void chooseMoreColours(ControlWindow& c) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = mainHwnd;
    cc.rgbResult = c.colour;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    // Cancelling keeps the colour the picker had.
    if (ChooseColorW(&cc)) setPickerColour(c, cc.rgbResult);
}

void dropDown(ControlWindow& c) {
    HMENU menu = CreatePopupMenu();
    for (UINT i = 0; i < 32; ++i) {
        UINT flags = MF_OWNERDRAW | (i > 0 && i % 16 == 0 ? MF_MENUBARBREAK : 0);
        AppendMenuW(menu, flags, firstColourCommand + i, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(i)));
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, moreColoursCommand, L"其它颜色...");
    RECT r;
    GetWindowRect(c.hwnd, &r);
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTBUTTON, r.left,
                         r.bottom, c.hwnd, nullptr));
    DestroyMenu(menu);
    if (command >= firstColourCommand && command < firstColourCommand + 32)
        setPickerColour(c, namedColours[command - firstColourCommand].value);
    else if (command == moreColoursCommand)
        chooseMoreColours(c);
}

// --- window procedures ------------------------------------------------------

LRESULT CALLBACK ownKindProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        fromUserData(hwnd)->hwnd = hwnd;
    }
    ControlWindow* c = fromUserData(hwnd);
    if (!c) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT routed = 0;
    if (routeChildMessage(hwnd, message, wParam, lParam, routed)) return routed;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paintOwnKind(*c, hwnd); return 0;
    case WM_PRINTCLIENT:
        // A child asking for what lies below it (paintParentBackground).
        if (c->spec->kind == layout::Kind::GroupBox) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            paintGroupBox(*c, reinterpret_cast<HDC>(wParam), rc);
        }
        return 0;
    case WM_MOUSEMOVE:
        // Bare area of a group box belongs to the window, as the runtime promises.
        if (c->spec->kind == layout::Kind::GroupBox)
            fireWindowMouseMoved();
        else
            fireEvent(*c, bindings::Event::MouseMoved);
        return 0;
    case WM_LBUTTONDOWN:
        if (c->spec->kind == layout::Kind::ColorPicker) {
            SetFocus(hwnd);
            dropDown(*c);
            return 0;
        }
        fireEvent(*c, bindings::Event::LeftButtonDown);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && c->spec->cursor != layout::Cursor::Arrow) {
            SetCursor(LoadCursorW(nullptr, c->spec->cursor == layout::Cursor::Hand ? IDC_HAND : IDC_HELP));
            return TRUE;
        }
        break;
    case WM_GETDLGCODE:
        if (c->spec->kind == layout::Kind::ColorPicker) return DLGC_WANTCHARS;
        break;
    case WM_KEYDOWN:
        if (c->spec->kind == layout::Kind::ColorPicker && (wParam == VK_SPACE || wParam == VK_F4 || wParam == VK_DOWN)) {
            dropDown(*c);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (c->spec->kind == layout::Kind::ColorPicker) InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_MEASUREITEM:
        if (c->spec->kind == layout::Kind::ColorPicker) {
            measureColourItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (c->spec->kind == layout::Kind::ColorPicker) {
            drawColourItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The tab control: page children send their commands to it, and its area
// outside the tab headers lets the pointer through to the window.
LRESULT CALLBACK tabProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    LRESULT routed = 0;
    if (routeChildMessage(hwnd, message, wParam, lParam, routed)) return routed;
    if (message == WM_MOUSEMOVE) {
        TCHITTESTINFO hit{{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, 0};
        if (SendMessageW(hwnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) fireWindowMouseMoved();
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Integer boxes: a typing filter, and the rewrite when the box loses the focus.
LRESULT CALLBACK integerBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR && !integerBox::acceptsTypedCharacter(static_cast<char32_t>(wParam))) return 0;
    if (message == WM_KILLFOCUS) {
        DWORD selectionStart = 0;
        SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
        LRESULT r = DefSubclassProc(hwnd, message, wParam, lParam);
        std::string text = windowText(hwnd);
        std::string value = integerBox::normalised(text);
        if (value != text) {
            SetWindowTextW(hwnd, widen(value).c_str());
            // The caret goes back to where the selection began, as far as the new text reaches.
            DWORD caret = std::min<DWORD>(selectionStart, static_cast<DWORD>(value.size()));
            SendMessageW(hwnd, EM_SETSEL, caret, caret);
        }
        return r;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void registerOwnClass(HINSTANCE instance, const wchar_t* name, UINT style) {
    registerWindowClass(instance, name, style, ownKindProc, IDC_ARROW);
}

Image pictureFromResource(layout::Picture picture) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(static_cast<int>(picture)), MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = LockResource(loaded);
    DWORD size = SizeofResource(module, found);
    if (!data || !size) return {};
    auto image = decodeJpeg({static_cast<const std::uint8_t*>(data), size});
    return image ? std::move(*image) : Image{};
}

void loadPicture(ControlWindow& c) {
    Image image = pictureFromResource(c.spec->picture);
    // A picture that cannot be decoded leaves its box empty.
    if (image.width <= 0 || image.height <= 0) return;
    if (c.spec->stretch) image = scaleSmooth(image, c.spec->width, c.spec->height);
    c.picture = createBitmap(image);
    c.pictureWidth = image.width;
    c.pictureHeight = image.height;
}

const wchar_t* classFor(const layout::Control& spec) {
    switch (spec.kind) {
    case layout::Kind::Tab: return WC_TABCONTROLW;
    case layout::Kind::GroupBox: return groupBoxClass;
    case layout::Kind::TransLabel: return transLabelClass;
    case layout::Kind::ColorPicker: return colorPickerClass;
    // Multi-line boxes are the runtime's own: they wrap long lines in one pass.
    case layout::Kind::EditBox: return spec.multiLine ? textBoxClass : L"Edit";
    case layout::Kind::Button: return L"Button";
    case layout::Kind::ShapeBox: return shapeBoxClass;
    case layout::Kind::PicBox: return picBoxClass;
    case layout::Kind::Window: break;
    }
    return L"";
}

DWORD styleFor(const layout::Control& spec) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (spec.page <= 1) style |= WS_VISIBLE;
    switch (spec.kind) {
    case layout::Kind::Tab: style |= WS_CLIPCHILDREN | TCS_SINGLELINE | TCS_TABS; break;
    case layout::Kind::GroupBox: style |= WS_CLIPCHILDREN; break;
    case layout::Kind::ColorPicker: style |= WS_TABSTOP; break;
    case layout::Kind::Button: style |= WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER; break;
    case layout::Kind::EditBox:
        style |= WS_TABSTOP | (spec.align == layout::Align::Centre ? ES_CENTER : ES_LEFT);
        // No horizontal scrolling in the multi-line boxes: long lines wrap.
        style |= spec.multiLine ? (ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
        break;
    default: break;
    }
    return style;
}

DWORD exStyleFor(const layout::Control& spec) {
    switch (spec.kind) {
    case layout::Kind::Tab:
    case layout::Kind::GroupBox: return WS_EX_CONTROLPARENT;
    case layout::Kind::EditBox: return WS_EX_CLIENTEDGE;
    case layout::Kind::TransLabel:
    case layout::Kind::PicBox:
    case layout::Kind::ShapeBox:
    case layout::Kind::ColorPicker: return WS_EX_NOPARENTNOTIFY;
    default: return 0;
    }
}

void createControl(ControlWindow& c) {
    const layout::Control& spec = *c.spec;
    ControlWindow* parent = controlNamed(spec.parent);
    HWND parentHwnd = parent && parent->hwnd ? parent->hwnd : mainHwnd;
    bool own = spec.kind == layout::Kind::GroupBox || spec.kind == layout::Kind::TransLabel ||
               spec.kind == layout::Kind::ColorPicker || spec.kind == layout::Kind::ShapeBox ||
               spec.kind == layout::Kind::PicBox;
    c.font = fontFor(spec.font);
    c.textColour = spec.textColour;
    c.backColour = spec.kind == layout::Kind::ShapeBox ? spec.textColour : 0;
    if (spec.kind == layout::Kind::PicBox) loadPicture(c);
    std::wstring text = spec.kind == layout::Kind::Tab ? L"" : widen(spec.text);
    HWND hwnd = CreateWindowExW(exStyleFor(spec), classFor(spec), text.c_str(), styleFor(spec), spec.x, spec.y,
                                spec.width, spec.height, parentHwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), GetModuleHandleW(nullptr),
                                own ? &c : nullptr);
    c.hwnd = hwnd;
    byWindow[hwnd] = static_cast<size_t>(&c - controls.data());
    // Each control goes below the ones created before it: layout order is stacking order.
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!own) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
    switch (spec.kind) {
    case layout::Kind::Tab: {
        auto captions = layout::tabCaptions();
        for (size_t i = 0; i < captions.size(); ++i) {
            std::wstring caption = widen(captions[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        SetWindowSubclass(hwnd, tabProc, 1, 0);
        break;
    }
    case layout::Kind::EditBox:
        if (spec.integerLimit > 0) {
            SendMessageW(hwnd, EM_SETLIMITTEXT, static_cast<WPARAM>(spec.integerLimit), 0);
            SetWindowSubclass(hwnd, integerBoxProc, 1, 0);
        } else {
            // No box but the integer boxes has a length limit (the default is about 32K).
            SendMessageW(hwnd, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
        }
        break;
    default: break;
    }
}

} // namespace

void registerControlClasses(HINSTANCE instance) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    registerOwnClass(instance, transLabelClass, CS_DBLCLKS);
    registerOwnClass(instance, colorPickerClass, CS_DBLCLKS);
    registerOwnClass(instance, shapeBoxClass, 0);
    registerOwnClass(instance, picBoxClass, CS_DBLCLKS);
    registerOwnClass(instance, groupBoxClass, 0);
    registerTextBoxClass(instance);
}

void buildControls(HWND mainWindow) {
    mainHwnd = mainWindow;
    auto specs = layout::controls();
    controls.clear();
    controls.reserve(specs.size());
    for (const layout::Control& spec : specs) controls.push_back(ControlWindow{&spec});
    controls[0].hwnd = mainWindow;
    byWindow[mainWindow] = 0;
    for (size_t i = 1; i < controls.size(); ++i) createControl(controls[i]);
}

void destroyControlResources() {
    for (ControlWindow& c : controls)
        if (c.picture) deleteGdiObject(c.picture);
    for (auto& [key, font] : fontCache) deleteGdiObject(font);
    fontCache.clear();
}

std::vector<ControlWindow>& allControls() { return controls; }

ControlWindow* controlNamed(std::string_view name) {
    for (ControlWindow& c : controls)
        if (name == c.spec->name) return &c;
    return nullptr;
}

ControlWindow* controlOf(HWND hwnd) {
    auto it = byWindow.find(hwnd);
    return it == byWindow.end() ? nullptr : &controls[it->second];
}

void fireEvent(const ControlWindow& control, bindings::Event event) {
    if (bindings::Handler handler = bindings::find(control.spec->name, event)) handler(theForm(), control.spec->name);
}

void fireWindowMouseMoved() {
    if (!controls.empty()) fireEvent(controls[0], bindings::Event::MouseMoved);
}

bool routeChildMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND: {
        ControlWindow* child = controlOf(reinterpret_cast<HWND>(lParam));
        if (child && child->spec->kind == layout::Kind::Button && HIWORD(wParam) == BN_CLICKED) {
            fireEvent(*child, bindings::Event::Clicked);
            result = 0;
            return true;
        }
        return false;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        // Buttons and read-only parts sit on the button face of their page.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    default: return false;
    }
}

void showPage(int page) {
    // Hide the other pages first, then show the chosen one without activating it.
    for (ControlWindow& c : controls)
        if (c.spec->page != 0 && c.spec->page != page) ShowWindow(c.hwnd, SW_HIDE);
    for (ControlWindow& c : controls)
        if (c.spec->page == page) ShowWindow(c.hwnd, SW_SHOWNA);
}

void setShapeColour(ControlWindow& c, Colour colour) {
    c.backColour = colour;
    repaintNow(c.hwnd);
    // Labels above the tile show it through their background.
    RECT mine;
    GetWindowRect(c.hwnd, &mine);
    for (ControlWindow& other : controls) {
        if (&other == &c) break;
        if (other.spec->kind != layout::Kind::TransLabel || GetParent(other.hwnd) != GetParent(c.hwnd)) continue;
        RECT theirs, overlap;
        GetWindowRect(other.hwnd, &theirs);
        if (IntersectRect(&overlap, &mine, &theirs)) repaintNow(other.hwnd);
    }
}

void setLabelColour(ControlWindow& c, Colour colour) {
    c.textColour = colour;
    repaintNow(c.hwnd);
}

} // namespace win32
