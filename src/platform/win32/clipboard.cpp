#include "platform/win32/clipboard.h"

#include "platform/win32/text.h"

#include <cstring>

namespace win32 {

namespace {

// Owns an open clipboard and closes it on every path.
class ClipboardGuard {
public:
    explicit ClipboardGuard(HWND owner) {
        // Another program may hold the clipboard for a moment: keep trying for about half a second.
        for (int attempt = 0; attempt < 25 && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(20);
        }
    }
    ~ClipboardGuard() {
        if (open_) CloseClipboard();
    }
    ClipboardGuard(const ClipboardGuard&) = delete;
    ClipboardGuard& operator=(const ClipboardGuard&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_ = false;
};

bool placeOnClipboard(UINT format, const void* data, size_t bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(target, data, bytes);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        // Not placed, so the block is still ours.
        GlobalFree(block);
        return false;
    }
    return true;
}

} // namespace

bool putTextOnClipboard(HWND owner, std::wstring_view text) {
    std::wstring wide(text);
    std::string ansi = toAnsi(wide);
    // Emptying a clipboard opened without an owner makes the next SetClipboardData fail.
    ClipboardGuard clipboard(owner);
    if (!clipboard.isOpen() || !EmptyClipboard()) return false;
    bool ansiPlaced = placeOnClipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
    bool widePlaced = placeOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    return ansiPlaced && widePlaced;
}

std::optional<std::wstring> textFromClipboard(HWND owner) {
    ClipboardGuard clipboard(owner);
    if (!clipboard.isOpen()) return std::nullopt;
    // CF_UNICODETEXT is also made by the system from CF_TEXT.
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return std::nullopt;
    const auto* data = static_cast<const wchar_t*>(GlobalLock(block));
    if (!data) return std::nullopt;
    // Never read past the block, even when the text in it has no end mark.
    size_t most = GlobalSize(block) / sizeof(wchar_t);
    size_t length = 0;
    while (length < most && data[length]) ++length;
    std::wstring text(data, length);
    GlobalUnlock(block);
    return text;
}

} // namespace win32
