// Small owners of GDI objects, so every paint releases what it creates.
#pragma once

#include "platform/jpeg.h"

#include <windows.h>

namespace win32 {

// The GDI objects the runtime holds at this moment: every object it creates
// goes through the helpers here, so a leak shows as a growing count. (Wine
// reports no figure for a process through GetGuiResources.)
inline long& liveGdiObjects() {
    static long count = 0;
    return count;
}
inline HGDIOBJ countedGdiObject(HGDIOBJ object) {
    if (object) ++liveGdiObjects();
    return object;
}
inline void deleteGdiObject(HGDIOBJ object) {
    if (object && DeleteObject(object)) --liveGdiObjects();
}

inline void fillRect(HDC dc, const RECT& rect, COLORREF colour) {
    // ExtTextOut with an opaque rectangle fills without creating a brush.
    COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC compatible) : dc(CreateCompatibleDC(compatible)) {
        if (dc) ++liveGdiObjects();
    }
    ~MemoryDc() {
        if (dc && DeleteDC(dc)) --liveGdiObjects();
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
};

// Paints into an off-screen bitmap and copies it to the target in one step.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& rect)
        : target_(target), rect_(rect), memory_(target),
          bitmap_(static_cast<HBITMAP>(
              countedGdiObject(CreateCompatibleBitmap(target, rect.right - rect.left, rect.bottom - rect.top)))),
          old_(SelectObject(memory_.dc, bitmap_)), oldFont_(GetCurrentObject(memory_.dc, OBJ_FONT)) {}
    ~BufferedPaint() {
        SelectObject(memory_.dc, oldFont_);
        SelectObject(memory_.dc, old_);
        deleteGdiObject(bitmap_);
    }
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return memory_.dc; }
    void finish() {
        BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_.dc, 0, 0,
               SRCCOPY);
    }

private:
    HDC target_;
    RECT rect_;
    MemoryDc memory_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    HGDIOBJ oldFont_;
};

// A 32-bit DIB section holding the image.
inline HBITMAP createBitmap(const Image& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    auto bitmap = static_cast<HBITMAP>(countedGdiObject(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
    if (bitmap && bits) memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(image.pixels[0]));
    return bitmap;
}

} // namespace win32
